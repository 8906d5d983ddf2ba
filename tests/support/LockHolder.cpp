#include "support/LockHolder.h"

#include "platform/GlobalLock.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace slidemill::test {

pid_t HoldLockInChild(const std::string& path) {
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        CrossProcessLock lock(path);
        lock.Acquire();
        char byte = 1;
        if (::write(ready[1], &byte, 1) != 1)
            _exit(1);
        pause();
        _exit(0);
    }
    char byte = 0;
    const bool held = pid >= 0 && ::read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    close(ready[1]);
    return held ? pid : -1;
}

void EndLockHolder(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
}

} // namespace slidemill::test
