#include "support/AsUnprivilegedUser.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace slidemill::test {

namespace {

constexpr uid_t kNobody = 65534;

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

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string AsUnprivilegedUser(const std::function<std::string()>& work,
                               const std::filesystem::path& reachable) {
    const bool administrator = geteuid() == 0;
    if (administrator)
        OpenToEveryone(reachable);
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("cannot make a pipe");
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        close(fds[0]);
        if (administrator &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0 || geteuid() == 0))
            _exit(3);
        int code = 0;
        try {
            code = WriteAll(fds[1], work()) ? 0 : 4;
        } catch (...) {
            code = 5;
        }
        close(fds[1]);
        _exit(code);
    }
    close(fds[1]);
    std::string answer;
    char buffer[4096];
    while (true) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the unprivileged child failed (status " + std::to_string(status) + ")");
    return answer;
}

} // namespace slidemill::test
