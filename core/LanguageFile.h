#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace slidemill {

// English text → its translation. The first entry of a key counts.
using LanguageDictionary = std::unordered_map<std::string, std::string>;

// A language file is UTF-8 (with or without a byte-order mark) or UTF-16 with a byte-order mark.
enum class LanguageEncoding { Utf8, Utf16LE, Utf16BE };

// The encoding whose first line begins with a double quote; nullopt when neither does.
std::optional<LanguageEncoding> DetectLanguageEncoding(std::string_view bytes);

// The file's text as UTF-8, without its byte-order mark; nullopt when the bytes are not valid in
// the encoding (a broken UTF-8 sequence, an odd UTF-16 length, a lone surrogate).
std::optional<std::string> DecodeLanguageText(std::string_view bytes, LanguageEncoding encoding);

// Adds the entries of a language file's text to dictionary, line by line: blank lines and
// comments ("!) are skipped, the end marker ("****) ends the file, a line with "," maps the text
// before it to the text after it, and any other line maps its text to itself.
void ParseLanguageText(std::string_view utf8, LanguageDictionary& dictionary);

// How a language file ends its lines, so that appended lines match it.
struct LanguageFileLayout {
    bool crlf = false;           // its first line ends with CR LF
    bool endsWithBreak = true;   // an empty file counts as ending with one
};
LanguageFileLayout LayoutOfLanguageText(std::string_view utf8);

// The bytes that append text as one quoted line to a file of that layout, in its encoding:
// after a line break when the file does not end with one.
std::string AppendedLanguageLine(const std::string& text, LanguageEncoding encoding, const LanguageFileLayout& layout);

} // namespace slidemill
