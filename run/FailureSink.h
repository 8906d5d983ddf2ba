#pragma once

#include "core/ConversionOptions.h"

#include <cstdint>

namespace slidemill {

// Where failed files and tasks are reported; the runner keeps them as rows of its log.
class FailureSink {
public:
    virtual ~FailureSink() = default;
    virtual void LogConversionError(int32_t lJobNumber, const clsConversionOptions& coBlock) = 0;
};

} // namespace slidemill
