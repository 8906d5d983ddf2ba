#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sched/Scheduler.h"
#include "sched/SchedulerEvents.h"
#include "sched/TimeRemaining.h"

namespace slidemill::test {

// A clock that moves only when told to.
class FakeSchedulerClock final : public SchedulerClock {
public:
    explicit FakeSchedulerClock(Instant start) : now(start) {}
    Instant Now() override { return now; }
    Instant now;
};

// Records what the scheduler raises; a run can take time on the fake clock and do more.
class RecordingSchedulerEvents final : public SchedulerEvents {
public:
    void RunTheJobEvent(const std::string& file) override {
        runs.push_back(file);
        if (duringRun)
            duringRun();
    }
    void DisplayTimeRemainingEvent(long d, long h, long m, long s) override {
        remaining.push_back({d, h, m, s});
    }

    std::vector<std::string> runs;
    std::vector<TimeRemaining> remaining;
    std::function<void()> duringRun;
};

class RecordingPrompts final : public SchedulerPrompts {
public:
    void ShowMessage(const std::string& text, ScheduleFocus focus) override {
        messages.push_back(text);
        focuses.push_back(focus);
    }
    std::vector<std::string> messages;
    std::vector<ScheduleFocus> focuses;
};

} // namespace slidemill::test
