#include "core/TaskMoves.h"

#include "core/TaskGrid.h"

#include <string>
#include <vector>

namespace slidemill {

int MoveTarget(const Grid& grid, MoveKind kind) {
    switch (kind) {
    case MoveKind::Up:
        return grid.RowSel() - 1;
    case MoveKind::Down:
        return grid.RowSel() + 1;
    case MoveKind::First:
        return 1;
    case MoveKind::Last:
        return grid.Rows() - 2;
    }
    return 0;
}

bool MoveGridRow(Grid& grid, int t) {
    const int rows = grid.Rows();
    const int from = grid.RowSel();
    // Neither the header nor the new-task row ever moves, and nothing moves onto them.
    if (rows <= 2 || t <= 0 || t >= rows - 1 || from <= 0 || from >= rows - 1)
        return false;
    if (t != from) {
        std::vector<std::string> moved(grid.Cols());
        for (int col = 0; col < grid.Cols(); ++col)
            moved[col] = grid.CellText(from, col);
        const std::vector<CellMark> marks = [&] {
            std::vector<CellMark> m(grid.Cols());
            for (int col = 0; col < grid.Cols(); ++col)
                m[col] = grid.Mark(from, col);
            return m;
        }();
        const int step = t < from ? -1 : 1;
        // The rows between shift one place towards the old one; the task number stays put so
        // the numbering still reads 1..n from the top.
        for (int row = from; row != t; row += step) {
            for (int col = 0; col < grid.Cols(); ++col) {
                if (col == kColNumber)
                    continue;
                grid.SetCell(row, col, grid.Cell(row + step, col));
                grid.SetMark(row, col, grid.Mark(row + step, col));
            }
        }
        for (int col = 0; col < grid.Cols(); ++col) {
            if (col == kColNumber)
                continue;
            grid.SetCell(t, col, moved[col]);
            grid.SetMark(t, col, marks[col]);
        }
    }
    grid.SetRow(t);
    grid.SelectWholeRow();
    return true;
}

} // namespace slidemill
