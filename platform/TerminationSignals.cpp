#include "platform/TerminationSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace slidemill {
namespace {

int g_writeEnd = -1;

extern "C" void WriteSignalByte(int signal) {
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    // A full pipe already says that a signal came.
    [[maybe_unused]] const ssize_t written = write(g_writeEnd, &byte, 1);
    errno = saved;
}

int Install() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    g_writeEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = WriteSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        if (sigaction(signal, &action, nullptr) != 0) {
            close(ends[0]);
            close(ends[1]);
            g_writeEnd = -1;
            return -1;
        }
    }
    return ends[0];
}

} // namespace

int TerminationSignalDescriptor() {
    static std::once_flag once;
    static int readEnd = -1;
    std::call_once(once, [] { readEnd = Install(); });
    return readEnd;
}

bool DrainTerminationSignals(int descriptor) {
    bool any = false;
    char buffer[64];
    for (;;) {
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count > 0) {
            any = true;
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        return any;
    }
}

} // namespace slidemill
