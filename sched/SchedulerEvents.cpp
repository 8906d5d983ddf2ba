#include "sched/SchedulerEvents.h"

namespace slidemill {

Instant SystemSchedulerClock::Now() {
    return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

} // namespace slidemill
