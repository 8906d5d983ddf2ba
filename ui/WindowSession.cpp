#include "ui/WindowSession.h"

#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "core/Translator.h"
#include "platform/TerminationSignals.h"
#include "run/RunParts.h"
#include "settings/IniFile.h"
#include "settings/Paths.h"
#include "ui/FrameGeometry.h"
#include "ui/Help.h"
#include "ui/HelpEntries.h"
#include "ui/LanguageFont.h"
#include "ui/LanguageWindow.h"
#include "ui/MainWindow.h"
#include "ui/StartupWindow.h"
#include "run/UnsavedJob.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>

#include <ostream>

namespace slidemill {

namespace {

// How soon a close that waits for an open dialog to go is tried again.
constexpr int kDialogWaitMilliseconds = 50;

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

// The windows other than the main one (an About box, a dialog), last opened first.
void CloseOtherWindows(const QWidget& mainWindow) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (*it == &mainWindow || !(*it)->isVisible())
            continue;
        // A dialog is dismissed rather than closed: a message box without a Cancel button
        // refuses its close box.
        if (auto* dialog = qobject_cast<QDialog*>(*it))
            dialog->reject();
        else
            (*it)->close();
    }
}

} // namespace

WindowSession::WindowSession(RunParts& parts, WindowSessionOptions options, std::ostream& messages)
    : parts_(parts), options_(std::move(options)), messages_(messages) {}

WindowSession::~WindowSession() {
    CurrentTranslator().SetAppendFailureHandler({});
}

LanguageSettings WindowSession::Languages() const {
    return LanguageSettings{options_.settingsFile, ParentFolderOf(options_.settingsFile) + "/Languages/", false};
}

void WindowSession::StartTranslator(const HelpLocations& help) {
    const LanguageSettings languages = Languages();
    const int32_t locale = UserLocaleId();
    QtLanguageWindow firstStart(languages.languagesFolder, [this, help] {
        ShowHelp(kHelpLanguages, "", help, DesktopUrlOpener(), prompt_);
    });
    InitializeTranslator(languages, locale, &prompt_, &firstStart);
    ApplyLanguageFont(StoredLanguageFont(languages.iniFilePath), CurrentTranslator().Language(), locale);
    // The file is appended to from whichever thread translates; the box belongs to this one.
    CurrentTranslator().SetAppendFailureHandler([this] {
        QMetaObject::invokeMethod(this, [this] {
            prompt_.Ask(Translate("Unable to add to Language file"), Translate("Error"), PromptButtons::OK,
                        PromptIcon::Exclamation);
        }, Qt::QueuedConnection);
    });
}

void WindowSession::ConnectLanguageEntry(const HelpLocations& help) {
    QAction* entry = window_->FindAction(QStringLiteral("mnuLanguage"));
    if (!entry)
        return;
    connect(entry, &QAction::triggered, this, [this, help] {
        QtLanguageWindow window(Languages().languagesFolder, [this, help] {
            ShowHelp(kHelpLanguages, "", help, DesktopUrlOpener(), prompt_);
        }, window_.get());
        (void)ShowLanguageWindow(true, Languages(), window, prompt_);
    });
    entry->setEnabled(true);
}

void WindowSession::Start() {
    // The language and its font before the first window, so that every window is built in them.
    const HelpLocations help = InitializeHelp();
    StartTranslator(help);

    startup_ = std::make_unique<StartupWindow>(SLIDEMILL_VERSION);
    startup_->adjustSize();
    startup_->show();
    QApplication::processEvents();

    stored_ = StoredPlacement(options_.settingsFile);
    window_ = std::make_unique<MainWindow>(parts_, prompt_, options_.settingsFile);
    prompt_.SetParent(window_.get());
    ConnectHelpEntries(*window_, parts_.Component(), prompt_, help, DesktopUrlOpener());
    ConnectLanguageEntry(help);
    connect(window_.get(), &MainWindow::closing, this, [this] {
        SavePlacement(options_.settingsFile, CurrentFramePlacement(*window_, stored_));
        CloseOtherWindows(*window_);
        // After the close event has been accepted and the window is gone.
        QTimer::singleShot(0, this, &WindowSession::finished);
    });
    ApplyFramePlacement(*window_, stored_);
    window_->show();
    startup_->hide();
    if (!options_.jobToOpen.empty())
        window_->Model().OpenJob(options_.jobToOpen);

    // A desktop session ends its programs with SIGTERM; Ctrl+C and a closed terminal send
    // SIGINT and SIGHUP.
    signalDescriptor_ = TerminationSignalDescriptor();
    if (signalDescriptor_ >= 0) {
        signalNotifier_ = std::make_unique<QSocketNotifier>(signalDescriptor_, QSocketNotifier::Read);
        connect(signalNotifier_.get(), &QSocketNotifier::activated, this, [this] {
            if (DrainTerminationSignals(signalDescriptor_))
                EndFromOutside();
        });
    }
}

void WindowSession::EndFromOutside() {
    if (ending_ || !window_)
        return;
    ending_ = true;
    prompt_.SetEnding(true);
    CloseOtherWindows(*window_);
    JobDocument& job = window_->Model().Document();
    if (job.bAskToSaveMJBFileBeforeExit && TaskCount(job.fgToDo) > 0) {
        const std::string kept = KeepUnsavedJob(job, ParentFolderOf(options_.settingsFile));
        if (!kept.empty())
            messages_ << options_.programName
                      << ": ended from outside; the job's unsaved changes were written to \"" << kept
                      << "\" (the job's own file is unchanged).\n";
        else
            messages_ << options_.programName
                      << ": ended from outside; the job's unsaved changes could not be kept.\n";
    }
    CloseWhenNoDialogIsOpen();
}

void WindowSession::CloseWhenNoDialogIsOpen() {
    // A dismissed dialog returns its answer only once the signal's handler has returned: the
    // code that asked must finish before the window goes.
    if (QApplication::activeModalWidget()) {
        CloseOtherWindows(*window_);
        QTimer::singleShot(kDialogWaitMilliseconds, this, &WindowSession::CloseWhenNoDialogIsOpen);
        return;
    }
    // A running conversion pauses first; the window closes once the run has returned.
    window_->close();
}

} // namespace slidemill
