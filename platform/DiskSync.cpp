#include "platform/DiskSync.h"

#include <fcntl.h>
#include <unistd.h>

namespace slidemill {

bool SyncStreamToDisk(std::FILE* stream) {
    if (std::fflush(stream) != 0)
        return false;
    return ::fdatasync(::fileno(stream)) == 0;
}

bool SyncFileSystemOf(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace slidemill
