#pragma once

#include "settings/TranslatableText.h"

#include <string>

namespace slidemill {

// Every fixed user-visible text passes through here just before it is shown or logged.
// English in, the current language out; English until the translator has loaded a language.
std::string Translate(const std::string& english);

} // namespace slidemill
