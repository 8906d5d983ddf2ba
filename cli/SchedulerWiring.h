#pragma once

#include "sched/Scheduler.h"

#include <functional>
#include <string>

namespace slidemill {

class JobRunner;
class RunAssembly;

// The scheduler's events for a program that owns both: a due run opens, rewinds and runs the
// job file on runner; the countdown goes to setCaption. The runner must outlive the binding.
SchedulerRunBinding BindSchedulerToRunner(JobRunner& runner,
                                          std::function<void(const std::string&)> setCaption);

// The same for a whole run assembly, which reads the stored settings before each due run.
SchedulerRunBinding BindSchedulerToRunner(RunAssembly& assembly,
                                          std::function<void(const std::string&)> setCaption);

} // namespace slidemill
