#pragma once

#include <cstdio>
#include <string>

namespace slidemill {

// Flushes an open stream's buffer and its data to the disk, so that a file renamed into
// place afterwards survives a crash of the machine with its contents. False on any failure.
bool SyncStreamToDisk(std::FILE* stream);

// Writes everything waiting for the file system that holds folder to the disk, whichever
// process wrote it (the offices write our targets). False when the folder cannot be opened
// or the file system reports an error.
bool SyncFileSystemOf(const std::string& folder);

} // namespace slidemill
