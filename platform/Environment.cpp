#include "platform/Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace slidemill {
namespace {

// Trailing "/" carry no meaning and would double up when callers append a name; the root
// itself stays "/".
std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Relative values in the XDG variables are invalid by their definition and must be ignored.
std::string AbsoluteEnvironmentValue(const char* name) {
    std::string value = EnvironmentValue(name);
    if (value.empty() || value.front() != '/')
        return {};
    return WithoutTrailingSlashes(value);
}

std::string HomeFromPasswordDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr || found->pw_dir[0] != '/')
        return {};
    return WithoutTrailingSlashes(found->pw_dir);
}

std::string Below(const std::string& folder, const char* relative) {
    if (folder.empty())
        return {};
    return folder == "/" ? "/" + std::string(relative) : folder + "/" + relative;
}

} // namespace

std::string EnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = AbsoluteEnvironmentValue("HOME");
    return home.empty() ? HomeFromPasswordDatabase() : home;
}

std::string UserConfigFolder() {
    std::string folder = AbsoluteEnvironmentValue("XDG_CONFIG_HOME");
    return folder.empty() ? Below(HomeFolder(), ".config") : folder;
}

std::string UserDataFolder() {
    std::string folder = AbsoluteEnvironmentValue("XDG_DATA_HOME");
    return folder.empty() ? Below(HomeFolder(), ".local/share") : folder;
}

std::string DocumentsFolderFromUserDirs(const std::string& userDirsText, const std::string& home) {
    std::istringstream lines(userDirsText);
    std::string line;
    std::string result;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(lines, line)) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        // The file's own format: a double-quoted value that is either "$HOME/..." or absolute.
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            continue;
        value = value.substr(1, value.size() - 2);
        if (value == "$HOME" || value.rfind("$HOME/", 0) == 0) {
            if (home.empty())
                continue;
            value = home + value.substr(5);
        } else if (value.empty() || value.front() != '/') {
            continue;
        }
        // The last entry wins, as when the file is read by a shell.
        result = WithoutTrailingSlashes(value);
    }
    return result;
}

std::string UserDocumentsFolder() {
    std::string folder = AbsoluteEnvironmentValue("XDG_DOCUMENTS_DIR");
    if (!folder.empty())
        return folder;
    const std::string home = HomeFolder();
    const std::string config = UserConfigFolder();
    if (!config.empty()) {
        std::ifstream file(Below(config, "user-dirs.dirs"), std::ios::binary);
        if (file) {
            std::ostringstream text;
            text << file.rdbuf();
            folder = DocumentsFolderFromUserDirs(text.str(), home);
            if (!folder.empty())
                return folder;
        }
    }
    return Below(home, "Documents");
}

std::string SystemTempFolder() {
    std::string folder = AbsoluteEnvironmentValue("TMPDIR");
    return folder.empty() ? std::string("/tmp") : folder;
}

std::string ExecutableFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            std::string exe(buffer.data(), static_cast<std::size_t>(length));
            std::size_t slash = exe.rfind('/');
            if (slash == std::string::npos)
                return {};
            return slash == 0 ? std::string("/") : exe.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace slidemill
