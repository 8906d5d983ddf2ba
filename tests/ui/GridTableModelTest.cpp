// The item model over a core grid follows every kind of change, checked by Qt's own model tester.
#include "ui/GridTableModel.h"

#include "core/LogGrid.h"
#include "core/TaskGrid.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace slidemill {
namespace {

std::vector<std::string> TaskCells(int number, const std::string& original) {
    return {"", std::to_string(number), "C", original, "3", "Presentations", "/out/*.pdf", "32", "PDF", ""};
}

class GridTableModelTest : public ::testing::Test {
protected:
    Grid grid{kTaskGridCols};
    GridViewState view;

    void SetUp() override {
        InitTaskGrid(grid);
        InitTaskGridView(view);
    }
};

TEST_F(GridTableModelTest, FollowsInsertsRemovesResetsAndCellChanges) {
    GridTableModel model(grid, view);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    // The header row is the model's header; the new-task row is model row 0.
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), kTaskGridCols);
    EXPECT_EQ(model.headerData(kColNumber, Qt::Horizontal).toString().toStdString(),
              grid.CellText(0, kColNumber));
    EXPECT_EQ(model.data(model.index(0, kColNumber)).toString(), QStringLiteral("*"));

    grid.InsertRow(1, TaskCells(1, "/in/a.pptx"));
    grid.InsertRow(2, TaskCells(2, "/in/b.pptx"));
    ASSERT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted.at(1).at(1).toInt(), 1); // grid row 2 is model row 1
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(1, kColOriginal)).toString(), QStringLiteral("/in/b.pptx"));

    grid.SetCell(2, kColOriginal, "/in/c.pptx");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex(), model.index(1, kColOriginal));
    EXPECT_EQ(model.data(model.index(1, kColOriginal)).toString(), QStringLiteral("/in/c.pptx"));

    grid.RemoveRow(1);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(1).toInt(), 0);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, kColOriginal)).toString(), QStringLiteral("/in/c.pptx"));

    // A load of many rows is one reset, not one insert per row.
    inserted.clear();
    {
        Grid::ResetScope scope(grid);
        grid.Reset(1);
        for (int i = 1; i <= 500; ++i)
            grid.InsertRow(i, TaskCells(i, "/in/deck" + std::to_string(i) + ".pptx"));
        grid.InsertRow(501, {"", kNewTaskMark});
    }
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(model.rowCount(), 501);
    EXPECT_EQ(model.data(model.index(499, kColOriginal)).toString(), QStringLiteral("/in/deck500.pptx"));

    // Assigning another grid keeps the view's model and tells it.
    Grid empty(kTaskGridCols);
    InitTaskGrid(empty);
    grid = empty;
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(model.rowCount(), 1);
}

TEST_F(GridTableModelTest, MarksShowAPictureInsteadOfTheirText) {
    grid.InsertRow(1, TaskCells(1, "/in/a.pptx"));
    grid.InsertRow(2, TaskCells(2, "/in/b.pptx"));
    GridTableModel model(grid, view);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    UpdatePassedCell(grid, 1, 0);
    UpdatePassedCell(grid, 2, 5);
    EXPECT_GE(changed.count(), 2);
    const QModelIndex pass = model.index(0, kColPass);
    const QModelIndex fail = model.index(1, kColPass);
    // The grid keeps "+" and "-" for the job file; the view shows only the pictures.
    EXPECT_EQ(grid.CellText(1, kColPass), "+");
    EXPECT_TRUE(model.data(pass, Qt::DisplayRole).toString().isEmpty());
    EXPECT_TRUE(model.data(fail, Qt::DisplayRole).toString().isEmpty());
    const QIcon passIcon = model.data(pass, Qt::DecorationRole).value<QIcon>();
    const QIcon failIcon = model.data(fail, Qt::DecorationRole).value<QIcon>();
    ASSERT_FALSE(passIcon.isNull());
    ASSERT_FALSE(failIcon.isNull());
    EXPECT_NE(passIcon.pixmap(16).toImage(), failIcon.pixmap(16).toImage());
    EXPECT_FALSE(model.data(model.index(0, kColOriginal), Qt::DecorationRole).isValid());

    // A rewind takes the marks away again.
    grid.SetMark(1, kColPass, CellMark::None);
    grid.SetCell(1, kColPass, "");
    EXPECT_FALSE(model.data(pass, Qt::DecorationRole).isValid());
    EXPECT_TRUE(model.data(pass, Qt::DisplayRole).toString().isEmpty());
}

TEST_F(GridTableModelTest, AlignmentAndCurrentRowComeFromTheViewStateAndTheGrid) {
    grid.InsertRow(1, TaskCells(1, "/in/a.pptx"));
    view.SetAlignment(kColNumber, CellAlignment::Centre);
    view.SetAlignment(kColOriginal, CellAlignment::Left);
    GridTableModel model(grid, view);
    const auto alignment = [&](int col) {
        return model.data(model.index(0, col), Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    EXPECT_TRUE(alignment(kColNumber) & Qt::AlignHCenter);
    EXPECT_TRUE(alignment(kColOriginal) & Qt::AlignLeft);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    QSignalSpy rowChanged(&model, &GridTableModel::gridRowChanged);
    grid.SetRow(2);
    ASSERT_EQ(rowChanged.count(), 1);
    EXPECT_EQ(rowChanged.at(0).at(0).toInt(), 1);
}

TEST(GridTableModelLogTest, LogRowsAppendAboveTheTrailingRow) {
    Grid log(kLogGridCols);
    GridViewState view;
    InitLogGrid(log);
    InitLogGridView(view);
    GridTableModel model(log, view);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int before = model.rowCount();
    std::vector<std::string> cells(kLogGridCols);
    cells[kColOriginal] = "/in/broken.pptx";
    cells[kColStatus] = "cannot read the deck";
    const int row = AppendLogRow(log, cells);
    EXPECT_EQ(model.rowCount(), before + 1);
    EXPECT_EQ(model.data(model.index(GridTableModel::ModelRow(row), kColStatus)).toString(),
              QStringLiteral("cannot read the deck"));
}

} // namespace
} // namespace slidemill
