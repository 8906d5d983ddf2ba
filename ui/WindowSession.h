#pragma once

#include "core/Translator.h"
#include "settings/FramePlacement.h"
#include "ui/DialogPrompt.h"

#include <QObject>

#include <iosfwd>
#include <memory>
#include <string>

class QSocketNotifier;

namespace slidemill {

struct HelpLocations;
class MainWindow;
class RunParts;
class StartupWindow;

struct WindowSessionOptions {
    std::string programName = "slidemill"; // for messages on standard error
    std::string settingsFile;              // read at start, written at close
    std::string jobToOpen;                 // opened in the window when not empty (/J file /O)
};

// One run of the window, inside an application object that exists: the start-up window, then
// the main window at its stored placement with the job opened; at the close the placement is
// saved and the other windows closed, last opened first. A termination signal (SIGTERM, SIGINT,
// SIGHUP) closes it as the close box does, asking nothing.
class WindowSession : public QObject {
    Q_OBJECT
public:
    // messages: where the session reports what the user must know without a window (standard
    // error in the program).
    WindowSession(RunParts& parts, WindowSessionOptions options, std::ostream& messages);
    ~WindowSession() override;

    // Starts the translator, shows the start-up window, builds and places the main window, shows it and hides the
    // start-up window, opens the job. From here on termination signals are watched.
    void Start();

    MainWindow& Window() { return *window_; }
    StartupWindow& Startup() { return *startup_; }
    DialogPrompt& Prompt() { return prompt_; }

    // What a termination signal does: nothing is asked from now on, open dialogs are dismissed,
    // a changed job's tasks are kept in a new file in the settings folder (its own file is not
    // written), and the window closes (after a running conversion has paused).
    void EndFromOutside();

signals:
    // The main window has closed and the placement is saved: the program can end.
    void finished();

private:
    void CloseWhenNoDialogIsOpen();
    LanguageSettings Languages() const;
    // The stored language loaded (asked for once on a first start outside English), its font
    // given to the application, failures to record a text reported in a box.
    void StartTranslator(const HelpLocations& help);
    // "Lan&guage": the language window; a changed choice applies at the next start.
    void ConnectLanguageEntry(const HelpLocations& help);

    RunParts& parts_;
    WindowSessionOptions options_;
    std::ostream& messages_;
    DialogPrompt prompt_;
    FramePlacement stored_;
    std::unique_ptr<StartupWindow> startup_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QSocketNotifier> signalNotifier_;
    int signalDescriptor_ = -1;
    bool ending_ = false;
};

} // namespace slidemill
