#include "run/JobRunner.h"

#include "core/ConversionComponent.h"
#include "core/FileTypes.h"
#include "core/JobFile.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "run/ConversionStep.h"
#include "run/Elapsed.h"
#include "run/RunLogRows.h"
#include "run/SpecialProcessor.h"
#include "settings/Paths.h"

#include <exception>
#include <string>

namespace slidemill {

namespace {

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// A reload task that failed left its row as it was when the grid still holds that task; a
// load that broke off part-way has already replaced the grid, and the row is another task.
bool StillTheReloadRow(const Grid& grid, int row, const clsConversionOptions& record) {
    return IsReloadTaskRow(grid, row) && grid.Cell(row, kColTarget) == record.sTargetFile;
}

} // namespace

bool RunsInShardedRun(const clsConversionOptions& task) {
    return !IsSpecialAction(task.sActionToDo) ||
           (task.lSpecialProcess != kSpecialAppend && task.lSpecialProcess != kSpecialLaunch);
}

std::string NotInShardedRunMessage() {
    return Translate("Appending files and launching programs cannot be split into shards: the order "
                     "they depend on would be lost. Run this job without --shard.");
}

void JobRunner::SetShard(std::optional<ShardSpec> shard) {
    context_.shard = shard;
    context_.shardFiles.clear();
}

int FindStartPoint(const Grid& grid) {
    const int last = grid.Rows() - 1;
    for (int row = 1; row < last; ++row)
        if (grid.Cell(row, kColPass).empty())
            return row;
    return last < 1 ? 1 : last;
}

JobRunner::JobRunner(JobDocument& document, RunState& state, ConversionComponent& component,
                     PdfStage& pdfStage, Prompt& prompt, RunHost& host, RunStatus& status)
    : document_(document), state_(state), component_(component), prompt_(prompt), host_(host),
      status_(status), context_{component, state, *this, pdfStage} {}

bool JobRunner::bCheckToUpdateDirtyConversionItem() {
    if (state_.Running())
        return true;
    const Grid& grid = document_.fgToDo;
    const bool onTask =
        grid.Cell(grid.Row(), kColNumber) != kNewTaskMark && grid.Cell(1, kColNumber) != kNewTaskMark;
    if (!onTask || !host_.EditorDirty()) {
        host_.ClearEditorDirty();
        return true;
    }
    PromptAnswer answer = PromptAnswer::Yes;
    // With a single task there is nothing the change could be confused with.
    if (grid.Rows() >= 4)
        answer = prompt_.Ask(
            Translate("You've changed the current conversion item #") + std::to_string(grid.Row()) + "\r\r" +
                Translate("Do you want to update your changes?"),
            Translate("Update Conversion Item"), PromptButtons::YesNoCancel, PromptIcon::Question);
    switch (answer) {
    case PromptAnswer::Yes:
        // A change that does not validate stays in the editor; running the old row instead
        // would not be what the user just asked for.
        return host_.UpdateCurrentRowFromEditor();
    case PromptAnswer::No:
        host_.ClearEditorDirty();
        return true;
    default:
        return false;
    }
}

bool JobRunner::ReadyToBegin() {
    const bool scheduler = host_.SchedulerEnabled();
    if (!scheduler && !document_.bCommandLineMode && !bCheckToUpdateDirtyConversionItem())
        return false;
    if (host_.WindowVisible() && !scheduler) {
        if (TaskCount(document_.fgToDo) == 0 && !host_.AddEditorTask())
            return false;
        if (TaskCount(document_.fgToDo) == 1)
            RewindJob();
    }
    return true;
}

RunEnd JobRunner::ConversionJobBegin() {
    // The window, the scheduler and an automation call can all ask; a second run inside the
    // first would run the same tasks twice and mark rows of a grid that is changing under it.
    if (state_.Running())
        return RunEnd::Busy;
    blink_.Stop(status_);
    status_.SetStatePicture(StatePicture::None);
    state_.SetStatusText(StatusPanel::State, "");
    if (!ReadyToBegin())
        return RunEnd::Cancelled;

    Grid& tasks = document_.fgToDo;
    state_.SetRunning(true);
    host_.SetSuppressControlEvents(true);
    host_.MenusChanged();
    InitLogGrid(document_.fgLog);

    int start = FindStartPoint(tasks);
    int count = TaskCount(tasks);
    if (document_.bCommandLineMode) {
        start = 1;
    } else if (start > count) {
        RewindJob();
        start = 1;
    }
    state_.SetStatusText(StatusPanel::State, Translate("Working") + "...");
    state_.SetStatusText(StatusPanel::Elapsed, "");
    context_.lTotalTimeStart = MonotonicMilliseconds();
    // The renderer starts while the first tasks read and list their files.
    for (int row = start; row <= count; ++row) {
        if (IsConversionAction(std::string(tasks.Cell(row, kColAction)))) {
            component_.BeginStartUp(1);
            break;
        }
    }

    clsConversionOptions record;
    RunEnd end = RunEnd::Completed;
    for (int row = start; row <= count && row <= TaskCount(tasks);) {
        state_.SetStatusText(StatusPanel::TaskNumber, std::to_string(row));
        bool reload = false;
        const int32_t result = RunTaskRow(row, record, reload);
        if (reload && result == kReloadPaused) {
            // The grid still holds this slice and its unmarked reload task: Begin goes on there.
            end = RunEnd::Paused;
            break;
        }
        if (reload && result != 0) {
            // The rest of the job cannot be reached; running on would mean running the wrong tasks.
            if (StillTheReloadRow(tasks, row, record))
                UpdatePassedCell(tasks, row, result, &state_, &document_.toDoView);
            end = RunEnd::Stopped;
            break;
        }
        // A task whose file list a Pause cut short keeps its empty pass cell: the next begin
        // resumes it where it stopped instead of passing over the files it never reached.
        const bool unfinished = context_.bFileListCutShort;
        if (!reload && !unfinished)
            UpdatePassedCell(tasks, row, result, &state_, &document_.toDoView);
        if (!unfinished)
            context_.lResumeFileIndex = 0;
        if (result == -1) {
            end = RunEnd::Stopped;
            break;
        }
        // A Pause ends the run after the task it came in, whatever that task's result.
        if (!state_.Running()) {
            end = RunEnd::Paused;
            break;
        }
        if (reload) {
            // The grid now holds the next slice of the job; its first row comes next.
            count = TaskCount(tasks);
            row = 1;
        } else {
            ++row;
        }
    }
    FinishRun(record, end == RunEnd::Completed);
    return end;
}

int32_t JobRunner::RunTaskRow(int row, clsConversionOptions& record, bool& reload) {
    Grid& tasks = document_.fgToDo;
    std::string problem;
    if (!ReadTaskRow(record, row, tasks, &problem)) {
        // Part of the record may still be the previous task's: the row is logged from what it
        // says itself and never run.
        record = clsConversionOptions{};
        ReadTaskCells(record, row, tasks);
        context_.bFileListCutShort = false;
        return Fail(row, record, kMalformedTaskRow,
                    Translate("The task is not valid and was not run:") + " " + OneLine(problem));
    }
    reload = IsReloadTask(record);
    return PerformBlock(row, record);
}

int32_t JobRunner::Fail(int32_t lJobNumber, clsConversionOptions& coBlock, int32_t code,
                        const std::string& message) {
    coBlock.lErr = code;
    coBlock.sErr = message;
    LogConversionError(lJobNumber, coBlock);
    return code;
}

int32_t JobRunner::PerformBlock(int32_t lJobNumber, clsConversionOptions& coBlock) {
    context_.bFileListCutShort = false;
    try {
        coBlock.sTargetFile = ExpandFolderTokens(coBlock.sTargetFile);
        coBlock.sOriginalFile = ExpandFolderTokens(coBlock.sOriginalFile);
        coBlock.sLogFile = ExpandFolderTokens(coBlock.sLogFile);
        coBlock.sLogAsConversionJobFile = ExpandFolderTokens(coBlock.sLogAsConversionJobFile);
        coBlock.sCurrentBatchJobFile = ExpandFolderTokens(coBlock.sCurrentBatchJobFile);

        if (IsConversionAction(coBlock.sActionToDo))
            return PerformBlockConversion(context_, lJobNumber, coBlock);
        if (!IsSpecialAction(coBlock.sActionToDo))
            return Fail(lJobNumber, coBlock, kErrUnknownAction,
                        Translate("The task has no action that can be run:") + " " + coBlock.sActionToDo);
        if (coBlock.lSpecialProcess == kSpecialReloadJob) {
            const int32_t result = document_.PerformReloadTask(coBlock);
            if (result != 0 && result != kReloadPaused)
                LogConversionError(lJobNumber, coBlock);
            return result;
        }
        if (context_.shard && !RunsInShardedRun(coBlock))
            return Fail(lJobNumber, coBlock, kErrNotInShardedRun, NotInShardedRunMessage());
        if (special_ == nullptr)
            return Fail(lJobNumber, coBlock, kErrNoSpecialProcessor,
                        Translate("This special process is not available:") + " " + coBlock.sActionToDo);
        return special_->PerformBlockSpecialized(context_, *this, lJobNumber, coBlock);
    } catch (const std::exception& e) {
        return Fail(lJobNumber, coBlock, kErrTaskFault, Translate("Error") + ": " + e.what());
    } catch (...) {
        return Fail(lJobNumber, coBlock, kErrTaskFault, Translate("Error"));
    }
}

void JobRunner::FinishRun(const clsConversionOptions& record, bool ranToEnd) {
    state_.SetStatusText(StatusPanel::TaskNumber, "-");
    if (record.sErr.size() > 2 && record.lErr != 0)
        state_.SetStatusText(StatusPanel::CurrentFile,
                             "!!! " + Translate("Error") + ":  " + OneLine(record.sErr));
    if (ranToEnd && state_.Running() && !document_.bCommandLineMode) {
        if (!host_.SchedulerEnabled())
            blink_.Start(status_);
        state_.SetStatusText(StatusPanel::State, " 100" + Translate(" Percent Complete "));
        status_.SetStatePicture(StatePicture::Done);
    }
    if (!state_.Running())
        state_.SetStatusText(StatusPanel::State, Translate("Pause"));
    state_.SetRunning(false);
    host_.SetSuppressControlEvents(false);
    host_.MenusChanged();
}

bool JobRunner::ConversionJobPause() {
    if (!state_.Running())
        return false;
    state_.SetRunning(false);
    if (host_.SchedulerEnabled())
        host_.StopScheduler();
    host_.MenusChanged();
    host_.FocusTaskGrid();
    return true;
}

bool JobRunner::ConversionJobRewind() {
    if (state_.Running())
        return false;
    RewindJob();
    return true;
}

void JobRunner::RewindJob() {
    const bool suppressed = host_.SuppressControlEvents();
    host_.SetSuppressControlEvents(true);
    Grid& tasks = document_.fgToDo;
    for (int row = tasks.Rows() - 1; row >= 1; --row) {
        tasks.SetMark(row, kColPass, CellMark::None);
        tasks.SetCell(row, kColPass, "");
    }
    context_.lResumeFileIndex = 0;
    context_.bFileListCutShort = false;
    InitLogGrid(document_.fgLog);
    host_.MenusChanged();
    tasks.SelectWholeRow();
    document_.toDoView.RequestScroll(tasks.Row(), tasks.Row());
    state_.SetStatusText(StatusPanel::State, "");
    blink_.Stop(status_);
    status_.SetStatePicture(StatePicture::None);
    host_.SetSuppressControlEvents(suppressed);
}

void JobRunner::LogConversionError(int32_t lJobNumber, const clsConversionOptions& coBlock) {
    AppendFailureRow(document_.fgLog, document_.fgToDo, lJobNumber, coBlock, document_.bCommandLineMode,
                     &component_);
}

void JobRunner::LogExitCode(int32_t lJobNumber, const clsConversionOptions& coBlock) {
    AppendExitCodeRow(document_.fgLog, document_.fgToDo, lJobNumber, coBlock);
}

bool JobRunner::RunJobFile(const std::string& path) {
    if (state_.Running())
        return false;
    if (!document_.ConversionJobOpen(path))
        return false;
    RewindJob();
    const RunEnd end = ConversionJobBegin();
    return end != RunEnd::Busy && end != RunEnd::Cancelled;
}

bool JobRunner::PerformSingleTask(clsConversionOptions& task, int32_t& result) {
    if (state_.Running())
        return false;
    state_.SetRunning(true);
    context_.lTotalTimeStart = MonotonicMilliseconds();
    if (IsConversionAction(task.sActionToDo))
        component_.BeginStartUp(1);
    result = PerformBlock(1, task);
    state_.SetRunning(false);
    return true;
}

} // namespace slidemill
