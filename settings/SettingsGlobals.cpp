#include "settings/SettingsGlobals.h"

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

} // namespace slidemill
