#include "settings/MruList.h"
#include "core/MruPresentation.h"
#include "settings/IniFile.h"
#include "settings/MainWindowLists.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace slidemill;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;
using Items = std::vector<std::string>;

namespace {

struct MruListTest : ::testing::Test {
    TempFolder folder{"mru"};
    std::string path = folder.str() + "SLML_SearchHistory.INI";

    clsMRU Loaded(int32_t capacity, const std::string& name = "mruSource") {
        clsMRU list;
        list.Setup(capacity, path, name);
        return list;
    }
};

} // namespace

TEST_F(MruListTest, ReAddingWithOtherCaseMovesToNewestAndTakesTheNewSpelling) {
    clsMRU list = Loaded(6);
    list.AddUniqueItemToCollection("/a.ppt");
    list.AddUniqueItemToCollection("/b.ppt");
    list.AddUniqueItemToCollection("/A.ppt");
    EXPECT_EQ(list.clnMRU(), (Items{"/b.ppt", "/A.ppt"}));
    EXPECT_TRUE(list.bItemExistsInMRU("/a.PPT", false));
    EXPECT_FALSE(list.bItemExistsInMRU("/a.ppt", true));
    EXPECT_TRUE(list.bItemExistsInMRU("/A.ppt", true));
}

TEST_F(MruListTest, FullListDropsTheOldestAndTheComboShowsNewestFirst) {
    clsMRU list = Loaded(6);
    for (int i = 1; i <= 7; ++i)
        list.AddUniqueItemToCollection("/f" + std::to_string(i));
    EXPECT_EQ(list.clnMRU(), (Items{"/f2", "/f3", "/f4", "/f5", "/f6", "/f7"}));
    const MruComboFill fill = ComboFillFor(list);
    EXPECT_EQ(fill.items, (Items{"/f7", "/f6", "/f5", "/f4", "/f3", "/f2"}));
    EXPECT_EQ(fill.selectedIndex, 0);
    EXPECT_EQ(ComboFillFor(Loaded(6, "mruEmpty")).selectedIndex, -1);
}

TEST_F(MruListTest, EmptyTextIsNeverAnItemAndLeavesTheListClean) {
    clsMRU list = Loaded(5);
    list.AddUniqueItemToCollection("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Dirty());
    list.ShutDown();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(MruListTest, WritesItemsOldestFirstAndTheTerminatorTwoKeysOn) {
    clsMRU list = Loaded(6);
    for (const char* item : {"/x1", "/x2", "/x3"})
        list.AddUniqueItemToCollection(item);
    ASSERT_TRUE(list.ShutDown());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(ReadWholeFile(path), "[mruSource]\nmruSource1=/x1\nmruSource2=/x2\nmruSource3=/x3\n"
                                   "mruSource5=MRU_DONE\n");
    // A read stops at the missing fourth key, whatever follows.
    IniFile(path).WriteString("mruSource", "mruSource6", "/stale");
    EXPECT_EQ(Loaded(6).clnMRU(), (Items{"/x1", "/x2", "/x3"}));
}

TEST_F(MruListTest, ReadStopsAtTerminatorAndAtCapacity) {
    folder.file("SLML_SearchHistory.INI", "[mruSource]\nmruSource1=MRU_DONE\nmruSource2=/late\n"
                                          "[mruFindString]\nmruFindString1=a\nmruFindString2=b\n"
                                          "mruFindString3=c\nmruFindString4=d\n");
    EXPECT_EQ(Loaded(6).Count(), 0);
    EXPECT_EQ(Loaded(2, "mruFindString").clnMRU(), (Items{"a", "b"}));
}

TEST_F(MruListTest, DuplicatesInTheFileCollapseToTheirLaterPlace) {
    folder.file("SLML_SearchHistory.INI", "[mruSource]\nmruSource1=/a\nmruSource2=/b\nmruSource3=/A\n");
    clsMRU list = Loaded(6);
    EXPECT_EQ(list.clnMRU(), (Items{"/b", "/A"}));
    // Collapsing on load is not a change of the user's list.
    EXPECT_FALSE(list.Dirty());
}

TEST_F(MruListTest, UnchangedListIsNotRewritten) {
    const std::string original = "[mruSource]\r\n  mruSource1 = /a \r\nmruSource2=/b\r\n; note\r\n";
    folder.file("SLML_SearchHistory.INI", original);
    clsMRU list = Loaded(6);
    EXPECT_EQ(list.Count(), 2);
    ASSERT_TRUE(list.ShutDown());
    EXPECT_EQ(ReadWholeFile(path), original);
}

TEST_F(MruListTest, ShrunkOrClearedListNeverBringsDroppedItemsBack) {
    clsMRU list = Loaded(6);
    for (int i = 1; i <= 6; ++i)
        list.AddUniqueItemToCollection("/old" + std::to_string(i));
    ASSERT_TRUE(list.ShutDown());

    clsMRU shorter = Loaded(6);
    shorter.ClearAllItemsInList();
    shorter.AddUniqueItemToCollection("/new1");
    shorter.AddUniqueItemToCollection("/new2");
    ASSERT_TRUE(shorter.ShutDown());
    EXPECT_EQ(Loaded(6).clnMRU(), (Items{"/new1", "/new2"}));

    clsMRU cleared = Loaded(6);
    cleared.ClearAllItemsInList();
    ASSERT_TRUE(cleared.ShutDown());
    EXPECT_EQ(Loaded(6).Count(), 0);
}

TEST_F(MruListTest, DuplicateKeyLinesDoNotBringItemsBack) {
    // Key 1 is missing, so the list reads as empty; the second mruSource2 line must not come
    // forward once the list is written.
    folder.file("SLML_SearchHistory.INI",
                "[mruSource]\r\nmruSource2=/a.ppt\r\nmruSource2=/B.ppt\r\nmruSource4=MRU_DONE\r\n");
    clsMRU list = Loaded(6);
    EXPECT_EQ(list.Count(), 0);
    list.AddUniqueItemToCollection("/probe.ppt");
    ASSERT_TRUE(list.ShutDown());
    EXPECT_EQ(Loaded(6).clnMRU(), (Items{"/probe.ppt"}));
}

TEST_F(MruListTest, ClearHistoryNeitherLoadsNorSaves) {
    folder.file("SLML_SearchHistory.INI", "[mruSource]\nmruSource1=/kept\n");
    const std::string before = ReadWholeFile(path);
    clsMRU list;
    list.mbClearHistory = true;
    list.Setup(6, path, "mruSource");
    EXPECT_EQ(list.Count(), 0);
    list.AddUniqueItemToCollection("/new");
    list.ShutDown();
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(MruListTest, DefaultsFillOnlyAnEmptyList) {
    clsMRU list;
    list.Setup(3, path, "mruSource", "/d1,/d2,,/D1,/d3,/d4");
    EXPECT_EQ(list.clnMRU(), (Items{"/D1", "/d3", "/d4"}));
    EXPECT_FALSE(list.Dirty());

    folder.file("SLML_SearchHistory.INI", "[mruSource]\nmruSource1=/stored\n");
    clsMRU stored;
    stored.Setup(3, path, "mruSource", "/d1,/d2");
    EXPECT_EQ(stored.clnMRU(), (Items{"/stored"}));
}

TEST_F(MruListTest, LongItemsComeBackCutAndOddTextsSurvive) {
    clsMRU list = Loaded(5, "mruFindString");
    const std::string longItem(600, 'x');
    list.AddUniqueItemToCollection(longItem);
    list.AddUniqueItemToCollection("a=b;c [d]");
    list.AddUniqueItemToCollection("caf\xC3\xA9 \xE2\x82\xAC");
    ASSERT_TRUE(list.ShutDown());
    EXPECT_EQ(Loaded(5, "mruFindString").clnMRU(),
              (Items{std::string(499, 'x'), "a=b;c [d]", "caf\xC3\xA9 \xE2\x82\xAC"}));
}

TEST_F(MruListTest, NoSettingsFileMeansAnEmptyListAndNothingWritten) {
    clsMRU list;
    list.Setup(6, "", "mruSource");
    EXPECT_EQ(list.Count(), 0);
    list.AddUniqueItemToCollection("/a");
    EXPECT_FALSE(list.ShutDown());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(MruListTest, FileMenuListsNewestFirstWithNumberedCaptions) {
    clsMRU list = Loaded(5, "mruFileOpen");
    for (const char* job : {"/jobs/one.MJB", "/jobs/two.MJB", "/jobs/three.MJB"})
        list.AddUniqueItemToCollection(job);
    const auto entries = BuildMruMenuEntries(list);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].caption, "&1 /jobs/three.MJB");
    EXPECT_EQ(entries[2].caption, "&3 /jobs/one.MJB");
    EXPECT_EQ(entries[1].tag, "TranslateFalse");
    EXPECT_EQ(entries[1].path, "/jobs/two.MJB");
    EXPECT_EQ(MruMenuEntryPath(list, 1), "/jobs/three.MJB");
    EXPECT_EQ(MruMenuEntryPath(list, 3), "/jobs/one.MJB");
    EXPECT_EQ(MruMenuEntryPath(list, 0), "");
    EXPECT_EQ(MruMenuEntryPath(list, 4), "");
    EXPECT_EQ(MissingJobFileMessage("/gone.MJB"), "/gone.MJB does not exist.");
}

namespace {

struct RecordingCombo : MruComboTarget {
    bool* suppress = nullptr;
    Items items;
    int index = -2;
    bool quietWhileFilling = true;
    void Clear() override {
        items.clear();
        quietWhileFilling = quietWhileFilling && *suppress;
    }
    void AddItem(const std::string& text) override {
        items.push_back(text);
        quietWhileFilling = quietWhileFilling && *suppress;
    }
    void SetListIndex(int i) override {
        index = i;
        quietWhileFilling = quietWhileFilling && *suppress;
    }
};

} // namespace

TEST_F(MruListTest, ComboFillerKeepsEventsQuietAndRestoresTheFlag) {
    clsMRU list = Loaded(6);
    list.AddUniqueItemToCollection("/1");
    list.AddUniqueItemToCollection("/2");
    for (const bool before : {false, true}) {
        bool suppress = before;
        RecordingCombo combo;
        combo.suppress = &suppress;
        combo.items = {"stale"};
        FillComboFromMru(list, combo, suppress);
        EXPECT_TRUE(combo.quietWhileFilling);
        EXPECT_EQ(suppress, before);
        EXPECT_EQ(combo.items, (Items{"/2", "/1"}));
        EXPECT_EQ(combo.index, 0);
    }
}

TEST_F(MruListTest, EditorTextsGrowTheListsOfTheirActionKind) {
    MainWindowLists lists;
    lists.SetupAll(path, false);
    EditorBoxTexts special;
    special.sActionToDo = "S56";
    special.cbOriginalFileSpecialized = "/in/*.txt";
    special.cbTargetFileSpecialized = "/out/all.txt";
    special.cbCommandLine = "/usr/bin/tool";
    special.cbCommandLineArguments = "-v";
    special.cbFindString = "old";
    special.cbOriginalFile = "/not/for/special";
    auto grown = RememberEditorTexts(lists, special);
    EXPECT_EQ(grown.size(), 5u);
    EXPECT_EQ(lists.mruReplaceString.Count(), 0);
    EXPECT_EQ(lists.mruSource.Count(), 0);
    EXPECT_EQ(lists.mruFindString.clnMRU(), (Items{"old"}));
    EXPECT_EQ(lists.mruCommandLine.clnMRU(), (Items{"/usr/bin/tool"}));

    special.cbReplacementString = "new";
    grown = RememberEditorTexts(lists, special);
    EXPECT_EQ(grown.size(), 6u);
    EXPECT_EQ(lists.mruReplaceString.clnMRU(), (Items{"new"}));

    EditorBoxTexts conversion;
    conversion.sActionToDo = "C";
    conversion.cbOriginalFile = "/in/a.pptx";
    conversion.cbTargetFile = "/out/a.pdf";
    grown = RememberEditorTexts(lists, conversion);
    ASSERT_EQ(grown.size(), 2u);
    EXPECT_EQ(grown[0], &lists.mruSource);
    EXPECT_EQ(lists.mruTarget.clnMRU(), (Items{"/out/a.pdf"}));
    EXPECT_EQ(lists.mruSourceSpecialized.Count(), 1);

    ASSERT_TRUE(lists.ShutDownAll(false));
    MainWindowLists again;
    again.SetupAll(path, false);
    EXPECT_EQ(again.mruSource.clnMRU(), (Items{"/in/a.pptx"}));
    EXPECT_EQ(again.mruCommandLineArguments.clnMRU(), (Items{"-v"}));
    EXPECT_EQ(again.mruReplaceString.lMaxItems(), 5);
    EXPECT_EQ(again.mruTarget.lMaxItems(), 6);
}

TEST_F(MruListTest, CommandLineModeNeitherGrowsNorWritesTheLists) {
    folder.file("SLML_SearchHistory.INI", "[mruFileOpen]\nmruFileOpen1=/jobs/a.MJB\n");
    const std::string before = ReadWholeFile(path);
    MainWindowLists lists;
    lists.SetupAll(path, true);
    EXPECT_EQ(lists.mruFileOpen.Count(), 0);
    EXPECT_FALSE(RememberJobFile(lists.mruFileOpen, "/jobs/b.MJB", true));
    EXPECT_EQ(lists.mruFileOpen.Count(), 0);
    lists.mruSource.AddUniqueItemToCollection("/typed");
    EXPECT_TRUE(lists.ShutDownAll(true));
    EXPECT_EQ(ReadWholeFile(path), before);

    MainWindowLists window;
    window.SetupAll(path, false);
    EXPECT_TRUE(RememberJobFile(window.mruFileOpen, "/jobs/b.MJB", false));
    EXPECT_EQ(MruMenuEntryPath(window.mruFileOpen, 1), "/jobs/b.MJB");
}
