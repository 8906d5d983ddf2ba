#include "cli/CommandLineRun.h"
#include "cli/CommandLineSession.h"

#include "RecordingPrompt.h"
#include "cli/ResultCodes.h"
#include "core/JobDocument.h"
#include "settings/SettingsGlobals.h"
#include "support/FakeComponent.h"
#include "support/FakeRunParts.h"
#include "support/TempFolder.h"

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
