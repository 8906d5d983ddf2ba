// What the task editor shows and offers besides the values it edits: the refresh rules, its
// lists, the pickers' filters and start folders, the launch buttons, and moving tasks.
#include "core/EditorControls.h"
#include "core/EditorLists.h"
#include "core/PickerRules.h"
#include "core/TaskGrid.h"
#include "core/TaskMoves.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace slidemill {
namespace {

using test::TempFolder;

TEST(EditorRefresh, AWildcardOriginalOffersFolderOptionsAndTakesTheTargetFileButton) {
    EditorState editor;
    editor.sOriginalFile = "/in/deck.pptx";
    editor.bSaveInOriginalFolder = true; // left from an earlier wildcard
    EditorControls c = RefreshConvertOptionsGUI(editor, false);
    EXPECT_FALSE(c.saveInOriginalFolderEnabled);
    EXPECT_FALSE(c.doSubfoldersEnabled);
    EXPECT_TRUE(c.targetFileButtonEnabled);
    EXPECT_FALSE(editor.bSaveInOriginalFolder) << "a single file cannot keep a folder of its own";
    EXPECT_TRUE(c.targetFilePanelVisible);

    editor.sOriginalFile = "/in/*.pptx";
    editor.bSaveInOriginalFolder = true;
    c = RefreshConvertOptionsGUI(editor, false);
    EXPECT_TRUE(c.saveInOriginalFolderEnabled);
    EXPECT_TRUE(c.doSubfoldersEnabled);
    EXPECT_FALSE(c.targetFileButtonEnabled);
    EXPECT_TRUE(editor.bSaveInOriginalFolder);
    EXPECT_FALSE(c.targetFilePanelVisible) << "saving beside the originals needs no target";
    EXPECT_FALSE(editor.bTargetFileFrameVisible);
}

TEST(EditorRefresh, PanelsMethodsAndSpecialProcessesChooseWhatShows) {
    EditorState editor;
    EXPECT_FALSE(RefreshConvertOptionsGUI(editor, false).specialPanelInFront);
    EXPECT_FALSE(RefreshConvertOptionsGUI(editor, false).advancedOptionsVisible);
    EXPECT_TRUE(RefreshConvertOptionsGUI(editor, true).advancedOptionsVisible);
    editor.lConversionMethod = kMethodWord;
    EXPECT_FALSE(RefreshConvertOptionsGUI(editor, false).originalTypeListVisible);
    editor.lConversionMethod = kMethodComponent;
    EXPECT_TRUE(RefreshConvertOptionsGUI(editor, false).originalTypeListVisible);

    editor.sActionToDo = "S";
    editor.sOriginalFileSpecialized = "/in/*.txt";
    struct Row {
        int32_t process;
        bool searchReplace, launch, subfolders;
    };
    for (const Row& row :
         {Row{kSpecialAppend, false, false, false}, Row{kSpecialRemoveEmptyLines, false, false, true},
          Row{kSpecialSearchReplace, true, false, true}, Row{kSpecialLaunch, false, true, true}}) {
        SCOPED_TRACE(row.process);
        editor.lSpecialProcess = row.process;
        const EditorControls c = RefreshConvertOptionsGUI(editor, false);
        EXPECT_TRUE(c.specialPanelInFront);
        EXPECT_EQ(c.searchReplaceGroupVisible, row.searchReplace);
        EXPECT_EQ(c.launchGroupVisible, row.launch);
        EXPECT_EQ(c.doSubfoldersSpecializedEnabled, row.subfolders);
    }
    // Append names one target even for a wildcard source, so its File.. button stays usable.
    editor.lSpecialProcess = kSpecialAppend;
    EXPECT_TRUE(RefreshConvertOptionsGUI(editor, false).targetFileButtonSpecializedEnabled);
    editor.lSpecialProcess = kSpecialRemoveEmptyLines;
    EXPECT_FALSE(RefreshConvertOptionsGUI(editor, false).targetFileButtonSpecializedEnabled);
}

TEST(EditorLists, HoldTheSpecifiedEntries) {
    const std::vector<std::string> picks = CharacterPickerEntries();
    ASSERT_EQ(picks.size(), 256u);
    EXPECT_EQ(picks[0], "ASCII Char");
    EXPECT_EQ(picks[1], "[1] SOH");
    EXPECT_EQ(picks[13], "[13] CR");
    EXPECT_EQ(picks[32], "[32] Space");
    EXPECT_EQ(picks[33], "[33]!");
    EXPECT_EQ(picks[65], "[65]A");
    EXPECT_EQ(picks[233], "[233]\xC3\xA9"); // é as UTF-8
    EXPECT_EQ(picks[255], "[255]\xC3\xBF");

    EXPECT_EQ(AppendCharacterCode("a", 13), "a\xC2\xA9"
                                            "13\xC2\xA9");
    EXPECT_EQ(AppendCharacterCode("a", 0), "a") << "the heading entry appends nothing";

    const TypeList states = WindowStateList();
    ASSERT_EQ(states.entries.size(), 4u);
    EXPECT_EQ(states.entries[3].value, 6);
    EXPECT_EQ(states.selected, 0);
    const TypeList priorities = ThreadPriorityList();
    ASSERT_EQ(priorities.entries.size(), 4u);
    EXPECT_EQ(priorities.entries[0].value, 64);
    EXPECT_EQ(priorities.entries[3].value, 256);

    EXPECT_EQ(SpecialRequestMailto().rfind("mailto:", 0), 0u);
    EXPECT_NE(
        SpecialRequestDetails().find(SpecialRequestMailto().substr(7, SpecialRequestMailto().find('?') - 7)),
        std::string::npos)
        << "the box names the address the mail goes to";
}

TEST(PickerRules, FiltersMatchNamesInEitherCase) {
    const std::vector<FileFilterEntry> original = ParseFileFilter(OriginalFileFilter());
    ASSERT_EQ(original.size(), 6u);
    EXPECT_EQ(original[0].text, "All files(*.*)");
    EXPECT_EQ(CaseInsensitiveNameFilter(original[0]), "All files(*.*) (*)");
    EXPECT_EQ(original[2].patterns, (std::vector<std::string>{"*.PPT", "*.PPTX", "*.PPS", "*.PPSX"}));
    EXPECT_EQ(
        CaseInsensitiveNameFilter(original[2]),
        "Presentations and Shows (*.ppt,*.pptx,*.pps) (*.ppt *.PPT *.pptx *.PPTX *.pps *.PPS *.ppsx *.PPSX)");

    const std::vector<FileFilterEntry> target = ParseFileFilter(TargetFileFilter());
    ASSERT_EQ(target.size(), 20u) << "the trailing separator adds no entry";
    EXPECT_EQ(target[11].text, "PDF (*.pdf)");
    EXPECT_EQ(CaseInsensitiveNameFilter(target[11]), "PDF (*.pdf) (*.pdf *.PDF)");
    EXPECT_EQ(target[10].text, "PowerPoint (*.ppt *.pptx etc.)") << "texts are trimmed";

    const std::vector<FileFilterEntry> special = ParseFileFilter(SpecialFileFilter());
    ASSERT_EQ(special.size(), 4u);
    EXPECT_EQ(CaseInsensitiveNameFilter(special[2]),
              "Text (*.TXT;*.C;*.cpp, etc.) (*.txt *.TXT *.c *.C *.cpp *.CPP *.frm *.FRM)");
    ASSERT_EQ(ParseFileFilter(JobFileFilter()).size(), 1u);
    EXPECT_EQ(CaseInsensitiveNameFilter(ParseFileFilter(JobFileFilter())[0]),
              "Slidemill (*.MJB) (*.mjb *.MJB)");

    EXPECT_EQ(OriginalFilterIndex(3, 5), 3);
    EXPECT_EQ(OriginalFilterIndex(kNoFileType, 5), 5);
    EXPECT_EQ(OriginalFilterIndex(7, 2), 2);
}

TEST(PickerRules, FolderPickerStartsInTheFolderOfAWildcardAndAppendsThePattern) {
    TempFolder root("pick");
    const std::string in = root.folder("in");
    EXPECT_EQ(FolderPickerStart(in + "/*.pptx"), in);
    EXPECT_EQ(FolderPickerStart(in), in);
    EXPECT_EQ(FolderPickerStart("  \"" + in + "/deck.pptx\"").empty(), false);
    EXPECT_EQ(FolderPickerStart(""), "");

    EXPECT_EQ(FolderPickResult("/data/out/", "*.pdf"), "/data/out/*.pdf");
    EXPECT_EQ(FolderPickResult("/data/out", "*.pdf"), "/data/out/*.pdf");
    EXPECT_EQ(FolderPickResult("/", "*.pdf"), "/*.pdf") << "the root stays one slash";
    EXPECT_EQ(FolderPickResult(std::string("/data\0junk", 10), "*.png"), "/data/*.png");
    EXPECT_EQ(FolderPickResult("", "*.pdf"), "") << "a cancelled browser changes nothing";
}

TEST(PickerRules, LaunchOpensTheFileElseItsFolderElseSaysSo) {
    TempFolder root("launch");
    const std::string deck = root.file("in/deck.pptx");
    LaunchTarget t = ResolveLaunchTarget(deck);
    EXPECT_EQ(t.kind, LaunchKind::OpenFile);
    EXPECT_EQ(t.path, deck);

    t = ResolveLaunchTarget(root.str() + "in/not-yet.pdf");
    EXPECT_EQ(t.kind, LaunchKind::OpenFolder) << "a target not written yet opens its folder";
    EXPECT_EQ(t.path, root.str() + "in");

    t = ResolveLaunchTarget(root.str() + "in/*.pptx");
    EXPECT_EQ(t.kind, LaunchKind::OpenFolder);

    t = ResolveLaunchTarget(root.str() + "in");
    EXPECT_EQ(t.kind, LaunchKind::OpenFolder);
    EXPECT_EQ(t.path, root.str() + "in");

    t = ResolveLaunchTarget(root.str() + "gone/deck.pptx");
    EXPECT_EQ(t.kind, LaunchKind::Missing);
    EXPECT_EQ(MissingLaunchTargetMessage(t.path),
              "File/Folder does not exist:\n\n" + root.str() + "gone/deck.pptx");

    EXPECT_EQ(RemoveDoubleQuotes("\"/in/my deck.pptx\""), "/in/my deck.pptx");
}

class TaskMovesTest : public ::testing::Test {
protected:
    Grid grid{kTaskGridCols};
    void SetUp() override {
        InitTaskGrid(grid);
        for (const char* name : {"a", "b", "c"}) {
            const int row = grid.Rows() - 1;
            grid.InsertRow(row, {"", std::to_string(row), "C", name});
        }
        grid.SetCell(1, kColPass, "+");
        grid.SetMark(1, kColPass, CellMark::Pass);
    }
    std::string Order() const {
        std::string order;
        for (int row = 1; row < grid.Rows() - 1; ++row)
            order += grid.CellText(row, kColNumber) + grid.CellText(row, kColOriginal);
        return order;
    }
    void Select(int row) {
        grid.SetRow(row);
        grid.SelectWholeRow();
    }
};

TEST_F(TaskMovesTest, TasksMoveWhileTheNumbersStayInOrder) {
    ASSERT_EQ(Order(), "1a2b3c");
    Select(1);
    EXPECT_TRUE(MoveGridRow(grid, MoveTarget(grid, MoveKind::Down)));
    EXPECT_EQ(Order(), "1b2a3c");
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Mark(2, kColPass), CellMark::Pass) << "the pass mark travels with its task";
    EXPECT_EQ(grid.Mark(1, kColPass), CellMark::None);

    EXPECT_TRUE(MoveGridRow(grid, MoveTarget(grid, MoveKind::Last)));
    EXPECT_EQ(Order(), "1b2c3a");
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.ColSel(), kTaskGridCols - 1) << "the whole row is selected";

    EXPECT_TRUE(MoveGridRow(grid, MoveTarget(grid, MoveKind::First)));
    EXPECT_EQ(Order(), "1a2b3c");
    Select(3);
    EXPECT_TRUE(MoveGridRow(grid, MoveTarget(grid, MoveKind::Up)));
    EXPECT_EQ(Order(), "1a2c3b");
    EXPECT_EQ(grid.CellText(grid.Rows() - 1, kColNumber), kNewTaskMark);
}

TEST_F(TaskMovesTest, MovesPastEitherEndOrOfTheNewTaskRowChangeNothing) {
    Select(1);
    EXPECT_FALSE(MoveGridRow(grid, MoveTarget(grid, MoveKind::Up)));
    Select(3);
    EXPECT_FALSE(MoveGridRow(grid, MoveTarget(grid, MoveKind::Down)))
        << "nothing moves onto the new-task row";
    Select(4);
    EXPECT_FALSE(MoveGridRow(grid, 1)) << "the new-task row never moves";
    EXPECT_EQ(Order(), "1a2b3c");

    Grid empty(kTaskGridCols);
    InitTaskGrid(empty);
    EXPECT_FALSE(MoveGridRow(empty, 1));
    EXPECT_EQ(empty.Rows(), 2);
}

} // namespace
} // namespace slidemill
