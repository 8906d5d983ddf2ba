#include "cli/CommandLineSession.h"

#include "settings/SettingsGlobals.h"

#include <utility>

namespace slidemill {

CommandLineContext CommandLineSession::Context(RunParts& parts, Prompt& prompt, CommandLineContext context) {
    context.component = &parts.Component();
    context.prompt = &prompt;
    return context;
}

CommandLineSession::CommandLineSession(RunParts& parts, Prompt& prompt, RunControl& progress,
                                       CommandLineContext context)
    : assembly_(parts, prompt, progress, nullptr, G_SettingsFolder),
      run_(assembly_.Document(), assembly_.Runner(), Context(parts, prompt, std::move(context))) {
    run_.beforeRun = [this] { assembly_.ReadSettings(); };
}

} // namespace slidemill
