#pragma once

#include <string>

namespace slidemill {

// An exclusive advisory lock on a folder, held for the lifetime of the object. Writers of a file
// that is replaced by rename cannot lock the file itself (each write makes a new inode), so they
// lock its folder: no lock file is left beside the data, and the kernel drops the lock when the
// holder dies. Two locks on the same folder exclude each other, also inside one process.
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Waits up to timeoutMilliseconds for the lock. False when the folder cannot be opened or
    // another holder kept the lock for the whole time.
    bool Lock(const std::string& folder, int timeoutMilliseconds);
    void Unlock();
    bool Locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace slidemill
