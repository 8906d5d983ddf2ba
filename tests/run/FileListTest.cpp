#include "run/FileList.h"

#include "TestRunControl.h"
#include "core/FileTypes.h"
#include "run/FileNameParts.h"
#include "run/ListTargetNamer.h"
#include "run/WildcardPath.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace slidemill {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::TestRunControl;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

std::vector<std::string> List(const std::string& source, bool recurse, bool* ok = nullptr,
                              std::string* err = nullptr) {
    clsConversionOptions task;
    task.sOriginalFile = source;
    task.bDoSubfolders = recurse;
    std::vector<std::string> list;
    TestRunControl control;
    const bool built = BuildFileList(task, list, control);
    if (ok)
        *ok = built;
    if (err)
        *err = task.sErr;
    return list;
}

TEST(FilePattern, MatchesOnExtensionIgnoringCaseOnly) {
    EXPECT_TRUE(MatchesFilePattern("*.*", "ppt"));
    EXPECT_TRUE(MatchesFilePattern("*.*", ""));
    EXPECT_TRUE(MatchesFilePattern("*.ppt", "PPT"));
    EXPECT_TRUE(MatchesFilePattern("*.PpT", "ppt"));
    EXPECT_FALSE(MatchesFilePattern("*.ppt", "pptx"));
    EXPECT_FALSE(MatchesFilePattern("*.pptx", "ppt"));
    EXPECT_TRUE(MatchesFilePattern("*.", ""));
    EXPECT_FALSE(MatchesFilePattern("*.", "txt"));
    EXPECT_FALSE(MatchesFilePattern("a*.ppt", "ppt"));
    EXPECT_FALSE(MatchesFilePattern("*ppt", "ppt"));
    EXPECT_FALSE(MatchesFilePattern("", ""));
}

TEST(FilePattern, NameParts) {
    EXPECT_EQ(ExtensionOfName("a.b.ppt"), "ppt");
    EXPECT_EQ(BaseOfName("a.b.ppt"), "a.b");
    EXPECT_EQ(ExtensionOfName("report"), "");
    EXPECT_EQ(BaseOfName("report"), "report");
    EXPECT_EQ(ExtensionOfName("report."), "");
    EXPECT_EQ(BaseOfName("report."), "report");
    EXPECT_EQ(ExtensionOfName(".profile"), "");
    EXPECT_EQ(BaseOfName(".profile"), ".profile");
    EXPECT_EQ(FolderPartOf("/x.ppt"), "/");
    EXPECT_EQ(FolderPartOf("/in/a/*.ppt"), "/in/a/");
    EXPECT_EQ(FolderPartOf("x.ppt"), "");
    EXPECT_EQ(NamePartOf("/in/a.ppt"), "a.ppt");
}

TEST(FileList, SingleSourceMustExist) {
    TempFolder t;
    const std::string file = t.file("a.ppt");
    bool ok = false;
    EXPECT_THAT(List(file, false, &ok), ElementsAre(file));
    EXPECT_TRUE(ok);

    std::string err;
    EXPECT_TRUE(List(t.str() + "b.ppt", false, &ok, &err).empty());
    EXPECT_FALSE(ok);
    EXPECT_EQ(err, "File: " + t.str() + "b.ppt does not exist");

    // A folder is not a file to convert.
    t.folder("sub.ppt");
    List(t.str() + "sub.ppt", false, &ok, &err);
    EXPECT_FALSE(ok);
}

TEST(FileList, WildcardListsOnlyTheFolderUnlessRecursing) {
    TempFolder t;
    const auto a = t.file("a.ppt"), b = t.file("B.PPT"), c = t.file("c.pptx"), r = t.file("report");
    const auto sub = t.file("sub/x.ppt"), deep = t.file("sub/deeper/y.ppt"), other = t.file("sub2/z.ppt");
    t.file("sub/w.txt");

    EXPECT_THAT(List(t.str() + "*.*", false), UnorderedElementsAre(a, b, c, r));
    EXPECT_THAT(List(t.str() + "*.ppt", false), UnorderedElementsAre(a, b));
    EXPECT_THAT(List(t.str() + "*.", false), ElementsAre(r));

    const auto all = List(t.str() + "*.ppt", true);
    ASSERT_THAT(all, UnorderedElementsAre(a, b, sub, deep, other));
    // The folder's own files come first, and each subfolder's files before its own subfolders'.
    auto pos = [&](const std::string& f) { return std::find(all.begin(), all.end(), f) - all.begin(); };
    EXPECT_LT(std::max(pos(a), pos(b)), std::min({pos(sub), pos(deep), pos(other)}));
    EXPECT_LT(pos(sub), pos(deep));
}

TEST(FileList, MissingFolderAndWildcardInAFolderFail) {
    TempFolder t;
    t.file("abc.ppt");
    bool ok = true;
    std::string err;
    List(t.str() + "none/*.ppt", false, &ok, &err);
    EXPECT_FALSE(ok);
    EXPECT_EQ(err, "Folder: " + t.str() + "none/ does not exist");

    // A wildcard may stand only in the file name.
    t.file("sub/x.ppt");
    EXPECT_TRUE(List(t.str() + "s*/x.ppt", true, &ok, &err).empty());
    EXPECT_FALSE(ok);
    EXPECT_NE(err.find("wildcard (* or ?) in a folder name"), std::string::npos) << err;

    // A file where the folder should be.
    std::vector<std::string> list;
    TestRunControl control;
    EXPECT_EQ(BuildFileListInFolder(t.str() + "abc.ppt", "*.*", list, false, control), kListFolderMissing);

    // An empty folder is not an error.
    t.folder("empty");
    EXPECT_TRUE(List(t.str() + "empty/*.ppt", true, &ok).empty());
    EXPECT_TRUE(ok);
}

TEST(FileList, NamePatternsMatchAnywhereInTheName) {
    TempFolder t;
    const auto q3 = t.file("in/Q3 sales.pptx"), q3b = t.file("in/q3-costs.PPTX"),
               q4 = t.file("in/Q4 sales.pptx");
    const auto q3deep = t.file("in/2024/Q3 plan.pptx");
    t.file("in/Q3 notes.txt");
    t.file("in/Q3.pptx.bak");

    bool ok = false;
    EXPECT_THAT(List(t.str() + "in/Q3*.pptx", false, &ok), UnorderedElementsAre(q3, q3b));
    EXPECT_TRUE(ok);
    EXPECT_THAT(List(t.str() + "in/Q3*.pptx", true), UnorderedElementsAre(q3, q3b, q3deep));
    EXPECT_THAT(List(t.str() + "in/Q? sales.pptx", false), UnorderedElementsAre(q3, q4));
    EXPECT_THAT(List(t.str() + "in/*sales*", false), UnorderedElementsAre(q3, q4));
    EXPECT_THAT(List(t.str() + "in/*.pptx", false), UnorderedElementsAre(q3, q3b, q4));
}

TEST(FilePattern, NamePatterns) {
    EXPECT_TRUE(MatchesNamePattern("Q3*.pptx", "q3 Sales.PPTX"));
    EXPECT_FALSE(MatchesNamePattern("Q3*.pptx", "Q4 sales.pptx"));
    EXPECT_FALSE(MatchesNamePattern("Q3*.pptx", "Q3.pptx.bak"));
    EXPECT_TRUE(MatchesNamePattern("Q3*.pptx", "Q3.pptx"));
    EXPECT_TRUE(MatchesNamePattern("a?c", "abc"));
    EXPECT_FALSE(MatchesNamePattern("a?c", "ac"));
    EXPECT_TRUE(MatchesNamePattern("*a*b*", "xxaYYbzz"));
    EXPECT_FALSE(MatchesNamePattern("*a*b*", "xxbYYazz"));
    EXPECT_TRUE(MatchesNamePattern("**.ppt", "x.ppt"));
    EXPECT_TRUE(MatchesNamePattern("*.*", "report"));
    EXPECT_TRUE(MatchesNamePattern("*.", "report"));
    EXPECT_FALSE(MatchesNamePattern("*.", "report.txt"));
    EXPECT_FALSE(MatchesNamePattern("*.ppt", "a.pptx"));
    // A long name against a pattern of many stars ends quickly.
    EXPECT_FALSE(MatchesNamePattern("*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

TEST(FilePattern, FolderPartEndsBeforeTheFirstWildcard) {
    std::string folder, pattern;
    ASSERT_TRUE(SplitWildcardPath("/in/Q3*.pptx", folder, pattern));
    EXPECT_EQ(folder, "/in/");
    EXPECT_EQ(pattern, "Q3*.pptx");
    ASSERT_TRUE(SplitWildcardPath("/in/a.b/?x*", folder, pattern));
    EXPECT_EQ(folder, "/in/a.b/");
    EXPECT_EQ(pattern, "?x*");
    ASSERT_TRUE(SplitWildcardPath("*.ppt", folder, pattern));
    EXPECT_EQ(folder, "");
    EXPECT_FALSE(SplitWildcardPath("/in/*/a.ppt", folder, pattern));
    EXPECT_FALSE(SplitWildcardPath("/in/Q?/*.ppt", folder, pattern));
    EXPECT_TRUE(HasWildcardInFolder("/in/2*/x.ppt"));
    EXPECT_FALSE(HasWildcardInFolder("/in/x*.ppt"));
    EXPECT_EQ(WildcardFolderOf("/out/Q3*.pdf"), "/out/");
}

TEST(FileList, AwkwardNamesComeBackExactly) {
    TempFolder t;
    const std::vector<std::string> names = {"with space.ppt", "Präsentation ü.ppt", "quote\"d.ppt",
                                            "it's.ppt",       "-leading.ppt",       "[brackets] (1).ppt",
                                            "日本語.ppt",     "*star?.ppt"};
    std::vector<std::string> expected;
    for (const auto& n : names)
        expected.push_back(t.file("dir with space/" + n));
    bool ok = false;
    const auto list = List(t.str() + "dir with space/*.ppt", false, &ok);
    EXPECT_TRUE(ok);
    EXPECT_THAT(list, ::testing::UnorderedElementsAreArray(expected));
    for (const auto& f : list)
        EXPECT_TRUE(fs::exists(f)) << f;
}

TEST(FileList, LinkedFoldersAreEnteredOnceAndLoopsEnd) {
    TempFolder t;
    const auto real = t.file("in/real.ppt");
    t.file("elsewhere/outside.ppt");
    t.file("elsewhere/deeper/far.ppt");
    fs::create_directory_symlink(t.path() / "in", t.path() / "in" / "loop");
    fs::create_directory_symlink(t.path() / "elsewhere", t.path() / "in" / "linked");
    fs::create_directory_symlink(t.path() / "elsewhere", t.path() / "in" / "again");
    fs::create_directory_symlink(t.path() / "in", t.path() / "elsewhere" / "deeper" / "back");
    fs::create_symlink(t.path() / "elsewhere" / "outside.ppt", t.path() / "in" / "alias.ppt");
    fs::create_symlink(t.path() / "missing.ppt", t.path() / "in" / "dangling.ppt");

    const auto list = List(t.str() + "in/*.ppt", true);
    // The linked tree is walked once, under whichever link name came first; the paths follow
    // the walk, so targets mirror the link's name.
    ASSERT_EQ(list.size(), 4u) << ::testing::PrintToString(list);
    EXPECT_THAT(list, ::testing::Contains(real));
    EXPECT_THAT(list, ::testing::Contains(t.str() + "in/alias.ppt"));
    const bool viaLinked =
        std::find(list.begin(), list.end(), t.str() + "in/linked/outside.ppt") != list.end();
    const std::string via = t.str() + (viaLinked ? "in/linked/" : "in/again/");
    EXPECT_THAT(list, ::testing::Contains(via + "outside.ppt"));
    EXPECT_THAT(list, ::testing::Contains(via + "deeper/far.ppt"));

    // Without subfolders no link is entered.
    EXPECT_THAT(List(t.str() + "in/*.ppt", false), UnorderedElementsAre(real, t.str() + "in/alias.ppt"));
}

// Lists source as the unprivileged user and writes what came back as lines.
std::string ListAsUnprivileged(const TempFolder& t, const std::string& source) {
    return test::AsUnprivilegedUser(
        [&] {
            clsConversionOptions task;
            task.sOriginalFile = source;
            task.bDoSubfolders = true;
            std::vector<std::string> list;
            std::vector<UnreadableFolder> unreadable;
            TestRunControl control;
            const bool ok = BuildFileList(task, list, control, &unreadable);
            std::string out = ok ? "ok\n" : "failed: " + task.sErr + "\n";
            std::sort(list.begin(), list.end());
            for (const auto& f : list)
                out += "file " + f + "\n";
            for (const auto& u : unreadable)
                out += "unreadable " + u.folder + " (" + u.reason + ")\n";
            return out;
        },
        t.path());
}

TEST(FileList, UnreadableFoldersAreReportedNotPassedOver) {
    TempFolder t;
    const auto top = t.file("in/a.ppt");
    t.file("in/locked/b.ppt");
    const auto after = t.file("in/open/c.ppt");
    fs::permissions(t.path() / "in" / "locked", fs::perms::none);

    const std::string walked = ListAsUnprivileged(t, t.str() + "in/*.ppt");
    const std::string locked = ListAsUnprivileged(t, t.str() + "in/locked/*.ppt");
    fs::permissions(t.path() / "in" / "locked", fs::perms::owner_all);

    EXPECT_EQ(walked, "ok\nfile " + top + "\nfile " + after + "\nunreadable " + t.str() +
                          "in/locked/ (Permission denied)\n");
    EXPECT_EQ(locked, "failed: Folder: " + t.str() + "in/locked/ cannot be read (Permission denied)\n");
}

TEST(FileList, StopWhileListingReturnsAtOnce) {
    TempFolder t;
    for (int i = 0; i < 20; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    for (int i = 0; i < 5; ++i)
        t.file("in/s" + std::to_string(i) + "/g.ppt");

    std::vector<std::string> list;
    TestRunControl control;
    control.stopAfterCheckpoints = 5; // the folder's own checkpoint, then four files
    EXPECT_EQ(BuildFileListInFolder(t.str() + "in", "*.ppt", list, true, control), kListStopped);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(control.TextsOf(StatusPanel::CurrentFile).size(), 1u) << "no subfolder may be entered";
    EXPECT_EQ(control.cursorOn, control.cursorOff);

    // The task keeps what was listed before the stop and is not a failure.
    clsConversionOptions task;
    task.sOriginalFile = t.str() + "in/*.ppt";
    task.bDoSubfolders = true;
    TestRunControl paused;
    paused.running = false;
    list.clear();
    EXPECT_TRUE(BuildFileList(task, list, paused));
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(task.sErr.empty());
}

TEST(FileList, ReportsEachFolderAndRestoresTheCursor) {
    TempFolder t;
    t.file("in/a.ppt");
    t.file("in/sub/b.ppt");
    std::vector<std::string> list;
    TestRunControl control;
    EXPECT_EQ(BuildFileListInFolder(t.str() + "in", "*.ppt", list, true, control), kListDone);
    EXPECT_THAT(
        control.TextsOf(StatusPanel::CurrentFile),
        ElementsAre("Creating File List: " + t.str() + "in/", "Creating File List: " + t.str() + "in/sub/"));
    EXPECT_GE(control.checkpoints, 4);
    EXPECT_GT(control.cursorOn, 0);
    EXPECT_EQ(control.cursorOn, control.cursorOff);
}

class TargetNaming : public ::testing::Test {
protected:
    TempFolder t;
    test::FakeComponent component;
    clsConversionOptions task;

    void SetUp() override {
        task.sOriginalFile = t.str() + "in/*.ppt";
        task.sTargetFile = t.str() + "out/*.pdf";
        task.lTargetFileType = 32;
        task.bDoSubfolders = true;
    }
};

TEST_F(TargetNaming, MirrorsTheSourceTreeUnderTheTargetRoot) {
    const auto file = t.file("in/a/b/x.v2.ppt");
    ListTargetNamer namer(task, &component);
    clsConversionOptions perFile;
    namer.Apply(file, perFile);
    EXPECT_EQ(perFile.sOriginalFile, file);
    EXPECT_EQ(perFile.sSubFolder, "a/b/");
    EXPECT_EQ(perFile.sTargetFile, t.str() + "out/a/b/x.v2.pdf");
    EXPECT_TRUE(fs::is_directory(t.path() / "out" / "a" / "b"));

    // A file of the source folder itself has no relative folder, even after a deeper one.
    const auto top = t.file("in/y.ppt");
    namer.Apply(top, perFile);
    EXPECT_EQ(perFile.sSubFolder, "");
    EXPECT_EQ(perFile.sTargetFile, t.str() + "out/y.pdf");
}

TEST_F(TargetNaming, NamePatternsMirrorFromTheirFolder) {
    task.sOriginalFile = t.str() + "in/Q3*.pptx";
    task.sTargetFile = t.str() + "out/Q3*.pdf";
    const auto file = t.file("in/2024/Q3 plan.pptx");
    ListTargetNamer namer(task, &component);
    EXPECT_EQ(namer.TargetRoot(), t.str() + "out/");
    clsConversionOptions perFile;
    namer.Apply(file, perFile);
    EXPECT_EQ(perFile.sSubFolder, "2024/");
    EXPECT_EQ(perFile.sTargetFile, t.str() + "out/2024/Q3 plan.pdf");
}

TEST_F(TargetNaming, BesideTheSourceIgnoresTheTargetRoot) {
    task.bSaveInOriginalFolder = true;
    const auto file = t.file("in/sub/x.ppt");
    clsConversionOptions perFile;
    ListTargetNamer(task, &component).Apply(file, perFile);
    EXPECT_EQ(perFile.sTargetFile, t.str() + "in/sub/x.pdf");
    EXPECT_EQ(perFile.sSubFolder, "sub/");
    EXPECT_FALSE(fs::exists(t.path() / "out"));
}

TEST_F(TargetNaming, RootSourceKeepsTheFirstLetterOfTheRelativeFolder) {
    task.sOriginalFile = "/*.txt";
    ListTargetNamer namer(task, &component);
    EXPECT_EQ(namer.SourceBase(), "/");
    clsConversionOptions perFile;
    namer.Apply("/notes/a.txt", perFile);
    EXPECT_EQ(perFile.sSubFolder, "notes/");
    EXPECT_EQ(perFile.sTargetFile, t.str() + "out/notes/a.pdf");
}

TEST_F(TargetNaming, ExtensionFollowsTypeAndMethod) {
    task.lTargetFileType = kTargetPdfWithOptions;
    EXPECT_EQ(ListTargetNamer(task, &component).Extension(), "pdf");
    task.lTargetFileType = 18;
    EXPECT_EQ(ListTargetNamer(task, &component).Extension(), "png");
    task.lConversionMethod = kMethodSpecial;
    task.lTargetFileType = 1;
    task.sTargetFile = t.str() + "out/*.TXT";
    ListTargetNamer special(task, nullptr);
    EXPECT_EQ(special.Extension(), "TXT");
    EXPECT_EQ(special.TargetRoot(), t.str() + "out/");
}

} // namespace
} // namespace slidemill
