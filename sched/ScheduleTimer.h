#pragma once

#include <cstdint>

#include "sched/CivilTime.h"
#include "sched/ScheduleRunState.h"
#include "sched/SchedulerEvents.h"

namespace slidemill {

// The scheduler's one-second timer. Whatever owns the event loop calls Tick about once a
// second; ticks are compared with the clock, never counted, so late or merged ticks do no harm.
//
// A run happens inside RunTheJobEvent. A tick that arrives meanwhile (the job lets pending events
// run between its files) is ignored, so one run never starts inside another. A window toolkit
// that must not block its timer callback can call Tick from a posted call instead of from the
// timer itself: later ticks then arrive during the job and are ignored the same way.
class ScheduleTimer {
public:
    ScheduleTimer(SchedulerClock& clock, const LocalZone& zone, SchedulerEvents& events);

    // StartTimer: takes the running copy of the schedule and enables the timer.
    void Start(const ScheduleRunState& schedule);
    // Disables the timer. Safe to call from inside a run: its target is then not advanced.
    void Stop();

    // Whether the timer is enabled: the scheduler counts as running exactly while it is.
    bool Enabled() const { return enabled_; }
    bool JobRunning() const { return jobRunning_; }
    const ScheduleRunState& Schedule() const { return schedule_; }

    void Tick();

private:
    SchedulerClock& clock_;
    const LocalZone& zone_;
    SchedulerEvents& events_;
    ScheduleRunState schedule_;
    bool enabled_ = false;
    bool jobRunning_ = false;
    // Changes with every start and stop, so a run that returns into a different schedule leaves
    // that schedule alone.
    std::uint64_t generation_ = 0;
};

} // namespace slidemill
