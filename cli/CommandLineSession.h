#pragma once

#include "cli/CommandLineRun.h"
#include "run/RunAssembly.h"

#include <string>

namespace slidemill {

// A run assembly with the command-line runner on top: what start-up and the automation object
// run their lines on. The stored settings are read again before every line that runs.
class CommandLineSession {
public:
    // context gives the program's name and folder; its component and prompt are the parts' and
    // the given prompt.
    CommandLineSession(RunParts& parts, Prompt& prompt, RunControl& progress = NullRunControl(),
                       CommandLineContext context = {});
    CommandLineSession(const CommandLineSession&) = delete;
    CommandLineSession& operator=(const CommandLineSession&) = delete;

    RunAssembly& Assembly() { return assembly_; }
    CommandLineRun& Run() { return run_; }

private:
    static CommandLineContext Context(RunParts& parts, Prompt& prompt, CommandLineContext context);

    RunAssembly assembly_;
    CommandLineRun run_;
};

} // namespace slidemill
