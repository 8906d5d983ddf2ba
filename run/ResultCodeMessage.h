#pragma once

#include "core/ConversionOptions.h"

#include <string>

namespace slidemill {

// The message of a special process's or a launch's result code lErr, translated, with the
// target (-2) or source (-3) path appended; "" for codes that have no message.
std::string ResultCodeMessage(const clsConversionOptions& task);

} // namespace slidemill
