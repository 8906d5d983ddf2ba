#include "run/DeleteFileWithRetry.h"

#include <filesystem>
#include <system_error>
#include <thread>

namespace slidemill {

namespace {

bool MayPass(const std::error_code& ec) {
    return ec == std::errc::device_or_resource_busy || ec == std::errc::resource_unavailable_try_again ||
           ec == std::errc::interrupted || ec == std::errc::text_file_busy;
}

} // namespace

bool DeleteFileWithRetry(const std::string& path, int attempts, std::chrono::milliseconds pause) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return true;
    if (ec)
        return false;
    if (fs::is_directory(status))
        return false;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        ec.clear();
        if (fs::remove(path, ec))
            return true;
        std::error_code gone;
        if (fs::symlink_status(path, gone).type() == fs::file_type::not_found)
            return true;
        if (!MayPass(ec) || attempt == attempts)
            break;
        std::this_thread::sleep_for(pause);
    }
    return false;
}

} // namespace slidemill
