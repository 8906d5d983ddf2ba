// The main window end to end, offscreen: its commands follow the model's rules, runs show their
// marks, log rows and progress, Pause works while one long conversion runs, and a close during a
// run waits for it. Every question goes to a scripted prompt.
#include "ui/MainWindow.h"

#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "support/FakeRunParts.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "ui/GridTableModel.h"
#include "ui/RunStatusBar.h"
#include "ui/TaskEditorWidget.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace slidemill {
namespace {

using namespace std::chrono_literals;

class MainWindowTest : public ::testing::Test {
protected:
    test::TempFolder folder{"window"};
    test::FakeRunParts parts;
    test::ScriptedPrompt prompt;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        window = std::make_unique<MainWindow>(parts, prompt, folder.str() + "slidemill.ini");
    }
    void TearDown() override {
        if (window && window->isVisible()) {
            // A changed job asks to be saved when the window closes: the test says no.
            if (window->Model().Document().bAskToSaveMJBFileBeforeExit)
                prompt.Answer(PromptAnswer::No);
            window->close();
        }
        window.reset();
        prompt.Finish();
    }

    QAction& Action(const char* name) {
        QAction* action = window->FindAction(QString::fromLatin1(name));
        if (!action)
            ADD_FAILURE() << "no action " << name;
        static QAction none;
        return action ? *action : none;
    }
    bool Enabled(const char* name) { return Action(name).isEnabled(); }
    bool Visible(const char* name) { return Action(name).isVisible(); }
    // The editor's command buttons: cmdAdd, cmdRemove, cmdUpdate, cmdPause.
    bool ButtonEnabled(const char* name) {
        auto* button = window->Editor().findChild<QPushButton*>(QString::fromLatin1(name));
        if (!button)
            ADD_FAILURE() << "no button " << name;
        return button && button->isEnabled();
    }

    // A conversion task of the given source, to PDF in out/.
    void AddTask(const std::string& source) {
        clsConversionOptions task;
        task.sActionToDo = "C";
        task.lConversionMethod = kMethodComponent;
        task.sOriginalFile = source;
        task.lOriginalFileType = 3;
        task.sTargetFile = folder.str() + "out/" + std::filesystem::path(source).stem().string() + ".pdf";
        task.lTargetFileType = 32;
        AppendTaskRow(task, window->Model().Document().fgToDo, &parts.component);
        window->Model().Document().MarkChanged();
        window->Model().UpdateMenuToolbar();
    }
    std::string Deck(const std::string& name) { return folder.file("in/" + name, "slides"); }
    Grid& Tasks() { return window->Model().Document().fgToDo; }
    QString Panel(StatusPanel panel) { return window->StatusPanels().Panel(panel).text(); }
};

TEST_F(MainWindowTest, CaptionsTooltipsAndShortcutsOfTheCommands) {
    EXPECT_EQ(Action("keyNew").text(), QStringLiteral("New"));
    EXPECT_EQ(Action("keyNew").toolTip(), QStringLiteral("Create a new conversion job"));
    EXPECT_EQ(Action("keyRemove").toolTip(),
              QStringLiteral("Remove currently selected conversion Task (Del)"));
    EXPECT_EQ(Action("keyConvert").toolTip(), QStringLiteral("Begin Conversion (F5)"));
    ASSERT_NE(Action("keyOpen").menu(), nullptr);
    QStringList dropDown;
    for (QAction* entry : Action("keyOpen").menu()->actions())
        dropDown << entry->text();
    EXPECT_EQ(dropDown, (QStringList{"Save Conversion Job", "Save Conversion Job As..",
                                     "Open Conversion Job..", "Save &Log as a Conversion Job"}));
    EXPECT_EQ(Action("mnuBeginConversionJob").shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(Action("mnuPause").shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(Action("mnuRewindConversionJob").shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(Action("mnuScheduleConversionJob").shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(Action("mnuNewConversionJob").shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(Action("mnuSaveConversionJob").shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(Action("mnuExit").text(), QStringLiteral("E&xit"));
    EXPECT_EQ(Action("mnuWebHelpMostUpToDate").text(), QStringLiteral("Web Help (Most up to date)"));
    // The scheduler is always at hand, also to end a schedule that waits.
    EXPECT_TRUE(Enabled("mnuScheduleConversionJob"));
    // Their windows come later: the entries are there and unavailable.
    EXPECT_FALSE(Enabled("mnuLanguage"));
    QStringList popup;
    for (QAction* entry : window->GridPopup().actions())
        popup << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
    EXPECT_EQ(popup, (QStringList{"Move Up (Ctrl+U)", "Move Down (Ctrl+D)", "Move to First", "Move To Last",
                                  "-", "&Delete"}));
    EXPECT_EQ(window->TaskView().contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_EQ(window->TaskView().selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(window->Tabs().tabText(0), QStringLiteral("Select Files/Folders"));
    EXPECT_EQ(window->Tabs().tabText(1), QStringLiteral("Log"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("* - 'Slidemill'"));
    // Columns the user never reads take no room.
    EXPECT_TRUE(window->TaskView().isColumnHidden(kColOptions));
    EXPECT_FALSE(window->TaskView().isColumnHidden(kColOriginal));
}

TEST_F(MainWindowTest, AnEmptyJobOffersNeitherDeleteNorUpdateNorMovesButSaves) {
    EXPECT_TRUE(Enabled("keyNew"));
    EXPECT_TRUE(Enabled("keyOpen"));
    EXPECT_TRUE(Enabled("keyAdd"));
    EXPECT_TRUE(Enabled("mnuAddConversionJob"));
    EXPECT_TRUE(Enabled("keyConvert"));
    EXPECT_TRUE(Enabled("mnuBeginConversionJob"));
    EXPECT_FALSE(Enabled("keyPause"));
    EXPECT_FALSE(Enabled("mnuPause"));
    EXPECT_FALSE(Enabled("keyRemove"));
    EXPECT_FALSE(Enabled("mnuRemoveConversionJob"));
    EXPECT_FALSE(Enabled("mnuPopupDelete"));
    EXPECT_FALSE(Enabled("keyUpdate"));
    EXPECT_FALSE(Enabled("keyRewind"));
    EXPECT_TRUE(Enabled("KeySave"));
    EXPECT_TRUE(Enabled("mnuSaveConversionJob"));
    EXPECT_TRUE(Enabled("mnuSaveConversionJobAs"));
    EXPECT_FALSE(Enabled("KeySaveLogAsConversionJob"));
    EXPECT_FALSE(Enabled("mnuSaveLogAsConversionJob"));
    EXPECT_FALSE(Visible("mnuPopupMoveUp"));
    EXPECT_FALSE(Visible("mnuPopupMoveDown"));
    EXPECT_TRUE(ButtonEnabled("cmdAdd"));
    EXPECT_FALSE(ButtonEnabled("cmdRemove"));
    EXPECT_FALSE(ButtonEnabled("cmdUpdate"));
    EXPECT_FALSE(ButtonEnabled("cmdPause"));
}

TEST_F(MainWindowTest, OneTaskCannotBeDeletedOrRewoundAndThreeTasksMoveByRow) {
    AddTask(Deck("a.pptx"));
    Tasks().SetRow(1);
    window->Model().UpdateMenuToolbar();
    EXPECT_FALSE(Enabled("keyRemove"));
    EXPECT_FALSE(Enabled("keyRewind"));
    EXPECT_FALSE(Visible("mnuPopupMoveDown"));

    AddTask(Deck("b.pptx"));
    AddTask(Deck("c.pptx"));
    // The user picks the first task in the grid.
    window->TaskView().selectionModel()->setCurrentIndex(window->TaskView().model()->index(0, kColNumber),
                                                         QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    EXPECT_EQ(Tasks().Row(), 1);
    EXPECT_TRUE(Enabled("keyRemove"));
    EXPECT_TRUE(Enabled("mnuPopupDelete"));
    EXPECT_FALSE(Enabled("keyUpdate"));
    EXPECT_FALSE(Visible("mnuMoveUp"));
    EXPECT_FALSE(Visible("mnuPopupMoveUp"));
    EXPECT_TRUE(Visible("mnuMoveDown"));
    EXPECT_TRUE(Visible("mnuPopupMoveLast"));

    // Ctrl+D in the grid moves it down; the numbers stay in order and the view follows.
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->TaskView().setFocus();
    QTest::keyClick(&window->TaskView(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Tasks().Row(), 2);
    EXPECT_NE(Tasks().CellText(2, kColOriginal).find("a.pptx"), std::string::npos);
    EXPECT_EQ(Tasks().CellText(1, kColNumber), "1");
    EXPECT_EQ(Tasks().CellText(2, kColNumber), "2");
    EXPECT_EQ(window->TaskView().currentIndex().row(), 1);
    EXPECT_TRUE(Visible("mnuPopupMoveUp"));
    EXPECT_TRUE(Visible("mnuPopupMoveDown"));
    // The popup's move to last puts it at the end.
    Action("mnuPopupMoveLast").trigger();
    EXPECT_EQ(Tasks().Row(), 3);
    EXPECT_FALSE(Visible("mnuPopupMoveDown"));
    EXPECT_EQ(window->TaskView().currentIndex().row(), 2);
}

TEST_F(MainWindowTest, TheLogPageTakesAddDeleteAndUpdateAwayAndTabsWrapBothWays) {
    AddTask(Deck("a.pptx"));
    AddTask(Deck("b.pptx"));
    Tasks().SetRow(1);
    window->Model().UpdateMenuToolbar();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(Enabled("keyRemove"));

    QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->Tabs().currentIndex(), 1);
    EXPECT_FALSE(Enabled("keyAdd"));
    EXPECT_FALSE(Enabled("keyRemove"));
    EXPECT_FALSE(Enabled("keyUpdate"));
    EXPECT_TRUE(Enabled("keyConvert"));
    // From the last page Ctrl+Tab wraps to the first; Ctrl+Shift+Tab from the first to the last.
    QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->Tabs().currentIndex(), 0);
    EXPECT_TRUE(Enabled("keyAdd"));
    QTest::keyClick(window.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->Tabs().currentIndex(), 1);
}

TEST_F(MainWindowTest, LeavingAnEditedRowCanBeCancelledAndTheSelectionStays) {
    AddTask(Deck("a.pptx"));
    AddTask(Deck("b.pptx"));
    AddTask(Deck("c.pptx"));
    QTableView& view = window->TaskView();
    const auto pick = [&](int modelRow) {
        view.selectionModel()->setCurrentIndex(view.model()->index(modelRow, kColNumber),
                                               QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    };
    pick(0);
    window->Model().EditorEdited();
    EXPECT_TRUE(Enabled("keyUpdate"));
    EXPECT_TRUE(Enabled("mnuUpdateConversionJob"));
    EXPECT_TRUE(ButtonEnabled("cmdUpdate"));
    EXPECT_TRUE(ButtonEnabled("cmdRemove"));

    prompt.Answer(PromptAnswer::Cancel);
    pick(2);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, "Update Conversion Item");
    EXPECT_EQ(Tasks().Row(), 1);
    EXPECT_EQ(view.currentIndex().row(), 0);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(0, {}));

    prompt.Answer(PromptAnswer::No);
    pick(2);
    EXPECT_EQ(Tasks().Row(), 3);
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_FALSE(Enabled("keyUpdate"));
}

TEST_F(MainWindowTest, ARunShowsMarksLogRowsAndProgressAndRewindClearsThem) {
    AddTask(Deck("a.pptx"));
    AddTask(folder.str() + "in/missing.pptx");
    AddTask(Deck("c.pptx"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const int logRowsBefore = window->LogView().model()->rowCount();

    Action("keyConvert").trigger();

    QAbstractItemModel& tasks = *window->TaskView().model();
    const auto mark = [&](int row) { return tasks.data(tasks.index(row, kColPass), Qt::DecorationRole); };
    EXPECT_TRUE(mark(0).isValid());
    EXPECT_TRUE(mark(1).isValid());
    EXPECT_TRUE(mark(2).isValid());
    EXPECT_EQ(Tasks().CellText(1, kColPass), "+");
    EXPECT_EQ(Tasks().CellText(2, kColPass), "-");
    EXPECT_GT(window->LogView().model()->rowCount(), logRowsBefore);
    EXPECT_EQ(Panel(StatusPanel::State), QStringLiteral(" 100 Percent Complete "));
    EXPECT_EQ(Panel(StatusPanel::TaskNumber), QStringLiteral("-"));
    EXPECT_EQ(window->StatusPanels().Picture(), StatePicture::Done);
    EXPECT_TRUE(window->StatusPanels().BlinkTimerActive());
    EXPECT_TRUE(Enabled("keyRewind"));
    EXPECT_TRUE(Enabled("KeySaveLogAsConversionJob"));
    // The blink ends by itself after a few ticks.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->StatusPanels().BlinkTimerActive(); }, 5000));

    Action("keyRewind").trigger();
    EXPECT_FALSE(mark(0).isValid());
    EXPECT_FALSE(mark(1).isValid());
    EXPECT_EQ(window->LogView().model()->rowCount(), logRowsBefore);
    EXPECT_FALSE(Enabled("keyRewind"));
}

TEST_F(MainWindowTest, AFileListShowsDoneOfTotalInTheProgressBar) {
    for (const char* name : {"a.pptx", "b.pptx", "c.pptx", "d.pptx"})
        Deck(std::string("list/") + name);
    clsConversionOptions task;
    task.lConversionMethod = kMethodComponent;
    task.sOriginalFile = folder.str() + "in/list/*.pptx";
    task.lOriginalFileType = 3;
    task.sTargetFile = folder.str() + "out/*.pdf";
    task.lTargetFileType = 32;
    AppendTaskRow(task, Tasks(), &parts.component);
    window->Model().UpdateMenuToolbar();
    QProgressBar& bar = window->StatusPanels().ListProgress();
    std::vector<std::pair<int, int>> seen;
    QObject::connect(&bar, &QProgressBar::valueChanged,
                     [&](int value) { seen.emplace_back(value, bar.maximum()); });

    Action("keyConvert").trigger();

    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(4, 4));
    EXPECT_EQ(parts.component.calls.size(), 4u);
    // The bar goes once the run is over.
    EXPECT_TRUE(bar.isHidden());
}

// Counts timer and paint events anywhere in the program while a flag is set.
class EventCounter : public QObject {
public:
    std::atomic<bool> counting{false};
    int paints = 0;
    int timers = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (counting) {
            if (event->type() == QEvent::Paint)
                ++paints;
            if (event->type() == QEvent::Timer)
                ++timers;
        }
        return false;
    }
};

TEST_F(MainWindowTest, PauseTakesEffectWithinAQuarterSecondWhileALongConversionRuns) {
    AddTask(Deck("long.pptx"));
    AddTask(Deck("next.pptx"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EventCounter counter;
    qApp->installEventFilter(&counter);
    QTimer ticker;
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        window->update();
    });
    ticker.start(20);

    std::atomic<qint64> pauseSeenAfterMs{-1};
    std::vector<bool> busyStates;
    std::vector<bool> pausedStates;
    MainWindow* target = window.get();
    JobRunner& runner = window->Model().Runner();
    parts.component.onConvert = [&](const ConversionProperties& properties) {
        if (properties.SourceFile.find("long") == std::string::npos)
            return;
        counter.counting = true;
        const auto start = std::chrono::steady_clock::now();
        // Half a second into a three-second conversion the user presses Pause: the press waits
        // in the window's queue until the window's thread takes it.
        std::this_thread::sleep_for(500ms);
        const auto pressed = std::chrono::steady_clock::now();
        QMetaObject::invokeMethod(
            target,
            [&, pressed] {
                // While the run is on, only Pause is offered.
                busyStates = {Enabled("keyPause"), ButtonEnabled("cmdPause"), Enabled("keyConvert"),
                              Enabled("keyAdd"),   ButtonEnabled("cmdAdd"),   Enabled("keyNew")};
                target->FindAction(QStringLiteral("keyPause"))->trigger();
                // Paused, but the conversion has not returned: nothing may begin under it.
                pausedStates = {Enabled("keyConvert"), Enabled("keyRewind"), Enabled("keyNew"),
                                Enabled("keyOpen"), ButtonEnabled("cmdAdd")};
                if (!runner.Running())
                    pauseSeenAfterMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - pressed)
                                           .count();
            },
            Qt::QueuedConnection);
        // The conversion itself is not cut short.
        std::this_thread::sleep_for(3s - (std::chrono::steady_clock::now() - start));
        counter.counting = false;
    };

    QElapsedTimer run;
    run.start();
    Action("keyConvert").trigger();
    qApp->removeEventFilter(&counter);

    ASSERT_GE(pauseSeenAfterMs.load(), 0) << "the Pause was not taken during the conversion";
    EXPECT_LT(pauseSeenAfterMs.load(), 250);
    RecordProperty("pauseLatencyMs", static_cast<int>(pauseSeenAfterMs.load()));
    EXPECT_GE(run.elapsed(), 3000);
    EXPECT_EQ(busyStates, (std::vector<bool>{true, true, false, false, false, false}));
    EXPECT_EQ(pausedStates, (std::vector<bool>{false, false, false, false, false}));
    EXPECT_GT(ticks, 20);
    EXPECT_GT(counter.timers, 20);
    EXPECT_GT(counter.paints, 0);
    // The paused run did not go on to the next task, and can be begun again.
    EXPECT_EQ(parts.component.calls.size(), 1u);
    EXPECT_EQ(Panel(StatusPanel::State), QStringLiteral("Pause"));
    EXPECT_TRUE(Enabled("keyConvert"));
    EXPECT_FALSE(Enabled("keyPause"));
}

TEST_F(MainWindowTest, ClosingDuringARunPausesItAndClosesOnceTheRunHasReturned) {
    AddTask(Deck("a.pptx"));
    AddTask(Deck("b.pptx"));
    window->Model().Document().bAskToSaveMJBFileBeforeExit = false;
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QSignalSpy closing(window.get(), &MainWindow::closing);
    MainWindow* target = window.get();
    bool closedDuringConversion = false;
    std::atomic<bool> first{true};
    parts.component.onConvert = [&](const ConversionProperties&) {
        if (!first.exchange(false))
            return;
        const auto closeNow = [&] {
            QMetaObject::invokeMethod(
                target,
                [&] {
                    target->close();
                    closedDuringConversion = closedDuringConversion || !target->isVisible();
                },
                Qt::QueuedConnection);
        };
        closeNow();
        std::this_thread::sleep_for(100ms);
        // The user closes again while the paused conversion has not returned yet.
        closeNow();
        std::this_thread::sleep_for(200ms);
    };

    Action("keyConvert").trigger();
    // The runner returned from the paused run; the window was still there for it.
    EXPECT_FALSE(closedDuringConversion);
    EXPECT_EQ(parts.component.calls.size(), 1u);
    EXPECT_EQ(closing.count(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
    EXPECT_EQ(closing.count(), 1);
    EXPECT_EQ(parts.shutDowns, 1);
}

TEST_F(MainWindowTest, RecentJobsAreListedNewestFirstAndAMissingOneIsReported) {
    const std::string older = folder.file("jobs/Older.MJB", "");
    const std::string gone = folder.str() + "jobs/Gone.MJB";
    window->Model().AddRecentJob(older);
    window->Model().AddRecentJob(gone);
    const std::vector<QAction*> entries = window->RecentJobActions();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0]->text().contains(QStringLiteral("Gone.MJB")));
    EXPECT_TRUE(entries[0]->text().startsWith(QStringLiteral("&1")));
    EXPECT_TRUE(entries[1]->text().contains(QStringLiteral("Older.MJB")));

    prompt.Answer(PromptAnswer::OK);
    entries[0]->trigger();
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_NE(prompt.questions[0].text.find("does not exist."), std::string::npos);
    EXPECT_NE(prompt.questions[0].text.find(gone), std::string::npos);
}

TEST_F(MainWindowTest, AnAddedTaskOffersItsPathsInTheEditorsRecentBoxes) {
    const std::string source = Deck("offered.pptx");
    EditorState& editor = window->Model().Editor();
    editor.sActionToDo = "C";
    editor.sOriginalFile = source;
    editor.sTargetFile = folder.str() + "out/offered.pdf";
    editor.lTargetFileType = 32;
    window->Model().EditorEdited();
    Action("keyAdd").trigger();
    ASSERT_EQ(Tasks().CellText(1, kColOriginal), source);
    auto* box = window->Editor().findChild<QComboBox*>(QStringLiteral("cbOriginalFile"));
    ASSERT_NE(box, nullptr);
    EXPECT_GE(box->findText(QString::fromStdString(source)), 0);
    EXPECT_EQ(box->currentText(), QString::fromStdString(source));
}

TEST_F(MainWindowTest, TheTitleFollowsTheJobAndOptimizeIsACheckedPair) {
    window->Model().JobCaption("/home/user/Quarterly Decks.MJB");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("/home/user/Quarterly Decks.MJB - 'Slidemill'"));
    Action("mnuOptimizeForMemory").trigger();
    EXPECT_TRUE(Action("mnuOptimizeForMemory").isChecked());
    EXPECT_FALSE(Action("mnuOptimizeForSpeed").isChecked());
    EXPECT_FALSE(parts.component.OptimizeForSpeed());
    Action("mnuOptimizeForSpeed").trigger();
    EXPECT_TRUE(Action("mnuOptimizeForSpeed").isChecked());
    EXPECT_FALSE(Action("mnuOptimizeForMemory").isChecked());
    EXPECT_TRUE(parts.component.OptimizeForSpeed());
}

} // namespace
} // namespace slidemill

namespace slidemill {
namespace {

// The demo job, as a user first opens it.
TEST_F(MainWindowTest, TheEditorAndTenRowsFitAt1280x800AndNothingOverlapsAt1024x700) {
    const std::string demo =
        std::string(SLIDEMILL_TEST_SOURCE_DIR) + "/demo/Demo Conversion Jobs/Convert Demo Data to PDF.MJB";
    ASSERT_TRUE(std::filesystem::exists(demo)) << demo;
    ASSERT_TRUE(window->Model().OpenJob(demo));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTableView& tasks = window->TaskView();
    QWidget& editor = window->Editor();
    QWidget& editorViewport = *editor.parentWidget();
    const int rowHeight = tasks.verticalHeader()->defaultSectionSize();

    window->resize(1280, 800);
    QTest::qWait(50);
    EXPECT_LE(editor.height(), editorViewport.height()) << "the editor needs scrolling";
    EXPECT_GE(tasks.viewport()->height(), 10 * rowHeight);

    window->resize(1024, 700);
    QTest::qWait(50);
    const QRect editorArea(editorViewport.mapTo(window.get(), QPoint()), editorViewport.size());
    const QRect gridArea(tasks.mapTo(window.get(), QPoint()), tasks.size());
    EXPECT_FALSE(editorArea.intersects(gridArea));
    EXPECT_GE(tasks.viewport()->height(), 4 * rowHeight);
    EXPECT_LE(gridArea.bottom(), window->statusBar()->mapTo(window.get(), QPoint()).y());

    // The size a first start opens at: the editor puts its target set under the original set
    // rather than pushing the command buttons out to the right.
    window->resize(867, 627);
    QTest::qWait(50);
    EXPECT_LE(editor.width(), editorViewport.width()) << "the editor needs sideways scrolling";
    auto* add = editor.findChild<QWidget*>(QStringLiteral("cmdAdd"));
    ASSERT_NE(add, nullptr);
    EXPECT_LE(add->mapTo(&editorViewport, QPoint(add->width(), 0)).x(), editorViewport.width());
    EXPECT_GE(tasks.viewport()->height(), 4 * rowHeight);

    // Wide again, side by side again, and the editor no taller than it was at first.
    window->resize(1280, 800);
    QTest::qWait(50);
    EXPECT_LE(editor.height(), editorViewport.height());
    EXPECT_GE(tasks.viewport()->height(), 10 * rowHeight);
}

} // namespace
} // namespace slidemill
