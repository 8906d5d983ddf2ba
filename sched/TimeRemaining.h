#pragma once

#include <functional>
#include <string>

namespace slidemill {

// The distance between now and the next target, as the countdown shows it. Every part is a
// magnitude: after a target has passed the same parts show the time elapsed since it.
struct TimeRemaining {
    long lngDays = 0;
    long lngHours = 0;
    long lngMinutes = 0;
    long lngSeconds = 0;

    bool operator==(const TimeRemaining&) const = default;
};

// Splits whole seconds from the target to now (negative before the target).
TimeRemaining SplitTimeRemaining(long long diffSeconds);

// The frame window's caption: "1 days : 5 minutes : 9 seconds before next run.", or "Job is
// Running" when every part is 0. Each fixed word goes through translate.
std::string TimeRemainingCaption(const TimeRemaining& remaining,
                                 const std::function<std::string(const std::string&)>& translate = {});

} // namespace slidemill
