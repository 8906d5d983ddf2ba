#include "settings/Paths.h"

#include "settings/IniFile.h"
#include "settings/PathText.h"

namespace slidemill {

using namespace pathtext;

namespace {

constexpr const char* kShippedFolders[] = {"Demo Data", "Demo Conversion Jobs", "Demo Batch Files",
                                           "Languages"};

} // namespace

void InstallDemoFolders() {
    InstallDemoFolders(ProgramFolder());
}

void InstallDemoFolders(const std::string& programFolder) {
    try {
        const std::string config = SpecialFolderPathOrError(kFolderAppData);
        if (config == "(error)")
            return;
        const std::string registryFolder = JoinPath(config, "Slidemill");
        CreateFolderTree(registryFolder);
        IniFile registry(JoinPath(registryFolder, "registry.ini"));
        if (UpperAscii(registry.ReadString("Settings", "bDInstalled", "FALSE")) != "FALSE")
            return;
        // Marked before copying, so a copy that fails is not retried at every start.
        registry.WriteString("Settings", "bDInstalled", "TRUE");

        std::string settingsFolder = "%appdata%/Lumenware, Inc/Slidemill/";
        settingsFolder = ExpandFolderTokens(settingsFolder);
        if (!StartsWith(settingsFolder, "/") || FolderExists(settingsFolder + "Demo/"))
            return;
        for (const char* name : kShippedFolders) {
            // Copies never overwrite: a user's edited language file or job survives.
            CopyFolderTree(JoinPath(programFolder, name), settingsFolder + name, false);
        }
    } catch (...) {
    }
}

} // namespace slidemill
