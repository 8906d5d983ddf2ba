#pragma once

#include <string>

namespace slidemill {

enum class PromptButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Information, Question, Exclamation, Critical };
enum class PromptAnswer { OK, Cancel, Yes, No };

// What a file dialog is asked for. The filter is "Text|pattern|Text|pattern"; the index is
// 1-based and holds the user's choice afterwards.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::string initialPath; // the dialog starts in its folder, with its name preset
    bool save = false;
};

// Message boxes and file dialogs, so that code which has to ask stays free of any window:
// the window shows real dialogs, an unattended run answers without asking, tests script it.
// Texts arrive translated.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer Ask(const std::string& text, const std::string& title, PromptButtons buttons,
                             PromptIcon icon) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual std::string PickFile(FileDialogRequest& request) = 0;
    // The folder browser, titled title and starting at startFolder; "" when cancelled.
    virtual std::string PickFolder(const std::string& title, const std::string& startFolder) {
        (void)title;
        (void)startFolder;
        return {};
    }
};

// Asks nobody: every question gets its safe answer (No, Cancel or OK for a lone OK button)
// and every dialog is cancelled.
class SilentPrompt : public Prompt {
public:
    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons buttons, PromptIcon) override {
        switch (buttons) {
        case PromptButtons::OK:
            return PromptAnswer::OK;
        case PromptButtons::YesNo:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
        }
    }
    std::string PickFile(FileDialogRequest&) override { return {}; }
};

} // namespace slidemill
