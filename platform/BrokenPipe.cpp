#include "platform/BrokenPipe.h"

#include <csignal>

namespace slidemill {

void IgnoreBrokenPipeSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

} // namespace slidemill
