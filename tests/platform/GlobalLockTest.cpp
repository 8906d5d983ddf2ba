#include "platform/GlobalLock.h"
#include "support/LockHolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace slidemill;
using slidemill::test::EndLockHolder;
using slidemill::test::HoldLockInChild;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;

namespace {

// Writes one line in small pieces, so that writers not excluded from each other mix them.
void WriteLineInPieces(int fd, const std::string& line) {
    for (std::size_t i = 0; i < line.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, line.size() - i);
        if (::write(fd, line.data() + i, n) != static_cast<ssize_t>(n))
            _exit(3);
        if (i % 12 == 0)
            sched_yield();
    }
}

// Tries to take the lock in the background; the future is ready once it is held.
std::future<void> AcquireInBackground(CrossProcessLock& lock) {
    auto promise = std::make_shared<std::promise<void>>();
    std::future<void> held = promise->get_future();
    std::thread([&lock, promise] {
        lock.Acquire();
        promise->set_value();
    }).detach();
    return held;
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

// The lock belongs to its user: kept in the user's runtime folder (else the cache folder),
// never in a folder every user can write, and opened to nobody else.
TEST(GlobalLock, LivesInTheUsersOwnFolderAndOnlyTheUserCanOpenIt) {
    TempFolder runtime("runtime");
    TempFolder cache("cache");
    {
        ScopedVariable xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
        EXPECT_EQ(GlobalMutexPath(), runtime.str() + "Folioworks_Global_Mutex.lock");
        std::string error;
        ASSERT_TRUE(AcquireGlobalMutex(error)) << error;
        ReleaseGlobalMutex();
        struct stat info {};
        ASSERT_EQ(::stat(GlobalMutexPath().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    {
        ScopedVariable xdg("XDG_RUNTIME_DIR", nullptr);
        ScopedVariable cacheHome("XDG_CACHE_HOME", cache.path().c_str());
        EXPECT_EQ(GlobalMutexPath(), cache.str() + "Folioworks_Global_Mutex.lock");
        // A lock file left open to everyone is closed to others once used.
        const std::string path = GlobalMutexPath();
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::fchmod(fd, 0666), 0);
        ::close(fd);
        std::string error;
        ASSERT_TRUE(AcquireGlobalMutex(error)) << error;
        ReleaseGlobalMutex();
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
}

// A holder that never lets go costs the waiter a bounded wait and a message naming the lock,
// not a hung run; once the holder is gone the lock is had again at once.
TEST(GlobalLock, AWaitForAStuckHolderEndsWithAClearMessage) {
    TempFolder runtime("runtime");
    ScopedVariable xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
    const auto savedWait = GlobalMutexWait();
    SetGlobalMutexWait(std::chrono::milliseconds(400));
    const pid_t holder = HoldLockInChild(GlobalMutexPath());
    ASSERT_GT(holder, 0);

    std::string error;
    const auto start = std::chrono::steady_clock::now();
    const bool held = AcquireGlobalMutex(error);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(held);
    EXPECT_GE(waited, std::chrono::milliseconds(390));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_NE(error.find(GlobalMutexPath()), std::string::npos) << error;
    EXPECT_NE(error.find("0.4 s"), std::string::npos) << error;
    {
        GlobalMutexGuard guard;
        EXPECT_FALSE(guard.Held());
        EXPECT_FALSE(guard.Error().empty());
    }
    // Nothing was left held inside this process by the failed waits.
    std::promise<bool> other;
    std::thread([&other] {
        std::string ignored;
        const bool had = AcquireGlobalMutex(ignored);
        if (had)
            ReleaseGlobalMutex();
        other.set_value(had);
    }).join();
    EXPECT_FALSE(other.get_future().get()) << "the other process still holds it";

    EndLockHolder(holder);
    EXPECT_TRUE(AcquireGlobalMutex(error)) << error;
    EXPECT_TRUE(error.empty());
    ReleaseGlobalMutex();
    SetGlobalMutexWait(savedWait);
}

TEST(GlobalLock, ProcessesAppendingUnderTheLockNeverMixTheirLines) {
    TempFolder dir;
    const std::string log = dir.str() + "log.txt";
    constexpr int kChildren = 4;
    constexpr int kLines = 150;
    std::vector<pid_t> children;
    for (int child = 0; child < kChildren; ++child) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int line = 0; line < kLines; ++line) {
                std::string error;
                if (!AcquireGlobalMutex(error))
                    _exit(4);
                const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
                std::ostringstream text;
                text << "child " << child << " line " << line << " of the log, written under the lock\n";
                WriteLineInPieces(fd, text.str());
                ::close(fd);
                ReleaseGlobalMutex();
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::istringstream lines(ReadWholeFile(log));
    std::string line;
    int count = 0;
    std::vector<int> next(kChildren, 0);
    while (std::getline(lines, line)) {
        int child = -1;
        int number = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "child %d line %d", &child, &number), 2) << line;
        ASSERT_TRUE(child >= 0 && child < kChildren);
        EXPECT_EQ(line, "child " + std::to_string(child) + " line " + std::to_string(number) +
                            " of the log, written under the lock");
        EXPECT_EQ(number, next[child]++);
        ++count;
    }
    EXPECT_EQ(count, kChildren * kLines);
}

TEST(GlobalLock, AHolderKilledWithSigkillReleasesIt) {
    TempFolder dir;
    const std::string path = dir.str() + "lock";
    const pid_t pid = HoldLockInChild(path);
    ASSERT_GT(pid, 0);
    CrossProcessLock lock(path);
    std::future<void> held = AcquireInBackground(lock);
    EXPECT_EQ(held.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
        << "the lock is held by the other process";
    EndLockHolder(pid);
    ASSERT_EQ(held.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    lock.Release();
}

TEST(GlobalLock, ThreadsOfOneProcessAreExcluded) {
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                GlobalMutexGuard guard;
                if (inside.fetch_add(1) != 0)
                    overlapped = true;
                std::this_thread::yield();
                inside.fetch_sub(1);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(overlapped);
}
