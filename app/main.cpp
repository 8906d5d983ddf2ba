// The program's entry point: fixes the settings location, installs the demo folders on first
// run, then runs the command line unattended and ends with an exit code for scripts, or shows
// the window when the line asks for it (no arguments, or a job to open). It sits outside the
// layer folders because it is the one place that joins the command line and the window.
#include "cli/AutomationArguments.h"
#include "cli/CommandLine.h"
#include "cli/CommandLineSession.h"
#include "cli/ConsoleProgress.h"
#include "cli/ConsolePrompt.h"
#include "cli/ResultCodes.h"
#include "cli/RunLogLines.h"
#include "cli/ShardArgument.h"
#include "cli/ShellExpansion.h"
#include "core/ConversionComponent.h"
#include "core/JobDocument.h"
#include "platform/Environment.h"
#include "platform/Terminal.h"
#include "run/RunParts.h"
#include "run/TextLog.h"
#include "settings/Paths.h"
#include "settings/SettingsGlobals.h"

#ifdef SLIDEMILL_WITH_DBUS
#include "cli/dbus/AutomationServer.h"
#endif
#ifdef SLIDEMILL_WITH_ENGINE
#include "engine/OfficeRunParts.h"
#endif
#ifdef SLIDEMILL_WITH_GUI
#include "ui/WindowProgram.h"
#endif

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace slidemill;

std::string ProgramName(const char* argv0) {
    std::string name = argv0 ? argv0 : "slidemill";
    const std::size_t slash = name.rfind('/');
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    return name.empty() ? "slidemill" : name;
}

// What the command line asked of the window: an empty line shows it, /J file /O shows it with
// the job opened.
struct WindowRequest {
    bool wanted = false;
    std::string jobToOpen;
};

// settingsProblem: why the settings file could not be read (empty when it could); the run then
// says so on standard error and in its log. When the line wants the window, window says so and
// the result is only meaningful for a build without one.
[[maybe_unused]] int Run(RunParts& parts, const std::vector<std::string>& arguments, const std::string& name,
                         const std::string& settingsProblem, WindowRequest& window,
                         const std::optional<ShardSpec>& shard) {
    ConsolePrompt prompt;
    ConsoleProgress progress(std::cerr, StandardErrorIsTerminal());
    CommandLineContext context;
    context.programName = name;
    CommandLineSession session(parts, prompt, progress, context);
    CommandLineRun& run = session.Run();
    run.SetProcessCommandLine(JoinCommandLineArguments(arguments));
    run.SetShard(shard);
    bool windowWanted = false;
    run.showUserInterface = [&windowWanted] { windowWanted = true; };

    std::string settingsWarning;
    if (!settingsProblem.empty()) {
        settingsWarning = "Warning: " + settingsProblem +
                          "; this run uses the default settings, and \"PDF - with options\" tasks fail "
                          "rather than write PDFs without their security settings.";
        std::cerr << name << ": " << settingsWarning << "\n";
    }
    const int32_t runStatus = run.RunCommandLine("");
    progress.Finish();
    parts.ShutDown();
    if (!settingsWarning.empty())
        AppendToLogFile(settingsWarning, run.Task().sLogFile, false);
    if (run.HelpRequested()) {
        std::cout << CommandLineSwitchTable();
        return kExitSuccess;
    }
    if (windowWanted) {
        window.wanted = true;
        if (runStatus == kRunStatusOpenedJob)
            window.jobToOpen = run.Task().sCLBatchJobFile;
#ifdef SLIDEMILL_WITH_GUI
        return kExitSuccess;
#else
        std::cerr << name << ": this build has no window (configured with SLIDEMILL_GUI=OFF), so "
                  << (runStatus == kRunStatusOpenedJob ? "the job was not opened"
                                                       : "there is nothing to show")
                  << ". Give a command line to convert (" << name << " /? lists the switches).\n";
        return kExitInvalidLine;
#endif
    }
    if (runStatus == kRunStatusInvalidLine)
        std::cerr << RefusalText(name, run.Task().sErr, run.Task().sLogFile);
    return ExitCodeForRunStatus(runStatus, run.SomethingFailed());
}

#ifdef SLIDEMILL_WITH_ENGINE
// SLIDEMILL_OFFICES sets how many offices convert a file list at once (1 keeps memory lowest);
// unset or not a positive number, the engine picks one per core.
EngineOptions EngineOptionsFromEnvironment() {
    EngineOptions options;
    const std::string offices = EnvironmentValue("SLIDEMILL_OFFICES");
    int value = 0;
    const auto [end, error] = std::from_chars(offices.data(), offices.data() + offices.size(), value);
    if (error == std::errc() && end == offices.data() + offices.size() && value > 0)
        options.offices = std::min(value, 64);
    return options;
}
#endif

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string name = ProgramName(argc > 0 ? argv[0] : nullptr);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::cout << "Slidemill " << SLIDEMILL_VERSION << "\n";
        return 0;
    }
    AutomationArguments automation;
    if (ParseAutomationArguments(arguments, automation)) {
        if (!automation.error.empty()) {
            std::cerr << name << ": " << automation.error << "\n";
            return kExitInvalidLine;
        }
        // The server fixes the settings location itself and assembles the parts on its worker
        // thread at the first call; they stay up (the offices warm) until the server ends.
#if defined(SLIDEMILL_WITH_DBUS) && defined(SLIDEMILL_WITH_ENGINE)
        AutomationServerOptions options;
        options.idleTimeout = automation.idleTimeout;
        options.programName = name;
        return RunAutomationServer(
            argc, argv,
            []() -> std::unique_ptr<RunParts> {
                return std::make_unique<OfficeRunParts>(EngineOptionsFromEnvironment(), SettingsFilePath());
            },
            options);
#else
        std::cerr << name << ": this build has no automation server.\n";
        return kExitSomeFailed;
#endif
    }
    // One part of a run split over an array job; the switch is not part of the line itself.
    std::vector<std::string> lineArguments = arguments;
    const ShardArgument shard = TakeShardArgument(lineArguments, EnvironmentValue);
    if (!shard.error.empty()) {
        std::cerr << name << ": " << shard.error << "\n";
        return kExitInvalidLine;
    }
    // Refused before the engine starts: the expanded list is not what the user meant to run.
    if (const std::string expanded = ShellExpandedWildcardProblem(lineArguments); !expanded.empty()) {
        std::cerr << name << ": " << expanded << "\n";
        return kExitInvalidLine;
    }
    try {
        FixSettingsLocation();
        InstallDemoFolders();
#ifdef SLIDEMILL_WITH_ENGINE
        WindowRequest window;
        int exitCode = 0;
        {
            // Until the line asks for the window, every conversion here comes from the command line.
            EngineOptions engineOptions = EngineOptionsFromEnvironment();
            engineOptions.commandLineMode = true;
            OfficeRunParts parts(engineOptions, SettingsFilePath());
            exitCode = Run(parts, lineArguments, name, SettingsFileReadProblem(), window, shard.shard);
        }
#ifdef SLIDEMILL_WITH_GUI
        if (window.wanted) {
            // The window's conversions are the window's: messages go to boxes, not to a console.
            OfficeRunParts parts(EngineOptionsFromEnvironment(), SettingsFilePath());
            WindowSessionOptions options;
            options.programName = name;
            options.settingsFile = SettingsFilePath();
            options.jobToOpen = window.jobToOpen;
            return RunWindowProgram(argc, argv, parts, options);
        }
#endif
        return exitCode;
#else
        std::cerr << name
                  << ": this build has no conversion engine (configured with SLIDEMILL_ENGINE=OFF).\n";
        return kExitInvalidLine;
#endif
    } catch (const std::exception& error) {
        // Whatever went wrong, a script must not read it as success.
        std::cerr << name << ": unexpected error: " << error.what() << "\n";
        return kExitSomeFailed;
    } catch (...) {
        std::cerr << name << ": unexpected error\n";
        return kExitSomeFailed;
    }
}
