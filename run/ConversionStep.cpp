#include "run/ConversionStep.h"

#include "core/ConversionComponent.h"
#include "core/FileTypes.h"
#include "core/RunControl.h"
#include "core/Translate.h"
#include "platform/DiskSync.h"
#include "run/ConversionRecord.h"
#include "run/DeleteFileWithRetry.h"
#include "run/Elapsed.h"
#include "run/FailureSink.h"
#include "run/FileList.h"
#include "run/FileNameParts.h"
#include "run/ListLookahead.h"
#include "run/ListProgress.h"
#include "run/ListTargetNamer.h"
#include "run/ParallelConversions.h"
#include "run/PdfStage.h"
#include "run/ResultCodeMessage.h"
#include "run/ShardFilter.h"
#include "run/TargetClaims.h"
#include "settings/Paths.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace slidemill {

namespace {

// Newest renderer version this program was made for.
constexpr double kNewestKnownVersion = 16.1;

// A version answer counts only when it is a plain number ("16.0", "120"); a product name such
// as "LibreOffice 7.4" skips the check.
bool ParseVersionNumber(const std::string& text, double& value) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const auto last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    const char* digits = (*begin == '+' || *begin == '-') ? begin + 1 : begin;
    if (digits == end || !((*digits >= '0' && *digits <= '9') || *digits == '.'))
        return false;
    if (*begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end;
}

// Shows the renderer's progress while it converts and keeps the window responsive.
class ProgressReport {
public:
    explicit ProgressReport(ConversionContext& context) : component_(context.component) {
        component_.SetProgressHandler([&context] {
            const long percent = std::lround(context.component.PercentComplete());
            context.control.SetStatusText(StatusPanel::State,
                                          std::to_string(percent) + Translate("% Complete "));
            context.control.SetStatusText(StatusPanel::Elapsed, ElapsedSecondsText(context.lTotalTimeStart));
            context.control.Checkpoint();
        });
    }
    ~ProgressReport() { component_.SetProgressHandler(nullptr); }
    ProgressReport(const ProgressReport&) = delete;
    ProgressReport& operator=(const ProgressReport&) = delete;

private:
    ConversionComponent& component_;
};

int32_t Fail(clsConversionOptions& record, int32_t code, std::string message) {
    record.lErr = code;
    record.sErr = std::move(message);
    return code;
}

// Both stages of "PDF - with options": the component writes rich text beside the target, the
// PDF stage turns it into the PDF, and the intermediate file goes once the first stage worked.
int32_t ConvertThroughRichText(ConversionContext& context, clsConversionOptions& record) {
    const std::string target = record.sTargetFile;
    const std::string intermediate = target + ".rtf";
    record.lTargetFileType = context.settings.bPDFTextOnly ? kTargetRtfText : kTargetRtfPictures;
    record.sTargetFile = intermediate;
    int32_t result = ConvertWithComponent(context, record);
    if (result != 0)
        return result;

    record.lOriginalFileType = kRichTextRtf;
    record.sOriginalFile = intermediate;
    record.sTargetFile = target;
    record.lTargetFileType = kRichTextPdf;
    context.control.SetStatusText(StatusPanel::State, Translate("Converting to PDF...."));
    context.control.Checkpoint();
    try {
        result = context.pdfStage.ConvertRtfToPdf(record);
        record.lErr = result;
    } catch (const std::exception& e) {
        result = Fail(record, kErrComponentFault, e.what());
    } catch (...) {
        result =
            Fail(record, kErrComponentFault, Translate("PDF - with options") + ": " + Translate("Error"));
    }
    context.control.SetStatusText(StatusPanel::State, Translate("100% Complete"));
    std::error_code ignored;
    std::filesystem::remove(intermediate, ignored);
    return result;
}

// Moves and deletes the source of a successful conversion as the settings ask. Neither
// changes the result: the target exists either way.
void AfterProcessing(ConversionContext& context, const clsConversionOptions& record,
                     const std::string& source) {
    ConversionSettings& settings = context.settings;
    bool moveFailed = false;
    if (settings.bMoveOriginalFileAfterProcessing) {
        // Without a folder the file would land wherever the program happens to run.
        if (settings.sMoveFileToFolder.empty()) {
            moveFailed = true;
        } else {
            if (settings.sMoveFileToFolder.back() != '/')
                settings.sMoveFileToFolder += '/';
            moveFailed = !MoveFileToFolder(source, settings.sMoveFileToFolder + record.sSubFolder);
        }
    }
    // A source that was to be kept elsewhere but could not be moved must not be lost.
    if (settings.bDeleteOriginalFileAfterProcessing && !moveFailed && !IsSameFile(source, record.sTargetFile))
        DeleteFileWithRetry(source);
}

// The renderer must not be newer than this program knows; a failed check fails the record.
bool RendererVersionKnown(ConversionContext& context, clsConversionOptions& record) {
    std::string version;
    context.component.GetPowerPointVersion(version);
    double number = 0;
    if (ParseVersionNumber(version, number)) {
        if (number >= 80)
            number /= 10;
        if (number > kNewestKnownVersion) {
            Fail(record, kErrPowerPointVersion,
                 Translate("Error 20: Version of MS PowerPoint") + " (" + version + ")");
            return false;
        }
    }
    return true;
}

// Waits for a conversion that runs on another thread, keeping the window responsive.
int32_t AwaitConversion(ConversionContext& context, clsConversionOptions& record,
                        PendingConversion& pending) {
    while (!pending.WaitFor(std::chrono::milliseconds(100))) {
        context.control.SetStatusText(StatusPanel::Elapsed, ElapsedSecondsText(context.lTotalTimeStart));
        context.control.Checkpoint();
    }
    return Fail(record, pending.Result(), pending.ErrorText());
}

// Several files of a list convert at once when the component offers it, the list has more than
// one file left and the renderer passed its version check (which otherwise fails every file).
// "PDF - with options" goes one by one: its second stage shares the first component's office.
bool ConvertsSeveralAtOnce(ConversionContext& context, const clsConversionOptions& task, int32_t filesLeft) {
    if (filesLeft < 2 || task.lTargetFileType == kTargetPdfWithOptions)
        return false;
    try {
        if (context.component.ConcurrentConversions() < 2)
            return false;
        // The other renderers start together, while the first one answers the version check.
        context.component.BeginStartUp(filesLeft);
        clsConversionOptions probe;
        return RendererVersionKnown(context, probe);
    } catch (...) {
        return false;
    }
}

// The files a task wrote reach the disk before the task can count as done: one flush of the
// target's file system for the whole task, instead of one per file. A flush that fails fails
// the task, so no log says a conversion succeeded whose files a power cut could still take.
int32_t FlushConvertedFiles(ConversionContext& context, int32_t lJobNumber, clsConversionOptions& coBlock,
                            const std::string& targetFolder) {
    if (SyncFileSystemOf(targetFolder))
        return 0;
    coBlock.lErr = kErrNotOnDisk;
    coBlock.sErr = Translate("The converted files could not be written to the disk:") + " " +
                   (targetFolder.empty() ? std::string(".") : targetFolder);
    context.failures.LogConversionError(lJobNumber, coBlock);
    return kErrNotOnDisk;
}

} // namespace

int32_t ConvertWithComponent(ConversionContext& context, clsConversionOptions& record) {
    ConversionComponent& component = context.component;
    try {
        if (!RendererVersionKnown(context, record))
            return record.lErr;
        component.SetProperties(PropertiesFor(record));
        int32_t result = 0;
        {
            ProgressReport progress(context);
            result = component.Convert();
        }
        return Fail(record, result, component.LastErrorText());
    } catch (const std::exception& e) {
        // No result came back, so this file did not convert, whatever the component last said.
        std::string message = SafeLastErrorText(component);
        return Fail(record, kErrComponentFault, message.empty() ? std::string(e.what()) : message);
    } catch (...) {
        return Fail(record, kErrComponentFault, SafeLastErrorText(component));
    }
}

int32_t ConvertOneFile(ConversionContext& context, clsConversionOptions& record,
                       PendingConversion* converting) {
    const std::string source = record.sOriginalFile;
    const std::string target = record.sTargetFile;
    const int32_t sourceType = record.lOriginalFileType;
    const int32_t targetType = record.lTargetFileType;
    PrepareRecord(context, record);

    if (WouldOverwriteSource(source, target) ||
        (targetType == kTargetPdfWithOptions && WouldOverwriteSource(source, target + ".rtf"))) {
        record.lErr = kErrTargetIsSource;
        return Fail(record, kErrTargetIsSource, ResultCodeMessage(record));
    }

    int32_t result = 0;
    if (targetType == kTargetPdfWithOptions) {
        result = ConvertThroughRichText(context, record);
        // The record goes on to the log and, in a list, to the next file: it must name the
        // task's own files and types again, not the intermediate ones.
        record.sOriginalFile = source;
        record.sTargetFile = target;
        record.lOriginalFileType = sourceType;
        record.lTargetFileType = targetType;
    } else if (converting) {
        result = AwaitConversion(context, record, *converting);
    } else {
        result = ConvertWithComponent(context, record);
    }

    if (result == 0)
        AfterProcessing(context, record, source);
    return result;
}

int32_t PerformBlockConversion(ConversionContext& context, int32_t lJobNumber,
                               clsConversionOptions& coBlock) {
    RunControl& control = context.control;
    // A reused record may still carry the result of an earlier run.
    coBlock.sErr.clear();
    coBlock.lErr = 0;
    if (!TaskRunsInThisShard(context, coBlock))
        return 0;
    std::vector<std::string> files;
    std::vector<UnreadableFolder> unreadable;
    if (!BuildFileList(coBlock, files, control, &unreadable)) {
        coBlock.lErr = kErrFileList;
        context.failures.LogConversionError(lJobNumber, coBlock);
        return kErrFileList;
    }
    KeepThisShardsPart(context, coBlock, files, unreadable);
    const int32_t folderResult = LogUnreadableFolders(context.failures, lJobNumber, coBlock, unreadable);
    if (!control.Running()) {
        coBlock.sErr = Translate("Conversion Process paused.");
        coBlock.lErr = 0;
    }

    const std::string targetFolder = FolderPartOf(coBlock.sTargetFile);
    if (!targetFolder.empty() && !FolderExists(targetFolder))
        CreateFolderTree(targetFolder);

    clsConversionOptions perFile;
    perFile.lConversionMethod = coBlock.lConversionMethod;
    perFile.sActionToDo = coBlock.sActionToDo;
    perFile.lSpecialProcess = coBlock.lSpecialProcess;
    perFile.lTargetFileType = coBlock.lTargetFileType;
    perFile.lOriginalFileType = coBlock.lOriginalFileType;

    int32_t result = folderResult;
    if (coBlock.sTargetFile.find('*') == std::string::npos) {
        context.sCurrentFile = coBlock.sOriginalFile;
        control.SetStatusText(StatusPanel::CurrentFile, coBlock.sOriginalFile);
        control.Checkpoint();
        ConvertOneFile(context, coBlock);
        if (coBlock.lErr != 0)
            context.failures.LogConversionError(lJobNumber, coBlock);
        result = coBlock.lErr;
        if (result == 0)
            result = FlushConvertedFiles(context, lJobNumber, coBlock, targetFolder);
        control.SetStatusText(StatusPanel::Elapsed, ElapsedSecondsText(context.lTotalTimeStart));
        // A single file never leaves a position to resume at.
        if (!control.Running())
            context.lResumeFileIndex = 0;
    } else {
        const ListTargetNamer namer(coBlock, &context.component);
        // Decided over the whole list, also when it resumes, so that the same files win.
        const TargetClaims claims =
            TargetClaims::ForList(files, namer, std::exchange(context.resumeClaims, {}));
        const auto count = static_cast<int32_t>(files.size());
        int32_t i = TakeResumePosition(context, files);
        int32_t converted = 0;
        std::optional<ListLookahead> ahead;
        if (ConvertsSeveralAtOnce(context, coBlock, count - i + 1))
            ahead.emplace(context, namer, claims, perFile, files, i);
        for (; i <= count; ++i) {
            control.Checkpoint();
            if (!control.Running())
                break;
            const std::string& file = files[static_cast<std::size_t>(i - 1)];
            const bool refused = claims.Refusal(i) != 0;
            namer.Apply(file, perFile, !refused);
            context.sCurrentFile = file;
            control.SetStatusText(StatusPanel::CurrentFile, file);
            control.SetStatusText(StatusPanel::State, ListPercentText(i, count));
            control.SetListProgress(i - 1, count);
            // A refused file is neither converted nor moved nor deleted: its source stays.
            const int32_t r = refused ? claims.Refuse(i, perFile)
                                      : ConvertOneFile(context, perFile, ahead ? &ahead->Take(i) : nullptr);
            control.SetListProgress(i, count);
            control.SetStatusText(StatusPanel::Elapsed, ElapsedSecondsText(context.lTotalTimeStart));
            if (r == 0 && !refused)
                ++converted;
            if (r != 0) {
                context.failures.LogConversionError(lJobNumber, perFile);
                coBlock.sErr = perFile.sErr;
                coBlock.lErr = perFile.lErr;
                result = r;
                if (r == -1)
                    break;
            }
        }
        if (ahead)
            ahead->Finish();
        if (converted > 0) {
            if (const int32_t flushed = FlushConvertedFiles(context, lJobNumber, coBlock, targetFolder); flushed != 0)
                result = flushed;
        }
        if (!control.Running())
            context.resumeClaims = claims.ClaimedBefore(i);
        RecordWhereAListStopped(context, control.Running(), i, files);
    }
    return result;
}

} // namespace slidemill
