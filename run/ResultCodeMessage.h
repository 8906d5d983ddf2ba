#pragma once

#include "core/ConversionOptions.h"

#include <string>

namespace slidemill {

// The message of a task result code lErr, translated, with the target (-2, -21) or source (-3)
// path appended, or both (-23, -24); "" for codes that have no message.
std::string ResultCodeMessage(const clsConversionOptions& task);

} // namespace slidemill
