#include "core/FileTypes.h"
#include "core/JobDocument.h"
#include "core/JobFile.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "run/JobRunner.h"
#include "run/PdfStage.h"
#include "run/RunLogRows.h"
#include "run/SpecialProcesses.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace slidemill {
namespace {

using test::ReadWholeFile;
using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class NoQuestions : public Prompt {
public:
    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons, PromptIcon) override {
        ADD_FAILURE() << "an unattended run asked a question";
        return PromptAnswer::Cancel;
    }
    std::string PickFile(FileDialogRequest&) override { return {}; }
};

class HiddenHost : public RunHost {
public:
    bool WindowVisible() const override { return false; }
    bool SchedulerEnabled() const override { return false; }
    bool EditorDirty() const override { return false; }
    bool UpdateCurrentRowFromEditor() override { return true; }
    void ClearEditorDirty() override {}
    bool AddEditorTask() override { return false; }
    void StopScheduler() override {}
};

class QuietStatus : public RunStatus {
public:
    void SetStatePicture(StatePicture) override {}
    void StartBlinkTimer() override {}
    void StopBlinkTimer() override {}
    bool FrameMinimised() const override { return false; }
    void AlertFrame() override {}
};

clsConversionOptions Special(int32_t process, const std::string& source, const std::string& target) {
    clsConversionOptions task;
    task.sActionToDo = "S" + std::to_string(process);
    task.lSpecialProcess = process;
    task.lConversionMethod = kMethodSpecial;
    task.sOriginalFile = source;
    task.sTargetFile = target;
    task.lOriginalFileType = 1;
    task.lTargetFileType = 1;
    return task;
}

TEST(SpecialJob, MixedJobRunsEveryProcessAndLogsFailuresAndExitCodes) {
    TempFolder t;
    test::FakeComponent component;
    RunState state;
    NoQuestions prompt;
    HiddenHost host;
    QuietStatus status;
    UnavailablePdfStage pdf;
    JobDocument document{prompt, state, &host};
    JobRunner runner{document, state, component, pdf, prompt, host, status};
    SpecialProcesses special;
    runner.SetSpecialProcessor(&special);

    t.file("in/a.txt", "alpha\n\n  \nend a\n");
    t.file("in/b.txt", "bb cat\n");
    const std::string missing = t.str() + "in/none.txt";
    Grid& tasks = document.fgToDo;
    AppendTaskRow(Special(kSpecialAppend, t.str() + "in/*.txt", t.str() + "out/all.txt"), tasks, &component);
    AppendTaskRow(Special(kSpecialRemoveEmptyLines, t.str() + "in/a.txt", t.str() + "out/a.txt"), tasks,
                  &component);
    clsConversionOptions replace =
        Special(kSpecialSearchReplace, t.str() + "in/b.txt", t.str() + "out/b.txt");
    replace.sFindString = "CAT";
    replace.sReplaceString = "dog";
    replace.bCaseSensitive = false;
    AppendTaskRow(replace, tasks, &component);
    AppendTaskRow(Special(kSpecialLaunch, "/bin/sh", "-c 'exit 3'"), tasks, &component);
    clsConversionOptions noSource = Special(kSpecialSearchReplace, missing, t.str() + "out/c.txt");
    noSource.sFindString = "x";
    AppendTaskRow(noSource, tasks, &component);
    AppendTaskRow(Special(kSpecialLaunch, t.str() + "no-such-program", ""), tasks, &component);

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);

    std::vector<std::string> passes;
    for (int row = 1; row <= TaskCount(tasks); ++row)
        passes.push_back(tasks.CellText(row, kColPass));
    EXPECT_THAT(passes, ElementsAre("+", "+", "+", "+", "-", "-"));

    // The append took the files in the order they were listed; both are there once each.
    const std::string all = ReadWholeFile(t.path() / "out/all.txt");
    EXPECT_TRUE(all == "alpha\n\n  \nend a\nbb cat\n" || all == "bb cat\nalpha\n\n  \nend a\n") << all;
    EXPECT_EQ(ReadWholeFile(t.path() / "out/a.txt"), "alpha\nend a\n");
    EXPECT_EQ(ReadWholeFile(t.path() / "out/b.txt"), "bb dog\n");

    const Grid& log = document.fgLog;
    ASSERT_EQ(log.Rows() - 2, 3);
    EXPECT_EQ(log.CellText(1, kColNumber), "4");
    EXPECT_EQ(log.CellText(1, kColStatus), "Exit Code: 3");
    EXPECT_EQ(log.CellText(1, kColPass), "+");
    EXPECT_EQ(log.CellText(2, kColNumber), "5");
    EXPECT_EQ(log.CellText(2, kColStatus), "File: " + missing + " does not exist");
    EXPECT_EQ(log.CellText(2, kColPass), "-");
    EXPECT_EQ(log.CellText(3, kColNumber), "6");
    EXPECT_THAT(log.CellText(3, kColStatus), HasSubstr("Unable to launch application."));
}

TEST(SpecialJob, WildcardTasksReadFromAJobFileNameTargetsByTheirOwnType) {
    TempFolder t;
    test::FakeComponent component;
    // An engine format with the code of the text type: its extension must never be used.
    component.formats.push_back({1, "Engine format one", "one"});
    RunState state;
    NoQuestions prompt;
    HiddenHost host;
    QuietStatus status;
    UnavailablePdfStage pdf;
    JobDocument document{prompt, state, &host};
    JobRunner runner{document, state, component, pdf, prompt, host, status};
    SpecialProcesses special;
    runner.SetSpecialProcessor(&special);

    t.file("in/a.md", "a\n\nb\n");
    t.file("in/b.md", "find me\n");
    AppendTaskRow(Special(kSpecialRemoveEmptyLines, t.str() + "in/*.md", t.str() + "clean/*.txt"),
                  document.fgToDo, &component);
    clsConversionOptions replace =
        Special(kSpecialSearchReplace, t.str() + "in/*.md", t.str() + "swap/*.txt");
    replace.sFindString = "find";
    replace.sReplaceString = "found";
    AppendTaskRow(replace, document.fgToDo, &component);
    // Fails: its log row still shows the task's own type.
    AppendTaskRow(Special(kSpecialRemoveEmptyLines, t.str() + "none/*.md", t.str() + "x/*.txt"),
                  document.fgToDo, &component);
    const std::string job = t.str() + "job.MJB";
    ASSERT_TRUE(WriteJobFile(job, document.fgToDo));
    ASSERT_TRUE(document.ConversionJobOpen(job));
    ASSERT_EQ(TaskCount(document.fgToDo), 3);

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_EQ(ReadWholeFile(t.path() / "clean/a.TXT"), "a\nb\n");
    EXPECT_EQ(ReadWholeFile(t.path() / "swap/b.TXT"), "found me\n");
    EXPECT_FALSE(std::filesystem::exists(t.path() / "clean/a."));
    EXPECT_FALSE(std::filesystem::exists(t.path() / "clean/a.one"));
    EXPECT_EQ(document.fgToDo.CellText(1, kColPass), "+");
    EXPECT_EQ(document.fgToDo.CellText(2, kColPass), "+");
    EXPECT_EQ(document.fgToDo.CellText(3, kColPass), "-");
    ASSERT_EQ(document.fgLog.Rows() - 2, 1);
    EXPECT_EQ(document.fgLog.CellText(1, kColTargetTypeText), "TXT");

    // Saved again, the tasks keep what they were read with (case-sensitive search included).
    ASSERT_TRUE(WriteJobFile(job, document.fgToDo));
    ASSERT_TRUE(document.ConversionJobOpen(job));
    clsConversionOptions reread;
    ASSERT_TRUE(ReadTaskRow(reread, 2, document.fgToDo));
    EXPECT_EQ(reread.lConversionMethod, kMethodSpecial);
    EXPECT_TRUE(reread.bCaseSensitive);
}

TEST(SpecialJob, FailureRowShowsTheProcessTypeEvenWhenTheRecordCarriesAConversionMethod) {
    test::FakeComponent component;
    component.formats.push_back({1, "Engine format one", "one"});
    Grid tasks{kTaskGridCols};
    Grid log{kLogGridCols};
    InitTaskGrid(tasks);
    InitLogGrid(log);
    clsConversionOptions failed = Special(kSpecialRemoveEmptyLines, "/in/*.md", "/out/*.txt");
    failed.lConversionMethod = kMethodComponent;
    failed.lErr = -3;
    failed.sErr = "cannot read";
    const int row = AppendFailureRow(log, tasks, 1, failed, false, &component);
    ASSERT_GT(row, 0);
    EXPECT_EQ(log.CellText(row, kColTargetTypeText), "TXT");
    EXPECT_EQ(log.CellText(row, kColOriginalTypeText), "");
}

} // namespace
} // namespace slidemill
