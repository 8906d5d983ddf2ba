#pragma once

#include "core/Prompt.h"
#include "sched/Scheduler.h"

#include <QDialog>
#include <QPointer>

#include <string>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QWidget;

namespace slidemill {

class SchedulerWindow;

// The scheduler's messages in an OK box, translated; afterwards the box the message is about
// gets the focus (text selected) while the scheduler window is shown.
class SchedulerMessageBox final : public SchedulerPrompts {
public:
    explicit SchedulerMessageBox(Prompt& prompt) : prompt_(prompt) {}
    void SetWindow(SchedulerWindow* window);
    void ShowMessage(const std::string& text, ScheduleFocus focus) override;

private:
    Prompt& prompt_;
    QPointer<SchedulerWindow> window_;
};

// frmScheduler ("Schedule a Job"): the scheduler's form as widgets, and Timer1. Every widget
// mirrors a field of Scheduler::form and writes its changes back at once; what a button does
// is decided by the scheduler. Closing it ("&Done", Escape, the close box) only hides it: a
// running schedule keeps running.
class SchedulerWindow : public QDialog {
    Q_OBJECT
public:
    // prompt: the job file picker's dialog.
    SchedulerWindow(Scheduler& scheduler, Prompt& prompt, QWidget* parent = nullptr);
    ~SchedulerWindow() override;

    Scheduler& Model() { return scheduler_; }
    QTimer& Timer1() const { return *timer_; }
    QTabWidget& Tabs() const { return *tabs_; }

    // Shows Model().form again (after the scheduler changed it).
    void ShowForm();
    // Shows the form and the lock state, and starts or stops Timer1, after the scheduler was
    // set up, started or stopped from outside.
    void Refresh();
    // Shows the lock state: the schedule controls disabled while a schedule runs.
    void ShowLocking();
    // After a message: the focus goes to the box it names (text selected) while the window is
    // shown; a days or weeks box whose frame is hidden takes "1" instead.
    void FocusAfterMessage(ScheduleFocus focus);

    // "&Begin", "&End", "&Done", "  File.." as the buttons do them.
    void cmdStartTimer_Click();
    void cmdEndTimer_Click();
    void cmdDone_Click();
    void cmdSelectScheduledJobFile_Click();
    // A running job was paused: a running schedule stops and the controls are available again.
    void ConversionJobPaused();
    // Timer1's timeout: asks for a tick from the event loop, not from inside the timer's own
    // call, so the job a tick runs never holds the timer up; ticks that come during that job
    // find the scheduler busy and pass.
    void Timer1_Timer();

signals:
    // The scheduler stopped or started (menus follow it).
    void schedulerStateChanged();

private:
    void BuildSetUpPage(QWidget* page);
    void BuildOptionsPage(QWidget* page);
    void ConnectEdits();
    // Copies every widget into Model().form.
    void CollectForm();
    // Shows the frame of the calendar kind that is chosen.
    void ShowKindFrames();
    // Starts or stops Timer1 as the scheduler is enabled or not.
    void FollowScheduler();
    void StepTab(int step);

    Scheduler& scheduler_;
    Prompt& prompt_;
    bool showing_ = false;
    QTimer* timer_ = nullptr;
    QTabWidget* tabs_ = nullptr;

    QRadioButton* optTimeBased_ = nullptr;
    QRadioButton* optCalendarBased_ = nullptr;
    QLineEdit* txtHours_ = nullptr;
    QLineEdit* txtMinutes_ = nullptr;
    QLineEdit* txtSeconds_ = nullptr;
    QRadioButton* optImmediately_ = nullptr;
    QRadioButton* optSkip_ = nullptr;
    QCheckBox* chkPersistRunning_ = nullptr;
    QRadioButton* optDaily_ = nullptr;
    QRadioButton* optWeekly_ = nullptr;
    QRadioButton* optMonthly_ = nullptr;
    QComboBox* cbHours_ = nullptr;
    QComboBox* cbMinutes_ = nullptr;
    QComboBox* cbAmPm_ = nullptr;
    QGroupBox* fraDaily_ = nullptr;
    QGroupBox* fraWeekly_ = nullptr;
    QGroupBox* fraMonthly_ = nullptr;
    QRadioButton* optNumDays_ = nullptr;
    QLineEdit* txtNumDays_ = nullptr;
    QRadioButton* optWeekdays_ = nullptr;
    QLineEdit* txtNumWeeks_ = nullptr;
    QCheckBox* chkDays_[7] = {}; // chkSun ... chkSat
    QLineEdit* txtDayOfMonth_ = nullptr;
    QLineEdit* txtNumMonths_ = nullptr;
    QComboBox* cbScheduledJobFile_ = nullptr;
    QPushButton* cmdSelectScheduledJobFile_ = nullptr;
    QPushButton* cmdStartTimer_ = nullptr;
    QPushButton* cmdEndTimer_ = nullptr;
    QPushButton* cmdDone_ = nullptr;
};

} // namespace slidemill
