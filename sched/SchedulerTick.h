#pragma once

#include "sched/CivilTime.h"
#include "sched/ScheduleRunState.h"
#include "sched/TimeRemaining.h"

namespace slidemill {

// What one tick of the scheduler decides.
struct SchedulerTickResult {
    // The schedule after the tick. When runJob is set the target is left as it was: the next one
    // is computed once the run has returned (AdvanceAfterRun), from the time the run ended.
    ScheduleRunState state;
    TimeRemaining remaining;
    bool runJob = false;
};

// One tick at now. Interval schedules fall due once the target's second has come; calendar
// schedules run only within the target's own minute. A calendar target found already past (the
// computer slept or was off) is moved on without a run: daily and monthly targets one period per
// tick, weekly targets straight to the next chosen day, until the target lies ahead.
SchedulerTickResult SchedulerTick(const ScheduleRunState& state, Instant now, const LocalZone& zone);

// The schedule's next target after a run that returned at now.
ScheduleRunState AdvanceAfterRun(const ScheduleRunState& state, Instant now, const LocalZone& zone);

} // namespace slidemill
