#include "cli/ResultCodes.h"

namespace slidemill {

int ExitCodeForRunStatus(int32_t runStatus, bool somethingFailed) {
    switch (runStatus) {
    case kRunStatusInvalidLine:
        return kExitInvalidLine;
    case kRunStatusDone:
        return somethingFailed ? kExitSomeFailed : kExitSuccess;
    default:
        return kExitSuccess;
    }
}

} // namespace slidemill
