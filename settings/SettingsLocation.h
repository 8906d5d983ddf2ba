#pragma once

#include <string>

namespace slidemill {

// Where the settings file lives: specialFolderId names the folder (26, the user's configuration
// folder, is what start-up passes), 0 searches the program folder and then the shared documents,
// local data, configuration, documents and shared data folders. Each candidate must pass
// ProbeSettingsFile. "" when no candidate passes.
//
// The answer for a named folder is remembered for the life of the process, so the automation
// entry and start-up agree; a failed probe is remembered as "" too, so a later call never hands
// out a place that was found unwritable. A search is not remembered.
std::string LocateSettingsFile(const std::string& fileName, const std::string& companyFolder,
                               const std::string& productFolder, int specialFolderId);

// Creates the folder of path when missing and checks that the file there takes a write that reads
// back: leaves "Partial" = "Level3" in section "Main". False for a path built from a failed
// special-folder lookup.
bool ProbeSettingsFile(const std::string& path);

// Drops the remembered answer, so the next call looks again (tests; a changed environment).
void ForgetSettingsFileLocation();

} // namespace slidemill
