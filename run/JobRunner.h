#pragma once

#include "core/ConversionOptions.h"
#include "core/Grid.h"
#include "core/JobDocument.h"
#include "core/Prompt.h"
#include "run/CompletionBlink.h"
#include "run/ConversionContext.h"
#include "run/RunHost.h"
#include "run/RunLog.h"
#include "run/RunState.h"
#include "run/RunStatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace slidemill {

class ConversionComponent;
class PdfStage;
class SpecialProcessor;

// Results of a task that the runner itself gives.
inline constexpr int32_t kErrNoSpecialProcessor = -30; // this build has nothing to run the process with
inline constexpr int32_t kErrNotInShardedRun = -33;    // an append or a launch in a run split into shards
inline constexpr int32_t kErrUnknownAction = -31;      // neither a conversion nor a special process
inline constexpr int32_t kErrTaskFault = -32;          // the task ended with an unexpected error

// How ConversionJobBegin ended.
enum class RunEnd {
    Completed, // every task from the start point on has run
    Paused,    // a Pause stopped the run; the next begin resumes at the first unmarked task
    Stopped,   // a task answered -1, or the next slice of the job could not be loaded
    Busy,      // a run (or a job load) was already in progress: nothing was done
    Cancelled, // the user kept the editor's change unresolved, or there was no task to run
};

// False for the tasks a run split into shards cannot do: an append collects every file into
// one target in list order, and a launch runs between the tasks around it.
bool RunsInShardedRun(const clsConversionOptions& task);
// Why such a task was refused.
std::string NotInShardedRunMessage();

// The first task row whose pass cell is empty; Rows − 1 (the new-task row) when every task
// has a result.
int FindStartPoint(const Grid& grid);

// Runs the job of a JobDocument task by task: the window's toolbar, the scheduler and the
// command line all start runs here, and only one run can be in progress at a time.
//
// The document must have been made with the same RunState, so that a Pause also stops the
// loading of a job and the loader's running flag is the runner's.
class JobRunner final : public RunLog {
public:
    JobRunner(JobDocument& document, RunState& state, ConversionComponent& component, PdfStage& pdfStage,
              Prompt& prompt, RunHost& host, RunStatus& status);
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Special processes other than the reload fail with kErrNoSpecialProcessor without one.
    void SetSpecialProcessor(SpecialProcessor* processor) { special_ = processor; }
    ConversionSettings& Settings() { return context_.settings; }
    // Makes the following runs one shard of a run split over several processes (no value: the
    // whole run), and starts the count of the shard's files again.
    void SetShard(std::optional<ShardSpec> shard);
    const std::optional<ShardSpec>& Shard() const { return context_.shard; }
    // The files the shard took on since SetShard, in the order it took them on.
    const std::vector<std::string>& ShardFiles() const { return context_.shardFiles; }

    RunEnd ConversionJobBegin();
    // Runs one task record: folder tokens expanded, then converted, reloaded or handed to the
    // special processor. Returns the task's result (0, -1 to stop the run, other = failed).
    int32_t PerformBlock(int32_t lJobNumber, clsConversionOptions& coBlock);
    // False when nothing was running (or loading) to pause.
    bool ConversionJobPause();
    // Forgets every result and where a paused task resumes. False (nothing changed) during a run.
    bool ConversionJobRewind();
    // Before the current row is left or a run begins: offers to write the editor's unsaved
    // change into its row. False when the user cancelled (or the change could not be written).
    bool bCheckToUpdateDirtyConversionItem();

    void LogConversionError(int32_t lJobNumber, const clsConversionOptions& coBlock) override;
    void LogExitCode(int32_t lJobNumber, const clsConversionOptions& coBlock) override;

    // The scheduler's run: opens the job file, rewinds it and runs it from its first task.
    // False when the job could not be opened or begun.
    bool RunJobFile(const std::string& path);
    // The command line's run of a single task (job number 1) with the running flag set for
    // its duration. False, with nothing done, while another run is in progress.
    bool PerformSingleTask(clsConversionOptions& task, int32_t& result);

    // Called by the blink timer of RunStatus.
    void CompletionBlinkTick() { blink_.Tick(status_); }

    bool Running() const { return state_.Running(); }
    int32_t ResumeFileIndex() const { return context_.lResumeFileIndex; }
    int64_t TotalTimeStart() const { return context_.lTotalTimeStart; }
    const std::string& CurrentFile() const { return context_.sCurrentFile; }

private:
    bool ReadyToBegin();
    int32_t RunTaskRow(int row, clsConversionOptions& record, bool& reload);
    int32_t Fail(int32_t lJobNumber, clsConversionOptions& coBlock, int32_t code, const std::string& message);
    void RewindJob();
    void FinishRun(const clsConversionOptions& record, bool ranToEnd);

    JobDocument& document_;
    RunState& state_;
    ConversionComponent& component_;
    Prompt& prompt_;
    RunHost& host_;
    RunStatus& status_;
    SpecialProcessor* special_ = nullptr;
    ConversionContext context_;
    CompletionBlink blink_;
};

} // namespace slidemill
