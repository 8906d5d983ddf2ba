// The scheduler window over its scheduler, offscreen on a fixed clock: the widgets mirror the
// form both ways, Begin locks and End unlocks, Done and Escape only hide, messages put the
// focus where the user can correct the value, and the picker fills the job file box. Then the
// window inside the main window: F8, the busy main window while a schedule waits, the countdown
// caption, Pause, the restart of a stored schedule, due runs through the window that never ask
// anything, and the schedule written at the close.
#include "ui/SchedulerWindow.h"

#include "core/JobFile.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "sched/SchedulerEvents.h"
#include "settings/IniFile.h"
#include "support/FakeRunParts.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "ui/MainWindow.h"
#include "ui/RunStatusBar.h"
#include "ui/WindowSession.h"

#include "sched/SchedulerFakes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

namespace slidemill {
namespace {

using namespace std::chrono_literals;

// Wednesday 9 December 2026, 10:00:00.
const Instant kStart = Instant{std::chrono::sys_days{std::chrono::year{2026} / 12 / 9}} + 10h;

template <typename T>
T* Find(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        ADD_FAILURE() << "no widget " << name;
    return widget;
}

// ---- The window over a scheduler ----

class SchedulerWindowTest : public ::testing::Test {
protected:
    test::TempFolder folder{"schedwin"};
    std::string settingsFile = folder.str() + "SLML_SearchHistory.INI";
    std::string job = folder.file("jobs/Nightly.MJB", "");
    test::FakeSchedulerClock clock{kStart};
    UtcZone zone;
    test::RecordingSchedulerEvents events;
    test::ScriptedPrompt prompt;
    SchedulerMessageBox messages{prompt};
    Scheduler scheduler{clock, zone, events, messages};
    std::unique_ptr<SchedulerWindow> window;

    void SetUp() override {
        scheduler.SetUpScheduler(settingsFile);
        window = std::make_unique<SchedulerWindow>(scheduler, prompt);
        messages.SetWindow(window.get());
    }
    void TearDown() override {
        window.reset();
        prompt.Finish();
    }

    QLineEdit& Box(const char* name) { return *Find<QLineEdit>(*window, name); }
    QRadioButton& Option(const char* name) { return *Find<QRadioButton>(*window, name); }
    QPushButton& Button(const char* name) { return *Find<QPushButton>(*window, name); }
    QComboBox& List(const char* name) { return *Find<QComboBox>(*window, name); }

    // Every ten seconds, the job file typed into the box.
    void EveryTenSeconds() {
        Option("optTimeBased").setChecked(true);
        Box("txtHours").setText("0");
        Box("txtMinutes").setText("0");
        Box("txtSeconds").setText("10");
        List("cbScheduledJobFile").setEditText(QString::fromStdString(job));
    }
    void ShowWindow() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    std::string LastMessage() const { return prompt.questions.empty() ? "" : prompt.questions.back().text; }
};

TEST_F(SchedulerWindowTest, EveryControlCarriesItsNameAndCaption) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Schedule a Job"));
    ASSERT_EQ(window->Tabs().count(), 2);
    EXPECT_EQ(window->Tabs().tabText(0), QStringLiteral("Set Up"));
    EXPECT_EQ(window->Tabs().tabText(1), QStringLiteral("Options"));
    EXPECT_EQ(Button("cmdStartTimer").text(), QStringLiteral("&Begin"));
    EXPECT_EQ(Button("cmdEndTimer").text(), QStringLiteral("&End"));
    EXPECT_EQ(Button("cmdDone").text(), QStringLiteral("&Done"));
    EXPECT_EQ(Button("cmdSelectScheduledJobFile").text(), QStringLiteral("  File.."));
    EXPECT_EQ(Option("optImmediately").text(), QStringLiteral("Immediately after the current job finishes (continuous)"));
    EXPECT_EQ(Option("optSkip").text(), QStringLiteral("Skip this run and set the timer for the next one"));
    EXPECT_EQ(Find<QCheckBox>(*window, "chkPersistRunning")->text(),
              QStringLiteral(" Automatically restart the timer on program load"));
    // The overrun choice and the restart box are on the second page.
    QWidget* options = window->Tabs().widget(1);
    EXPECT_TRUE(options->isAncestorOf(&Option("optSkip")));
    EXPECT_TRUE(options->isAncestorOf(Find<QCheckBox>(*window, "chkPersistRunning")));
    for (const char* name : {"chkSun", "chkMon", "chkTue", "chkWed", "chkThu", "chkFri", "chkSat"})
        EXPECT_NE(window->findChild<QCheckBox*>(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"txtNumDays", "txtNumWeeks", "txtDayOfMonth", "txtNumMonths"})
        EXPECT_NE(window->findChild<QLineEdit*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(List("cbHours").count(), 12);
    EXPECT_EQ(List("cbMinutes").itemText(59), QStringLiteral("59"));
    EXPECT_EQ(List("cbAmPm").count(), 2);
    EXPECT_EQ(window->Timer1().interval(), 1000);
    EXPECT_FALSE(window->Timer1().isActive());
}

TEST_F(SchedulerWindowTest, WidgetsAndFormFollowEachOther) {
    // The form as the settings left it shows in the widgets.
    scheduler.form.optDaily = false;
    scheduler.form.optWeekly = true;
    scheduler.form.txtNumWeeks = "2";
    scheduler.form.chkWed = true;
    scheduler.form.cbHours = "7";
    scheduler.form.cbMinutes = "05";
    scheduler.form.cbAmPm = "PM";
    scheduler.form.optSkip = true;
    scheduler.form.optImmediately = false;
    window->ShowForm();
    EXPECT_TRUE(Option("optWeekly").isChecked());
    EXPECT_FALSE(Option("optDaily").isChecked());
    EXPECT_EQ(Box("txtNumWeeks").text(), QStringLiteral("2"));
    EXPECT_TRUE(Find<QCheckBox>(*window, "chkWed")->isChecked());
    EXPECT_EQ(List("cbHours").currentText(), QStringLiteral("7"));
    EXPECT_EQ(List("cbAmPm").currentText(), QStringLiteral("PM"));
    EXPECT_TRUE(Option("optSkip").isChecked());
    // Only the weekly frame shows.
    EXPECT_TRUE(Find<QGroupBox>(*window, "fraWeekly")->isVisibleTo(window.get()));
    EXPECT_FALSE(Find<QGroupBox>(*window, "fraDaily")->isVisibleTo(window.get()));
    EXPECT_FALSE(Find<QGroupBox>(*window, "fraMonthly")->isVisibleTo(window.get()));

    // What the user changes goes back at once.
    Option("optMonthly").setChecked(true);
    Box("txtDayOfMonth").setText("31");
    Find<QCheckBox>(*window, "chkFri")->setChecked(true);
    List("cbMinutes").setCurrentText("45");
    Find<QCheckBox>(*window, "chkPersistRunning")->setChecked(true);
    EXPECT_TRUE(scheduler.form.optMonthly);
    EXPECT_FALSE(scheduler.form.optWeekly);
    EXPECT_EQ(scheduler.form.txtDayOfMonth, "31");
    EXPECT_TRUE(scheduler.form.chkFri);
    EXPECT_EQ(scheduler.form.cbMinutes, "45");
    EXPECT_TRUE(scheduler.form.chkPersistRunning);
    EXPECT_TRUE(Find<QGroupBox>(*window, "fraMonthly")->isVisibleTo(window.get()));
}

TEST_F(SchedulerWindowTest, BeginLocksTheScheduleAndEndResetsIt) {
    EveryTenSeconds();
    EXPECT_FALSE(Button("cmdEndTimer").isEnabled());
    Button("cmdStartTimer").click();

    EXPECT_TRUE(scheduler.bSchedularEnabled());
    EXPECT_TRUE(window->Timer1().isActive());
    EXPECT_TRUE(Button("cmdEndTimer").isEnabled());
    for (const char* name : {"cmdStartTimer", "cmdSelectScheduledJobFile"})
        EXPECT_FALSE(Button(name).isEnabled()) << name;
    for (const char* name : {"txtHours", "txtSeconds", "txtNumDays", "txtNumWeeks", "txtDayOfMonth", "txtNumMonths"})
        EXPECT_FALSE(Box(name).isEnabled()) << name;
    for (const char* name : {"optTimeBased", "optCalendarBased", "optDaily", "optWeekly", "optNumDays", "optWeekdays"})
        EXPECT_FALSE(Option(name).isEnabled()) << name;
    EXPECT_FALSE(List("cbScheduledJobFile").isEnabled());
    EXPECT_FALSE(List("cbHours").isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(*window, "chkSun")->isEnabled());
    // Done and the options page stay available.
    EXPECT_TRUE(Button("cmdDone").isEnabled());
    EXPECT_TRUE(Option("optSkip").isEnabled());
    // The scheduled file became the newest of the box's list.
    EXPECT_EQ(List("cbScheduledJobFile").itemText(0), QString::fromStdString(job));

    Button("cmdEndTimer").click();
    EXPECT_FALSE(scheduler.bSchedularEnabled());
    EXPECT_FALSE(window->Timer1().isActive());
    EXPECT_FALSE(Button("cmdEndTimer").isEnabled());
    EXPECT_TRUE(Button("cmdStartTimer").isEnabled());
    EXPECT_TRUE(Box("txtSeconds").isEnabled());
    EXPECT_TRUE(List("cbScheduledJobFile").isEnabled());
}

TEST_F(SchedulerWindowTest, DoneAndEscapeHideTheWindowAndTheScheduleKeepsRunning) {
    EveryTenSeconds();
    ShowWindow();
    Button("cmdStartTimer").click();
    Button("cmdDone").click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(scheduler.bSchedularEnabled());
    EXPECT_TRUE(window->Timer1().isActive());

    ShowWindow();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(scheduler.bSchedularEnabled());
}

TEST_F(SchedulerWindowTest, CtrlTabCyclesThePagesBothWays) {
    ShowWindow();
    QTabWidget& tabs = window->Tabs();
    ASSERT_EQ(tabs.currentIndex(), 0);
    QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs.currentIndex(), 1);
    QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs.currentIndex(), 0);
    QTest::keyClick(window.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs.currentIndex(), 1);
}

TEST_F(SchedulerWindowTest, AMessageIsShownAndTheOffendingBoxGetsTheFocusWithItsTextSelected) {
    EveryTenSeconds();
    ShowWindow();
    window->Tabs().setCurrentIndex(1);
    Box("txtHours").setText("-1");
    prompt.Answer(PromptAnswer::OK);
    Button("cmdStartTimer").click();
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text, "Invalid time for hours");
    EXPECT_EQ(prompt.questions[0].buttons, PromptButtons::OK);
    EXPECT_FALSE(scheduler.bSchedularEnabled());
    EXPECT_FALSE(window->Timer1().isActive());
    // The box is on the first page, which is shown for it.
    EXPECT_EQ(window->Tabs().currentIndex(), 0);
    EXPECT_EQ(window->focusWidget(), &Box("txtHours"));
    EXPECT_EQ(Box("txtHours").selectedText(), QStringLiteral("-1"));

    // A missing job file of a calendar schedule: the picker takes the focus, the box's text is
    // selected.
    Option("optCalendarBased").setChecked(true);
    List("cbScheduledJobFile").setEditText(QString::fromStdString(folder.str() + "gone.MJB"));
    prompt.Answer(PromptAnswer::OK);
    Button("cmdStartTimer").click();
    EXPECT_EQ(LastMessage(), "Job file does not exist");
    EXPECT_EQ(window->focusWidget(), &Button("cmdSelectScheduledJobFile"));
    EXPECT_EQ(List("cbScheduledJobFile").lineEdit()->selectedText(),
              QString::fromStdString(folder.str() + "gone.MJB"));
}

TEST_F(SchedulerWindowTest, AnEmptyIntervalBoxBecomesZeroOnTheScreenToo) {
    EveryTenSeconds();
    Box("txtMinutes").setText("");
    Button("cmdStartTimer").click();
    EXPECT_TRUE(scheduler.bSchedularEnabled());
    EXPECT_EQ(Box("txtMinutes").text(), QStringLiteral("0"));
}

TEST_F(SchedulerWindowTest, AHiddenDaysOrWeeksBoxTakesOneInsteadOfTheFocus) {
    ShowWindow();
    List("cbScheduledJobFile").setEditText(QString::fromStdString(job));
    Option("optCalendarBased").setChecked(true);
    // Weekly is shown; the days box of the daily frame holds something that is not a number.
    Option("optWeekly").setChecked(true);
    Find<QCheckBox>(*window, "chkMon")->setChecked(true);
    Box("txtNumDays").setText("x");
    prompt.Answer(PromptAnswer::OK);
    Button("cmdStartTimer").click();
    EXPECT_EQ(LastMessage(), "Invalid number of days entered.");
    EXPECT_EQ(Box("txtNumDays").text(), QStringLiteral("1"));
    EXPECT_EQ(scheduler.form.txtNumDays, "1");
    EXPECT_FALSE(scheduler.bSchedularEnabled());
    // The next Begin passes.
    Button("cmdStartTimer").click();
    EXPECT_TRUE(scheduler.bSchedularEnabled());
    Button("cmdEndTimer").click();

    // In its own frame the weeks box keeps its text and gets the focus.
    Box("txtNumWeeks").setText("0");
    prompt.Answer(PromptAnswer::OK);
    Button("cmdStartTimer").click();
    EXPECT_EQ(LastMessage(), "Invalid number of weeks entered.");
    EXPECT_EQ(Box("txtNumWeeks").text(), QStringLiteral("0"));
    EXPECT_EQ(window->focusWidget(), &Box("txtNumWeeks"));
}

TEST_F(SchedulerWindowTest, ThePickerFillsTheBoxAndItsListOrSaysWhy) {
    prompt.PickFileAnswer("");
    prompt.Answer(PromptAnswer::OK);
    Button("cmdSelectScheduledJobFile").click();
    ASSERT_EQ(prompt.fileRequests.size(), 1u);
    EXPECT_EQ(prompt.fileRequests[0].title, "Select .MJB Job File");
    EXPECT_NE(prompt.fileRequests[0].filter.find("*.mjb"), std::string::npos);
    EXPECT_NE(prompt.fileRequests[0].filter.find("*.MJB"), std::string::npos);
    EXPECT_EQ(LastMessage(), "Please select a job file");

    prompt.PickFileAnswer(folder.str() + "missing.MJB");
    prompt.Answer(PromptAnswer::OK);
    Button("cmdSelectScheduledJobFile").click();
    EXPECT_EQ(LastMessage(), "Job file does not exist");
    EXPECT_EQ(List("cbScheduledJobFile").count(), 0);

    const std::string other = folder.file("jobs/Other.mjb", "");
    prompt.PickFileAnswer(job);
    Button("cmdSelectScheduledJobFile").click();
    prompt.PickFileAnswer(other);
    Button("cmdSelectScheduledJobFile").click();
    EXPECT_EQ(List("cbScheduledJobFile").currentText(), QString::fromStdString(other));
    ASSERT_EQ(List("cbScheduledJobFile").count(), 2);
    EXPECT_EQ(List("cbScheduledJobFile").itemText(0), QString::fromStdString(other));
    EXPECT_EQ(List("cbScheduledJobFile").itemText(1), QString::fromStdString(job));
    EXPECT_EQ(scheduler.form.cbScheduledJobFile, other);
}

TEST_F(SchedulerWindowTest, ATimerTickRunsTheDueJobFromTheEventLoopNotFromTheTimer) {
    EveryTenSeconds();
    Button("cmdStartTimer").click();
    bool timerActiveDuringRun = false;
    events.duringRun = [&] { timerActiveDuringRun = window->Timer1().isActive(); };

    clock.now = kStart + 9s;
    window->Timer1_Timer();
    EXPECT_TRUE(events.remaining.empty()); // the tick waits for the event loop
    QApplication::processEvents();
    EXPECT_TRUE(events.runs.empty());
    ASSERT_EQ(events.remaining.size(), 1u);
    EXPECT_EQ(events.remaining.back(), (TimeRemaining{0, 0, 0, 1}));

    clock.now = kStart + 10s;
    window->Timer1_Timer();
    QApplication::processEvents();
    ASSERT_EQ(events.runs.size(), 1u);
    EXPECT_EQ(events.runs[0], job);
    EXPECT_TRUE(timerActiveDuringRun);
    EXPECT_TRUE(window->Timer1().isActive());
}

TEST_F(SchedulerWindowTest, APausedRunStopsTheScheduleAndFreesTheControls) {
    EveryTenSeconds();
    Button("cmdStartTimer").click();
    window->ConversionJobPaused();
    EXPECT_FALSE(scheduler.bSchedularEnabled());
    EXPECT_FALSE(window->Timer1().isActive());
    EXPECT_TRUE(Button("cmdStartTimer").isEnabled());
    EXPECT_FALSE(Button("cmdEndTimer").isEnabled());
}

// ---- Inside the main window ----

class ScheduledWindowTest : public ::testing::Test {
protected:
    test::TempFolder folder{"schedmain"};
    test::FakeRunParts parts;
    test::ScriptedPrompt prompt;
    std::string settingsFile = folder.str() + "settings/SLML_SearchHistory.INI";
    test::FakeSchedulerClock clock{kStart};
    UtcZone zone;
    std::unique_ptr<MainWindow> window;

    void SetUp() override { std::filesystem::create_directories(folder.path() / "settings"); }
    void TearDown() override {
        if (window && window->isVisible()) {
            if (window->Model().Document().bAskToSaveMJBFileBeforeExit)
                prompt.Answer(PromptAnswer::No);
            window->close();
        }
        window.reset();
        prompt.Finish();
    }

    void Open() {
        window = std::make_unique<MainWindow>(parts, prompt, settingsFile, nullptr, &clock, &zone);
    }
    SchedulerWindow& Sched() { return window->Scheduler(); }
    QAction& Action(const char* name) { return *window->FindAction(QString::fromLatin1(name)); }

    clsConversionOptions Task(const std::string& source) {
        clsConversionOptions task;
        task.sActionToDo = "C";
        task.lConversionMethod = kMethodComponent;
        task.sOriginalFile = source;
        task.lOriginalFileType = 3;
        task.sTargetFile = folder.str() + "out/" + std::filesystem::path(source).stem().string() + ".pdf";
        task.lTargetFileType = 32;
        return task;
    }
    // A job file converting the named decks to out/.
    std::string JobFile(const std::string& name, const std::vector<std::string>& decks) {
        Grid grid(kTaskGridCols);
        InitTaskGrid(grid);
        for (const std::string& deck : decks)
            AppendTaskRow(Task(folder.file("in/" + deck, "slides")), grid, &parts.component);
        const std::string path = folder.str() + "jobs/" + name;
        std::filesystem::create_directories(folder.path() / "jobs");
        EXPECT_TRUE(WriteJobFile(path, grid));
        return path;
    }
    // Starts an interval schedule of the job through the window's controls.
    void ScheduleEvery(int seconds, const std::string& jobFile) {
        SchedulerWindow& w = Sched();
        Find<QRadioButton>(w, "optTimeBased")->setChecked(true);
        Find<QLineEdit>(w, "txtSeconds")->setText(QString::number(seconds));
        Find<QComboBox>(w, "cbScheduledJobFile")->setEditText(QString::fromStdString(jobFile));
        w.cmdStartTimer_Click();
        ASSERT_TRUE(w.Model().bSchedularEnabled());
    }
    void Tick() {
        Sched().Timer1_Timer();
        QApplication::processEvents();
    }
    std::vector<std::string> LogMessages() {
        const Grid& log = window->Model().Document().fgLog;
        std::vector<std::string> texts;
        for (int row = 1; row < log.Rows(); ++row)
            if (!log.CellText(row, kColStatus).empty())
                texts.push_back(log.CellText(row, kColStatus));
        return texts;
    }
    bool LogHas(const std::string& part) {
        for (const std::string& text : LogMessages())
            if (text.find(part) != std::string::npos)
                return true;
        return false;
    }
};

TEST_F(ScheduledWindowTest, F8OpensTheSchedulerModallyAndAWaitingScheduleMakesTheWindowBusy) {
    Open();
    const std::string job = JobFile("a.MJB", {"a.pptx"});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(Action("mnuScheduleConversionJob").isEnabled());
    EXPECT_EQ(Action("mnuScheduleConversionJob").shortcut(), QKeySequence(Qt::Key_F8));

    bool wasModal = false;
    QTimer::singleShot(0, window.get(), [&] {
        wasModal = Sched().isModal() && Sched().isVisible();
        ScheduleEvery(30, job);
        Find<QPushButton>(Sched(), "cmdDone")->click();
    });
    Action("mnuScheduleConversionJob").trigger();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(Sched().isVisible());
    EXPECT_TRUE(Sched().Model().bSchedularEnabled());

    // Like a run: only Pause is offered.
    EXPECT_TRUE(Action("keyPause").isEnabled());
    for (const char* name : {"keyConvert", "keyNew", "keyOpen", "keyAdd", "mnuBeginConversionJob"})
        EXPECT_FALSE(Action(name).isEnabled()) << name;

    // The countdown is the frame's caption.
    clock.now = kStart + 5s;
    Tick();
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("25 seconds before next run.")))
        << window->windowTitle().toStdString();

    // Pause ends the waiting schedule: the window is free again and the caption is the frame's.
    Action("keyPause").trigger();
    EXPECT_FALSE(Sched().Model().bSchedularEnabled());
    EXPECT_FALSE(Sched().Timer1().isActive());
    EXPECT_FALSE(Sched().Model().Locked());
    EXPECT_TRUE(Action("keyConvert").isEnabled());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("* - 'Slidemill'"));
}

TEST_F(ScheduledWindowTest, ClosingTheSchedulerWithoutASchedulePutsTheFrameCaptionBack) {
    Open();
    const std::string job = JobFile("a.MJB", {"a.pptx"});
    ScheduleEvery(30, job);
    clock.now = kStart + 1s;
    Tick();
    ASSERT_TRUE(window->windowTitle().contains(QStringLiteral("before next run")));
    QTimer::singleShot(0, window.get(), [&] {
        Find<QPushButton>(Sched(), "cmdEndTimer")->click();
        QTest::keyClick(&Sched(), Qt::Key_Escape);
    });
    window->ScheduleConversionJob();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("* - 'Slidemill'"));
    EXPECT_TRUE(Action("keyConvert").isEnabled());
}

TEST_F(ScheduledWindowTest, ADueTickOpensRewindsAndRunsTheJobFromItsFirstTask) {
    Open();
    const std::string job = JobFile("Nightly.MJB", {"a.pptx", "b.pptx"});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ScheduleEvery(10, job);

    clock.now = kStart + 10s;
    Tick();
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out/a.pdf"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out/b.pdf"));
    EXPECT_EQ(window->Model().Document().sJobFile, job);
    EXPECT_EQ(window->Model().Document().fgToDo.CellText(2, kColPass), "+");
    EXPECT_EQ(parts.component.calls.size(), 2u);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Nightly.MJB - ")));
    // The schedule goes on waiting, and the window stays busy.
    EXPECT_TRUE(Sched().Model().bSchedularEnabled());
    EXPECT_FALSE(Action("keyConvert").isEnabled());

    // The next run starts at task 1 again, with the job as stored.
    clock.now = kStart + 20s;
    Tick();
    EXPECT_EQ(parts.component.calls.size(), 4u);
}

TEST_F(ScheduledWindowTest, UnsavedChangesGoToARecoveryJobAndNothingIsAsked) {
    Open();
    const std::string job = JobFile("Nightly.MJB", {"a.pptx"});
    // The user's own job: one task, never saved.
    AppendTaskRow(Task(folder.file("in/mine.pptx", "slides")), window->Model().Document().fgToDo,
                  &parts.component);
    window->Model().Document().MarkChanged();
    ScheduleEvery(10, job);

    clock.now = kStart + 10s;
    Tick(); // the scripted prompt fails the test on any question

    const std::filesystem::path kept = folder.path() / "settings/Unsaved Conversion Job.MJB";
    ASSERT_TRUE(std::filesystem::exists(kept));
    Grid keptTasks(kTaskGridCols);
    ASSERT_EQ(LoadJobFile(kept.string(), 1, keptTasks).status, JobLoadStatus::Loaded);
    EXPECT_NE(keptTasks.CellText(1, kColOriginal).find("mine.pptx"), std::string::npos);
    // The scheduled job ran, and the log and the status bar name the recovery file.
    EXPECT_EQ(window->Model().Document().sJobFile, job);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out/a.pdf"));
    EXPECT_TRUE(LogHas(kept.string())) << "log lines: " << LogMessages().size();
    EXPECT_NE(window->StatusPanels().Panel(StatusPanel::CurrentFile).text().toStdString().find(kept.string()),
              std::string::npos);
}

TEST_F(ScheduledWindowTest, AnEditorChangeNotYetInItsRowIsKeptToo) {
    Open();
    const std::string job = JobFile("Nightly.MJB", {"a.pptx"});
    MainWindowModel& model = window->Model();
    folder.folder("out");
    AppendTaskRow(Task(folder.file("in/mine.pptx", "slides")), model.Document().fgToDo, &parts.component);
    model.Document().MarkChanged();
    model.Document().fgToDo.SetRow(1);
    model.CurrentRowChanged();
    // The user changes the target of the task and has not pressed Update.
    model.PathEdited(EditorPathField::Target, folder.str() + "out/changed.pdf");
    ASSERT_TRUE(model.EditorDirty());
    ScheduleEvery(10, job);

    clock.now = kStart + 10s;
    Tick();
    const std::filesystem::path kept = folder.path() / "settings/Unsaved Conversion Job.MJB";
    ASSERT_TRUE(std::filesystem::exists(kept));
    Grid keptTasks(kTaskGridCols);
    ASSERT_EQ(LoadJobFile(kept.string(), 1, keptTasks).status, JobLoadStatus::Loaded);
    EXPECT_NE(keptTasks.CellText(1, kColTarget).find("changed.pdf"), std::string::npos);
    EXPECT_EQ(model.Document().sJobFile, job);
}

TEST_F(ScheduledWindowTest, AJobFileThatCannotBeOpenedIsLoggedAndTheScheduleGoesOn) {
    Open();
    const std::string job = JobFile("Nightly.MJB", {"a.pptx"});
    ScheduleEvery(10, job);
    std::filesystem::remove(job);

    clock.now = kStart + 10s;
    Tick(); // no box: the scripted prompt would fail the test
    EXPECT_TRUE(LogHas("The conversion job file does not exist:"));
    EXPECT_TRUE(LogHas(job));
    EXPECT_TRUE(Sched().Model().bSchedularEnabled());
    EXPECT_TRUE(parts.component.calls.empty());
}

TEST_F(ScheduledWindowTest, ATickDuringARunStartedByHandOnlyLogsThatTheRunWasSkipped) {
    Open();
    const std::string scheduled = JobFile("Nightly.MJB", {"night.pptx"});
    AppendTaskRow(Task(folder.file("in/byhand.pptx", "slides")), window->Model().Document().fgToDo,
                  &parts.component);
    window->Model().UpdateMenuToolbar();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // While the run by hand converts, a schedule is begun (the window's Convert would be
    // unavailable with a schedule waiting; automation or the F8 window during a run can do it)
    // and falls due at once.
    MainWindow* target = window.get();
    std::atomic<bool> tickDone{false};
    bool schedulerOfferedDuringRun = true;
    parts.component.onConvert = [&](const ConversionProperties& properties) {
        if (properties.SourceFile.find("byhand") == std::string::npos)
            return;
        QMetaObject::invokeMethod(target, [&] {
            // The modal scheduler window would hold the run up: it is not offered meanwhile.
            schedulerOfferedDuringRun = Action("mnuScheduleConversionJob").isEnabled();
            ScheduleEvery(10, scheduled);
            clock.now = kStart + 10s;
            Sched().Timer1_Timer();
            QTimer::singleShot(0, target, [&] { tickDone = true; });
        });
        for (int i = 0; i < 500 && !tickDone; ++i)
            std::this_thread::sleep_for(10ms);
    };
    Action("keyConvert").trigger();
    ASSERT_TRUE(tickDone);
    EXPECT_FALSE(schedulerOfferedDuringRun);
    EXPECT_TRUE(Action("mnuScheduleConversionJob").isEnabled());
    EXPECT_TRUE(LogHas("The scheduled run was skipped because another conversion job is running:"));
    EXPECT_TRUE(LogHas(scheduled));
    // Only the run by hand converted, and the schedule still waits for its next run.
    ASSERT_EQ(parts.component.calls.size(), 1u);
    EXPECT_NE(parts.component.calls[0].SourceFile.find("byhand"), std::string::npos);
    EXPECT_TRUE(Sched().Model().bSchedularEnabled());
}

// A stored schedule as the window writes it at its close: every interval seconds, to restart.
void StoreSchedule(const std::string& settingsFile, const std::string& job, bool restart) {
    test::FakeSchedulerClock clock{kStart};
    UtcZone zone;
    test::RecordingSchedulerEvents events;
    test::RecordingPrompts prompts;
    Scheduler scheduler(clock, zone, events, prompts);
    scheduler.SetUpScheduler(settingsFile);
    scheduler.JobFilePicked(job);
    scheduler.form.optTimeBased = true;
    scheduler.form.optCalendarBased = false;
    scheduler.form.txtSeconds = "15";
    scheduler.form.chkPersistRunning = restart;
    IniFile ini(settingsFile);
    ASSERT_EQ(scheduler.Unload(ini, false), kScheduleOk);
}

TEST_F(ScheduledWindowTest, AStoredScheduleRestartsWhenTheWindowLoads) {
    const std::string job = JobFile("Nightly.MJB", {"a.pptx"});
    StoreSchedule(settingsFile, job, true);
    Open();
    // Once the event loop runs (in the program: once the window is shown).
    EXPECT_FALSE(Sched().Model().bSchedularEnabled());
    QApplication::processEvents();
    EXPECT_TRUE(Sched().Model().bSchedularEnabled());
    EXPECT_TRUE(Sched().Timer1().isActive());
    EXPECT_TRUE(Sched().Model().Locked());
    EXPECT_FALSE(Find<QPushButton>(Sched(), "cmdStartTimer")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>(Sched(), "txtSeconds")->text(), QStringLiteral("15"));
    EXPECT_FALSE(Action("keyConvert").isEnabled());

    clock.now = kStart + 15s;
    Tick();
    EXPECT_EQ(window->Model().Document().sJobFile, job);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out/a.pdf"));
}

TEST_F(ScheduledWindowTest, AStoredScheduleWhoseJobIsGoneSaysSoAndStaysStopped) {
    const std::string job = JobFile("Nightly.MJB", {"a.pptx"});
    StoreSchedule(settingsFile, job, true);
    std::filesystem::remove(job);
    Open();
    prompt.Answer(PromptAnswer::OK);
    QApplication::processEvents();
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text, "Job file does not exist");
    EXPECT_FALSE(Sched().Model().bSchedularEnabled());
    EXPECT_FALSE(Sched().Timer1().isActive());
    EXPECT_TRUE(Action("keyConvert").isEnabled());
}

TEST_F(ScheduledWindowTest, AStoredScheduleWithoutRestartOnlyFillsTheForm) {
    const std::string job = JobFile("Nightly.MJB", {"a.pptx"});
    StoreSchedule(settingsFile, job, false);
    Open();
    QApplication::processEvents();
    EXPECT_FALSE(Sched().Model().bSchedularEnabled());
    EXPECT_FALSE(Sched().Timer1().isActive());
    EXPECT_TRUE(Find<QRadioButton>(Sched(), "optTimeBased")->isChecked());
    EXPECT_EQ(Find<QComboBox>(Sched(), "cbScheduledJobFile")->currentText(), QString::fromStdString(job));
    EXPECT_TRUE(Action("keyConvert").isEnabled());
}

TEST_F(ScheduledWindowTest, TheCloseWritesTheScheduleAndItsJobFileList) {
    Open();
    const std::string job = JobFile("Nightly.MJB", {"a.pptx"});
    Find<QCheckBox>(Sched(), "chkPersistRunning")->setChecked(true);
    ScheduleEvery(45, job);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->close();
    const IniFile ini(settingsFile);
    EXPECT_EQ(ini.ReadString("frmScheduler", "chkPersistRunning", ""), "1");
    EXPECT_EQ(ini.ReadString("frmScheduler", "txtSeconds", ""), "45");
    EXPECT_EQ(ini.ReadString("frmScheduler", "cbScheduledJobFile", ""), job);
    EXPECT_EQ(ini.ReadString("mruScheduleSource", "mruScheduleSource1", ""), job);

    // The next start runs it again by itself.
    window.reset();
    Open();
    QApplication::processEvents();
    EXPECT_TRUE(Sched().Model().bSchedularEnabled());
}

TEST(ScheduledSessionTest, ASignalClosesTheWindowAndTheScheduleIsStillWritten) {
    test::TempFolder folder{"schedsession"};
    test::FakeRunParts parts;
    std::ostringstream messages;
    WindowSessionOptions options;
    options.settingsFile = folder.str() + "SLML_SearchHistory.INI";
    const std::string job = folder.file("Nightly.MJB", "");
    WindowSession session(parts, options, messages);
    session.Start();
    SchedulerWindow& sched = session.Window().Scheduler();
    Find<QRadioButton>(sched, "optTimeBased")->setChecked(true);
    Find<QLineEdit>(sched, "txtMinutes")->setText("5");
    Find<QCheckBox>(sched, "chkPersistRunning")->setChecked(true);
    Find<QComboBox>(sched, "cbScheduledJobFile")->setEditText(QString::fromStdString(job));
    sched.cmdStartTimer_Click();
    ASSERT_TRUE(sched.Model().bSchedularEnabled());

    QSignalSpy finished(&session, &WindowSession::finished);
    session.EndFromOutside();
    ASSERT_TRUE(finished.wait(5000));
    const IniFile ini(options.settingsFile);
    EXPECT_EQ(ini.ReadString("frmScheduler", "chkPersistRunning", ""), "1");
    EXPECT_EQ(ini.ReadString("frmScheduler", "txtMinutes", ""), "5");
    EXPECT_EQ(ini.ReadString("mruScheduleSource", "mruScheduleSource1", ""), job);
}

} // namespace
} // namespace slidemill
