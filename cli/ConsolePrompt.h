#pragma once

#include "core/Prompt.h"

#include <iostream>

namespace slidemill {

// The message boxes of a run without a window: each text goes to standard output and every
// question gets its safe answer, as nobody is there to choose.
class ConsolePrompt : public SilentPrompt {
public:
    PromptAnswer Ask(const std::string& text, const std::string& title, PromptButtons buttons,
                     PromptIcon icon) override {
        std::cout << text << "\n";
        return SilentPrompt::Ask(text, title, buttons, icon);
    }
};

} // namespace slidemill
