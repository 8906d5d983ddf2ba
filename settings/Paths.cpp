#include "settings/Paths.h"

#include "platform/Environment.h"
#include "settings/PathText.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace slidemill {

using namespace pathtext;

namespace {

// The folder of a special-folder id; nullopt for an id this system does not know, "" when
// the folder cannot be determined (no home folder).
std::optional<std::string> ResolveSpecialFolder(int folderId) {
    switch (folderId) {
    case kFolderDocuments:
        return UserDocumentsFolder();
    case kFolderAppData:
        return UserConfigFolder();
    case kFolderLocalAppData:
        return UserDataFolder();
    case kFolderCommonAppData:
        return std::string("/var/lib");
    case kFolderSystem:
        return std::string("/usr");
    case kFolderProgramFiles:
        return std::string("/opt");
    case kFolderProfile:
        return HomeFolder();
    case kFolderProgramFilesX86:
        return std::string("/usr/local");
    case kFolderCommonDocuments:
        return std::string("/srv");
    default:
        return std::nullopt;
    }
}

struct TokenRow {
    const char* token;
    const char* alias; // also selects the row and is replaced by the same folder
    int folderId;
};

// Tried in this order; only the first row found in a path is applied. "%HOMEPATH%" has no
// drive to leave out here, so it names the home folder just as "%USERPROFILE%" does.
constexpr TokenRow kTokenRows[] = {
    {"%USERPROFILE%", "%HOMEPATH%", kFolderProfile},
    {"%APPDATA%", nullptr, kFolderAppData},
    {"%LOCALAPPDATA%", nullptr, kFolderLocalAppData},
    {"%WINDIR%", nullptr, kFolderSystem},
    {"%PROGRAMFILES(X86)%", nullptr, kFolderProgramFilesX86},
    {"%PROGRAMFILES%", nullptr, kFolderProgramFiles},
    {"%MYDOCUMENTS%", nullptr, kFolderDocuments},
};

std::string ReplaceAllIgnoringCase(const std::string& text, const std::string& token,
                                   const std::string& value) {
    std::string result;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = FindIgnoringCase(text, token, from);
        if (at == std::string::npos)
            break;
        result.append(text, from, at - from);
        result += value;
        from = at + token.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::string ExpandHomePrefix(const std::string& path) {
    if (path != "~" && !StartsWith(path, "~/"))
        return path;
    const std::string home = SpecialFolderPathOrError(kFolderProfile);
    if (home == "(error)")
        return path;
    return path == "~" ? home : JoinPath(home, path.substr(2));
}

} // namespace

std::string ExpandFolderTokens(std::string& path) {
    path = TrimSpaces(path);
    for (const TokenRow& row : kTokenRows) {
        const bool hasToken = FindIgnoringCase(path, row.token) != std::string::npos;
        const bool hasAlias = row.alias && FindIgnoringCase(path, row.alias) != std::string::npos;
        if (!hasToken && !hasAlias)
            continue;
        const std::string folder = SpecialFolderPathOrError(row.folderId);
        if (folder == "(error)")
            return path;
        std::string result = ReplaceAllIgnoringCase(path, row.token, folder);
        if (row.alias)
            result = ReplaceAllIgnoringCase(result, row.alias, folder);
        return ExpandHomePrefix(result);
    }
    return ExpandHomePrefix(path);
}

std::string SpecialFolderPath(int folderId) {
    const std::optional<std::string> folder = ResolveSpecialFolder(folderId);
    if (!folder || folder->empty())
        return "Folder Not Valid On this OS";
    if (!FolderExists(*folder))
        return "Special Folder Does Not Exist";
    return *folder;
}

// Unlike SpecialFolderPath, a folder that does not exist yet is still an answer: a new user's
// configuration or documents folder is created on first use.
std::string SpecialFolderPathOrError(int folderId) {
    const std::optional<std::string> folder = ResolveSpecialFolder(folderId);
    if (!folder || folder->empty())
        return "(error)";
    return *folder;
}

std::string FileNameOfPath(const std::string& path) {
    const std::string name = LastComponent(path);
    if (name.empty())
        return {};
    return name.find('.') == std::string::npos ? name + "." : name;
}

std::string ParentFolderOf(const std::string& path) {
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return {};
    std::size_t slash = path.rfind('/', end);
    if (slash == std::string::npos)
        return {};
    std::size_t parentEnd = path.find_last_not_of('/', slash);
    if (parentEnd == std::string::npos)
        return "/";
    return path.substr(0, parentEnd + 1);
}

bool FolderExists(const std::string& path) {
    if (path.empty())
        return false;
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool PathExists(const std::string& path) {
    if (path.empty())
        return false;
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string DriveRootOf(const std::string& path, bool /*addSeparator*/) {
    // Linux has a single root; with or without the separator flag it is "/", never "//".
    return (!path.empty() && path.front() == '/') ? std::string("/") : std::string();
}

std::string DeepestExistingFolder(const std::string& path) {
    if (path.empty())
        return {};
    const std::string root = DriveRootOf(path, false);
    if (!PathExists(root))
        return {};
    // Components are taken exactly as written: Linux names may begin or end with spaces.
    const std::string rest = TrimCharBothEnds(path.substr(root.size()), "/");
    std::string current = root;
    std::string result = root;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t slash = rest.find('/', start);
        if (slash == std::string::npos)
            slash = rest.size();
        const std::string piece = rest.substr(start, slash - start);
        start = slash + 1;
        if (piece.empty())
            continue;
        current = JoinPath(current, piece);
        if (!FolderExists(current))
            break;
        result = current;
    }
    return result;
}

std::string NearestExistingPath(const std::string& path) {
    std::string trimmed = path;
    const std::string expanded = ExpandFolderTokens(trimmed);
    const std::size_t slash = expanded.rfind('/');
    if (slash == std::string::npos)
        return trimmed;
    const std::string folder = expanded.substr(0, slash + 1);
    if (FolderExists(folder))
        return folder;
    // The name the user typed is kept exactly: a picker must not add a "." to it.
    const std::string name = expanded.substr(slash + 1);
    for (std::size_t length = folder.size() - 1; length >= 1; --length) {
        const std::string cut = folder.substr(0, length);
        if (cut.back() == '/' && FolderExists(cut))
            return cut + name;
    }
    return trimmed;
}

std::string TrimCharBothEnds(const std::string& text, const std::string& piece) {
    if (piece.empty())
        return text;
    std::string result = text;
    while (result.size() >= piece.size() &&
           EqualIgnoringCase(result.substr(result.size() - piece.size()), piece))
        result.erase(result.size() - piece.size());
    while (result.size() >= piece.size() && EqualIgnoringCase(result.substr(0, piece.size()), piece))
        result.erase(0, piece.size());
    return result;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (!a.empty() && !b.empty() && fs::exists(a, ec) && fs::exists(b, ec)) {
        const bool same = fs::equivalent(a, b, ec);
        if (!ec)
            return same;
    }
    return a == b;
}

std::string ProgramFolder() {
    const std::string exe = ExecutableFolder();
    if (!exe.empty()) {
        const std::string beside = JoinPath(exe, "share/slidemill");
        if (FolderExists(beside))
            return beside;
        const std::string installed =
            (fs::path(exe) / ".." / "share" / "slidemill").lexically_normal().string();
        if (FolderExists(installed))
            return installed;
    }
    return SLIDEMILL_DATA_DIR;
}

} // namespace slidemill
