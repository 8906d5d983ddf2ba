#include "engine/OutputStaging.h"

#include "platform/ProcessEnvironment.h"

#include <atomic>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

std::string TemporarySibling(const fs::path& target, const char* suffix) {
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + target.filename().string() + "." + std::to_string(CurrentProcessId()) +
                             "-" + std::to_string(++counter) + suffix;
    return (target.parent_path() / name).string();
}

bool CreateParent(const fs::path& target, std::string& error) {
    std::error_code ec;
    const fs::path parent = target.parent_path();
    if (parent.empty() || fs::is_directory(parent, ec))
        return true;
    fs::create_directories(parent, ec);
    if (ec) {
        error = "cannot create the folder " + parent.string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace

StagedFile::~StagedFile() {
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
}

bool StagedFile::Prepare(const std::string& target, std::string& error) {
    const fs::path path(target);
    if (path.filename().empty()) {
        error = "no file name in the target";
        return false;
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = "a folder of that name exists";
        return false;
    }
    if (!CreateParent(path, error))
        return false;
    const std::string folder = TemporarySibling(path, ".part");
    if (!fs::create_directory(folder, ec) || ec) {
        error = "the folder is not writable";
        return false;
    }
    folder_ = folder;
    target_ = target;
    temp_ = (fs::path(folder) / path.filename()).string();
    return true;
}

bool StagedFile::Commit(std::string& error) {
    std::error_code ec;
    const auto size = fs::file_size(temp_, ec);
    if (ec || size == 0) {
        error = "the office wrote no data";
        return false;
    }
    fs::rename(temp_, target_, ec);
    if (ec) {
        error = "cannot rename the finished file into place: " + ec.message();
        return false;
    }
    fs::remove_all(folder_, ec);
    folder_.clear();
    temp_.clear();
    return true;
}

StagedFolder::~StagedFolder() {
    if (!temp_.empty()) {
        std::error_code ec;
        fs::remove_all(temp_, ec);
    }
}

bool StagedFolder::Prepare(const std::string& targetFolder, std::string& error) {
    fs::path path(targetFolder);
    while (path.has_relative_path() && path.filename().empty())
        path = path.parent_path();
    if (path.filename().empty()) {
        error = "no folder name in the target";
        return false;
    }
    std::error_code ec;
    if (fs::exists(path, ec) && !fs::is_directory(path, ec)) {
        error = "a file of that name exists: " + path.string();
        return false;
    }
    if (!CreateParent(path, error))
        return false;
    const std::string temp = TemporarySibling(path, ".part");
    if (!fs::create_directory(temp, ec) || ec) {
        error = "the folder is not writable";
        return false;
    }
    target_ = path.string();
    temp_ = temp;
    return true;
}

bool StagedFolder::Commit(std::string& error) {
    std::error_code ec;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(temp_, ec)) {
        if (!entry.is_regular_file())
            continue;
        if (entry.file_size() == 0) {
            error = "the office wrote an empty file: " + entry.path().filename().string();
            return false;
        }
        ++files;
    }
    if (ec || files == 0) {
        error = "the office wrote no files";
        return false;
    }
    // The earlier folder is moved aside, not deleted, until the new one is in place.
    std::string aside;
    if (fs::exists(target_, ec)) {
        aside = TemporarySibling(target_, ".old");
        fs::rename(target_, aside, ec);
        if (ec) {
            error = "cannot replace the existing folder: " + ec.message();
            return false;
        }
    }
    fs::rename(temp_, target_, ec);
    if (ec) {
        error = "cannot rename the finished folder into place: " + ec.message();
        if (!aside.empty())
            fs::rename(aside, target_, ec);
        return false;
    }
    temp_.clear();
    if (!aside.empty())
        fs::remove_all(aside, ec);
    return true;
}

std::string PerSlideFolderOf(const std::string& target) {
    const fs::path path(target);
    return (path.parent_path() / path.stem()).string();
}

} // namespace slidemill
