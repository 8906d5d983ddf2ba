#pragma once

#include <string>

#include "sched/CivilTime.h"

namespace slidemill {

// What the scheduler tells its owner (the main window).
class SchedulerEvents {
public:
    virtual ~SchedulerEvents() = default;
    // A run is due. The job runs inside this call; the scheduler computes its next target once the
    // call has returned.
    virtual void RunTheJobEvent(const std::string& strTimerFile) = 0;
    virtual void DisplayTimeRemainingEvent(long lngDays, long lngHours, long lngMinutes, long lngSeconds) = 0;
};

// Where the scheduler reads the time.
class SchedulerClock {
public:
    virtual ~SchedulerClock() = default;
    virtual Instant Now() = 0;
};

// The real clock.
class SystemSchedulerClock final : public SchedulerClock {
public:
    Instant Now() override;
};

} // namespace slidemill
