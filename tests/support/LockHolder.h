#pragma once

#include <string>
#include <sys/types.h>

namespace slidemill::test {

// Starts a child process that takes the cross-process lock at path and holds it until it is
// killed; returns once the lock is held. -1 when the child could not be started or did not
// get the lock.
pid_t HoldLockInChild(const std::string& path);

// Kills a child started by HoldLockInChild and waits for it, which releases its lock.
void EndLockHolder(pid_t pid);

} // namespace slidemill::test
