#pragma once

#include "cli/clsSlidemill.h"

#include <functional>
#include <memory>
#include <string>

namespace slidemill {

class ConversionComponent;

using ComponentFactory = std::function<std::unique_ptr<ConversionComponent>()>;

// Everything one automation object needs to run command lines unattended: the component, the
// job document and runner and the command-line runner, wired as a command-line start does.
// The process's own arguments are not used: an empty line is an empty line.
class AutomationSession {
public:
    // component may be null: every line is then answered with an internal-error status.
    explicit AutomationSession(std::unique_ptr<ConversionComponent> component,
                               const std::string& programName = "slidemill");
    ~AutomationSession();
    AutomationSession(const AutomationSession&) = delete;
    AutomationSession& operator=(const AutomationSession&) = delete;

    // Runs one line; errors go to the OnError handler given here (may be empty).
    int32_t DoCommandLine(const std::string& line);
    std::function<void(int32_t lErr, const std::string& sErr)> onError;

    // Releases the component (the office behind it); later lines fail cleanly.
    void ShutDown();

private:
    struct Parts;
    std::unique_ptr<ConversionComponent> component_;
    std::unique_ptr<Parts> parts_;
};

// The message OnError carries when the build or the start-up has no conversion component.
std::string NoComponentMessage();

} // namespace slidemill
