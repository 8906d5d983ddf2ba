#include "run/TextLayout.h"

namespace slidemill {

TextLayout DetectTextLayout(int32_t fileType, const std::string& start) {
    TextLayout layout;
    if (fileType != 6)
        return layout;
    if (start.rfind("\xEF\xBB\xBF", 0) == 0)
        return layout;
    layout.unitBytes = 2;
    if (start.rfind("\xFF\xFE", 0) == 0) {
        layout.headerBytes = 2;
    } else if (start.rfind("\xFE\xFF", 0) == 0) {
        layout.headerBytes = 2;
        layout.bigEndian = true;
    }
    return layout;
}

namespace {

// Decodes one code point at text[i], advancing i; invalid sequences give U+FFFD and one byte.
char32_t NextCodePoint(const std::string& text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    }
    if (length == 0 || i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        value = value << 6 | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += length;
    return value;
}

void PutUnit(std::string& out, uint32_t unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

} // namespace

std::string EncodeForLayout(const std::string& utf8, const TextLayout& layout) {
    if (layout.unitBytes == 1)
        return utf8;
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, i);
        if (c >= 0x10000) {
            PutUnit(out, 0xD800 + ((c - 0x10000) >> 10), layout.bigEndian);
            PutUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), layout.bigEndian);
        } else {
            PutUnit(out, c, layout.bigEndian);
        }
    }
    return out;
}

uint32_t FoldUnit(uint32_t u, int unitBytes) {
    if (u >= 'A' && u <= 'Z')
        return u + 32;
    if (unitBytes == 1 || u < 0xC0)
        return u;
    if ((u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return u + 32; // Latin-1 capitals
    if (u >= 0x100 && u <= 0x17F) {
        // Latin Extended-A alternates capital/small; the parity flips at U+0138, U+0149 and U+0178.
        if (u == 0x130 || u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F)
            return u;
        if (u == 0x178)
            return 0xFF;
        const bool capitalEven = u < 0x138 || (u > 0x149 && u < 0x178);
        if (capitalEven)
            return (u % 2 == 0) ? u + 1 : u;
        return (u % 2 == 1) ? u + 1 : u;
    }
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2)
        return u + 32; // Greek capitals
    if (u >= 0x410 && u <= 0x42F)
        return u + 32; // Cyrillic basic capitals
    if (u >= 0x400 && u <= 0x40F)
        return u + 80; // Cyrillic capitals with marks
    return u;
}

void FoldUnits(const unsigned char* bytes, std::size_t length, const TextLayout& layout, unsigned char* out) {
    if (layout.unitBytes == 1) {
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned char c = bytes[i];
            out[i] = (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
        }
        return;
    }
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        const uint32_t folded = FoldUnit(UnitAt(bytes + i, layout), 2);
        const unsigned char high = static_cast<unsigned char>(folded >> 8);
        const unsigned char low = static_cast<unsigned char>(folded & 0xFF);
        out[i] = layout.bigEndian ? high : low;
        out[i + 1] = layout.bigEndian ? low : high;
    }
}

} // namespace slidemill
