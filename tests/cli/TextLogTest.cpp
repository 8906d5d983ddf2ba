#include "run/TextLog.h"

#include "platform/GlobalLock.h"
#include "support/LockHolder.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace slidemill {
namespace {

using test::ReadWholeFile;
using test::RecordingPrompt;
using test::TempFolder;

// Collects failures to log instead of printing them.
class FailureRecorder {
public:
    std::vector<std::string> failures;
    FailureRecorder() {
        SetLogFailureHandler([this](const std::string& path, const std::string& reason) {
            failures.push_back(path + ": " + reason);
        });
    }
    ~FailureRecorder() { SetLogFailureHandler({}); }
};

TEST(TextLog, AppendsLinesAndCreatesTheFile) {
    TempFolder dir("log");
    const std::string log = dir.str() + "run.log";
    EXPECT_TRUE(AppendToLogFile("first", log, false));
    EXPECT_TRUE(AppendToLogFile("", log, false));
    EXPECT_TRUE(AppendToLogFile("third", log, false));
    EXPECT_EQ(ReadWholeFile(log), "first\n\nthird\n");
}

TEST(TextLog, EmptyPathWritesNothingAndShowStillShows) {
    RecordingPrompt prompt;
    EXPECT_TRUE(AppendToLogFile("only shown", "", true, &prompt));
    EXPECT_EQ(prompt.shown, std::vector<std::string>{"only shown"});
    EXPECT_TRUE(AppendToLogFile("not shown", "", false, &prompt));
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST(TextLog, LogInAMissingFolderIsReportedAndTheCallerGoesOn) {
    TempFolder dir("log");
    FailureRecorder recorder;
    RecordingPrompt prompt;
    const std::string log = dir.str() + "missing/run.log";
    EXPECT_FALSE(AppendToLogFile("line", log, true, &prompt));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
    ASSERT_EQ(recorder.failures.size(), 1u);
    EXPECT_EQ(recorder.failures[0], log + ": its folder does not exist");
    EXPECT_EQ(prompt.shown.size(), 1u) << "a verbose run still shows its line";

    EXPECT_FALSE(AppendToLogFile("line", dir.str(), false));
    EXPECT_EQ(recorder.failures.size(), 2u);
}

TEST(TextLog, VersionAndHeader) {
    EXPECT_EQ(FormatProgramVersion("3.0.12"), "3.012");
    EXPECT_EQ(FormatProgramVersion("0.1.0"), "0.10");
    EXPECT_EQ(FormatProgramVersion("2"), "2.0");
    EXPECT_EQ(FormatProgramVersion(""), "0.0");
    using namespace std::chrono;
    const local_seconds when = local_days{year{2024} / 3 / 7} + hours{9} + minutes{5} + seconds{30};
    EXPECT_EQ(LogHeaderText("slidemill", "3.0.12", when),
              "---------- slidemill (v3.012) ----------\nDate: 2024-03-07 09:05:30");
}

// Eight processes append to one log at once: every line arrives whole, none is lost.
TEST(TextLog, ConcurrentProcessesNeitherLoseNorTearLines) {
    TempFolder dir("log");
    const std::string log = dir.str() + "shared.log";
    constexpr int kProcesses = 8;
    constexpr int kLines = 150;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        ASSERT_NE(pid, -1);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kLines; ++i) {
                // Long lines (beyond one stream buffer) would tear first.
                const std::string line =
                    "p" + std::to_string(p) + " n" + std::to_string(i) + " " + std::string(9000 + i, 'a' + p);
                ok = AppendToLogFile(line, log, false) && ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::ifstream in(log, std::ios::binary);
    std::map<int, int> nextOfProcess;
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        ++count;
        std::istringstream fields(line);
        char p = 0;
        char n = 0;
        int process = -1;
        int index = -1;
        std::string filler;
        fields >> p >> process >> n >> index >> filler;
        ASSERT_TRUE(p == 'p' && n == 'n' && process >= 0 && process < kProcesses) << line.substr(0, 40);
        EXPECT_EQ(filler, std::string(9000 + index, 'a' + process)) << "torn line " << line.substr(0, 40);
        EXPECT_EQ(index, nextOfProcess[process]++) << "lines of one process out of order";
    }
    EXPECT_EQ(count, kProcesses * kLines);
}

// Another process of the same user holding the log lock for ever costs a bounded wait per
// line and a message saying so; the run goes on, and the lines written once it lets go arrive.
TEST(TextLog, ALockHeldForEverIsReportedInsteadOfWaitedOn) {
    TempFolder dir("log");
    const char* oldRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = oldRuntime ? oldRuntime : "";
    ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    const auto savedWait = GlobalMutexWait();
    SetGlobalMutexWait(std::chrono::milliseconds(300));
    const std::string log = dir.str() + "run.log";
    const std::string lockPath = GlobalMutexPath();

    const pid_t holder = test::HoldLockInChild(lockPath);
    ASSERT_GT(holder, 0);

    FailureRecorder recorder;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(AppendToLogFile("blocked", log, false));
    EXPECT_FALSE(AppendToLogFile("blocked too", log, false));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(recorder.failures.size(), 2u);
    EXPECT_NE(recorder.failures[0].find("log lock " + lockPath), std::string::npos) << recorder.failures[0];
    EXPECT_FALSE(std::filesystem::exists(log));

    test::EndLockHolder(holder);
    EXPECT_TRUE(AppendToLogFile("after", log, false));
    EXPECT_EQ(ReadWholeFile(log), "after\n");

    SetGlobalMutexWait(savedWait);
    if (oldRuntime)
        ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace slidemill
