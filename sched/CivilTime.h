#pragma once

#include <chrono>

namespace slidemill {

// Absolute moments (what the clock reads) and wall-clock times (what calendar schedules are
// written in). Calendar arithmetic stays in wall-clock time so that a 9:00 schedule stays at
// 9:00 when the clocks change.
using Instant = std::chrono::sys_seconds;
using CivilTime = std::chrono::local_seconds;

// Weekdays are numbered 1 = Sunday ... 7 = Saturday.
int WeekdayNumber(CivilTime time);
int DayOfMonth(CivilTime time);
CivilTime StartOfDay(CivilTime time);
std::chrono::seconds TimeOfDay(CivilTime time);
CivilTime MakeCivilTime(int year, unsigned month, unsigned day, int hour = 0, int minute = 0, int second = 0);
unsigned DaysInMonth(std::chrono::year_month ym);
// Day `day` of the month, lowered to the month's last day when the month is shorter.
std::chrono::local_days DayOfMonthClamped(std::chrono::year_month ym, unsigned day);
// Minute boundaries crossed from `from` to `to`: positive when `to` is later, 0 within one minute.
long long MinuteBoundaries(CivilTime from, CivilTime to);

// Converts between the two in one time zone.
class LocalZone {
public:
    virtual ~LocalZone() = default;
    virtual CivilTime ToCivil(Instant instant) const = 0;
    // The earlier occurrence of a repeated wall-clock time; the first moment after a skipped
    // stretch for a time that does not occur.
    virtual Instant ToInstant(CivilTime civil) const = 0;
};

// The process's own time zone.
class SystemLocalZone final : public LocalZone {
public:
    CivilTime ToCivil(Instant instant) const override;
    Instant ToInstant(CivilTime civil) const override;
};

// A zone without offset or clock changes, where wall-clock time equals UTC.
class UtcZone final : public LocalZone {
public:
    CivilTime ToCivil(Instant instant) const override { return CivilTime{instant.time_since_epoch()}; }
    Instant ToInstant(CivilTime civil) const override { return Instant{civil.time_since_epoch()}; }
};

} // namespace slidemill
