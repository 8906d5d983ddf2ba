#pragma once

#include "sched/CivilTime.h"
#include "sched/ScheduleForm.h"
#include "settings/IniFile.h"

namespace slidemill {

inline constexpr const char* kSchedulerSection = "frmScheduler";

// Fills the form from the settings file; a missing or unusable value keeps the key's default.
// today dates a stored time without a date and stands in for an unreadable date.
void ReadScheduleForm(const IniFile& ini, ScheduleForm& form, CivilTime today);

// Writes every key of the form, in the order the settings file has always kept them. False when
// a write failed.
bool WriteScheduleForm(IniFile& ini, const ScheduleForm& form);

// Marks the stored schedule as one not to restart at program start, leaving every other key.
bool WriteScheduleNotRestartable(IniFile& ini);

// Whether the settings ask for the schedule to be restarted when the program starts.
bool PersistedScheduleWanted(const IniFile& ini);

} // namespace slidemill
