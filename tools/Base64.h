#pragma once

#include <string>

namespace slidemill::tools {

// Standard base64 (RFC 4648) with padding, broken into lines of lineLength characters
// (0: one line).
std::string EncodeBase64(const std::string& bytes, size_t lineLength = 0);

} // namespace slidemill::tools
