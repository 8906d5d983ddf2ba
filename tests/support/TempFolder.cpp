#include "support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace slidemill::test {

TempFolder::TempFolder(const std::string& tag) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/slidemill-test-" + tag + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed for " + pattern);
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable so removal succeeds.
    for (auto it = std::filesystem::recursive_directory_iterator(
             path_, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::file(const std::string& relative, const std::string& contents) const {
    const auto full = path_ / relative;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << contents;
    return full.string();
}

std::string TempFolder::folder(const std::string& relative) const {
    const auto full = path_ / relative;
    std::filesystem::create_directories(full);
    return full.string();
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void UseHomeUnder(const std::filesystem::path& root) {
    const auto set = [&](const char* name, const std::filesystem::path& value) {
        std::filesystem::create_directories(value);
        setenv(name, value.c_str(), 1);
    };
    set("HOME", root);
    set("XDG_CONFIG_HOME", root / ".config");
    set("XDG_DATA_HOME", root / ".local/share");
    set("XDG_CACHE_HOME", root / ".cache");
    set("XDG_DOCUMENTS_DIR", root / "Documents");
    set("TMPDIR", root / "tmp");
}

} // namespace slidemill::test
