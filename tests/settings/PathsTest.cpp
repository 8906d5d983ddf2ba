#include "settings/Paths.h"

#include "settings/IniFile.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::HandToUnprivileged;
using test::ReadWholeFile;
using test::RunUnprivileged;
using test::TempFolder;

// Sets (or unsets) one environment variable for the life of a test and restores it after.
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

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::size_t EntryCount(const fs::path& folder) {
    std::size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it)
        ++count;
    return count;
}

// Permission bits do not stop the superuser; tests of read-only folders only mean something
// where they do.
bool WritesAreRefusedIn(const fs::path& readOnlyFolder) {
    const fs::path probe = readOnlyFolder / "probe-of-the-test";
    std::ofstream out(probe);
    if (out) {
        out.close();
        fs::remove(probe);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Folder tokens

TEST(ExpandFolderTokens, TrimsTheCallersTextAndExpandsTheToken) {
    std::string path = "  %APPDATA%/x  ";
    EXPECT_EQ(ExpandFolderTokens(path), Env("XDG_CONFIG_HOME") + "/x");
    EXPECT_EQ(path, "%APPDATA%/x");
}

TEST(ExpandFolderTokens, MatchesTokensWithoutRegardToCaseAndReplacesEveryOccurrence) {
    std::string path = "%AppData%/x";
    EXPECT_EQ(ExpandFolderTokens(path), Env("XDG_CONFIG_HOME") + "/x");
    path = "%appdata%/a/%APPDATA%";
    EXPECT_EQ(ExpandFolderTokens(path), Env("XDG_CONFIG_HOME") + "/a/" + Env("XDG_CONFIG_HOME"));
}

TEST(ExpandFolderTokens, AppliesOnlyTheFirstRowOfTheTable) {
    std::string path = "%APPDATA%/%WINDIR%";
    EXPECT_EQ(ExpandFolderTokens(path), Env("XDG_CONFIG_HOME") + "/%WINDIR%");
    // "%WINDIR%" comes before "%MYDOCUMENTS%" in the table although it is later in the text.
    path = "%MYDOCUMENTS%/%WINDIR%";
    EXPECT_EQ(ExpandFolderTokens(path), "%MYDOCUMENTS%//usr");
}

TEST(ExpandFolderTokens, DistinguishesTokensThatShareText) {
    std::string path = "%PROGRAMFILES(X86)%/a";
    EXPECT_EQ(ExpandFolderTokens(path), "/usr/local/a");
    path = "%PROGRAMFILES%/a";
    EXPECT_EQ(ExpandFolderTokens(path), "/opt/a");
    path = "%LOCALAPPDATA%/a";
    EXPECT_EQ(ExpandFolderTokens(path), Env("XDG_DATA_HOME") + "/a");
}

TEST(ExpandFolderTokens, MapsEveryTokenToItsFolder) {
    const std::string home = Env("HOME");
    std::string path = "%USERPROFILE%/p";
    EXPECT_EQ(ExpandFolderTokens(path), home + "/p");
    path = "%HomePath%/p";
    EXPECT_EQ(ExpandFolderTokens(path), home + "/p");
    path = "%MYDOCUMENTS%/d";
    EXPECT_EQ(ExpandFolderTokens(path), Env("XDG_DOCUMENTS_DIR") + "/d");
    path = "%WINDIR%";
    EXPECT_EQ(ExpandFolderTokens(path), "/usr");
    path = "/plain/path with space";
    EXPECT_EQ(ExpandFolderTokens(path), "/plain/path with space");
}

TEST(ExpandFolderTokens, ExpandsALeadingTildeOnly) {
    const std::string home = Env("HOME");
    std::string path = "~/jobs/a.mjb";
    EXPECT_EQ(ExpandFolderTokens(path), home + "/jobs/a.mjb");
    path = "~";
    EXPECT_EQ(ExpandFolderTokens(path), home);
    path = "/data/~/x";
    EXPECT_EQ(ExpandFolderTokens(path), "/data/~/x");
    path = "~other/x";
    EXPECT_EQ(ExpandFolderTokens(path), "~other/x");
    ScopedEnv root("HOME", "/");
    path = "~/x";
    EXPECT_EQ(ExpandFolderTokens(path), "/x");
}

// ---------------------------------------------------------------------------------------------
// Special folders

TEST(SpecialFolderPath, FollowsTheEnvironmentWithoutTrailingSlash) {
    TempFolder temp;
    const std::string data = temp.folder("data");
    ScopedEnv dataHome("XDG_DATA_HOME", data + "//");
    EXPECT_EQ(SpecialFolderPath(kFolderLocalAppData), data);
    EXPECT_EQ(SpecialFolderPath(kFolderProfile), Env("HOME"));
    EXPECT_EQ(SpecialFolderPath(kFolderAppData), Env("XDG_CONFIG_HOME"));
    EXPECT_EQ(SpecialFolderPathOrError(kFolderSystem), "/usr");
    EXPECT_EQ(SpecialFolderPathOrError(kFolderProgramFiles), "/opt");
    EXPECT_EQ(SpecialFolderPathOrError(kFolderProgramFilesX86), "/usr/local");
    EXPECT_EQ(SpecialFolderPathOrError(kFolderCommonAppData), "/var/lib");
    EXPECT_EQ(SpecialFolderPathOrError(kFolderCommonDocuments), "/srv");
}

TEST(SpecialFolderPath, IgnoresRelativeXdgValues) {
    ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(SpecialFolderPathOrError(kFolderAppData), Env("HOME") + "/.config");
}

TEST(SpecialFolderPath, ReportsUnknownAndMissingFolders) {
    EXPECT_EQ(SpecialFolderPath(99), "Folder Not Valid On this OS");
    EXPECT_EQ(SpecialFolderPathOrError(99), "(error)");
    TempFolder temp;
    const std::string missing = temp.str() + "no-documents";
    ScopedEnv docs("XDG_DOCUMENTS_DIR", missing);
    EXPECT_EQ(SpecialFolderPath(kFolderDocuments), "Special Folder Does Not Exist");
    // A folder that is only missing yet is still where things belong.
    EXPECT_EQ(SpecialFolderPathOrError(kFolderDocuments), missing);
}

// ---------------------------------------------------------------------------------------------
// Names and parents

TEST(FileNameOfPath, KeepsTheExtensionAndMarksItsAbsence) {
    EXPECT_EQ(FileNameOfPath("/a/b/Report.pptx"), "Report.pptx");
    EXPECT_EQ(FileNameOfPath("/a/b/Report"), "Report.");
    EXPECT_EQ(FileNameOfPath("/a/b/archive.tar.gz"), "archive.tar.gz");
    EXPECT_EQ(FileNameOfPath("/a/b/dir/"), "dir.");
    EXPECT_EQ(FileNameOfPath("plain.mjb"), "plain.mjb");
    EXPECT_EQ(FileNameOfPath("/a/-[x] \"q\" Ü.ppt"), "-[x] \"q\" Ü.ppt");
    EXPECT_EQ(FileNameOfPath("/"), "");
    EXPECT_EQ(FileNameOfPath(""), "");
}

TEST(ParentFolderOf, NeverEndsInASlashExceptTheRoot) {
    EXPECT_EQ(ParentFolderOf("/a/b/c.ppt"), "/a/b");
    EXPECT_EQ(ParentFolderOf("/a/b/"), "/a");
    EXPECT_EQ(ParentFolderOf("/a//b"), "/a");
    EXPECT_EQ(ParentFolderOf("/a"), "/");
    EXPECT_EQ(ParentFolderOf("a/b"), "a");
    EXPECT_EQ(ParentFolderOf("/"), "");
    EXPECT_EQ(ParentFolderOf("a"), "");
    EXPECT_EQ(ParentFolderOf(""), "");
}

TEST(DriveRootOf, IsTheSingleRootForAbsolutePaths) {
    EXPECT_EQ(DriveRootOf("/srv/share/dir", true), "/");
    EXPECT_EQ(DriveRootOf("/srv/share/dir", false), "/");
    EXPECT_EQ(DriveRootOf("/", true), "/");
    EXPECT_EQ(DriveRootOf("relative/dir", true), "");
    EXPECT_EQ(DriveRootOf("", true), "");
}

TEST(TrimCharBothEnds, RemovesEveryRepetitionWithoutRegardToCase) {
    EXPECT_EQ(TrimCharBothEnds("//a/b//", "/"), "a/b");
    EXPECT_EQ(TrimCharBothEnds("xXabcXx", "x"), "abc");
    EXPECT_EQ(TrimCharBothEnds("abAB-ab-ABab", "ab"), "-ab-");
    EXPECT_EQ(TrimCharBothEnds("////", "/"), "");
    EXPECT_EQ(TrimCharBothEnds("keep", ""), "keep");
}

// ---------------------------------------------------------------------------------------------
// Existing parts of a path

TEST(DeepestExistingFolder, StopsAtTheFirstMissingLevel) {
    TempFolder temp;
    const std::string base = temp.path().string();
    temp.folder("a/ b /c");
    EXPECT_EQ(DeepestExistingFolder(base + "/a/ b /c/new/deeper"), base + "/a/ b /c");
    EXPECT_EQ(DeepestExistingFolder(base + "/a//missing/c/"), base + "/a");
    // A file is not a folder to write into.
    temp.file("a/file.txt");
    EXPECT_EQ(DeepestExistingFolder(base + "/a/file.txt/x"), base + "/a");
    EXPECT_EQ(DeepestExistingFolder("/no-such-top-folder-slidemill/x"), "/");
    EXPECT_EQ(DeepestExistingFolder("/"), "/");
    EXPECT_EQ(DeepestExistingFolder("relative/path"), "");
    EXPECT_EQ(DeepestExistingFolder(""), "");
}

TEST(NearestExistingPath, OffersTheClosestExistingFolderAndKeepsTheName) {
    TempFolder temp;
    const std::string base = temp.path().string();
    temp.folder("jobs");
    EXPECT_EQ(NearestExistingPath(base + "/jobs/list.mjb"), base + "/jobs/");
    EXPECT_EQ(NearestExistingPath("  " + base + "/jobs/gone/deeper/list  "), base + "/jobs/list");
    EXPECT_EQ(NearestExistingPath("list.mjb"), "list.mjb");
    std::string expected = Env("XDG_CONFIG_HOME") + "/";
    EXPECT_EQ(NearestExistingPath("%APPDATA%/x.mjb"), expected);
}

TEST(IsSameFile, ComparesIdentityWhenBothExist) {
    TempFolder temp;
    const std::string a = temp.file("dir/a.txt", "A");
    const std::string b = temp.file("dir/b.txt", "A");
    EXPECT_TRUE(IsSameFile(a, temp.str() + "dir/./a.txt"));
    EXPECT_TRUE(IsSameFile(a, temp.str() + "dir/../dir/a.txt"));
    EXPECT_FALSE(IsSameFile(a, b));
    fs::create_hard_link(a, temp.str() + "link.txt");
    EXPECT_TRUE(IsSameFile(a, temp.str() + "link.txt"));
    // Case matters on Linux.
    temp.file("dir/A.txt", "other");
    EXPECT_FALSE(IsSameFile(a, temp.str() + "dir/A.txt"));
    EXPECT_TRUE(IsSameFile(temp.str() + "missing", temp.str() + "missing"));
    EXPECT_FALSE(IsSameFile(temp.str() + "missing", temp.str() + "./missing"));
    EXPECT_FALSE(IsSameFile(a, temp.str() + "missing"));
}

// ---------------------------------------------------------------------------------------------
// Temporary names and the writability probe

TEST(MakeTempFileName, UsesEightMinusThePrefixLengthDigits) {
    TempFolder temp;
    const std::regex fiveDigits(
        std::regex_replace(temp.str(), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") + "ABC[0-9]{5}\\.TMP");
    for (int i = 0; i < 20; ++i) {
        const std::string name = MakeTempFileName(temp.path().string(), "ABC", "");
        EXPECT_TRUE(std::regex_match(name, fiveDigits)) << name;
    }
    const std::string eight = MakeTempFileName(temp.str(), "  ", "  pdf ");
    EXPECT_EQ(eight.size(), temp.str().size() + 8 + 4) << eight;
    EXPECT_EQ(eight.substr(eight.size() - 4), ".pdf");
    // A long prefix still varies.
    const std::string longPrefix = MakeTempFileName(temp.str(), "Präsentation", "x");
    EXPECT_TRUE(std::regex_match(longPrefix.substr(temp.str().size()), std::regex("Präsentation[0-9]\\.x")))
        << longPrefix;
    EXPECT_EQ(EntryCount(temp.path()), 0u) << "a name was created on disk";
}

TEST(MakeTempFileName, DefaultsToTheTemporaryFolder) {
    const std::string name = MakeTempFileName("", "ABC", "TMP");
    EXPECT_EQ(ParentFolderOf(name), Env("TMPDIR"));
}

TEST(MakeTempFileName, NeverHandsOutATakenOrRepeatedName) {
    TempFolder temp;
    for (int digit = 0; digit <= 9; ++digit)
        temp.file("ABCDEFG" + std::to_string(digit) + ".TMP");
    // All ten names the prefix allows are taken.
    EXPECT_EQ(MakeTempFileName(temp.str(), "ABCDEFG", "TMP"), "");
    // A dangling link takes its name too.
    fs::create_symlink(temp.str() + "nowhere", temp.str() + "ABCDEFG0.lnk");
    for (int i = 0; i < 30; ++i)
        EXPECT_NE(MakeTempFileName(temp.str(), "ABCDEFG", "lnk"), temp.str() + "ABCDEFG0.lnk");
    std::set<std::string> names;
    for (int i = 0; i < 100; ++i)
        names.insert(MakeTempFileName(temp.str(), "", "TMP"));
    EXPECT_EQ(names.size(), 100u);
}

TEST(IsFolderWritable, ProbesTheDeepestExistingFolderAndLeavesNothing) {
    TempFolder temp;
    temp.file("keep.txt", "mine");
    EXPECT_TRUE(IsFolderWritable(temp.path().string()));
    EXPECT_TRUE(IsFolderWritable(temp.str() + "not/yet/there"));
    EXPECT_EQ(EntryCount(temp.path()), 1u);
    EXPECT_EQ(ReadWholeFile(temp.path() / "keep.txt"), "mine");
    EXPECT_FALSE(IsFolderWritable(""));
    EXPECT_FALSE(IsFolderWritable("relative/folder"));
}

TEST(IsFolderWritable, RefusesAReadOnlyFolder) {
    TempFolder temp;
    const std::string folder = temp.folder("ro");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_TRUE(HandToUnprivileged(temp.path()));
    EXPECT_TRUE(RunUnprivileged([&]() -> std::string {
        UNPRIVILEGED_EXPECT(WritesAreRefusedIn(folder));
        UNPRIVILEGED_EXPECT(!IsFolderWritable(folder));
        UNPRIVILEGED_EXPECT(!IsFolderWritable(folder + "/new/sub"));
        UNPRIVILEGED_EXPECT(IsFolderWritable(temp.str() + "open"));
        return {};
    }));
    EXPECT_EQ(EntryCount(temp.path()), 1u);
}

// ---------------------------------------------------------------------------------------------
// The output-folder check

struct CheckResult {
    int code;
    std::string suggestion;
    std::string message;
};

CheckResult Check(const std::string& path) {
    CheckResult result{};
    result.code = CheckOutputFolder(path, result.suggestion, result.message);
    return result;
}

TEST(CheckOutputFolder, AcceptsAWritableFolderAndOneThatWouldBeCreatedThere) {
    TempFolder temp;
    const std::string base = temp.path().string();
    CheckResult r = Check(base + "/Data/New/");
    EXPECT_EQ(r.code, kOutputFolderOk);
    EXPECT_EQ(r.suggestion, base + "/Data/New");
    EXPECT_EQ(r.message, "");
    r = Check("  %MYDOCUMENTS%/out  ");
    EXPECT_EQ(r.code, kOutputFolderOk);
    EXPECT_EQ(r.suggestion, Env("XDG_DOCUMENTS_DIR") + "/out");
    EXPECT_EQ(Check("/var/tmp/slidemill-out").code, kOutputFolderOk);
    EXPECT_EQ(EntryCount(temp.path()), 0u);
}

TEST(CheckOutputFolder, SendsSystemFoldersToTheDocumentsFolder) {
    const std::string docs = Env("XDG_DOCUMENTS_DIR");
    CheckResult r = Check("/usr/Out");
    EXPECT_EQ(r.code, kOutputFolderSystem);
    EXPECT_EQ(r.message, "Output folder is a system folder and should not be used.");
    EXPECT_EQ(r.suggestion, docs + "/Out");
    r = Check("%WINDIR%/share/Out/");
    EXPECT_EQ(r.code, kOutputFolderSystem);
    EXPECT_EQ(r.suggestion, docs + "/share/Out");
    EXPECT_EQ(Check("/etc").code, kOutputFolderSystem);
    EXPECT_EQ(Check("/var/lib/x").code, kOutputFolderSystem);
    EXPECT_EQ(Check("%PROGRAMFILES%/App").code, kOutputFolderSystem);
    // ".." cannot walk the check around a system folder.
    r = Check(Env("HOME") + "/../../../../../../../usr/x");
    EXPECT_EQ(r.code, kOutputFolderSystem);
    EXPECT_EQ(r.suggestion, docs + "/x");
}

TEST(CheckOutputFolder, JudgesTheRootAndNewTopLevelFolders) {
    const std::string docs = Env("XDG_DOCUMENTS_DIR");
    CheckResult r = Check("/");
    EXPECT_EQ(r.code, kOutputFolderRoot);
    EXPECT_EQ(r.message,
              "Output folder: You should not write or create sub directories in the system root directory.");
    EXPECT_EQ(r.suggestion, docs);
    // Names that merely begin like a system folder are not one.
    r = Check("/usrdata-slidemill-missing/x");
    EXPECT_EQ(r.code, kOutputFolderRoot);
    EXPECT_EQ(r.suggestion, docs + "/usrdata-slidemill-missing/x");
    EXPECT_EQ(Check("/var/tmpfoo-slidemill").code, kOutputFolderSystem);
}

TEST(CheckOutputFolder, ProtectsTheFolderThatHoldsTheHomeFolders) {
    TempFolder temp;
    const std::string users = temp.folder("users");
    temp.folder("users/alice");
    ScopedEnv home("HOME", users + "/alice");
    const std::string docs = Env("XDG_DOCUMENTS_DIR");
    CheckResult r = Check(users + "/");
    EXPECT_EQ(r.code, kOutputFolderProtected);
    EXPECT_EQ(r.message, "Output folder is a protected folder and should not be used.");
    EXPECT_EQ(r.suggestion, docs);
    r = Check(users + "/bob/out");
    EXPECT_EQ(r.code, kOutputFolderProtected);
    EXPECT_EQ(r.suggestion, docs + "/bob/out");
    EXPECT_EQ(Check(users + "/alice/out").code, kOutputFolderOk);
}

TEST(CheckOutputFolder, ReportsAFolderThatCannotBeWritten) {
    EXPECT_EQ(Check("relative/out").code, kOutputFolderNotWritable);
    TempFolder temp;
    const std::string folder = temp.folder("ro");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_TRUE(HandToUnprivileged(temp.path()));
    const std::string documents = Env("XDG_DOCUMENTS_DIR");
    EXPECT_TRUE(RunUnprivileged([&]() -> std::string {
        UNPRIVILEGED_EXPECT(WritesAreRefusedIn(folder));
        const CheckResult r = Check(folder + "/sub");
        UNPRIVILEGED_EXPECT(r.code == kOutputFolderNotWritable);
        UNPRIVILEGED_EXPECT(r.message == "Output folder is not writeable.");
        UNPRIVILEGED_EXPECT(r.suggestion == documents);
        return {};
    }));
}

// ---------------------------------------------------------------------------------------------
// Creating, copying and moving

TEST(CreateFolderTree, CreatesEveryLevelAndIgnoresErrors) {
    TempFolder temp;
    CreateFolderTree(temp.str() + "a/b c/[d]");
    EXPECT_TRUE(FolderExists(temp.str() + "a/b c/[d]"));
    CreateFolderTree(temp.str() + "a/b c/[d]");
    temp.file("file");
    CreateFolderTree(temp.str() + "file/sub");
    EXPECT_FALSE(PathExists(temp.str() + "file/sub"));
    EXPECT_TRUE(PathExists(temp.str() + "file"));
    EXPECT_FALSE(FolderExists(temp.str() + "file"));
}

TEST(MoveFileToFolder, MovesAwkwardNamesIntoANewFolder) {
    TempFolder temp;
    for (const std::string name :
         {"with space.ppt", "Größe ü.pptx", "-dash.ppt", "quote'\"s.ppt", "[br] (x).ppt"}) {
        const std::string source = temp.file("in/" + name, "content of " + name);
        ASSERT_TRUE(MoveFileToFolder(source, temp.str() + "done/sub")) << name;
        EXPECT_FALSE(PathExists(source)) << name;
        EXPECT_EQ(ReadWholeFile(temp.path() / "done/sub" / name), "content of " + name);
    }
}

TEST(MoveFileToFolder, ReplacesATargetOfTheSameName) {
    TempFolder temp;
    const std::string source = temp.file("in/a.ppt", "new");
    temp.file("out/a.ppt", "old");
    EXPECT_TRUE(MoveFileToFolder(source, temp.str() + "out/"));
    EXPECT_EQ(ReadWholeFile(temp.path() / "out/a.ppt"), "new");
    EXPECT_FALSE(PathExists(source));
}

TEST(MoveFileToFolder, MovingAFileOntoItselfKeepsIt) {
    TempFolder temp;
    const std::string source = temp.file("in/a.ppt", "keep me");
    EXPECT_TRUE(MoveFileToFolder(source, temp.str() + "in"));
    EXPECT_TRUE(MoveFileToFolder(source, temp.str() + "in/./"));
    EXPECT_TRUE(MoveFileToFolder(source, temp.str() + "in/../in"));
    EXPECT_EQ(ReadWholeFile(source), "keep me");
    EXPECT_EQ(EntryCount(temp.path() / "in"), 1u);
}

TEST(MoveFileToFolder, KeepsTheSourceWhenTheMoveCannotHappen) {
    TempFolder temp;
    const std::string source = temp.file("in/a.ppt", "precious");
    // A folder where the file should go.
    temp.folder("out/a.ppt/inner");
    EXPECT_FALSE(MoveFileToFolder(source, temp.str() + "out"));
    EXPECT_EQ(ReadWholeFile(source), "precious");
    // A target folder that cannot be created.
    temp.file("blocker", "");
    EXPECT_FALSE(MoveFileToFolder(source, temp.str() + "blocker/out"));
    EXPECT_EQ(ReadWholeFile(source), "precious");
    EXPECT_FALSE(MoveFileToFolder(temp.str() + "in/missing.ppt", temp.str() + "out2"));
    EXPECT_FALSE(PathExists(temp.str() + "out2/missing.ppt"));
    EXPECT_FALSE(MoveFileToFolder(temp.str() + "in", temp.str() + "out3"));
    EXPECT_TRUE(FolderExists(temp.str() + "in"));
}

TEST(MoveFileToFolder, CopiesAcrossFileSystemsAndLeavesNoTemporaryFiles) {
    const fs::path shm = "/dev/shm";
    std::error_code ec;
    ASSERT_TRUE(fs::is_directory(shm, ec)) << "no second file system at hand (" << shm << ")";
    TempFolder temp;
    const fs::path target = shm / fs::path(temp.path()).filename();
    const std::string payload(300000, 'p');
    const std::string source = temp.file("in/big deck.pptx", payload);
    const bool moved = MoveFileToFolder(source, target.string());
    const std::string arrived = ReadWholeFile(target / "big deck.pptx");
    const std::size_t entries = fs::exists(target) ? EntryCount(target) : 0;
    fs::remove_all(target, ec);
    ASSERT_TRUE(moved);
    EXPECT_EQ(arrived, payload);
    EXPECT_FALSE(PathExists(source));
    EXPECT_EQ(entries, 1u);
}

TEST(MoveFileToFolder, DiscardsACopyThatDoesNotMatchTheSource) {
    // Files in /proc report a size of zero but read as text; a copy of one never matches, and it
    // lives on another file system, so the move has to copy.
    const std::string source = "/proc/self/status";
    std::error_code ec;
    ASSERT_TRUE(fs::is_regular_file(source, ec) && fs::file_size(source, ec) == 0) << "no /proc";
    TempFolder temp;
    EXPECT_FALSE(MoveFileToFolder(source, temp.str() + "out"));
    EXPECT_TRUE(PathExists(source));
    EXPECT_EQ(EntryCount(temp.path() / "out"), 0u);
}

TEST(CopyFolderTree, CopiesEverythingAndKeepsExistingFilesUnlessAsked) {
    TempFolder temp;
    temp.file("src/top.txt", "top");
    temp.file("src/deep/er/ü file.txt", "deep");
    temp.folder("src/empty");
    temp.file("dst/top.txt", "user's own");
    const std::string src = temp.str() + "src";
    const std::string dst = temp.str() + "dst";
    EXPECT_FALSE(CopyFolderTree(src, dst, false));
    EXPECT_EQ(ReadWholeFile(temp.path() / "dst/top.txt"), "user's own");
    EXPECT_EQ(ReadWholeFile(temp.path() / "dst/deep/er/ü file.txt"), "deep");
    EXPECT_TRUE(FolderExists(dst + "/empty"));
    EXPECT_TRUE(CopyFolderTree(src, dst, true));
    EXPECT_EQ(ReadWholeFile(temp.path() / "dst/top.txt"), "top");
    EXPECT_EQ(EntryCount(temp.path() / "dst"), EntryCount(temp.path() / "src"));
    EXPECT_TRUE(CopyFolderTree(src, temp.str() + "new/parent/copy", false));
    EXPECT_EQ(ReadWholeFile(temp.path() / "new/parent/copy/top.txt"), "top");
}

TEST(CopyFolderTree, RefusesImpossibleCopies) {
    TempFolder temp;
    temp.file("src/a.txt", "a");
    const std::string src = temp.str() + "src";
    EXPECT_FALSE(CopyFolderTree(src, src + "/inside", true));
    EXPECT_FALSE(CopyFolderTree(src, src, true));
    EXPECT_FALSE(PathExists(src + "/inside"));
    EXPECT_FALSE(CopyFolderTree(temp.str() + "missing", temp.str() + "dst", true));
    EXPECT_FALSE(CopyFolderTree(src + "/a.txt", temp.str() + "dst", true));
    EXPECT_EQ(EntryCount(temp.path()), 2u);
}

TEST(CopyFolderTree, LeavesNoPartialFileWhenAFileCannotBeRead) {
    TempFolder temp;
    temp.file("src/ok.txt", "ok");
    const std::string locked = temp.file("src/locked.txt", "secret");
    fs::permissions(locked, fs::perms::none);
    ASSERT_TRUE(HandToUnprivileged(temp.path()));
    EXPECT_TRUE(RunUnprivileged([&]() -> std::string {
        UNPRIVILEGED_EXPECT(!std::ifstream(locked));
        UNPRIVILEGED_EXPECT(!CopyFolderTree(temp.str() + "src", temp.str() + "dst", true));
        return {};
    }));
    EXPECT_EQ(ReadWholeFile(temp.path() / "dst/ok.txt"), "ok");
    EXPECT_EQ(EntryCount(temp.path() / "dst"), 1u);
}

// ---------------------------------------------------------------------------------------------
// Demo folders

class InstallDemoFoldersTest : public ::testing::Test {
protected:
    InstallDemoFoldersTest() : config_("XDG_CONFIG_HOME", configFolder_.path().string()) {
        program_.file("Demo Data/deck.pptx", "deck");
        program_.file("Demo Conversion Jobs/job.MJB", "job");
        program_.file("Demo Batch Files/run.sh", "run");
        program_.file("Languages/English.lng", "shipped english");
        program_.file("Languages/Deutsch.lng", "shipped german");
        program_.file("help/index.html", "help");
    }
    std::string Settings(const std::string& relative) const {
        return configFolder_.str() + "Lumenware, Inc/Slidemill/" + relative;
    }
    std::string Marker() const {
        return IniFile(configFolder_.str() + "Slidemill/registry.ini")
            .ReadString("Settings", "bDInstalled", "none");
    }

    TempFolder configFolder_{"config"};
    TempFolder program_{"program"};
    ScopedEnv config_;
};

TEST_F(InstallDemoFoldersTest, CopiesTheShippedFoldersOnceAndMarksThem) {
    InstallDemoFolders(program_.path().string());
    EXPECT_EQ(Marker(), "TRUE");
    EXPECT_EQ(ReadWholeFile(Settings("Demo Data/deck.pptx")), "deck");
    EXPECT_EQ(ReadWholeFile(Settings("Demo Conversion Jobs/job.MJB")), "job");
    EXPECT_EQ(ReadWholeFile(Settings("Demo Batch Files/run.sh")), "run");
    EXPECT_EQ(ReadWholeFile(Settings("Languages/Deutsch.lng")), "shipped german");
    EXPECT_FALSE(PathExists(Settings("help")));

    fs::remove_all(Settings("Demo Data"));
    InstallDemoFolders(program_.path().string());
    EXPECT_FALSE(PathExists(Settings("Demo Data")));
}

TEST_F(InstallDemoFoldersTest, NeverOverwritesTheUsersFiles) {
    configFolder_.file("Lumenware, Inc/Slidemill/Languages/English.lng", "user's translation");
    InstallDemoFolders(program_.path().string());
    EXPECT_EQ(ReadWholeFile(Settings("Languages/English.lng")), "user's translation");
    EXPECT_EQ(ReadWholeFile(Settings("Languages/Deutsch.lng")), "shipped german");
}

TEST_F(InstallDemoFoldersTest, OnlyAFalseMarkerAllowsCopying) {
    configFolder_.file("Slidemill/registry.ini", "[Settings]\nbDInstalled=yes\n");
    InstallDemoFolders(program_.path().string());
    EXPECT_FALSE(PathExists(Settings("Demo Data")));

    ASSERT_TRUE(IniFile(configFolder_.str() + "Slidemill/registry.ini")
                    .WriteString("Settings", "bDInstalled", "false"));
    InstallDemoFolders(program_.path().string());
    EXPECT_EQ(Marker(), "TRUE");
    EXPECT_TRUE(PathExists(Settings("Demo Data/deck.pptx")));
}

TEST_F(InstallDemoFoldersTest, AnOldDemoFolderStopsTheCopyButStillSetsTheMarker) {
    configFolder_.folder("Lumenware, Inc/Slidemill/Demo");
    InstallDemoFolders(program_.path().string());
    EXPECT_EQ(Marker(), "TRUE");
    EXPECT_FALSE(PathExists(Settings("Demo Data")));
}

TEST_F(InstallDemoFoldersTest, AMissingShippedFolderDoesNotStopTheOthers) {
    fs::remove_all(program_.path() / "Demo Data");
    InstallDemoFolders(program_.path().string());
    EXPECT_FALSE(PathExists(Settings("Demo Data")));
    EXPECT_EQ(ReadWholeFile(Settings("Languages/English.lng")), "shipped english");
}

} // namespace
} // namespace slidemill
