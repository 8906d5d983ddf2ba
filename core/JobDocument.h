#pragma once

#include "core/ConversionOptions.h"
#include "core/Grid.h"
#include "core/JobFile.h"
#include "core/LogGrid.h"
#include "core/Prompt.h"
#include "core/RunControl.h"
#include "core/TaskGrid.h"

#include <string>

namespace slidemill {

// What the job session needs from the window around it. Every member has a harmless default,
// so an unattended run overrides only what it has.
class JobDocumentEvents {
public:
    virtual ~JobDocumentEvents() = default;
    // Validates the editor's task and appends it to the task grid; false when it does not pass.
    virtual bool AddEditorTask() { return false; }
    virtual bool IsRunning() const { return false; }
    virtual void PauseRun() {}
    // The window caption: a job file's name, or "*" for a job without a file.
    virtual void JobCaption(const std::string&) {}
    virtual void AddRecentJob(const std::string&) {}
    virtual void MenusChanged() {}
};

// The job being edited: the task and log grids, the job file they belong to, and whether the
// job has changed since it was last opened or saved. Opening and saving ask their questions
// through the prompt.
class JobDocument {
public:
    JobDocument(Prompt& prompt, RunControl& control, JobDocumentEvents* events = nullptr);

    Grid fgToDo{kTaskGridCols};
    Grid fgLog{kLogGridCols};
    // What the window's views of the two grids show besides the cells.
    GridViewState toDoView;
    GridViewState logView;
    // "*" (or empty) while the job has no file.
    std::string sJobFile = "*";
    bool bAskToSaveMJBFileBeforeExit = false;
    bool bCommandLineMode = false;
    // Where the first open dialog of a session starts.
    std::string sSettingsFolder;

    bool HasJobFile() const { return !sJobFile.empty() && sJobFile != "*"; }
    void MarkChanged() { bAskToSaveMJBFileBeforeExit = true; }
    const JobLoadResult& LastLoad() const { return lastLoad_; }

    void NewJob();
    // Asks whether to save a changed job before it is replaced.
    void CheckToSaveFileBeforeErasing();
    // Opens sFile (folder tokens expanded), or the file the user picks when sFile is empty.
    // False when no job was opened completely: cancelled, missing, unreadable or stopped.
    bool ConversionJobOpen(const std::string& sFile);
    bool ConversionJobSave();
    bool ConversionJobSaveAs();
    bool SaveLogAsConversionJob();
    // Special process 1 for the runner: load the next slice of the current job.
    int32_t PerformReloadTask(clsConversionOptions& record);

private:
    bool WriteJob(const std::string& path);
    void ShowError(const std::string& text);
    void ShowUnableToCreateFile();

    Prompt& prompt_;
    RunControl& control_;
    JobDocumentEvents defaultEvents_;
    JobDocumentEvents& events_;
    JobLoadResult lastLoad_;
    // Where the grid's tasks start in their job file; a later slice is saved with the tasks
    // before it.
    JobSliceOrigin slice_;
    bool openDialogShown_ = false;
};

} // namespace slidemill
