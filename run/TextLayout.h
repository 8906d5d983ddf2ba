#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace slidemill {

// How the characters of a plain-text file are stored: one byte per unit (UTF-8 or any 8-bit
// text, treated as bytes) or UTF-16 units of two bytes. headerBytes is the byte-order mark
// kept in front of the text; the text proper starts after it.
struct TextLayout {
    int unitBytes = 1;
    bool bigEndian = false;
    std::size_t headerBytes = 0;

    bool operator==(const TextLayout&) const = default;
};

// The layout of a file of special-process type fileType whose first bytes are start.
// Types 1 and 2 are bytes. Type 6 is UTF-16: a byte-order mark FF FE or FE FF chooses the
// byte order and stays in front; without a mark the text is taken as little-endian UTF-16
// (the usual "Unicode" text of other systems) and written back without one; a UTF-8 mark
// (EF BB BF) means the file is really UTF-8 and it is treated as bytes.
TextLayout DetectTextLayout(int32_t fileType, const std::string& start);

// The UTF-8 text in the layout's encoding (no byte-order mark). Invalid UTF-8 bytes in a
// UTF-16 layout become U+FFFD.
std::string EncodeForLayout(const std::string& utf8, const TextLayout& layout);

// The unit at bytes (unitBytes long) as a number.
inline uint32_t UnitAt(const unsigned char* bytes, const TextLayout& layout) {
    if (layout.unitBytes == 1)
        return bytes[0];
    return layout.bigEndian ? (uint32_t(bytes[0]) << 8 | bytes[1]) : (uint32_t(bytes[1]) << 8 | bytes[0]);
}

// Simple case folding of one unit to lower case: ASCII for bytes; for UTF-16 also Latin-1,
// Latin Extended-A, Greek and Cyrillic, whose case pairs have one unit each.
uint32_t FoldUnit(uint32_t unit, int unitBytes);

// Writes the folded units of bytes (length a multiple of the unit size) to out.
void FoldUnits(const unsigned char* bytes, std::size_t length, const TextLayout& layout, unsigned char* out);

} // namespace slidemill
