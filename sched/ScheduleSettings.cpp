#include "sched/ScheduleSettings.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>
#include <vector>

#include "sched/DateText.h"
#include "sched/ScheduleValidation.h"

namespace slidemill {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "True"/"False" in any case; a number counts as true when it is not 0. nullopt for anything
// else, so a damaged value keeps its default.
std::optional<bool> ParseFlag(const std::string& text) {
    const std::string lower = Lower(text);
    if (lower == "true")
        return true;
    if (lower == "false")
        return false;
    if (const auto number = NumericValue(text))
        return *number != 0;
    return std::nullopt;
}

std::optional<bool> ReadFlag(const IniFile& ini, const char* key) {
    const auto value = ini.Find(kSchedulerSection, key);
    return value ? ParseFlag(*value) : std::nullopt;
}

bool ReadCheck(const IniFile& ini, const char* key) {
    return ini.ReadInt(kSchedulerSection, key, 0) != 0;
}

void ReadText(const IniFile& ini, const char* key, std::string& box) {
    box = ini.ReadString(kSchedulerSection, key, box);
}

void ReadChoice(const IniFile& ini, const char* key, const std::vector<std::string>& choices,
                std::string& list) {
    const auto value = ini.Find(kSchedulerSection, key);
    if (value && std::find(choices.begin(), choices.end(), *value) != choices.end())
        list = *value;
}

// An option group as its buttons behave: turning one on turns the others off, turning the
// selected one off leaves none selected. Reading the keys in order therefore lets the last
// stored "True" win; a group left with nothing selected gets its default back.
void ReadOptionGroup(const IniFile& ini, std::vector<std::pair<const char*, bool*>> group) {
    std::vector<bool> defaults;
    for (const auto& option : group)
        defaults.push_back(*option.second);
    for (const auto& [key, selected] : group) {
        const auto value = ReadFlag(ini, key);
        if (!value)
            continue;
        if (*value)
            for (const auto& other : group)
                *other.second = other.second == selected;
        else
            *selected = false;
    }
    const bool any =
        std::any_of(group.begin(), group.end(), [](const auto& option) { return *option.second; });
    if (!any)
        for (std::size_t i = 0; i < group.size(); ++i)
            *group[i].second = defaults[i];
}

const char* FlagText(bool value) {
    return value ? "True" : "False";
}
const char* CheckText(bool value) {
    return value ? "1" : "0";
}

} // namespace

void ReadScheduleForm(const IniFile& ini, ScheduleForm& form, CivilTime today) {
    form = ScheduleForm{};
    ReadOptionGroup(ini,
                    {{"optTimeBased", &form.optTimeBased}, {"optCalendarBased", &form.optCalendarBased}});
    ReadText(ini, "txtHours", form.txtHours);
    ReadText(ini, "txtMinutes", form.txtMinutes);
    ReadText(ini, "txtSeconds", form.txtSeconds);
    ReadOptionGroup(
        ini,
        {{"optDaily", &form.optDaily}, {"optWeekly", &form.optWeekly}, {"optMonthly", &form.optMonthly}});
    ReadChoice(ini, "cbHours", StartHourChoices(), form.cbHours);
    ReadChoice(ini, "cbMinutes", StartMinuteChoices(), form.cbMinutes);
    ReadChoice(ini, "cbAmPm", AmPmChoices(), form.cbAmPm);
    ReadOptionGroup(ini, {{"optNumDays", &form.optNumDays}, {"optWeekdays", &form.optWeekdays}});
    ReadText(ini, "txtNumDays", form.txtNumDays);
    ReadText(ini, "txtNumWeeks", form.txtNumWeeks);
    form.chkSun = ReadCheck(ini, "chkSun");
    form.chkMon = ReadCheck(ini, "chkMon");
    form.chkTue = ReadCheck(ini, "chkTue");
    form.chkWed = ReadCheck(ini, "chkWed");
    form.chkThu = ReadCheck(ini, "chkThu");
    form.chkFri = ReadCheck(ini, "chkFri");
    form.chkSat = ReadCheck(ini, "chkSat");
    ReadText(ini, "txtDayOfMonth", form.txtDayOfMonth);
    ReadText(ini, "txtNumMonths", form.txtNumMonths);
    form.chkPersistRunning = ReadCheck(ini, "chkPersistRunning");
    ReadOptionGroup(ini, {{"optImmediately", &form.optImmediately}, {"optSkip", &form.optSkip}});
    // The job file box is refilled from its recently-used list instead.
    form.dtUserTargetTime = TimeOfDay(
        StoredDate(ini.ReadString(kSchedulerSection, "dtUserTargetTime", "1/1/2000 12:00:00 AM"), today));
    form.dtTargetComplete =
        StoredDate(ini.ReadString(kSchedulerSection, "dtTargetComplete", "1/1/2000 12:00:00 AM"), today);
}

bool WriteScheduleForm(IniFile& ini, const ScheduleForm& form) {
    const std::vector<std::pair<const char*, std::string>> values{
        {"optTimeBased", FlagText(form.optTimeBased)},
        {"optCalendarBased", FlagText(form.optCalendarBased)},
        {"txtHours", form.txtHours},
        {"txtMinutes", form.txtMinutes},
        {"txtSeconds", form.txtSeconds},
        {"optImmediately", FlagText(form.optImmediately)},
        {"optSkip", FlagText(form.optSkip)},
        {"optDaily", FlagText(form.optDaily)},
        {"optWeekly", FlagText(form.optWeekly)},
        {"optMonthly", FlagText(form.optMonthly)},
        {"cbHours", form.cbHours},
        {"cbMinutes", form.cbMinutes},
        {"cbAmPm", form.cbAmPm},
        {"optNumDays", FlagText(form.optNumDays)},
        {"txtNumDays", form.txtNumDays},
        {"optWeekdays", FlagText(form.optWeekdays)},
        {"txtNumWeeks", form.txtNumWeeks},
        {"chkSun", CheckText(form.chkSun)},
        {"chkMon", CheckText(form.chkMon)},
        {"chkTue", CheckText(form.chkTue)},
        {"chkWed", CheckText(form.chkWed)},
        {"chkThu", CheckText(form.chkThu)},
        {"chkFri", CheckText(form.chkFri)},
        {"chkSat", CheckText(form.chkSat)},
        {"txtDayOfMonth", form.txtDayOfMonth},
        {"txtNumMonths", form.txtNumMonths},
        {"cbScheduledJobFile", form.cbScheduledJobFile},
        {"chkPersistRunning", CheckText(form.chkPersistRunning)},
        {"dtUserTargetTime", GeneralTimeText(form.dtUserTargetTime)},
        {"dtTargetComplete", GeneralDateText(form.dtTargetComplete)},
    };
    bool ok = true;
    for (const auto& [key, value] : values)
        ok = ini.WriteString(kSchedulerSection, key, value) && ok;
    return ok;
}

bool WriteScheduleNotRestartable(IniFile& ini) {
    return ini.WriteString(kSchedulerSection, "chkPersistRunning", "0");
}

bool PersistedScheduleWanted(const IniFile& ini) {
    return ini.ReadInt(kSchedulerSection, "chkPersistRunning", 0) != 0;
}

} // namespace slidemill
