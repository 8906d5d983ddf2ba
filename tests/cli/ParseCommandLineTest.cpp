#include "cli/CommandLine.h"

#include "support/RecordingPrompt.h"

#include "run/Validation.h"
#include "settings/SettingsGlobals.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using namespace std::chrono;
using test::FakeComponent;
using test::ReadWholeFile;
using test::RecordingPrompt;
using test::TempFolder;

class ParseCommandLineTest : public ::testing::Test {
protected:
    TempFolder dir{"cmdline"};
    FakeComponent component;
    RecordingPrompt prompt;
    CommandLineContext context;
    clsConversionOptions task;

    void SetUp() override {
        context.component = &component;
        context.prompt = &prompt;
        context.programFolder = dir.folder("program");
        context.programName = "slidemill";
        context.now = [] { return local_days{year{2024} / 3 / 7} + hours{9} + minutes{5} + seconds{30}; };
        bCommandLineMode = false;
    }

    bool Parse(const std::string& line) {
        task = clsConversionOptions{};
        return ParseCommandLine(line, task, context);
    }
    std::string Q(const std::string& path) { return "\"" + path + "\""; }
};

TEST_F(ParseCommandLineTest, ShellArgumentsWithSlashesBecomeOneTask) {
    dir.file("in/a.pptx");
    dir.file("in/sub/b.pptx");
    const std::string line =
        JoinCommandLineArguments({"/S", dir.str() + "in/*.pptx", "/R", "/T", dir.str() + "out/*.pdf", "/C",
                                  "32", "/L", dir.str() + "run_[YMD].log"});
    ASSERT_TRUE(Parse(line)) << task.sErr;
    EXPECT_TRUE(bCommandLineMode);
    EXPECT_EQ(task.sOriginalFile, dir.str() + "in/*.pptx");
    EXPECT_EQ(task.sTargetFile, dir.str() + "out/*.pdf");
    EXPECT_EQ(task.lTargetFileType, 32);
    EXPECT_TRUE(task.bDoSubfolders);
    EXPECT_EQ(task.sLogFile, dir.str() + "run_20240307.log");
    EXPECT_TRUE(fs::is_directory(dir.path() / "out"));
    const std::string log = ReadWholeFile(task.sLogFile);
    EXPECT_EQ(log.rfind("---------- slidemill (v", 0), 0u) << log;
    EXPECT_NE(log.find(") ----------\nDate: 2024-03-07 09:05:30\n"), std::string::npos) << log;
    EXPECT_TRUE(prompt.shown.empty()) << "the header is never shown in a box";
}

TEST_F(ParseCommandLineTest, LowerCaseWithoutSpacesReadsLikeTheUsualForm) {
    dir.file("in/a.pptx");
    ASSERT_TRUE(
        Parse("/S " + Q(dir.str() + "in/*.pptx") + " /T " + Q(dir.str() + "out/*.pdf") + " /C 32 /R"));
    const clsConversionOptions upper = task;
    ASSERT_TRUE(Parse("/s" + Q(dir.str() + "in/*.pptx") + "/t" + Q(dir.str() + "out/*.pdf") + "/c32/r"));
    EXPECT_EQ(task, upper);
}

TEST_F(ParseCommandLineTest, TextBeforeTheFirstSwitchIsIgnored) {
    const std::string source = dir.file("a.pptx");
    ASSERT_TRUE(
        Parse("slidemill " + Q(dir.str()) + " /S " + Q(source) + " /T " + Q(dir.str() + "a.pdf") + " /C 32"));
    EXPECT_EQ(task.sOriginalFile, source);

    EXPECT_FALSE(Parse("slidemill a.pptx"));
    EXPECT_EQ(task.lErr, kInvalidSourceFile);
    EXPECT_TRUE(task.sOriginalFile.empty());
}

TEST_F(ParseCommandLineTest, NameWithoutSlashLivesInTheProgramFolder) {
    dir.file("program/a.pptx");
    ASSERT_TRUE(Parse("/S a.pptx /T b.pdf /C 32")) << task.sErr;
    EXPECT_EQ(task.sOriginalFile, dir.str() + "program/a.pptx");
    EXPECT_EQ(task.sTargetFile, dir.str() + "program/b.pdf");
    EXPECT_FALSE(Parse("/S /T b.pdf /C 32"));
    EXPECT_EQ(task.sOriginalFile, dir.str() + "program/");
    EXPECT_EQ(task.lErr, kInvalidSourceFile);
}

TEST_F(ParseCommandLineTest, QuotedPathWithSpacesLosesItsQuotes) {
    const std::string source = dir.file("my slides/a b.pptx");
    ASSERT_TRUE(Parse("/S " + Q(source) + " /T " + Q(dir.str() + "my out/a b.pdf") + " /C 32"));
    EXPECT_EQ(task.sOriginalFile, source);
    EXPECT_EQ(task.sTargetFile, dir.str() + "my out/a b.pdf");
}

TEST_F(ParseCommandLineTest, FolderTokensAreExpandedOtherPercentFormsStay) {
    const std::string home = std::getenv("HOME");
    fs::create_directories(home + "/in");
    std::ofstream(home + "/in/a.pptx") << "x";
    ASSERT_TRUE(Parse("/S \"%USERPROFILE%/in/a.pptx\" /T \"~/out/%NAME%/a.pdf\" /C 32")) << task.sErr;
    EXPECT_EQ(task.sOriginalFile, home + "/in/a.pptx");
    EXPECT_EQ(task.sTargetFile, home + "/out/%NAME%/a.pdf");
}

TEST_F(ParseCommandLineTest, RelativePathsAreTakenFromTheCurrentFolder) {
    const fs::path before = fs::current_path();
    dir.file("work/in/a.pptx");
    fs::current_path(dir.path() / "work");
    const bool parsed = Parse(JoinCommandLineArguments({"/S", "in/a.pptx", "/T", "./out/a.pdf", "/C", "32"}));
    fs::current_path(before);
    ASSERT_TRUE(parsed) << task.sErr;
    EXPECT_EQ(task.sOriginalFile, dir.str() + "work/in/a.pptx");
    EXPECT_EQ(task.sTargetFile, dir.str() + "work/out/a.pdf");
}

TEST_F(ParseCommandLineTest, LogPlaceholdersOnlyInUpperCase) {
    Parse("/L " + Q(dir.str() + "run_[YMD]_[HIS]_[ymd].txt"));
    EXPECT_EQ(task.sLogFile, dir.str() + "run_20240307_090530_[ymd].txt");
    // The header is written even though the line does not validate, and the reason follows.
    const std::string log = ReadWholeFile(task.sLogFile);
    EXPECT_NE(log.find("Date: 2024-03-07 09:05:30\nOriginal File\n"), std::string::npos) << log;
}

TEST_F(ParseCommandLineTest, SlideRangeAndNumbersThatDoNotParse) {
    Parse("/Y 3 /Z 5");
    EXPECT_EQ(task.lFromSlide, 3);
    EXPECT_EQ(task.lToSlide, 5);
    EXPECT_FALSE(task.bConvertAllSlides);
    Parse("/Y x /C 32abc /F 99999999999");
    EXPECT_EQ(task.lFromSlide, 0);
    EXPECT_FALSE(task.bConvertAllSlides);
    EXPECT_EQ(task.lTargetFileType, kNoFileType);
    EXPECT_EQ(task.lOriginalFileType, kNoFileType);
    Parse("/C -7 /F +3 /Z");
    EXPECT_EQ(task.lTargetFileType, -7);
    EXPECT_EQ(task.lOriginalFileType, 3);
    EXPECT_FALSE(task.bConvertAllSlides);
}

TEST_F(ParseCommandLineTest, FlagsAndRepeatedSwitches) {
    dir.file("in/a.pptx");
    Parse("/E /G /V /R /S " + Q(dir.str() + "in/*.pptx") + " /C 32");
    EXPECT_TRUE(task.bCreateFileForEachSlide);
    EXPECT_TRUE(task.bVerbose);
    EXPECT_TRUE(task.bSaveInOriginalFolder);
    EXPECT_TRUE(task.bDoSubfolders);
    EXPECT_EQ(task.lErr, 0);
    Parse("/T " + Q(dir.str() + "one.pdf") + " /T " + Q(dir.str() + "two.pdf"));
    EXPECT_EQ(task.sTargetFile, dir.str() + "two.pdf");
}

TEST_F(ParseCommandLineTest, BesideTheSourceWithASingleFileIsRejected) {
    const std::string source = dir.file("in/a.pptx");
    EXPECT_FALSE(Parse("/S " + Q(source) + " /T " + Q(dir.str() + "x.pdf") + " /C 32 /G"));
    EXPECT_EQ(task.sTargetFile, dir.str() + "in/*.pdf");
    EXPECT_EQ(task.lErr, kInvalidTargetHasWildcard);
    EXPECT_NE(task.sErr.find("cannot have a wildcard (*) in it unless the Original file does."),
              std::string::npos);
}

TEST_F(ParseCommandLineTest, BesideTheSourceWithAWildcardIgnoresTheTarget) {
    dir.file("in/a.pptx");
    ASSERT_TRUE(
        Parse("/S " + Q(dir.str() + "in/*.pptx") + " /G /T " + Q(dir.str() + "elsewhere/*.png") + " /C 300"));
    EXPECT_EQ(task.sTargetFile, dir.str() + "in/*.pdf");
    EXPECT_FALSE(fs::exists(dir.path() / "elsewhere"));
}

TEST_F(ParseCommandLineTest, JobFileToOpen) {
    const std::string job = dir.file("jobs/x.MJB");
    ASSERT_TRUE(Parse("/J " + Q(job) + " /O"));
    EXPECT_FALSE(bCommandLineMode);
    EXPECT_TRUE(task.bOpenButDoNotRun);
    EXPECT_EQ(task.sCLBatchJobFile, job);

    const std::string weekly = dir.file("jobs/Weekly#OPEN.MJB");
    ASSERT_TRUE(Parse("/J " + Q(weekly)));
    EXPECT_FALSE(bCommandLineMode);
    EXPECT_TRUE(task.bOpenButDoNotRun);

    ASSERT_TRUE(Parse("/J " + Q(job)));
    EXPECT_TRUE(bCommandLineMode);
    EXPECT_FALSE(task.bOpenButDoNotRun);

    EXPECT_FALSE(Parse("/J " + Q(dir.str() + "jobs/none#open.mjb")));
    EXPECT_EQ(task.lErr, kInvalidJobFile);
    EXPECT_TRUE(bCommandLineMode) << "the marker is compared with its case";
}

TEST_F(ParseCommandLineTest, HelpStopsParsingAtOnce) {
    const std::string log = dir.str() + "help.log";
    EXPECT_FALSE(Parse("/L " + Q(log) + " /? /S " + Q(dir.file("a.pptx"))));
    EXPECT_TRUE(context.helpRequested);
    EXPECT_TRUE(task.sOriginalFile.empty());
    EXPECT_FALSE(fs::exists(log));
    // A "?" inside a quoted value is no switch.
    EXPECT_FALSE(Parse("/S \"/x/?\""));
    EXPECT_FALSE(context.helpRequested);
}

TEST_F(ParseCommandLineTest, EmptyLineLeavesCommandLineMode) {
    bCommandLineMode = true;
    EXPECT_FALSE(Parse(""));
    EXPECT_FALSE(bCommandLineMode);
    EXPECT_EQ(task, clsConversionOptions{});
}

TEST_F(ParseCommandLineTest, UnquotedSlashInAValueCutsIt) {
    EXPECT_FALSE(Parse("/S 1/2/2024"));
    EXPECT_EQ(task.sOriginalFile, dir.str() + "program/1");
}

TEST_F(ParseCommandLineTest, UnknownSwitchFailsOnTheMissingSourceAndSaysSo) {
    const std::string log = dir.str() + "x.log";
    EXPECT_FALSE(Parse("/X /L " + Q(log) + " /V"));
    EXPECT_EQ(task.lErr, kInvalidSourceFile);
    const std::string text = ReadWholeFile(log);
    EXPECT_NE(text.find("\nOriginal File\n\ndoes not exist.\n"), std::string::npos) << text;
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], task.sErr);
}

TEST_F(ParseCommandLineTest, MalformedLinesFailWithoutHarm) {
    const std::string huge(100 * 1024, 'q');
    const std::vector<std::string> lines = {
        "/",
        "///",
        "/S",
        "/S /T /C /L",
        "/S \"" + dir.str() + "a.pptx",
        "\"\"\"/S\"",
        "/S " + huge,
        "/S /" + huge + " /T /" + huge,
        "/L " + Q(dir.str() + huge),
        "/C " + huge,
        std::string(100 * 1024, '/'),
        "/S \xff\xfe /T \x01\x02",
    };
    for (const std::string& line : lines) {
        EXPECT_FALSE(Parse(line)) << line.substr(0, 40);
        EXPECT_NE(task.lErr, 0) << line.substr(0, 40);
        EXPECT_FALSE(task.sErr.empty()) << line.substr(0, 40);
    }
}

} // namespace
} // namespace slidemill
