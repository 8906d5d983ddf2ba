#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace slidemill {

// What makes a file the same file whatever name reaches it: a link, another spelling of the
// path or a hard link all give the same identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of the file at path (links followed), or nothing when no file is there.
std::optional<FileIdentity> IdentityOf(const std::string& path);

} // namespace slidemill
