#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace slidemill {

// A file read in large blocks, forwards or at given offsets.
class TextInput {
public:
    TextInput() = default;
    ~TextInput();
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;

    // False for a missing or unreadable file and for a folder.
    bool Open(const std::string& path);
    uint64_t Size() const { return size_; }
    // Reads up to length bytes at the current position; the count read (0 at the end or on error).
    std::size_t Read(void* buffer, std::size_t length);
    bool ReadAt(uint64_t offset, void* buffer, std::size_t length);
    bool Seek(uint64_t offset);
    bool Failed() const;

private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
};

// The new contents of a target file: written to a fresh temporary file beside the target and
// moved over it only by Commit, so the target is either the old file or the complete new one.
// A target that is a symbolic link is replaced through the link. Without Commit the temporary
// file is removed.
class ReplacementOutput {
public:
    ReplacementOutput() = default;
    ~ReplacementOutput();
    ReplacementOutput(const ReplacementOutput&) = delete;
    ReplacementOutput& operator=(const ReplacementOutput&) = delete;

    // False when the target is a folder or no file can be created in its folder.
    bool Open(const std::string& target);
    bool Write(const void* data, std::size_t length);
    bool WriteAt(uint64_t offset, const void* data, std::size_t length);
    // Flushes, keeps the permissions of an existing target and renames over it.
    bool Commit();

private:
    void Discard();

    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temporary_;
    bool failed_ = false;
};

} // namespace slidemill
