#include "run/SpecialProcesses.h"

#include "core/FileTypes.h"
#include "core/Translate.h"
#include "run/ConversionStep.h"
#include "run/Elapsed.h"
#include "run/FileList.h"
#include "run/Launcher.h"
#include "run/ListProgress.h"
#include "run/ListTargetNamer.h"
#include "run/ResultCodeMessage.h"
#include "run/ShardFilter.h"
#include "run/TargetClaims.h"
#include "run/TextProcesses.h"
#include "run/WildcardPath.h"
#include "settings/Paths.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace slidemill {

namespace {

constexpr int32_t kErrTargetNotCreated = -7;

// Every point where the processes let the window breathe also shows how long the run has
// taken, so a long file or a long-running program still shows the clock moving.
class ElapsedShowingControl final : public RunControl {
public:
    ElapsedShowingControl(RunControl& inner, int64_t startMs) : inner_(inner), startMs_(startMs) {}
    void Checkpoint() override {
        inner_.SetStatusText(StatusPanel::Elapsed, ElapsedSecondsText(startMs_));
        inner_.Checkpoint();
    }
    bool Running() const override { return inner_.Running(); }
    void SetRunning(bool running) override { inner_.SetRunning(running); }
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        inner_.SetStatusText(panel, text);
    }
    void SetWaitCursor(bool on) override { inner_.SetWaitCursor(on); }
    void SetListProgress(int32_t done, int32_t count) override { inner_.SetListProgress(done, count); }

private:
    RunControl& inner_;
    int64_t startMs_;
};

bool WritesOneTarget(int32_t process) {
    return process == kSpecialAppend || process == kSpecialRemoveEmptyLines;
}

} // namespace

int32_t SpecialProcesses::RunSpecialProcess(clsConversionOptions& task, RunControl& control) {
    task.lErr = 0;
    task.sErr.clear();
    try {
        switch (task.lSpecialProcess) {
        case kSpecialAppend:
            AppendFile(task, richText_, control);
            break;
        case kSpecialRemoveEmptyLines:
            RemoveEmptyLines(task, richText_, control);
            break;
        case kSpecialSearchReplace:
            SearchAndReplace(task, richText_, control);
            break;
        case kSpecialLaunch:
            LaunchProgram(task, control);
            break;
        default:
            task.lErr = kErrUnknownSpecialProcess;
            task.sErr = Translate("This special process is not available:") + " " + task.sActionToDo;
            return task.lErr;
        }
    } catch (const std::exception& e) {
        task.lErr = kErrSpecialProcessFault;
        task.sErr = Translate("Error") + ": " + e.what();
        return task.lErr;
    } catch (...) {
        task.lErr = kErrSpecialProcessFault;
        task.sErr = Translate("Error");
        return task.lErr;
    }
    // A failure the process reported says more than "target missing" would, so only a success
    // that left no target is turned into -7.
    if (WritesOneTarget(task.lSpecialProcess) && task.lErr == 0 && !PathExists(task.sTargetFile))
        task.lErr = kErrTargetNotCreated;
    // The processes append what went wrong to the message of their code; that detail stays.
    const std::string message = ResultCodeMessage(task);
    if (task.lErr == 0 || task.sErr.rfind(message, 0) != 0)
        task.sErr = message;
    return task.lErr;
}

int32_t SpecialProcesses::PerformBlockSpecialized(ConversionContext& context, RunLog& log, int32_t lJobNumber,
                                                  clsConversionOptions& coBlock) {
    ElapsedShowingControl control(context.control, context.lTotalTimeStart);
    // A reused record may still carry the result of an earlier run.
    coBlock.sErr.clear();
    coBlock.lErr = 0;

    clsConversionOptions perFile;
    perFile.lConversionMethod = coBlock.lConversionMethod;
    perFile.sActionToDo = coBlock.sActionToDo;
    perFile.lSpecialProcess = coBlock.lSpecialProcess;
    perFile.bCaseSensitive = coBlock.bCaseSensitive;
    perFile.sFindString = coBlock.sFindString;
    perFile.sReplaceString = coBlock.sReplaceString;

    const int32_t process = coBlock.lSpecialProcess;
    const bool listsFiles = process != kSpecialLaunch && process != kSpecialReloadJob;
    if (listsFiles && !TaskRunsInThisShard(context, coBlock))
        return 0;
    std::vector<std::string> files;
    std::vector<UnreadableFolder> unreadable;
    if (listsFiles && !BuildFileList(coBlock, files, control, &unreadable)) {
        coBlock.lErr = kErrFileList;
        log.LogConversionError(lJobNumber, coBlock);
        return kErrFileList;
    }
    if (listsFiles)
        KeepThisShardsPart(context, coBlock, files, unreadable);
    const int32_t folderResult = LogUnreadableFolders(log, lJobNumber, coBlock, unreadable);
    if (!control.Running()) {
        coBlock.sErr = Translate("Conversion Process paused.");
        coBlock.lErr = 0;
    }

    if (!listsFiles || !HasNameWildcard(coBlock.sOriginalFile)) {
        context.sCurrentFile = coBlock.sOriginalFile;
        control.SetStatusText(StatusPanel::CurrentFile, coBlock.sOriginalFile);
        control.Checkpoint();
        RunSpecialProcess(coBlock, control);
        if (coBlock.lErr != 0)
            log.LogConversionError(lJobNumber, coBlock);
        else if (process == kSpecialLaunch)
            log.LogExitCode(lJobNumber, coBlock);
        control.SetStatusText(StatusPanel::Elapsed, ElapsedSecondsText(context.lTotalTimeStart));
        return coBlock.lErr;
    }

    perFile.lTargetFileType = coBlock.lTargetFileType;
    perFile.lOriginalFileType = coBlock.lOriginalFileType;
    const bool onto = process == kSpecialAppend;
    const ListTargetNamer namer(coBlock, nullptr);
    // An append collects every file into its one target; the other processes write one target
    // per file, and none may land on another file of the list or on a target already written.
    TargetClaims::Claims earlier = std::exchange(context.resumeClaims, {});
    const TargetClaims claims = onto ? TargetClaims() : TargetClaims::ForList(files, namer, earlier);
    const auto count = static_cast<int32_t>(files.size());
    int32_t result = folderResult;
    int32_t i = TakeResumePosition(context, files);
    for (; i <= count; ++i) {
        control.Checkpoint();
        if (!control.Running())
            break;
        const std::string& file = files[static_cast<std::size_t>(i - 1)];
        if (onto) {
            perFile.sOriginalFile = file;
            perFile.sTargetFile = coBlock.sTargetFile;
        } else {
            namer.Apply(file, perFile, claims.Refusal(i) == 0);
        }
        context.sCurrentFile = file;
        control.SetStatusText(StatusPanel::CurrentFile, file);
        control.SetStatusText(StatusPanel::State, ListPercentText(i, count));
        control.SetListProgress(i - 1, count);
        perFile.lErr = 0;
        perFile.sErr.clear();
        // The target may sit among the files it collects (also under another name, as a link):
        // appending it to itself would never end well.
        const bool skip = onto && IsSameFile(file, coBlock.sTargetFile);
        int32_t r = skip ? 0 : claims.Refuse(i, perFile);
        if (!skip && r == 0)
            r = RunSpecialProcess(perFile, control);
        control.SetListProgress(i, count);
        control.SetStatusText(StatusPanel::Elapsed, ElapsedSecondsText(context.lTotalTimeStart));
        if (perFile.lErr != 0) {
            coBlock.sErr = perFile.sErr;
            coBlock.lErr = perFile.lErr;
        }
        if (r != 0) {
            log.LogConversionError(lJobNumber, perFile);
            result = r;
            if (r == -1)
                break;
        }
    }

    if (!control.Running() && !onto)
        context.resumeClaims = claims.ClaimedBefore(i);
    RecordWhereAListStopped(context, control.Running(), i, files);
    return result;
}

} // namespace slidemill
