#include "run/TextStreams.h"

#include "platform/DiskSync.h"

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace slidemill {

namespace {

constexpr std::size_t kStreamBuffer = 1 << 16;

} // namespace

TextInput::~TextInput() {
    if (file_)
        std::fclose(file_);
}

bool TextInput::Open(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec))
        return false;
    file_ = std::fopen(path.c_str(), "rbe");
    if (!file_)
        return false;
    std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
    const auto size = fs::file_size(path, ec);
    size_ = ec ? 0 : size;
    return true;
}

std::size_t TextInput::Read(void* buffer, std::size_t length) {
    return std::fread(buffer, 1, length, file_);
}

bool TextInput::Seek(uint64_t offset) {
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

bool TextInput::ReadAt(uint64_t offset, void* buffer, std::size_t length) {
    return Seek(offset) && std::fread(buffer, 1, length, file_) == length;
}

bool TextInput::Failed() const {
    return std::ferror(file_) != 0;
}

ReplacementOutput::~ReplacementOutput() {
    Discard();
}

bool ReplacementOutput::Open(const std::string& target) {
    std::error_code ec;
    target_ = target;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target_ = resolved.string();
    }
    if (target_.empty() || fs::is_directory(target_, ec))
        return false;
    const fs::path path(target_);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
        temporary_ =
            (folder / ("." + path.filename().string() + "." + std::to_string(random() % 1000000) + ".part"))
                .string();
        // "x": never reuse a name that exists; the mode follows the umask like any new file.
        file_ = std::fopen(temporary_.c_str(), "wbxe");
        if (!file_ && errno != EEXIST)
            break;
    }
    if (!file_) {
        temporary_.clear();
        return false;
    }
    std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
    return true;
}

bool ReplacementOutput::Write(const void* data, std::size_t length) {
    if (length && std::fwrite(data, 1, length, file_) != length)
        failed_ = true;
    return !failed_;
}

bool ReplacementOutput::WriteAt(uint64_t offset, const void* data, std::size_t length) {
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        failed_ = true;
    return Write(data, length);
}

bool ReplacementOutput::Commit() {
    if (!file_)
        return false;
    const bool flushed = !failed_ && SyncStreamToDisk(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        Discard();
        return false;
    }
    std::error_code ec;
    if (fs::exists(target_, ec))
        fs::permissions(temporary_, fs::status(target_, ec).permissions(), ec);
    fs::rename(temporary_, target_, ec);
    if (ec) {
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void ReplacementOutput::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ec;
        fs::remove(temporary_, ec);
        temporary_.clear();
    }
}

} // namespace slidemill
