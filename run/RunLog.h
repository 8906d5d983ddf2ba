#pragma once

#include "core/ConversionOptions.h"
#include "run/FailureSink.h"

#include <cstdint>

namespace slidemill {

// The run's log: failed files and tasks, and the exit codes of launched programs.
class RunLog : public FailureSink {
public:
    virtual void LogExitCode(int32_t lJobNumber, const clsConversionOptions& coBlock) = 0;
};

} // namespace slidemill
