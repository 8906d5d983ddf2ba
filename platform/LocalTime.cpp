#include "platform/LocalTime.h"

#include <ctime>
#include <optional>

namespace slidemill {

namespace {

using std::chrono::days;
using std::chrono::local_days;
using std::chrono::local_seconds;
using std::chrono::seconds;
using std::chrono::sys_seconds;

std::tm BrokenDown(local_seconds civil) {
    const auto day = std::chrono::floor<days>(civil);
    const std::chrono::year_month_day date{local_days{day.time_since_epoch()}};
    const std::chrono::hh_mm_ss clock{civil - day};
    std::tm tm{};
    tm.tm_year = static_cast<int>(date.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    tm.tm_hour = static_cast<int>(clock.hours().count());
    tm.tm_min = static_cast<int>(clock.minutes().count());
    tm.tm_sec = static_cast<int>(clock.seconds().count());
    return tm;
}

// The instant when the civil time is read with the given daylight-saving hint, if that reading
// really shows the same wall-clock time again.
std::optional<sys_seconds> ExactInstant(local_seconds civil, int isDst) {
    std::tm tm = BrokenDown(civil);
    tm.tm_isdst = isDst;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    const sys_seconds instant{seconds{t}};
    if (LocalTimeOfInstant(instant) != civil)
        return std::nullopt;
    return instant;
}

} // namespace

local_seconds LocalTimeOfInstant(sys_seconds instant) {
    const std::time_t t = static_cast<std::time_t>(instant.time_since_epoch().count());
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr)
        return local_seconds{instant.time_since_epoch()};
    const std::chrono::year_month_day date{std::chrono::year{tm.tm_year + 1900},
                                           std::chrono::month{static_cast<unsigned>(tm.tm_mon + 1)},
                                           std::chrono::day{static_cast<unsigned>(tm.tm_mday)}};
    return local_days{date} + std::chrono::hours{tm.tm_hour} + std::chrono::minutes{tm.tm_min} +
           seconds{tm.tm_sec};
}

sys_seconds InstantOfLocalTime(local_seconds civil) {
    std::optional<sys_seconds> best;
    for (const int hint : {-1, 0, 1}) {
        const auto instant = ExactInstant(civil, hint);
        if (instant && (!best || *instant < *best))
            best = instant;
    }
    if (best)
        return *best;

    // The time lies in a skipped stretch: find the first minute whose wall-clock time lies
    // beyond it, starting from wherever mktime placed it.
    std::tm tm = BrokenDown(civil);
    tm.tm_isdst = -1;
    sys_seconds candidate = std::chrono::floor<std::chrono::minutes>(sys_seconds{seconds{std::mktime(&tm)}});
    constexpr int kLimit = 2 * 24 * 60;
    for (int step = 0; step < kLimit && LocalTimeOfInstant(candidate) <= civil; ++step)
        candidate += std::chrono::minutes{1};
    for (int step = 0; step < kLimit && LocalTimeOfInstant(candidate - std::chrono::minutes{1}) > civil;
         ++step)
        candidate -= std::chrono::minutes{1};
    return candidate;
}

void ReloadTimeZone() {
    tzset();
}

} // namespace slidemill
