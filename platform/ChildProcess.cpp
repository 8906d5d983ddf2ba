#include "platform/ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <mutex>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace slidemill {
namespace {

// The kernel's parent-death signal follows the thread that forked, not the process: a child
// forked from a short-lived worker thread would be killed when that thread ends. Every fork
// therefore happens on one thread that lives as long as the process.
class Launcher {
public:
    static Launcher& Instance() {
        // Never destroyed: the thread may still wait on these while statics are torn down.
        static Launcher* instance = new Launcher;
        return *instance;
    }

    void Run(const std::function<void()>& job) {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [&] { return job_ == nullptr; });
        bool finished = false;
        job_ = &job;
        finished_ = &finished;
        wake_.notify_all();
        idle_.wait(lock, [&] { return finished; });
    }

private:
    Launcher() {
        std::thread([this] { Loop(); }).detach();
    }

    void Loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return job_ != nullptr; });
            (*job_)();
            *finished_ = true;
            job_ = nullptr;
            finished_ = nullptr;
            idle_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    const std::function<void()>* job_ = nullptr;
    bool* finished_ = nullptr;
};

int DecodeStatus(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// Only async-signal-safe calls between fork and exec: the parent has other threads.
[[noreturn]] void ExecChild(char* const* argv, int devNull, pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    setpgid(0, 0);
    dup2(devNull, STDIN_FILENO);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    // Descriptors of ours (locks, pipes) must not live on in the child.
    if (syscall(SYS_close_range, 3U, ~0U, 0U) != 0) {
        for (int fd = 3; fd < 4096; ++fd)
            close(fd);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // The parent ignores broken pipes; the child starts with the default, as from a shell.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &standard, nullptr);
    execv(argv[0], argv);
    _exit(127);
}

} // namespace

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Start(const std::vector<std::string>& argv, std::string& error) {
    Kill();
    if (argv.empty()) {
        error = "no program given";
        return false;
    }
    std::vector<std::string> copy = argv;
    std::vector<char*> raw;
    for (auto& a : copy)
        raw.push_back(a.data());
    raw.push_back(nullptr);

    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull < 0) {
        error = std::string("cannot open /dev/null: ") + std::strerror(errno);
        return false;
    }
    pid_t child = -1;
    int forkErrno = 0;
    const pid_t parent = getpid();
    Launcher::Instance().Run([&] {
        child = fork();
        if (child == 0)
            ExecChild(raw.data(), devNull, parent);
        if (child < 0)
            forkErrno = errno;
    });
    close(devNull);
    if (child < 0) {
        error = std::string("cannot start a process: ") + std::strerror(forkErrno);
        return false;
    }
    // Also from this side, so that a signal to the group cannot race the child's own setpgid.
    setpgid(child, child);
    pid_ = child;
    exited_ = false;
    exitCode_ = 0;
    return true;
}

bool ChildProcess::HasExited(int& exitCode) {
    if (pid_ <= 0)
        return false;
    if (!exited_) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            exited_ = true;
            exitCode_ = DecodeStatus(status);
        } else if (r < 0 && errno == ECHILD) {
            exited_ = true;
            exitCode_ = -1;
        }
    }
    exitCode = exitCode_;
    return exited_;
}

bool ChildProcess::WaitForExit(int timeoutMs, int& exitCode) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (HasExited(exitCode))
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void ChildProcess::SignalGroup(int signal) const {
    if (pid_ > 0 && !exited_) {
        kill(-pid_, signal);
        kill(pid_, signal);
    }
}

void ChildProcess::Kill() {
    if (pid_ <= 0)
        return;
    int code = 0;
    if (!HasExited(code)) {
        SignalGroup(SIGKILL);
        if (!WaitForExit(5000, code)) {
            int status = 0;
            if (waitpid(pid_, &status, 0) == pid_)
                exitCode_ = DecodeStatus(status);
            exited_ = true;
        }
    }
    // Whatever is left of the group (helpers the child started) goes with it.
    kill(-pid_, SIGKILL);
    pid_ = -1;
}

int64_t ChildProcess::ResidentBytes() const {
    if (pid_ <= 0 || exited_)
        return 0;
    std::ifstream statm("/proc/" + std::to_string(pid_) + "/statm");
    int64_t size = 0, resident = 0;
    if (!(statm >> size >> resident))
        return 0;
    return resident * static_cast<int64_t>(sysconf(_SC_PAGESIZE));
}

} // namespace slidemill
