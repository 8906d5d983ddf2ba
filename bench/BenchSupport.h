#pragma once

#include "core/ConversionOptions.h"
#include "run/FailureSink.h"

#include <chrono>
#include <cstdio>

namespace slidemill::bench {

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Counts the files a conversion step fails and prints each one.
class CountingSink : public FailureSink {
public:
    int failures = 0;
    void LogConversionError(int32_t, const clsConversionOptions& record) override {
        ++failures;
        std::fprintf(stderr, "%s: %d %s\n", record.sOriginalFile.c_str(), static_cast<int>(record.lErr),
                     record.sErr.c_str());
    }
};

} // namespace slidemill::bench
