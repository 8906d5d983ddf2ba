#include "platform/ReadBusy.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace slidemill {

bool FileBusyForReading(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return true;
    bool busy = false;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        busy = errno == EWOULDBLOCK;
    } else {
        ::flock(fd, LOCK_UN);
        struct flock probe {};
        probe.l_type = F_RDLCK;
        probe.l_whence = SEEK_SET;
        if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
            busy = true;
    }
    ::close(fd);
    return busy;
}

} // namespace slidemill
