#include "core/LanguageFile.h"

#include <cstdint>

namespace slidemill {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
constexpr std::string_view kUtf16BEBom = "\xFE\xFF";
constexpr std::string_view kSeparator = "\",\"";

bool ValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t minimum = 0;
        char32_t code = 0;
        if (lead == 0) {
            return false; // no text holds NUL: this is UTF-16 without its mark, or binary
        } else if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            minimum = 0x80;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            minimum = 0x800;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            minimum = 0x10000;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not text.
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char16_t Unit(std::string_view bytes, std::size_t at, bool littleEndian) {
    const auto a = static_cast<unsigned char>(bytes[at]);
    const auto b = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<char16_t>(littleEndian ? (a | (b << 8)) : ((a << 8) | b));
}

std::optional<std::string> DecodeUtf16(std::string_view bytes, bool littleEndian) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t unit = Unit(bytes, i, littleEndian);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 2 >= bytes.size())
                return std::nullopt;
            const char16_t low = Unit(bytes, i + 2, littleEndian);
            if (low < 0xDC00 || low > 0xDFFF)
                return std::nullopt;
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return std::nullopt;
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

// The UTF-8 text (already valid) as UTF-16 bytes.
std::string EncodeUtf16(std::string_view utf8, bool littleEndian) {
    std::string out;
    const auto put = [&](char16_t unit) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        out += littleEndian ? low : high;
        out += littleEndian ? high : low;
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
        char32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            put(static_cast<char16_t>(0xD800 + (code >> 10)));
            put(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            put(static_cast<char16_t>(code));
        }
    }
    return out;
}

bool Blank(std::string_view line) {
    return line.find_first_not_of(" \t\r\v\f") == std::string_view::npos;
}

} // namespace

std::optional<LanguageEncoding> DetectLanguageEncoding(std::string_view bytes) {
    std::string_view utf8 = bytes;
    if (utf8.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        utf8.remove_prefix(kUtf8Bom.size());
    if (!utf8.empty() && utf8.front() == '"')
        return LanguageEncoding::Utf8;
    for (const auto& [bom, encoding] : {std::pair{kUtf16LEBom, LanguageEncoding::Utf16LE},
                                        std::pair{kUtf16BEBom, LanguageEncoding::Utf16BE}}) {
        if (bytes.size() >= 4 && bytes.substr(0, 2) == bom &&
            Unit(bytes, 2, encoding == LanguageEncoding::Utf16LE) == u'"')
            return encoding;
    }
    return std::nullopt;
}

std::optional<std::string> DecodeLanguageText(std::string_view bytes, LanguageEncoding encoding) {
    switch (encoding) {
    case LanguageEncoding::Utf8:
        if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            bytes.remove_prefix(kUtf8Bom.size());
        if (!ValidUtf8(bytes))
            return std::nullopt;
        return std::string(bytes);
    case LanguageEncoding::Utf16LE:
    case LanguageEncoding::Utf16BE:
        if (bytes.size() < 2)
            return std::nullopt;
        return DecodeUtf16(bytes.substr(2), encoding == LanguageEncoding::Utf16LE);
    }
    return std::nullopt;
}

void ParseLanguageText(std::string_view utf8, LanguageDictionary& dictionary) {
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos)
            end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        start = end + 1;
        // Spaces after the closing quote (an editor's leftovers) are not part of the entry.
        const std::size_t last = line.find_last_not_of(" \t\r");
        if (last != std::string_view::npos && line[last] == '"')
            line = line.substr(0, last + 1);
        else if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (Blank(line) || line.substr(0, 2) == "\"!")
            continue;
        if (line.substr(0, 5) == "\"****")
            break;
        std::string_view key;
        std::string_view translation;
        const std::size_t separator = line.find(kSeparator);
        if (separator != std::string_view::npos) {
            // A line that begins with the separator has an empty key (and is skipped below).
            key = separator > 0 ? line.substr(1, separator - 1) : std::string_view{};
            translation = line.substr(separator + kSeparator.size());
            const std::size_t second = translation.find(kSeparator);
            if (second != std::string_view::npos)
                translation = translation.substr(0, second);
            if (!translation.empty())
                translation.remove_suffix(1);
        } else {
            key = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view{};
            translation = key;
        }
        if (!key.empty())
            dictionary.emplace(std::string(key), std::string(translation));
    }
}

LanguageFileLayout LayoutOfLanguageText(std::string_view utf8) {
    LanguageFileLayout layout;
    const std::size_t firstBreak = utf8.find('\n');
    layout.crlf = firstBreak != std::string_view::npos && firstBreak > 0 && utf8[firstBreak - 1] == '\r';
    layout.endsWithBreak = utf8.empty() || utf8.back() == '\n';
    return layout;
}

std::string AppendedLanguageLine(const std::string& text, LanguageEncoding encoding, const LanguageFileLayout& layout) {
    const std::string lineEnd = layout.crlf ? "\r\n" : "\n";
    std::string line = layout.endsWithBreak ? std::string() : lineEnd;
    line += '"' + text + '"' + lineEnd;
    if (encoding == LanguageEncoding::Utf8)
        return line;
    return EncodeUtf16(line, encoding == LanguageEncoding::Utf16LE);
}

} // namespace slidemill
