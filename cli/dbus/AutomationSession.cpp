#include "cli/dbus/AutomationSession.h"

#include "cli/CommandLine.h"
#include "cli/CommandLineRun.h"
#include "cli/ConsolePrompt.h"
#include "core/ConversionComponent.h"
#include "core/JobDocument.h"
#include "core/Translate.h"
#include "run/JobRunner.h"
#include "run/PdfStage.h"
#include "run/RunHost.h"
#include "run/RunState.h"
#include "run/RunStatus.h"
#include "run/SpecialProcesses.h"
#include "settings/SettingsGlobals.h"

namespace slidemill {

std::string NoComponentMessage() {
    return AutomationInternalErrorMessage(Translate("no conversion engine is available"));
}

struct AutomationSession::Parts {
    Parts(ConversionComponent& component, const std::string& programName)
        : document(prompt, state, &host), runner(document, state, component, pdf, prompt, host, status),
          run(document, runner, Context(component, programName)), automation(run) {
        document.sSettingsFolder = G_SettingsFolder;
        runner.SetSpecialProcessor(&special);
    }

    CommandLineContext Context(ConversionComponent& component, const std::string& programName) {
        CommandLineContext context;
        context.component = &component;
        context.prompt = &prompt;
        context.programName = programName;
        return context;
    }

    ConsolePrompt prompt;
    RunState state;
    RunHost host;
    RunStatus status;
    UnavailablePdfStage pdf;
    SpecialProcesses special;
    JobDocument document;
    JobRunner runner;
    CommandLineRun run;
    clsSlidemill automation;
};

AutomationSession::AutomationSession(std::unique_ptr<ConversionComponent> component,
                                     const std::string& programName)
    : component_(std::move(component)) {
    if (component_)
        parts_ = std::make_unique<Parts>(*component_, programName);
}

AutomationSession::~AutomationSession() {
    ShutDown();
}

int32_t AutomationSession::DoCommandLine(const std::string& line) {
    if (!parts_) {
        if (onError)
            onError(kRunStatusInternalError, NoComponentMessage());
        return kRunStatusInternalError;
    }
    parts_->automation.OnError = onError;
    return parts_->automation.DoCommandLine(line);
}

void AutomationSession::ShutDown() {
    parts_.reset();
    if (component_) {
        component_->ShutDown();
        component_.reset();
    }
}

} // namespace slidemill
