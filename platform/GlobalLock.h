#pragma once

#include <mutex>
#include <string>

namespace slidemill {

// The lock shared by every Slidemill process on the machine, held around each append to a
// text log. It is an exclusive lock on a file in /tmp (readable and writable by every user),
// so the kernel frees it when a holder dies; a mutex inside the process excludes the
// process's own threads, which the file lock alone would not. Not recursive.

// The file behind the lock: "/tmp/Folioworks_Global_Mutex.lock".
const std::string& GlobalMutexPath();

// Waits without a time limit until this thread holds the lock. When the lock file cannot be
// opened the lock still excludes the threads of this process.
void AcquireGlobalMutex();
// Gives up the lock taken by AcquireGlobalMutex on this thread.
void ReleaseGlobalMutex();

// Holds the global lock for its lifetime.
class GlobalMutexGuard {
public:
    GlobalMutexGuard() { AcquireGlobalMutex(); }
    ~GlobalMutexGuard() { ReleaseGlobalMutex(); }
    GlobalMutexGuard(const GlobalMutexGuard&) = delete;
    GlobalMutexGuard& operator=(const GlobalMutexGuard&) = delete;
};

// The same kind of lock on another file: what the global lock is made of.
class CrossProcessLock {
public:
    explicit CrossProcessLock(std::string path) : path_(std::move(path)) {}
    ~CrossProcessLock();
    CrossProcessLock(const CrossProcessLock&) = delete;
    CrossProcessLock& operator=(const CrossProcessLock&) = delete;

    // Waits for the lock; false when the file could not be opened (threads are still excluded).
    bool Acquire();
    void Release();

private:
    std::string path_;
    // flock() locks belong to the open file, so the threads sharing this object are not
    // excluded by it; this mutex does that.
    std::mutex gate_;
    int fd_ = -1;
    bool held_ = false;
};

} // namespace slidemill
