#include "settings/SettingsGlobals.h"

#include "settings/IniFile.h"
#include "settings/Paths.h"
#include "settings/SettingsLocation.h"

namespace slidemill {

std::string G_IniFilePath;
std::string G_SettingsFolder;
bool bCommandLineMode = false;

void FixSettingsLocation() {
    G_IniFilePath = LocateSettingsFile(kSettingsFileName, kCompanyFolder, kProductFolder, kFolderAppData);
    std::string folder = std::string("%appdata%/") + kCompanyFolder + "/" + kProductFolder + "/";
    G_SettingsFolder = ExpandFolderTokens(folder);
}

std::string SettingsFileReadProblem() {
    // A file that cannot be read fails the location probe too, which leaves the path empty:
    // look where it would have been.
    const std::string path = G_IniFilePath.empty() ? G_SettingsFolder + kSettingsFileName : G_IniFilePath;
    const std::string problem = IniFile(path).ReadProblem();
    if (problem.empty())
        return {};
    return "the settings file " + path + " cannot be read (" + problem + ")";
}

} // namespace slidemill
