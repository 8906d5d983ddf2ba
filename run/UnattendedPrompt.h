#pragma once

#include "core/Prompt.h"

#include <string>
#include <vector>

namespace slidemill {

// Passes every question on to the user's prompt, except while nobody is there to answer (a run
// the scheduler started at night): then each question gets its safe answer at once and what it
// said is kept, so it can go to the log instead of a box that would wait until morning.
class UnattendedPrompt final : public Prompt {
public:
    explicit UnattendedPrompt(Prompt& user) : user_(user) {}

    PromptAnswer Ask(const std::string& text, const std::string& title, PromptButtons buttons,
                     PromptIcon icon) override;
    std::string PickFile(FileDialogRequest& request) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder) override;

    bool Unattended() const { return unattended_; }
    // Returns the previous value, so nested scopes put back what they found.
    bool SetUnattended(bool unattended);
    // What was said while unattended, each on one line, oldest first; taking them clears them.
    std::vector<std::string> TakeMessages();

private:
    Prompt& user_;
    SilentPrompt silent_;
    bool unattended_ = false;
    std::vector<std::string> messages_;
};

} // namespace slidemill
