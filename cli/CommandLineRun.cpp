#include "cli/CommandLineRun.h"

#include "cli/ResultCodes.h"
#include "cli/RunLogLines.h"
#include "core/JobDocument.h"
#include "core/JobFile.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "run/JobRunner.h"
#include "run/TextLog.h"
#include "run/Validation.h"
#include "settings/SettingsGlobals.h"

#include <chrono>

namespace slidemill {

CommandLineRun::CommandLineRun(JobDocument& document, JobRunner& runner, CommandLineContext context)
    : document_(document), runner_(runner), context_(std::move(context)) {}

void CommandLineRun::Log(const std::string& line) {
    AppendToLogFile(line, task_.sLogFile, task_.bVerbose, context_.prompt);
}

int32_t CommandLineRun::Refuse(const std::string& reason) {
    if (!reason.empty()) {
        task_.sErr = reason;
        Log(reason);
    }
    Log(InvalidArgumentsLine());
    return kRunStatusInvalidLine;
}

int32_t CommandLineRun::RunCommandLine(const std::string& given) {
    const std::string line = given.empty() ? processLine_ : given;
    task_ = clsConversionOptions{};
    somethingFailed_ = false;
    CommandLineContext context = context_;
    context.shard = shard_;
    const bool runnable = ParseCommandLine(line, task_, context);
    helpRequested_ = context.helpRequested;
    if (!runnable) {
        if (helpRequested_)
            return kRunStatusDone;
        if (!line.empty())
            return Refuse({});
        if (showUserInterface)
            showUserInterface();
        return kRunStatusEmptyLine;
    }

    const auto started = std::chrono::steady_clock::now();
    if (beforeRun)
        beforeRun();
    document_.bCommandLineMode = bCommandLineMode;
    const bool jobFile = !task_.sCLBatchJobFile.empty();
    if (shard_ && task_.bOpenButDoNotRun)
        return Refuse(Translate("--shard runs a line to its end; it cannot open a job in the window (/O)"));
    runner_.SetShard(shard_);
    if (jobFile && task_.bOpenButDoNotRun) {
        document_.ConversionJobOpen(task_.sCLBatchJobFile);
        if (showUserInterface)
            showUserInterface();
        return kRunStatusOpenedJob;
    }

    bool logged = false;
    if (jobFile) {
        // The file exists (validation saw to that) but may not be a job at all.
        const bool opened = document_.ConversionJobOpen(task_.sCLBatchJobFile);
        const JobLoadResult& load = document_.LastLoad();
        if (!opened || load.tasksLoaded == 0 || load.malformedRows >= load.tasksLoaded)
            return Refuse(Translate("Not a conversion job file, or it holds no task") + ": " +
                          task_.sCLBatchJobFile);
        if (shard_) {
            // Refused before any file is touched, so no shard does half of such a job.
            Grid& tasks = document_.fgToDo;
            for (int row = 1; row <= TaskCount(tasks); ++row) {
                clsConversionOptions record;
                if (ReadTaskRow(record, row, tasks) && !RunsInShardedRun(record))
                    return Refuse(NotInShardedRunMessage() + " (" + Translate("task") + " " +
                                  std::to_string(row) + ")");
            }
        }
        if (runner_.ConversionJobBegin() == RunEnd::Busy)
            return Refuse(Translate("Another conversion job is running."));
        logged = document_.fgLog.Rows() > 2;
    } else {
        InitLogGrid(document_.fgLog);
        int32_t result = 0;
        if (!runner_.PerformSingleTask(task_, result))
            return Refuse(Translate("Another conversion job is running."));
        logged = result != 0;
    }

    const Grid& log = document_.fgLog;
    if (logged) {
        for (int row = 1; row <= log.Rows() - 2; ++row)
            Log(JobLogLine(log.CellText(row, 1), log.CellText(row, kColStatus), log.CellText(row, 3)));
    } else {
        Log(ConversionSuccessfulLine());
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    Log(TimeToCompleteLine(elapsed.count()));

    if (!task_.sLogAsConversionJobFile.empty() && logged) {
        WriteLogAsJobFile(task_.sLogAsConversionJobFile, log);
        if (!FileExists(task_.sLogAsConversionJobFile))
            Log(UnableToCreateJobFileLine());
    }
    if (shard_) {
        // One write for the whole list: a shard of a large archive names many thousand files.
        std::string lines;
        for (const std::string& file : runner_.ShardFiles())
            lines += ShardFileLine(*shard_, file) + "\n";
        Log(lines + ShardSummaryLine(*shard_, static_cast<int64_t>(runner_.ShardFiles().size())));
    }
    // The log also lists the exit codes of programs that ran to their end (marked passed):
    // only rows of failed files and tasks make the run count as failed for a calling script.
    somethingFailed_ = false;
    if (logged)
        for (int row = 1; row <= log.Rows() - 2; ++row)
            if (log.CellText(row, kColPass) != "+")
                somethingFailed_ = true;
    return kRunStatusDone;
}

} // namespace slidemill
