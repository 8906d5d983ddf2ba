#include "platform/FolderReader.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace slidemill {

namespace {

FolderEntryKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return FolderEntryKind::File;
    if (S_ISDIR(mode))
        return FolderEntryKind::Folder;
    return FolderEntryKind::Other;
}

// A link counts as what it points to; a dangling link is nothing that can be converted.
FolderEntryKind KindOfLink(int folderFd, const char* name) {
    struct stat target {};
    if (fstatat(folderFd, name, &target, 0) != 0)
        return FolderEntryKind::Other;
    const FolderEntryKind kind = KindOfMode(target.st_mode);
    return kind == FolderEntryKind::Folder ? FolderEntryKind::LinkedFolder : kind;
}

} // namespace

FolderReader::FolderReader(const std::string& folder) : path_(folder) {
    dir_ = opendir(folder.c_str());
    if (!dir_)
        openError_ = errno;
}

FolderReader::~FolderReader() {
    if (dir_)
        closedir(static_cast<DIR*>(dir_));
}

bool FolderReader::Next(std::string_view& name, FolderEntryKind& kind) {
    if (!dir_)
        return false;
    DIR* dir = static_cast<DIR*>(dir_);
    while (true) {
        // readdir leaves errno alone at the end and sets it on an error; a look-up of the
        // previous entry may have left it set.
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry)
            break;
        const char* n = entry->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        switch (entry->d_type) {
        case DT_REG:
            kind = FolderEntryKind::File;
            break;
        case DT_DIR:
            kind = FolderEntryKind::Folder;
            break;
        case DT_LNK:
            kind = KindOfLink(dirfd(dir), n);
            break;
        case DT_UNKNOWN: {
            // Some file systems do not record entry types in the folder.
            struct stat own {};
            if (fstatat(dirfd(dir), n, &own, AT_SYMLINK_NOFOLLOW) != 0)
                kind = FolderEntryKind::Other;
            else if (S_ISLNK(own.st_mode))
                kind = KindOfLink(dirfd(dir), n);
            else
                kind = KindOfMode(own.st_mode);
            break;
        }
        default:
            kind = FolderEntryKind::Other;
            break;
        }
        name = n;
        return true;
    }
    readError_ = errno;
    return false;
}

bool FolderReader::ExistsButUnreadable(std::string& reason) const {
    if (dir_ || openError_ == ENOENT || openError_ == ENOTDIR)
        return false;
    struct stat own {};
    if (stat(path_.c_str(), &own) != 0 || !S_ISDIR(own.st_mode))
        return false;
    reason = std::strerror(openError_);
    return true;
}

bool FolderReader::ReadFailed(std::string& reason) const {
    if (readError_ == 0)
        return false;
    reason = std::strerror(readError_);
    return true;
}

bool FolderReader::Identity(uint64_t& device, uint64_t& inode) const {
    if (!dir_)
        return false;
    struct stat own {};
    if (fstat(dirfd(static_cast<DIR*>(dir_)), &own) != 0)
        return false;
    device = static_cast<uint64_t>(own.st_dev);
    inode = static_cast<uint64_t>(own.st_ino);
    return true;
}

} // namespace slidemill
