#include "sched/ScheduleArithmetic.h"
#include "settings/TranslatableText.h"

namespace slidemill {

using namespace std::chrono;

CivilTime FirstDailyTarget(seconds startTime, CivilTime now) {
    const CivilTime today = StartOfDay(now);
    const auto minutesLate = MinuteBoundaries(today + startTime, now);
    return (minutesLate > 0 ? today + days{1} : today) + startTime;
}

CivilTime WeeklyFindNextTargetDate(const std::array<bool, 7>& chosen, int numWeeks, seconds startTime,
                                   CivilTime now, bool& firstComputation) {
    const CivilTime today = StartOfDay(now);
    const seconds clock = TimeOfDay(now);
    const seconds startMinute = floor<minutes>(startTime);
    const int w = WeekdayNumber(now);
    const auto isChosen = [&](int weekday) { return chosen[static_cast<std::size_t>(weekday - 1)]; };

    // With no day chosen (the checks refuse such a schedule) today's weekday stands in.
    int d = w;
    if (!(isChosen(w) && clock < startMinute)) {
        for (int step = 1; step <= 7; ++step) {
            const int candidate = (w - 1 + step) % 7 + 1;
            if (isChosen(candidate)) {
                d = candidate;
                break;
            }
        }
    }

    CivilTime date = today;
    if (w < d)
        date = today + days{d - w};
    else if (d == w)
        date = clock > startTime ? today + days{7 * numWeeks} : today;
    else if (numWeeks < 2 || firstComputation)
        date = today + days{7 - (w - d)};
    else
        date = today + days{7 * (numWeeks - 1)} + days{7 - (w - d)};

    firstComputation = false;
    return date + startTime;
}

CivilTime FirstMonthlyTarget(int dayOfMonth, seconds startTime, CivilTime now) {
    const year_month_day today{floor<days>(now)};
    const year_month thisMonth{today.year(), today.month()};
    local_days candidate = DayOfMonthClamped(thisMonth, static_cast<unsigned>(dayOfMonth));
    if (today.day() > year_month_day{candidate}.day()) {
        // The candidate's day is the configured day whenever today can be past it, so a month
        // later it is the same day again, lowered to that month's end if needed.
        candidate = DayOfMonthClamped(thisMonth + months{1}, static_cast<unsigned>(dayOfMonth));
    }
    return candidate + startTime;
}

CivilTime NextMonthlyTarget(CivilTime target, int numMonths, int dayOfMonth, seconds startTime) {
    const year_month_day date{floor<days>(target)};
    const year_month next = year_month{date.year(), date.month()} + months{numMonths};
    return DayOfMonthClamped(next, static_cast<unsigned>(dayOfMonth)) + startTime;
}

std::string ShortMonthNotice(int dayOfMonth) {
    // The whole sentence is the text a translation holds, one for each day that can need it.
    switch (dayOfMonth) {
    case 29:
        return N_("If a month has fewer than 29 days then the job will run on the last day of the month");
    case 30:
        return N_("If a month has fewer than 30 days then the job will run on the last day of the month");
    case 31:
        return N_("If a month has fewer than 31 days then the job will run on the last day of the month");
    default:
        return {};
    }
}

CivilTime FirstCalendarTarget(const ScheduleRunState& schedule, CivilTime now, bool& firstWeeklyComputation) {
    if (schedule.weekly)
        return WeeklyFindNextTargetDate(schedule.chosenWeekdays, schedule.numWeeks, schedule.userTargetTime,
                                        now, firstWeeklyComputation);
    if (schedule.monthly)
        return FirstMonthlyTarget(schedule.dayOfMonth, schedule.userTargetTime, now);
    return FirstDailyTarget(schedule.userTargetTime, now);
}

Instant NextRelativeTarget(Instant target, long long intervalSeconds, bool skip, Instant now) {
    const seconds interval{intervalSeconds > 0 ? intervalSeconds : 1};
    Instant next = target + interval;
    if (next >= now)
        return next;
    if (!skip)
        return now;
    const auto behind = (now - next).count();
    const auto steps = (behind + interval.count() - 1) / interval.count();
    return next + steps * interval;
}

} // namespace slidemill
