#pragma once

#include "core/Grid.h"
#include "core/GridViewState.h"

#include <string>
#include <vector>

namespace slidemill {

// Columns 0 … 9 of the log grid are those of the task grid; this one holds the message.
inline constexpr int kColStatus = 10;
inline constexpr int kLogGridCols = 11;

bool IsHiddenLogColumn(int col);

// Header row and the trailing empty row.
void InitLogGrid(Grid& grid);
// The column alignments of a view of the log grid.
void InitLogGridView(GridViewState& view);

// Adds an entry just above the trailing empty row and returns its row.
int AppendLogRow(Grid& grid, const std::vector<std::string>& cells);

} // namespace slidemill
