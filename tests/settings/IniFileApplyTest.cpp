#include "settings/IniFile.h"

#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace slidemill;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;

namespace {

struct IniFileApplyTest : ::testing::Test {
    TempFolder folder{"ini-apply"};
    std::string path = folder.str() + "settings.ini";

    ino_t Inode() const {
        struct stat st {};
        return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }
};

// Runs body in a child process and returns its exit status.
template <typename Body> pid_t Spawn(Body body) {
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(0);
    }
    return pid;
}

} // namespace

TEST_F(IniFileApplyTest, ManyChangesLandInOneWriteAndNoChangeWritesNothing) {
    folder.file("settings.ini", "[a]\r\nx=1\r\ngone=1\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.Apply({{"a", "x", "2"}, {"b", "y", "3"}, {"a", "gone", std::nullopt}, {"a", "z", "4"}}));
    EXPECT_EQ(ReadWholeFile(path), "[a]\r\nx=2\r\nz=4\r\n\r\n[b]\r\ny=3\r\n");
    const ino_t before = Inode();
    ASSERT_TRUE(ini.Apply({{"a", "x", "2"}, {"b", "y", "3"}, {"c", "never", std::nullopt}}));
    EXPECT_EQ(Inode(), before);
}

TEST_F(IniFileApplyTest, ChangeWithoutSectionOrKeyRejectsTheWholeBatch) {
    folder.file("settings.ini", "[a]\nx=1\n");
    IniFile ini(path);
    EXPECT_FALSE(ini.Apply({{"a", "x", "2"}, {"", "k", "v"}}));
    EXPECT_FALSE(ini.Apply({{"a", "", "v"}}));
    EXPECT_EQ(ReadWholeFile(path), "[a]\nx=1\n");
}

TEST_F(IniFileApplyTest, DeletingAKeyRemovesEveryLineOfIt) {
    folder.file("settings.ini", "[a]\nk=1\nK=2\nother=3\n[b]\nk=4\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.DeleteKey("a", "k"));
    EXPECT_FALSE(ini.Find("a", "k").has_value());
    EXPECT_EQ(ReadWholeFile(path), "[a]\nother=3\n[b]\nk=4\n");
}

TEST_F(IniFileApplyTest, UnreadableFileIsNeverReplaced) {
    folder.file("settings.ini", "[a]\nx=1\n");
    ASSERT_EQ(chmod(path.c_str(), 0200), 0);
    ASSERT_TRUE(slidemill::test::HandToUnprivileged(folder.path()));
    EXPECT_TRUE(slidemill::test::RunUnprivileged([&]() -> std::string {
        IniFile ini(path);
        UNPRIVILEGED_EXPECT(!ini.ReadProblem().empty());
        UNPRIVILEGED_EXPECT(!ini.WriteString("a", "y", "2"));
        UNPRIVILEGED_EXPECT(!ini.DeleteKey("a", "x"));
        return {};
    }));
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(path), "[a]\nx=1\n");
}

TEST_F(IniFileApplyTest, TwoProcessesSavingAtOnceLoseNothing) {
    // Each process saves its own keys many times; a writer that worked from a stale copy of the
    // file would put an older value of the other's keys back.
    constexpr int kRounds = 60;
    const auto writer = [&](const std::string& section) {
        return [&, section] {
            IniFile ini(path);
            for (int i = 1; i <= kRounds; ++i)
                if (!ini.Apply(
                        {{section, "round", std::to_string(i)}, {section, "mirror", std::to_string(i)}}))
                    _exit(1);
        };
    };
    const pid_t a = Spawn(writer("processA"));
    const pid_t b = Spawn(writer("processB"));
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    int statusA = 0, statusB = 0;
    waitpid(a, &statusA, 0);
    waitpid(b, &statusB, 0);
    EXPECT_EQ(statusA, 0);
    EXPECT_EQ(statusB, 0);
    IniFile ini(path);
    for (const char* section : {"processA", "processB"}) {
        EXPECT_EQ(ini.ReadString(section, "round", ""), std::to_string(kRounds)) << section;
        EXPECT_EQ(ini.ReadString(section, "mirror", ""), std::to_string(kRounds)) << section;
    }
}

TEST_F(IniFileApplyTest, KilledWriterLeavesAWholeVersion) {
    // Every version of the file holds the same number in all its keys; a truncated or mixed
    // file would not.
    const std::string filler(4000, 'f');
    for (int attempt = 0; attempt < 5; ++attempt) {
        const pid_t child = Spawn([&] {
            IniFile ini(path);
            for (int i = 0;; ++i) {
                std::vector<IniChange> changes;
                for (int k = 0; k < 20; ++k)
                    changes.push_back({"s", "k" + std::to_string(k), std::to_string(i) + filler});
                ini.Apply(changes);
            }
        });
        ASSERT_GT(child, 0);
        usleep(20000 + attempt * 7000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (!std::filesystem::exists(path))
            continue;
        IniFile ini(path);
        const std::string first = ini.ReadString("s", "k0", "");
        ASSERT_FALSE(first.empty());
        for (int k = 1; k < 20; ++k)
            EXPECT_EQ(ini.ReadString("s", "k" + std::to_string(k), ""), first);
        EXPECT_EQ(ReadWholeFile(path).back(), '\n');
    }
}
