#include "support/Unprivileged.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <stdexcept>
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

// How a child run ended, and what it wrote.
struct ChildRun {
    int code = kFailed; // kPassed: body ran and returned its text; -1: did not end normally
    std::string text;
};

// Runs body in a child that has given up root; the child writes what body returns (or why it
// could not run) to the parent.
ChildRun RunInUnprivilegedChild(const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0)
        return {kFailed, std::string("pipe: ") + std::strerror(errno)};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return {kFailed, std::string("fork: ") + std::strerror(errno)};
    if (child == 0) {
        ::close(channel[0]);
        const std::string dropped = DropRoot();
        if (!dropped.empty()) {
            WriteAll(channel[1], dropped);
            ::_exit(kNoDrop);
        }
        int code = kPassed;
        std::string text;
        try {
            text = body();
        } catch (const std::exception& e) {
            text = std::string("exception: ") + e.what();
            code = kFailed;
        } catch (...) {
            text = "unknown exception";
            code = kFailed;
        }
        WriteAll(channel[1], text);
        ::_exit(code);
    }
    ::close(channel[1]);
    ChildRun run;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n > 0)
            run.text.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (run.code == -1)
        run.text = "the unprivileged child did not end normally (status " + std::to_string(status) + ")";
    return run;
}

// Lets other accounts pass through folder and every folder above it.
void OpenToEveryone(std::filesystem::path folder) {
    namespace fs = std::filesystem;
    for (; !folder.empty() && folder != folder.root_path(); folder = folder.parent_path()) {
        std::error_code ec;
        const fs::perms now = fs::status(folder, ec).permissions();
        if (ec)
            throw std::runtime_error("cannot read the permissions of " + folder.string());
        if ((now & fs::perms::others_exec) != fs::perms::none)
            continue;
        fs::permissions(folder, fs::perms::others_exec | fs::perms::others_read, fs::perm_options::add, ec);
        if (ec)
            throw std::runtime_error("cannot open " + folder.string() + " to other accounts");
    }
}

} // namespace

::testing::AssertionResult RunUnprivileged(const std::function<std::string()>& check) {
    const ChildRun run = RunInUnprivilegedChild(check);
    if (run.code == kPassed && run.text.empty())
        return ::testing::AssertionSuccess();
    if (run.code == kNoDrop)
        return ::testing::AssertionFailure()
               << "cannot give up root for uid " << kUnprivilegedId << ": " << run.text;
    return ::testing::AssertionFailure() << "as an unprivileged user: " << run.text;
}

std::string AsUnprivilegedUser(const std::function<std::string()>& work,
                               const std::filesystem::path& reachable) {
    if (::geteuid() == 0)
        OpenToEveryone(reachable);
    const ChildRun run = RunInUnprivilegedChild(work);
    if (run.code != kPassed)
        throw std::runtime_error("the unprivileged child failed: " + run.text);
    return run.text;
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
