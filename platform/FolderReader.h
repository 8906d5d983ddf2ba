#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace slidemill {

// What a folder entry is, as far as listing files needs to know. A symbolic link counts as
// what it points to, except that a link to a folder stays apart: links may form loops, so a
// walk that enters it must notice folders it has already been in (Identity).
enum class FolderEntryKind { File, Folder, LinkedFolder, Other };

// Reads one folder's entries in the order the file system keeps them, without asking for the
// details of every entry: only entries whose type the folder itself does not record, and
// symbolic links, cost an extra look-up.
class FolderReader {
public:
    explicit FolderReader(const std::string& folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // False when the folder is missing, is not a folder or cannot be read.
    bool IsOpen() const { return dir_ != nullptr; }
    // Why the folder could not be opened: true when it exists as a folder but may not be read
    // (so a caller can tell "missing" from "locked"), with the system's reason in reason.
    bool ExistsButUnreadable(std::string& reason) const;
    // True when reading the entries broke off with an error rather than at the end.
    bool ReadFailed(std::string& reason) const;
    // The next entry other than "." and ".."; false at the end. name stays valid until the next call.
    bool Next(std::string_view& name, FolderEntryKind& kind);
    // Device and inode of the open folder, so that a walk can notice a folder it has already been in.
    bool Identity(uint64_t& device, uint64_t& inode) const;

private:
    void* dir_ = nullptr;
    int openError_ = 0;
    int readError_ = 0;
    std::string path_;
};

} // namespace slidemill
