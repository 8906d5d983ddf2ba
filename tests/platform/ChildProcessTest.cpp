#include "platform/ChildProcess.h"
#include "platform/FileLock.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

bool Alive(pid_t pid) {
    // A zombie still has a /proc entry: look at its state.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text))
        return false;
    const auto close = text.rfind(')');
    return close != std::string::npos && text[close + 2] != 'Z';
}

bool Gone(pid_t pid) {
    return !fs::exists("/proc/" + std::to_string(pid));
}

TEST(ChildProcess, ReportsExitCodesAndSignals) {
    ChildProcess child;
    std::string error;
    ASSERT_TRUE(child.Start({"/bin/sh", "-c", "exit 81"}, error)) << error;
    int code = -1;
    ASSERT_TRUE(child.WaitForExit(5000, code));
    EXPECT_EQ(code, 81);
    EXPECT_TRUE(Gone(child.Pid())); // reaped, no zombie

    ASSERT_TRUE(child.Start({"/bin/sleep", "30"}, error));
    EXPECT_FALSE(child.HasExited(code));
    EXPECT_GT(child.ResidentBytes(), 0);
    const pid_t pid = child.Pid();
    child.SignalGroup(SIGTERM);
    ASSERT_TRUE(child.WaitForExit(5000, code));
    EXPECT_EQ(code, 128 + SIGTERM);
    EXPECT_TRUE(Gone(pid));

    // A program that cannot be run ends at once with 127.
    ASSERT_TRUE(child.Start({"/nonexistent/program"}, error));
    ASSERT_TRUE(child.WaitForExit(5000, code));
    EXPECT_EQ(code, 127);
}

TEST(ChildProcess, KillEndsTheWholeGroupAndReapsIt) {
    TempFolder folder("group");
    const std::string pidFile = folder.str() + "grandchild";
    pid_t leader = 0;
    pid_t grandchild = 0;
    {
        ChildProcess child;
        std::string error;
        // The shell starts a helper of its own, then waits: both are in the child's group.
        ASSERT_TRUE(child.Start({"/bin/sh", "-c", "sleep 30 & echo $! > '" + pidFile + "'; wait"}, error));
        leader = child.Pid();
        for (int i = 0; i < 200 && grandchild == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::ifstream in(pidFile);
            in >> grandchild;
        }
        ASSERT_GT(grandchild, 0);
        EXPECT_EQ(getpgid(grandchild), leader);
        EXPECT_TRUE(Alive(grandchild));
        // Leaving scope kills and reaps.
    }
    EXPECT_TRUE(Gone(leader));
    for (int i = 0; i < 200 && Alive(grandchild); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(Alive(grandchild));
}

TEST(ChildProcess, AChildStartedFromAShortLivedThreadOutlivesIt) {
    ChildProcess child;
    std::string error;
    bool started = false;
    // The parent-death signal must not fire when the calling thread ends.
    std::thread([&] { started = child.Start({"/bin/sleep", "30"}, error); }).join();
    ASSERT_TRUE(started) << error;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    int code = 0;
    EXPECT_FALSE(child.HasExited(code));
    child.Kill();
    EXPECT_TRUE(child.HasExited(code) || !child.Started());
}

TEST(FileLock, ExcludesOtherHoldersUntilReleased) {
    TempFolder folder("lock");
    const std::string path = folder.str() + "profile.lock";
    FileLock first;
    ASSERT_TRUE(first.TryLock(path));
    {
        FileLock second;
        EXPECT_FALSE(second.TryLock(path));
        EXPECT_FALSE(second.Locked());
    }
    FileLock moved(std::move(first));
    EXPECT_TRUE(moved.Locked());
    EXPECT_FALSE(first.Locked());
    FileLock third;
    EXPECT_FALSE(third.TryLock(path));
    moved.Unlock();
    EXPECT_TRUE(third.TryLock(path));
    EXPECT_FALSE(FileLock().TryLock(folder.str() + "missing/dir/x.lock"));
}

} // namespace
} // namespace slidemill::test
