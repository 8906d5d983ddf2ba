#include "core/CommandStates.h"

namespace slidemill {

namespace {

std::optional<MoveEntryStates> MoveEntries(const MainWindowState& s) {
    MoveEntryStates moves;
    // The first matching condition decides: too few tasks, the new-task row, the first task,
    // a task in the middle, the last task.
    if (s.rows <= 3 || s.row == s.rows - 1)
        return moves;
    moves.moveMenuVisible = true;
    if (s.row == 1) {
        moves.downAndLastVisible = true;
    } else if (s.row < s.rows - 2) {
        moves.upAndFirstVisible = true;
        moves.downAndLastVisible = true;
    } else {
        moves.upAndFirstVisible = true;
    }
    return moves;
}

} // namespace

CommandStates UpdateMenuToolbar(const MainWindowState& s) {
    CommandStates c;
    const bool busy = s.schedulerEnabled || s.bRunning;
    if (busy) {
        c.keyPause = true;
    } else {
        c.keyOpen = c.keyNew = c.keyConvert = true;
        c.keyRewind = !s.firstPassCell.empty() || s.resumeInsideTask;
        c.keyAdd = true;
        const bool taskRowSelected = !s.currentNumberCell.empty() && s.row > 0 && s.row < s.rows - 1;
        if (taskRowSelected) {
            c.keyRemove = true;
            c.keyUpdate = s.bCurrentActionItemDirty;
        }
        if (s.logPageSelected)
            c.keyRemove = c.keyUpdate = c.keyAdd = false;
    }
    c.KeySave = c.KeySaveAs = s.rows > 1;
    if (s.rows == 3)
        c.keyRewind = c.keyRemove = false;
    if (!busy && !s.bSuppressControlEvents)
        c.moves = MoveEntries(s);
    c.KeySaveLogAsConversionJob = s.logRows > 2;
    return c;
}

} // namespace slidemill
