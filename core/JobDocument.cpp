#include "core/JobDocument.h"

#include "core/Translate.h"
#include "settings/Paths.h"

#include <filesystem>

namespace slidemill {

JobDocument::JobDocument(Prompt& prompt, RunControl& control, JobDocumentEvents* events)
    : prompt_(prompt), control_(control), events_(events ? *events : defaultEvents_) {
    InitTaskGrid(fgToDo);
    InitLogGrid(fgLog);
    InitTaskGridView(toDoView);
    InitLogGridView(logView);
}

void JobDocument::ShowError(const std::string& text) {
    prompt_.Ask(text, Translate("Error"), PromptButtons::OK, PromptIcon::Exclamation);
}

void JobDocument::ShowUnableToCreateFile() {
    prompt_.Ask(Translate(kUnableToCreateFile), Translate("Error"), PromptButtons::OK,
                PromptIcon::Exclamation);
}

void JobDocument::NewJob() {
    CheckToSaveFileBeforeErasing();
    bAskToSaveMJBFileBeforeExit = false;
    InitTaskGrid(fgToDo);
    InitLogGrid(fgLog);
    sJobFile = "*";
    slice_ = JobSliceOrigin{};
    events_.JobCaption("*");
    events_.MenusChanged();
}

void JobDocument::CheckToSaveFileBeforeErasing() {
    if (!bAskToSaveMJBFileBeforeExit || bCommandLineMode)
        return;
    if (!HasJobFile() && TaskCount(fgToDo) <= 1)
        return;
    if (prompt_.Ask(Translate("Save Conversion Job") + "?", Translate("Save"), PromptButtons::YesNo,
                    PromptIcon::Question) == PromptAnswer::Yes)
        ConversionJobSave();
}

bool JobDocument::ConversionJobOpen(const std::string& sFile) {
    CheckToSaveFileBeforeErasing();
    if (events_.IsRunning()) {
        events_.PauseRun();
        control_.SetStatusText(StatusPanel::State, "");
    }

    std::string path = sFile;
    if (!path.empty()) {
        ExpandFolderTokens(path);
    } else {
        FileDialogRequest request;
        request.title = Translate("Open Conversion Job");
        request.filter = Translate(kJobFileFilter);
        request.filterIndex = 1;
        if (!openDialogShown_)
            request.initialPath = sSettingsFolder;
        else if (sJobFile.size() >= 2)
            request.initialPath = sJobFile;
        openDialogShown_ = true;
        path = prompt_.PickFile(request);
    }
    if (path.empty())
        return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        // The grid keeps the job it had: a scheduled run must not start the previous job instead.
        ShowError(Translate("The conversion job file does not exist:") + "\r\r" + path);
        return false;
    }

    sJobFile = path;
    slice_ = JobSliceOrigin{path, 1};
    {
        // The pass pictures are part of the load: one reset for the view, not one per row.
        const Grid::ResetScope load(fgToDo);
        lastLoad_ = LoadJobFile(path, 1, fgToDo, control_);
        CheckLoadedTasks(fgToDo, lastLoad_);
        RestorePassMarks(fgToDo);
    }
    InitLogGrid(fgLog);
    fgToDo.SetRow(1);
    bAskToSaveMJBFileBeforeExit = false;
    const bool complete = lastLoad_.status == JobLoadStatus::Loaded;
    if (!complete) {
        // Saving a part under the file's own name would drop the tasks that did not load.
        sJobFile = "*";
        bAskToSaveMJBFileBeforeExit = TaskCount(fgToDo) > 0;
    }
    if (!bCommandLineMode) {
        fgToDo.SelectWholeRow();
        if (complete) {
            events_.AddRecentJob(path);
            events_.JobCaption(FileNameOfPath(path));
        } else {
            events_.JobCaption("*");
        }
    }
    events_.MenusChanged();

    if (lastLoad_.status == JobLoadStatus::Failed) {
        ShowError(lastLoad_.error);
    } else if (lastLoad_.status == JobLoadStatus::Stopped) {
        ShowError(Translate("Loading the conversion job was stopped; only part of it was loaded:") + "\r\r" +
                  path);
    } else if (lastLoad_.malformedRows > 0) {
        ShowError(
            Translate("Some lines of the conversion job are not valid tasks; they will fail when run.") +
            "\r\r" + Translate("Task") + " " + lastLoad_.firstMalformedTask + ": " + lastLoad_.firstProblem);
    }
    return complete;
}

bool JobDocument::WriteJob(const std::string& path) {
    if (TaskCount(fgToDo) == 0 && !events_.AddEditorTask())
        return false;
    int64_t earlier = 0;
    if (!WriteJobFile(path, fgToDo, slice_, &earlier))
        return false;
    // The grid now starts after the earlier tasks of the new file. A reload task was written
    // as the rest of the job it named; that rest now starts at the reload task's own line of
    // the new file, so the next slice comes from there.
    slice_ = JobSliceOrigin{path, earlier + 1};
    for (int row = 1; row <= fgToDo.Rows() - 2; ++row) {
        if (!IsReloadTaskRow(fgToDo, row))
            continue;
        const std::string line = std::to_string(earlier + row);
        fgToDo.SetCell(row, kColOriginal, kReloadTaskText + line);
        fgToDo.SetCell(row, kColTarget, path);
        fgToDo.SetCell(row, kColTargetType, line);
        break;
    }
    return true;
}

bool JobDocument::ConversionJobSave() {
    if (!HasJobFile())
        return ConversionJobSaveAs();
    if (!WriteJob(sJobFile)) {
        // The flag stays set: the job is not saved anywhere and must not be dropped unasked.
        ShowUnableToCreateFile();
        return false;
    }
    bAskToSaveMJBFileBeforeExit = false;
    events_.MenusChanged();
    return true;
}

bool JobDocument::ConversionJobSaveAs() {
    FileDialogRequest request;
    request.title = Translate("Save");
    request.filter = Translate(kJobFileFilter);
    request.filterIndex = 1;
    request.save = true;
    if (sJobFile.size() >= 2)
        request.initialPath = sJobFile;
    const std::string chosen = prompt_.PickFile(request);
    if (chosen.empty())
        return false;
    if (!IsFolderWritable(ParentFolderOf(chosen))) {
        ShowUnableToCreateFile();
        return false;
    }
    const std::string previous = sJobFile;
    sJobFile = chosen;
    if (!WriteJob(chosen)) {
        sJobFile = previous;
        ShowUnableToCreateFile();
        return false;
    }
    bAskToSaveMJBFileBeforeExit = false;
    events_.JobCaption(FileNameOfPath(chosen));
    events_.AddRecentJob(chosen);
    events_.MenusChanged();
    return true;
}

bool JobDocument::SaveLogAsConversionJob() {
    FileDialogRequest request;
    request.title = Translate("Save");
    request.filter = Translate(kJobFileFilter);
    request.filterIndex = 1;
    request.save = true;
    const std::string chosen = prompt_.PickFile(request);
    if (chosen.empty())
        return false;
    if (!WriteLogAsJobFile(chosen, fgLog)) {
        ShowUnableToCreateFile();
        return false;
    }
    return true;
}

int32_t JobDocument::PerformReloadTask(clsConversionOptions& record) {
    const int32_t result = slidemill::PerformReloadTask(record, sJobFile, fgToDo, control_);
    if (result == 0)
        slice_ = JobSliceOrigin{sJobFile, record.lTargetFileType};
    return result;
}

} // namespace slidemill
