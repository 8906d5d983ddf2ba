#include "settings/Paths.h"

#include "platform/FileSystem.h"
#include "settings/PathText.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace slidemill {

using namespace pathtext;

namespace {

// The copy goes to a fresh name beside the target and is renamed into place only once it is
// complete and on disk, so the target is never seen half written and a failure leaves no trace.
bool CopyFileCompletely(const std::string& source, const std::string& target, bool replace) {
    std::error_code ec;
    const std::string folder = ParentFolderOf(target);
    const std::string temporary = MakeTempFileName(folder.empty() ? "." : folder, "~sm", "part");
    if (temporary.empty())
        return false;
    const auto discard = [&] {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    };
    const auto sourceSize = fs::file_size(source, ec);
    if (ec)
        return false;
    // The byte count read to the end must match the size: a file that changed meanwhile, or
    // one whose size is not what it holds, does not count as copied.
    unsigned long long copied = 0;
    if (!CopyIntoNewFile(source, temporary, copied))
        return false;
    const auto copySize = fs::file_size(temporary, ec);
    if (ec || copied != sourceSize || copySize != sourceSize)
        return discard();
    if (replace) {
        fs::rename(temporary, target, ec);
        if (ec)
            return discard();
    } else if (!RenameWithoutReplacing(temporary, target)) {
        return discard();
    }
    return true;
}

bool IsInside(const fs::path& inner, const fs::path& outer) {
    const fs::path relative = inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != "..";
}

bool CopyEntry(const fs::directory_entry& entry, const fs::path& target, bool overwrite) {
    std::error_code ec;
    const fs::file_status status = entry.symlink_status(ec);
    if (ec)
        return false;
    const fs::file_status targetStatus = fs::symlink_status(target, ec);
    const bool targetExists = fs::exists(targetStatus);
    if (fs::is_directory(status)) {
        if (!targetExists)
            fs::create_directory(target, ec);
        return fs::is_directory(target, ec);
    }
    if (targetExists && (!overwrite || fs::is_directory(targetStatus)))
        return false;
    if (fs::is_symlink(status)) {
        if (targetExists && !fs::remove(target, ec))
            return false;
        fs::copy_symlink(entry.path(), target, ec);
        return !ec;
    }
    if (fs::is_regular_file(status))
        return CopyFileCompletely(entry.path().string(), target.string(), overwrite);
    return false; // devices, sockets and pipes are not copied
}

} // namespace

void CreateFolderTree(const std::string& folder) {
    if (folder.empty())
        return;
    std::error_code ec;
    fs::create_directories(folder, ec);
}

bool CopyFolderTree(const std::string& source, const std::string& destination, bool overwrite) {
    try {
        if (destination.empty() || !FolderExists(source))
            return false;
        std::error_code ec;
        const fs::path from = fs::weakly_canonical(source, ec);
        if (ec)
            return false;
        const fs::path to = fs::weakly_canonical(destination, ec);
        // Copying a folder into itself would never end.
        if (ec || to == from || IsInside(to, from))
            return false;
        fs::create_directories(to, ec);
        if (!fs::is_directory(to, ec))
            return false;
        bool ok = true;
        fs::recursive_directory_iterator it(from, fs::directory_options::none, ec);
        if (ec)
            return false;
        for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
            const fs::path target = to / it->path().lexically_relative(from);
            if (!CopyEntry(*it, target, overwrite)) {
                ok = false;
                if (it->is_directory(ec) && !it->is_symlink(ec))
                    it.disable_recursion_pending();
            }
        }
        return ok && !ec;
    } catch (...) {
        return false;
    }
}

bool MoveFileToFolder(const std::string& file, const std::string& folder) {
    try {
        if (file.empty() || folder.empty())
            return false;
        const std::string destination = WithTrailingSlash(folder);
        if (!FolderExists(destination))
            CreateFolderTree(destination);
        if (!FolderExists(destination))
            return false;
        std::error_code ec;
        if (!fs::is_regular_file(file, ec))
            return false;
        const std::string name = LastComponent(file);
        if (name.empty())
            return false;
        const std::string target = destination + name;
        if (IsSameFile(file, target))
            return true;
        fs::rename(file, target, ec);
        if (!ec)
            return true;
        if (ec != std::errc::cross_device_link)
            return false;
        if (!CopyFileCompletely(file, target, true))
            return false;
        // A source that cannot be removed leaves two complete copies: nothing is lost, but the
        // move did not happen.
        return fs::remove(file, ec) && !ec;
    } catch (...) {
        return false;
    }
}

} // namespace slidemill
