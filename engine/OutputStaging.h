#pragma once

#include <string>

namespace slidemill {

// A target written in a hidden folder beside it and renamed into place only once it is
// complete, so a failed or interrupted conversion never leaves a partial file behind. The
// office's own scratch and lock files land in that folder too, so a killed office leaves
// nothing in the target folder either. What is not committed is removed on destruction.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the target's missing folders and the (empty) temporary file; false with a reason
    // when the target cannot be written there.
    bool Prepare(const std::string& target, std::string& error);
    const std::string& TempPath() const { return temp_; }
    // Renames the temporary file onto the target; fails when it is missing or empty.
    bool Commit(std::string& error);

private:
    std::string target_;
    std::string folder_;
    std::string temp_;
};

// The same for a folder of files (one per slide, or a page with its pictures). A folder
// already at the target is replaced only once the new one is complete.
class StagedFolder {
public:
    StagedFolder() = default;
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    bool Prepare(const std::string& targetFolder, std::string& error);
    const std::string& TempPath() const { return temp_; }
    // Fails when the folder holds no file, or an empty one.
    bool Commit(std::string& error);

private:
    std::string target_;
    std::string temp_;
};

// The folder that receives one file per slide: the target without its extension.
std::string PerSlideFolderOf(const std::string& target);

} // namespace slidemill
