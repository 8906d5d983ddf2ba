#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace slidemill {

// A program started for a launch task. It is independent of Slidemill: nothing here ends it.
// Once it has ended it is reaped by WaitFor; one that is left running is handed to a
// background reaper on destruction, so no zombie remains when it ends later.
class LaunchedProcess {
public:
    LaunchedProcess() = default;
    ~LaunchedProcess();
    LaunchedProcess(const LaunchedProcess&) = delete;
    LaunchedProcess& operator=(const LaunchedProcess&) = delete;

    // Starts program (a path, or a name without "/" looked up on $PATH) with argv (argv[0] included) and
    // the caller's environment and folder. Only standard input, output and error are
    // inherited; signal handling starts from the defaults. The new process gets the nice
    // value niceValue when it may (raising the priority needs privileges; without them it
    // keeps ours). False with the reason in error when it could not be started.
    bool Start(const std::string& program, const std::vector<std::string>& argv, int niceValue,
               std::string& error);

    pid_t Pid() const { return pid_; }
    // Waits up to timeoutMs (0: only looks) for the program to end. True once it has ended;
    // exitCode is its exit status, or 128 + the signal that killed it.
    bool WaitFor(int timeoutMs, int& exitCode);

private:
    pid_t pid_ = -1;
    int pidfd_ = -1;
    bool ended_ = false;
    int exitCode_ = 0;
};

// The nice value the process with pid runs at; false when it cannot be read.
bool NiceValueOf(pid_t pid, int& niceValue);

} // namespace slidemill
