#include "cli/dbus/AutomationSession.h"

#include "cli/CommandLineSession.h"
#include "cli/ConsolePrompt.h"
#include "core/Translate.h"
#include "run/RunParts.h"

namespace slidemill {

std::string NoComponentMessage() {
    return AutomationInternalErrorMessage(Translate("no conversion engine is available"));
}

struct AutomationSession::Session {
    Session(RunParts& parts, const std::string& programName)
        : lines(parts, prompt, NullRunControl(), Context(programName)), automation(lines.Run()) {}

    static CommandLineContext Context(const std::string& programName) {
        CommandLineContext context;
        context.programName = programName;
        return context;
    }

    ConsolePrompt prompt;
    CommandLineSession lines;
    clsSlidemill automation;
};

AutomationSession::AutomationSession(std::unique_ptr<RunParts> parts, const std::string& programName)
    : parts_(std::move(parts)) {
    if (parts_)
        session_ = std::make_unique<Session>(*parts_, programName);
}

AutomationSession::~AutomationSession() {
    ShutDown();
}

int32_t AutomationSession::DoCommandLine(const std::string& line) {
    if (!session_) {
        if (onError)
            onError(kRunStatusInternalError, NoComponentMessage());
        return kRunStatusInternalError;
    }
    session_->automation.OnError = onError;
    return session_->automation.DoCommandLine(line);
}

void AutomationSession::ShutDown() {
    session_.reset();
    if (parts_) {
        parts_->ShutDown();
        parts_.reset();
    }
}

} // namespace slidemill
