#pragma once

#include "core/Prompt.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace slidemill::test {

// A prompt that follows a script: each question, file dialog and folder browser takes the next
// answer the test queued, and is recorded. A question or dialog the script did not expect
// fails the test (and gets the safe answer); so does an answer left unused, once Finish() is
// called.
class ScriptedPrompt : public Prompt {
public:
    struct Question {
        std::string text;
        std::string title;
        PromptButtons buttons;
    };
    struct FolderRequest {
        std::string title;
        std::string start;
    };

    std::vector<Question> questions;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<FolderRequest> folderRequests;

    void Answer(PromptAnswer answer) { answers_.push_back(answer); }
    // The path the next file dialog returns ("" for cancel) and the filter the user leaves it at
    // (0: as the dialog was opened).
    void PickFileAnswer(const std::string& path, int filterIndex = 0) {
        files_.push_back({path, filterIndex});
    }
    void PickFolderAnswer(const std::string& path) { folders_.push_back(path); }

    PromptAnswer Ask(const std::string& text, const std::string& title, PromptButtons buttons,
                     PromptIcon) override {
        questions.push_back({text, title, buttons});
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected question \"" << text << "\" titled \"" << title << "\"";
            return buttons == PromptButtons::OK ? PromptAnswer::OK : PromptAnswer::Cancel;
        }
        const PromptAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::string PickFile(FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (files_.empty()) {
            ADD_FAILURE() << "unexpected file dialog \"" << request.title << "\"";
            return {};
        }
        const FileAnswer answer = files_.front();
        files_.pop_front();
        if (answer.filterIndex > 0)
            request.filterIndex = answer.filterIndex;
        return answer.path;
    }

    std::string PickFolder(const std::string& title, const std::string& startFolder) override {
        folderRequests.push_back({title, startFolder});
        if (folders_.empty()) {
            ADD_FAILURE() << "unexpected folder browser \"" << title << "\"";
            return {};
        }
        const std::string answer = folders_.front();
        folders_.pop_front();
        return answer;
    }

    // Every queued answer was used.
    void Finish() const {
        EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) never asked for";
        EXPECT_TRUE(files_.empty()) << files_.size() << " scripted file dialog(s) never shown";
        EXPECT_TRUE(folders_.empty()) << folders_.size() << " scripted folder browser(s) never shown";
    }

private:
    struct FileAnswer {
        std::string path;
        int filterIndex;
    };
    std::deque<PromptAnswer> answers_;
    std::deque<FileAnswer> files_;
    std::deque<std::string> folders_;
};

} // namespace slidemill::test
