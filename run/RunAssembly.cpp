#include "run/RunAssembly.h"

namespace slidemill {

RunAssembly::RunAssembly(RunParts& parts, Prompt& prompt, RunControl& progress, RunHost* host,
                         const std::string& settingsFolder, RunStatus* status)
    : parts_(parts), state_(progress), host_(host ? host : &ownHost_),
      status_(status ? status : &ownStatus_), special_(parts.RichText()),
      document_(prompt, state_, host_),
      runner_(document_, state_, parts.Component(), parts.Pdf(), prompt, *host_, *status_) {
    document_.sSettingsFolder = settingsFolder;
    runner_.SetSpecialProcessor(&special_);
    ReadSettings();
}

void RunAssembly::ReadSettings() {
    runner_.Settings() = parts_.ReadSettings();
}

bool RunAssembly::RunJobFile(const std::string& path) {
    // A run already in progress keeps the settings it began with; the runner refuses the job.
    if (!runner_.Running())
        ReadSettings();
    return runner_.RunJobFile(path);
}

} // namespace slidemill
