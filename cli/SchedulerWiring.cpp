#include "cli/SchedulerWiring.h"

#include "run/JobRunner.h"
#include "run/RunAssembly.h"

namespace slidemill {

SchedulerRunBinding BindSchedulerToRunner(JobRunner& runner,
                                          std::function<void(const std::string&)> setCaption) {
    return SchedulerRunBinding([&runner](const std::string& path) { return runner.RunJobFile(path); },
                               std::move(setCaption));
}

SchedulerRunBinding BindSchedulerToRunner(RunAssembly& assembly,
                                          std::function<void(const std::string&)> setCaption) {
    return SchedulerRunBinding([&assembly](const std::string& path) { return assembly.RunJobFile(path); },
                               std::move(setCaption));
}

} // namespace slidemill
