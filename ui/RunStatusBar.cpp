#include "ui/RunStatusBar.h"

#include <QApplication>

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace slidemill {

namespace {

// Pending events run at most this often: a list of thousands of small files calls a checkpoint
// per file, and a user cannot tell 10 ms from none.
constexpr qint64 kEventIntervalMs = 10;
constexpr int kBlinkIntervalMs = 400;
constexpr int kPictureSize = 16;

QLabel* AddPanel(QStatusBar& bar, const QString& name, int minimumWidth, bool permanent) {
    auto* label = new QLabel(&bar);
    label->setObjectName(name);
    label->setMinimumWidth(minimumWidth);
    label->setTextFormat(Qt::PlainText);
    if (permanent)
        bar.addPermanentWidget(label);
    else
        bar.addWidget(label, 1);
    return label;
}

QPixmap PictureFor(StatePicture picture) {
    QIcon icon;
    switch (picture) {
    case StatePicture::Done:
        icon = QIcon::fromTheme(QStringLiteral("emblem-default"),
                                QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
        break;
    case StatePicture::DoneAlternate:
        icon = QIcon::fromTheme(QStringLiteral("dialog-information"),
                                QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
        break;
    case StatePicture::None:
        return {};
    }
    return icon.pixmap(kPictureSize, kPictureSize);
}

} // namespace

RunStatusBar::RunStatusBar(QStatusBar& bar, QWidget& frame, QObject* parent)
    : QObject(parent), frame_(&frame) {
    currentFile_ = AddPanel(bar, QStringLiteral("panelCurrentFile"), 120, false);
    currentFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    taskNumber_ = AddPanel(bar, QStringLiteral("panelTaskNumber"), 30, true);
    taskNumber_->setAlignment(Qt::AlignCenter);
    picture_ = AddPanel(bar, QStringLiteral("panelStatePicture"), kPictureSize, true);
    state_ = AddPanel(bar, QStringLiteral("panelState"), 150, true);
    progress_ = new QProgressBar(&bar);
    progress_->setObjectName(QStringLiteral("listProgress"));
    progress_->setFormat(QStringLiteral("%v/%m"));
    progress_->setMaximumWidth(160);
    progress_->setVisible(false);
    bar.addPermanentWidget(progress_);
    elapsed_ = AddPanel(bar, QStringLiteral("panelElapsed"), 50, true);
    elapsed_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    blink_ = new QTimer(this);
    blink_->setInterval(kBlinkIntervalMs);
    connect(blink_, &QTimer::timeout, this, [this] {
        if (blinkTick_)
            blinkTick_();
    });
    sinceEvents_.start();
}

RunStatusBar::~RunStatusBar() {
    while (cursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --cursorDepth_;
    }
}

QLabel& RunStatusBar::Panel(StatusPanel panel) const {
    switch (panel) {
    case StatusPanel::TaskNumber:
        return *taskNumber_;
    case StatusPanel::State:
        return *state_;
    case StatusPanel::CurrentFile:
        return *currentFile_;
    case StatusPanel::Elapsed:
        break;
    }
    return *elapsed_;
}

void RunStatusBar::Checkpoint() {
    // Only the window's thread may run its events; a concurrent conversion never gets here.
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        return;
    ++checkpoints_;
    if (sinceEvents_.elapsed() < kEventIntervalMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceEvents_.restart();
}

void RunStatusBar::SetStatusText(StatusPanel panel, const std::string& text) {
    Panel(panel).setText(QString::fromStdString(text));
}

void RunStatusBar::SetWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++cursorDepth_;
    } else if (cursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --cursorDepth_;
    }
}

void RunStatusBar::SetListProgress(int32_t done, int32_t count) {
    if (count <= 0) {
        HideListProgress();
        return;
    }
    progress_->setRange(0, count);
    progress_->setValue(std::clamp(done, 0, count));
    progress_->setVisible(true);
}

void RunStatusBar::HideListProgress() {
    progress_->setVisible(false);
    progress_->reset();
}

void RunStatusBar::SetStatePicture(StatePicture picture) {
    pictureKind_ = picture;
    picture_->setPixmap(PictureFor(picture));
}

void RunStatusBar::StartBlinkTimer() {
    blink_->start();
}

void RunStatusBar::StopBlinkTimer() {
    blink_->stop();
}

bool RunStatusBar::BlinkTimerActive() const {
    return blink_->isActive();
}

bool RunStatusBar::FrameMinimised() const {
    return frame_ && frame_->isMinimized();
}

void RunStatusBar::AlertFrame() {
    if (frame_)
        QApplication::alert(frame_);
}

} // namespace slidemill
