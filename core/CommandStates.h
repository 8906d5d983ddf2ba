#pragma once

#include <optional>
#include <string>

namespace slidemill {

// What the enabling rules of the main window's commands look at.
struct MainWindowState {
    bool schedulerEnabled = false;
    bool bRunning = false;
    bool bCurrentActionItemDirty = false;
    bool bSuppressControlEvents = false;
    bool logPageSelected = false;
    // The runner holds a resume position inside a task (a file list paused part way).
    bool resumeInsideTask = false;
    int rows = 2;                  // rows of fgToDo, header and new-task row included
    int row = 1;                   // its current row
    int logRows = 1;               // rows of fgLog, header included
    std::string currentNumberCell; // column 1 of the current row
    std::string firstPassCell;     // column 9 (pass) of row 1
};

// Visibility of the move entries. The popup's Up/First and Down/Last entries follow the menu's;
// with the move menu hidden all four popup entries are hidden too.
struct MoveEntryStates {
    bool moveMenuVisible = false;
    bool upAndFirstVisible = false;
    bool downAndLastVisible = false;
    bool operator==(const MoveEntryStates&) const = default;
};

// The enabled state of every command, by its toolbar key. The menu entries and the editor's
// command buttons take the state of their toolbar twin (the File menu's save entries that of
// "KeySave" and "KeySaveAs", the popup's Delete that of "keyRemove").
struct CommandStates {
    bool keyNew = false;
    bool keyOpen = false;
    bool keyAdd = false;
    bool keyRemove = false;
    bool keyUpdate = false;
    bool keyRewind = false;
    bool keyConvert = false;
    bool keyPause = false;
    bool KeySave = false;
    bool KeySaveAs = false;
    bool KeySaveLogAsConversionJob = false;
    // Empty while busy or while control events are suppressed: the move entries then keep the
    // visibility they had.
    std::optional<MoveEntryStates> moves;
    bool operator==(const CommandStates&) const = default;
};

// The enabling and visibility rules, recomputed after every change of the job, the selection,
// the editor or the run state. Busy means a run is in progress or the scheduler is enabled.
CommandStates UpdateMenuToolbar(const MainWindowState& state);

} // namespace slidemill
