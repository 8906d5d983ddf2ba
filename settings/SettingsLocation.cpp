#include "settings/SettingsLocation.h"

#include "settings/IniFile.h"
#include "settings/PathText.h"
#include "settings/Paths.h"

#include <mutex>
#include <optional>

namespace slidemill {

namespace {

constexpr const char* kNotValidOnThisOs = "Folder Not Valid On this OS";
constexpr const char* kDoesNotExist = "Special Folder Does Not Exist";

std::mutex rememberedMutex;
std::optional<std::string> remembered;

// The special folder, or a marker text that makes the probe fail. A configuration or data folder
// that a new account does not have yet is still a place to create the settings in.
std::string SpecialFolderForSettings(int folderId) {
    const std::string folder = SpecialFolderPathOrError(folderId);
    if (folder == "(error)" || folder.empty() || folder.front() != '/')
        return kNotValidOnThisOs;
    return folder;
}

std::string Candidate(int folderId, const std::string& tail, const std::string& fileName) {
    return SpecialFolderForSettings(folderId) + tail + "/" + fileName;
}

bool WritesBack(IniFile& ini, const std::string& value) {
    return ini.WriteString("Main", "Partial", value) && ini.ReadString("Main", "Partial", "0") == value;
}

} // namespace

bool ProbeSettingsFile(const std::string& path) {
    if (path.find(kNotValidOnThisOs) != std::string::npos || path.find(kDoesNotExist) != std::string::npos)
        return false;
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return false;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    if (!FolderExists(folder))
        CreateFolderTree(folder);
    if (!FolderExists(folder))
        return false;
    IniFile ini(path);
    return WritesBack(ini, "level2") && WritesBack(ini, "Level3");
}

std::string LocateSettingsFile(const std::string& fileName, const std::string& companyFolder,
                               const std::string& productFolder, int specialFolderId) {
    const std::string tail = "/" + companyFolder + "/" + productFolder;
    if (specialFolderId != 0) {
        std::lock_guard guard(rememberedMutex);
        if (remembered)
            return *remembered;
        const std::string candidate = Candidate(specialFolderId, tail, fileName);
        remembered = ProbeSettingsFile(candidate) ? candidate : std::string();
        return *remembered;
    }
    const std::string candidates[] = {
        pathtext::JoinPath(ProgramFolder(), fileName),  Candidate(kFolderCommonDocuments, tail, fileName),
        Candidate(kFolderLocalAppData, tail, fileName), Candidate(kFolderAppData, tail, fileName),
        Candidate(kFolderDocuments, tail, fileName),    Candidate(kFolderCommonAppData, tail, fileName),
    };
    for (const auto& candidate : candidates)
        if (ProbeSettingsFile(candidate))
            return candidate;
    return {};
}

void ForgetSettingsFileLocation() {
    std::lock_guard guard(rememberedMutex);
    remembered.reset();
}

} // namespace slidemill
