#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace slidemill {

class CommandLineRun;

// Refused: another command line of the same automation object is still running. The caller
// is not queued; it may try again once the running line has answered.
inline constexpr int32_t kRunStatusBusy = -5;
// The run stopped on an unexpected internal error; the object stays usable.
inline constexpr int32_t kRunStatusInternalError = -6;

// The automation object other programs drive: each call runs one command line unattended and
// answers its run status. Failures that leave nothing to read in a log (an empty or invalid
// line, a refused or broken call) are also raised through OnError before the call returns.
class clsSlidemill {
public:
    explicit clsSlidemill(CommandLineRun& run);
    clsSlidemill(const clsSlidemill&) = delete;
    clsSlidemill& operator=(const clsSlidemill&) = delete;

    // Safe to call from any thread and from inside a running call (a conversion callback):
    // only one line runs at a time, every other call is refused with kRunStatusBusy.
    int32_t DoCommandLine(const std::string& sCommand);

    // Raised on the calling thread, before DoCommandLine returns.
    std::function<void(int32_t lErr, const std::string& sErr)> OnError;

    bool Busy() const { return busy_.load(); }

private:
    void Raise(int32_t lErr, const std::string& sErr);

    CommandLineRun& run_;
    std::atomic<bool> busy_{false};
};

// The texts OnError carries, translated.
std::string EmptyCommandLineMessage();
std::string InvalidCommandLineMessage();
std::string AutomationBusyMessage();
std::string AutomationInternalErrorMessage(const std::string& detail);

} // namespace slidemill
