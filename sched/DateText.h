#pragma once

#include <optional>
#include <string>

#include "sched/CivilTime.h"

namespace slidemill {

// The general date-time text of the settings file: "1/1/2000 12:00:00 AM" (month/day/year,
// 12-hour clock). A time at midnight is written as the full text all the same, so every value
// reads back as written.
std::string GeneralDateText(CivilTime time);
// A time of day alone: "7:05:00 PM".
std::string GeneralTimeText(std::chrono::seconds timeOfDay);

// Reads "M/D/YYYY", "M/D/YYYY h:mm[:ss] AM|PM", "M/D/YYYY H:mm[:ss]" and the time alone (dated
// on `dateForTimeOnly`); nullopt for anything else, including impossible dates and times.
std::optional<CivilTime> ParseGeneralDateText(const std::string& text, CivilTime dateForTimeOnly);

// A stored date text as a date: today (midnight) for an empty or unreadable text.
CivilTime StoredDate(const std::string& text, CivilTime today);

} // namespace slidemill
