#include "platform/GlobalLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace slidemill {

namespace {

int OpenLockFile(const std::string& path) {
    // Created by the first user; later users open it. Every user must be able to open it, so
    // the mode is set after creation, where the umask no longer applies.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::fchmod(fd, 0666);
        return fd;
    }
    fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    return fd;
}

CrossProcessLock& GlobalLock() {
    static CrossProcessLock lock(GlobalMutexPath());
    return lock;
}

} // namespace

const std::string& GlobalMutexPath() {
    static const std::string path = "/tmp/Folioworks_Global_Mutex.lock";
    return path;
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

void AcquireGlobalMutex() {
    GlobalLock().Acquire();
}

void ReleaseGlobalMutex() {
    GlobalLock().Release();
}

} // namespace slidemill
