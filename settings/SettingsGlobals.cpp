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

std::string SettingsFilePath() {
    return G_IniFilePath.empty() ? G_SettingsFolder + kSettingsFileName : G_IniFilePath;
}

std::string SettingsFileReadProblem(const std::string& path) {
    const std::string problem = IniFile(path).ReadProblem();
    if (problem.empty())
        return {};
    return "the settings file " + path + " cannot be read (" + problem + ")";
}

std::string SettingsFileReadProblem() {
    return SettingsFileReadProblem(SettingsFilePath());
}

} // namespace slidemill
