#include "sched/ScheduleArithmetic.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;

constexpr std::array<bool, 7> Days(std::initializer_list<int> weekdayNumbers) {
    std::array<bool, 7> days{};
    for (const int n : weekdayNumbers)
        days[static_cast<std::size_t>(n - 1)] = true;
    return days;
}
constexpr int kSun = 1, kMon = 2, kWed = 4, kThu = 5, kFri = 6;

TEST(FirstDailyTarget, StartTimeInTheCurrentMinuteStillCountsAsToday) {
    const seconds midnight{0};
    EXPECT_EQ(FirstDailyTarget(midnight, MakeCivilTime(2024, 4, 10, 0, 0, 40)),
              MakeCivilTime(2024, 4, 10, 0, 0, 0));
    EXPECT_EQ(FirstDailyTarget(midnight, MakeCivilTime(2024, 4, 10, 0, 1, 0)),
              MakeCivilTime(2024, 4, 11, 0, 0, 0));

    const seconds nine = hours{9};
    EXPECT_EQ(FirstDailyTarget(nine, MakeCivilTime(2024, 4, 10, 9, 0, 30)),
              MakeCivilTime(2024, 4, 10, 9, 0, 0));
    EXPECT_EQ(FirstDailyTarget(nine, MakeCivilTime(2024, 4, 10, 9, 1, 0)),
              MakeCivilTime(2024, 4, 11, 9, 0, 0));
    EXPECT_EQ(FirstDailyTarget(nine, MakeCivilTime(2024, 4, 10, 8, 59, 59)),
              MakeCivilTime(2024, 4, 10, 9, 0, 0));
    // Past the start time on the last day of a year: the first of January.
    EXPECT_EQ(FirstDailyTarget(nine, MakeCivilTime(2024, 12, 31, 23, 0)), MakeCivilTime(2025, 1, 1, 9, 0, 0));
}

TEST(WeeklyFindNextTargetDate, GapOfWeeksOnlyBetweenWeeksAndNotOnTheFirstComputation) {
    const auto monWed = Days({kMon, kWed});
    const seconds nine = hours{9};

    // Tuesday morning after a Monday run: Wednesday of the same week.
    bool first = false;
    EXPECT_EQ(WeeklyFindNextTargetDate(monWed, 2, nine, MakeCivilTime(2024, 4, 9, 8, 0), first),
              MakeCivilTime(2024, 4, 10, 9, 0));
    // On a Thursday, not the first computation: the Monday 11 days later.
    first = false;
    EXPECT_EQ(WeeklyFindNextTargetDate(monWed, 2, nine, MakeCivilTime(2024, 4, 11, 8, 0), first),
              MakeCivilTime(2024, 4, 22, 9, 0));
    // The first computation after the window opened takes the very next Monday, and clears the flag.
    first = true;
    EXPECT_EQ(WeeklyFindNextTargetDate(monWed, 2, nine, MakeCivilTime(2024, 4, 11, 8, 0), first),
              MakeCivilTime(2024, 4, 15, 9, 0));
    EXPECT_FALSE(first);
    // Wednesday after its run (past the start time): the Monday of the week after next.
    EXPECT_EQ(WeeklyFindNextTargetDate(monWed, 2, nine, MakeCivilTime(2024, 4, 10, 9, 0, 5), first),
              MakeCivilTime(2024, 4, 22, 9, 0));
    // Every week: the next Monday.
    EXPECT_EQ(WeeklyFindNextTargetDate(monWed, 1, nine, MakeCivilTime(2024, 4, 11, 8, 0), first),
              MakeCivilTime(2024, 4, 15, 9, 0));
}

TEST(WeeklyFindNextTargetDate, TodayComparesTimesToTheSecond) {
    const auto onlyWed = Days({kWed});
    const seconds nine = hours{9};
    bool first = true;
    // Before the start time on a chosen day: today.
    EXPECT_EQ(WeeklyFindNextTargetDate(onlyWed, 3, nine, MakeCivilTime(2024, 4, 10, 8, 59, 59), first),
              MakeCivilTime(2024, 4, 10, 9, 0));
    // Within the start minute but after its first second, with today the only chosen day: N weeks on.
    EXPECT_EQ(WeeklyFindNextTargetDate(onlyWed, 3, nine, MakeCivilTime(2024, 4, 10, 9, 0, 1), first),
              MakeCivilTime(2024, 5, 1, 9, 0));
    // With other days chosen, the next chosen day follows instead.
    EXPECT_EQ(
        WeeklyFindNextTargetDate(Days({kWed, kFri}), 3, nine, MakeCivilTime(2024, 4, 10, 9, 0, 1), first),
        MakeCivilTime(2024, 4, 12, 9, 0));
    // Saturday to Sunday wraps around the end of the week.
    EXPECT_EQ(WeeklyFindNextTargetDate(Days({kSun}), 1, nine, MakeCivilTime(2024, 6, 15, 12, 0), first),
              MakeCivilTime(2024, 6, 16, 9, 0));
}

TEST(FirstMonthlyTarget, DayIsLoweredToTheMonthsEndAndMovesOnOnlyWhenPast) {
    const seconds sevenPm = hours{19} + minutes{5};
    // Day 31 started on 10 April: 30 April.
    EXPECT_EQ(FirstMonthlyTarget(31, sevenPm, MakeCivilTime(2024, 4, 10, 12, 0)),
              MakeCivilTime(2024, 4, 30, 19, 5));
    // Day 15 started on 20 March: 15 April.
    EXPECT_EQ(FirstMonthlyTarget(15, sevenPm, MakeCivilTime(2024, 3, 20, 12, 0)),
              MakeCivilTime(2024, 4, 15, 19, 5));
    // On the day itself the target is today, even after the start time.
    EXPECT_EQ(FirstMonthlyTarget(15, sevenPm, MakeCivilTime(2024, 3, 15, 23, 0)),
              MakeCivilTime(2024, 3, 15, 19, 5));
    // Day 30 started on 31 January: the end of February, leap year or not.
    EXPECT_EQ(FirstMonthlyTarget(30, sevenPm, MakeCivilTime(2024, 1, 31, 8, 0)),
              MakeCivilTime(2024, 2, 29, 19, 5));
    EXPECT_EQ(FirstMonthlyTarget(30, sevenPm, MakeCivilTime(2025, 1, 31, 8, 0)),
              MakeCivilTime(2025, 2, 28, 19, 5));
    // Day 5 started on 20 December: 5 January of the next year.
    EXPECT_EQ(FirstMonthlyTarget(5, sevenPm, MakeCivilTime(2024, 12, 20, 8, 0)),
              MakeCivilTime(2025, 1, 5, 19, 5));
}

TEST(NextMonthlyTarget, ReappliesTheConfiguredDayEveryTime) {
    const seconds nine = hours{9};
    CivilTime target = MakeCivilTime(2023, 12, 31, 9, 0);
    const CivilTime expected[] = {MakeCivilTime(2024, 1, 31, 9, 0), MakeCivilTime(2024, 2, 29, 9, 0),
                                  MakeCivilTime(2024, 3, 31, 9, 0), MakeCivilTime(2024, 4, 30, 9, 0),
                                  MakeCivilTime(2024, 5, 31, 9, 0)};
    for (const CivilTime& next : expected) {
        target = NextMonthlyTarget(target, 1, 31, nine);
        EXPECT_EQ(target, next);
    }
    // Every 12 months crosses the year; every 5 months from November lands in April.
    EXPECT_EQ(NextMonthlyTarget(MakeCivilTime(2024, 3, 15, 9, 0), 12, 15, nine),
              MakeCivilTime(2025, 3, 15, 9, 0));
    EXPECT_EQ(NextMonthlyTarget(MakeCivilTime(2024, 11, 30, 9, 0), 5, 31, nine),
              MakeCivilTime(2025, 4, 30, 9, 0));
}

TEST(ShortMonthNotice, OnlyForDaysSomeMonthsLack) {
    EXPECT_EQ(ShortMonthNotice(31),
              "If a month has fewer than 31 days then the job will run on the last day of the month");
    EXPECT_EQ(ShortMonthNotice(29),
              "If a month has fewer than 29 days then the job will run on the last day of the month");
    EXPECT_EQ(ShortMonthNotice(28), "");
}

TEST(FirstCalendarTarget, DispatchesOnTheKind) {
    ScheduleRunState schedule;
    schedule.userTargetTime = hours{9};
    schedule.numWeeks = 2;
    schedule.chosenWeekdays = Days({kMon, kWed});
    schedule.dayOfMonth = 31;
    const CivilTime thursday = MakeCivilTime(2024, 4, 11, 10, 0);
    bool first = true;

    EXPECT_EQ(FirstCalendarTarget(schedule, thursday, first), MakeCivilTime(2024, 4, 12, 9, 0));
    EXPECT_TRUE(first) << "a daily start is not a weekly computation";
    schedule.daily = false;
    schedule.weekly = true;
    EXPECT_EQ(FirstCalendarTarget(schedule, thursday, first), MakeCivilTime(2024, 4, 15, 9, 0));
    EXPECT_FALSE(first);
    schedule.weekly = false;
    schedule.monthly = true;
    EXPECT_EQ(FirstCalendarTarget(schedule, thursday, first), MakeCivilTime(2024, 4, 30, 9, 0));
}

TEST(NextRelativeTarget, SkipDropsOverdueRunsContinuousOwesAtMostOne) {
    const Instant t0{seconds{1'000'000}};
    // A run that returned in time: one interval on, whichever option.
    EXPECT_EQ(NextRelativeTarget(t0, 10, true, t0 + seconds{3}), t0 + seconds{10});
    EXPECT_EQ(NextRelativeTarget(t0, 10, false, t0 + seconds{3}), t0 + seconds{10});
    // A 25 s run: skip waits for the first interval boundary after it ended ...
    EXPECT_EQ(NextRelativeTarget(t0, 10, true, t0 + seconds{25}), t0 + seconds{30});
    // ... and a boundary at the very second the run ended is not in the past.
    EXPECT_EQ(NextRelativeTarget(t0, 10, true, t0 + seconds{30}), t0 + seconds{30});
    // Continuous runs again at once.
    EXPECT_EQ(NextRelativeTarget(t0, 10, false, t0 + seconds{25}), t0 + seconds{25});
    // A day asleep: skip lands on the grid ahead, continuous runs once and does not replay the day.
    const Instant woke = t0 + hours{24} + seconds{3};
    EXPECT_EQ(NextRelativeTarget(t0, 10, true, woke), t0 + hours{24} + seconds{10});
    EXPECT_EQ(NextRelativeTarget(t0, 10, false, woke), woke);
}

} // namespace
} // namespace slidemill
