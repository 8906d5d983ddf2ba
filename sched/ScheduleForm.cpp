#include "sched/ScheduleForm.h"

#include <algorithm>

namespace slidemill {

namespace {

std::vector<std::string> NumberTexts(int first, int last, bool twoDigits) {
    std::vector<std::string> texts;
    for (int n = first; n <= last; ++n)
        texts.push_back((twoDigits && n < 10 ? "0" : "") + std::to_string(n));
    return texts;
}

// Position of text in choices, -1 when it is not one of them.
int IndexOf(const std::vector<std::string>& choices, const std::string& text) {
    const auto it = std::find(choices.begin(), choices.end(), text);
    return it == choices.end() ? -1 : static_cast<int>(it - choices.begin());
}

} // namespace

std::array<bool, 7> ScheduleForm::ChosenWeekdays() const {
    return {chkSun, chkMon, chkTue, chkWed, chkThu, chkFri, chkSat};
}

void ScheduleForm::SetChosenWeekdays(const std::array<bool, 7>& days) {
    chkSun = days[0];
    chkMon = days[1];
    chkTue = days[2];
    chkWed = days[3];
    chkThu = days[4];
    chkFri = days[5];
    chkSat = days[6];
}

const std::vector<std::string>& StartHourChoices() {
    static const auto choices = NumberTexts(1, 12, false);
    return choices;
}

const std::vector<std::string>& StartMinuteChoices() {
    static const auto choices = NumberTexts(0, 59, true);
    return choices;
}

const std::vector<std::string>& AmPmChoices() {
    static const std::vector<std::string> choices{"AM", "PM"};
    return choices;
}

std::chrono::seconds StartTimeOfDay(const ScheduleForm& form) {
    const int hourIndex = IndexOf(StartHourChoices(), form.cbHours);
    const int minuteIndex = IndexOf(StartMinuteChoices(), form.cbMinutes);
    const bool pm = form.cbAmPm == "PM";
    // "12" is midnight in the morning and noon in the afternoon.
    const int hour12 = hourIndex < 0 ? 12 : hourIndex + 1;
    const int hour = (hour12 % 12) + (pm ? 12 : 0);
    const int minute = minuteIndex < 0 ? 0 : minuteIndex;
    return std::chrono::hours{hour} + std::chrono::minutes{minute};
}

} // namespace slidemill
