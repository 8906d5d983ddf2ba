#include "core/JobDocument.h"
#include "GridTestSupport.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace slidemill {
namespace {

using test::ConversionTask;

class RecordingEvents : public JobDocumentEvents {
public:
    bool editorTaskValid = false;
    JobDocument* document = nullptr;
    bool running = false;
    int pauses = 0;
    std::string caption;
    std::vector<std::string> recent;

    bool AddEditorTask() override {
        if (!editorTaskValid)
            return false;
        test::FakeComponent component;
        AppendTaskRow(ConversionTask("/editor.ppt", "/editor.pdf"), document->fgToDo, &component);
        return true;
    }
    bool IsRunning() const override { return running; }
    void PauseRun() override {
        ++pauses;
        running = false;
    }
    void JobCaption(const std::string& text) override { caption = text; }
    void AddRecentJob(const std::string& path) override { recent.push_back(path); }
};

class JobDocumentTest : public ::testing::Test {
protected:
    JobDocumentTest() { events.document = &document; }

    void AddTasks(int count) {
        for (int i = 1; i <= count; ++i)
            AppendTaskRow(
                ConversionTask("/in/" + std::to_string(i) + ".ppt", "/out/" + std::to_string(i) + ".pdf"),
                document.fgToDo, &component);
        document.MarkChanged();
    }

    test::TempFolder folder{"jobdoc"};
    test::AnsweringPrompt prompt;
    test::FlagRunControl control;
    RecordingEvents events;
    JobDocument document{prompt, control, &events};
    test::FakeComponent component;
};

TEST_F(JobDocumentTest, SaveAsNamesTheJobAndClearsTheChangedFlag) {
    AddTasks(2);
    const std::string path = folder.str() + "new.MJB";
    prompt.files.push_back(path);
    EXPECT_TRUE(document.ConversionJobSave()) << "without a file, Save asks for one";
    ASSERT_EQ(prompt.dialogs.size(), 1u);
    EXPECT_TRUE(prompt.dialogs[0].save);
    EXPECT_EQ(prompt.dialogs[0].title, "Save");
    EXPECT_EQ(prompt.dialogs[0].filter, "Slidemill (*.MJB)|*.MJB");
    EXPECT_EQ(document.sJobFile, path);
    EXPECT_FALSE(document.bAskToSaveMJBFileBeforeExit);
    EXPECT_EQ(events.caption, "new.MJB");
    EXPECT_EQ(events.recent, std::vector<std::string>{path});
    EXPECT_TRUE(prompt.questions.empty());

    // Save then writes to that file without asking.
    AddTasks(1);
    EXPECT_TRUE(document.ConversionJobSave());
    EXPECT_EQ(prompt.dialogs.size(), 1u);
    Grid reread{kTaskGridCols};
    LoadJobFile(path, 1, reread);
    EXPECT_EQ(TaskCount(reread), 3);
}

TEST_F(JobDocumentTest, FailedSaveKeepsTheJobMarkedUnsaved) {
    // A TAB inside a file name cannot be written as a job line, so this save fails.
    AppendTaskRow(ConversionTask("/in/tab\there.ppt", "/out/a.pdf"), document.fgToDo, &component);
    document.MarkChanged();
    const std::string existing = folder.file("old.MJB", "A,0,0\t1\tC\t/a\t3\t\t/b\t32\tpdf\t\t\r\n");
    document.sJobFile = existing;
    EXPECT_FALSE(document.ConversionJobSave());
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0], "Unable to create file. Try a different folder such as 'My Documents'");
    EXPECT_TRUE(document.bAskToSaveMJBFileBeforeExit);
    EXPECT_EQ(test::ReadWholeFile(existing), "A,0,0\t1\tC\t/a\t3\t\t/b\t32\tpdf\t\t\r\n");

    // A folder in the way of the file: the write fails where a mere existence test would pass.
    InitTaskGrid(document.fgToDo);
    AddTasks(1);
    document.sJobFile = folder.folder("blocked.MJB");
    EXPECT_FALSE(document.ConversionJobSave());
    EXPECT_EQ(prompt.questions.size(), 2u);
}

TEST_F(JobDocumentTest, SaveAsIntoAMissingFolderKeepsTheCurrentFile) {
    AddTasks(1);
    document.sJobFile = folder.str() + "current.MJB";
    prompt.files.push_back(folder.str() + "missing/dir/job.MJB");
    EXPECT_FALSE(document.ConversionJobSaveAs());
    EXPECT_EQ(document.sJobFile, folder.str() + "current.MJB");
    EXPECT_EQ(prompt.dialogs[0].initialPath, folder.str() + "current.MJB");
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0], "Unable to create file. Try a different folder such as 'My Documents'");
    EXPECT_TRUE(document.bAskToSaveMJBFileBeforeExit);
}

TEST_F(JobDocumentTest, EmptyJobSavesTheEditorTaskOrNothing) {
    const std::string path = folder.str() + "empty.MJB";
    document.sJobFile = path;
    EXPECT_FALSE(document.ConversionJobSave());
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0], "Unable to create file. Try a different folder such as 'My Documents'");

    events.editorTaskValid = true;
    EXPECT_TRUE(document.ConversionJobSave());
    EXPECT_EQ(test::ReadWholeFile(path),
              "A,0,0\t1\tC\t/editor.ppt\t3\t\t/editor.pdf\t32\tpdf\t\t\r\n\t*\t\t\t\t\t\t\t\t\t\r\n");
}

TEST_F(JobDocumentTest, OpenRestoresMarksAndStartsClean) {
    AddTasks(2);
    UpdatePassedCell(document.fgToDo, 1, 0);
    UpdatePassedCell(document.fgToDo, 2, -3);
    const std::string path = folder.str() + "marks.MJB";
    ASSERT_TRUE(WriteJobFile(path, document.fgToDo));
    AppendLogRow(document.fgLog, {"A,0,0", "2", "C"});
    document.bAskToSaveMJBFileBeforeExit = false;

    events.running = true;
    EXPECT_TRUE(document.ConversionJobOpen(path));
    EXPECT_EQ(events.pauses, 1);
    EXPECT_EQ(document.sJobFile, path);
    EXPECT_EQ(document.fgToDo.Mark(1, kColPass), CellMark::Pass);
    EXPECT_EQ(document.fgToDo.Mark(2, kColPass), CellMark::Fail);
    EXPECT_EQ(document.fgToDo.Row(), 1);
    EXPECT_EQ(document.fgLog.Rows(), 2);
    EXPECT_FALSE(document.bAskToSaveMJBFileBeforeExit);
    EXPECT_EQ(events.caption, "marks.MJB");
    EXPECT_EQ(events.recent.back(), path);
}

TEST_F(JobDocumentTest, OpenDialogStartsInTheSettingsFolderThenAtTheJob) {
    document.sSettingsFolder = folder.str();
    const std::string path = folder.file("a.MJB", "A,0,0\t1\tC\t/a\t3\t\t/b\t32\tpdf\t\t\r\n");
    prompt.files.push_back(path);
    EXPECT_TRUE(document.ConversionJobOpen(""));
    EXPECT_FALSE(document.ConversionJobOpen("")) << "a cancelled dialog opens nothing";
    ASSERT_EQ(prompt.dialogs.size(), 2u);
    EXPECT_EQ(prompt.dialogs[0].initialPath, folder.str());
    EXPECT_EQ(prompt.dialogs[0].title, "Open Conversion Job");
    EXPECT_FALSE(prompt.dialogs[0].save);
    EXPECT_EQ(prompt.dialogs[1].initialPath, path);
    EXPECT_EQ(document.sJobFile, path);
    EXPECT_EQ(TaskCount(document.fgToDo), 1);
}

TEST_F(JobDocumentTest, OpeningAMissingFileKeepsTheJob) {
    AddTasks(2);
    document.sJobFile = "*";
    EXPECT_FALSE(document.ConversionJobOpen(folder.str() + "nowhere.MJB"));
    EXPECT_EQ(TaskCount(document.fgToDo), 2);
    EXPECT_EQ(document.sJobFile, "*");
    ASSERT_FALSE(prompt.questions.empty());
    EXPECT_NE(prompt.questions.back().find("nowhere.MJB"), std::string::npos);
}

TEST_F(JobDocumentTest, PartlyLoadedJobLosesItsFileName) {
    std::string text = "A,0,0\t1\tC\t/a\t3\t\t/b\t32\tpdf\t\t\r\n";
    text += std::string("\0\0\0\0", 4) + "\r\n";
    const std::string path = folder.file("broken.MJB", text);
    EXPECT_FALSE(document.ConversionJobOpen(path));
    EXPECT_EQ(TaskCount(document.fgToDo), 1);
    EXPECT_EQ(document.sJobFile, "*") << "Save must not overwrite the file with the part that loaded";
    ASSERT_FALSE(prompt.questions.empty());
    EXPECT_NE(prompt.questions.back().find("binary"), std::string::npos);
}

TEST_F(JobDocumentTest, AskToSaveOnlyWhenTheJobIsWorthIt) {
    AddTasks(1);
    document.CheckToSaveFileBeforeErasing();
    EXPECT_TRUE(prompt.questions.empty()) << "one task without a file is not asked about";

    AddTasks(1);
    document.sJobFile = folder.str() + "ask.MJB";
    prompt.answers.push_back(PromptAnswer::No);
    document.CheckToSaveFileBeforeErasing();
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0], "Save Conversion Job?");
    EXPECT_FALSE(std::filesystem::exists(document.sJobFile));

    prompt.answers.push_back(PromptAnswer::Yes);
    document.NewJob();
    EXPECT_TRUE(std::filesystem::exists(folder.str() + "ask.MJB"));
    EXPECT_EQ(document.sJobFile, "*");
    EXPECT_EQ(TaskCount(document.fgToDo), 0);
    EXPECT_EQ(events.caption, "*");

    document.bCommandLineMode = true;
    AddTasks(3);
    document.CheckToSaveFileBeforeErasing();
    EXPECT_EQ(prompt.questions.size(), 2u);
}

TEST_F(JobDocumentTest, SavedSliceContinuesFromTheNewFile) {
    std::string text;
    for (int i = 1; i <= 30001; ++i)
        text += "A,0,0\t" + std::to_string(i) + "\tC\t/in/" + std::to_string(i) +
                ".ppt\t3\t\t/o.pdf\t32\tpdf\t\t\r\n";
    const std::string original = folder.file("big.MJB", text);
    ASSERT_TRUE(document.ConversionJobOpen(original));
    document.fgToDo.SetCell(1, kColTarget, "/first.pdf");
    const std::string renamed = folder.str() + "renamed.MJB";
    prompt.files.push_back(renamed);
    ASSERT_TRUE(document.ConversionJobSaveAs());
    std::filesystem::remove(original);

    clsConversionOptions record;
    ASSERT_TRUE(ReadTaskRow(record, 30000, document.fgToDo));
    ASSERT_EQ(document.PerformReloadTask(record), 0) << record.sErr;
    ASSERT_EQ(TaskCount(document.fgToDo), 2);
    EXPECT_EQ(document.fgToDo.Cell(1, kColOriginal), "/in/30000.ppt");
    EXPECT_EQ(document.fgToDo.Cell(2, kColOriginal), "/in/30001.ppt");
}

} // namespace
} // namespace slidemill
