#pragma once

#include <string>

// Text helpers shared by the path services.
namespace slidemill::pathtext {

// Without leading and trailing spaces (only spaces: tabs separate fields in job files).
std::string TrimSpaces(const std::string& text);
// Position of needle in text at or after from, ASCII letters compared without regard to case.
std::size_t FindIgnoringCase(const std::string& text, const std::string& needle, std::size_t from = 0);
bool EqualIgnoringCase(const std::string& a, const std::string& b);
std::string UpperAscii(std::string text);
bool StartsWith(const std::string& text, const std::string& prefix);
// folder + "/" unless it already ends with "/" (so the root "/" never becomes "//").
std::string WithTrailingSlash(const std::string& folder);
// folder + "/" + name without doubling the separator.
std::string JoinPath(const std::string& folder, const std::string& name);
// The last component of path (trailing "/" ignored); "" for "/" or "".
std::string LastComponent(const std::string& path);
// Number of characters of UTF-8 text (continuation bytes not counted).
std::size_t CharacterCount(const std::string& text);

} // namespace slidemill::pathtext
