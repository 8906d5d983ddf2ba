#include "platform/LocalTime.h"
#include "sched/ScheduleTimer.h"
#include "sched/SchedulerTick.h"

#include "SchedulerFakes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace slidemill {
namespace {

using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;

// Switches the process to a named time zone for one test.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            previous_ = old;
        setenv("TZ", zone, 1);
        ReloadTimeZone();
    }
    ~TimeZoneScope() {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        ReloadTimeZone();
    }

private:
    std::optional<std::string> previous_;
};

bool ZoneInstalled(const char* zone) {
    return std::filesystem::exists(std::string("/usr/share/zoneinfo/") + zone);
}

#define REQUIRE_ZONE(zone)                                                                                   \
    ASSERT_TRUE(ZoneInstalled(zone)) << "time zone data for " zone " is not installed (package tzdata)"

Instant Utc(int y, unsigned mo, unsigned d, int h, int mi, int s = 0) {
    return Instant{MakeCivilTime(y, mo, d, h, mi, s).time_since_epoch()};
}

// Ticks every 30 seconds from `from` to `to` and returns the wall-clock times of the runs.
std::vector<CivilTime> DailyRuns(int hour, int minute, CivilTime from, CivilTime to) {
    const SystemLocalZone zone;
    test::FakeSchedulerClock clock(zone.ToInstant(from));
    test::RecordingSchedulerEvents events;
    std::vector<CivilTime> runs;
    events.duringRun = [&] { runs.push_back(zone.ToCivil(clock.now)); };
    ScheduleTimer timer(clock, zone, events);
    ScheduleRunState state;
    state.jobFile = "/jobs/daily.mjb";
    state.userTargetTime = hours{hour} + minutes{minute};
    state.targetComplete = StartOfDay(from) + state.userTargetTime;
    timer.Start(state);
    const Instant end = zone.ToInstant(to);
    for (; clock.now < end; clock.now += seconds{30})
        timer.Tick();
    return runs;
}

TEST(DaylightSaving, WallClockTimesAcrossTheChangesInBerlin) {
    REQUIRE_ZONE("Europe/Berlin");
    TimeZoneScope berlin("Europe/Berlin");
    // Winter time is UTC+1, summer time UTC+2.
    EXPECT_EQ(InstantOfLocalTime(MakeCivilTime(2024, 3, 30, 9, 0)), Utc(2024, 3, 30, 8, 0));
    EXPECT_EQ(InstantOfLocalTime(MakeCivilTime(2024, 3, 31, 9, 0)), Utc(2024, 3, 31, 7, 0));
    EXPECT_EQ(LocalTimeOfInstant(Utc(2024, 3, 31, 7, 0)), MakeCivilTime(2024, 3, 31, 9, 0));
    // 2:30 does not occur on 31 March: it falls due at 3:00.
    EXPECT_EQ(InstantOfLocalTime(MakeCivilTime(2024, 3, 31, 2, 30)), Utc(2024, 3, 31, 1, 0));
    // 2:30 occurs twice on 27 October: the first one counts.
    EXPECT_EQ(InstantOfLocalTime(MakeCivilTime(2024, 10, 27, 2, 30)), Utc(2024, 10, 27, 0, 30));
}

TEST(DaylightSaving, DailyNineOClockStaysAtNineOnBothSidesOfTheChange) {
    REQUIRE_ZONE("Europe/Berlin");
    TimeZoneScope berlin("Europe/Berlin");
    EXPECT_EQ(DailyRuns(9, 0, MakeCivilTime(2024, 3, 30, 8, 0), MakeCivilTime(2024, 4, 1, 12, 0)),
              (std::vector<CivilTime>{MakeCivilTime(2024, 3, 30, 9, 0), MakeCivilTime(2024, 3, 31, 9, 0),
                                      MakeCivilTime(2024, 4, 1, 9, 0)}));
    EXPECT_EQ(DailyRuns(9, 0, MakeCivilTime(2024, 10, 26, 8, 0), MakeCivilTime(2024, 10, 28, 12, 0)),
              (std::vector<CivilTime>{MakeCivilTime(2024, 10, 26, 9, 0), MakeCivilTime(2024, 10, 27, 9, 0),
                                      MakeCivilTime(2024, 10, 28, 9, 0)}));
}

TEST(DaylightSaving, SkippedHourRunsAtTheFirstMinuteAfterAndRepeatedHourRunsOnce) {
    REQUIRE_ZONE("Europe/Berlin");
    TimeZoneScope berlin("Europe/Berlin");
    EXPECT_EQ(DailyRuns(2, 30, MakeCivilTime(2024, 3, 30, 0, 0), MakeCivilTime(2024, 4, 1, 12, 0)),
              (std::vector<CivilTime>{MakeCivilTime(2024, 3, 30, 2, 30), MakeCivilTime(2024, 3, 31, 3, 0),
                                      MakeCivilTime(2024, 4, 1, 2, 30)}));
    EXPECT_EQ(DailyRuns(2, 30, MakeCivilTime(2024, 10, 26, 0, 0), MakeCivilTime(2024, 10, 28, 12, 0)),
              (std::vector<CivilTime>{MakeCivilTime(2024, 10, 26, 2, 30), MakeCivilTime(2024, 10, 27, 2, 30),
                                      MakeCivilTime(2024, 10, 28, 2, 30)}));
}

TEST(DaylightSaving, CountdownIsRealTimeAndIntervalsAreRealSecondsInNewYork) {
    REQUIRE_ZONE("America/New_York");
    TimeZoneScope newYork("America/New_York");
    const SystemLocalZone zone;
    // From midnight to 9:00 on the day the clocks go forward is 8 real hours ...
    ScheduleRunState daily;
    daily.userTargetTime = hours{9};
    daily.targetComplete = MakeCivilTime(2024, 3, 10, 9, 0);
    EXPECT_EQ(SchedulerTick(daily, zone.ToInstant(MakeCivilTime(2024, 3, 10, 0, 0)), zone).remaining,
              (TimeRemaining{0, 8, 0, 0}));
    // ... and 10 on the day they go back.
    daily.targetComplete = MakeCivilTime(2024, 11, 3, 9, 0);
    EXPECT_EQ(SchedulerTick(daily, zone.ToInstant(MakeCivilTime(2024, 11, 3, 0, 0)), zone).remaining,
              (TimeRemaining{0, 10, 0, 0}));
    EXPECT_EQ(DailyRuns(9, 0, MakeCivilTime(2024, 11, 2, 8, 0), MakeCivilTime(2024, 11, 4, 10, 0)),
              (std::vector<CivilTime>{MakeCivilTime(2024, 11, 2, 9, 0), MakeCivilTime(2024, 11, 3, 9, 0),
                                      MakeCivilTime(2024, 11, 4, 9, 0)}));

    // An hourly interval schedule started at 1:30 runs next at 3:30 wall-clock time: one real hour.
    ScheduleRunState hourly;
    hourly.timeBased = true;
    hourly.intervalSeconds = 3600;
    hourly.relativeTarget = zone.ToInstant(MakeCivilTime(2024, 3, 10, 1, 30));
    const ScheduleRunState next = AdvanceAfterRun(hourly, hourly.relativeTarget + seconds{5}, zone);
    EXPECT_EQ(zone.ToCivil(next.relativeTarget), MakeCivilTime(2024, 3, 10, 3, 30));
}

} // namespace
} // namespace slidemill
