#pragma once

#include <string>

namespace slidemill {

// True when the file exists but cannot be read right now: it may not be opened for reading, or
// another holder keeps an exclusive lock on it (flock, or a POSIX write lock), as a program
// still writing it does. False for a readable file and for a missing one.
bool FileBusyForReading(const std::string& path);

} // namespace slidemill
