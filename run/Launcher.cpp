#include "run/Launcher.h"

#include "platform/Process.h"
#include "run/ResultCodeMessage.h"
#include "run/ShellWords.h"
#include "settings/Paths.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace slidemill {

namespace {

constexpr int kLaunchFailed = -10;
constexpr int kTimedOut = -11;
constexpr int kLookEveryMs = 50;

// Folder tokens are expanded word by word, so a folder with blanks in its name stays one word.
std::string ExpandWord(const std::string& word) {
    if (word.find('%') == std::string::npos && word.rfind("~/", 0) != 0)
        return word;
    std::string copy = word;
    return ExpandFolderTokens(copy);
}

} // namespace

int NiceValueForPriorityClass(int32_t priorityClass) {
    switch (priorityClass) {
    case 64:
        return 19;
    case 128:
        return -10;
    case 256:
        return -20;
    default:
        return 0;
    }
}

int RunProgramAndWait(const std::string& program, const std::string& arguments, int32_t /*windowState*/,
                      int32_t priorityClass, int32_t waitSeconds, int32_t& exitCode, RunControl& control) {
    std::string path = program;
    path = ExpandFolderTokens(path);
    std::vector<std::string> words;
    std::string error;
    if (path.empty() || !SplitShellWords(arguments, words, error))
        return kLaunchFailed;
    std::vector<std::string> argv{path};
    for (const std::string& word : words)
        argv.push_back(ExpandWord(word));

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    LaunchedProcess process;
    if (!process.Start(path, argv, NiceValueForPriorityClass(priorityClass), error))
        return kLaunchFailed;
    const bool limited = waitSeconds != -1;
    const auto limit = std::chrono::seconds(std::max(waitSeconds, 0));
    int code = 0;
    bool ended = false;
    while (!ended && control.Running()) {
        const Clock::duration elapsed = Clock::now() - start;
        if (limited && elapsed > limit)
            break;
        control.Checkpoint();
        int waitMs = kLookEveryMs;
        if (limited) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(limit - elapsed).count() + 1;
            waitMs = static_cast<int>(std::clamp<long long>(left, 0, kLookEveryMs));
        }
        ended = process.WaitFor(waitMs, code);
    }
    if (!ended)
        return kTimedOut;
    exitCode = code;
    return 0;
}

int LaunchProgram(clsConversionOptions& task, RunControl& control) {
    int32_t exitCode = 0;
    task.lErr =
        RunProgramAndWait(task.sOriginalFile, task.sTargetFile, task.lCommandLineWindowState,
                          task.lCommandLineThreadPriority, task.lCommandLineWaitTime, exitCode, control);
    task.lCommandLineExitCode = exitCode;
    task.sErr = ResultCodeMessage(task);
    return task.lErr;
}

} // namespace slidemill
