#pragma once

#include "core/RunControl.h"
#include "run/RunStatus.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>

class QLabel;
class QProgressBar;
class QStatusBar;
class QTimer;
class QWidget;

namespace slidemill {

// How a run shows itself in the window's status bar and keeps the window alive: the panels
// for the task number, the state text with its picture, the current file and the elapsed
// time, a progress bar for file lists, the wait cursor, the completion blink, and the
// checkpoints at which the window's pending events run.
class RunStatusBar final : public QObject, public RunControl, public RunStatus {
    Q_OBJECT
public:
    // The panels go into bar; frame is the top-level window (minimised or not, alerted).
    RunStatusBar(QStatusBar& bar, QWidget& frame, QObject* parent = nullptr);
    ~RunStatusBar() override;

    // Called on every blink tick (the runner's CompletionBlinkTick).
    void SetBlinkTick(std::function<void()> tick) { blinkTick_ = std::move(tick); }
    // A run ended or was rewound: the progress bar goes until the next list.
    void HideListProgress();

    QLabel& Panel(StatusPanel panel) const;
    QLabel& StatePictureLabel() const { return *picture_; }
    QProgressBar& ListProgress() const { return *progress_; }
    StatePicture Picture() const { return pictureKind_; }
    bool BlinkTimerActive() const;
    int Checkpoints() const { return checkpoints_; }

    // RunControl: Running is the runner's, not the window's.
    void Checkpoint() override;
    void SetStatusText(StatusPanel panel, const std::string& text) override;
    void SetWaitCursor(bool on) override;
    void SetListProgress(int32_t done, int32_t count) override;

    // RunStatus.
    void SetStatePicture(StatePicture picture) override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    bool FrameMinimised() const override;
    void AlertFrame() override;

private:
    QPointer<QWidget> frame_;
    QLabel* taskNumber_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* currentFile_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* blink_ = nullptr;
    std::function<void()> blinkTick_;
    StatePicture pictureKind_ = StatePicture::None;
    QElapsedTimer sinceEvents_;
    int cursorDepth_ = 0;
    int checkpoints_ = 0;
};

} // namespace slidemill
