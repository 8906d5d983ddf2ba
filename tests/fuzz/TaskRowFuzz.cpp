// Reads arbitrary text as a task row: nothing may crash, and what reads cleanly must read the
// same after it has been written back by the grid's own writer.
#include "core/ConversionOptions.h"
#include "core/FileTypes.h"
#include "core/OptionsCell.h"
#include "core/TaskGrid.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace slidemill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Grid grid(kTaskGridCols);
    InitTaskGrid(grid);
    grid.InsertRowText(1, text);
    if (grid.Rows() != 3 || grid.Cols() != kTaskGridCols)
        std::abort();

    clsConversionOptions record;
    std::string problem;
    const bool clean = ReadTaskRow(record, 1, grid, &problem);
    if (!clean && problem.empty())
        std::abort();

    for (const char* action : {"C", "S56", "S60", "S50", "S1", ""}) {
        clsConversionOptions other;
        other.lSpecialProcess = action[0] == 'S' ? std::atoi(action + 1) : 0;
        ReadOptionsCell(grid.Cell(1, kColOptions), action, other, nullptr);
    }

    if (clean && IsConversionAction(record.sActionToDo)) {
        Grid again(kTaskGridCols);
        InitTaskGrid(again);
        AppendTaskRow(record, again, nullptr);
        clsConversionOptions reread;
        if (!ReadTaskRow(reread, 1, again, nullptr))
            std::abort();
        if (reread.bDoSubfolders != record.bDoSubfolders ||
            reread.bSaveInOriginalFolder != record.bSaveInOriginalFolder ||
            reread.lConversionMethod != record.lConversionMethod ||
            reread.bConvertAllSlides != record.bConvertAllSlides ||
            reread.bCreateFileForEachSlide != record.bCreateFileForEachSlide ||
            (!record.bConvertAllSlides &&
             (reread.lFromSlide != record.lFromSlide || reread.lToSlide != record.lToSlide)) ||
            reread.sOriginalFile != record.sOriginalFile || reread.sTargetFile != record.sTargetFile ||
            reread.lOriginalFileType != record.lOriginalFileType ||
            reread.lTargetFileType != record.lTargetFileType)
            std::abort();
    }
    return 0;
}
