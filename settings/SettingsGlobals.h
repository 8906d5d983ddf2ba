#pragma once

#include <string>

namespace slidemill {

// Process-wide settings state, fixed at start-up (see FixSettingsLocation) and read everywhere.

// Full path of the settings file; empty when no writable place was found, which makes every
// read fall back to its default and every write a no-op.
extern std::string G_IniFilePath;
// "<config>/Lumenware, Inc/Slidemill/" with its trailing "/": languages and demo data live here.
extern std::string G_SettingsFolder;
// True while the process runs a task or job given on the command line: no window settings are
// applied and nothing is saved.
extern bool bCommandLineMode;

inline constexpr const char* kSettingsFileName = "SLML_SearchHistory.INI";
inline constexpr const char* kCompanyFolder = "Lumenware, Inc";
inline constexpr const char* kProductFolder = "Slidemill";

// The first two start-up steps: G_IniFilePath from LocateSettingsFile, then G_SettingsFolder.
void FixSettingsLocation();

// After FixSettingsLocation: the settings file's path. A file that cannot be read fails the
// location probe too, which leaves G_IniFilePath empty: then where it would have been.
std::string SettingsFilePath();

// When the settings file at path is there but cannot be read (so every setting would silently
// take its default), a sentence naming the file and why; else empty.
std::string SettingsFileReadProblem(const std::string& path);

// The same for SettingsFilePath().
std::string SettingsFileReadProblem();

} // namespace slidemill
