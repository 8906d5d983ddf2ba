#include "core/LogGrid.h"

#include "core/TaskGrid.h"
#include "core/Translate.h"

namespace slidemill {

bool IsHiddenLogColumn(int col) {
    return col == kColOptions || col == kColOriginal || col == kColOriginalType ||
           col == kColOriginalTypeText || col == kColTargetType;
}

void InitLogGrid(Grid& grid) {
    const Grid::ResetScope clear(grid);
    grid.Reset(2);
    grid.SetCell(0, kColNumber, Translate("#"));
    grid.SetCell(0, kColAction, Translate("Do"));
    grid.SetCell(0, kColTarget, Translate("Target File"));
    grid.SetCell(0, kColTargetTypeText, Translate("Type"));
    grid.SetCell(0, kColPass, Translate("Pass"));
    grid.SetCell(0, kColStatus, Translate("Status"));
    grid.SetRow(1);
}

void InitLogGridView(GridViewState& view) {
    for (int col = 0; col < kLogGridCols; ++col)
        view.SetAlignment(col, CellAlignment::Left);
    for (int col : {kColNumber, kColAction, kColTargetTypeText, kColPass})
        view.SetAlignment(col, CellAlignment::Centre);
}

int AppendLogRow(Grid& grid, const std::vector<std::string>& cells) {
    if (grid.Rows() < 2)
        InitLogGrid(grid);
    const int row = grid.Rows() - 1;
    grid.InsertRow(row, cells);
    return row;
}

} // namespace slidemill
