#pragma once

#include "engine/EngineResult.h"

#include <cstdint>
#include <string>

namespace slidemill {

// The fixed parts of the engine's messages, offered to the translator as GetText(-i).
int32_t EngineTextCount();
// index is -1 .. -EngineTextCount(); "" otherwise.
std::string EngineText(int32_t index);
// The message of a failed file: the fixed text of the result, then the file, then the
// detail the office gave (if any).
std::string EngineMessage(EngineResult result, const std::string& file, const std::string& detail = {});

} // namespace slidemill
