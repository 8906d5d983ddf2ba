#pragma once

#include "core/ConversionOptions.h"
#include "core/Grid.h"
#include "core/GridViewState.h"

#include <string>

namespace slidemill {

class ConversionComponent;
class RunControl;

// Columns of the task grid fgToDo (and, up to column 9, of the log grid fgLog).
inline constexpr int kColOptions = 0;
inline constexpr int kColNumber = 1;
inline constexpr int kColAction = 2;
inline constexpr int kColOriginal = 3;
inline constexpr int kColOriginalType = 4;
inline constexpr int kColOriginalTypeText = 5;
inline constexpr int kColTarget = 6;
inline constexpr int kColTargetType = 7;
inline constexpr int kColTargetTypeText = 8;
inline constexpr int kColPass = 9;
inline constexpr int kTaskGridCols = 10;

inline constexpr const char* kNewTaskMark = "*";

// Columns a view shows with width 0: they carry data the user never reads.
bool IsHiddenTaskColumn(int col);

// Header row and the new-task row as the only other row (current and selected).
void InitTaskGrid(Grid& grid);
// The column alignments of a view of the task grid.
void InitTaskGridView(GridViewState& view);
// Number of tasks: every row but the header and the new-task row.
int TaskCount(const Grid& grid);
bool IsTaskRow(const Grid& grid, int row);

// The text of the original and target type columns for a record.
std::string OriginalTypeText(const clsConversionOptions& record, ConversionComponent* component);
std::string TargetTypeText(const clsConversionOptions& record, ConversionComponent* component);

// Adds the record as a task just above the new-task row; the new row becomes current and is
// selected whole. Returns the new row.
int AppendTaskRow(const clsConversionOptions& record, Grid& grid, ConversionComponent* component);

// Fills record from task row `row`; row 0 and the new-task row change nothing. Fields the row
// does not carry keep their values (a runner reuses one record for every task). Returns false,
// with a description in problem, when a cell does not follow the grammar: the task must then
// not run, since part of it would be taken from the task read before. A number that does not
// parse keeps the record's value, except a type code, which becomes "no type chosen"; an
// action code that does not parse becomes special process 0, which nothing runs.
// A type cell left empty also fails (the writers always fill it), except for a launch task.
bool ReadTaskRow(clsConversionOptions& record, int row, Grid& grid, std::string* problem = nullptr);
// The same without making the row current.
bool ReadTaskCells(clsConversionOptions& record, int row, const Grid& grid, std::string* problem = nullptr);

// What a runner reports for a task row that ReadTaskRow could not read.
inline constexpr int32_t kMalformedTaskRow = -22;

// Removes task row n and renumbers the tasks 1, 2, 3 …; false (and nothing changed) for the
// header, the new-task row or a row outside the grid.
bool RemoveAllFilesWithJobNumber(Grid& grid, int n);

// "+" for result 0, "-" otherwise, shown as the pass or fail picture; the row becomes current
// and selected whole, the view (when given) is asked to show it, and pending window messages
// run (when control is given).
void UpdatePassedCell(Grid& grid, int row, int32_t result, RunControl* control = nullptr,
                      GridViewState* view = nullptr);

// Shows the picture of every "+" or "-" pass cell, as a job file stores only the text.
void RestorePassMarks(Grid& grid);

} // namespace slidemill
