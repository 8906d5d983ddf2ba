#include "sched/SchedulerTick.h"
#include "sched/ScheduleTimer.h"

#include "SchedulerFakes.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

using std::chrono::days;
using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;

const UtcZone kUtc;

Instant At(int y, unsigned mo, unsigned d, int h, int mi, int s = 0) {
    return kUtc.ToInstant(MakeCivilTime(y, mo, d, h, mi, s));
}

ScheduleRunState Daily(CivilTime target, int numDays = 1) {
    ScheduleRunState state;
    state.jobFile = "/jobs/daily.mjb";
    state.numDays = numDays;
    state.userTargetTime = TimeOfDay(target);
    state.targetComplete = target;
    return state;
}

TEST(SchedulerTick, CalendarRunsOnlyWithinTheTargetMinute) {
    const auto state = Daily(MakeCivilTime(2024, 4, 10, 9, 0), 3);

    auto before = SchedulerTick(state, At(2024, 4, 10, 8, 59, 59), kUtc);
    EXPECT_FALSE(before.runJob);
    EXPECT_EQ(before.remaining, (TimeRemaining{0, 0, 0, 1}));
    EXPECT_EQ(before.state.targetComplete, state.targetComplete);

    auto exact = SchedulerTick(state, At(2024, 4, 10, 9, 0, 0), kUtc);
    EXPECT_TRUE(exact.runJob);
    EXPECT_EQ(TimeRemainingCaption(exact.remaining), "Job is Running");
    EXPECT_EQ(exact.state.targetComplete, state.targetComplete) << "advanced only after the run";
    EXPECT_EQ(AdvanceAfterRun(exact.state, At(2024, 4, 10, 9, 0, 20), kUtc).targetComplete,
              MakeCivilTime(2024, 4, 13, 9, 0));

    EXPECT_TRUE(SchedulerTick(state, At(2024, 4, 10, 9, 0, 59), kUtc).runJob);
}

TEST(SchedulerTick, MissedDailyTargetMovesOnePeriodPerTickWithoutRunning) {
    auto state = Daily(MakeCivilTime(2024, 4, 7, 9, 0));
    const Instant now = At(2024, 4, 10, 10, 0);
    const CivilTime expected[] = {MakeCivilTime(2024, 4, 8, 9, 0), MakeCivilTime(2024, 4, 9, 9, 0),
                                  MakeCivilTime(2024, 4, 10, 9, 0), MakeCivilTime(2024, 4, 11, 9, 0),
                                  MakeCivilTime(2024, 4, 11, 9, 0)};
    for (const CivilTime& target : expected) {
        const auto step = SchedulerTick(state, now, kUtc);
        EXPECT_FALSE(step.runJob);
        state = step.state;
        EXPECT_EQ(state.targetComplete, target);
    }
    // The countdown after the target has passed shows the time elapsed since it.
    EXPECT_EQ(
        SchedulerTick(Daily(MakeCivilTime(2024, 4, 10, 9, 0)), At(2024, 4, 10, 9, 1, 30), kUtc).remaining,
        (TimeRemaining{0, 0, 1, 30}));
}

TEST(SchedulerTick, EveryWeekdayPassesTheWeekendWithoutRunning) {
    auto state = Daily(MakeCivilTime(2024, 6, 15, 9, 0)); // a Saturday
    state.everyNDays = false;
    state.weekdays = true;

    auto saturday = SchedulerTick(state, At(2024, 6, 15, 9, 0, 0), kUtc);
    EXPECT_FALSE(saturday.runJob);
    EXPECT_EQ(saturday.state.targetComplete, MakeCivilTime(2024, 6, 16, 9, 0));
    auto sunday = SchedulerTick(saturday.state, At(2024, 6, 16, 9, 0, 0), kUtc);
    EXPECT_FALSE(sunday.runJob);
    EXPECT_EQ(sunday.state.targetComplete, MakeCivilTime(2024, 6, 17, 9, 0));
    auto monday = SchedulerTick(sunday.state, At(2024, 6, 17, 9, 0, 0), kUtc);
    EXPECT_TRUE(monday.runJob);
    EXPECT_EQ(AdvanceAfterRun(monday.state, At(2024, 6, 17, 9, 2), kUtc).targetComplete,
              MakeCivilTime(2024, 6, 18, 9, 0));
}

TEST(SchedulerTick, MonthlyTargetFoundPastOnItsDayMovesOnWithoutRunning) {
    auto state = Daily(MakeCivilTime(2024, 3, 15, 9, 0));
    state.daily = false;
    state.monthly = true;
    state.numMonths = 2;
    state.dayOfMonth = 15;
    const auto step = SchedulerTick(state, At(2024, 3, 15, 10, 0), kUtc);
    EXPECT_FALSE(step.runJob);
    EXPECT_EQ(step.state.targetComplete, MakeCivilTime(2024, 5, 15, 9, 0));
}

TEST(SchedulerTick, MissedWeeklyTargetOnAnEarlierDayMovesToTheNextChosenDay) {
    auto state = Daily(MakeCivilTime(2024, 4, 8, 9, 0)); // Monday
    state.daily = false;
    state.weekly = true;
    state.numWeeks = 2;
    state.chosenWeekdays[1] = true; // Monday
    state.chosenWeekdays[3] = true; // Wednesday
    // The computer was off from Monday to Tuesday afternoon.
    const auto step = SchedulerTick(state, At(2024, 4, 9, 15, 0), kUtc);
    EXPECT_FALSE(step.runJob);
    EXPECT_EQ(step.state.targetComplete, MakeCivilTime(2024, 4, 10, 9, 0));
}

TEST(SchedulerTick, WeeklyRunReturningWithinItsOwnSecondIsNotRepeated) {
    auto state = Daily(MakeCivilTime(2024, 4, 10, 9, 0)); // Wednesday
    state.daily = false;
    state.weekly = true;
    state.numWeeks = 1;
    state.chosenWeekdays[3] = true;
    const Instant target = At(2024, 4, 10, 9, 0, 0);
    ASSERT_TRUE(SchedulerTick(state, target, kUtc).runJob);
    EXPECT_EQ(AdvanceAfterRun(state, target, kUtc).targetComplete, MakeCivilTime(2024, 4, 17, 9, 0));
}

TEST(SchedulerTick, IntervalFallsDueAtTheTargetSecond) {
    ScheduleRunState state;
    state.timeBased = true;
    state.intervalSeconds = 10;
    state.relativeTarget = At(2024, 4, 10, 12, 0, 10);
    auto early = SchedulerTick(state, At(2024, 4, 10, 12, 0, 9), kUtc);
    EXPECT_FALSE(early.runJob);
    EXPECT_EQ(early.remaining, (TimeRemaining{0, 0, 0, 1}));
    auto due = SchedulerTick(state, At(2024, 4, 10, 12, 0, 10), kUtc);
    EXPECT_TRUE(due.runJob);
    EXPECT_EQ(TimeRemainingCaption(due.remaining), "Job is Running");
}

// Drives a timer second by second on the fake clock.
struct TimerRig {
    explicit TimerRig(Instant start) : clock(start), timer(clock, kUtc, events) {}
    void RunSeconds(int count) {
        for (int i = 0; i < count; ++i) {
            timer.Tick();
            clock.now += seconds{1};
        }
    }
    test::FakeSchedulerClock clock;
    test::RecordingSchedulerEvents events;
    ScheduleTimer timer;
};

// Start times (seconds after the start) of the runs of a 10 s schedule whose job takes 25 s.
std::vector<long long> RunStartsWithLongJob(bool runImmediately) {
    const Instant t0 = At(2024, 4, 10, 12, 0, 0);
    TimerRig rig(t0);
    std::vector<long long> starts;
    rig.events.duringRun = [&] {
        starts.push_back((rig.clock.now - t0).count());
        // The job lets pending ticks through; they must not start another run.
        for (int i = 0; i < 25; ++i) {
            rig.clock.now += seconds{1};
            rig.timer.Tick();
        }
    };
    ScheduleRunState state;
    state.jobFile = "/jobs/long.mjb";
    state.timeBased = true;
    state.intervalSeconds = 10;
    state.runImmediately = runImmediately;
    state.relativeTarget = t0 + seconds{10};
    rig.timer.Start(state);
    while ((rig.clock.now - t0).count() < 100)
        rig.RunSeconds(1);
    return starts;
}

TEST(ScheduleTimer, SkipWaitsForTheNextBoundaryContinuousRunsAtOnce) {
    // Skip: each run ends 25 s after it began; the next starts on the first 10 s boundary after.
    EXPECT_EQ(RunStartsWithLongJob(false), (std::vector<long long>{10, 40, 70}));
    // Continuous: the next run starts on the tick right after the job returned.
    EXPECT_EQ(RunStartsWithLongJob(true), (std::vector<long long>{10, 36, 62, 88}));
}

TEST(ScheduleTimer, RunsTheJobFileAndRaisesTheCountdownEveryTick) {
    const Instant t0 = At(2024, 4, 10, 8, 59, 57);
    TimerRig rig(t0);
    rig.timer.Start(Daily(MakeCivilTime(2024, 4, 10, 9, 0)));
    rig.RunSeconds(5);
    ASSERT_EQ(rig.events.runs.size(), 1u);
    EXPECT_EQ(rig.events.runs[0], "/jobs/daily.mjb");
    ASSERT_EQ(rig.events.remaining.size(), 5u);
    EXPECT_EQ(rig.events.remaining[0], (TimeRemaining{0, 0, 0, 3}));
    EXPECT_EQ(rig.events.remaining[3], (TimeRemaining{0, 0, 0, 0}));
    EXPECT_EQ(rig.timer.Schedule().targetComplete, MakeCivilTime(2024, 4, 11, 9, 0));
}

TEST(ScheduleTimer, StoppingDuringARunLeavesTheTimerStopped) {
    TimerRig rig(At(2024, 4, 10, 9, 0, 0));
    rig.events.duringRun = [&] { rig.timer.Stop(); };
    rig.timer.Start(Daily(MakeCivilTime(2024, 4, 10, 9, 0)));
    rig.RunSeconds(3);
    EXPECT_EQ(rig.events.runs.size(), 1u);
    EXPECT_FALSE(rig.timer.Enabled());
    EXPECT_FALSE(rig.timer.JobRunning());
    EXPECT_EQ(rig.events.remaining.size(), 1u);
}

TEST(ScheduleTimer, AStoppedTimerRaisesNothing) {
    TimerRig rig(At(2024, 4, 10, 9, 0, 0));
    rig.RunSeconds(3);
    EXPECT_TRUE(rig.events.runs.empty());
    EXPECT_TRUE(rig.events.remaining.empty());
}

} // namespace
} // namespace slidemill
