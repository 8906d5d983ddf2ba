#pragma once

#include "core/Prompt.h"

#include <string>
#include <vector>

namespace slidemill::test {

// Answers OK to everything and remembers the texts it was shown.
class RecordingPrompt : public Prompt {
public:
    std::vector<std::string> shown;
    PromptAnswer Ask(const std::string& text, const std::string&, PromptButtons, PromptIcon) override {
        shown.push_back(text);
        return PromptAnswer::OK;
    }
    std::string PickFile(FileDialogRequest&) override { return {}; }
};

} // namespace slidemill::test
