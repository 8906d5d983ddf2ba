#pragma once

#include <array>
#include <chrono>
#include <string>

#include "sched/CivilTime.h"
#include "sched/ScheduleRunState.h"

namespace slidemill {

// Today at the start time, or tomorrow when the start time's minute has already gone by; a start
// time in the current minute still counts as today.
CivilTime FirstDailyTarget(std::chrono::seconds startTime, CivilTime now);

// The next chosen weekday at the start time. The gap of numWeeks applies when that day lies in a
// later week (or is today's weekday again), not between chosen days of one week, and not on the
// first computation after the scheduler was opened; firstComputation is cleared.
CivilTime WeeklyFindNextTargetDate(const std::array<bool, 7>& chosenWeekdays, int numWeeks,
                                   std::chrono::seconds startTime, CivilTime now, bool& firstComputation);

// Day dayOfMonth of this month (or the month's last day when it is shorter), moved on a month
// when today is already past it. Only days are compared: on the day itself the target is today.
CivilTime FirstMonthlyTarget(int dayOfMonth, std::chrono::seconds startTime, CivilTime now);

// Day dayOfMonth (lowered to the last day when needed) of the month numMonths after the target.
CivilTime NextMonthlyTarget(CivilTime target, int numMonths, int dayOfMonth, std::chrono::seconds startTime);

// The warning shown when a monthly schedule names a day some months do not have; "" for days
// every month has.
std::string ShortMonthNotice(int dayOfMonth);

// The first run of a calendar schedule started at now.
CivilTime FirstCalendarTarget(const ScheduleRunState& schedule, CivilTime now, bool& firstWeeklyComputation);

// The run after an interval run that started at target and returned at now. With skip, runs that
// fall due while the job was still running are dropped, so the next one is the first interval
// boundary that is not in the past. Without it the next run may be due at once, but never more
// than one overdue run is owed, so a long sleep of the computer does not leave a backlog of runs
// to work off back to back.
Instant NextRelativeTarget(Instant target, long long intervalSeconds, bool skip, Instant now);

} // namespace slidemill
