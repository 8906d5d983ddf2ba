#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace slidemill {

NewFileResult CreateNewFile(const std::string& path, const std::string& contents) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? NewFileResult::AlreadyExists : NewFileResult::Failed;
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0)
        ok = false;
    if (!ok) {
        // The file is ours (O_EXCL), so removing it cannot touch anyone else's data.
        ::unlink(path.c_str());
        return NewFileResult::Failed;
    }
    return NewFileResult::Created;
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // Some file systems cannot rename without replacing; a hard link gives the same guarantee.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool CopyIntoNewFile(const std::string& from, const std::string& to, unsigned long long& bytesCopied) {
    bytesCopied = 0;
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat status {};
    if (::fstat(in, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(in);
        return false;
    }
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, status.st_mode & 07777);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) {
            ok = false;
            break;
        }
        bytesCopied += static_cast<unsigned long long>(n);
    }
    // The umask may have narrowed the mode given to open.
    if (ok && ::fchmod(out, status.st_mode & 07777) != 0)
        ok = false;
    if (ok && ::fsync(out) != 0)
        ok = false;
    if (::close(out) != 0)
        ok = false;
    ::close(in);
    if (!ok)
        ::unlink(to.c_str());
    return ok;
}

} // namespace slidemill
