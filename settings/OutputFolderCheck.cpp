#include "settings/Paths.h"
#include "settings/TranslatableText.h"

#include "settings/PathText.h"

#include <exception>
#include <filesystem>

namespace slidemill {

using namespace pathtext;

namespace {

// Folders that belong to the operating system or to installed software. Linux names are
// case-sensitive, so "/USR" is an ordinary folder and is compared as written.
constexpr const char* kSystemFolders[] = {"/usr", "/etc",  "/bin", "/sbin", "/lib", "/lib64", "/boot",
                                          "/dev", "/proc", "/sys", "/run",  "/opt", "/var"};

bool IsUnderSystemFolder(const std::string& probe, std::string& prefix) {
    for (const char* folder : kSystemFolders) {
        const std::string candidate = std::string(folder) + "/";
        if (!StartsWith(probe, candidate))
            continue;
        // Unlike the rest of /var, /var/tmp is meant for users' files.
        if (candidate == "/var/" && StartsWith(probe, "/var/tmp/"))
            return false;
        prefix = candidate;
        return true;
    }
    return false;
}

std::string ReplacePrefix(const std::string& text, const std::string& prefix,
                          const std::string& replacement) {
    return StartsWith(text, prefix) ? replacement + text.substr(prefix.size()) : replacement;
}

// ".." and "." are resolved in the text first, so "/home/u/../../usr" is judged as "/usr".
std::string NormalizedFolder(const std::string& path) {
    if (path.empty())
        return {};
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

void DropOneTrailingSlash(std::string& folder) {
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
}

} // namespace

int CheckOutputFolder(const std::string& path, std::string& suggestedFolder, std::string& message) {
    message.clear();
    suggestedFolder = path;
    int code = kOutputFolderOk;
    try {
        std::string trimmed = path;
        const std::string expanded = NormalizedFolder(ExpandFolderTokens(trimmed));
        suggestedFolder = expanded.empty() ? expanded : WithTrailingSlash(expanded);

        const std::string documents = SpecialFolderPathOrError(kFolderDocuments);
        const std::string home = SpecialFolderPathOrError(kFolderProfile);
        if (documents == "(error)" || home == "(error)") {
            message = N_("Output folder has an unknown status. Error: the home folder is not known");
            DropOneTrailingSlash(suggestedFolder);
            return kOutputFolderUnknown;
        }
        const std::string docs = WithTrailingSlash(documents);
        const std::string deepest = DeepestExistingFolder(expanded);
        const std::string probe = deepest.empty() ? deepest : WithTrailingSlash(deepest);
        const std::string homeParent = ParentFolderOf(home);

        std::string prefix;
        if (IsUnderSystemFolder(probe, prefix)) {
            code = kOutputFolderSystem;
            message = N_("Output folder is a system folder and should not be used.");
            suggestedFolder = ReplacePrefix(suggestedFolder, prefix, docs);
        } else if (probe == "/") {
            code = kOutputFolderRoot;
            message = N_(
                "Output folder: You should not write or create sub directories in the system root directory.");
            suggestedFolder = ReplacePrefix(suggestedFolder, "/", docs);
        } else if (!homeParent.empty() && probe == WithTrailingSlash(homeParent)) {
            code = kOutputFolderProtected;
            message = N_("Output folder is a protected folder and should not be used.");
            suggestedFolder = ReplacePrefix(suggestedFolder, probe, docs);
        } else if (!IsFolderWritable(probe)) {
            code = kOutputFolderNotWritable;
            message = N_("Output folder is not writeable.");
            suggestedFolder = docs;
        }
    } catch (const std::exception& error) {
        code = kOutputFolderUnknown;
        message = std::string(N_("Output folder has an unknown status. Error: ")) + error.what();
    } catch (...) {
        code = kOutputFolderUnknown;
        message = N_("Output folder has an unknown status. Error: unknown error");
    }
    DropOneTrailingSlash(suggestedFolder);
    return code;
}

} // namespace slidemill
