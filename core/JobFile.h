#pragma once

#include "core/ConversionOptions.h"
#include "settings/TranslatableText.h"
#include "core/Grid.h"
#include "core/RunControl.h"

#include <cstdint>
#include <string>

namespace slidemill {

// The task grid holds at most this many tasks; a longer job ends each slice with a reload task.
inline constexpr int kJobSliceTasks = 30000;
// A longer line is not a job file line; loading stops there instead of buffering it.
inline constexpr std::size_t kMaxJobLineBytes = 1 << 20;
inline constexpr const char* kReloadTaskText = "Reload conversion job start at task ";
inline constexpr const char* kJobFileFilter = N_("Slidemill (*.MJB)|*.MJB");
inline constexpr const char* kUnableToCreateFile =
    N_("Unable to create file. Try a different folder such as 'My Documents'");
// Result of a reload task that cannot load its slice (the message is in sErr).
inline constexpr int32_t kReloadFailed = -20;
// Result of a reload task whose load a Pause stopped: the grid still holds the reload task.
inline constexpr int32_t kReloadPaused = -21;

enum class JobLoadStatus {
    Loaded,  // the whole file, or a slice ending with a reload task
    Missing, // no such file: the grid was not touched
    Stopped, // a Pause stopped the load; the rows read so far stay
    Failed,  // the file could not be read or is not a job file; the rows read so far stay
};

struct JobLoadResult {
    JobLoadStatus status = JobLoadStatus::Missing;
    int64_t linesRead = 0;
    int tasksLoaded = 0; // not counting a reload task
    bool reloadTaskAdded = false;
    int64_t nextLine = 0; // the line the reload task starts at
    // Filled by CheckLoadedTasks: rows that loaded but do not read as tasks. They stay (saving
    // keeps them) and fail when run.
    int malformedRows = 0;
    std::string firstMalformedTask; // its task number
    std::string firstProblem;
    std::string error; // for Failed, translated
};

// Loads the job file into the task grid from line startLine on (1 = the whole job). Lines
// are ended by CR LF or LF; the new-task line and empty lines are not tasks. A Pause
// (control.Running() turning false) stops the load and stays; otherwise the running flag is
// put back as found.
JobLoadResult LoadJobFile(const std::string& path, int64_t startLine, Grid& grid,
                          RunControl& control = NullRunControl());

// Counts the task rows that do not read as tasks (ReadTaskRow would refuse them). Kept out of
// the loader: a runner loading the next slice finds such rows when it reaches them.
void CheckLoadedTasks(const Grid& grid, JobLoadResult& result);

// Writes every row from 1 to Rows − 1 (the tasks and the new-task line), each cell followed by
// a TAB, lines ended by CR LF. The file is replaced in one step: a failed write leaves the
// previous file as it was. A reload task is written as the rest of the job file it names, so
// that saving a sliced job keeps every task. False when nothing was written: the file cannot
// be created, the rest of a sliced job cannot be read, or a cell holds a TAB or a line break
// (it would load as a different task).
bool WriteJobFile(const std::string& path, const Grid& grid);

// Where the tasks of a grid start in their job file. A grid that holds a later slice of a job
// (firstLine > 1) is only its end: the task lines of file before firstLine belong to the job.
struct JobSliceOrigin {
    std::string file;
    int64_t firstLine = 1;
};

// Writes the whole job of a grid that may hold a later slice: the earlier task lines of its
// file first (their number goes to earlierTasks), then the grid as above.
bool WriteJobFile(const std::string& path, const Grid& grid, const JobSliceOrigin& origin,
                  int64_t* earlierTasks = nullptr);

// Writes each log entry as a task that re-runs exactly its one file. The trailing empty row
// and other entries without content give no line. False when nothing was written.
bool WriteLogAsJobFile(const std::string& path, const Grid& log);

bool IsReloadTaskRow(const Grid& grid, int row);
bool IsReloadTask(const clsConversionOptions& record);

// Special process 1: replaces the task grid by the slice of currentJobFile that starts at the
// task's line. A Pause while it loads answers kReloadPaused and leaves the grid as it was. Fails with
// kReloadFailed and a message in sErr when the task names a missing file or another file than the current
// job, or when that line no longer exists in it: the runner would otherwise start the same slice again or run
// another job's tasks.
int32_t PerformReloadTask(clsConversionOptions& record, const std::string& currentJobFile, Grid& grid,
                          RunControl& control = NullRunControl());

} // namespace slidemill
