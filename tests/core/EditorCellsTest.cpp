#include "core/EditorCells.h"
#include "GridTestSupport.h"
#include "core/FileTypes.h"
#include "core/TaskGrid.h"
#include "support/FakeComponent.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

class EditorCellsTest : public ::testing::Test {
protected:
    EditorCellsTest() {
        InitTaskGrid(grid);
        AppendTaskRow(test::ConversionTask("/in/a.pptx", "/out/a.pdf"), grid, &component);
        AppendTaskRow(test::ConversionTask("/in/b.pptx", "/out/b.pdf"), grid, &component);
        UpdatePassedCell(grid, 1, 0);
        grid.SetRow(1);
    }
    Grid grid{kTaskGridCols};
    test::FakeComponent component;
};

TEST_F(EditorCellsTest, ConversionEditorRoundTripsThroughTheRow) {
    EditorState editor;
    editor.lConversionMethod = kMethodWord;
    editor.sOriginalFile = "/in/*.ppt";
    editor.sTargetFile = "/out/*.doc";
    editor.lTargetFileType = 6;
    editor.bDoSubfolders = true;
    editor.bConvertAllSlides = false;
    editor.bCreateFileForEachSlide = false;
    editor.lFromSlide = 2;
    editor.lToSlide = 5;
    ASSERT_TRUE(UpdateGridFromGUI_ConversionItem(editor, grid, &component));
    EXPECT_EQ(grid.RowText(1), "RM,2,5\t1\tC\t/in/*.ppt\t3\t\t/out/*.doc\t6\t\t+");

    EditorState shown;
    ASSERT_TRUE(UpdateGUI_ViaCellContents(grid, shown));
    EXPECT_EQ(shown.sActionToDo, "C");
    EXPECT_EQ(shown.lConversionMethod, kMethodWord);
    EXPECT_FALSE(shown.bOriginalTypeListVisible);
    EXPECT_TRUE(shown.bDoSubfolders);
    EXPECT_FALSE(shown.bConvertAllSlides);
    EXPECT_EQ(shown.lFromSlide, 2);
    EXPECT_EQ(shown.lToSlide, 5);
    EXPECT_EQ(shown.sOriginalFile, "/in/*.ppt");
    EXPECT_EQ(shown.lTargetFileType, 6);
    EXPECT_EQ(shown.sSlideDescription, "Convert FROM Slide 2 TO Slide 5. Create one file.");
}

TEST_F(EditorCellsTest, SearchAndReplaceEditorRoundTrips) {
    EditorState editor;
    editor.sActionToDo = "S";
    editor.lSpecialProcess = kSpecialSearchReplace;
    editor.sOriginalFileSpecialized = "/in/*.rtf";
    editor.sTargetFileSpecialized = "/out/*.rtf";
    editor.lSpecialFileType = 5;
    editor.bSaveInOriginalFolderSpecialized = true;
    editor.bCaseSensitive = true;
    editor.sFindString = "RGB";
    editor.sReplaceString = "sRGB";
    ASSERT_TRUE(UpdateGridFromGUI_SpecializedItem(editor, grid));
    EXPECT_EQ(grid.RowText(1),
              "GD          Find{{RGB}}Replace{{sRGB}}\t1\tS56\t/in/*.rtf\t5\tRTF\t/out/*.rtf\t5\tRTF\t+");

    // The runner reads the editor's shorter form alike.
    clsConversionOptions record;
    EXPECT_TRUE(ReadTaskRow(record, 1, grid));
    EXPECT_TRUE(record.bSaveInOriginalFolder);
    EXPECT_FALSE(record.bDoSubfolders);
    EXPECT_TRUE(record.bCaseSensitive);
    EXPECT_EQ(record.sFindString, "RGB");
    EXPECT_EQ(record.sReplaceString, "sRGB");

    EditorState shown;
    ASSERT_TRUE(UpdateGUI_ViaCellContents(grid, shown));
    EXPECT_EQ(shown.sActionToDo, "S");
    EXPECT_EQ(shown.lSpecialProcess, kSpecialSearchReplace);
    EXPECT_EQ(shown.lSpecialFileType, 5);
    EXPECT_TRUE(shown.bSaveInOriginalFolderSpecialized);
    EXPECT_FALSE(shown.bDoSubfoldersSpecialized);
    EXPECT_EQ(shown.sFindString, "RGB");
    EXPECT_EQ(shown.sReplaceString, "sRGB");
}

TEST_F(EditorCellsTest, LaunchEditorWritesProgramArgumentsAndZeroTypes) {
    EditorState editor;
    editor.sActionToDo = "S";
    editor.lSpecialProcess = kSpecialLaunch;
    editor.sApplicationName = "/usr/bin/rsync";
    editor.sCommandLineArguments = "-a /a /b";
    editor.lCommandLineThreadPriority = 128;
    editor.lCommandLineWindowState = 0;
    editor.lCommandLineWaitTime = 30;
    grid.SetRow(2);
    ASSERT_TRUE(UpdateGridFromGUI_SpecializedItem(editor, grid));
    EXPECT_EQ(grid.RowText(2), "T128 S0 W30\t2\tS60\t/usr/bin/rsync\t0\t\t-a /a /b\t0\t\t");

    EditorState shown;
    ASSERT_TRUE(UpdateGUI_ViaCellContents(grid, shown));
    EXPECT_EQ(shown.sApplicationName, "/usr/bin/rsync");
    EXPECT_EQ(shown.sCommandLineArguments, "-a /a /b");
    EXPECT_EQ(shown.lCommandLineThreadPriority, 128);
    EXPECT_EQ(shown.lCommandLineWindowState, 0);
    EXPECT_EQ(shown.lCommandLineWaitTime, 30);
}

TEST_F(EditorCellsTest, NewTaskRowIsNeverWrittenOrRead) {
    grid.SetRow(grid.Rows() - 1);
    EditorState editor;
    editor.sOriginalFile = "/x.ppt";
    EXPECT_FALSE(UpdateGridFromGUI_ConversionItem(editor, grid, &component));
    EXPECT_FALSE(UpdateGridFromGUI_SpecializedItem(editor, grid));
    EXPECT_EQ(grid.RowText(grid.Rows() - 1), "\t*\t\t\t\t\t\t\t\t");
    EXPECT_FALSE(UpdateGUI_ViaCellContents(grid, editor));
    EXPECT_EQ(editor.sOriginalFile, "/x.ppt");
}

TEST(SlideRangeDescriptionTest, AllSlidesAndFilePerSlide) {
    EXPECT_EQ(SlideRangeDescription(true, 0, 0, true), "Convert all slides. Create file for each slide.");
}

} // namespace
} // namespace slidemill
