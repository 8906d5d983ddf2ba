#include "platform/GlobalLock.h"

#include "platform/ProcessEnvironment.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace slidemill {

namespace {

constexpr const char* kLockName = "Folioworks_Global_Mutex.lock";
// Short enough that a freed lock is taken at once, long enough not to spin a core.
constexpr std::chrono::milliseconds kPoll{5};

std::atomic<long long> waitMs{30000};
// Set once a wait has run out: until the lock is had again, each later line waits only
// briefly, so a run whose lock is stuck slows down once, not at every line.
std::atomic<bool> stalled{false};
constexpr std::chrono::milliseconds kStalledWait{1000};

int OpenLockFile(const std::string& path) {
    // Only its user may open it: anyone who can open a file can flock() it.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return fd;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_uid == ::geteuid() && (info.st_mode & 077) != 0)
        ::fchmod(fd, 0600); // made by an older version, open to everyone
    return fd;
}

// One lock object per path, kept for the life of the process: a holder may still be using the
// lock of a path the environment no longer names.
CrossProcessLock& LockFor(const std::string& path) {
    static std::mutex guard;
    static std::map<std::string, std::unique_ptr<CrossProcessLock>> locks;
    std::lock_guard hold(guard);
    auto& lock = locks[path];
    if (!lock)
        lock = std::make_unique<CrossProcessLock>(path);
    return *lock;
}

std::string Seconds(std::chrono::milliseconds wait) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(wait.count()) / 1000.0);
    return text;
}

thread_local CrossProcessLock* heldByThisThread = nullptr;

} // namespace

std::string GlobalMutexPath() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
        std::string folder = runtime;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        struct stat info {};
        if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid())
            return folder + "/" + kLockName;
    }
    const std::string cache = UserCacheFolder();
    ::mkdir(cache.c_str(), 0700);
    return cache + "/" + kLockName;
}

void SetGlobalMutexWait(std::chrono::milliseconds wait) {
    waitMs = wait.count();
}

std::chrono::milliseconds GlobalMutexWait() {
    return std::chrono::milliseconds(waitMs.load());
}

CrossProcessLock::~CrossProcessLock() {
    if (held_)
        Release();
}

bool CrossProcessLock::Acquire() {
    gate_.lock();
    held_ = true;
    fd_ = OpenLockFile(path_);
    if (fd_ < 0)
        return false;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd_);
            fd_ = -1;
            return false;
        }
    }
    return true;
}

CrossProcessLock::Result CrossProcessLock::AcquireFor(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    if (!gate_.try_lock_until(deadline))
        return Result::TimedOut;
    fd_ = OpenLockFile(path_);
    if (fd_ < 0) {
        held_ = true;
        return Result::HeldWithoutFile;
    }
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return Result::Held;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd_);
            fd_ = -1;
            held_ = true;
            return Result::HeldWithoutFile;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kPoll);
    }
    ::close(fd_);
    fd_ = -1;
    gate_.unlock();
    return Result::TimedOut;
}

void CrossProcessLock::Release() {
    if (!held_)
        return;
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
    held_ = false;
    gate_.unlock();
}

bool AcquireGlobalMutex(std::string& error) {
    error.clear();
    const std::string path = GlobalMutexPath();
    CrossProcessLock& lock = LockFor(path);
    const auto wait = stalled ? std::min(GlobalMutexWait(), kStalledWait) : GlobalMutexWait();
    if (lock.AcquireFor(wait) == CrossProcessLock::Result::TimedOut) {
        stalled = true;
        error = "another Slidemill process has held the log lock " + path + " for more than " +
                Seconds(wait) + " s";
        return false;
    }
    stalled = false;
    heldByThisThread = &lock;
    return true;
}

void ReleaseGlobalMutex() {
    if (heldByThisThread) {
        heldByThisThread->Release();
        heldByThisThread = nullptr;
    }
}

} // namespace slidemill
