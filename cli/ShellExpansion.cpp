#include "cli/ShellExpansion.h"

#include "core/Translate.h"
#include "run/FileNameParts.h"
#include "settings/PathText.h"

#include <cctype>
#include <filesystem>

namespace slidemill {

namespace {

constexpr const char* kValueSwitches = "SFTCYZLBJ";

bool IsBareValueSwitch(const std::string& argument) {
    const std::string trimmed = pathtext::TrimSpaces(argument);
    if (trimmed.size() != 2 || trimmed[0] != '/')
        return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(trimmed[1])));
    return std::string(kValueSwitches).find(letter) != std::string::npos;
}

bool ExistsOnDisk(const std::string& path) {
    if (path.empty())
        return false;
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !ec;
}

// A pattern that would have named the expanded paths, for the example of how to quote it.
std::string PatternFor(const std::vector<std::string>& paths) {
    const std::string folder = FolderPartOf(paths.front());
    std::string extension(ExtensionOfName(NamePartOf(paths.front())));
    for (const std::string& path : paths) {
        if (ExtensionOfName(NamePartOf(path)) != extension)
            extension = "*";
    }
    for (const std::string& path : paths)
        if (FolderPartOf(path) != folder)
            return "*." + (extension.empty() ? std::string("*") : extension);
    return folder + "*." + (extension.empty() ? std::string("*") : extension);
}

} // namespace

std::string ShellExpandedWildcardProblem(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i + 2 < arguments.size(); ++i) {
        if (!IsBareValueSwitch(arguments[i]))
            continue;
        // A value with spaces may arrive unquoted as several words; only a run of paths that
        // all exist is the work of the shell.
        std::vector<std::string> paths;
        for (std::size_t j = i + 1; j < arguments.size(); ++j) {
            if (IsBareValueSwitch(arguments[j]) || !ExistsOnDisk(arguments[j]))
                break;
            paths.push_back(arguments[j]);
        }
        if (paths.size() < 2)
            continue;
        const std::string letter = pathtext::TrimSpaces(arguments[i]);
        std::string shown;
        for (std::size_t k = 0; k < paths.size() && k < 3; ++k)
            shown += (k ? ", " : "") + paths[k];
        if (paths.size() > 3)
            shown += ", …";
        return letter + " " + Translate("was followed by") + " " + std::to_string(paths.size()) + " " +
               Translate("paths") + " (" + shown + "): " +
               Translate("the shell expanded an unquoted wildcard before Slidemill could read it, so "
                         "nothing was converted. Put the pattern in quotes so that Slidemill expands it "
                         "itself, for example:") +
               " " + letter + " \"" + PatternFor(paths) + "\"";
    }
    return {};
}

} // namespace slidemill
