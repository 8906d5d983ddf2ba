#include "run/RunLogRows.h"

#include "core/FileTypes.h"
#include "core/JobFile.h"
#include "core/LogGrid.h"
#include "core/OptionsCell.h"
#include "core/TaskGrid.h"
#include "core/Translate.h"

#include <string>
#include <vector>

namespace slidemill {

namespace {

// The task row of a job number; a sliced job numbers its rows within the slice.
int TaskRowOf(int32_t lJobNumber) {
    return lJobNumber % kJobSliceTasks;
}

bool AllDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The "#" of an entry is the task's own number, which goes on counting across the slices of a
// long job; the row index alone would restart at 1 in every slice.
std::string TaskNumberText(const Grid& tasks, int32_t lJobNumber) {
    const int row = TaskRowOf(lJobNumber);
    if (IsTaskRow(tasks, row) && AllDigits(tasks.Cell(row, kColNumber)))
        return std::string(tasks.Cell(row, kColNumber));
    return std::to_string(lJobNumber);
}

// The options of the task row; a task that is not in the grid (one run from the command
// line) gives its own, so that the entry saved as a job runs it the same way.
std::string OptionsText(const Grid& tasks, int32_t lJobNumber, const clsConversionOptions& coBlock) {
    const int row = TaskRowOf(lJobNumber);
    if (IsTaskRow(tasks, row))
        return std::string(tasks.Cell(row, kColOptions));
    return BuildOptionsCell(coBlock);
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

int AppendEntry(Grid& log, const Grid& tasks, int32_t lJobNumber, const clsConversionOptions& coBlock,
                const std::string& originalText, const std::string& targetText, const std::string& status,
                int32_t mark) {
    try {
        const std::vector<std::string> cells{OptionsText(tasks, lJobNumber, coBlock),
                                             TaskNumberText(tasks, lJobNumber),
                                             coBlock.sActionToDo,
                                             coBlock.sOriginalFile,
                                             std::to_string(coBlock.lOriginalFileType),
                                             originalText,
                                             coBlock.sTargetFile,
                                             std::to_string(coBlock.lTargetFileType),
                                             targetText,
                                             "",
                                             status};
        const int row = AppendLogRow(log, cells);
        UpdatePassedCell(log, row, mark);
        return row;
    } catch (...) {
        // A log entry that cannot be added must not end the run.
        return 0;
    }
}

} // namespace

int AppendFailureRow(Grid& log, const Grid& tasks, int32_t lJobNumber, const clsConversionOptions& coBlock,
                     bool keepLineBreaks, ConversionComponent* component) {
    std::string targetText;
    std::string originalText;
    try {
        // A special process read from a job file may still carry the conversion method of the
        // record it was read into: its types are its own, never the renderer's.
        const int32_t method =
            IsSpecialAction(coBlock.sActionToDo) ? kMethodSpecial : coBlock.lConversionMethod;
        targetText = TypeCodeToText(coBlock.lTargetFileType, false, method, component);
        if (method == kMethodComponent)
            originalText = TypeCodeToText(coBlock.lOriginalFileType, false, kMethodComponent, component);
    } catch (...) {
        // The entry is still worth having without its type texts.
    }
    return AppendEntry(log, tasks, lJobNumber, coBlock, originalText, targetText,
                       keepLineBreaks ? coBlock.sErr : OneLine(coBlock.sErr), -1);
}

int AppendExitCodeRow(Grid& log, const Grid& tasks, int32_t lJobNumber, const clsConversionOptions& coBlock) {
    return AppendEntry(log, tasks, lJobNumber, coBlock, "", "",
                       Translate("Exit Code: ") + std::to_string(coBlock.lCommandLineExitCode), 0);
}

} // namespace slidemill
