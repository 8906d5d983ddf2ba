#include "sched/Scheduler.h"

#include "core/MruPresentation.h"
#include "core/Translate.h"
#include "sched/DateText.h"
#include "sched/ScheduleArithmetic.h"
#include "sched/ScheduleSettings.h"
#include "sched/TimeRemaining.h"

namespace slidemill {

namespace {

constexpr int kJobFileListCapacity = 10;
constexpr const char* kJobFileListName = "mruScheduleSource";

} // namespace

Scheduler::Scheduler(SchedulerClock& clock, const LocalZone& zone, SchedulerEvents& events,
                     SchedulerPrompts& prompts)
    : clock_(clock), zone_(zone), prompts_(prompts), timer_(clock, zone, events) {}

void Scheduler::SetUpScheduler(const std::string& iniFilePath) {
    if (mru_)
        mru_->WriteCollectionToIniFile();
    mru_ = std::make_unique<clsMRU>();
    mru_->Setup(kJobFileListCapacity, iniFilePath, kJobFileListName, "-1");
    FillJobFileBox();
}

void Scheduler::FillJobFileBox() {
    const MruComboFill fill = ComboFillFor(*mru_);
    form.cbScheduledJobFileItems = fill.items;
    form.cbScheduledJobFile =
        fill.selectedIndex >= 0 ? fill.items[static_cast<std::size_t>(fill.selectedIndex)] : std::string{};
}

void Scheduler::ReadIniFileScheduler(const IniFile& ini) {
    // The job file box belongs to its list, which may already have filled it.
    const auto items = form.cbScheduledJobFileItems;
    const auto box = form.cbScheduledJobFile;
    ReadScheduleForm(ini, form, zone_.ToCivil(clock_.Now()));
    form.cbScheduledJobFileItems = items;
    form.cbScheduledJobFile = box;
}

int Scheduler::SaveIniFileScheduler(IniFile& ini) {
    int code = kScheduleOk;
    if (form.optTimeBased) {
        long long interval = 0;
        code = CheckTimeBasedSchedule(form, form.cbScheduledJobFile, interval);
    } else {
        std::string jobFile = jobFile_;
        CalendarNumbers numbers;
        code = CheckCalendarSchedule(form, jobFile, numbers);
        if (code == kScheduleNoWeekday)
            prompts_.ShowMessage(ScheduleCheckMessage(code), ScheduleCheckFocus(code));
    }
    if (code != kScheduleOk)
        WriteScheduleNotRestartable(ini);
    else
        WriteScheduleForm(ini, form);
    return code;
}

int Scheduler::Unload(IniFile& ini, bool commandLineMode) {
    if (commandLineMode)
        return kScheduleOk;
    if (mru_)
        mru_->ShutDown();
    return SaveIniFileScheduler(ini);
}

void Scheduler::JobFilePicked(const std::string& path) {
    jobFile_ = path;
    if (path.empty()) {
        prompts_.ShowMessage("Please select a job file", ScheduleFocus::None);
        return;
    }
    if (!ScheduledJobFileExists(path)) {
        prompts_.ShowMessage("Job file does not exist", ScheduleFocus::None);
        return;
    }
    form.cbScheduledJobFile = path;
    if (mru_) {
        mru_->AddUniqueItemToCollection(path);
        FillJobFileBox();
    }
}

int Scheduler::Refuse(int code) {
    prompts_.ShowMessage(ScheduleCheckMessage(code), ScheduleCheckFocus(code));
    return code;
}

int Scheduler::cmdStartTimer_Click() {
    if (timer_.Enabled())
        return kScheduleOk;
    return form.optTimeBased ? StartRelativeSchedule() : StartCalendarSchedule();
}

int Scheduler::StartRelativeSchedule() {
    jobFile_ = form.cbScheduledJobFile;
    long long interval = 0;
    const int code = CheckTimeBasedSchedule(form, jobFile_, interval);
    if (code != kScheduleOk)
        return Refuse(code);

    ScheduleRunState schedule;
    schedule.jobFile = jobFile_;
    schedule.timeBased = true;
    schedule.intervalSeconds = interval;
    schedule.runImmediately = form.optImmediately;
    schedule.relativeTarget = clock_.Now() + std::chrono::seconds{interval};
    LockAndStart(schedule);
    return kScheduleOk;
}

int Scheduler::StartCalendarSchedule() {
    jobFile_ = form.cbScheduledJobFile;
    CalendarNumbers numbers;
    const int code = CheckCalendarSchedule(form, jobFile_, numbers);
    if (code != kScheduleOk)
        return Refuse(code);

    ScheduleRunState schedule = CollectDataFromFrmScheduler(form, numbers, jobFile_);
    form.dtUserTargetTime = schedule.userTargetTime;

    if (schedule.monthly) {
        const std::string notice = ShortMonthNotice(schedule.dayOfMonth);
        if (!notice.empty())
            prompts_.ShowMessage(notice, ScheduleFocus::None);
    }
    schedule.targetComplete =
        FirstCalendarTarget(schedule, zone_.ToCivil(clock_.Now()), firstWeeklyComputation_);
    form.dtTargetComplete = schedule.targetComplete;
    LockAndStart(schedule);
    return kScheduleOk;
}

void Scheduler::LockAndStart(const ScheduleRunState& schedule) {
    locked_ = true;
    if (mru_) {
        // The box is refilled from this list when the program starts again, so the job being
        // scheduled has to be its newest entry, or a restart would run another job.
        mru_->AddUniqueItemToCollection(schedule.jobFile);
        mru_->WriteCollectionToIniFile();
        FillJobFileBox();
    }
    timer_.Start(schedule);
}

void Scheduler::cmdEndTimer_Click() {
    timer_.Stop();
    ResetSchedulerForm();
}

void Scheduler::ConversionJobPaused() {
    if (!timer_.Enabled())
        return;
    timer_.Stop();
    ResetSchedulerForm();
}

void Scheduler::ResetSchedulerForm() {
    locked_ = false;
}

ScheduleRunState CollectDataFromFrmScheduler(const ScheduleForm& form, const CalendarNumbers& numbers,
                                             const std::string& jobFile) {
    ScheduleRunState schedule;
    schedule.jobFile = jobFile;
    schedule.timeBased = false;
    schedule.daily = form.optDaily;
    schedule.weekly = form.optWeekly;
    schedule.monthly = form.optMonthly;
    schedule.everyNDays = form.optNumDays;
    schedule.weekdays = form.optWeekdays;
    schedule.numDays = numbers.numDays;
    schedule.numWeeks = numbers.numWeeks;
    schedule.numMonths = numbers.numMonths;
    schedule.dayOfMonth = numbers.dayOfMonth;
    schedule.chosenWeekdays = form.ChosenWeekdays();
    schedule.userTargetTime = StartTimeOfDay(form);
    return schedule;
}

bool RestartPersistedSchedule(Scheduler& scheduler, const std::string& iniFilePath, bool commandLineMode) {
    if (commandLineMode || !PersistedScheduleWanted(IniFile(iniFilePath)))
        return false;
    scheduler.SetUpScheduler(iniFilePath);
    return scheduler.cmdStartTimer_Click() == kScheduleOk;
}

SchedulerRunBinding::SchedulerRunBinding(ScheduledJobRun runJobFile,
                                         std::function<void(const std::string&)> setCaption)
    : runJobFile_(std::move(runJobFile)), setCaption_(std::move(setCaption)) {}

void SchedulerRunBinding::RunTheJobEvent(const std::string& strTimerFile) {
    if (runJobFile_)
        runJobFile_(strTimerFile);
}

void SchedulerRunBinding::DisplayTimeRemainingEvent(long lngDays, long lngHours, long lngMinutes,
                                                    long lngSeconds) {
    if (setCaption_)
        setCaption_(TimeRemainingCaption({lngDays, lngHours, lngMinutes, lngSeconds},
                                         [](const std::string& word) { return Translate(word); }));
}

} // namespace slidemill
