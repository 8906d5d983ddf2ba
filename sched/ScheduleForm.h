#pragma once

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "sched/CivilTime.h"

namespace slidemill {

// The scheduler window's controls as plain values: the texts of its boxes and lists, its
// option and check flags. The window copies these to and from its widgets; everything the
// scheduler decides is decided on this copy.
struct ScheduleForm {
    bool optTimeBased = false;
    bool optCalendarBased = true;
    std::string txtHours = "0";
    std::string txtMinutes = "0";
    std::string txtSeconds = "0";
    bool optImmediately = true;
    bool optSkip = false;
    bool chkPersistRunning = false;

    bool optDaily = true;
    bool optWeekly = false;
    bool optMonthly = false;
    std::string cbHours = "12";
    std::string cbMinutes = "00";
    std::string cbAmPm = "AM";
    bool optNumDays = true;
    std::string txtNumDays = "1";
    bool optWeekdays = false;
    std::string txtNumWeeks = "1";
    bool chkSun = false;
    bool chkMon = false;
    bool chkTue = false;
    bool chkWed = false;
    bool chkThu = false;
    bool chkFri = false;
    bool chkSat = false;
    std::string txtDayOfMonth = "1";
    std::string txtNumMonths = "1";

    // The job file box: its text and its drop-down list (newest first).
    std::string cbScheduledJobFile;
    std::vector<std::string> cbScheduledJobFileItems;

    // The start time of the last calendar start and the last computed calendar target; kept
    // only so the settings file shows them.
    std::chrono::seconds dtUserTargetTime{0};
    CivilTime dtTargetComplete = MakeCivilTime(2000, 1, 1);

    // The checked weekdays indexed by weekday number - 1 (0 = Sunday ... 6 = Saturday).
    std::array<bool, 7> ChosenWeekdays() const;
    void SetChosenWeekdays(const std::array<bool, 7>& days);
};

// The choices offered by the start-time lists.
const std::vector<std::string>& StartHourChoices();   // "1" ... "12"
const std::vector<std::string>& StartMinuteChoices(); // "00" ... "59"
const std::vector<std::string>& AmPmChoices();        // "AM", "PM"

// The time of day the three start-time lists name (7 / "05" / "PM" is 19:05:00). A text that is
// not one of the list's choices counts as the list's default (12, 00, AM).
std::chrono::seconds StartTimeOfDay(const ScheduleForm& form);

} // namespace slidemill
