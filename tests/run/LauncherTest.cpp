#include "run/Launcher.h"
#include "TestRunControl.h"
#include "platform/Process.h"
#include "run/ShellWords.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace slidemill;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_TRUE(SplitShellWords(text, words, error)) << error;
    return words;
}

// A shell script that writes each of its arguments on a line of file; the arguments are
// handed over as "$@", which the shell does not evaluate again.
std::string PrintArgsTo(const std::string& file) {
    return "-c 'printf \"%s\\n\" \"$@\" > \"$0\"' '" + file + "' ";
}

bool WaitForFile(const std::string& path, double seconds) {
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    while (!fs::exists(path) || fs::file_size(path) == 0) {
        if (Clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

clsConversionOptions LaunchTask(const std::string& program, const std::string& arguments, int32_t wait = -1) {
    clsConversionOptions task;
    task.sActionToDo = "S";
    task.lSpecialProcess = 60;
    task.sOriginalFile = program;
    task.sTargetFile = arguments;
    task.lCommandLineWaitTime = wait;
    return task;
}

} // namespace

TEST(ShellWords, SplitsLikeAShellWithoutEvaluating) {
    EXPECT_EQ(Split("  a  b\tc "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Split("\"two words\" 'single quoted' es\\ caped"),
              (std::vector<std::string>{"two words", "single quoted", "es caped"}));
    EXPECT_EQ(Split("\"a \\\"q\\\" \\$x \\n\" 'it'\\''s' \"\" ''"),
              (std::vector<std::string>{"a \"q\" $x \\n", "it's", "", ""}));
    EXPECT_EQ(Split("x;y $(rm -rf /) `id` a|b > c"),
              (std::vector<std::string>{"x;y", "$(rm", "-rf", "/)", "`id`", "a|b", ">", "c"}));
    EXPECT_EQ(Split("pre\"mid dle\"post"), (std::vector<std::string>{"premid dlepost"}));
    EXPECT_TRUE(Split("").empty());

    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(SplitShellWords("\"open", words, error));
    EXPECT_FALSE(SplitShellWords("it's", words, error));
    EXPECT_FALSE(SplitShellWords("end\\", words, error));
    EXPECT_FALSE(error.empty());
}

TEST(Launcher, PassesArgumentsLiterallyAndExpandsFolderTokens) {
    TempFolder dir;
    const std::string out = dir.str() + "args.txt";
    const std::string arguments = PrintArgsTo(out) + "\"a b\" ';' '$(touch " + dir.str() +
                                  "pwned)' '`touch " + dir.str() + "pwned`' \"x'y\" %APPDATA%/sub %FOO% ''";
    clsConversionOptions task = LaunchTask("/bin/sh", arguments);
    EXPECT_EQ(LaunchProgram(task), 0) << task.sErr;
    EXPECT_EQ(task.sErr, "Successfully Processed.");
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ReadWholeFile(out), "a b\n;\n$(touch " + dir.str() + "pwned)\n`touch " + dir.str() +
                                      "pwned`\nx'y\n" + config + "/sub\n%FOO%\n\n");
    EXPECT_FALSE(fs::exists(dir.str() + "pwned"));
}

TEST(Launcher, ReportsTheExitCodeOrTheSignal) {
    clsConversionOptions task = LaunchTask("/bin/sh", "-c 'exit 3'", 10);
    EXPECT_EQ(LaunchProgram(task), 0);
    EXPECT_EQ(task.lCommandLineExitCode, 3);
    clsConversionOptions killed = LaunchTask("/bin/sh", "-c 'kill -9 $$'");
    EXPECT_EQ(LaunchProgram(killed), 0);
    EXPECT_EQ(killed.lCommandLineExitCode, 128 + SIGKILL);
}

TEST(Launcher, ProgramsThatCannotStartGiveMinusTen) {
    TempFolder dir;
    const std::string script = dir.file("script.sh", "#!/bin/sh\nexit 0\n");
    fs::permissions(script, fs::perms::owner_read | fs::perms::owner_write);
    for (const std::string& program : {dir.str() + "missing", dir.folder("folder"), script, std::string(),
                                       std::string("slidemill-no-such-program")}) {
        SCOPED_TRACE(program);
        clsConversionOptions task = LaunchTask(program, "");
        task.lCommandLineExitCode = 0;
        EXPECT_EQ(LaunchProgram(task), -10);
        EXPECT_EQ(task.lCommandLineExitCode, 0);
        EXPECT_EQ(task.sErr, "Unable to launch application.");
    }
    clsConversionOptions badQuote = LaunchTask("/bin/true", "'unclosed");
    EXPECT_EQ(LaunchProgram(badQuote), -10);
}

// A program named without a folder is looked up on the search path, as a shell would; a file
// of that name in the current folder is not run unless the path names that folder.
TEST(Launcher, AProgramWithoutAFolderIsFoundOnTheSearchPath) {
    clsConversionOptions plain = LaunchTask("sh", "-c 'exit 5'", 10);
    EXPECT_EQ(LaunchProgram(plain), 0) << plain.sErr;
    EXPECT_EQ(plain.lCommandLineExitCode, 5);

    TempFolder tools("tools");
    TempFolder here("here");
    const std::string tool = tools.file("slidemill-tool", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    fs::permissions(tool, fs::perms::owner_all);
    const std::string stray = here.file("slidemill-stray", "#!/bin/sh\nexit 9\n");
    fs::permissions(stray, fs::perms::owner_all);
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    ::setenv("PATH", (tools.path().string() + ":/usr/bin:/bin").c_str(), 1);
    const fs::path oldFolder = fs::current_path();
    fs::current_path(here.path());

    clsConversionOptions found =
        LaunchTask("slidemill-tool", "'from the path' " + here.str() + "out.txt", 10);
    const int foundResult = LaunchProgram(found);
    clsConversionOptions notOnPath = LaunchTask("slidemill-stray", "", 10);
    const int strayResult = LaunchProgram(notOnPath);

    fs::current_path(oldFolder);
    ::setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(foundResult, 0) << found.sErr;
    EXPECT_EQ(found.lCommandLineExitCode, 0);
    EXPECT_EQ(ReadWholeFile(here.str() + "out.txt"), "from the path\n");
    EXPECT_EQ(strayResult, -10);
}

TEST(Launcher, TimeLimitEndsTheWaitButNotTheProgram) {
    TempFolder dir;
    const std::string marker = dir.str() + "marker";
    const std::string arguments = "-c 'sleep 1; echo $$ > \"$0\"' '" + marker + "'";
    auto start = Clock::now();
    clsConversionOptions task = LaunchTask("/bin/sh", arguments, 0);
    EXPECT_EQ(LaunchProgram(task), -11);
    EXPECT_LT(SecondsSince(start), 0.5);
    EXPECT_EQ(task.sErr, "Process did not complete in the specified time (Timeout)");
    EXPECT_EQ(task.lCommandLineExitCode, 0);
    ASSERT_TRUE(WaitForFile(marker, 10)) << "the program went on after the wait ended";
    // Once it has ended it is reaped in the background: no zombie stays behind.
    const std::string proc = "/proc/" + std::to_string(std::stoi(ReadWholeFile(marker)));
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (fs::exists(proc) && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(fs::exists(proc));

    start = Clock::now();
    int32_t exitCode = 0;
    EXPECT_EQ(RunProgramAndWait("/bin/sleep", "3", 1, 32, 1, exitCode), -11);
    const double waited = SecondsSince(start);
    EXPECT_GT(waited, 1.0);
    EXPECT_LT(waited, 1.5);
    EXPECT_EQ(RunProgramAndWait("/bin/sleep", "0.2", 0, 32, 5, exitCode), 0);
}

TEST(Launcher, StoppingTheRunEndsTheWaitWithoutSpinning) {
    TempFolder dir;
    const std::string marker = dir.str() + "marker";
    test::TestRunControl control;
    control.stopAfterCheckpoints = 10;
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = Clock::now();
    int32_t exitCode = 0;
    EXPECT_EQ(RunProgramAndWait("/bin/sh", "-c 'sleep 1; echo x > \"$0\"' '" + marker + "'", 1, 32, -1,
                                exitCode, control),
              -11);
    const double waited = SecondsSince(start);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const double cpu = (after.ru_utime.tv_sec - before.ru_utime.tv_sec) +
                       (after.ru_utime.tv_usec - before.ru_utime.tv_usec) / 1e6 +
                       (after.ru_stime.tv_sec - before.ru_stime.tv_sec) +
                       (after.ru_stime.tv_usec - before.ru_stime.tv_usec) / 1e6;
    EXPECT_EQ(control.checkpoints, 10);
    EXPECT_GT(waited, 0.3) << "checkpoints come at a steady pace, not in a busy loop";
    EXPECT_LT(cpu, waited / 2);
    EXPECT_TRUE(WaitForFile(marker, 10)) << "a stopped run leaves the program running";
}

TEST(Launcher, PriorityClassesBecomeNiceValues) {
    EXPECT_EQ(NiceValueForPriorityClass(64), 19);
    EXPECT_EQ(NiceValueForPriorityClass(32), 0);
    EXPECT_EQ(NiceValueForPriorityClass(128), -10);
    EXPECT_EQ(NiceValueForPriorityClass(256), -20);
    int own = 0;
    ASSERT_TRUE(NiceValueOf(getpid(), own));
    for (const int wanted : {19, -10}) {
        LaunchedProcess process;
        std::string error;
        ASSERT_TRUE(process.Start("/bin/sleep", {"sleep", "5"}, wanted, error)) << error;
        int nice = 99;
        EXPECT_TRUE(NiceValueOf(process.Pid(), nice));
        // Raising the priority needs privileges; without them the program runs at ours.
        if (wanted > own)
            EXPECT_EQ(nice, wanted);
        else
            EXPECT_TRUE(nice == wanted || nice == own) << nice;
        kill(process.Pid(), SIGKILL);
        int code = 0;
        EXPECT_TRUE(process.WaitFor(5000, code));
        EXPECT_EQ(code, 128 + SIGKILL);
    }
}

TEST(Launcher, OnlyTheStandardDescriptorsAreInherited) {
    const int open = ::open("/dev/null", O_RDONLY); // deliberately without close-on-exec
    ASSERT_GE(open, 3);
    const std::string fd = std::to_string(open);
    int32_t exitCode = -1;
    EXPECT_EQ(RunProgramAndWait(
                  "/bin/sh", "-c '[ -e /proc/$$/fd/" + fd + " ] && exit 7; [ -e /proc/$$/fd/1 ] || exit 8'",
                  1, 32, 10, exitCode),
              0);
    EXPECT_EQ(exitCode, 0);
    ::close(open);
}
