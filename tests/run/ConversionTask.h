#pragma once

#include "core/ConversionOptions.h"
#include "support/TempFolder.h"

#include <cstdint>
#include <string>

namespace slidemill::test {

// A conversion task from source to target below a test folder (PDF unless told otherwise).
inline clsConversionOptions ConversionTask(const TempFolder& t, const std::string& source,
                                           const std::string& target, int32_t type = 32) {
    clsConversionOptions task;
    task.sOriginalFile = t.str() + source;
    task.sTargetFile = t.str() + target;
    task.lTargetFileType = type;
    task.lOriginalFileType = 3;
    return task;
}

} // namespace slidemill::test
