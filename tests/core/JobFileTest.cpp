#include "core/JobFile.h"
#include "GridTestSupport.h"
#include "core/FileTypes.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace slidemill {
namespace {

using test::ConversionTask;
using test::SpecialTask;

std::string TaskLine(int n) {
    return "A,0,0\t" + std::to_string(n) + "\tC\t/in/deck" + std::to_string(n) + ".pptx\t3\t\t/out/deck" +
           std::to_string(n) + ".pdf\t32\tpdf\t\t";
}

std::string JobText(int tasks, const std::string& lineEnd = "\r\n") {
    std::string text;
    for (int i = 1; i <= tasks; ++i)
        text += TaskLine(i) + lineEnd;
    return text + "\t*\t\t\t\t\t\t\t\t\t" + lineEnd;
}

class JobFileTest : public ::testing::Test {
protected:
    JobFileTest() { InitTaskGrid(grid); }
    std::string Write(const std::string& name, const std::string& text) { return folder.file(name, text); }

    test::TempFolder folder{"jobfile"};
    Grid grid{kTaskGridCols};
    test::FakeComponent component;
    test::FlagRunControl control;
};

TEST_F(JobFileTest, TwoTasksRoundTripWithOneNewTaskLine) {
    clsConversionOptions first = ConversionTask("/in/a.pptx", "/out/a.pdf");
    first.bDoSubfolders = true;
    AppendTaskRow(first, grid, &component);
    clsConversionOptions second = SpecialTask(kSpecialSearchReplace, "/in/*.txt", "/out/*.txt");
    second.sFindString = "cat";
    second.sReplaceString = "dog";
    AppendTaskRow(second, grid, &component);
    UpdatePassedCell(grid, 1, 0);
    UpdatePassedCell(grid, 2, 5);

    const std::string path = folder.str() + "job.MJB";
    ASSERT_TRUE(WriteJobFile(path, grid));
    EXPECT_EQ(
        test::ReadWholeFile(path),
        "RA,0,0\t1\tC\t/in/a.pptx\t3\t\t/out/a.pdf\t32\tpdf\t+\t\r\n"
        "DA,0,0          Find{{cat}}Replace{{dog}}\t2\tS56\t/in/*.txt\t1\tTXT\t/out/*.txt\t1\tTXT\t-\t\r\n"
        "\t*\t\t\t\t\t\t\t\t\t\r\n");

    Grid loaded{kTaskGridCols};
    JobLoadResult result = LoadJobFile(path, 1, loaded, control);
    EXPECT_EQ(result.status, JobLoadStatus::Loaded);
    CheckLoadedTasks(loaded, result);
    EXPECT_EQ(result.malformedRows, 0);
    ASSERT_EQ(loaded.Rows(), 4);
    for (int row = 1; row <= 2; ++row)
        EXPECT_EQ(loaded.RowText(row), grid.RowText(row));
    EXPECT_EQ(loaded.Cell(3, kColNumber), "*");
    EXPECT_EQ(loaded.Row(), 3);
    // The text comes back; the pictures are the opener's to restore.
    EXPECT_EQ(loaded.Mark(1, kColPass), CellMark::None);
    RestorePassMarks(loaded);
    EXPECT_EQ(loaded.Mark(1, kColPass), CellMark::Pass);
    EXPECT_EQ(loaded.Mark(2, kColPass), CellMark::Fail);
    EXPECT_FALSE(control.running) << "the running flag goes back to what the loader found";
    EXPECT_EQ(control.fileTexts.back(), "Completed loading conversion job: " + path);
}

TEST_F(JobFileTest, LoadingFromALaterLineNumbersFromThere) {
    const std::string path = Write("five.MJB", JobText(8));
    const JobLoadResult result = LoadJobFile(path, 5, grid, control);
    ASSERT_EQ(TaskCount(grid), 4);
    EXPECT_EQ(grid.Cell(1, kColOriginal), "/in/deck5.pptx");
    EXPECT_EQ(grid.Cell(1, kColNumber), "5");
    EXPECT_EQ(grid.Cell(4, kColNumber), "8");
    EXPECT_EQ(result.linesRead, 9);
}

TEST_F(JobFileTest, LfAndCrLfFilesLoadAlike) {
    Grid crlf{kTaskGridCols};
    LoadJobFile(Write("crlf.MJB", JobText(3, "\r\n")), 1, crlf);
    Grid lf{kTaskGridCols};
    LoadJobFile(Write("lf.MJB", JobText(3, "\n")), 1, lf);
    ASSERT_EQ(crlf.Rows(), 5);
    ASSERT_EQ(lf.Rows(), 5);
    for (int row = 1; row < 5; ++row)
        EXPECT_EQ(lf.RowText(row), crlf.RowText(row));
    EXPECT_EQ(lf.Cell(3, kColPass), "");
    // The last line may lack its line end.
    Grid open{kTaskGridCols};
    LoadJobFile(Write("open.MJB", TaskLine(1) + "\r\n" + TaskLine(2)), 1, open);
    EXPECT_EQ(TaskCount(open), 2);
    EXPECT_EQ(open.Cell(2, kColTargetTypeText), "pdf");
}

TEST_F(JobFileTest, LongJobLoadsInSlicesEndingWithAReloadTask) {
    const std::string path = Write("long.MJB", JobText(40000));
    JobLoadResult result = LoadJobFile(path, 1, grid, control);
    ASSERT_EQ(result.status, JobLoadStatus::Loaded);
    ASSERT_EQ(TaskCount(grid), 30000);
    EXPECT_EQ(result.tasksLoaded, 29999);
    EXPECT_EQ(grid.Cell(29999, kColOriginal), "/in/deck29999.pptx");
    const int reload = 30000;
    EXPECT_TRUE(IsReloadTaskRow(grid, reload));
    EXPECT_EQ(grid.RowText(reload),
              " \t30000\tS1\tReload conversion job start at task 30000\t0\t0\t" + path + "\t30000\t\t");
    EXPECT_GE(control.checkpoints, 29);

    clsConversionOptions record;
    ASSERT_TRUE(ReadTaskRow(record, reload, grid));
    EXPECT_TRUE(IsReloadTask(record));
    control.running = true;
    ASSERT_EQ(PerformReloadTask(record, path, grid, control), 0) << record.sErr;
    EXPECT_TRUE(control.running);
    ASSERT_EQ(TaskCount(grid), 10001); // lines 30000 … 40000
    EXPECT_EQ(grid.Cell(1, kColOriginal), "/in/deck30000.pptx");
    EXPECT_EQ(grid.Cell(1, kColNumber), "30000");
    EXPECT_EQ(grid.Cell(10001, kColOriginal), "/in/deck40000.pptx");
    EXPECT_EQ(grid.Cell(10001, kColNumber), "40000");
}

TEST_F(JobFileTest, NextSliceSeesAChangedFile) {
    const std::string path = Write("changing.MJB", JobText(30005));
    LoadJobFile(path, 1, grid);
    // The file is rewritten between slices with other tasks: the next slice reads it anew.
    std::string text;
    for (int i = 1; i <= 30010; ++i)
        text += TaskLine(100000 + i) + "\r\n";
    Write("changing.MJB", text);
    clsConversionOptions record;
    ReadTaskRow(record, 30000, grid);
    ASSERT_EQ(PerformReloadTask(record, path, grid), 0);
    EXPECT_EQ(grid.Cell(1, kColOriginal), "/in/deck130000.pptx");
}

TEST_F(JobFileTest, ReloadTaskNamingAMissingOrOtherFileFails) {
    const std::string path = Write("job.MJB", JobText(2));
    const std::string other = Write("other.MJB", JobText(2));
    clsConversionOptions record;
    record.sActionToDo = "S1";
    record.lSpecialProcess = kSpecialReloadJob;
    record.lTargetFileType = 2;

    record.sTargetFile = folder.str() + "gone.MJB";
    EXPECT_EQ(PerformReloadTask(record, path, grid), kReloadFailed);
    EXPECT_NE(record.sErr.find("does not exist"), std::string::npos);

    record.sTargetFile = other;
    EXPECT_EQ(PerformReloadTask(record, path, grid), kReloadFailed);
    EXPECT_NE(record.sErr.find("another file"), std::string::npos);

    record.sTargetFile = path;
    record.lTargetFileType = 1; // would start the same slice again, for ever
    EXPECT_EQ(PerformReloadTask(record, path, grid), kReloadFailed);

    record.lTargetFileType = 50; // past the end of the file
    EXPECT_EQ(PerformReloadTask(record, path, grid), kReloadFailed);
    EXPECT_NE(record.sErr.find("50"), std::string::npos);

    record.lTargetFileType = 2;
    EXPECT_EQ(PerformReloadTask(record, path, grid), 0);
    EXPECT_EQ(record.sErr, "");
    EXPECT_EQ(TaskCount(grid), 1);
}

TEST_F(JobFileTest, ReloadLinesInAFileAreNotTasks) {
    std::string text = TaskLine(1) + "\r\n";
    text +=
        " \t2\tS1\tReload conversion job start at task 1\t0\t0\t" + folder.str() + "loop.MJB\t1\t\t\t\r\n";
    text += TaskLine(3) + "\r\n";
    LoadJobFile(Write("loop.MJB", text), 1, grid);
    ASSERT_EQ(TaskCount(grid), 2);
    EXPECT_FALSE(IsReloadTaskRow(grid, 1));
    EXPECT_FALSE(IsReloadTaskRow(grid, 2));
}

TEST_F(JobFileTest, PauseDuringLoadKeepsTheRowsReadAndStays) {
    const std::string path = Write("pause.MJB", JobText(5000));
    control.running = true;
    control.onCheckpoint = [](test::FlagRunControl& c) {
        if (c.checkpoints == 2)
            c.running = false;
    };
    const JobLoadResult result = LoadJobFile(path, 1, grid, control);
    EXPECT_EQ(result.status, JobLoadStatus::Stopped);
    EXPECT_EQ(TaskCount(grid), 2000);
    EXPECT_EQ(grid.Cell(2000, kColNumber), "2000");
    EXPECT_FALSE(control.running) << "the run that was loading must see the Pause";

    // Without a Pause the flag is put back as it was found.
    control.running = false;
    control.onCheckpoint = nullptr;
    EXPECT_EQ(LoadJobFile(path, 1, grid, control).status, JobLoadStatus::Loaded);
    EXPECT_FALSE(control.running);
}

TEST_F(JobFileTest, PauseWhileTheNextSliceLoadsKeepsTheSliceAndItsReloadTask) {
    const std::string path = Write("paused-slice.MJB", JobText(32000));
    LoadJobFile(path, 1, grid);
    ASSERT_TRUE(IsReloadTaskRow(grid, 30000));
    clsConversionOptions record;
    ReadTaskRow(record, 30000, grid);
    control.running = true;
    control.onCheckpoint = [](test::FlagRunControl& c) { c.running = false; };
    EXPECT_EQ(PerformReloadTask(record, path, grid, control), kReloadPaused);
    EXPECT_FALSE(control.running);
    ASSERT_EQ(TaskCount(grid), 30000);
    EXPECT_TRUE(IsReloadTaskRow(grid, 30000));
    EXPECT_EQ(grid.Cell(1, kColOriginal), "/in/deck1.pptx");

    // Loading it again later brings the next slice whole.
    control.running = true;
    control.onCheckpoint = nullptr;
    ASSERT_EQ(PerformReloadTask(record, path, grid, control), 0);
    ASSERT_EQ(TaskCount(grid), 2001);
    EXPECT_EQ(grid.Cell(1, kColOriginal), "/in/deck30000.pptx");
    EXPECT_EQ(grid.Cell(2001, kColOriginal), "/in/deck32000.pptx");
}

TEST_F(JobFileTest, SavingALaterSliceWritesTheTasksBeforeItFirst) {
    const std::string path = Write("later.MJB", JobText(30003));
    LoadJobFile(path, 1, grid);
    clsConversionOptions record;
    ReadTaskRow(record, 30000, grid);
    ASSERT_EQ(PerformReloadTask(record, path, grid), 0);
    ASSERT_EQ(TaskCount(grid), 4);
    grid.SetCell(4, kColPass, "+");

    const std::string copy = folder.str() + "whole.MJB";
    int64_t earlier = 0;
    ASSERT_TRUE(WriteJobFile(copy, grid, JobSliceOrigin{path, 30000}, &earlier));
    EXPECT_EQ(earlier, 29999);
    std::string expected = JobText(30003);
    const std::string last = TaskLine(30003) + "\r\n";
    expected.replace(expected.find(last), last.size(),
                     TaskLine(30003).substr(0, TaskLine(30003).size() - 1) + "+\t\r\n");
    EXPECT_EQ(test::ReadWholeFile(copy), expected);

    // The file the earlier tasks come from must still be there: nothing is written without them.
    std::filesystem::remove(path);
    EXPECT_FALSE(WriteJobFile(folder.str() + "part.MJB", grid, JobSliceOrigin{path, 30000}));
    EXPECT_FALSE(std::filesystem::exists(folder.str() + "part.MJB"));
}

TEST_F(JobFileTest, MissingFileLeavesTheGridAlone) {
    AppendTaskRow(ConversionTask("/keep.ppt", "/keep.pdf"), grid, &component);
    EXPECT_EQ(LoadJobFile(folder.str() + "nothing.MJB", 1, grid).status, JobLoadStatus::Missing);
    EXPECT_EQ(LoadJobFile(folder.str(), 1, grid).status, JobLoadStatus::Missing);
    EXPECT_EQ(TaskCount(grid), 1);
}

// Files that are not job files, or job files edited by hand.
TEST_F(JobFileTest, MalformedFilesLoadWhatTheyCanAndSayWhy) {
    std::string binary = TaskLine(1) + "\r\n" + TaskLine(2) + "\r\n";
    binary += std::string("PK\x03\x04\0\0\x08\0garbage\r\n", 17) + TaskLine(4) + "\r\n";
    JobLoadResult result = LoadJobFile(Write("binary.MJB", binary), 1, grid);
    EXPECT_EQ(result.status, JobLoadStatus::Failed);
    EXPECT_NE(result.error.find("binary data. Line 3"), std::string::npos) << result.error;
    EXPECT_EQ(TaskCount(grid), 2);

    result =
        LoadJobFile(Write("huge.MJB", TaskLine(1) + "\n" + std::string(kMaxJobLineBytes + 10, 'x')), 1, grid);
    EXPECT_EQ(result.status, JobLoadStatus::Failed);
    EXPECT_NE(result.error.find("too long"), std::string::npos);
    EXPECT_EQ(TaskCount(grid), 1);

    std::string odd = "\xEF\xBB\xBF" + TaskLine(1) + "\n";
    odd += "\n   \n";                                              // blank lines
    odd += "just some text\n";                                     // no fields at all
    odd += "A,0,0\t2\tC\t/in/x.pptx\n";                            // missing fields
    odd += "A,0,0\t3\tC\t/a\t3\t\t/b\t32\tpdf\t\textra\tfields\n"; // extra fields are dropped
    odd += "A,0,0\t4\tS\xff\t/a\t1\t\t/b\t1\t\t\n";                // an action code that is no number
    result = LoadJobFile(Write("odd.MJB", odd), 1, grid);
    EXPECT_EQ(result.status, JobLoadStatus::Loaded);
    CheckLoadedTasks(grid, result);
    ASSERT_EQ(TaskCount(grid), 5);
    EXPECT_EQ(grid.Cell(1, kColOptions), "A,0,0") << "the byte-order mark is not part of the cell";
    EXPECT_EQ(grid.Cell(2, kColOptions), "just some text");
    EXPECT_EQ(grid.Cell(3, kColTarget), "");
    EXPECT_EQ(grid.Cell(4, kColPass), "");
    EXPECT_EQ(result.malformedRows, 3);
    EXPECT_EQ(result.firstMalformedTask, "2");
    EXPECT_NE(result.firstProblem.find("neither"), std::string::npos);

    clsConversionOptions record;
    for (int row = 2; row <= 5; ++row) {
        const bool clean = ReadTaskRow(record, row, grid);
        EXPECT_EQ(clean, row == 4) << row;
    }
}

TEST_F(JobFileTest, SavingNeverLeavesAHalfWrittenJob) {
    const std::string path = Write("keep.MJB", JobText(2));
    AppendTaskRow(ConversionTask("/a\tb.ppt", "/a.pdf"), grid, &component);
    EXPECT_FALSE(WriteJobFile(path, grid)) << "a TAB in a cell would load as another task";
    EXPECT_EQ(test::ReadWholeFile(path), JobText(2));

    InitTaskGrid(grid);
    AppendTaskRow(ConversionTask("/a.ppt", "/a.pdf"), grid, &component);
    EXPECT_FALSE(WriteJobFile(folder.str() + "no/such/folder/job.MJB", grid));
    EXPECT_FALSE(std::filesystem::exists(folder.str() + "no"));
}

TEST_F(JobFileTest, SavingASlicedJobKeepsTheTasksNotLoaded) {
    const std::string path = Write("sliced.MJB", JobText(30002));
    LoadJobFile(path, 1, grid);
    ASSERT_TRUE(IsReloadTaskRow(grid, 30000));
    grid.SetCell(1, kColTarget, "/out/changed.pdf");
    const std::string copy = folder.str() + "copy.MJB";
    ASSERT_TRUE(WriteJobFile(copy, grid));

    Grid all{kTaskGridCols};
    LoadJobFile(copy, 1, all);
    EXPECT_EQ(all.Cell(1, kColTarget), "/out/changed.pdf");
    EXPECT_EQ(all.Cell(29999, kColOriginal), "/in/deck29999.pptx");
    clsConversionOptions record;
    ReadTaskRow(record, 30000, all);
    ASSERT_EQ(PerformReloadTask(record, copy, all), 0);
    ASSERT_EQ(TaskCount(all), 3);
    EXPECT_EQ(all.Cell(3, kColOriginal), "/in/deck30002.pptx");
}

TEST_F(JobFileTest, LogEntriesBecomeTasksNumberedByLine) {
    Grid log{kLogGridCols};
    InitLogGrid(log);
    for (int i = 1; i <= 11; ++i)
        AppendLogRow(log, {"A,0,0", "7", "C", "/in/f" + std::to_string(i) + ".ppt", "3", "", "/out/f.pdf",
                           "32", "pdf", "", "failed"});
    const std::string path = folder.str() + "log.MJB";
    ASSERT_TRUE(WriteLogAsJobFile(path, log));
    const std::string text = test::ReadWholeFile(path);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "A,0,0\t1\tC\t/in/f1.ppt\t3\t\t/out/f.pdf\t32\t");

    Grid loaded{kTaskGridCols};
    JobLoadResult result = LoadJobFile(path, 1, loaded);
    CheckLoadedTasks(loaded, result);
    EXPECT_EQ(result.malformedRows, 0);
    ASSERT_EQ(TaskCount(loaded), 11) << "the empty trailing log row must not become a task";
    EXPECT_EQ(loaded.Cell(3, kColNumber), "3");
    EXPECT_EQ(loaded.Cell(11, kColOriginal), "/in/f11.ppt");
    EXPECT_EQ(loaded.Cell(11, kColTargetTypeText), "");
}

} // namespace
} // namespace slidemill
