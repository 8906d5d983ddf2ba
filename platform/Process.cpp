#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace slidemill {

namespace {

int ExitCodeOf(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 0;
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    return fd < 0 ? -1 : static_cast<int>(fd);
#else
    (void)pid;
    return -1;
#endif
}

} // namespace

bool LaunchedProcess::Start(const std::string& program, const std::vector<std::string>& argv, int niceValue,
                            std::string& error) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    // A bare name is looked up on the search path, as a shell does; a name with a folder is
    // taken as it is.
    const auto spawn = program.find('/') == std::string::npos ? ::posix_spawnp : ::posix_spawn;
    const int result = spawn(&pid, program.c_str(), &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        error = std::strerror(result);
        return false;
    }
    pid_ = pid;
    ended_ = false;
    pidfd_ = OpenPidFd(pid);
    // Best effort: without the right to raise the priority the program runs at ours.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), niceValue);
    return true;
}

bool LaunchedProcess::WaitFor(int timeoutMs, int& exitCode) {
    if (pid_ <= 0)
        return false;
    if (!ended_) {
        if (pidfd_ >= 0 && timeoutMs > 0) {
            pollfd ready{pidfd_, POLLIN, 0};
            while (::poll(&ready, 1, timeoutMs) < 0 && errno == EINTR) {
            }
        }
        int status = 0;
        pid_t done = ::waitpid(pid_, &status, WNOHANG);
        // Without a process descriptor, look a few times within the time-out instead.
        for (int slept = 0; done == 0 && pidfd_ < 0 && slept < timeoutMs; slept += 10) {
            ::usleep(10000);
            done = ::waitpid(pid_, &status, WNOHANG);
        }
        if (done == pid_) {
            ended_ = true;
            exitCode_ = ExitCodeOf(status);
        } else if (done < 0 && errno == ECHILD) {
            ended_ = true; // reaped elsewhere; its exit code is lost
        }
    }
    if (ended_)
        exitCode = exitCode_;
    return ended_;
}

LaunchedProcess::~LaunchedProcess() {
    if (pidfd_ >= 0)
        ::close(pidfd_);
    if (pid_ > 0 && !ended_) {
        const pid_t pid = pid_;
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
}

bool NiceValueOf(pid_t pid, int& niceValue) {
    errno = 0;
    const int value = ::getpriority(PRIO_PROCESS, static_cast<id_t>(pid));
    if (value == -1 && errno != 0)
        return false;
    niceValue = value;
    return true;
}

} // namespace slidemill
