#pragma once

#include <chrono>
#include <string>

namespace slidemill {

// Deletes a file, trying again while the failure may pass (the file is busy), up to attempts
// tries pause apart. True when the file is gone afterwards, also when it never existed. A
// folder is never removed, and a failure that waiting cannot cure (no permission, read-only
// file system) ends the tries at once.
bool DeleteFileWithRetry(const std::string& path, int attempts = 21,
                         std::chrono::milliseconds pause = std::chrono::seconds(1));

} // namespace slidemill
