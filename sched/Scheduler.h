#pragma once

#include <functional>
#include <memory>
#include <string>

#include "sched/CivilTime.h"
#include "sched/ScheduleForm.h"
#include "sched/ScheduleTimer.h"
#include "sched/ScheduleValidation.h"
#include "sched/SchedulerEvents.h"
#include "settings/IniFile.h"
#include "settings/MruList.h"

namespace slidemill {

// Messages of the scheduler window, untranslated; the window translates and shows them in an OK
// box and then puts the focus where asked.
class SchedulerPrompts {
public:
    virtual ~SchedulerPrompts() = default;
    virtual void ShowMessage(const std::string& text, ScheduleFocus focus) = 0;
};

// The scheduler window's behaviour without its widgets: the form it edits, the job file it
// schedules, its recently-used job files, its lock while a schedule runs, and its timer. The
// window mirrors `form` into its controls and `Locked()` into their enabled state.
class Scheduler {
public:
    // Loading the window: the first weekly computation from now on may start in this week.
    Scheduler(SchedulerClock& clock, const LocalZone& zone, SchedulerEvents& events,
              SchedulerPrompts& prompts);

    ScheduleForm form;

    // A fresh "mruScheduleSource" list (10 items) on the settings file; fills the job file box
    // from it, newest first and selected. Additions not yet written to the previous list are
    // written first, so opening the window again loses no picked file.
    void SetUpScheduler(const std::string& iniFilePath);
    void ReadIniFileScheduler(const IniFile& ini);
    // Checks the schedule as a start would (messages are not shown, but a weekly schedule
    // without a chosen day is reported). A schedule that fails is only marked as not to be
    // restarted; otherwise every key is written. Returns the check code.
    int SaveIniFileScheduler(IniFile& ini);
    // Closing the window for good: writes the job file list, then the schedule. A command-line
    // run writes nothing.
    int Unload(IniFile& ini, bool commandLineMode);

    // The file dialog's answer ("" when it was cancelled).
    void JobFilePicked(const std::string& path);

    // "&Begin": checks the form and starts an interval or calendar schedule. Returns the check
    // code; 0 when the scheduler now runs.
    int cmdStartTimer_Click();
    // "&End".
    void cmdEndTimer_Click();
    // The running job was paused: a running schedule stops too.
    void ConversionJobPaused();
    void ResetSchedulerForm();

    // One second has passed.
    void Tick() { timer_.Tick(); }

    bool bSchedularEnabled() const { return timer_.Enabled(); }
    // Whether the schedule controls, "&Begin" and the job file box are disabled ("&End" enabled).
    bool Locked() const { return locked_; }
    const std::string& ScheduledJobFile() const { return jobFile_; }
    const ScheduleTimer& Timer() const { return timer_; }
    const clsMRU* JobFileList() const { return mru_.get(); }

private:
    int StartRelativeSchedule();
    int StartCalendarSchedule();
    int Refuse(int code);
    void LockAndStart(const ScheduleRunState& schedule);
    void FillJobFileBox();

    SchedulerClock& clock_;
    const LocalZone& zone_;
    SchedulerPrompts& prompts_;
    ScheduleTimer timer_;
    std::unique_ptr<clsMRU> mru_;
    std::string jobFile_;
    bool locked_ = false;
    bool firstWeeklyComputation_ = true;
};

// The running copy of a calendar schedule: the kind, the daily choice, the checked weekdays and
// the start time from the form, the numbers as the checks read them.
ScheduleRunState CollectDataFromFrmScheduler(const ScheduleForm& form, const CalendarNumbers& numbers,
                                             const std::string& jobFile);

// At program start, after the main window has loaded the scheduler and set it up: restarts the
// stored schedule when the settings ask for it, as if "&Begin" had been pressed (check messages
// appear as usual). A command-line run never starts the scheduler, as it must end when its job
// is done. True when a schedule was started.
bool RestartPersistedSchedule(Scheduler& scheduler, const std::string& iniFilePath, bool commandLineMode);

// Runs a saved job file from its first task (open it, rewind it and begin it); false when the
// job could not be opened or begun.
using ScheduledJobRun = std::function<bool(const std::string& path)>;

// Connects the scheduler to the program: a due run goes to runJobFile, the countdown to the
// frame window's caption. The job runner sits below the scheduler, so whoever owns both wires
// them together here.
class SchedulerRunBinding final : public SchedulerEvents {
public:
    SchedulerRunBinding(ScheduledJobRun runJobFile, std::function<void(const std::string&)> setCaption);
    void RunTheJobEvent(const std::string& strTimerFile) override;
    void DisplayTimeRemainingEvent(long lngDays, long lngHours, long lngMinutes, long lngSeconds) override;

private:
    ScheduledJobRun runJobFile_;
    std::function<void(const std::string&)> setCaption_;
};

} // namespace slidemill
