#pragma once

#include "cli/CommandLine.h"
#include "core/ConversionOptions.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace slidemill {

class JobDocument;
class JobRunner;

// Runs one command line unattended: parses and validates it, runs the task or job file it
// names on the shared job session, and appends the outcome to the line's text log. Start-up
// and the automation method both go through here.
class CommandLineRun {
public:
    // context supplies the component, the prompt for /V and the program folder; its help flag
    // is the caller's to read through HelpRequested().
    CommandLineRun(JobDocument& document, JobRunner& runner, CommandLineContext context);

    // The process's own arguments, joined (JoinCommandLineArguments): what an empty line means.
    void SetProcessCommandLine(std::string line) { processLine_ = std::move(line); }
    // Makes the process's runs one shard of a run split over several processes (--shard);
    // no value runs lines whole.
    void SetShard(std::optional<ShardSpec> shard) { shard_ = shard; }
    // Shows the window for an empty line (status -2) and for a job opened without running (-4).
    std::function<void()> showUserInterface;
    // Called once a line has parsed and is about to run: where the stored settings are read
    // again, so that a long-lived automation service follows the user's changes.
    std::function<void()> beforeRun;

    // The run status: 0 ran (or /?), -2 empty line, -3 invalid line, -4 job opened, not run.
    // A split run refuses (-3) a job opened without running and a job holding an append or a
    // launch task, and ends its log with the count of the shard's files.
    int32_t RunCommandLine(const std::string& line);

    // After a status 0: whether some file or task failed (the "Job # " lines were written).
    bool SomethingFailed() const { return somethingFailed_; }
    bool HelpRequested() const { return helpRequested_; }
    const clsConversionOptions& Task() const { return task_; }

private:
    void Log(const std::string& line);
    int32_t Refuse(const std::string& reason);

    JobDocument& document_;
    JobRunner& runner_;
    CommandLineContext context_;
    std::string processLine_;
    std::optional<ShardSpec> shard_;
    clsConversionOptions task_;
    bool somethingFailed_ = false;
    bool helpRequested_ = false;
};

} // namespace slidemill
