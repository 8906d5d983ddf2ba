#pragma once

#include <array>
#include <chrono>
#include <string>

#include "sched/CivilTime.h"

namespace slidemill {

// The running copy of a schedule, taken from the window when the timer starts; the window's
// later edits do not touch it.
struct ScheduleRunState {
    std::string jobFile;

    bool timeBased = false;
    long long intervalSeconds = 0;
    Instant relativeTarget{};
    bool runImmediately = true;

    bool daily = true;
    bool weekly = false;
    bool monthly = false;
    bool everyNDays = true;
    bool weekdays = false;
    int numDays = 1;
    int numWeeks = 1;
    int numMonths = 1;
    int dayOfMonth = 1;
    // Indexed by weekday number - 1 (0 = Sunday ... 6 = Saturday).
    std::array<bool, 7> chosenWeekdays{};
    // The start time as a time of day (seconds always 0).
    std::chrono::seconds userTargetTime{0};
    CivilTime targetComplete{};
};

} // namespace slidemill
