#include "cli/CommandLineRun.h"
#include "cli/CommandLineSession.h"

#include "cli/ResultCodes.h"
#include "cli/RunLogLines.h"
#include "core/JobDocument.h"
#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "run/JobRunner.h"
#include "run/PdfStage.h"
#include "run/RunHost.h"
#include "run/RunState.h"
#include "run/RunStatus.h"
#include "settings/SettingsGlobals.h"
#include "support/FakeComponent.h"
#include "support/FakeRunParts.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::FakeComponent;
using test::FakeRunParts;
using test::ReadWholeFile;
using test::RecordingPrompt;
using test::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CommandLineRunTest : public ::testing::Test {
protected:
    TempFolder dir{"clrun"};
    FakeRunParts parts;
    FakeComponent& component = parts.component;
    RecordingPrompt prompt;
    CommandLineSession session{parts, prompt, NullRunControl(), MakeContext()};
    JobDocument& document = session.Assembly().Document();
    CommandLineRun& run = session.Run();
    int windowShown = 0;
    std::string log;

    CommandLineContext MakeContext() {
        CommandLineContext context;
        context.programFolder = dir.folder("program");
        return context;
    }
    void SetUp() override {
        log = dir.str() + "run.log";
        run.showUserInterface = [this] { ++windowShown; };
    }
    std::string Q(const std::string& path) { return "\"" + path + "\""; }
};

TEST_F(CommandLineRunTest, SingleFileThatConvertsLogsSuccess) {
    const std::string source = dir.file("in/a.pptx");
    const int32_t result =
        run.RunCommandLine("/S " + Q(source) + " /T " + Q(dir.str() + "out/a.pdf") + " /C 32 /L " + Q(log));
    EXPECT_EQ(result, kRunStatusDone);
    EXPECT_FALSE(run.SomethingFailed());
    EXPECT_EQ(ExitCodeForRunStatus(result, run.SomethingFailed()), 0);
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].SourceFile, source);
    const auto lines = Lines(ReadWholeFile(log));
    ASSERT_EQ(lines.size(), 4u) << ReadWholeFile(log);
    EXPECT_EQ(lines[2], "Conversion Successful");
    EXPECT_EQ(lines[3].rfind("Time to complete job: ", 0), 0u);
    EXPECT_EQ(windowShown, 0);
}

TEST_F(CommandLineRunTest, FailedFilesGetJobLinesAndCanBeRerunFromTheSavedJob) {
    dir.file("in/a.pptx");
    const std::string bad = dir.file("in/b.pptx");
    component.failures[bad] = {-5, "cannot read"};
    const std::string saved = dir.str() + "failed.MJB";
    const int32_t result =
        run.RunCommandLine("/S " + Q(dir.str() + "in/*.pptx") + " /T " + Q(dir.str() + "out/*.pdf") +
                           " /C 32 /L " + Q(log) + " /B " + Q(saved));
    EXPECT_EQ(result, kRunStatusDone);
    EXPECT_TRUE(run.SomethingFailed());
    EXPECT_EQ(ExitCodeForRunStatus(result, run.SomethingFailed()), 1);
    const auto lines = Lines(ReadWholeFile(log));
    ASSERT_EQ(lines.size(), 4u) << ReadWholeFile(log);
    EXPECT_EQ(lines[2].rfind("Job # 1  ", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find(" - " + bad), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3].rfind("Time to complete job: ", 0), 0u);
    ASSERT_TRUE(fs::exists(saved));

    // The saved job re-runs only the failed file.
    component.calls.clear();
    component.failures.clear();
    const std::string second = dir.str() + "second.log";
    EXPECT_EQ(run.RunCommandLine("/J " + Q(saved) + " /L " + Q(second)), kRunStatusDone);
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].SourceFile, bad);
    EXPECT_FALSE(run.SomethingFailed());
    EXPECT_EQ(Lines(ReadWholeFile(second)).at(2), "Conversion Successful");
}

TEST_F(CommandLineRunTest, TwoSourcesOfOneTargetLoseNothingAndTheRunReportsTheFailure) {
    parts.settings.bDeleteOriginalFileAfterProcessing = true;
    const std::string ppt = dir.file("in/deck.ppt", "three slides");
    const std::string pptx = dir.file("in/deck.pptx", "seven slides");
    const int32_t result = run.RunCommandLine("/S " + Q(dir.str() + "in/*.*") + " /T " +
                                              Q(dir.str() + "out/*.pdf") + " /C 32 /L " + Q(log));
    EXPECT_EQ(result, kRunStatusDone);
    EXPECT_TRUE(run.SomethingFailed());
    EXPECT_EQ(ExitCodeForRunStatus(result, run.SomethingFailed()), 1);
    ASSERT_EQ(component.calls.size(), 1u);
    const std::string converted = component.calls[0].SourceFile;
    const std::string kept = converted == ppt ? pptx : ppt;
    EXPECT_FALSE(fs::exists(converted));
    ASSERT_TRUE(fs::exists(kept)) << "the deck that was not converted is still there";
    EXPECT_EQ(ReadWholeFile(kept), kept == ppt ? "three slides" : "seven slides");
    const auto lines = Lines(ReadWholeFile(log));
    ASSERT_EQ(lines.size(), 4u) << ReadWholeFile(log);
    EXPECT_EQ(lines[2].rfind("Job # 1  Error 23", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find(converted), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find(" - " + kept), std::string::npos) << lines[2];
}

TEST_F(CommandLineRunTest, SavedJobInAMissingFolderIsReported) {
    const std::string bad = dir.file("in/b.pptx");
    component.failures[bad] = {-5, "cannot read"};
    run.RunCommandLine("/S " + Q(bad) + " /T " + Q(dir.str() + "out/b.pdf") + " /C 32 /L " + Q(log) + " /B " +
                       Q(dir.str() + "nowhere/x.MJB"));
    EXPECT_EQ(Lines(ReadWholeFile(log)).back(),
              "Unable to create file. Try a different folder such as 'My Documents'");
}

TEST_F(CommandLineRunTest, InvalidLineIsLoggedAndRunsNothing) {
    const int32_t result = run.RunCommandLine("/X /L " + Q(log));
    EXPECT_EQ(result, kRunStatusInvalidLine);
    EXPECT_EQ(ExitCodeForRunStatus(result, run.SomethingFailed()), 2);
    EXPECT_TRUE(component.calls.empty());
    EXPECT_EQ(Lines(ReadWholeFile(log)).back(), "Missing required or invalid command line argument(s)");
    EXPECT_EQ(windowShown, 0);
}

TEST_F(CommandLineRunTest, RefusedLineKeepsItsReasonForStandardError) {
    const std::string missing = dir.str() + "in/none.pptx";
    EXPECT_EQ(run.RunCommandLine("/S " + Q(missing) + " /T " + Q(dir.str() + "out/none.pdf") + " /C 32"),
              kRunStatusInvalidLine);
    EXPECT_EQ(RefusalText("slidemill", run.Task().sErr, run.Task().sLogFile),
              "slidemill: Missing required or invalid command line argument(s): Original File " + missing +
                  " does not exist.\n");
}

TEST_F(CommandLineRunTest, NamePatternsRunFromTheLineAndFromAJob) {
    const std::string q3 = dir.file("in/Q3 sales.pptx"), q3deep = dir.file("in/2024/q3 plan.PPTX");
    dir.file("in/Q4 sales.pptx");
    EXPECT_EQ(run.RunCommandLine("/S " + Q(dir.str() + "in/Q3*.pptx") + " /R /T " +
                                 Q(dir.str() + "out/*.pdf") + " /C 32 /B " + Q(dir.str() + "unused.MJB")),
              kRunStatusDone);
    EXPECT_FALSE(run.SomethingFailed());
    ASSERT_EQ(component.calls.size(), 2u);
    EXPECT_EQ(component.calls[0].SourceFile, q3);
    EXPECT_EQ(component.calls[1].SourceFile, q3deep);
    EXPECT_EQ(component.calls[1].TargetFile, dir.str() + "out/2024/q3 plan.pdf");

    // The same task saved in a job file and run from there.
    Grid grid{kTaskGridCols};
    InitTaskGrid(grid);
    clsConversionOptions task;
    task.sOriginalFile = dir.str() + "in/Q3*.pptx";
    task.sTargetFile = dir.str() + "job-out/*.pdf";
    task.lTargetFileType = 32;
    AppendTaskRow(task, grid, &component);
    const std::string job = dir.str() + "q3.MJB";
    ASSERT_TRUE(WriteJobFile(job, grid));
    component.calls.clear();
    EXPECT_EQ(run.RunCommandLine("/J " + Q(job)), kRunStatusDone);
    EXPECT_FALSE(run.SomethingFailed());
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].TargetFile, dir.str() + "job-out/Q3 sales.pdf");
}

TEST_F(CommandLineRunTest, UnreadableFolderMakesTheRunFail) {
    dir.file("in/a.pptx");
    dir.file("in/locked/b.pptx");
    fs::permissions(dir.path() / "in" / "locked", fs::perms::none);
    fs::permissions(dir.folder("out"), fs::perms::all);
    // The unprivileged run writes its log where it may.
    fs::permissions(dir.folder("logs"), fs::perms::all);
    log = dir.str() + "logs/run.log";
    const std::string outcome = test::AsUnprivilegedUser(
        [&] {
            const int32_t result = run.RunCommandLine("/S " + Q(dir.str() + "in/*.pptx") + " /R /T " +
                                                      Q(dir.str() + "out/*.pdf") + " /C 32 /L " + Q(log));
            return std::to_string(ExitCodeForRunStatus(result, run.SomethingFailed())) + "\n" +
                   ReadWholeFile(log);
        },
        dir.path());
    fs::permissions(dir.path() / "in" / "locked", fs::perms::owner_all);
    EXPECT_EQ(outcome.substr(0, 2), "1\n") << outcome;
    EXPECT_NE(outcome.find("Job # 1  Folder: " + dir.str() + "in/locked/ cannot be read (Permission denied)"),
              std::string::npos)
        << outcome;
}

TEST_F(CommandLineRunTest, EmptyLineHelpAndOpenOnly) {
    EXPECT_EQ(run.RunCommandLine(""), kRunStatusEmptyLine);
    EXPECT_EQ(windowShown, 1);

    EXPECT_EQ(run.RunCommandLine("/? /L " + Q(log)), kRunStatusDone);
    EXPECT_TRUE(run.HelpRequested());
    EXPECT_FALSE(fs::exists(log));

    const std::string job = dir.str() + "job.MJB";
    const std::string failing = dir.file("x.pptx");
    component.failures[failing] = {-5, "no"};
    run.RunCommandLine("/S " + Q(failing) + " /T " + Q(dir.str() + "x.pdf") + " /C 32 /B " + Q(job));
    ASSERT_TRUE(fs::exists(job));
    component.calls.clear();
    EXPECT_EQ(run.RunCommandLine("/J " + Q(job) + " /O"), kRunStatusOpenedJob);
    EXPECT_EQ(windowShown, 2);
    EXPECT_TRUE(component.calls.empty()) << "an opened job is not run";
    EXPECT_GT(document.fgToDo.Rows(), 2);
}

TEST_F(CommandLineRunTest, EmptyGivenLineUsesTheProcessArguments) {
    const std::string source = dir.file("in/a.pptx");
    run.SetProcessCommandLine(
        JoinCommandLineArguments({"/S", source, "/T", dir.str() + "out/a.pdf", "/C", "32", "/L", log}));
    EXPECT_EQ(run.RunCommandLine(""), kRunStatusDone);
    EXPECT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(windowShown, 0);
}

TEST_F(CommandLineRunTest, FileThatIsNoJobIsRefused) {
    const std::string notJob = dir.file("notes.MJB", std::string("\x00\x01\x02 not a job", 14));
    EXPECT_EQ(run.RunCommandLine("/J " + Q(notJob) + " /L " + Q(log)), kRunStatusInvalidLine);
    const auto lines = Lines(ReadWholeFile(log));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "Not a conversion job file, or it holds no task: " + notJob);
    EXPECT_EQ(lines[3], "Missing required or invalid command line argument(s)");

    const std::string empty = dir.file("empty.MJB", "");
    EXPECT_EQ(run.RunCommandLine("/J " + Q(empty)), kRunStatusInvalidLine);
    EXPECT_TRUE(component.calls.empty());
}

} // namespace
} // namespace slidemill
