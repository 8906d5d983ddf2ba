#include "ui/WindowProgram.h"

#include "platform/TerminationSignals.h"
#include "run/RunParts.h"
#include "settings/FramePlacement.h"
#include "settings/IniFile.h"
#include "settings/Paths.h"
#include "ui/DialogPrompt.h"
#include "ui/DisplayCheck.h"
#include "ui/FontCheck.h"
#include "ui/FrameGeometry.h"
#include "ui/Help.h"
#include "ui/HelpEntries.h"
#include "ui/MainWindow.h"
#include "ui/StartupWindow.h"
#include "ui/UnsavedJob.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <iostream>

namespace slidemill {

namespace {

FramePlacement StoredPlacement(const std::string& settingsFile) {
    try {
        return ReadFramePlacement(IniFile(settingsFile), false).value_or(FramePlacement{});
    } catch (...) {
        // Reading the settings never stops the start.
        return FramePlacement{};
    }
}

void SavePlacement(const std::string& settingsFile, const FramePlacement& placement) {
    try {
        IniFile ini(settingsFile);
        SaveFramePlacement(ini, placement, false);
    } catch (...) {
        // Nor does writing them stop the close.
    }
}

// The windows other than the main one (an About box, a dialog), last opened first: they go
// before the main window does.
void CloseOtherWindows(const QWidget& mainWindow) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (*it != &mainWindow && (*it)->isVisible())
            (*it)->close();
    }
}

} // namespace

int RunWindowProgram(int argc, char** argv, RunParts& parts, const WindowProgramOptions& options) {
    if (const std::string problem = DisplayProblem(CurrentDisplayEnvironment(), options.programName);
        !problem.empty()) {
        std::cerr << problem << "\n";
        return kWindowExitNoDisplay;
    }
    // Caught from here on: a signal that comes while the window is being built closes it as
    // soon as the event loop runs.
    const int signalDescriptor = TerminationSignalDescriptor();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Slidemill");
    QApplication::setApplicationVersion(SLIDEMILL_VERSION);
    QApplication::setOrganizationName("Lumenware, Inc.");
    if (!ApplicationFontResolves())
        std::cerr << options.programName
                  << ": no font was found, so the window's text cannot be drawn; install a font "
                     "package (fonts-dejavu-core, for example).\n";

    StartupWindow startup(SLIDEMILL_VERSION);
    startup.adjustSize();
    startup.show();
    QApplication::processEvents();

    DialogPrompt prompt;
    const FramePlacement stored = StoredPlacement(options.settingsFile);
    int exitCode = 0;
    {
        MainWindow window(parts, prompt, options.settingsFile);
        prompt.SetParent(&window);
        ConnectHelpEntries(window, parts.Component(), prompt, InitializeHelp(), DesktopUrlOpener());
        ApplyFramePlacement(window, stored);
        window.show();
        startup.hide();
        if (!options.jobToOpen.empty())
            window.Model().OpenJob(options.jobToOpen);

        QObject::connect(&window, &MainWindow::closing, &app, [&] {
            SavePlacement(options.settingsFile, CurrentFramePlacement(window, stored));
            CloseOtherWindows(window);
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        });

        // A desktop session ends its programs with SIGTERM: close as the close box does, but ask
        // nothing. A changed job is not saved over its file; its tasks go to a new file instead.
        std::unique_ptr<QSocketNotifier> notifier;
        if (signalDescriptor >= 0) {
            notifier = std::make_unique<QSocketNotifier>(signalDescriptor, QSocketNotifier::Read);
            QObject::connect(notifier.get(), &QSocketNotifier::activated, &app, [&] {
                if (!DrainTerminationSignals(signalDescriptor) || prompt.Ending())
                    return;
                prompt.SetEnding(true);
                const std::string kept =
                    KeepUnsavedJob(window.Model().Document(), ParentFolderOf(options.settingsFile));
                if (!kept.empty())
                    std::cerr << options.programName << ": ended by a signal; the job's unsaved changes were "
                              << "written to \"" << kept << "\" (the job's own file is unchanged).\n";
                else if (window.Model().Document().bAskToSaveMJBFileBeforeExit)
                    std::cerr << options.programName
                              << ": ended by a signal; the job's unsaved changes could not be kept.\n";
                // A running conversion pauses first; the window closes once the run has returned.
                window.close();
            });
        }
        exitCode = QApplication::exec();
    }
    parts.ShutDown();
    return exitCode;
}

} // namespace slidemill
