#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace slidemill {

// The font family every window of the program uses for the language: the language font when
// one is set; for another language than English under a Japanese locale, a Japanese UI font
// that is installed (without one, Japanese text would be drawn in whatever font happens to have
// the glyphs, or as boxes); otherwise "" (the desktop's own font). installed answers whether a
// family is installed.
std::string LanguageUiFontFamily(const std::string& languageFont, const std::string& language, int32_t localeId,
                                 const std::function<bool(const std::string&)>& installed);

// Whether fontconfig knows the family (compared without regard to case, as font names are).
bool FontFamilyInstalled(const std::string& family);

// Gives the application the language's font (when there is one), so every window and dialog
// built from now on draws with it.
void ApplyLanguageFont(const std::string& languageFont, const std::string& language, int32_t localeId);

} // namespace slidemill
