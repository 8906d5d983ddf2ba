#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::ReadWholeFile;
using test::TempFolder;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

TEST(UserDirs, ReadsTheDocumentsEntryAsAShellWould) {
    const std::string text = "# written by xdg-user-dirs-update\n"
                             "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                             "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\r\n";
    EXPECT_EQ(DocumentsFolderFromUserDirs(text, "/home/u"), "/home/u/Dokumente");
    EXPECT_EQ(DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"/data/My Docs/\"\n", "/home/u"),
              "/data/My Docs");
    EXPECT_EQ(DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "/home/u"), "/home/u");
    // The last entry wins; relative or unquoted entries are not valid in this file.
    EXPECT_EQ(DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"/b\"\n", "/h"),
              "/b");
    EXPECT_EQ(DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"docs\"\n", "/h"), "");
    EXPECT_EQ(DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=/docs\n", "/h"), "");
    EXPECT_EQ(DocumentsFolderFromUserDirs("# XDG_DOCUMENTS_DIR=\"/x\"\n", "/h"), "");
    EXPECT_EQ(DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/d\"\n", ""), "");
}

TEST(UserDirs, DocumentsFolderPrefersVariableThenFileThenDefault) {
    TempFolder config("config");
    ScopedEnv configHome("XDG_CONFIG_HOME", config.path().string());
    ScopedEnv home("HOME", "/home/tester");
    {
        ScopedEnv docs("XDG_DOCUMENTS_DIR", std::nullopt);
        EXPECT_EQ(UserDocumentsFolder(), "/home/tester/Documents");
        config.file("user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papiers\"\n");
        EXPECT_EQ(UserDocumentsFolder(), "/home/tester/Papiers");
    }
    ScopedEnv docs("XDG_DOCUMENTS_DIR", "/elsewhere/docs/");
    EXPECT_EQ(UserDocumentsFolder(), "/elsewhere/docs");
}

TEST(Environment, FallsBackWhenVariablesAreMissingOrRelative) {
    ScopedEnv home("HOME", "/home/tester/");
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv data("XDG_DATA_HOME", "relative");
    EXPECT_EQ(HomeFolder(), "/home/tester");
    EXPECT_EQ(UserConfigFolder(), "/home/tester/.config");
    EXPECT_EQ(UserDataFolder(), "/home/tester/.local/share");
    {
        ScopedEnv tmp("TMPDIR", std::nullopt);
        EXPECT_EQ(SystemTempFolder(), "/tmp");
    }
    ScopedEnv tmp("TMPDIR", "/scratch/");
    EXPECT_EQ(SystemTempFolder(), "/scratch");
    // Without $HOME the account's own home folder is used.
    ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_FALSE(HomeFolder().empty());
    EXPECT_EQ(HomeFolder().front(), '/');
}

TEST(Environment, ExecutableFolderHoldsThisTestProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::exists(fs::path(folder) / "test_platform"));
}

TEST(FileSystem, CreateNewFileNeverTouchesAnExistingFile) {
    TempFolder temp;
    const std::string existing = temp.file("taken.TMP", "user data");
    EXPECT_EQ(CreateNewFile(existing, "Hello World\n"), NewFileResult::AlreadyExists);
    EXPECT_EQ(ReadWholeFile(existing), "user data");
    fs::create_symlink(temp.str() + "target", temp.str() + "dangling");
    EXPECT_EQ(CreateNewFile(temp.str() + "dangling", "x"), NewFileResult::AlreadyExists);
    EXPECT_FALSE(fs::exists(temp.str() + "target"));
    EXPECT_EQ(CreateNewFile(temp.str() + "fresh", "Hello World\n"), NewFileResult::Created);
    EXPECT_EQ(ReadWholeFile(temp.path() / "fresh"), "Hello World\n");
    EXPECT_EQ(CreateNewFile(temp.str() + "missing/fresh", "x"), NewFileResult::Failed);
}

TEST(FileSystem, RenameWithoutReplacingKeepsTheTarget) {
    TempFolder temp;
    const std::string from = temp.file("from", "new");
    const std::string to = temp.file("to", "old");
    EXPECT_FALSE(RenameWithoutReplacing(from, to));
    EXPECT_EQ(ReadWholeFile(to), "old");
    EXPECT_EQ(ReadWholeFile(from), "new");
    EXPECT_TRUE(RenameWithoutReplacing(from, temp.str() + "free"));
    EXPECT_EQ(ReadWholeFile(temp.path() / "free"), "new");
    EXPECT_FALSE(fs::exists(from));
}

TEST(FileSystem, CopyIntoNewFileCopiesEverythingOrNothing) {
    TempFolder temp;
    const std::string payload(200000, 'z');
    const std::string from = temp.file("from", payload);
    fs::permissions(from, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    unsigned long long copied = 0;
    ASSERT_TRUE(CopyIntoNewFile(from, temp.str() + "copy", copied));
    EXPECT_EQ(copied, payload.size());
    EXPECT_EQ(ReadWholeFile(temp.path() / "copy"), payload);
    EXPECT_EQ(fs::status(temp.path() / "copy").permissions(), fs::status(from).permissions());
    // An existing target is never written into.
    const std::string taken = temp.file("taken", "keep");
    EXPECT_FALSE(CopyIntoNewFile(from, taken, copied));
    EXPECT_EQ(ReadWholeFile(taken), "keep");
    EXPECT_FALSE(CopyIntoNewFile(temp.str() + "missing", temp.str() + "copy2", copied));
    EXPECT_FALSE(fs::exists(temp.path() / "copy2"));
    EXPECT_FALSE(CopyIntoNewFile(temp.path().string(), temp.str() + "copy3", copied));
    EXPECT_FALSE(fs::exists(temp.path() / "copy3"));
}

} // namespace
} // namespace slidemill
