// The status bar a run shows itself in: the wait cursor nests, the progress bar shows done of
// total, checkpoints run the window's events without running them for every file, and the
// completion blink calls its tick until stopped.
#include "ui/RunStatusBar.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <thread>

namespace slidemill {
namespace {

class RunStatusBarTest : public ::testing::Test {
protected:
    QMainWindow frame;
    RunStatusBar bar{*frame.statusBar(), frame};
};

TEST_F(RunStatusBarTest, PanelsTakeTheirTextsAndTheWaitCursorNests) {
    bar.SetStatusText(StatusPanel::TaskNumber, "3");
    bar.SetStatusText(StatusPanel::State, " 45.0 Percent Complete ");
    bar.SetStatusText(StatusPanel::CurrentFile, "/in/deck.pptx");
    bar.SetStatusText(StatusPanel::Elapsed, "1.5");
    EXPECT_EQ(bar.Panel(StatusPanel::TaskNumber).text(), QStringLiteral("3"));
    EXPECT_EQ(bar.Panel(StatusPanel::State).text(), QStringLiteral(" 45.0 Percent Complete "));
    EXPECT_EQ(bar.Panel(StatusPanel::CurrentFile).text(), QStringLiteral("/in/deck.pptx"));
    EXPECT_EQ(bar.Panel(StatusPanel::Elapsed).text(), QStringLiteral("1.5"));

    bar.SetWaitCursor(true);
    bar.SetWaitCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    bar.SetWaitCursor(false);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    bar.SetWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // One off too many does not take away a cursor someone else set.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    bar.SetWaitCursor(false);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    QApplication::restoreOverrideCursor();

    bar.SetStatePicture(StatePicture::Done);
    const QImage done = bar.StatePictureLabel().pixmap().toImage();
    bar.SetStatePicture(StatePicture::DoneAlternate);
    const QImage alternate = bar.StatePictureLabel().pixmap().toImage();
    EXPECT_FALSE(done.isNull());
    EXPECT_NE(done, alternate);
    bar.SetStatePicture(StatePicture::None);
    EXPECT_TRUE(bar.StatePictureLabel().pixmap().isNull());
}

TEST_F(RunStatusBarTest, TheProgressBarShowsDoneOfTotalAndGoesWithoutAList) {
    QProgressBar& progress = bar.ListProgress();
    EXPECT_TRUE(progress.isHidden());
    bar.SetListProgress(2, 8);
    EXPECT_FALSE(progress.isHidden());
    EXPECT_EQ(progress.maximum(), 8);
    EXPECT_EQ(progress.value(), 2);
    EXPECT_EQ(progress.text(), QStringLiteral("2/8"));
    bar.SetListProgress(9, 8); // never beyond the end
    EXPECT_EQ(progress.value(), 8);
    bar.SetListProgress(0, 0);
    EXPECT_TRUE(progress.isHidden());
}

TEST_F(RunStatusBarTest, CheckpointsRunPendingEventsAtMostEveryFewMilliseconds) {
    int delivered = 0;
    QTimer::singleShot(0, &frame, [&] { ++delivered; });
    QTest::qWait(20);
    delivered = 0;
    // A burst of checkpoints within a millisecond runs the events once at most.
    int posted = 0;
    for (int i = 0; i < 200; ++i) {
        QMetaObject::invokeMethod(
            &frame, [&] { ++delivered; }, Qt::QueuedConnection);
        ++posted;
        bar.Checkpoint();
    }
    EXPECT_LT(delivered, posted);
    // After a pause long enough, the next checkpoint delivers everything waiting.
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    bar.Checkpoint();
    EXPECT_EQ(delivered, posted);
    EXPECT_EQ(bar.Checkpoints(), 201);

    // A checkpoint from another thread runs nothing.
    const int before = bar.Checkpoints();
    std::thread other([&] { bar.Checkpoint(); });
    other.join();
    EXPECT_EQ(bar.Checkpoints(), before);
}

TEST_F(RunStatusBarTest, TheBlinkTimerCallsItsTickUntilStopped) {
    int ticks = 0;
    bar.SetBlinkTick([&] {
        if (++ticks == 2)
            bar.StopBlinkTimer();
    });
    bar.StartBlinkTimer();
    EXPECT_TRUE(bar.BlinkTimerActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar.BlinkTimerActive(); }, 3000));
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(bar.FrameMinimised());
}

} // namespace
} // namespace slidemill
