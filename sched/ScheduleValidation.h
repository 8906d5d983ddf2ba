#pragma once

#include <optional>
#include <string>

#include "sched/ScheduleForm.h"

namespace slidemill {

enum ScheduleCheck : int {
    kScheduleOk = 0,
    kScheduleInvalidHours = 1,
    kScheduleInvalidMinutes = 2,
    kScheduleInvalidSeconds = 3,
    kScheduleNoInterval = 4,
    kScheduleInvalidInterval = 5,
    kScheduleNoJobFile = 6,
    kScheduleJobFileMissing = 7,
    kScheduleInvalidNumDays = 108,
    kScheduleInvalidNumWeeks = 109,
    kScheduleCalendarNoJobFile = 110,
    kScheduleSelectJobFile = 111,
    kScheduleCalendarJobFileMissing = 112,
    kScheduleNoWeekday = 113,
    kScheduleInvalidDayOfMonth = 114,
    kScheduleInvalidNumMonths = 115,
};

// The untranslated message of a check code; "" for kScheduleOk and unknown codes.
std::string ScheduleCheckMessage(int code);

// Where the window puts the focus after showing a check's message.
enum class ScheduleFocus {
    None,
    Hours,
    Minutes,
    Seconds,
    JobFileBox,
    FilePicker,
    NumDays,
    NumWeeks,
    DayOfMonth,
    NumMonths,
};
ScheduleFocus ScheduleCheckFocus(int code);

// The value of a plain decimal number text ("12", " 1.5 ", "-3", "2e1"); nullopt for anything
// else, including hexadecimal, "inf" and "nan".
std::optional<double> NumericValue(const std::string& text);

// A job file that can be run: an existing file that is not a folder.
bool ScheduledJobFileExists(const std::string& path);

// Checks an interval schedule. Empty interval boxes become "0" in the form. jobFile is the job
// file the start has just taken from the box. On success intervalSeconds receives the interval
// rounded to whole seconds.
int CheckTimeBasedSchedule(ScheduleForm& form, const std::string& jobFile, long long& intervalSeconds);

// The whole numbers of a calendar schedule.
struct CalendarNumbers {
    int numDays = 1;
    int numWeeks = 1;
    int numMonths = 1;
    int dayOfMonth = 1;
};

// Checks a calendar schedule. Empty day, week and month boxes become "1" in the form. jobFile
// is the job file taken so far: when none has been taken, the box's text is taken (an empty box
// gives kScheduleCalendarNoJobFile) and the remaining checks still run.
int CheckCalendarSchedule(ScheduleForm& form, std::string& jobFile, CalendarNumbers& numbers);

} // namespace slidemill
