#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// Milliseconds on a clock that never goes back; only differences mean anything.
int64_t MonotonicMilliseconds();

// Seconds since startMs with one decimal ("0.0", "12.3"), as the status bar shows them.
std::string ElapsedSecondsText(int64_t startMs);

// A number with one decimal ("45.0").
std::string OneDecimal(double value);

} // namespace slidemill
