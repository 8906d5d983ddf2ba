#include "sched/ScheduleValidation.h"
#include "settings/TranslatableText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace slidemill {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

void EmptyBecomes(std::string& box, const char* value) {
    if (Trimmed(box).empty())
        box = value;
}

// A positive whole number within the 16-bit range the schedule stores; nullopt otherwise.
// Fractions are rounded ("1.5" is 2), and a value that rounds to 0 is refused: a period of no
// days would run the same job again and again within one minute.
std::optional<int> PositiveWholeNumber(const std::string& text, int maximum) {
    const auto value = NumericValue(text);
    if (!value || *value <= 0 || *value > maximum)
        return std::nullopt;
    const long long whole = std::llround(*value);
    if (whole < 1 || whole > maximum)
        return std::nullopt;
    return static_cast<int>(whole);
}

} // namespace

std::string ScheduleCheckMessage(int code) {
    switch (code) {
    case kScheduleInvalidHours:
        return N_("Invalid time for hours");
    case kScheduleInvalidMinutes:
        return N_("Invalid time for minutes");
    case kScheduleInvalidSeconds:
        return N_("Invalid time for seconds");
    case kScheduleNoInterval:
        return N_("Please enter a time interval");
    case kScheduleInvalidInterval:
        return N_("Please enter a valid time interval.");
    case kScheduleNoJobFile:
    case kScheduleCalendarNoJobFile:
        return N_("Please enter a job file");
    case kScheduleJobFileMissing:
    case kScheduleCalendarJobFileMissing:
        return N_("Job file does not exist");
    case kScheduleInvalidNumDays:
        return N_("Invalid number of days entered.");
    case kScheduleInvalidNumWeeks:
        return N_("Invalid number of weeks entered.");
    case kScheduleSelectJobFile:
        return N_("Please select a job file");
    case kScheduleNoWeekday:
        return N_("Please select day(s) of the week to run the job.");
    case kScheduleInvalidDayOfMonth:
        return N_("Date must be between 1 and 31");
    case kScheduleInvalidNumMonths:
        return N_("Number of months must be between 1 and 12");
    default:
        return {};
    }
}

ScheduleFocus ScheduleCheckFocus(int code) {
    switch (code) {
    case kScheduleInvalidHours:
        return ScheduleFocus::Hours;
    case kScheduleInvalidMinutes:
        return ScheduleFocus::Minutes;
    case kScheduleInvalidSeconds:
        return ScheduleFocus::Seconds;
    case kScheduleNoJobFile:
    case kScheduleJobFileMissing:
    case kScheduleCalendarNoJobFile:
    case kScheduleSelectJobFile:
        return ScheduleFocus::JobFileBox;
    case kScheduleCalendarJobFileMissing:
        return ScheduleFocus::FilePicker;
    case kScheduleInvalidNumDays:
        return ScheduleFocus::NumDays;
    case kScheduleInvalidNumWeeks:
        return ScheduleFocus::NumWeeks;
    case kScheduleInvalidDayOfMonth:
        return ScheduleFocus::DayOfMonth;
    case kScheduleInvalidNumMonths:
        return ScheduleFocus::NumMonths;
    default:
        return ScheduleFocus::None;
    }
}

std::optional<double> NumericValue(const std::string& text) {
    const std::string trimmed = Trimmed(text);
    if (trimmed.empty())
        return std::nullopt;
    // strtod alone would also take "inf", "nan" and hexadecimal numbers.
    bool digit = false;
    for (const char c : trimmed) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E')
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool ScheduledJobFileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error) &&
           !std::filesystem::is_directory(path, error);
}

int CheckTimeBasedSchedule(ScheduleForm& form, const std::string& jobFile, long long& intervalSeconds) {
    EmptyBecomes(form.txtHours, "0");
    EmptyBecomes(form.txtMinutes, "0");
    EmptyBecomes(form.txtSeconds, "0");

    int code = kScheduleOk;
    const auto hours = NumericValue(form.txtHours);
    const auto minutes = NumericValue(form.txtMinutes);
    const auto seconds = NumericValue(form.txtSeconds);
    if (!hours || *hours < 0)
        code = kScheduleInvalidHours;
    else if (!minutes || *minutes < 0)
        code = kScheduleInvalidMinutes;
    else if (!seconds || *seconds < 0)
        code = kScheduleInvalidSeconds;
    else if (*hours == 0 && *minutes == 0 && *seconds == 0)
        code = kScheduleNoInterval;
    else {
        // An interval that rounds to no time at all would fire on every tick, and one beyond
        // the stored 32-bit range cannot be kept.
        const double total = *hours * 3600.0 + *minutes * 60.0 + *seconds;
        if (!(total >= 0.5) || total >= static_cast<double>(std::numeric_limits<int32_t>::max()))
            code = kScheduleInvalidInterval;
        else
            intervalSeconds = std::llround(total);
    }

    if (jobFile.empty())
        code = kScheduleNoJobFile;
    else if (!ScheduledJobFileExists(jobFile))
        code = kScheduleJobFileMissing;
    return code;
}

int CheckCalendarSchedule(ScheduleForm& form, std::string& jobFile, CalendarNumbers& numbers) {
    EmptyBecomes(form.txtNumDays, "1");
    EmptyBecomes(form.txtNumWeeks, "1");
    EmptyBecomes(form.txtDayOfMonth, "1");
    EmptyBecomes(form.txtNumMonths, "1");

    const auto numDays = PositiveWholeNumber(form.txtNumDays, 32767);
    const auto numWeeks = PositiveWholeNumber(form.txtNumWeeks, 32767);
    const auto dayOfMonth = PositiveWholeNumber(form.txtDayOfMonth, 31);
    const auto numMonths = PositiveWholeNumber(form.txtNumMonths, 12);
    if (numDays)
        numbers.numDays = *numDays;
    if (numWeeks)
        numbers.numWeeks = *numWeeks;
    if (dayOfMonth)
        numbers.dayOfMonth = *dayOfMonth;
    if (numMonths)
        numbers.numMonths = *numMonths;

    if (jobFile.empty()) {
        if (Trimmed(form.cbScheduledJobFile).empty())
            return kScheduleCalendarNoJobFile;
        jobFile = form.cbScheduledJobFile;
    }
    if (Trimmed(form.cbScheduledJobFile).empty())
        return kScheduleSelectJobFile;
    if (!ScheduledJobFileExists(form.cbScheduledJobFile))
        return kScheduleCalendarJobFileMissing;
    if (!numDays)
        return kScheduleInvalidNumDays;
    if (!numWeeks)
        return kScheduleInvalidNumWeeks;
    if (!dayOfMonth)
        return kScheduleInvalidDayOfMonth;
    if (!numMonths)
        return kScheduleInvalidNumMonths;
    if (form.optWeekly) {
        const auto days = form.ChosenWeekdays();
        bool any = false;
        for (const bool chosen : days)
            any = any || chosen;
        if (!any)
            return kScheduleNoWeekday;
    }
    return kScheduleOk;
}

} // namespace slidemill
