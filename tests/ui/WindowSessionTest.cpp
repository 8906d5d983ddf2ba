// One run of the window as the program starts it: placement from the settings file, the job of
// /J file /O in the title, the placement saved at the close, and a termination signal that
// closes the window without asking anything, keeping a changed job in a new file.
#include "ui/WindowSession.h"

#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "settings/IniFile.h"
#include "support/FakeRunParts.h"
#include "support/TempFolder.h"
#include "ui/FrameGeometry.h"
#include "ui/MainWindow.h"
#include "ui/StartupWindow.h"

#include <QAction>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <sstream>
#include <thread>

namespace slidemill {
namespace {

using namespace std::chrono_literals;

class WindowSessionTest : public ::testing::Test {
protected:
    test::TempFolder folder{"session"};
    test::FakeRunParts parts;
    std::ostringstream messages;
    std::string settingsFile = folder.str() + "settings/SLML_SearchHistory.INI";
    std::unique_ptr<WindowSession> session;

    void SetUp() override { std::filesystem::create_directories(folder.path() / "settings"); }

    void TearDown() override {
        if (session && session->Window().isVisible()) {
            session->Prompt().SetEnding(true);
            session->Window().close();
        }
        session.reset();
    }

    void Start(const std::string& job = {}) {
        WindowSessionOptions options;
        options.settingsFile = settingsFile;
        options.jobToOpen = job;
        session = std::make_unique<WindowSession>(parts, options, messages);
        session->Start();
    }

    clsConversionOptions Task(const std::string& name) {
        clsConversionOptions task;
        task.sActionToDo = "C";
        task.lConversionMethod = kMethodComponent;
        task.sOriginalFile = folder.file("in/" + name, "slides");
        task.lOriginalFileType = 3;
        task.sTargetFile = folder.str() + "out/*.pdf";
        task.lTargetFileType = 32;
        return task;
    }

    // A job file of the named decks.
    std::string Job(const std::string& name, std::initializer_list<const char*> decks) {
        Grid grid{kTaskGridCols};
        InitTaskGrid(grid);
        for (const char* deck : decks)
            AppendTaskRow(Task(deck), grid, &parts.component);
        const std::string path = folder.str() + "jobs/" + name;
        std::filesystem::create_directories(folder.path() / "jobs");
        EXPECT_TRUE(WriteJobFile(path, grid));
        return path;
    }

    FramePlacement SavedPlacement() { return ReadFramePlacement(IniFile(settingsFile), false).value(); }

    bool WaitForFinish(QSignalSpy& finished) { return finished.count() > 0 || finished.wait(5000); }
};

TEST_F(WindowSessionTest, OpensAtTheStoredPlacementWithTheJobInTheTitle) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen->logicalDotsPerInch();
    const QRect area = screen->availableGeometry();
    const QRect wanted(area.left() + 16, area.top() + 24, area.width() - 40, area.height() - 50);
    IniFile ini(settingsFile);
    ASSERT_TRUE(SaveFramePlacement(ini, PlacementToSave({}, kFrameNormal, wanted, dpi), false));
    const std::string job = Job("Quarterly Decks.MJB", {"a.pptx", "b.pptx"});

    Start(job);
    MainWindow& window = session->Window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.geometry().topLeft(), wanted.topLeft());
    EXPECT_EQ(window.geometry().size(), wanted.size().expandedTo(window.minimumSizeHint()));
    EXPECT_TRUE(window.windowTitle().contains("Quarterly Decks.MJB")) << window.windowTitle().toStdString();
    EXPECT_EQ(TaskCount(window.Model().Document().fgToDo), 2);
    EXPECT_FALSE(session->Startup().isVisible()) << "the start-up window goes once the main window is up";
    EXPECT_EQ(session->Startup().VersionText().toStdString(), StartupVersionLine(SLIDEMILL_VERSION));
    // The help entries are the program's to connect.
    ASSERT_NE(window.FindAction("mnuLaunchHelpFile"), nullptr);
    EXPECT_TRUE(window.FindAction("mnuLaunchHelpFile")->isEnabled());
}

TEST_F(WindowSessionTest, ClosingSavesThePlacementAndMaximisedKeepsTheNormalOne) {
    Start();
    MainWindow& window = session->Window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy finished(session.get(), &WindowSession::finished);
    const FramePlacement opened = CurrentFramePlacement(window, FramePlacement{});
    window.close();
    ASSERT_TRUE(WaitForFinish(finished));
    EXPECT_EQ(SavedPlacement(), opened);

    // The next start opens there; closed maximised, the file keeps that normal placement.
    Start();
    MainWindow& again = session->Window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    again.showMaximized();
    QSignalSpy finishedAgain(session.get(), &WindowSession::finished);
    again.close();
    ASSERT_TRUE(WaitForFinish(finishedAgain));
    FramePlacement expected = opened;
    expected.WindowState = kFrameMaximized;
    EXPECT_EQ(SavedPlacement(), expected);
}

TEST_F(WindowSessionTest, SigtermClosesWithoutAskingAndKeepsAChangedJobInANewFile) {
    const std::string job = Job("Quarterly Decks.MJB", {"a.pptx"});
    const std::string jobBefore = test::ReadWholeFile(job);
    Start(job);
    MainWindow& window = session->Window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // An unsaved change: a second task.
    AppendTaskRow(Task("b.pptx"), window.Model().Document().fgToDo, &parts.component);
    window.Model().Document().MarkChanged();

    QSignalSpy finished(session.get(), &WindowSession::finished);
    // Through the process's real handler: a real box here would wait for the test's timeout.
    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_TRUE(WaitForFinish(finished));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(test::ReadWholeFile(job), jobBefore) << "the job's own file is not written unasked";
    const std::string kept = folder.str() + "settings/Unsaved Conversion Job.MJB";
    Grid loaded{kTaskGridCols};
    InitTaskGrid(loaded);
    EXPECT_EQ(LoadJobFile(kept, 1, loaded).status, JobLoadStatus::Loaded);
    EXPECT_EQ(TaskCount(loaded), 2);
    EXPECT_NE(messages.str().find(kept), std::string::npos) << messages.str();
    EXPECT_EQ(SavedPlacement().WindowState, kFrameNormal);
}

TEST_F(WindowSessionTest, SigtermDuringALongConversionPausesItThenCloses) {
    const std::string job = Job("Long.MJB", {"a.pptx", "b.pptx", "c.pptx"});
    Start(job);
    MainWindow& window = session->Window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy finished(session.get(), &WindowSession::finished);
    std::atomic<bool> first{true};
    parts.component.onConvert = [&](const ConversionProperties&) {
        if (!first.exchange(false))
            return;
        std::raise(SIGTERM);
        std::this_thread::sleep_for(300ms);
    };
    window.FindAction("keyConvert")->trigger();
    // The run returned after the one file that was converting; nothing further was started.
    EXPECT_EQ(parts.component.calls.size(), 1u);
    ASSERT_TRUE(WaitForFinish(finished));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(SavedPlacement().WindowState, kFrameNormal);
}

TEST_F(WindowSessionTest, SigtermDismissesAnOpenDialogFirst) {
    Start();
    MainWindow& window = session->Window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy finished(session.get(), &WindowSession::finished);
    PromptAnswer answer = PromptAnswer::OK;
    QTimer::singleShot(100, [] { std::raise(SIGTERM); });
    // The real box of the program's prompt, open when the session ends.
    answer =
        session->Prompt().Ask("Save Conversion Job?", "Save", PromptButtons::YesNo, PromptIcon::Question);
    EXPECT_EQ(answer, PromptAnswer::No);
    ASSERT_TRUE(WaitForFinish(finished));
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace slidemill
