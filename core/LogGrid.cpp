#include "core/LogGrid.h"

#include "core/TaskGrid.h"
#include "core/Translate.h"

namespace slidemill {

bool IsHiddenLogColumn(int col) {
    return col == kColOptions || col == kColOriginal || col == kColOriginalType ||
           col == kColOriginalTypeText || col == kColTargetType;
}

void InitLogGrid(Grid& grid) {
    grid.Reset(2);
    grid.SetCell(0, kColNumber, Translate("#"));
    grid.SetCell(0, kColAction, Translate("Do"));
    grid.SetCell(0, kColTarget, Translate("Target File"));
    grid.SetCell(0, kColTargetTypeText, Translate("Type"));
    grid.SetCell(0, kColPass, Translate("Pass"));
    grid.SetCell(0, kColStatus, Translate("Status"));
    for (int col = 0; col < grid.Cols(); ++col)
        grid.SetAlignment(col, CellAlignment::Left);
    grid.SetAlignment(kColNumber, CellAlignment::Centre);
    grid.SetAlignment(kColAction, CellAlignment::Centre);
    grid.SetAlignment(kColTargetTypeText, CellAlignment::Centre);
    grid.SetAlignment(kColPass, CellAlignment::Centre);
    grid.SetRow(1);
}

int AppendLogRow(Grid& grid, const std::vector<std::string>& cells) {
    if (grid.Rows() < 2)
        InitLogGrid(grid);
    const int row = grid.Rows() - 1;
    grid.InsertRow(row, cells);
    return row;
}

} // namespace slidemill
