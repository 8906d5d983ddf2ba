#include "GridTestSupport.h"
#include "core/Grid.h"
#include "core/JobDocument.h"
#include "core/TaskGrid.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace slidemill {
namespace {

using ::testing::ElementsAre;

// Writes down every notification with the number of rows the grid has at that moment, which
// tells an announcement made before the change from one made after it.
class RecordingObserver : public GridObserver {
public:
    explicit RecordingObserver(const Grid& grid) : grid_(grid) {}
    std::vector<std::string> calls;

    void GridAboutToReset() override { Add("about-to-reset"); }
    void GridReset() override { Add("reset"); }
    void RowsAboutToBeInserted(int first, int count) override { Add("about-to-insert", first, count); }
    void RowsInserted(int first, int count) override { Add("inserted", first, count); }
    void RowsAboutToBeRemoved(int first, int count) override { Add("about-to-remove", first, count); }
    void RowsRemoved(int first, int count) override { Add("removed", first, count); }
    void CellChanged(int row, int col) override { Add("cell", row, col); }
    void CurrentRowChanged(int row) override { Add("current", row); }

private:
    void Add(const std::string& what, int a = -1, int b = -1) {
        std::string call = what;
        if (a >= 0)
            call += " " + std::to_string(a);
        if (b >= 0)
            call += " " + std::to_string(b);
        calls.push_back(call + " rows=" + std::to_string(grid_.Rows()));
    }
    const Grid& grid_;
};

TEST(GridObserver, RowChangesArriveAsPairsAroundTheChange) {
    Grid grid(3);
    grid.Reset(3); // header and two rows
    RecordingObserver seen(grid);
    grid.SetObserver(&seen);

    grid.InsertRow(2, {"a", "b", "c"});
    grid.InsertRowText(99, "x\ty\tz"); // past the end: becomes the last row
    grid.SetCell(1, 2, "changed");
    grid.SetMark(1, 2, CellMark::Pass);
    grid.RemoveRow(2);
    grid.RemoveRow(0); // the header stays, and nothing is announced
    grid.RemoveRow(grid.Rows());
    grid.SetCell(grid.Rows(), 0, "outside");

    EXPECT_THAT(seen.calls,
                ElementsAre("about-to-insert 2 1 rows=3", "inserted 2 1 rows=4", "about-to-insert 4 1 rows=4",
                            "inserted 4 1 rows=5", "cell 1 2 rows=5", "cell 1 2 rows=5",
                            "about-to-remove 2 1 rows=5", "removed 2 1 rows=4"));
    EXPECT_EQ(grid.RowText(3), "x\ty\tz");
    grid.SetObserver(nullptr);
}

TEST(GridObserver, ResetsAndNestedBulkChangesSendOnePair) {
    Grid grid(3);
    RecordingObserver seen(grid);
    grid.SetObserver(&seen);

    grid.Reset(4);
    EXPECT_THAT(seen.calls, ElementsAre("about-to-reset rows=1", "reset rows=4"));

    seen.calls.clear();
    grid.BeginReset();
    grid.InsertRow(1, {"a"});
    {
        const Grid::ResetScope inner(grid);
        grid.Reset(2);
        grid.InsertRowText(1, "b\tc");
        grid.SetCell(1, 0, "d");
    }
    grid.RemoveRow(1);
    grid.SetRow(1);
    EXPECT_THAT(seen.calls, ElementsAre("about-to-reset rows=4")) << "the inner scope ended the reset early";
    grid.EndReset();
    EXPECT_THAT(seen.calls, ElementsAre("about-to-reset rows=4", "reset rows=2"));

    // An unmatched end is ignored rather than ending the next reset early.
    seen.calls.clear();
    grid.EndReset();
    grid.SetCell(1, 1, "e");
    EXPECT_THAT(seen.calls, ElementsAre("cell 1 1 rows=2"));
    grid.SetObserver(nullptr);
}

TEST(GridObserver, AssignmentIsOneResetAndTheObserverStaysWithItsGrid) {
    Grid source(3);
    source.Reset(5);
    Grid grid(3);
    RecordingObserver seen(grid);
    grid.SetObserver(&seen);

    grid = source;
    EXPECT_THAT(seen.calls, ElementsAre("about-to-reset rows=1", "reset rows=5"));

    // The copy does not take the observer along, and the grid still tells it about changes.
    seen.calls.clear();
    Grid copy(grid);
    copy.SetCell(1, 0, "copy");
    grid.SetCell(1, 0, "grid");
    EXPECT_THAT(seen.calls, ElementsAre("cell 1 0 rows=5"));
    grid.SetObserver(nullptr);
}

TEST(GridObserver, ClearingTheTaskGridIsOneReset) {
    Grid grid(kTaskGridCols);
    InitTaskGrid(grid);
    for (int i = 0; i < 50; ++i)
        grid.InsertRowText(grid.Rows() - 1, " \t1\tC\t/in/a.ppt\t3\t\t/out/a.pdf\t32\tpdf\t+");
    RecordingObserver seen(grid);
    grid.SetObserver(&seen);

    InitTaskGrid(grid);
    EXPECT_THAT(seen.calls, ElementsAre("about-to-reset rows=52", "reset rows=2"));
    grid.SetObserver(nullptr);
}

TEST(GridObserver, LoadingAFullSliceIsOneResetNotOneCallPerRow) {
    test::TempFolder folder("gridload");
    const std::string path = folder.str() + "big.MJB";
    {
        std::ofstream out(path, std::ios::binary);
        // Every task already has its result, so the load also puts back a pass picture per row.
        for (int i = 1; i <= kJobSliceTasks; ++i)
            out << "RA,0,0\t" << i << "\tC\t/in/" << i << ".pptx\t3\t\t/out/" << i
                << ".pdf\t32\tpdf\t+\t\r\n";
    }
    test::AnsweringPrompt prompt;
    test::FlagRunControl control;
    JobDocument document(prompt, control);
    RecordingObserver seen(document.fgToDo);
    document.fgToDo.SetObserver(&seen);

    ASSERT_TRUE(document.ConversionJobOpen(path));
    const int rows = document.fgToDo.Rows();
    ASSERT_GT(rows, kJobSliceTasks);
    EXPECT_EQ(document.fgToDo.Mark(kJobSliceTasks / 2, kColPass), CellMark::Pass);
    // After the reset only the current row is set, as the view then must follow it.
    EXPECT_THAT(seen.calls, ElementsAre("about-to-reset rows=2", "reset rows=" + std::to_string(rows),
                                        "current 1 rows=" + std::to_string(rows)));

    // The next slice, loaded by the reload task, is one reset as well.
    seen.calls.clear();
    clsConversionOptions reload;
    ASSERT_TRUE(ReadTaskCells(reload, rows - 2, document.fgToDo));
    ASSERT_TRUE(IsReloadTask(reload));
    ASSERT_EQ(document.PerformReloadTask(reload), 0) << reload.sErr;
    ASSERT_EQ(seen.calls.size(), 2u);
    EXPECT_EQ(seen.calls[0], "about-to-reset rows=" + std::to_string(rows));
    EXPECT_EQ(seen.calls[1], "reset rows=" + std::to_string(document.fgToDo.Rows()));
    document.fgToDo.SetObserver(nullptr);
}

} // namespace
} // namespace slidemill
