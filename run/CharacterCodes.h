#pragma once

#include <string>

namespace slidemill {

// Replaces every "©n©" in text by the character with code point n (UTF-8 encoded), so that
// characters that cannot be typed (©13© is a carriage return) can be searched and written.
// Pieces that do not form a code are kept as they were, markers included: a non-number or
// empty code ("©x©", "©©"), a value above U+10FFFF or a surrogate, and a final unpaired "©"
// with the text after it. So an odd number of markers never fails: "a©9©b©c" gives "a",
// a tab, "b©c".
std::string ExpandCharacterCodes(const std::string& text);

// UTF-8 bytes of one code point (which must be at most U+10FFFF).
std::string EncodeUtf8(char32_t codePoint);

} // namespace slidemill
