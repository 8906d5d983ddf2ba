#include "core/TaskGrid.h"

#include "core/FileTypes.h"
#include "core/OptionsCell.h"
#include "core/RunControl.h"
#include "core/Translate.h"

#include <vector>

namespace slidemill {

namespace {

bool IsSpecialRecord(const clsConversionOptions& record) {
    return IsSpecialAction(record.sActionToDo);
}

std::string ActionText(const clsConversionOptions& record) {
    if (IsSpecialRecord(record))
        return "S" + std::to_string(record.lSpecialProcess);
    return record.sActionToDo.empty() ? "C" : record.sActionToDo;
}

// A type cell: empty keeps the record's value, a number that does not parse means no type,
// so that the task fails validation instead of running with the type of the task before.
bool ReadTypeCell(std::string_view cell, int32_t& type) {
    if (cell.empty())
        return true;
    if (ParseCellNumber(cell, type))
        return true;
    type = kNoFileType;
    return false;
}

} // namespace

bool IsHiddenTaskColumn(int col) {
    return col == kColOptions || col == kColOriginalType || col == kColTargetType;
}

void InitTaskGrid(Grid& grid) {
    const Grid::ResetScope clear(grid);
    grid.Reset(2);
    grid.SetCell(0, kColNumber, Translate("#"));
    grid.SetCell(0, kColAction, Translate("Do"));
    grid.SetCell(0, kColOriginal, Translate("Original File(s)"));
    grid.SetCell(0, kColOriginalTypeText, Translate("Type"));
    grid.SetCell(0, kColTarget, Translate("Target File(s)"));
    grid.SetCell(0, kColTargetTypeText, Translate("Type"));
    grid.SetCell(0, kColPass, Translate("Pass"));
    grid.SetCell(1, kColNumber, kNewTaskMark);
    grid.SetRow(1);
    grid.SelectWholeRow();
}

void InitTaskGridView(GridViewState& view) {
    for (int col = 0; col < kTaskGridCols; ++col)
        view.SetAlignment(col, CellAlignment::Left);
    for (int col : {kColNumber, kColAction, kColOriginalTypeText, kColTargetTypeText, kColPass})
        view.SetAlignment(col, CellAlignment::Centre);
}

int TaskCount(const Grid& grid) {
    return grid.Rows() >= 2 ? grid.Rows() - 2 : 0;
}

bool IsTaskRow(const Grid& grid, int row) {
    return row >= 1 && row <= grid.Rows() - 2;
}

std::string OriginalTypeText(const clsConversionOptions& record, ConversionComponent* component) {
    if (IsSpecialRecord(record))
        return TypeCodeToText(record.lOriginalFileType, false, kMethodSpecial, nullptr);
    if (record.lConversionMethod == kMethodFromPdf)
        return "PDF";
    return TypeCodeToText(record.lOriginalFileType, false, record.lConversionMethod, component);
}

std::string TargetTypeText(const clsConversionOptions& record, ConversionComponent* component) {
    if (IsSpecialRecord(record))
        return TypeCodeToText(record.lTargetFileType, false, kMethodSpecial, nullptr);
    return TypeCodeToText(record.lTargetFileType, false, record.lConversionMethod, component);
}

int AppendTaskRow(const clsConversionOptions& record, Grid& grid, ConversionComponent* component) {
    if (grid.Rows() < 2 || grid.Cell(1, kColNumber).empty())
        InitTaskGrid(grid);
    const int row = grid.Rows() - 1;
    // The cells go in one by one: a TAB inside a file name must not shift the columns.
    grid.InsertRow(row, {BuildOptionsCell(record), std::to_string(row), ActionText(record),
                         record.sOriginalFile, std::to_string(record.lOriginalFileType),
                         OriginalTypeText(record, component), record.sTargetFile,
                         std::to_string(record.lTargetFileType), TargetTypeText(record, component)});
    grid.SetRow(row);
    grid.SelectWholeRow();
    return row;
}

bool ReadTaskRow(clsConversionOptions& record, int row, Grid& grid, std::string* problem) {
    if (!IsTaskRow(grid, row))
        return true;
    grid.SetRow(row);
    return ReadTaskCells(record, row, grid, problem);
}

bool ReadTaskCells(clsConversionOptions& record, int row, const Grid& grid, std::string* problem) {
    if (!IsTaskRow(grid, row))
        return true;
    bool clean = true;
    auto fail = [&](const std::string& text) {
        clean = false;
        if (problem && problem->empty())
            *problem = text;
    };

    const std::string action(grid.Cell(row, kColAction));
    record.sActionToDo = action;
    if (IsSpecialAction(action)) {
        std::string digits;
        for (char ch : action)
            if (ch != 'S')
                digits += ch;
        int32_t code = 0;
        if (!ParseCellNumber(digits, code)) {
            code = 0;
            fail("the special process code \"" + action + "\" is not a number");
        }
        record.lSpecialProcess = code;
    } else if (!IsConversionAction(action)) {
        fail("the action \"" + action + "\" is neither a conversion nor a special process");
    }

    std::string cellProblem;
    if (!ReadOptionsCell(grid.Cell(row, kColOptions), action, record, &cellProblem))
        fail(cellProblem);

    const bool launch = IsSpecialAction(action) && record.lSpecialProcess == kSpecialLaunch;
    record.sOriginalFile = std::string(grid.Cell(row, kColOriginal));
    const std::string_view originalType = grid.Cell(row, kColOriginalType);
    if (!ReadTypeCell(originalType, record.lOriginalFileType))
        fail("the original type is not a number");
    else if (originalType.empty() && !launch)
        fail("the original type is missing");
    record.sTargetFile = std::string(grid.Cell(row, kColTarget));
    const std::string_view targetType = grid.Cell(row, kColTargetType);
    if (!ReadTypeCell(targetType, record.lTargetFileType))
        fail("the target type is not a number");
    else if (targetType.empty() && !launch)
        fail("the target type is missing");
    return clean;
}

bool RemoveAllFilesWithJobNumber(Grid& grid, int n) {
    if (!IsTaskRow(grid, n))
        return false;
    grid.RemoveRow(n);
    for (int row = 1; row <= grid.Rows() - 2; ++row)
        grid.SetCell(row, kColNumber, std::to_string(row));
    return true;
}

void UpdatePassedCell(Grid& grid, int row, int32_t result, RunControl* control, GridViewState* view) {
    if (row < 1 || row >= grid.Rows())
        return;
    grid.SetCell(row, kColPass, result == 0 ? "+" : "-");
    grid.SetMark(row, kColPass, result == 0 ? CellMark::Pass : CellMark::Fail);
    grid.SetRow(row);
    if (view)
        view->RequestScroll(row, row < 3 ? 1 : row - 2);
    grid.SelectWholeRow();
    if (control)
        control->Checkpoint();
}

void RestorePassMarks(Grid& grid) {
    for (int row = 1; row < grid.Rows(); ++row) {
        const std::string_view pass = grid.Cell(row, kColPass);
        grid.SetMark(row, kColPass,
                     pass == "+"   ? CellMark::Pass
                     : pass == "-" ? CellMark::Fail
                                   : CellMark::None);
    }
}

} // namespace slidemill
