#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace slidemill::test {

// Runs work in a child process under the unprivileged account "nobody" (uid and gid 65534) and
// answers what it returned. An administrator reads folders whatever their permissions, so only
// another account shows how a locked folder is handled; without administrator rights the
// child keeps the caller's account, which is already held to permissions. reachable lists
// folders the child must be able to enter: they and their parents are opened to everyone.
// Throws when the child could not drop its rights or died, so that a test cannot pass
// without having run its checks.
std::string AsUnprivilegedUser(const std::function<std::string()>& work,
                               const std::filesystem::path& reachable);

} // namespace slidemill::test
