#include "settings/SettingsLocation.h"
#include "settings/IniFile.h"
#include "settings/MainWindowSettings.h"
#include "settings/SettingsGlobals.h"

#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace slidemill;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;

namespace {

// Points XDG_CONFIG_HOME somewhere else for one test and forgets the remembered location
// before and after, so tests do not see each other's answers.
struct SettingsLocationTest : ::testing::Test {
    TempFolder folder{"location"};
    std::string savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";

    void SetUp() override {
        ForgetSettingsFileLocation();
        UseConfig(folder.str() + "config");
    }
    void TearDown() override {
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
        ForgetSettingsFileLocation();
        G_IniFilePath.clear();
        G_SettingsFolder.clear();
    }
    static void UseConfig(const std::string& folder) { setenv("XDG_CONFIG_HOME", folder.c_str(), 1); }
    static std::string Locate() {
        return LocateSettingsFile("SLML_SearchHistory.INI", "Lumenware, Inc", "Slidemill", 26);
    }
};

} // namespace

TEST_F(SettingsLocationTest, NewAccountGetsAPrivateFileInItsConfigFolder) {
    // The configuration folder itself does not exist yet.
    const std::string expected = folder.str() + "config/Lumenware, Inc/Slidemill/SLML_SearchHistory.INI";
    EXPECT_EQ(Locate(), expected);
    EXPECT_EQ(ReadWholeFile(expected), "[Main]\nPartial=Level3\n");
    struct stat st {};
    ASSERT_EQ(stat(expected.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(SettingsLocationTest, ProbeKeepsWhatTheFileHolds) {
    const std::string file =
        folder.file("config/Lumenware, Inc/Slidemill/SLML_SearchHistory.INI", "[frmMain]\nlFromSlide=4\n");
    EXPECT_EQ(Locate(), file);
    EXPECT_EQ(ReadWholeFile(file), "[frmMain]\nlFromSlide=4\n\n[Main]\nPartial=Level3\n");
}

TEST_F(SettingsLocationTest, AnswerIsRememberedUntilForgotten) {
    const std::string first = Locate();
    ASSERT_FALSE(first.empty());
    UseConfig(folder.str() + "other");
    EXPECT_EQ(Locate(), first);
    ForgetSettingsFileLocation();
    EXPECT_EQ(Locate(), folder.str() + "other/Lumenware, Inc/Slidemill/SLML_SearchHistory.INI");
}

TEST_F(SettingsLocationTest, UnusableFolderGivesNoPathAndStaysUnused) {
    // A folder that cannot be created, even by root: its parent is a file.
    folder.file("blocker", "not a folder");
    UseConfig(folder.str() + "blocker/config");
    EXPECT_EQ(Locate(), "");
    // A later call does not hand out the place that failed.
    EXPECT_EQ(Locate(), "");
    UseConfig(folder.str() + "config");
    EXPECT_EQ(Locate(), "");
}

TEST_F(SettingsLocationTest, ReadOnlyFolderGivesNoPath) {
    const std::string product = folder.folder("config/Lumenware, Inc/Slidemill");
    ASSERT_EQ(chmod(product.c_str(), 0500), 0);
    ASSERT_TRUE(slidemill::test::HandToUnprivileged(folder.path()));
    EXPECT_TRUE(slidemill::test::RunUnprivileged([&]() -> std::string {
        UNPRIVILEGED_EXPECT(Locate().empty());
        return {};
    }));
    EXPECT_TRUE(std::filesystem::is_empty(product));
}

TEST_F(SettingsLocationTest, ProbeRefusesFailedLookupsAndFolderlessPaths) {
    EXPECT_FALSE(ProbeSettingsFile("Folder Not Valid On this OS/Lumenware, Inc/Slidemill/x.INI"));
    EXPECT_FALSE(ProbeSettingsFile(folder.str() + "Special Folder Does Not Exist/x.INI"));
    EXPECT_FALSE(ProbeSettingsFile("SLML_SearchHistory.INI"));
    EXPECT_FALSE(ProbeSettingsFile(folder.str()));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_TRUE(ProbeSettingsFile(folder.str() + "a/b/x.INI"));
}

TEST_F(SettingsLocationTest, StartUpFixesBothGlobals) {
    FixSettingsLocation();
    EXPECT_EQ(G_IniFilePath, folder.str() + "config/Lumenware, Inc/Slidemill/SLML_SearchHistory.INI");
    EXPECT_EQ(G_SettingsFolder, folder.str() + "config/Lumenware, Inc/Slidemill/");
}

// A settings file that is there but cannot be read is not the same as no settings file: the
// run must be able to say so instead of quietly using defaults.
TEST_F(SettingsLocationTest, ASettingsFileThatCannotBeReadIsNamedWithItsReason) {
    const std::string expected = folder.str() + "config/Lumenware, Inc/Slidemill/SLML_SearchHistory.INI";
    FixSettingsLocation();
    EXPECT_EQ(SettingsFileReadProblem(), "") << "a fresh, readable file";
    ForgetSettingsFileLocation();

    // Unreadable for its user: the location probe refuses it, and the problem is still found.
    ASSERT_EQ(chmod(expected.c_str(), 0200), 0);
    ASSERT_TRUE(slidemill::test::HandToUnprivileged(folder.path()));
    EXPECT_TRUE(slidemill::test::RunUnprivileged([&]() -> std::string {
        FixSettingsLocation();
        const std::string problem = SettingsFileReadProblem();
        UNPRIVILEGED_EXPECT(problem ==
                            "the settings file " + expected + " cannot be read (Permission denied)");
        return {};
    }));
    ASSERT_EQ(chmod(expected.c_str(), 0600), 0);

    // A folder where the file should be stops every user, root included.
    std::filesystem::remove(expected);
    std::filesystem::create_directory(expected);
    ForgetSettingsFileLocation();
    FixSettingsLocation();
    EXPECT_EQ(G_IniFilePath, "");
    EXPECT_EQ(SettingsFileReadProblem(),
              "the settings file " + expected + " cannot be read (it is a folder)");

    // No file at all is not a problem: defaults are what a new account has.
    std::filesystem::remove(expected);
    folder.file("blocker", "not a folder");
    UseConfig(folder.str() + "blocker/config");
    ForgetSettingsFileLocation();
    FixSettingsLocation();
    EXPECT_EQ(SettingsFileReadProblem(), "");
}

TEST_F(SettingsLocationTest, WithoutASettingsFileEverythingRunsOnDefaults) {
    folder.file("blocker", "not a folder");
    UseConfig(folder.str() + "blocker/config");
    FixSettingsLocation();
    EXPECT_EQ(G_IniFilePath, "");
    IniFile ini(G_IniFilePath);
    EXPECT_EQ(ReadMainWindowSettings(ini, false), MainWindowSettings{});
    EXPECT_FALSE(SaveMainWindowSettings(ini, MainWindowSettings{}, false));
    EXPECT_EQ(ReadWholeFile(folder.str() + "blocker"), "not a folder");
}
