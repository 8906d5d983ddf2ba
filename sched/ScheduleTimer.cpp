#include "sched/ScheduleTimer.h"

#include "sched/SchedulerTick.h"

namespace slidemill {

ScheduleTimer::ScheduleTimer(SchedulerClock& clock, const LocalZone& zone, SchedulerEvents& events)
    : clock_(clock), zone_(zone), events_(events) {}

void ScheduleTimer::Start(const ScheduleRunState& schedule) {
    schedule_ = schedule;
    enabled_ = true;
    ++generation_;
}

void ScheduleTimer::Stop() {
    enabled_ = false;
    ++generation_;
}

void ScheduleTimer::Tick() {
    if (!enabled_ || jobRunning_)
        return;
    const std::uint64_t generation = generation_;
    const SchedulerTickResult step = SchedulerTick(schedule_, clock_.Now(), zone_);
    schedule_ = step.state;
    const TimeRemaining& r = step.remaining;
    events_.DisplayTimeRemainingEvent(r.lngDays, r.lngHours, r.lngMinutes, r.lngSeconds);
    if (!step.runJob || generation != generation_ || !enabled_)
        return;

    {
        // Cleared however the run ends, so one failed run cannot silence the scheduler.
        struct RunningFlag {
            bool& flag;
            explicit RunningFlag(bool& f) : flag(f) { flag = true; }
            ~RunningFlag() { flag = false; }
        } running(jobRunning_);
        events_.RunTheJobEvent(schedule_.jobFile);
    }
    if (generation == generation_ && enabled_)
        schedule_ = AdvanceAfterRun(schedule_, clock_.Now(), zone_);
}

} // namespace slidemill
