#include "sched/TimeRemaining.h"
#include "settings/TranslatableText.h"

#include <cstdlib>

namespace slidemill {

TimeRemaining SplitTimeRemaining(long long diff) {
    TimeRemaining parts;
    const long long magnitude = diff < 0 ? -diff : diff;
    parts.lngDays = static_cast<long>(magnitude / 86400);
    const long long dayRest = magnitude % 86400;
    parts.lngHours = static_cast<long>(dayRest / 3600);
    const long long hourRest = dayRest % 3600;
    parts.lngMinutes = static_cast<long>(hourRest / 60);
    parts.lngSeconds = static_cast<long>(hourRest % 60);
    return parts;
}

std::string TimeRemainingCaption(const TimeRemaining& r,
                                 const std::function<std::string(const std::string&)>& translate) {
    const auto word = [&](const std::string& text) { return translate ? translate(text) : text; };
    if (r.lngDays == 0 && r.lngHours == 0 && r.lngMinutes == 0 && r.lngSeconds == 0)
        return word(N_("Job is Running"));
    std::string text;
    if (r.lngDays != 0)
        text += std::to_string(r.lngDays) + " " + word(N_("days")) + " : ";
    if (r.lngHours != 0)
        text += std::to_string(r.lngHours) + " " + word(N_("hours")) + " : ";
    if (r.lngMinutes != 0)
        text += std::to_string(r.lngMinutes) + " " + word(N_("minutes")) + " : ";
    text += std::to_string(r.lngSeconds) + " " + word(N_("seconds")) + " " + word(N_("before next run")) + ".";
    return text;
}

} // namespace slidemill
