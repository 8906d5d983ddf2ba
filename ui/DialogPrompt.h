#pragma once

#include "core/Prompt.h"

#include <QPointer>
#include <QWidget>

namespace slidemill {

// The program's prompt: message boxes and file and folder dialogs over the window. Once the
// session is ending (a signal asked the program to end) it shows nothing more: every question
// gets the answer that lets the close go on without saving, and every dialog is cancelled.
class DialogPrompt final : public Prompt {
public:
    explicit DialogPrompt(QWidget* parent = nullptr) : parent_(parent) {}

    void SetParent(QWidget* parent) { parent_ = parent; }
    void SetEnding(bool ending) { ending_ = ending; }
    bool Ending() const { return ending_; }

    PromptAnswer Ask(const std::string& text, const std::string& title, PromptButtons buttons,
                     PromptIcon icon) override;
    std::string PickFile(FileDialogRequest& request) override;
    std::string PickFolder(const std::string& title, const std::string& startFolder) override;

    // What an ending session answers to a question with these buttons.
    static PromptAnswer EndingAnswer(PromptButtons buttons);

private:
    QPointer<QWidget> parent_;
    bool ending_ = false;
};

} // namespace slidemill
