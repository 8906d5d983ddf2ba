#pragma once

#include "cli/clsSlidemill.h"

#include <functional>
#include <memory>
#include <string>

namespace slidemill {

class RunParts;

using RunPartsFactory = std::function<std::unique_ptr<RunParts>()>;

// Everything one automation object needs to run command lines unattended: the run parts and
// the command-line session over them, assembled exactly as a command-line start assembles
// them. The process's own arguments are not used: an empty line is an empty line.
class AutomationSession {
public:
    // parts may be null: every line is then answered with an internal-error status.
    explicit AutomationSession(std::unique_ptr<RunParts> parts, const std::string& programName = "slidemill");
    ~AutomationSession();
    AutomationSession(const AutomationSession&) = delete;
    AutomationSession& operator=(const AutomationSession&) = delete;

    // Runs one line; errors go to the OnError handler given here (may be empty).
    int32_t DoCommandLine(const std::string& line);
    std::function<void(int32_t lErr, const std::string& sErr)> onError;

    // Releases the parts (the offices behind them); later lines fail cleanly.
    void ShutDown();

private:
    struct Session;
    std::unique_ptr<RunParts> parts_;
    std::unique_ptr<Session> session_;
};

// The message OnError carries when the build or the start-up has no conversion component.
std::string NoComponentMessage();

} // namespace slidemill
