#pragma once

#include <filesystem>
#include <string>

namespace slidemill::test {

// A fresh folder under the system temporary folder, removed with everything in it on scope exit.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag = "t");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as text with a trailing "/".
    std::string str() const { return path_.string() + "/"; }
    // Creates a file (and its folders) below the folder; returns its full path.
    std::string file(const std::string& relative, const std::string& contents = "x") const;
    std::string folder(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

std::string ReadWholeFile(const std::filesystem::path& path);

// Points HOME, the XDG folders and TMPDIR at folders under root, so a test program can neither
// read nor change the real user's settings and files.
void UseHomeUnder(const std::filesystem::path& root);

} // namespace slidemill::test
