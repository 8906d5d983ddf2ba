#include "platform/DiskSync.h"

#include <unistd.h>

namespace slidemill {

bool SyncStreamToDisk(std::FILE* stream) {
    if (std::fflush(stream) != 0)
        return false;
    return ::fdatasync(::fileno(stream)) == 0;
}

} // namespace slidemill
