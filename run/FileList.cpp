#include "run/FileList.h"

#include "core/Translate.h"
#include "platform/FolderReader.h"
#include "run/FailureSink.h"
#include "run/FileNameParts.h"
#include "run/WildcardPath.h"

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
    FolderWalk(const std::string& pattern, std::vector<std::string>& list, bool recurse, RunControl& control,
               std::vector<UnreadableFolder>* unreadable)
        : pattern_(pattern), list_(list), recurse_(recurse), control_(control), unreadable_(unreadable) {}

    // folder ends in "/".
    int32_t List(const std::string& folder, bool top) {
        FolderReader reader(folder);
        if (!reader.IsOpen()) {
            std::string reason;
            const bool locked = reader.ExistsButUnreadable(reason);
            if (top)
                return locked ? kListFolderUnreadable : kListFolderMissing;
            // A subfolder that vanished since its parent was read holds nothing to convert.
            if (locked)
                Unreadable(folder, reason);
            return kListDone;
        }
        // A folder reached a second time (through a link or a bind mount) would repeat its
        // files and could make the walk endless.
        uint64_t device = 0, inode = 0;
        if (reader.Identity(device, inode) && !visited_.emplace(device, inode).second)
            return kListDone;

        control_.SetStatusText(StatusPanel::CurrentFile, Translate("Creating File List: ") + folder);
        control_.Checkpoint();

        std::vector<std::string> subfolders;
        std::string_view name;
        FolderEntryKind kind;
        while (reader.Next(name, kind)) {
            if (kind == FolderEntryKind::Folder || kind == FolderEntryKind::LinkedFolder) {
                if (recurse_)
                    subfolders.emplace_back(name);
                continue;
            }
            if (kind != FolderEntryKind::File)
                continue;
            control_.Checkpoint();
            if (!control_.Running())
                return kListStopped;
            if (MatchesNamePattern(pattern_, name)) {
                std::string& path = list_.emplace_back();
                path.reserve(folder.size() + name.size());
                path.append(folder).append(name);
            }
        }
        std::string reason;
        if (reader.ReadFailed(reason))
            Unreadable(folder, reason);

        for (const std::string& sub : subfolders) {
            if (!control_.Running())
                return kListStopped;
            if (List(folder + sub + "/", false) == kListStopped)
                return kListStopped;
        }
        return kListDone;
    }

private:
    void Unreadable(const std::string& folder, const std::string& reason) {
        if (unreadable_)
            unreadable_->push_back({folder, reason});
    }

    const std::string& pattern_;
    std::vector<std::string>& list_;
    const bool recurse_;
    RunControl& control_;
    std::vector<UnreadableFolder>* unreadable_;
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
                              std::vector<std::string>& list, bool recurse, RunControl& control,
                              std::vector<UnreadableFolder>* unreadable) {
    WaitCursor cursor(control);
    const std::string withSeparator = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    // An empty folder text would mean the working folder, which no task names on purpose.
    if (withSeparator.empty())
        return kListFolderMissing;
    FolderWalk walk(pattern, list, recurse, control, unreadable);
    return walk.List(withSeparator, true);
}

bool BuildFileList(clsConversionOptions& task, std::vector<std::string>& list, RunControl& control,
                   std::vector<UnreadableFolder>* unreadable) {
    WaitCursor cursor(control);
    const std::string& source = task.sOriginalFile;
    if (!HasNameWildcard(source)) {
        if (!IsExistingFile(source)) {
            task.sErr = Translate("File: ") + source + Translate(" does not exist");
            return false;
        }
        list.push_back(source);
        return true;
    }
    std::string folder, pattern;
    if (!SplitWildcardPath(source, folder, pattern)) {
        task.sErr =
            Translate("Original File: ") + source +
            Translate(" has a wildcard (* or ?) in a folder name; wildcards work only in the file name");
        return false;
    }
    const int32_t listed =
        BuildFileListInFolder(folder, pattern, list, task.bDoSubfolders, control, unreadable);
    if (listed == kListFolderMissing) {
        task.sErr = Translate("Folder: ") + folder + Translate(" does not exist");
        return false;
    }
    if (listed == kListFolderUnreadable) {
        std::string reason;
        FolderReader(folder).ExistsButUnreadable(reason);
        task.sErr = Translate("Folder: ") + folder + Translate(" cannot be read") + " (" + reason + ")";
        return false;
    }
    return true;
}

int32_t LogUnreadableFolders(FailureSink& failures, int32_t lJobNumber, const clsConversionOptions& task,
                             const std::vector<UnreadableFolder>& unreadable) {
    if (unreadable.empty())
        return 0;
    std::string sourceFolder, pattern;
    SplitWildcardPath(task.sOriginalFile, sourceFolder, pattern);
    std::string targetFolder, targetPattern;
    SplitWildcardPath(task.sTargetFile, targetFolder, targetPattern);
    for (const UnreadableFolder& folder : unreadable) {
        clsConversionOptions row = task;
        const std::string relative = folder.folder.size() > sourceFolder.size()
                                         ? folder.folder.substr(sourceFolder.size())
                                         : std::string();
        row.sOriginalFile = folder.folder + pattern;
        if (!task.bSaveInOriginalFolder && task.sTargetFile.find('*') != std::string::npos)
            row.sTargetFile = targetFolder + relative + targetPattern;
        row.lErr = kErrUnreadableFolder;
        row.sErr = Translate("Folder: ") + folder.folder + Translate(" cannot be read") + " (" +
                   folder.reason + "); " + Translate("its files were not converted");
        failures.LogConversionError(lJobNumber, row);
    }
    return kErrUnreadableFolder;
}

} // namespace slidemill
