#include "cli/CommandLine.h"
#include "cli/CommandLineRun.h"
#include "cli/CommandLineSession.h"
#include "cli/ResultCodes.h"
#include "cli/ShardArgument.h"
#include "core/FileTypes.h"
#include "core/JobDocument.h"
#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "run/JobRunner.h"
#include "support/FakeComponent.h"
#include "support/FakeRunParts.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

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

std::string Q(const std::string& path) {
    return "\"" + path + "\"";
}

// One process of an array job: its own session, as each shard is a process of its own.
struct ShardProcess {
    explicit ShardProcess(std::optional<ShardSpec> shard) { run.SetShard(shard); }
    FakeRunParts parts;
    RecordingPrompt prompt;
    CommandLineSession session{parts, prompt};
    CommandLineRun& run = session.Run();
};

class ShardRunTest : public ::testing::Test {
protected:
    TempFolder dir{"shardrun"};

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
    std::string WriteJob(const std::vector<clsConversionOptions>& tasks, const std::string& name) {
        FakeRunParts parts;
        Grid grid{kTaskGridCols};
        InitTaskGrid(grid);
        for (const clsConversionOptions& task : tasks)
            AppendTaskRow(task, grid, &parts.component);
        const std::string job = dir.str() + name;
        EXPECT_TRUE(WriteJobFile(job, grid));
        return job;
    }
};

TEST_F(ShardRunTest, FourShardsConvertEveryFileOnceIntoTheMirroredTree) {
    std::set<std::string> all;
    for (int i = 0; i < 40; ++i)
        all.insert(dir.file("in/" + std::string(i % 2 ? "sub/" : "") + "deck" + std::to_string(i) + ".pptx"));
    dir.folder("logs");
    std::map<std::string, int> converted;
    for (uint32_t index = 0; index < 4; ++index) {
        ShardProcess process(ShardSpec{index, 4});
        const int32_t status = process.run.RunCommandLine("/S " + Q(dir.str() + "in/*.pptx") + " /R /T " +
                                                          Q(dir.str() + "out/*.pdf") + " /C 32 /L " +
                                                          Q(dir.str() + "logs/run_[SHARD].log"));
        ASSERT_EQ(status, kRunStatusDone);
        EXPECT_FALSE(process.run.SomethingFailed());
        const std::string logFile = dir.str() + "logs/run_" + std::to_string(index) + "-of-4.log";
        const std::vector<std::string> log = Lines(ReadWholeFile(logFile));
        ASSERT_GE(log.size(), 5u) << logFile;
        EXPECT_EQ(log[2], "Shard " + std::to_string(index) + " of 4");
        std::size_t listed = 0;
        for (const std::string& line : log)
            listed += line.rfind("Shard " + std::to_string(index) + " of 4 file: ", 0) == 0;
        const auto& calls = process.parts.component.calls;
        EXPECT_EQ(listed, calls.size());
        EXPECT_EQ(log.back(), "Shard " + std::to_string(index) + " of 4: " + std::to_string(calls.size()) +
                                  " files");
        for (const auto& call : calls) {
            ++converted[call.SourceFile];
            const std::string relative = call.SourceFile.substr((dir.str() + "in/").size());
            EXPECT_EQ(call.TargetFile, dir.str() + "out/" + relative.substr(0, relative.size() - 5) + ".pdf");
        }
    }
    EXPECT_EQ(converted.size(), all.size());
    for (const auto& [file, times] : converted) {
        EXPECT_TRUE(all.count(file)) << file;
        EXPECT_EQ(times, 1) << file;
    }
}

TEST_F(ShardRunTest, DecksOfOneTargetMeetInOneShardWhereTheFirstWins) {
    dir.file("in/deck.ppt");
    dir.file("in/deck.pptx");
    int refusals = 0, conversions = 0;
    for (uint32_t index = 0; index < 3; ++index) {
        ShardProcess process(ShardSpec{index, 3});
        ASSERT_EQ(process.run.RunCommandLine("/S " + Q(dir.str() + "in/*.*") + " /T " + Q(dir.str() + "out/*.pdf") +
                                             " /C 32"),
                  kRunStatusDone);
        conversions += static_cast<int>(process.parts.component.calls.size());
        refusals += process.run.SomethingFailed();
    }
    EXPECT_EQ(conversions, 1);
    EXPECT_EQ(refusals, 1);
}

TEST_F(ShardRunTest, ASingleFileIsShardZerosAlone) {
    const std::string source = dir.file("in/one.pptx");
    for (uint32_t index = 0; index < 4; ++index) {
        ShardProcess process(ShardSpec{index, 4});
        const std::string log = dir.str() + "one_[SHARD].log";
        ASSERT_EQ(process.run.RunCommandLine("/S " + Q(source) + " /T " + Q(dir.str() + "out/one.pdf") +
                                             " /C 32 /L " + Q(log)),
                  kRunStatusDone);
        EXPECT_EQ(process.parts.component.calls.size(), index == 0 ? 1u : 0u) << index;
        const auto lines = Lines(ReadWholeFile(dir.str() + "one_" + std::to_string(index) + "-of-4.log"));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), index == 0 ? "Shard 0 of 4: 1 file" : "Shard " + std::to_string(index) + " of 4: 0 files");
    }
    // A missing single file is reported once, by shard 0, not by every shard.
    clsConversionOptions missing;
    missing.sOriginalFile = dir.str() + "in/missing.pptx";
    missing.sTargetFile = dir.str() + "out/missing.pdf";
    missing.lTargetFileType = 32;
    const std::string job = WriteJob({missing}, "missing.MJB");
    ShardProcess later(ShardSpec{1, 4});
    EXPECT_EQ(later.run.RunCommandLine("/J " + Q(job)), kRunStatusDone);
    EXPECT_FALSE(later.run.SomethingFailed());
    ShardProcess first(ShardSpec{0, 4});
    EXPECT_EQ(first.run.RunCommandLine("/J " + Q(job)), kRunStatusDone);
    EXPECT_TRUE(first.run.SomethingFailed());
}

TEST_F(ShardRunTest, TextProcessesOverAListAreSplitToo) {
    for (int i = 0; i < 12; ++i)
        dir.file("in/note" + std::to_string(i) + ".md", "a\n\nb\n");
    const std::string job = WriteJob({Special(kSpecialRemoveEmptyLines, dir.str() + "in/*.md", dir.str() + "clean/*.txt")},
                                     "clean.MJB");
    std::size_t total = 0;
    for (uint32_t index = 0; index < 3; ++index) {
        ShardProcess process(ShardSpec{index, 3});
        const std::string log = dir.str() + "clean_[SHARD].log";
        ASSERT_EQ(process.run.RunCommandLine("/J " + Q(job) + " /L " + Q(log)), kRunStatusDone);
        EXPECT_FALSE(process.run.SomethingFailed());
        const auto lines = Lines(ReadWholeFile(dir.str() + "clean_" + std::to_string(index) + "-of-3.log"));
        ASSERT_FALSE(lines.empty());
        const std::size_t before = total;
        total = 0;
        if (fs::exists(dir.path() / "clean"))
            for (auto entry = fs::directory_iterator(dir.path() / "clean"); entry != fs::directory_iterator(); ++entry)
                ++total;
        const std::size_t added = total - before;
        EXPECT_EQ(lines.back(), "Shard " + std::to_string(index) + " of 3: " + std::to_string(added) +
                                    (added == 1 ? " file" : " files"));
    }
    EXPECT_EQ(total, 12u);
    EXPECT_EQ(ReadWholeFile(dir.path() / "clean/note7.TXT"), "a\nb\n");
}

TEST_F(ShardRunTest, AppendAndLaunchJobsAreRefusedBeforeAnythingRuns) {
    dir.file("in/a.txt", "a\n");
    dir.file("in/b.pptx");
    clsConversionOptions convert;
    convert.sOriginalFile = dir.str() + "in/*.pptx";
    convert.sTargetFile = dir.str() + "out/*.pdf";
    convert.lTargetFileType = 32;
    const std::string marker = dir.str() + "launched";
    const std::vector<std::pair<std::string, clsConversionOptions>> jobs = {
        {"append.MJB", Special(kSpecialAppend, dir.str() + "in/*.txt", dir.str() + "out/all.txt")},
        {"launch.MJB", Special(kSpecialLaunch, "/bin/sh", "-c 'touch " + marker + "'")},
    };
    for (const auto& [name, special] : jobs) {
        const std::string job = WriteJob({convert, special}, name);
        ShardProcess process(ShardSpec{0, 2});
        const std::string log = dir.str() + name + ".log";
        EXPECT_EQ(process.run.RunCommandLine("/J " + Q(job) + " /L " + Q(log)), kRunStatusInvalidLine) << name;
        EXPECT_EQ(ExitCodeForRunStatus(kRunStatusInvalidLine, false), kExitInvalidLine);
        EXPECT_NE(process.run.Task().sErr.find("cannot be split into shards"), std::string::npos)
            << process.run.Task().sErr;
        EXPECT_NE(process.run.Task().sErr.find("(task 2)"), std::string::npos) << process.run.Task().sErr;
        EXPECT_NE(ReadWholeFile(log).find("without --shard"), std::string::npos) << ReadWholeFile(log);
        EXPECT_TRUE(process.parts.component.calls.empty()) << name;

        // The same job runs whole without --shard.
        ShardProcess whole(std::nullopt);
        EXPECT_EQ(whole.run.RunCommandLine("/J " + Q(job)), kRunStatusDone) << name;
        EXPECT_EQ(whole.parts.component.calls.size(), 1u) << name;
    }
    EXPECT_TRUE(fs::exists(marker));
    EXPECT_TRUE(fs::exists(dir.path() / "out/all.txt"));
}

TEST_F(ShardRunTest, TheRunnerRefusesAnAppendThatALaterSliceBrings) {
    // The runner's own guard, for a task that only a reloaded slice of a job shows.
    ShardProcess process(ShardSpec{0, 2});
    JobRunner& runner = process.session.Assembly().Runner();
    runner.SetShard(ShardSpec{0, 2});
    clsConversionOptions append = Special(kSpecialAppend, dir.str() + "in/*.txt", dir.str() + "out/all.txt");
    EXPECT_EQ(runner.PerformBlock(1, append), kErrNotInShardedRun);
    EXPECT_FALSE(fs::exists(dir.path() / "out/all.txt"));
    runner.SetShard(std::nullopt);
    clsConversionOptions again = Special(kSpecialAppend, dir.file("in/a.txt", "a\n"), dir.str() + "out/all.txt");
    EXPECT_EQ(runner.PerformBlock(1, again), 0) << again.sErr;
}

TEST_F(ShardRunTest, OpeningAJobInTheWindowIsRefused) {
    clsConversionOptions task;
    task.sOriginalFile = dir.file("in/a.pptx");
    task.sTargetFile = dir.str() + "out/a.pdf";
    task.lTargetFileType = 32;
    const std::string job = WriteJob({task}, "open.MJB");
    ShardProcess process(ShardSpec{0, 2});
    int shown = 0;
    process.run.showUserInterface = [&] { ++shown; };
    EXPECT_EQ(process.run.RunCommandLine("/J " + Q(job) + " /O"), kRunStatusInvalidLine);
    EXPECT_EQ(shown, 0);
    EXPECT_NE(process.run.Task().sErr.find("/O"), std::string::npos);
}

TEST_F(ShardRunTest, WithoutAShardThePlaceholderStaysAndNoShardLinesAreWritten) {
    dir.file("in/a.pptx");
    ShardProcess process(std::nullopt);
    ASSERT_EQ(process.run.RunCommandLine("/S " + Q(dir.str() + "in/*.pptx") + " /T " + Q(dir.str() + "out/*.pdf") +
                                         " /C 32 /L " + Q(dir.str() + "run_[SHARD].log")),
              kRunStatusDone);
    const std::string log = ReadWholeFile(dir.str() + "run_[SHARD].log");
    EXPECT_EQ(log.find("Shard"), std::string::npos) << log;
    EXPECT_EQ(process.parts.component.calls.size(), 1u);
}

using Environment = std::map<std::string, std::string>;

ShardArgument Take(std::vector<std::string>& arguments, const Environment& environment = {}) {
    return TakeShardArgument(arguments, [&](const std::string& name) {
        const auto found = environment.find(name);
        return found == environment.end() ? std::string() : found->second;
    });
}

TEST(ShardArgumentTest, TakesTheSwitchOutOfTheLine) {
    std::vector<std::string> arguments = {"/S", "/in/*.pptx", "--shard", "1/4", "/T", "/out/*.pdf"};
    ShardArgument taken = Take(arguments);
    ASSERT_TRUE(taken.error.empty()) << taken.error;
    ASSERT_TRUE(taken.shard);
    EXPECT_EQ(*taken.shard, (ShardSpec{1, 4}));
    EXPECT_EQ(arguments, (std::vector<std::string>{"/S", "/in/*.pptx", "/T", "/out/*.pdf"}));
    // The joined line no longer holds the switch's slash.
    EXPECT_EQ(JoinCommandLineArguments(arguments), "/S \"/in/*.pptx\" /T \"/out/*.pdf\"");

    arguments = {"--shard=auto", "/J", "/jobs/a.MJB"};
    taken = Take(arguments, {{"JOB_COMPLETION_INDEX", "5"}, {"SLIDEMILL_SHARDS", "6"}});
    ASSERT_TRUE(taken.error.empty()) << taken.error;
    EXPECT_EQ(*taken.shard, (ShardSpec{5, 6}));
    EXPECT_EQ(arguments, (std::vector<std::string>{"/J", "/jobs/a.MJB"}));

    arguments = {"/S", "/in/a.pptx"};
    taken = Take(arguments);
    EXPECT_FALSE(taken.shard);
    EXPECT_TRUE(taken.error.empty());
    EXPECT_EQ(arguments.size(), 2u);
}

TEST(ShardArgumentTest, RefusesWhatCannotRun) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"/S", "/in/*.pptx", "--shard"}, "needs a value"},
        {{"--shard", "4/4", "/S", "/in/*.pptx"}, "names no shard"},
        {{"--shard", "x", "/S", "/in/*.pptx"}, "not \"x\""},
        {{"--shard=", "/S", "/in/*.pptx"}, "K/N"},
        {{"--shard", "0/2", "--shard", "1/2", "/S", "/in/*.pptx"}, "more than once"},
        {{"--shard", "0/2"}, "none to run"},
        {{"--shard", "auto", "/S", "/in/*.pptx"}, "found no array task index"},
    };
    for (auto [arguments, expected] : refused) {
        const std::vector<std::string> given = arguments;
        const ShardArgument taken = Take(arguments);
        EXPECT_FALSE(taken.shard) << expected;
        EXPECT_NE(taken.error.find(expected), std::string::npos) << taken.error;
    }
}

TEST(ShardArgumentTest, TheSwitchTableShowsIt) {
    const std::string table = CommandLineSwitchTable();
    EXPECT_NE(table.find("  --shard K/N "), std::string::npos);
    EXPECT_NE(table.find("  --shard auto "), std::string::npos);
    EXPECT_NE(table.find("SLIDEMILL_SHARDS"), std::string::npos);
    const std::string page = ReadWholeFile(std::string(SLIDEMILL_HELP_PAGES) + "/command-line.html");
    EXPECT_NE(page.find("<tr><td><code>--shard K/N"), std::string::npos);
    EXPECT_NE(page.find("<tr><td><code>--shard auto"), std::string::npos);
}

} // namespace
} // namespace slidemill
