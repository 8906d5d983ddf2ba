#include "cli/clsSlidemill.h"

#include "cli/CommandLineRun.h"
#include "cli/ResultCodes.h"
#include "core/Translate.h"

#include <exception>

namespace slidemill {

std::string EmptyCommandLineMessage() {
    return Translate("Command line is empty");
}

std::string InvalidCommandLineMessage() {
    return Translate("Invalid or missing required command line argument(s)");
}

std::string AutomationBusyMessage() {
    return Translate("Another command line is still running; this one was not run. Try again when it "
                     "has finished.");
}

std::string AutomationInternalErrorMessage(const std::string& detail) {
    std::string text = Translate("The command line stopped on an unexpected error");
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

clsSlidemill::clsSlidemill(CommandLineRun& run) : run_(run) {}

void clsSlidemill::Raise(int32_t lErr, const std::string& sErr) {
    if (!OnError)
        return;
    // The caller's handler must not take the object down with it.
    try {
        OnError(lErr, sErr);
    } catch (...) {
    }
}

int32_t clsSlidemill::DoCommandLine(const std::string& sCommand) {
    bool expected = false;
    if (!busy_.compare_exchange_strong(expected, true)) {
        Raise(kRunStatusBusy, AutomationBusyMessage());
        return kRunStatusBusy;
    }
    int32_t status = kRunStatusInternalError;
    std::string failure;
    try {
        status = run_.RunCommandLine(sCommand);
    } catch (const std::exception& error) {
        failure = AutomationInternalErrorMessage(error.what());
    } catch (...) {
        failure = AutomationInternalErrorMessage({});
    }
    // Free before raising, so that a handler may already start the next line.
    busy_.store(false);
    if (!failure.empty())
        Raise(kRunStatusInternalError, failure);
    else if (status == kRunStatusInvalidLine)
        Raise(kRunStatusInvalidLine, InvalidCommandLineMessage());
    else if (status == kRunStatusEmptyLine)
        Raise(kRunStatusEmptyLine, EmptyCommandLineMessage());
    return status;
}

} // namespace slidemill
