#pragma once

#include <chrono>

namespace slidemill {

// The wall-clock (civil) time of an instant in the process's time zone (TZ, else the system's).
std::chrono::local_seconds LocalTimeOfInstant(std::chrono::sys_seconds instant);

// The instant a wall-clock time names in the process's time zone. A time that occurs twice (the
// hour repeated when clocks go back) names its earlier occurrence; a time that does not occur
// (the hour skipped when clocks go forward) names the first moment after the skipped stretch, so
// a 2:30 appointment on a day that jumps from 2:00 to 3:00 falls due at 3:00.
std::chrono::sys_seconds InstantOfLocalTime(std::chrono::local_seconds civil);

// Re-reads TZ after a change of the environment variable.
void ReloadTimeZone();

} // namespace slidemill
