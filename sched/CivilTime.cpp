#include "sched/CivilTime.h"

#include "platform/LocalTime.h"

namespace slidemill {

using namespace std::chrono;

int WeekdayNumber(CivilTime time) {
    const weekday wd{floor<days>(time)};
    return static_cast<int>(wd.c_encoding()) + 1;
}

int DayOfMonth(CivilTime time) {
    const year_month_day date{floor<days>(time)};
    return static_cast<int>(static_cast<unsigned>(date.day()));
}

CivilTime StartOfDay(CivilTime time) {
    return floor<days>(time);
}

seconds TimeOfDay(CivilTime time) {
    return time - floor<days>(time);
}

CivilTime MakeCivilTime(int y, unsigned m, unsigned d, int hour, int minute, int second) {
    return local_days{year{y} / month{m} / day{d}} + hours{hour} + minutes{minute} + seconds{second};
}

unsigned DaysInMonth(year_month ym) {
    return static_cast<unsigned>((ym / last).day());
}

local_days DayOfMonthClamped(year_month ym, unsigned d) {
    const unsigned lastDay = DaysInMonth(ym);
    return local_days{ym / day{d < 1 ? 1 : (d > lastDay ? lastDay : d)}};
}

long long MinuteBoundaries(CivilTime from, CivilTime to) {
    return (floor<minutes>(to) - floor<minutes>(from)).count();
}

CivilTime SystemLocalZone::ToCivil(Instant instant) const {
    return LocalTimeOfInstant(instant);
}

Instant SystemLocalZone::ToInstant(CivilTime civil) const {
    return InstantOfLocalTime(civil);
}

} // namespace slidemill
