#include "run/CharacterCodes.h"

#include <optional>
#include <string_view>
#include <vector>

namespace slidemill {

namespace {

constexpr std::string_view kMarker = "\xC2\xA9"; // U+00A9 in UTF-8

std::optional<char32_t> CodeOf(std::string_view digits) {
    if (digits.empty() || digits.size() > 7)
        return std::nullopt;
    char32_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<char32_t>(c - '0');
    }
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return value;
}

} // namespace

std::string EncodeUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string ExpandCharacterCodes(const std::string& text) {
    if (text.find(kMarker) == std::string::npos)
        return text;
    std::vector<std::string_view> parts;
    std::string_view rest = text;
    for (std::size_t at = rest.find(kMarker); at != std::string_view::npos; at = rest.find(kMarker)) {
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kMarker.size());
    }
    parts.push_back(rest);

    std::string result(parts[0]);
    for (std::size_t i = 1; i < parts.size(); i += 2) {
        const bool paired = i + 1 < parts.size();
        const std::optional<char32_t> code = paired ? CodeOf(parts[i]) : std::nullopt;
        if (code) {
            result += EncodeUtf8(*code);
        } else {
            result += kMarker;
            result += parts[i];
            if (paired)
                result += kMarker;
        }
        if (paired)
            result += parts[i + 1];
    }
    return result;
}

} // namespace slidemill
