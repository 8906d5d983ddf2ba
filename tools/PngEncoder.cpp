#include "tools/PngEncoder.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace slidemill::tools {
namespace {

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBigEndian32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian32(out, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian32(out, Crc32(typed));
}

} // namespace

uint32_t Crc32(const std::string& bytes, uint32_t crc) {
    crc = ~crc;
    for (const char ch : bytes)
        crc = CrcTable()[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::string& bytes) {
    uint32_t a = 1, b = 0;
    for (const char ch : bytes) {
        a = (a + static_cast<unsigned char>(ch)) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::string EncodePngRgb(uint32_t width, uint32_t height, const std::string& rgb) {
    if (width == 0 || height == 0 || width > 0x10000 || height > 0x10000 ||
        rgb.size() != static_cast<size_t>(width) * height * 3)
        return {};
    // Each row starts with filter type 0 (none).
    std::string raw;
    raw.reserve(rgb.size() + height);
    const size_t stride = static_cast<size_t>(width) * 3;
    for (uint32_t y = 0; y < height; ++y) {
        raw += '\0';
        raw.append(rgb, y * stride, stride);
    }

    // A zlib stream of stored deflate blocks, at most 65535 bytes each.
    std::string zlib = "\x78\x01";
    size_t offset = 0;
    do {
        const size_t length = std::min<size_t>(65535, raw.size() - offset);
        const bool last = offset + length == raw.size();
        zlib += static_cast<char>(last ? 1 : 0);
        zlib += static_cast<char>(length & 0xFF);
        zlib += static_cast<char>(length >> 8);
        zlib += static_cast<char>(~length & 0xFF);
        zlib += static_cast<char>((~length >> 8) & 0xFF);
        zlib.append(raw, offset, length);
        offset += length;
    } while (offset < raw.size());
    PutBigEndian32(zlib, Adler32(raw));

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBigEndian32(header, width);
    PutBigEndian32(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, adaptive filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace slidemill::tools
