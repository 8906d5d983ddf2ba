#include "run/Elapsed.h"

#include <chrono>
#include <cstdio>

namespace slidemill {

int64_t MonotonicMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string OneDecimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string ElapsedSecondsText(int64_t startMs) {
    return OneDecimal(static_cast<double>(MonotonicMilliseconds() - startMs) / 1000.0);
}

} // namespace slidemill
