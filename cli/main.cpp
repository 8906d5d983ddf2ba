// The program's entry point: fixes the settings location, installs the demo folders on first
// run, then runs the command line unattended and ends with an exit code for scripts.
#include "cli/CommandLine.h"
#include "cli/CommandLineRun.h"
#include "cli/ConsoleProgress.h"
#include "cli/ConsolePrompt.h"
#include "cli/ResultCodes.h"
#include "cli/TextLog.h"
#include "core/JobDocument.h"
#include "platform/Environment.h"
#include "platform/Terminal.h"
#include "run/ConversionComponent.h"
#include "run/JobRunner.h"
#include "run/PdfStage.h"
#include "run/RichText.h"
#include "run/RunHost.h"
#include "run/RunState.h"
#include "run/RunStatus.h"
#include "run/SpecialProcesses.h"
#include "settings/IniFile.h"
#include "settings/MainWindowSettings.h"
#include "settings/Paths.h"
#include "settings/SettingsGlobals.h"

#ifdef SLIDEMILL_WITH_DBUS
#include "cli/dbus/AutomationServer.h"
#endif
#ifdef SLIDEMILL_WITH_ENGINE
#include "engine/LibreOfficeComponent.h"
#include "engine/PdfWithOptions.h"
#include "engine/WriterRichText.h"
#endif

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
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

// The settings a run reads (never writes) from the settings file: the conversion options of
// the main window and the "PDF - with options" values.
MainWindowSettings ReadRunSettings() {
    return ReadMainWindowSettings(IniFile(G_IniFilePath), /*commandLineMode=*/true);
}

// settingsProblem: why the settings file could not be read (empty when it could); the run then
// says so on standard error and in its log.
[[maybe_unused]] int Run(ConversionComponent& component, PdfStage& pdf, RichTextEngine* richText,
                         const MainWindowSettings& settings, const std::vector<std::string>& arguments,
                         const std::string& name, const std::string& settingsProblem) {
    ConsolePrompt prompt;
    ConsoleProgress progress(std::cerr, StandardErrorIsTerminal());
    RunState state(progress);
    RunHost host;
    RunStatus status;
    SpecialProcesses special(richText);
    JobDocument document(prompt, state, &host);
    document.sSettingsFolder = G_SettingsFolder;
    JobRunner runner(document, state, component, pdf, prompt, host, status);
    runner.SetSpecialProcessor(&special);
    runner.Settings() = ToConversionSettings(settings);

    CommandLineContext context;
    context.component = &component;
    context.prompt = &prompt;
    context.programName = name;
    CommandLineRun run(document, runner, context);
    run.SetProcessCommandLine(JoinCommandLineArguments(arguments));
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
    if (!settingsWarning.empty())
        AppendToLogFile(settingsWarning, run.Task().sLogFile, false);
    component.ShutDown();
    if (run.HelpRequested()) {
        std::cout << CommandLineSwitchTable();
        return kExitSuccess;
    }
    if (windowWanted) {
        std::cerr << name << ": the window is not built yet, so "
                  << (runStatus == kRunStatusOpenedJob ? "the job was not opened"
                                                       : "there is nothing to show")
                  << ". Give a command line to convert (" << name << " /? lists the switches).\n";
        return kExitInvalidLine;
    }
    if (runStatus == kRunStatusInvalidLine)
        std::cerr << name << ": the command line is missing required or invalid arguments"
                  << (run.Task().sLogFile.empty() ? "; add /L <log file> to read why" : "; see the log")
                  << ".\n";
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
    if (arguments.size() == 1 && arguments[0] == "--automation") {
        // The server fixes the settings location itself and makes a component per session.
#if defined(SLIDEMILL_WITH_DBUS) && defined(SLIDEMILL_WITH_ENGINE)
        return RunAutomationServer(argc, argv, [] {
            return std::make_unique<LibreOfficeComponent>(EngineOptionsFromEnvironment());
        });
#else
        std::cerr << name << ": this build has no automation server.\n";
        return kExitSomeFailed;
#endif
    }
    try {
        FixSettingsLocation();
        InstallDemoFolders();
#ifdef SLIDEMILL_WITH_ENGINE
        const MainWindowSettings settings = ReadRunSettings();
        LibreOfficeComponent component(EngineOptionsFromEnvironment());
        component.SetOptimizeForSpeed(settings.mnuOptimizeForSpeed);
        WriterRichTextEngine richText(component);
        const std::string settingsProblem = SettingsFileReadProblem();
        PdfWithOptions pdf(richText, settings.pdx);
        // Passwords and permissions the file may hold are unknown: no PDF is written without them.
        RefusingPdfStage refusing(settingsProblem + ", so the PDF's security settings are unknown");
        PdfStage& stage = settingsProblem.empty() ? static_cast<PdfStage&>(pdf) : refusing;
        return Run(component, stage, &richText, settings, arguments, name, settingsProblem);
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
