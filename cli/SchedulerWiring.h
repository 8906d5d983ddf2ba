#pragma once

#include "sched/Scheduler.h"

#include <functional>
#include <string>

namespace slidemill {

class JobRunner;

// The scheduler's events for a program that owns both: a due run opens, rewinds and runs the
// job file on runner; the countdown goes to setCaption. The runner must outlive the binding.
SchedulerRunBinding BindSchedulerToRunner(JobRunner& runner,
                                          std::function<void(const std::string&)> setCaption);

} // namespace slidemill
