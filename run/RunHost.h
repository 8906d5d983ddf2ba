#pragma once

#include "core/JobDocument.h"

namespace slidemill {

// What the job runner needs from the window around it, beyond the job document's own events
// (adding the editor's task, menus). Every member has the answer of a run without a window, so
// the command line uses this class as it is.
class RunHost : public JobDocumentEvents {
public:
    virtual bool WindowVisible() const { return false; }
    virtual bool SchedulerEnabled() const { return false; }

    // The task editor holds changes that are not yet in its grid row.
    virtual bool EditorDirty() const { return false; }
    // Writes the editor into the current row (validating it first); false when that failed.
    virtual bool UpdateCurrentRowFromEditor() { return true; }
    // The editor's changes are no longer offered for writing back (its dirty flag is cleared).
    virtual void ClearEditorDirty() {}

    // Editor event handlers do nothing while this is set.
    virtual bool SuppressControlEvents() const { return suppress_; }
    virtual void SetSuppressControlEvents(bool value) { suppress_ = value; }

    // A Pause also stops the scheduler: its timer stops and its window and caption are reset.
    virtual void StopScheduler() {}
    virtual void FocusTaskGrid() {}

private:
    bool suppress_ = false;
};

} // namespace slidemill
