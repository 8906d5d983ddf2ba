#include "core/TaskGrid.h"
#include "GridTestSupport.h"
#include "core/FileTypes.h"
#include "core/OptionsCell.h"
#include "support/FakeComponent.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

using test::ConversionTask;
using test::SpecialTask;

class TaskGridTest : public ::testing::Test {
protected:
    TaskGridTest() { InitTaskGrid(grid); }
    int Append(const clsConversionOptions& record) { return AppendTaskRow(record, grid, &component); }
    Grid grid{kTaskGridCols};
    test::FakeComponent component;
};

TEST_F(TaskGridTest, FreshGridHoldsOnlyTheNewTaskRow) {
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(TaskCount(grid), 0);
    EXPECT_EQ(grid.Cell(1, kColNumber), "*");
    EXPECT_EQ(grid.Cell(0, kColOriginal), "Original File(s)");
    GridViewState view;
    InitTaskGridView(view);
    EXPECT_EQ(view.Alignment(kColNumber), CellAlignment::Centre);
    EXPECT_EQ(view.Alignment(kColPass), CellAlignment::Centre);
    EXPECT_EQ(view.Alignment(kColOriginal), CellAlignment::Left);
    EXPECT_TRUE(IsHiddenTaskColumn(kColOptions));
    EXPECT_FALSE(IsHiddenTaskColumn(kColTarget));
}

TEST_F(TaskGridTest, AppendWritesEveryColumnAboveTheNewTaskRow) {
    clsConversionOptions record = ConversionTask("/in/*.pptx", "/out/*.pdf");
    record.bDoSubfolders = true;
    record.bCreateFileForEachSlide = true;
    EXPECT_EQ(Append(record), 1);
    clsConversionOptions withOptions = ConversionTask("/in/a.pptx", "/out/a.pdf");
    withOptions.lTargetFileType = kTargetPdfWithOptions;
    withOptions.bConvertAllSlides = false;
    withOptions.bSaveInOriginalFolder = true;
    withOptions.bCreateFileForEachSlide = true;
    withOptions.lFromSlide = 2;
    withOptions.lToSlide = 5;
    EXPECT_EQ(Append(withOptions), 2);

    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.RowText(1), "RCA,0,0\t1\tC\t/in/*.pptx\t3\t\t/out/*.pdf\t32\tpdf\t");
    EXPECT_EQ(grid.Cell(2, kColOptions), "GC,2,5");
    EXPECT_EQ(grid.Cell(2, kColNumber), "2");
    EXPECT_EQ(grid.Cell(2, kColTargetTypeText), "pdf"); // "PDF - with options" is a PDF to the user
    EXPECT_EQ(grid.Cell(3, kColNumber), "*");
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(TaskGridTest, AppendReinitialisesAGridThatWasNeverSetUp) {
    Grid raw{kTaskGridCols};
    AppendTaskRow(ConversionTask("/a.ppt", "/a.pdf"), raw, &component);
    ASSERT_EQ(raw.Rows(), 3);
    EXPECT_EQ(raw.Cell(1, kColNumber), "1");
    EXPECT_EQ(raw.Cell(2, kColNumber), "*");
}

TEST_F(TaskGridTest, TypeTextsFollowTheMethod) {
    clsConversionOptions fromPdf = ConversionTask("/a.pdf", "/a.rtf");
    fromPdf.lConversionMethod = kMethodFromPdf;
    fromPdf.lTargetFileType = 3;
    Append(fromPdf);
    EXPECT_EQ(grid.Cell(1, kColOptions), "PA,0,0");
    EXPECT_EQ(grid.Cell(1, kColOriginalTypeText), "PDF");
    EXPECT_EQ(grid.Cell(1, kColTargetTypeText), "");

    Append(SpecialTask(kSpecialRemoveEmptyLines, "/a.txt", "/b.txt"));
    EXPECT_EQ(grid.Cell(2, kColAction), "S55");
    EXPECT_EQ(grid.Cell(2, kColOriginalTypeText), "TXT");
    EXPECT_EQ(grid.Cell(2, kColTargetTypeText), "TXT");
}

TEST_F(TaskGridTest, ConversionRowReadsBack) {
    clsConversionOptions record = ConversionTask("/in/a.pptx", "/out/*.png");
    record.lTargetFileType = 18;
    record.lConversionMethod = kMethodWord;
    record.bConvertAllSlides = false;
    record.bSaveInOriginalFolder = true;
    record.lFromSlide = 3;
    record.lToSlide = 7;
    Append(record);
    Append(ConversionTask("/second.ppt", "/second.pdf"));

    clsConversionOptions read;
    EXPECT_TRUE(ReadTaskRow(read, 1, grid));
    EXPECT_EQ(read.sActionToDo, "C");
    EXPECT_EQ(read.lConversionMethod, kMethodWord);
    EXPECT_TRUE(read.bSaveInOriginalFolder);
    EXPECT_FALSE(read.bDoSubfolders);
    EXPECT_FALSE(read.bConvertAllSlides);
    EXPECT_EQ(read.lFromSlide, 3);
    EXPECT_EQ(read.lToSlide, 7);
    EXPECT_EQ(read.sOriginalFile, "/in/a.pptx");
    EXPECT_EQ(read.sTargetFile, "/out/*.png");
    EXPECT_EQ(read.lOriginalFileType, 3);
    EXPECT_EQ(read.lTargetFileType, 18);
    EXPECT_EQ(grid.Row(), 1);

    // The record is reused: the next row sets what it carries.
    EXPECT_TRUE(ReadTaskRow(read, 2, grid));
    EXPECT_EQ(read.lConversionMethod, kMethodComponent);
    EXPECT_TRUE(read.bConvertAllSlides);
    EXPECT_FALSE(read.bSaveInOriginalFolder);
    EXPECT_EQ(read.lTargetFileType, 32);
}

TEST_F(TaskGridTest, HeaderAndNewTaskRowReadNothing) {
    Append(ConversionTask("/a.ppt", "/a.pdf"));
    clsConversionOptions read;
    read.sOriginalFile = "untouched";
    EXPECT_TRUE(ReadTaskRow(read, 0, grid));
    EXPECT_TRUE(ReadTaskRow(read, 2, grid));
    EXPECT_TRUE(ReadTaskRow(read, 99, grid));
    EXPECT_EQ(read, [] {
        clsConversionOptions expected;
        expected.sOriginalFile = "untouched";
        return expected;
    }());
}

TEST_F(TaskGridTest, SearchAndReplaceLettersInsideTheTextsAreNotOptions) {
    clsConversionOptions record = SpecialTask(kSpecialSearchReplace, "/a.txt", "/b.txt");
    record.bCaseSensitive = false;
    record.bConvertAllSlides = false;
    record.sFindString = "RGB";
    record.sReplaceString = "CMYK and DA";
    Append(record);
    EXPECT_EQ(grid.Cell(1, kColOptions), ",0,0          Find{{RGB}}Replace{{CMYK and DA}}");

    clsConversionOptions read;
    read.bCaseSensitive = true;
    EXPECT_TRUE(ReadTaskRow(read, 1, grid));
    EXPECT_EQ(read.lSpecialProcess, kSpecialSearchReplace);
    EXPECT_FALSE(read.bDoSubfolders);
    EXPECT_FALSE(read.bSaveInOriginalFolder);
    EXPECT_FALSE(read.bCaseSensitive);
    EXPECT_FALSE(read.bCreateFileForEachSlide);
    EXPECT_FALSE(read.bConvertAllSlides);
    EXPECT_EQ(read.sFindString, "RGB");
    EXPECT_EQ(read.sReplaceString, "CMYK and DA");
}

TEST_F(TaskGridTest, FindAndReplaceEndAtTheirFirstMarkers) {
    clsConversionOptions record = SpecialTask(kSpecialSearchReplace, "/a.txt", "/b.txt");
    record.sFindString = "a}}b";
    record.sReplaceString = "x}}y";
    Append(record);
    EXPECT_EQ(grid.Cell(1, kColOptions), "DA,0,0          Find{{a}}b}}Replace{{x}}y}}");
    clsConversionOptions read;
    EXPECT_TRUE(ReadTaskRow(read, 1, grid));
    EXPECT_EQ(read.sFindString, "a}}b");
    EXPECT_EQ(read.sReplaceString, "x");
    EXPECT_TRUE(read.bCaseSensitive);

    grid.SetCell(1, kColOptions, "D          Find{{one}}Replace{{two}}Replace{{three}}");
    EXPECT_TRUE(ReadTaskRow(read, 1, grid));
    EXPECT_EQ(read.sFindString, "one");
    EXPECT_EQ(read.sReplaceString, "two");
}

TEST_F(TaskGridTest, LineBreaksInFindTextBecomeCharacterCodes) {
    clsConversionOptions record = SpecialTask(kSpecialSearchReplace, "/a.txt", "/b.txt");
    record.sFindString = "a\tb\r\n";
    Append(record);
    const std::string_view cell = grid.Cell(1, kColOptions);
    EXPECT_EQ(cell.find_first_of("\t\r\n"), std::string_view::npos);
    clsConversionOptions read;
    ReadTaskRow(read, 1, grid);
    EXPECT_EQ(read.sFindString, "a\xC2\xA9"
                                "9\xC2\xA9"
                                "b\xC2\xA9"
                                "13\xC2\xA9\xC2\xA9"
                                "10\xC2\xA9");
}

TEST_F(TaskGridTest, LaunchCellCarriesPriorityWindowStateAndWait) {
    clsConversionOptions defaults = SpecialTask(kSpecialLaunch, "/bin/echo", "hello world");
    Append(defaults);
    EXPECT_EQ(grid.Cell(1, kColOptions), "T32 S1 W-1");
    clsConversionOptions custom = defaults;
    custom.lCommandLineThreadPriority = 64;
    custom.lCommandLineWindowState = 3;
    custom.lCommandLineWaitTime = 120;
    Append(custom);

    clsConversionOptions read;
    read.lCommandLineThreadPriority = 0;
    read.lCommandLineWindowState = 0;
    read.lCommandLineWaitTime = 0;
    EXPECT_TRUE(ReadTaskRow(read, 1, grid));
    EXPECT_EQ(read.lCommandLineThreadPriority, 32);
    EXPECT_EQ(read.lCommandLineWindowState, 1);
    EXPECT_EQ(read.lCommandLineWaitTime, -1);
    EXPECT_TRUE(ReadTaskRow(read, 2, grid));
    EXPECT_EQ(read.lCommandLineThreadPriority, 64);
    EXPECT_EQ(read.lCommandLineWindowState, 3);
    EXPECT_EQ(read.lCommandLineWaitTime, 120);
    EXPECT_EQ(read.sOriginalFile, "/bin/echo");
    EXPECT_EQ(read.sTargetFile, "hello world");
}

// Rows that do not follow the grammar come from edited job files. None of them may run with
// values left over from the task read before.
TEST_F(TaskGridTest, MalformedRowsAreReportedAndNeverBorrowTheirTypes) {
    clsConversionOptions record;
    std::string problem;
    auto readRow = [&](std::vector<std::string> cells) {
        InitTaskGrid(grid);
        grid.InsertRow(1, cells);
        problem.clear();
        return ReadTaskRow(record, 1, grid, &problem);
    };

    record.lTargetFileType = 32;
    EXPECT_FALSE(readRow({"A,0,0", "1", "C", "/a.ppt", "3", "", "/a.pdf", "32x", "pdf"}));
    EXPECT_EQ(record.lTargetFileType, kNoFileType);
    EXPECT_NE(problem.find("target type"), std::string::npos);

    record.lOriginalFileType = 3;
    EXPECT_FALSE(readRow({"A,0,0", "1", "C", "/a.ppt", "", "", "/a.pdf", "32", "pdf"}));
    EXPECT_NE(problem.find("original type is missing"), std::string::npos);

    record.lSpecialProcess = kSpecialAppend;
    EXPECT_FALSE(readRow({"D,0,0", "1", "SX", "/a.txt", "1", "TXT", "/b.txt", "1", "TXT"}));
    EXPECT_EQ(record.lSpecialProcess, 0);

    EXPECT_FALSE(readRow({"A,0,0", "1", "Q", "/a.txt", "1", "", "/b.txt", "1", ""}));
    EXPECT_NE(problem.find("neither"), std::string::npos);

    record.lFromSlide = 4;
    record.lToSlide = 9;
    EXPECT_FALSE(readRow({"R", "1", "C", "/a.ppt", "3", "", "/a.pdf", "32", "pdf"}));
    EXPECT_FALSE(readRow({"R,two,3", "1", "C", "/a.ppt", "3", "", "/a.pdf", "32", "pdf"}));
    EXPECT_EQ(record.lFromSlide, 4);
    EXPECT_EQ(record.lToSlide, 3);

    record.sFindString = "old";
    record.sReplaceString = "older";
    EXPECT_FALSE(readRow({"D,0,0", "1", "S56", "/a.txt", "1", "TXT", "/b.txt", "1", "TXT"}));
    EXPECT_FALSE(
        readRow({"D,0,0 Find{{x}}Replace{{y}}", "1", "S56", "/a.txt", "1", "TXT", "/b.txt", "1", "TXT"}));
    EXPECT_FALSE(readRow(
        {"D,0,0          Find{{x}}Replace{{y", "1", "S56", "/a.txt", "1", "TXT", "/b.txt", "1", "TXT"}));
    EXPECT_EQ(record.sFindString, "old");
    EXPECT_EQ(record.sReplaceString, "older");

    EXPECT_FALSE(readRow({"T32 S1", "1", "S60", "/bin/true", "0", "", "", "0", ""}));
    EXPECT_FALSE(readRow({"T32 S1 Wforever", "1", "S60", "/bin/true", "0", "", "", "0", ""}));
    EXPECT_TRUE(readRow({"T32 S1 W5", "1", "S60", "/bin/true", "", "", "", "", ""}));
}

TEST(CellNumberTest, AcceptsOnlyWholeNumbers) {
    int32_t value = 77;
    EXPECT_TRUE(ParseCellNumber("12", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(ParseCellNumber("  -1", value));
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(ParseCellNumber("0          Find{{x}}", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(ParseCellNumber("-2147483648", value));
    EXPECT_EQ(value, INT32_MIN);
    value = 77;
    for (const char* bad : {"", " ", "-", "12abc", "1.5", "2147483648", "99999999999999999999", "x1"})
        EXPECT_FALSE(ParseCellNumber(bad, value)) << bad;
    EXPECT_EQ(value, 77);
}

TEST(OptionLetterTest, OnlyTheFirstNineCharactersCount) {
    EXPECT_TRUE(HasOptionLetter("RGMPDCA,0,0", 'A'));
    EXPECT_FALSE(HasOptionLetter(",0,0      R", 'R'));
    EXPECT_TRUE(HasOptionLetter("12345678R", 'R'));
    EXPECT_FALSE(HasOptionLetter("123456789R", 'R'));
}

TEST_F(TaskGridTest, RemovingTheMiddleTaskRenumbers) {
    Append(ConversionTask("/1.ppt", "/1.pdf"));
    Append(ConversionTask("/2.ppt", "/2.pdf"));
    Append(ConversionTask("/3.ppt", "/3.pdf"));
    EXPECT_TRUE(RemoveAllFilesWithJobNumber(grid, 2));
    ASSERT_EQ(TaskCount(grid), 2);
    EXPECT_EQ(grid.Cell(1, kColNumber), "1");
    EXPECT_EQ(grid.Cell(2, kColNumber), "2");
    EXPECT_EQ(grid.Cell(2, kColOriginal), "/3.ppt");
    EXPECT_EQ(grid.Cell(3, kColNumber), "*");

    EXPECT_FALSE(RemoveAllFilesWithJobNumber(grid, 3)); // the new-task row
    EXPECT_FALSE(RemoveAllFilesWithJobNumber(grid, 0));
    EXPECT_EQ(TaskCount(grid), 2);
    InitTaskGrid(grid);
    EXPECT_FALSE(RemoveAllFilesWithJobNumber(grid, 1));
    EXPECT_EQ(grid.Rows(), 2);
}

TEST_F(TaskGridTest, PassedCellShowsOnlyItsPicture) {
    for (int i = 0; i < 5; ++i)
        Append(ConversionTask("/x.ppt", "/x.pdf"));
    GridViewState view;
    test::FlagRunControl control;

    UpdatePassedCell(grid, 4, 3, &control, &view);
    EXPECT_EQ(grid.Cell(4, kColPass), "-");
    EXPECT_EQ(grid.Mark(4, kColPass), CellMark::Fail);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.ColSel(), kTaskGridCols - 1);
    std::optional<GridScrollRequest> scroll = view.TakeScrollRequest();
    ASSERT_TRUE(scroll.has_value());
    EXPECT_EQ(scroll->row, 4);
    EXPECT_EQ(scroll->topRow, 2);
    EXPECT_FALSE(view.TakeScrollRequest().has_value()) << "a request is served once";
    EXPECT_EQ(control.checkpoints, 1);

    UpdatePassedCell(grid, 1, 0, nullptr, &view);
    EXPECT_EQ(grid.Cell(1, kColPass), "+");
    EXPECT_EQ(grid.Mark(1, kColPass), CellMark::Pass);
    scroll = view.TakeScrollRequest();
    ASSERT_TRUE(scroll.has_value());
    EXPECT_EQ(scroll->topRow, 1);
}

} // namespace
} // namespace slidemill
