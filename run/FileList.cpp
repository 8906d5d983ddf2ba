#include "run/FileList.h"

#include "core/Translate.h"
#include "platform/FolderReader.h"
#include "run/FileNameParts.h"

#include <filesystem>
#include <set>
#include <utility>

namespace slidemill {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

class WaitCursor {
public:
    explicit WaitCursor(RunControl& control) : control_(control) { control_.SetWaitCursor(true); }
    ~WaitCursor() { control_.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    RunControl& control_;
};

class FolderWalk {
public:
    FolderWalk(const std::string& pattern, std::vector<std::string>& list, bool recurse, RunControl& control)
        : pattern_(pattern), list_(list), recurse_(recurse), control_(control) {}

    // folder ends in "/".
    int32_t List(const std::string& folder, bool top) {
        FolderReader reader(folder);
        if (!reader.IsOpen())
            return top ? kListFolderMissing : kListDone;
        // A folder reached a second time (through a bind mount, say) would repeat its files
        // and could make the walk endless.
        uint64_t device = 0, inode = 0;
        if (reader.Identity(device, inode) && !visited_.emplace(device, inode).second)
            return kListDone;

        control_.SetStatusText(StatusPanel::CurrentFile, Translate("Creating File List: ") + folder);
        control_.Checkpoint();

        std::vector<std::string> subfolders;
        std::string_view name;
        FolderEntryKind kind;
        while (reader.Next(name, kind)) {
            if (kind == FolderEntryKind::Folder) {
                if (recurse_)
                    subfolders.emplace_back(name);
                continue;
            }
            if (kind != FolderEntryKind::File)
                continue;
            control_.Checkpoint();
            if (!control_.Running())
                return kListStopped;
            if (MatchesFilePattern(pattern_, ExtensionOfName(name))) {
                std::string& path = list_.emplace_back();
                path.reserve(folder.size() + name.size());
                path.append(folder).append(name);
            }
        }

        for (const std::string& sub : subfolders) {
            if (!control_.Running())
                return kListStopped;
            if (List(folder + sub + "/", false) == kListStopped)
                return kListStopped;
        }
        return kListDone;
    }

private:
    const std::string& pattern_;
    std::vector<std::string>& list_;
    const bool recurse_;
    RunControl& control_;
    std::set<std::pair<uint64_t, uint64_t>> visited_;
};

bool IsExistingFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

bool MatchesFilePattern(std::string_view pattern, std::string_view extension) {
    if (pattern == "*.*")
        return true;
    if (pattern.size() != extension.size() + 2 || pattern[0] != '*' || pattern[1] != '.')
        return false;
    for (std::size_t i = 0; i < extension.size(); ++i)
        if (LowerAscii(pattern[i + 2]) != LowerAscii(extension[i]))
            return false;
    return true;
}

int32_t BuildFileListInFolder(const std::string& folder, const std::string& pattern,
                              std::vector<std::string>& list, bool recurse, RunControl& control) {
    WaitCursor cursor(control);
    const std::string withSeparator = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    // An empty folder text would mean the working folder, which no task names on purpose.
    if (withSeparator.empty())
        return kListFolderMissing;
    FolderWalk walk(pattern, list, recurse, control);
    return walk.List(withSeparator, true);
}

bool BuildFileList(clsConversionOptions& task, std::vector<std::string>& list, RunControl& control) {
    WaitCursor cursor(control);
    const std::string& source = task.sOriginalFile;
    const auto star = source.find('*');
    if (star == std::string::npos) {
        if (!IsExistingFile(source)) {
            task.sErr = Translate("File: ") + source + Translate(" does not exist");
            return false;
        }
        list.push_back(source);
        return true;
    }
    const std::string folder = source.substr(0, star);
    const std::string pattern = source.substr(star);
    if (BuildFileListInFolder(folder, pattern, list, task.bDoSubfolders, control) == kListFolderMissing) {
        task.sErr = Translate("Folder: ") + folder + Translate(" does not exist");
        return false;
    }
    return true;
}

} // namespace slidemill
