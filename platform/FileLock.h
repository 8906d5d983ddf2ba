#pragma once

#include <string>

namespace slidemill {

// An exclusive advisory lock on a file, held for the lifetime of the object. The kernel drops
// it when the holder dies, so a crashed Slidemill never leaves a resource locked. Two locks
// on the same file exclude each other even inside one process.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;

    // Creates the file when missing; false at once (no waiting) when another holder has it.
    bool TryLock(const std::string& path);
    void Unlock();
    bool Locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace slidemill
