#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace slidemill {

// A helper program started in its own process group, tied to this process: the kernel kills
// it when Slidemill dies, and the owner kills and reaps it (with everything it started) on
// destruction, so neither orphans nor zombies outlive us.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts program with arguments (argv[0] included); its standard streams go to /dev/null.
    // False (with a reason) when it could not be started. A running child is ended first.
    bool Start(const std::vector<std::string>& argv, std::string& error);

    pid_t Pid() const { return pid_; }
    bool Started() const { return pid_ > 0; }
    // True once the child has ended; exitCode is its exit status, or 128 + signal.
    bool HasExited(int& exitCode);
    // Waits up to timeoutMs for the child to end; true when it has (and has been reaped).
    bool WaitForExit(int timeoutMs, int& exitCode);
    // Sends a signal to the child's whole process group. Safe from any thread.
    void SignalGroup(int signal) const;
    // SIGKILL to the group and reap the child; nothing to do once it is gone.
    void Kill();
    // Resident memory of the child in bytes; 0 when unknown.
    int64_t ResidentBytes() const;

private:
    pid_t pid_ = -1;
    std::atomic<bool> exited_ = false;
    int exitCode_ = 0;
};

} // namespace slidemill
