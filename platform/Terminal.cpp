#include "platform/Terminal.h"

#include <unistd.h>

namespace slidemill {

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

} // namespace slidemill
