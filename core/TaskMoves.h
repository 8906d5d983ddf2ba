#pragma once

#include "core/Grid.h"

namespace slidemill {

enum class MoveKind { Up, Down, First, Last };

// The row a move of the selected task goes to (Up: RowSel - 1, Down: RowSel + 1, First: 1,
// Last: Rows - 2).
int MoveTarget(const Grid& grid, MoveKind kind);

// Moves the selected task row to row t: the rows between shift by one towards the old place
// and the task numbers (column 1) stay 1..n in order. Nothing happens (false) for an empty grid,
// t = 0 or t >= Rows - 1. The current row becomes t, selected whole.
bool MoveGridRow(Grid& grid, int t);

} // namespace slidemill
