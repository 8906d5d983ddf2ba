#pragma once

#include "core/AdvancedOptions.h"
#include "core/CommandStates.h"
#include "core/EditorControls.h"
#include "core/EditorState.h"
#include "core/FileTypes.h"
#include "core/JobDocument.h"
#include "core/Prompt.h"
#include "core/RunControl.h"
#include "core/TaskMoves.h"
#include "run/RunAssembly.h"
#include "run/RunHost.h"
#include "run/RunParts.h"
#include "run/RunStatus.h"
#include "run/UnattendedPrompt.h"
#include "run/Validation.h"
#include "settings/MainWindowLists.h"
#include "settings/MainWindowSettings.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace slidemill {

// The path fields of the task editor.
enum class EditorPathField { Original, Target, OriginalSpecialized, TargetSpecialized, Application };

// What the main window's widgets do for the model; the model never touches a widget.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    // The model changed the editor's values (a row loaded, a pick, a refresh): show
    // Editor() and Controls() again. Called with control events suppressed.
    virtual void EditorChanged() = 0;
    virtual void CommandStatesChanged(const CommandStates& states) = 0;
    // The job's caption: its file name, or "*" for a job without a file.
    virtual void JobCaptionChanged(const std::string& caption) = 0;
    // The recently-used job entries or the editor's recently-used boxes changed.
    virtual void RecentListsChanged() = 0;
    virtual void FocusTaskGrid() = 0;
    virtual void FocusEditorField(TaskEditorField field) = 0;
    virtual bool LogPageSelected() const = 0;
    virtual bool WindowVisible() const = 0;
    // Opens a file, a folder or an address (mailto:, https:) in the desktop's program for it.
    virtual void OpenExternally(const std::string& pathOrUrl) = 0;
};

// The main window without its widgets: the job being edited, the task editor's values, the
// commands and their enabling rules, and the runs, on the one run assembly. The window mirrors
// Editor() and Controls() into its controls, forwards every user action here and applies what
// it is told through MainWindowView. Everything runs on the window's thread.
class MainWindowModel final : public RunHost, private TaskEditorFocus {
public:
    // settingsFile: the settings file (its folder holds the languages and demo data).
    MainWindowModel(RunParts& parts, Prompt& prompt, RunControl& progress, RunStatus& status,
                    MainWindowView& view, const std::string& settingsFile);
    ~MainWindowModel() override;
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    // Loading the window: the lists filled, both grids initialised, the settings and the
    // recently-used lists read, the editor set from the stored settings, every flag cleared.
    void Load();
    // Closing: asks to save a changed job; false when a run is in progress (the caller pauses
    // first and closes once the run has returned). Then writes the settings and the lists.
    bool Close();

    RunAssembly& Assembly() { return *assembly_; }
    JobDocument& Document() { return assembly_->Document(); }
    JobRunner& Runner() { return assembly_->Runner(); }
    EditorState& Editor() { return editor_; }
    const EditorControls& Controls() const { return controls_; }
    const CommandStates& States() const { return states_; }
    MainWindowLists& RecentLists() { return lists_; }
    MainWindowSettings& Settings() { return settings_; }
    // The scheduler reports whether it is enabled, and is stopped (its timer and its window
    // reset) when a Pause ends a run it started or the schedule itself.
    void SetSchedulerEnabledQuery(std::function<bool()> query) { schedulerEnabled_ = std::move(query); }
    void SetSchedulerStop(std::function<void()> stop) { schedulerStop_ = std::move(stop); }
    // The scheduler's due run: opens the job file, rewinds it and runs it from its first task.
    // Nobody may be there to answer, so nothing is asked: unsaved changes of the open job (with
    // an edit still in the editor) go to a recovery job file in the settings folder first, and
    // whatever the open or the run would have asked goes to the log and the status bar. While
    // another run is going the scheduled run is skipped with a line in the log. False when the
    // job did not run.
    bool RunScheduledJob(const std::string& path);
    // The log line of a scheduled run that could not start because another run is going.
    void ScheduledRunSkipped(const std::string& path);

    // The editor's lists, filled at Load.
    const TypeList& TargetTypes() const { return targetTypes_; } // by the conversion method
    const TypeList& OriginalTypes() const { return originalTypes_; }
    const TypeList& SpecialFileTypes() const { return specialFileTypes_; }
    const TypeList& SpecialProcesses() const { return specialProcesses_; }
    const TypeList& WindowStates() const { return windowStates_; }
    const TypeList& ThreadPriorities() const { return threadPriorities_; }
    const std::vector<std::string>& CharacterPicks() const { return characterPicks_; }

    // Editor events. Each does nothing while control events are suppressed; each marks the
    // task dirty, refreshes Controls() and recomputes the rules.
    void EditorEdited();                                             // a value that only marks dirty
    void PathEdited(EditorPathField field, const std::string& text); // quotes removed, rules applied
    void ActionChosen(const std::string& sActionToDo);
    void MethodChosen(int32_t lConversionMethod);
    void TargetTypeChosen(int32_t code);
    void SpecialProcessChosen(int32_t code); // -1: the special request
    void CharacterPicked(bool replaceField, int entry);

    // Pickers and launch buttons of the path fields.
    void PickFile(EditorPathField field);
    void PickFolder(EditorPathField field);
    void Launch(EditorPathField field);

    // Commands. Each acts only while its command is enabled.
    bool AddTask();
    bool UpdateTask();
    bool DeleteTask();
    bool MoveTask(MoveKind kind);
    void NewJob();
    bool OpenJob(const std::string& path = {});
    bool SaveJob();
    bool SaveJobAs();
    bool SaveLogAsJob();
    bool OpenRecentJob(int entryNumber);
    // Begins the run and returns when it ends (the window's message pump runs at every
    // checkpoint, so Pause can end it).
    RunEnd Begin();
    bool Pause();
    bool Rewind();
    // Returns whether the component optimises for speed afterwards (the menu's checked pair).
    bool OptimizeForSpeed(bool speed);

    // The grid's current row is about to be left: false (stay) when the user cancelled.
    bool LeavingRow();
    // The grid's current row changed: the row is loaded into the editor.
    void CurrentRowChanged();
    // A tab was selected (0 the task page, 1 the log page).
    void TabSelected(int index);
    // Recomputes the rules and tells the view.
    void UpdateMenuToolbar();

    // The "Advanced Options" dialog. It shows the editor's slide choice and the window's other
    // options; storing a changed slide choice marks the task changed, so Update takes it into
    // the row.
    AdvancedOptionsValues AdvancedOptions() const;
    void StoreAdvancedOptions(const AdvancedOptionsValues& values);
    // Whether the editor's target format can make one file of a whole presentation.
    bool TargetSupportsSingleFileOutput();
    // The "PDF Options" page's notice for the editor's target ("" when none).
    std::string AdvancedPdfNotice();
    // A double click on the task grid opens the dialog.
    bool AdvancedOptionsOnDoubleClick() const;
    // The prompt every question of the window goes through (the dialogs ask through it too).
    Prompt& Prompts() { return prompt_; }

    // RunHost.
    // Adds the editor's task without looking at the command's state (a save or a run of an
    // empty job asks for it).
    bool AddEditorTask() override;
    bool IsRunning() const override;
    void PauseRun() override { Pause(); }
    void JobCaption(const std::string& caption) override;
    void AddRecentJob(const std::string& path) override;
    void MenusChanged() override { UpdateMenuToolbar(); }
    bool WindowVisible() const override;
    bool SchedulerEnabled() const override;
    void StopScheduler() override;
    bool EditorDirty() const override { return bCurrentActionItemDirty_; }
    bool UpdateCurrentRowFromEditor() override;
    void ClearEditorDirty() override { bCurrentActionItemDirty_ = false; }
    void FocusTaskGrid() override;

private:
    void FocusField(TaskEditorField field) override;
    void SetTargetFileText(const std::string& path) override;
    // Fills TargetTypes() for the editor's conversion method.
    void FillTargetTypes();
    void Refresh();
    void Dirty();
    void ApplySettingsToEditor();
    void EditorToSettings();
    std::string* PathOf(EditorPathField field);
    void RememberEditor();
    // After the editor's task went into the grid: its texts remembered, the job changed, the
    // edit no longer pending, the grid focused.
    void TaskStored();
    // The editor's task, validated; false when the user was told why it cannot be stored.
    bool ValidateEditor(clsConversionOptions& task);
    void ShowCommandError(const std::string& what, const std::exception& error);
    // Loads the current row into the editor (a non-task row leaves it as it is); clears dirty.
    void LoadCurrentRow();
    // Every run of the window, begun by hand or by the scheduler, converts with the window's
    // settings.
    void TakeWindowSettings();
    // A line for the log grid and the status bar about what the scheduler did.
    void SchedulerNote(const std::string& text);
    // Stores an edit still in the editor into the job before a scheduled run replaces it; false
    // when it cannot be stored (it does not validate).
    bool StoreEditorForScheduledRun();

    RunParts& parts_;
    // Every question of the window and its runs passes here, so a scheduled run can answer them.
    UnattendedPrompt runPrompt_;
    Prompt& prompt_;
    MainWindowView& view_;
    RunControl& progress_;
    std::string settingsFile_;
    std::unique_ptr<RunAssembly> assembly_;
    EditorState editor_;
    EditorControls controls_;
    CommandStates states_;
    MainWindowLists lists_;
    MainWindowSettings settings_;
    std::function<bool()> schedulerEnabled_;
    std::function<void()> schedulerStop_;
    bool loaded_ = false;
    bool jobReplaced_ = false;
    bool bCurrentActionItemDirty_ = false;
    bool targetTypePicked_ = false;
    int lastOriginalFilterIndex_ = 1;
    TypeList targetTypes_;
    TypeList originalTypes_;
    TypeList specialFileTypes_;
    TypeList specialProcesses_;
    TypeList windowStates_;
    TypeList threadPriorities_;
    std::vector<std::string> characterPicks_;
};

} // namespace slidemill
