#pragma once

#include "core/ConversionOptions.h"
#include "core/RunControl.h"

#include <cstdint>
#include <string>

namespace slidemill {

// The nice value for a priority class of a launch task: Idle 64 → 19, Normal 32 → 0,
// High 128 → -10, Realtime 256 → -20; any other value → 0.
int NiceValueForPriorityClass(int32_t priorityClass);

// Starts program with the argument text split into words like a shell would (but never
// run by one), folder tokens expanded in the program path and in each word, and waits for
// it: -1 seconds without a limit, otherwise until more than waitSeconds have passed (0: gives
// up at the first look). Returns 0 when the program ended (exitCode is its exit status, or
// 128 + signal), -10 when it could not be started, -11 when the limit passed or the run was
// stopped first; the program then keeps running. windowState has no meaning for Linux
// programs and is not used. The wait sleeps between checkpoints of control.
int RunProgramAndWait(const std::string& program, const std::string& arguments, int32_t windowState,
                      int32_t priorityClass, int32_t waitSeconds, int32_t& exitCode,
                      RunControl& control = NullRunControl());

// Runs the launch task: sOriginalFile is the program, sTargetFile its argument text. Stores
// the exit code in lCommandLineExitCode (0 unless the program ended), the result in lErr and
// its message in sErr, and returns the result.
int LaunchProgram(clsConversionOptions& task, RunControl& control = NullRunControl());

} // namespace slidemill
