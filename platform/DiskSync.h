#pragma once

#include <cstdio>

namespace slidemill {

// Flushes an open stream's buffer and its data to the disk, so that a file renamed into
// place afterwards survives a crash of the machine with its contents. False on any failure.
bool SyncStreamToDisk(std::FILE* stream);

} // namespace slidemill
