#include "run/MainWindowModel.h"

#include "core/ConversionComponent.h"
#include "core/EditorCells.h"
#include "core/EditorLists.h"
#include "core/MruPresentation.h"
#include "core/PickerRules.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "run/UnsavedJob.h"
#include "settings/IniFile.h"
#include "settings/Paths.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>

namespace slidemill {

namespace {

// Sets the suppress flag for a scope and puts back the value it found, so nested fills stay
// quiet until the outermost one ends.
class SuppressScope {
public:
    explicit SuppressScope(RunHost& host) : host_(host), previous_(host.SuppressControlEvents()) {
        host_.SetSuppressControlEvents(true);
    }
    ~SuppressScope() { host_.SetSuppressControlEvents(previous_); }
    SuppressScope(const SuppressScope&) = delete;
    SuppressScope& operator=(const SuppressScope&) = delete;

private:
    RunHost& host_;
    bool previous_;
};

int IndexOfValue(const TypeList& list, int32_t value) {
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        if (list.entries[i].value == value)
            return static_cast<int>(i);
    return -1;
}

int32_t ValueAt(const TypeList& list, int32_t index, int32_t fallback) {
    if (index < 0 || index >= static_cast<int32_t>(list.entries.size()))
        return fallback;
    return list.entries[index].value;
}

int32_t Count(const TypeList& list) {
    return static_cast<int32_t>(list.entries.size());
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int32_t ParseWaitTime(const std::string& text) {
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used);
        return static_cast<int32_t>(std::clamp<long>(value, -1, INT32_MAX));
    } catch (const std::exception&) {
        return -1;
    }
}

// A wildcard pattern for a folder pick: "*.ext", or every file when the format has none.
std::string PatternOrAll(const std::string& pattern) {
    if (pattern.empty() || pattern[0] != '*')
        return "*.*";
    return pattern;
}

} // namespace

MainWindowModel::MainWindowModel(RunParts& parts, Prompt& prompt, RunControl& progress, RunStatus& status,
                                 MainWindowView& view, const std::string& settingsFile)
    : parts_(parts), runPrompt_(prompt), prompt_(runPrompt_), view_(view), progress_(progress),
      settingsFile_(settingsFile) {
    assembly_ =
        std::make_unique<RunAssembly>(parts, prompt_, progress, this, ParentFolderOf(settingsFile), &status);
}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::FillTargetTypes() {
    switch (editor_.lConversionMethod) {
    case kMethodWord:
        targetTypes_ = WordTargetList(IniFile(settingsFile_));
        break;
    case kMethodFromPdf:
        targetTypes_ = PdfTargetList();
        break;
    default:
        targetTypes_ = ComponentTargetList(parts_.Component());
        break;
    }
}

void MainWindowModel::Load() {
    SuppressScope quiet(*this);
    ConversionComponent& component = parts_.Component();
    // The format names enter the language file once, before any list shows them.
    for (int32_t i = 1; i <= component.FormatCount(); ++i) {
        int32_t code = 0;
        std::string description;
        if (component.GetFormat(i, code, description))
            (void)Translate(description);
    }

    originalTypes_ = OriginalTypeList();
    FillTargetTypes();
    specialFileTypes_ = SpecialProcessTypeList();
    specialProcesses_ = SpecialProcessList();
    windowStates_ = WindowStateList();
    threadPriorities_ = ThreadPriorityList();
    characterPicks_ = CharacterPickerEntries();

    JobDocument& document = Document();
    InitTaskGrid(document.fgToDo);
    InitLogGrid(document.fgLog);
    InitTaskGridView(document.toDoView);
    InitLogGridView(document.logView);
    document.fgToDo.SetRow(1);
    document.fgToDo.SelectWholeRow();

    const IniFile ini(settingsFile_);
    settings_ = ReadMainWindowSettings(ini, false);
    ApplySettingsToEditor();

    lists_.SetupAll(settingsFile_, false);

    Runner().ConversionJobRewind();
    bCurrentActionItemDirty_ = false;
    document.bAskToSaveMJBFileBeforeExit = false;
    document.sJobFile = "*";

    controls_ = RefreshConvertOptionsGUI(editor_, targetTypePicked_);
    view_.EditorChanged();
    view_.RecentListsChanged();
    view_.JobCaptionChanged("*");
    loaded_ = true;
    UpdateMenuToolbar();
}

void MainWindowModel::ApplySettingsToEditor() {
    const MainWindowSettings& s = settings_;
    editor_.lConversionMethod = (s.lConversionMethod >= kMethodWord && s.lConversionMethod <= kMethodFromPdf)
                                    ? s.lConversionMethod
                                    : kMethodComponent;
    editor_.sActionToDo = IsSpecialAction(s.sActionToDo) ? "S" : "C";
    FillTargetTypes();

    const int32_t target =
        TargetTypePosition(s.cbFileTypeTargetListIndex, Count(targetTypes_), targetTypes_.selected);
    editor_.lTargetFileType = ValueAt(targetTypes_, target, kNoFileType);
    targetTypes_.selected = target;
    const int32_t original =
        StoredListPosition(s.cbFileTypeOriginalListIndex, Count(originalTypes_), originalTypes_.selected);
    editor_.lOriginalFileType = ValueAt(originalTypes_, original, editor_.lOriginalFileType);
    const int32_t special =
        SpecializedOriginalTypePosition(s.cbFileTypeOriginalSpecializedListIndex, Count(specialFileTypes_));
    editor_.lSpecialFileType = ValueAt(specialFileTypes_, special, editor_.lSpecialFileType);

    int32_t process = StoredListPosition(s.cbSpecialProcessesListIndex, Count(specialProcesses_),
                                         specialProcesses_.selected);
    // The request entry is no process a task could hold.
    if (ValueAt(specialProcesses_, process, kSpecialNotListed) == kSpecialNotListed)
        process = specialProcesses_.selected;
    editor_.lSpecialProcess = ValueAt(specialProcesses_, process, editor_.lSpecialProcess);
    const int32_t state =
        StoredListPosition(s.cbCommandLineWindowStateListIndex, Count(windowStates_), windowStates_.selected);
    editor_.lCommandLineWindowState = ValueAt(windowStates_, state, editor_.lCommandLineWindowState);
    const int32_t priority = StoredListPosition(s.cbCommandLineThreadPriorityListIndex,
                                                Count(threadPriorities_), threadPriorities_.selected);
    editor_.lCommandLineThreadPriority =
        ValueAt(threadPriorities_, priority, editor_.lCommandLineThreadPriority);
    editor_.lCommandLineWaitTime = ParseWaitTime(s.txtCommandLineWaitTimeInSeconds);

    editor_.bDoSubfolders = s.cbDoSubfolders != 0;
    editor_.bDoSubfoldersSpecialized = s.cbDoSubfoldersSpecialized != 0;
    editor_.bCaseSensitive = s.cbCaseSensitive != 0;
    editor_.bConvertAllSlides = s.bConvertAllSlides;
    editor_.lFromSlide = s.lFromSlide;
    editor_.lToSlide = s.lToSlide;
    editor_.bCreateFileForEachSlide = s.bCreateFileForEachSlide;
    editor_.sSlideDescription =
        SlideRangeDescription(s.bConvertAllSlides, s.lFromSlide, s.lToSlide, s.bCreateFileForEachSlide);
    targetTypePicked_ = false;
    parts_.Component().SetOptimizeForSpeed(s.mnuOptimizeForSpeed);
}

void MainWindowModel::EditorToSettings() {
    MainWindowSettings& s = settings_;
    s.lConversionMethod = editor_.lConversionMethod;
    s.sActionToDo = editor_.sActionToDo;
    const auto store = [](int32_t& field, const TypeList& list, int32_t value) {
        const int index = IndexOfValue(list, value);
        if (index >= 0)
            field = index;
    };
    store(s.cbFileTypeTargetListIndex, targetTypes_, editor_.lTargetFileType);
    store(s.cbFileTypeOriginalListIndex, originalTypes_, editor_.lOriginalFileType);
    store(s.cbFileTypeOriginalSpecializedListIndex, specialFileTypes_, editor_.lSpecialFileType);
    store(s.cbSpecialProcessesListIndex, specialProcesses_, editor_.lSpecialProcess);
    store(s.cbCommandLineWindowStateListIndex, windowStates_, editor_.lCommandLineWindowState);
    store(s.cbCommandLineThreadPriorityListIndex, threadPriorities_, editor_.lCommandLineThreadPriority);
    s.txtCommandLineWaitTimeInSeconds = std::to_string(editor_.lCommandLineWaitTime);
    s.cbDoSubfolders = editor_.bDoSubfolders ? 1 : 0;
    s.cbDoSubfoldersSpecialized = editor_.bDoSubfoldersSpecialized ? 1 : 0;
    s.cbCaseSensitive = editor_.bCaseSensitive ? 1 : 0;
    s.mnuOptimizeForSpeed = parts_.Component().OptimizeForSpeed();
}

bool MainWindowModel::Close() {
    // The runner and its grids must outlive the run; the caller pauses and closes afterwards.
    if (IsRunning())
        return false;
    Document().CheckToSaveFileBeforeErasing();
    EditorToSettings();
    IniFile ini(settingsFile_);
    // A settings file that cannot be written must not keep the user in the window.
    (void)SaveMainWindowSettings(ini, settings_, false);
    (void)lists_.ShutDownAll(false);
    parts_.ShutDown();
    return true;
}

// ---- Editor events ----

void MainWindowModel::Refresh() {
    SuppressScope quiet(*this);
    controls_ = RefreshConvertOptionsGUI(editor_, targetTypePicked_);
    view_.EditorChanged();
}

void MainWindowModel::Dirty() {
    bCurrentActionItemDirty_ = true;
    Refresh();
    UpdateMenuToolbar();
}

std::string* MainWindowModel::PathOf(EditorPathField field) {
    switch (field) {
    case EditorPathField::Original:
        return &editor_.sOriginalFile;
    case EditorPathField::Target:
        return &editor_.sTargetFile;
    case EditorPathField::OriginalSpecialized:
        return &editor_.sOriginalFileSpecialized;
    case EditorPathField::TargetSpecialized:
        return &editor_.sTargetFileSpecialized;
    case EditorPathField::Application:
        return &editor_.sApplicationName;
    }
    return &editor_.sOriginalFile;
}

void MainWindowModel::EditorEdited() {
    if (SuppressControlEvents())
        return;
    Dirty();
}

void MainWindowModel::PathEdited(EditorPathField field, const std::string& text) {
    if (SuppressControlEvents())
        return;
    *PathOf(field) = RemoveDoubleQuotes(text);
    Dirty();
}

void MainWindowModel::ActionChosen(const std::string& sActionToDo) {
    if (SuppressControlEvents())
        return;
    editor_.sActionToDo = IsSpecialAction(sActionToDo) ? "S" : "C";
    Dirty();
}

void MainWindowModel::MethodChosen(int32_t lConversionMethod) {
    if (SuppressControlEvents())
        return;
    editor_.lConversionMethod = lConversionMethod;
    FillTargetTypes();
    // The old code means another format (or nothing) in the new list.
    editor_.lTargetFileType = ValueAt(targetTypes_, targetTypes_.selected, kNoFileType);
    targetTypePicked_ = false;
    Dirty();
}

void MainWindowModel::TargetTypeChosen(int32_t code) {
    if (SuppressControlEvents())
        return;
    editor_.lTargetFileType = code;
    targetTypePicked_ = true;
    Dirty();
}

void MainWindowModel::SpecialProcessChosen(int32_t code) {
    if (SuppressControlEvents())
        return;
    if (code == kSpecialNotListed) {
        // The request entry is not a process: the editor keeps the one it had.
        const std::string title = Translate("Special Request");
        if (prompt_.Ask(SpecialRequestQuestion(), title, PromptButtons::OKCancel, PromptIcon::Question) ==
                PromptAnswer::OK &&
            prompt_.Ask(SpecialRequestDetails(), title, PromptButtons::OKCancel, PromptIcon::Information) ==
                PromptAnswer::OK)
            view_.OpenExternally(SpecialRequestMailto());
    } else {
        editor_.lSpecialProcess = code;
    }
    Dirty();
}

void MainWindowModel::CharacterPicked(bool replaceField, int entry) {
    if (SuppressControlEvents())
        return;
    std::string& text = replaceField ? editor_.sReplaceString : editor_.sFindString;
    text = AppendCharacterCode(text, entry);
    Dirty();
}

// ---- Pickers and launch buttons ----

void MainWindowModel::PickFile(EditorPathField field) {
    if (SuppressControlEvents())
        return;
    FileDialogRequest request;
    switch (field) {
    case EditorPathField::Original:
        request.title = Translate("Select Original");
        request.filter = OriginalFileFilter();
        request.filterIndex = OriginalFilterIndex(editor_.lOriginalFileType, lastOriginalFilterIndex_);
        break;
    case EditorPathField::Target:
        request.title = Translate("Select Target");
        request.filter = TargetFileFilter();
        break;
    case EditorPathField::OriginalSpecialized:
        request.title = Translate("Select Original");
        request.filter = SpecialFileFilter();
        break;
    case EditorPathField::TargetSpecialized:
        request.title = Translate("Select Target");
        request.filter = SpecialFileFilter();
        break;
    case EditorPathField::Application:
        request.title = Translate("Select Application");
        request.filter = Translate("All files") + "|*";
        break;
    }
    std::string initial = *PathOf(field);
    request.initialPath = ExpandFolderTokens(initial);
    // The dialog saves whenever its title says so in the user's language.
    request.save = Lower(request.title).find(Lower(Translate("save"))) != std::string::npos;
    const std::string chosen = prompt_.PickFile(request);
    if (chosen.empty())
        return;
    if (field == EditorPathField::Original)
        lastOriginalFilterIndex_ = request.filterIndex;
    *PathOf(field) = chosen;
    Dirty();
}

void MainWindowModel::PickFolder(EditorPathField field) {
    if (SuppressControlEvents())
        return;
    ConversionComponent& component = parts_.Component();
    std::string pattern;
    switch (field) {
    case EditorPathField::Original:
        pattern = TypeCodeToText(editor_.lOriginalFileType, true, editor_.lConversionMethod, &component);
        break;
    case EditorPathField::Target:
        pattern = TypeCodeToText(editor_.lTargetFileType, true, editor_.lConversionMethod, &component);
        break;
    case EditorPathField::OriginalSpecialized:
    case EditorPathField::TargetSpecialized:
        pattern = TypeCodeToText(editor_.lSpecialFileType, true, kMethodSpecial, &component);
        break;
    case EditorPathField::Application:
        break;
    }
    const std::string chosen =
        prompt_.PickFolder(Translate("Browse For Folder"), FolderPickerStart(*PathOf(field)));
    const std::string result = FolderPickResult(
        chosen, field == EditorPathField::Application ? std::string() : PatternOrAll(pattern));
    if (result.empty())
        return;
    *PathOf(field) = result;
    Dirty();
}

void MainWindowModel::Launch(EditorPathField field) {
    const LaunchTarget target = ResolveLaunchTarget(*PathOf(field));
    if (target.kind == LaunchKind::Missing) {
        prompt_.Ask(MissingLaunchTargetMessage(target.path), Translate("Error"), PromptButtons::OK,
                    PromptIcon::Exclamation);
        return;
    }
    view_.OpenExternally(target.path);
}

// ---- Commands ----

void MainWindowModel::RememberEditor() {
    EditorBoxTexts texts;
    texts.sActionToDo = editor_.sActionToDo;
    texts.cbOriginalFile = editor_.sOriginalFile;
    texts.cbTargetFile = editor_.sTargetFile;
    texts.cbOriginalFileSpecialized = editor_.sOriginalFileSpecialized;
    texts.cbTargetFileSpecialized = editor_.sTargetFileSpecialized;
    texts.cbCommandLine = editor_.sApplicationName;
    texts.cbCommandLineArguments = editor_.sCommandLineArguments;
    texts.cbFindString = editor_.sFindString;
    texts.cbReplacementString = editor_.sReplaceString;
    if (!RememberEditorTexts(lists_, texts).empty())
        view_.RecentListsChanged();
}

bool MainWindowModel::ValidateEditor(clsConversionOptions& task) {
    task = EditorToRecord(editor_);
    ValidateTask(task, &parts_.Component());
    if (task.lErr == 0)
        return true;
    return ReportValidationErrorInteractive(*this, task, prompt_);
}

void MainWindowModel::ShowCommandError(const std::string& what, const std::exception& error) {
    prompt_.Ask(Translate(what) + "\r\r" + error.what(), Translate("Error"), PromptButtons::OK,
                PromptIcon::Critical);
}

void MainWindowModel::TaskStored() {
    RememberEditor();
    Document().MarkChanged();
    bCurrentActionItemDirty_ = false;
    view_.FocusTaskGrid();
    UpdateMenuToolbar();
}

bool MainWindowModel::AddEditorTask() {
    try {
        clsConversionOptions task;
        if (!ValidateEditor(task))
            return false;
        AppendTaskRow(task, Document().fgToDo, &parts_.Component());
        TaskStored();
        return true;
    } catch (const std::exception& error) {
        ShowCommandError(N_("AddFileToConvertGUIErr: Unable to add"), error);
        return false;
    }
}

bool MainWindowModel::AddTask() {
    if (!states_.keyAdd)
        return false;
    return AddEditorTask();
}

bool MainWindowModel::UpdateCurrentRowFromEditor() {
    try {
        Grid& grid = Document().fgToDo;
        if (!IsTaskRow(grid, grid.Row()))
            return false;
        clsConversionOptions task;
        if (!ValidateEditor(task))
            return false;
        const bool written = IsSpecialAction(editor_.sActionToDo)
                                 ? UpdateGridFromGUI_SpecializedItem(editor_, grid)
                                 : UpdateGridFromGUI_ConversionItem(editor_, grid, &parts_.Component());
        if (!written)
            return false;
        TaskStored();
        return true;
    } catch (const std::exception& error) {
        ShowCommandError(N_("ConversionJobUpdate: Unable to update"), error);
        return false;
    }
}

bool MainWindowModel::UpdateTask() {
    if (!states_.keyUpdate)
        return false;
    return UpdateCurrentRowFromEditor();
}

bool MainWindowModel::DeleteTask() {
    if (!states_.keyRemove)
        return false;
    JobDocument& document = Document();
    Grid& grid = document.fgToDo;
    document.MarkChanged();
    if (grid.Cell(1, kColNumber).empty()) {
        InitTaskGrid(grid);
    } else if (!(grid.Row() == 1 && grid.Rows() == 2)) {
        const int row = grid.Row();
        if (row > 0 && grid.Cell(row, kColNumber) != kNewTaskMark && RemoveAllFilesWithJobNumber(grid, row)) {
            grid.SetRow(std::min(row, grid.Rows() - 1));
            grid.SelectWholeRow();
        }
        LoadCurrentRow();
    }
    view_.FocusTaskGrid();
    UpdateMenuToolbar();
    return true;
}

bool MainWindowModel::MoveTask(MoveKind kind) {
    if (IsRunning() || SchedulerEnabled())
        return false;
    Grid& grid = Document().fgToDo;
    bool moved = false;
    {
        SuppressScope quiet(*this);
        // Moving the first task up or the last one down leaves the job as it is.
        const int target = MoveTarget(grid, kind);
        moved = target != grid.RowSel() && MoveGridRow(grid, target);
    }
    if (moved)
        Document().MarkChanged();
    UpdateMenuToolbar();
    return moved;
}

void MainWindowModel::NewJob() {
    if (!states_.keyNew)
        return;
    Document().NewJob();
    bCurrentActionItemDirty_ = false;
    UpdateMenuToolbar();
}

bool MainWindowModel::OpenJob(const std::string& path) {
    if (!states_.keyOpen)
        return false;
    jobReplaced_ = false;
    const bool opened = Document().ConversionJobOpen(path);
    // A cancelled or refused open leaves the grid, so the editor keeps what the user typed.
    if (jobReplaced_)
        LoadCurrentRow();
    UpdateMenuToolbar();
    return opened;
}

bool MainWindowModel::SaveJob() {
    if (!states_.KeySave)
        return false;
    const bool saved = Document().ConversionJobSave();
    UpdateMenuToolbar();
    return saved;
}

bool MainWindowModel::SaveJobAs() {
    if (!states_.KeySaveAs)
        return false;
    const bool saved = Document().ConversionJobSaveAs();
    UpdateMenuToolbar();
    return saved;
}

bool MainWindowModel::SaveLogAsJob() {
    if (!states_.KeySaveLogAsConversionJob)
        return false;
    return Document().SaveLogAsConversionJob();
}

bool MainWindowModel::OpenRecentJob(int entryNumber) {
    std::string path = MruMenuEntryPath(lists_.mruFileOpen, entryNumber);
    if (path.empty())
        return false;
    std::string expanded = path;
    ExpandFolderTokens(expanded);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(expanded, ec)) {
        prompt_.Ask(MissingJobFileMessage(path), Translate("Error"), PromptButtons::OK,
                    PromptIcon::Exclamation);
        return false;
    }
    return OpenJob(path);
}

void MainWindowModel::TakeWindowSettings() {
    // The stored settings first (the parts take up their own values there), then what this
    // window holds: the window owns the conversion settings while it is open, also those of
    // the "PDF - with options" stage that no dialog has saved yet.
    assembly_->ReadSettings();
    parts_.UsePdfOptions(settings_.pdx);
    Runner().Settings() = ToConversionSettings(settings_);
}

RunEnd MainWindowModel::Begin() {
    if (IsRunning())
        return RunEnd::Busy;
    if (!states_.keyConvert)
        return RunEnd::Cancelled;
    TakeWindowSettings();
    const RunEnd end = Runner().ConversionJobBegin();
    UpdateMenuToolbar();
    return end;
}

bool MainWindowModel::Pause() {
    bool paused = Runner().ConversionJobPause();
    // A schedule waiting for its next run has no run to pause: Pause ends the schedule.
    if (!paused && SchedulerEnabled()) {
        StopScheduler();
        paused = true;
    }
    UpdateMenuToolbar();
    return paused;
}

bool MainWindowModel::Rewind() {
    if (!states_.keyRewind)
        return false;
    const bool rewound = Runner().ConversionJobRewind();
    UpdateMenuToolbar();
    return rewound;
}

bool MainWindowModel::OptimizeForSpeed(bool speed) {
    ConversionComponent& component = parts_.Component();
    component.SetOptimizeForSpeed(speed);
    // Speed is checked only when the component took it; memory is checked as chosen.
    const bool checkedSpeed = speed && component.OptimizeForSpeed();
    settings_.mnuOptimizeForSpeed = checkedSpeed;
    return checkedSpeed;
}

// ---- The scheduler's runs ----

void MainWindowModel::SchedulerNote(const std::string& text) {
    std::vector<std::string> cells(kLogGridCols);
    cells[kColStatus] = text;
    AppendLogRow(Document().fgLog, cells);
    progress_.SetStatusText(StatusPanel::CurrentFile, text);
}

bool MainWindowModel::StoreEditorForScheduledRun() {
    const Grid& grid = Document().fgToDo;
    const bool stored = IsTaskRow(grid, grid.Row()) ? UpdateCurrentRowFromEditor() : AddEditorTask();
    bCurrentActionItemDirty_ = false;
    return stored;
}

void MainWindowModel::ScheduledRunSkipped(const std::string& path) {
    SchedulerNote(Translate("The scheduled run was skipped because another conversion job is running:") + " " +
                  path);
}

bool MainWindowModel::RunScheduledJob(const std::string& path) {
    if (IsRunning()) {
        ScheduledRunSkipped(path);
        return false;
    }
    const bool wasUnattended = runPrompt_.SetUnattended(true);
    JobDocument& document = Document();
    std::vector<std::string> notes;
    std::string keptNote;
    if (bCurrentActionItemDirty_ && !StoreEditorForScheduledRun()) {
        std::string note = Translate("The task being edited does not validate and was not kept.");
        for (const std::string& message : runPrompt_.TakeMessages())
            note += " " + message;
        notes.push_back(note);
    }
    runPrompt_.TakeMessages();
    if (document.bAskToSaveMJBFileBeforeExit && TaskCount(document.fgToDo) > 0) {
        const std::string kept = KeepUnsavedJob(document, ParentFolderOf(settingsFile_));
        if (kept.empty()) {
            // Running would throw the changes away; they stay, and so does the job, until a later
            // run can keep them.
            runPrompt_.SetUnattended(wasUnattended);
            for (const std::string& note : notes)
                SchedulerNote(note);
            SchedulerNote(Translate("The scheduled run was skipped because the unsaved changes of the open "
                                    "job could not be kept:") +
                          " " + path);
            return false;
        }
        keptNote = Translate("The unsaved changes of the open job were kept in") + " " + kept;
    }
    // Nothing was left to ask about (a job without tasks has nothing to lose).
    document.bAskToSaveMJBFileBeforeExit = false;

    TakeWindowSettings();
    jobReplaced_ = false;
    const bool ran = Runner().RunJobFile(path);
    if (jobReplaced_)
        LoadCurrentRow();
    for (const std::string& message : runPrompt_.TakeMessages())
        notes.push_back(message);
    runPrompt_.SetUnattended(wasUnattended);
    // The run starts with an empty log: these lines follow its entries, the recovery file last
    // so the status bar keeps naming it.
    if (!keptNote.empty())
        notes.push_back(keptNote);
    for (const std::string& note : notes)
        SchedulerNote(note);
    UpdateMenuToolbar();
    return ran;
}

// ---- Rows and tabs ----

bool MainWindowModel::LeavingRow() {
    return Runner().bCheckToUpdateDirtyConversionItem();
}

void MainWindowModel::LoadCurrentRow() {
    {
        SuppressScope quiet(*this);
        const Grid& grid = Document().fgToDo;
        EditorState loaded = editor_;
        if (UpdateGUI_ViaCellContents(grid, loaded)) {
            const bool methodChanged = loaded.lConversionMethod != editor_.lConversionMethod;
            editor_ = loaded;
            if (methodChanged)
                FillTargetTypes();
            targetTypePicked_ = editor_.lTargetFileType != kNoFileType;
        }
        controls_ = RefreshConvertOptionsGUI(editor_, targetTypePicked_);
        view_.EditorChanged();
    }
    bCurrentActionItemDirty_ = false;
}

void MainWindowModel::CurrentRowChanged() {
    // A run, a move or a load changes the row itself; the editor follows the user's choices only.
    if (SuppressControlEvents()) {
        UpdateMenuToolbar();
        return;
    }
    LoadCurrentRow();
    UpdateMenuToolbar();
}

void MainWindowModel::TabSelected(int index) {
    UpdateMenuToolbar();
    // A look at the log must not throw away an edit that is not yet in its row.
    if (index == 0 && !SuppressControlEvents() && !bCurrentActionItemDirty_)
        LoadCurrentRow();
}

void MainWindowModel::UpdateMenuToolbar() {
    if (!loaded_)
        return;
    const JobDocument& document = assembly_->Document();
    const Grid& grid = document.fgToDo;
    MainWindowState state;
    state.schedulerEnabled = SchedulerEnabled();
    state.bRunning = IsRunning();
    state.bCurrentActionItemDirty = bCurrentActionItemDirty_;
    state.bSuppressControlEvents = SuppressControlEvents();
    state.logPageSelected = view_.LogPageSelected();
    state.resumeInsideTask = assembly_->Runner().ResumeFileIndex() > 0;
    state.rows = grid.Rows();
    state.row = grid.Row();
    state.logRows = document.fgLog.Rows();
    state.currentNumberCell = grid.CellText(grid.Row(), kColNumber);
    state.firstPassCell = grid.CellText(1, kColPass);
    CommandStates states = slidemill::UpdateMenuToolbar(state);
    if (!states.moves)
        states.moves = states_.moves;
    states_ = states;
    view_.CommandStatesChanged(states_);
}

// ---- Advanced options ----

AdvancedOptionsValues MainWindowModel::AdvancedOptions() const {
    AdvancedOptionsValues v;
    v.bConvertAllSlides = editor_.bConvertAllSlides;
    v.lFromSlide = editor_.lFromSlide;
    v.lToSlide = editor_.lToSlide;
    v.bCreateFileForEachSlide = editor_.bCreateFileForEachSlide;
    const MainWindowSettings& s = settings_;
    v.bIncludeNotesPage = s.bIncludeNotesPage;
    v.bIncludeNotesOnly = s.bIncludeNotesOnly;
    v.bShowSlideAndShape = s.bShowSlideAndShape;
    v.bPDFTextOnly = s.bPDFTextOnly;
    v.bMoveOriginalFileAfterProcessing = s.bMoveOriginalFileAfterProcessing;
    v.sMoveFileToFolder = s.sMoveFileToFolder;
    v.bDeleteOriginalFileAfterProcessing = s.bDeleteOriginalFileAfterProcessing;
    return v;
}

void MainWindowModel::StoreAdvancedOptions(const AdvancedOptionsValues& v) {
    const bool taskChanged = TaskOptionsDiffer(v, AdvancedOptions());
    MainWindowSettings& s = settings_;
    s.bMoveOriginalFileAfterProcessing = v.bMoveOriginalFileAfterProcessing;
    s.sMoveFileToFolder = v.sMoveFileToFolder;
    s.bDeleteOriginalFileAfterProcessing = v.bDeleteOriginalFileAfterProcessing;
    // The slide choice is the task's (it goes into the row) and the next task's default.
    editor_.bConvertAllSlides = s.bConvertAllSlides = v.bConvertAllSlides;
    editor_.lFromSlide = s.lFromSlide = v.lFromSlide;
    editor_.lToSlide = s.lToSlide = v.lToSlide;
    editor_.bCreateFileForEachSlide = s.bCreateFileForEachSlide = v.bCreateFileForEachSlide;
    s.bPDFTextOnly = v.bPDFTextOnly;
    s.bIncludeNotesPage = v.bIncludeNotesPage;
    s.bIncludeNotesOnly = v.bIncludeNotesOnly;
    s.bShowSlideAndShape = v.bShowSlideAndShape;
    editor_.sSlideDescription = SlideRangeDescription(editor_.bConvertAllSlides, editor_.lFromSlide,
                                                      editor_.lToSlide, editor_.bCreateFileForEachSlide);
    {
        SuppressScope quiet(*this);
        view_.EditorChanged();
    }
    if (taskChanged) {
        bCurrentActionItemDirty_ = true;
        UpdateMenuToolbar();
    }
}

bool MainWindowModel::TargetSupportsSingleFileOutput() {
    return parts_.Component().SupportsSingleFileOutput(editor_.lTargetFileType);
}

std::string MainWindowModel::AdvancedPdfNotice() {
    return PdfOptionsNotice(parts_.Component().PowerPointVersionAtLeast2010(), editor_.lTargetFileType);
}

bool MainWindowModel::AdvancedOptionsOnDoubleClick() const {
    return slidemill::AdvancedOptionsOnDoubleClick(!IsSpecialAction(editor_.sActionToDo),
                                                   controls_.advancedOptionsVisible, assembly_->Document().fgToDo);
}

// ---- RunHost ----

bool MainWindowModel::IsRunning() const {
    return assembly_->Runner().Running();
}

void MainWindowModel::JobCaption(const std::string& caption) {
    // The document names its job only when it has a new one (or none).
    jobReplaced_ = true;
    view_.JobCaptionChanged(caption);
}

void MainWindowModel::AddRecentJob(const std::string& path) {
    if (RememberJobFile(lists_.mruFileOpen, path, false))
        view_.RecentListsChanged();
}

bool MainWindowModel::WindowVisible() const {
    return view_.WindowVisible();
}

bool MainWindowModel::SchedulerEnabled() const {
    return schedulerEnabled_ && schedulerEnabled_();
}

void MainWindowModel::StopScheduler() {
    if (schedulerStop_)
        schedulerStop_();
    UpdateMenuToolbar();
}

void MainWindowModel::FocusTaskGrid() {
    view_.FocusTaskGrid();
}

void MainWindowModel::FocusField(TaskEditorField field) {
    view_.FocusEditorField(field);
}

void MainWindowModel::SetTargetFileText(const std::string& path) {
    if (IsSpecialAction(editor_.sActionToDo))
        editor_.sTargetFileSpecialized = path;
    else
        editor_.sTargetFile = path;
    SuppressScope quiet(*this);
    view_.EditorChanged();
}

} // namespace slidemill
