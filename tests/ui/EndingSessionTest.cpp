// A session ended by a signal: nobody is asked anything, and a changed job is kept in a new file
// rather than written over its own.
#include "core/JobDocument.h"
#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "support/TempFolder.h"
#include "ui/DialogPrompt.h"
#include "run/UnsavedJob.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace slidemill {
namespace {

namespace fs = std::filesystem;

TEST(DialogPrompt, AnEndingSessionAnswersSoThatTheCloseGoesOnUnsaved) {
    DialogPrompt prompt;
    prompt.SetEnding(true);
    // A real box would wait here until the test's timeout.
    EXPECT_EQ(prompt.Ask("Save Conversion Job?", "Save", PromptButtons::YesNo, PromptIcon::Question),
              PromptAnswer::No);
    EXPECT_EQ(prompt.Ask("Update the edited task?", "Task", PromptButtons::YesNoCancel, PromptIcon::Question),
              PromptAnswer::No);
    EXPECT_EQ(prompt.Ask("Stopped.", "Slidemill", PromptButtons::OK, PromptIcon::Information),
              PromptAnswer::OK);
    EXPECT_EQ(prompt.Ask("Go on?", "Slidemill", PromptButtons::OKCancel, PromptIcon::Question),
              PromptAnswer::OK);
    FileDialogRequest request;
    request.title = "Save";
    request.save = true;
    EXPECT_EQ(prompt.PickFile(request), "");
    EXPECT_EQ(prompt.PickFolder("Folder", "/"), "");
}

class UnsavedJobTest : public ::testing::Test {
protected:
    void AddTask(const std::string& original) {
        clsConversionOptions record;
        record.sOriginalFile = original;
        record.sTargetFile = "/out/*.pdf";
        record.lOriginalFileType = 1;
        record.lTargetFileType = 32;
        AppendTaskRow(record, document.fgToDo, nullptr);
        document.MarkChanged();
    }

    SilentPrompt prompt;
    JobDocument document{prompt, NullRunControl()};
    test::TempFolder folder{"unsaved"};
};

TEST_F(UnsavedJobTest, AChangedJobGoesToANewFileAndCountsAsSaved) {
    document.NewJob();
    AddTask("/in/a.pptx");
    AddTask("/in/b.pptx");
    const std::string kept = KeepUnsavedJob(document, folder.path().string());
    ASSERT_EQ(kept, (folder.path() / "Unsaved Conversion Job.MJB").string());
    EXPECT_FALSE(document.bAskToSaveMJBFileBeforeExit);

    Grid loaded{kTaskGridCols};
    InitTaskGrid(loaded);
    const JobLoadResult result = LoadJobFile(kept, 1, loaded);
    EXPECT_EQ(result.status, JobLoadStatus::Loaded);
    ASSERT_EQ(TaskCount(loaded), 2);
    EXPECT_EQ(loaded.Cell(1, kColOriginal), "/in/a.pptx");
    EXPECT_EQ(loaded.Cell(2, kColOriginal), "/in/b.pptx");
}

TEST_F(UnsavedJobTest, AnEarlierKeptJobIsNeverReplaced) {
    document.NewJob();
    AddTask("/in/a.pptx");
    const std::string first = KeepUnsavedJob(document, folder.path().string());
    const std::string before = test::ReadWholeFile(first);
    AddTask("/in/c.pptx");
    const std::string second = KeepUnsavedJob(document, folder.path().string());
    EXPECT_EQ(second, (folder.path() / "Unsaved Conversion Job (2).MJB").string());
    EXPECT_EQ(test::ReadWholeFile(first), before);
    EXPECT_NE(test::ReadWholeFile(second), before);
}

TEST_F(UnsavedJobTest, AnUnchangedOrEmptyJobWritesNothing) {
    document.NewJob();
    EXPECT_EQ(KeepUnsavedJob(document, folder.path().string()), "");
    document.MarkChanged();
    EXPECT_EQ(KeepUnsavedJob(document, folder.path().string()), "") << "a changed job without tasks";
    AddTask("/in/a.pptx");
    document.bAskToSaveMJBFileBeforeExit = false;
    EXPECT_EQ(KeepUnsavedJob(document, folder.path().string()), "");
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

} // namespace
} // namespace slidemill
