#pragma once

// The task result messages live with the runner that stores them; callers of the command line
// find them here beside the run statuses.
#include "run/ResultCodeMessage.h"

#include <cstdint>

namespace slidemill {

// What a command-line run (and the automation method) answers.
inline constexpr int32_t kRunStatusDone = 0;         // a task or job ran (whatever its files did), or /?
inline constexpr int32_t kRunStatusEmptyLine = -2;   // nothing to run: the window is shown
inline constexpr int32_t kRunStatusInvalidLine = -3; // the line did not parse or validate
inline constexpr int32_t kRunStatusOpenedJob = -4;   // /J with /O: the job is opened, not run

// Process exit codes for scripts.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitInvalidLine = 2;

// The exit code of a finished run: 2 for an invalid line, 1 when a file or task failed, else 0.
// Statuses that leave the window open have no exit code of their own and give 0.
int ExitCodeForRunStatus(int32_t runStatus, bool somethingFailed);

} // namespace slidemill
