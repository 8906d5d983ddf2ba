#pragma once

#include <chrono>
#include <mutex>
#include <string>

namespace slidemill {

// The lock shared by the user's Slidemill processes, held around each append to a text log.
// It is an exclusive lock on a file only its user can open (mode 0600, in $XDG_RUNTIME_DIR or
// else the user's cache folder), so no other local user can take it and stall every run, and
// the kernel frees it when a holder dies; a mutex inside the process excludes the process's
// own threads, which the file lock alone would not. Not recursive. The wait for it is bounded:
// a holder that never lets go costs a log line and a clear message, never a hung run.

// The file behind the lock: "<runtime or cache folder>/Folioworks_Global_Mutex.lock", as the
// environment names the folders now.
std::string GlobalMutexPath();

// How long AcquireGlobalMutex waits before giving up (30 s unless changed).
void SetGlobalMutexWait(std::chrono::milliseconds wait);
std::chrono::milliseconds GlobalMutexWait();

// Waits until this thread holds the lock, at most GlobalMutexWait(). True when held; false
// with a message saying who to suspect when the wait ran out (nothing is then held). When the
// lock file cannot be opened the lock still excludes the threads of this process, and counts
// as held.
bool AcquireGlobalMutex(std::string& error);
// Gives up the lock taken by AcquireGlobalMutex on this thread.
void ReleaseGlobalMutex();

// Holds the global lock for its lifetime, when it could be had.
class GlobalMutexGuard {
public:
    GlobalMutexGuard() : held_(AcquireGlobalMutex(error_)) {}
    ~GlobalMutexGuard() {
        if (held_)
            ReleaseGlobalMutex();
    }
    GlobalMutexGuard(const GlobalMutexGuard&) = delete;
    GlobalMutexGuard& operator=(const GlobalMutexGuard&) = delete;

    bool Held() const { return held_; }
    // Why the lock is not held.
    const std::string& Error() const { return error_; }

private:
    std::string error_;
    bool held_;
};

// The same kind of lock on another file: what the global lock is made of.
class CrossProcessLock {
public:
    explicit CrossProcessLock(std::string path) : path_(std::move(path)) {}
    ~CrossProcessLock();
    CrossProcessLock(const CrossProcessLock&) = delete;
    CrossProcessLock& operator=(const CrossProcessLock&) = delete;

    // Waits for the lock without a limit; false when the file could not be opened (threads
    // are still excluded, and Release must still be called).
    bool Acquire();
    // Waits at most wait. TimedOut when another holder kept it that long: nothing is held then.
    enum class Result { Held, HeldWithoutFile, TimedOut };
    Result AcquireFor(std::chrono::milliseconds wait);
    void Release();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    // flock() locks belong to the open file, so the threads sharing this object are not
    // excluded by it; this mutex does that.
    std::timed_mutex gate_;
    int fd_ = -1;
    bool held_ = false;
};

} // namespace slidemill
