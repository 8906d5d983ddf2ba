#pragma once

#include <string>
#include <vector>

namespace slidemill {

// Splits an argument text into words the way a POSIX shell does, and nothing more: blanks
// separate words; single quotes keep everything up to the next single quote; double quotes
// keep everything but a backslash before $, `, ", \ or a line end; a backslash outside quotes
// keeps the next character. No variables, commands, globs or operators: "$(x)", "`x`", ";"
// and "|" are ordinary characters. False (with the reason in error) for an unclosed quote
// or a backslash at the very end.
bool SplitShellWords(const std::string& text, std::vector<std::string>& words, std::string& error);

} // namespace slidemill
