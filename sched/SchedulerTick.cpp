#include "sched/SchedulerTick.h"

#include "sched/ScheduleArithmetic.h"

namespace slidemill {

using namespace std::chrono;

namespace {

bool IsWorkday(CivilTime time) {
    const int weekday = WeekdayNumber(time);
    return weekday >= 2 && weekday <= 6;
}

// The next calendar target of a schedule whose current target has been dealt with at now.
CivilTime FollowingCalendarTarget(const ScheduleRunState& state, CivilTime now) {
    if (state.weekly) {
        // The weekly rule looks at the clock; reading it no earlier than just after the current
        // target keeps a run that returned within its own second from being scheduled again.
        bool firstComputation = false;
        const CivilTime after = state.targetComplete + seconds{1};
        return WeeklyFindNextTargetDate(state.chosenWeekdays, state.numWeeks, state.userTargetTime,
                                        now > after ? now : after, firstComputation);
    }
    if (state.monthly)
        return NextMonthlyTarget(state.targetComplete, state.numMonths, state.dayOfMonth,
                                 state.userTargetTime);
    if (state.weekdays)
        return state.targetComplete + days{1};
    return state.targetComplete + days{state.numDays};
}

} // namespace

SchedulerTickResult SchedulerTick(const ScheduleRunState& state, Instant now, const LocalZone& zone) {
    SchedulerTickResult result{state, {}, false};
    if (state.timeBased) {
        const auto late = (now - state.relativeTarget).count();
        result.remaining = SplitTimeRemaining(late);
        result.runJob = late >= 0;
        return result;
    }

    // A target inside a skipped hour falls due at the first minute after the jump.
    const Instant targetInstant = zone.ToInstant(state.targetComplete);
    const CivilTime dueAt = zone.ToCivil(targetInstant);
    const CivilTime civilNow = zone.ToCivil(now);
    result.remaining = SplitTimeRemaining((now - targetInstant).count());
    const auto minutesLate = MinuteBoundaries(dueAt, civilNow);
    if (minutesLate < 0)
        return result;

    const bool runsToday = !(state.daily && state.weekdays) || IsWorkday(civilNow);
    if (minutesLate == 0 && runsToday) {
        result.runJob = true;
        return result;
    }
    result.state.targetComplete = FollowingCalendarTarget(state, civilNow);
    return result;
}

ScheduleRunState AdvanceAfterRun(const ScheduleRunState& state, Instant now, const LocalZone& zone) {
    ScheduleRunState next = state;
    if (state.timeBased)
        next.relativeTarget =
            NextRelativeTarget(state.relativeTarget, state.intervalSeconds, !state.runImmediately, now);
    else
        next.targetComplete = FollowingCalendarTarget(state, zone.ToCivil(now));
    return next;
}

} // namespace slidemill
