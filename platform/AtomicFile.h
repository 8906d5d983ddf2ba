#pragma once

#include <optional>
#include <string>

namespace slidemill {

// Replaces path with contents in one step: the text goes to a temporary file in the same
// folder, is flushed to disk and renamed over path, so readers and crashes see either the
// old file or the new one, never a mix. An existing file keeps its permissions, less any bit
// outside keepMode (a file holding secrets passes 0600 to close it to others); a new one gets
// newFileMode. False (and path untouched) when any step fails.
bool WriteFileAtomically(const std::string& path, const std::string& contents, unsigned newFileMode = 0600,
                         unsigned keepMode = 07777);

// Why a file that exists cannot be read ("Permission denied", "it is a folder" ...); empty when
// it can be read or does not exist.
std::string FileReadProblem(const std::string& path);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace slidemill
