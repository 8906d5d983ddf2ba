#include "tools/Base64.h"

#include <cstdint>

namespace slidemill::tools {

std::string EncodeBase64(const std::string& bytes, size_t lineLength) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4 + (lineLength ? bytes.size() / lineLength : 0));
    size_t column = 0;
    const auto put = [&](char c) {
        if (lineLength && column == lineLength) {
            out += '\n';
            column = 0;
        }
        out += c;
        ++column;
    };
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        put(alphabet[(v >> 18) & 63]);
        put(alphabet[(v >> 12) & 63]);
        put(alphabet[(v >> 6) & 63]);
        put(alphabet[v & 63]);
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        put(alphabet[(v >> 18) & 63]);
        put(alphabet[(v >> 12) & 63]);
        put(rest == 2 ? alphabet[(v >> 6) & 63] : '=');
        put('=');
    }
    return out;
}

} // namespace slidemill::tools
