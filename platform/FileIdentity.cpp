#include "platform/FileIdentity.h"

#include <sys/stat.h>

namespace slidemill {

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

} // namespace slidemill
