#pragma once

#include "core/JobDocument.h"
#include "core/Prompt.h"
#include "core/RunControl.h"
#include "run/JobRunner.h"
#include "run/RunHost.h"
#include "run/RunParts.h"
#include "run/RunState.h"
#include "run/RunStatus.h"
#include "run/SpecialProcesses.h"

#include <string>

namespace slidemill {

// One job session wired from the run parts: the job document, its runner with the special
// processes on the parts' rich-text engine, and the running flag they share. The command line,
// the automation service, the scheduler and the window each run through one of these, so a
// line behaves the same whichever of them started it.
//
class RunAssembly final {
public:
    // progress receives the checkpoints and status texts of the run (the console's progress
    // line, the window's status bar); host answers for the window around the run, if any, and
    // status shows the state picture and the completion blink.
    RunAssembly(RunParts& parts, Prompt& prompt, RunControl& progress = NullRunControl(),
                RunHost* host = nullptr, const std::string& settingsFolder = {},
                RunStatus* status = nullptr);
    RunAssembly(const RunAssembly&) = delete;
    RunAssembly& operator=(const RunAssembly&) = delete;

    // Gives the runner the stored settings as they are now. Not during a run.
    void ReadSettings();

    // Runs a job file as the scheduler does, with the stored settings as they are now.
    bool RunJobFile(const std::string& path);

    RunParts& Parts() { return parts_; }
    JobDocument& Document() { return document_; }
    JobRunner& Runner() { return runner_; }
    RunState& State() { return state_; }
    RunStatus& Status() { return *status_; }
    RunHost& Host() { return *host_; }

private:
    RunParts& parts_;
    RunState state_;
    RunHost ownHost_;
    RunHost* host_;
    RunStatus ownStatus_;
    RunStatus* status_;
    SpecialProcesses special_;
    JobDocument document_;
    JobRunner runner_;
};

} // namespace slidemill
