#pragma once

#include "core/ConversionOptions.h"
#include "core/Prompt.h"
#include "core/RunControl.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace slidemill::test {

// A running flag the work under test can set and a test can clear at a chosen checkpoint.
class FlagRunControl : public RunControl {
public:
    bool running = false;
    int checkpoints = 0;
    std::function<void(FlagRunControl&)> onCheckpoint;
    std::vector<std::string> fileTexts;

    void Checkpoint() override {
        ++checkpoints;
        if (onCheckpoint)
            onCheckpoint(*this);
    }
    bool Running() const override { return running; }
    void SetRunning(bool value) override { running = value; }
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        if (panel == StatusPanel::CurrentFile)
            fileTexts.push_back(text);
    }
};

// Answers questions and file dialogs from a script, and records what was asked.
class AnsweringPrompt : public Prompt {
public:
    std::deque<PromptAnswer> answers;
    std::deque<std::string> files;
    std::vector<std::string> questions;
    std::vector<FileDialogRequest> dialogs;

    PromptAnswer Ask(const std::string& text, const std::string&, PromptButtons buttons,
                     PromptIcon) override {
        questions.push_back(text);
        if (answers.empty())
            return buttons == PromptButtons::OK ? PromptAnswer::OK : PromptAnswer::Cancel;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string PickFile(FileDialogRequest& request) override {
        dialogs.push_back(request);
        if (files.empty())
            return {};
        std::string file = files.front();
        files.pop_front();
        return file;
    }
};

inline clsConversionOptions ConversionTask(const std::string& source, const std::string& target) {
    clsConversionOptions record;
    record.sOriginalFile = source;
    record.sTargetFile = target;
    record.lOriginalFileType = 3;
    record.lTargetFileType = 32;
    return record;
}

inline clsConversionOptions SpecialTask(int32_t code, const std::string& source, const std::string& target) {
    clsConversionOptions record;
    record.sActionToDo = "S" + std::to_string(code);
    record.lSpecialProcess = code;
    record.lConversionMethod = 4;
    record.sOriginalFile = source;
    record.sTargetFile = target;
    record.lOriginalFileType = 1;
    record.lTargetFileType = 1;
    return record;
}

} // namespace slidemill::test
