#include "run/UnattendedPrompt.h"

#include <utility>

namespace slidemill {

namespace {

// A log entry is one line: the boxes separate their parts with CR or LF.
std::string OneLine(const std::string& text) {
    std::string line;
    bool gap = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            gap = !line.empty();
            continue;
        }
        if (gap) {
            line += ' ';
            gap = false;
        }
        line += c;
    }
    return line;
}

} // namespace

PromptAnswer UnattendedPrompt::Ask(const std::string& text, const std::string& title, PromptButtons buttons,
                                   PromptIcon icon) {
    if (!unattended_)
        return user_.Ask(text, title, buttons, icon);
    messages_.push_back(OneLine(text));
    return silent_.Ask(text, title, buttons, icon);
}

std::string UnattendedPrompt::PickFile(FileDialogRequest& request) {
    if (!unattended_)
        return user_.PickFile(request);
    messages_.push_back(OneLine(request.title));
    return silent_.PickFile(request);
}

std::string UnattendedPrompt::PickFolder(const std::string& title, const std::string& startFolder) {
    if (!unattended_)
        return user_.PickFolder(title, startFolder);
    messages_.push_back(OneLine(title));
    return silent_.PickFolder(title, startFolder);
}

bool UnattendedPrompt::SetUnattended(bool unattended) {
    return std::exchange(unattended_, unattended);
}

std::vector<std::string> UnattendedPrompt::TakeMessages() {
    return std::exchange(messages_, {});
}

} // namespace slidemill
