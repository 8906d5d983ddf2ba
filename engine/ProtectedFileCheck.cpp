#include "engine/ProtectedFileCheck.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace slidemill {
namespace {

constexpr size_t kMaxBytesRead = size_t{64} << 20;

std::string Utf16Le(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

} // namespace

bool LooksPasswordProtected(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const auto size = static_cast<size_t>(std::max<std::streamoff>(0, in.tellg()));
    in.seekg(0);
    std::string bytes;
    bytes.resize(std::min(size, kMaxBytesRead));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));

    static const std::string kCompoundSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (bytes.compare(0, kCompoundSignature.size(), kCompoundSignature) != 0)
        return false;
    // Stream names of the compound file's directory are UTF-16.
    static const std::array<std::string, 2> kEncryptedStreams{Utf16Le("EncryptedPackage"),
                                                              Utf16Le("EncryptedSummary")};
    for (const auto& name : kEncryptedStreams) {
        if (bytes.find(name) != std::string::npos)
            return true;
    }
    // The "Current User" record of an encrypted PowerPoint document carries this token
    // instead of the usual 0xE391C05F.
    static const std::string kEncryptedToken("\xDF\xC4\xD1\xF3", 4);
    return bytes.find(kEncryptedToken) != std::string::npos;
}

} // namespace slidemill
