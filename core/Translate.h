#pragma once

#include <string>

namespace slidemill {

// Every fixed user-visible text passes through here just before it is shown or logged.
// English in, the current language out; until languages are loaded it is the identity.
std::string Translate(const std::string& english);

} // namespace slidemill
