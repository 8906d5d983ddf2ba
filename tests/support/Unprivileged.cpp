#include "support/Unprivileged.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace slidemill::test {

namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kNoDrop = 2;

void WriteAll(int fd, const std::string& text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0)
            return;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

// Gives up root for good; empty when done, else why not.
std::string DropRoot() {
    if (::geteuid() != 0)
        return {};
    if (::setgroups(0, nullptr) != 0)
        return std::string("setgroups: ") + std::strerror(errno);
    if (::setgid(kUnprivilegedId) != 0)
        return std::string("setgid: ") + std::strerror(errno);
    if (::setuid(kUnprivilegedId) != 0)
        return std::string("setuid: ") + std::strerror(errno);
    if (::geteuid() != kUnprivilegedId || ::getegid() != kUnprivilegedId)
        return "the ids did not change";
    if (::setuid(0) == 0)
        return "root could be regained";
    return {};
}

} // namespace

::testing::AssertionResult RunUnprivileged(const std::function<std::string()>& check) {
    int channel[2];
    if (::pipe(channel) != 0)
        return ::testing::AssertionFailure() << "pipe: " << std::strerror(errno);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return ::testing::AssertionFailure() << "fork: " << std::strerror(errno);
    if (child == 0) {
        ::close(channel[0]);
        const std::string dropped = DropRoot();
        if (!dropped.empty()) {
            WriteAll(channel[1], dropped);
            ::_exit(kNoDrop);
        }
        std::string failure;
        try {
            failure = check();
        } catch (const std::exception& e) {
            failure = std::string("exception: ") + e.what();
        } catch (...) {
            failure = "unknown exception";
        }
        WriteAll(channel[1], failure);
        ::_exit(failure.empty() ? kPassed : kFailed);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n > 0)
            report.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status))
        return ::testing::AssertionFailure()
               << "the unprivileged check did not end normally (status " << status << ")";
    switch (WEXITSTATUS(status)) {
    case kPassed:
        return ::testing::AssertionSuccess();
    case kNoDrop:
        return ::testing::AssertionFailure()
               << "cannot give up root for uid " << kUnprivilegedId << ": " << report;
    default:
        return ::testing::AssertionFailure() << "as an unprivileged user: " << report;
    }
}

bool HandToUnprivileged(const std::filesystem::path& folder) {
    if (::geteuid() != 0)
        return true;
    std::error_code ec;
    bool ok = ::chown(folder.c_str(), kUnprivilegedId, kUnprivilegedId) == 0;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        ok = ::lchown(it->path().c_str(), kUnprivilegedId, kUnprivilegedId) == 0 && ok;
    // Every folder above must let others pass through. The tests' own temporary folders (the
    // home folder every test program makes, for one) are opened for passing, never for
    // listing; any other folder must already allow it, as /tmp does.
    for (auto parent = folder.parent_path(); !parent.empty() && parent != parent.root_path();
         parent = parent.parent_path()) {
        struct stat info {};
        if (::stat(parent.c_str(), &info) != 0)
            return false;
        if ((info.st_mode & S_IXOTH) != 0)
            continue;
        if (parent.filename().string().rfind("slidemill-test-", 0) != 0)
            return false;
        ok = ::chmod(parent.c_str(), (info.st_mode & 07777) | S_IXOTH) == 0 && ok;
    }
    return ok && !ec;
}

} // namespace slidemill::test
