#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// Status-bar panels of the frame window that long work writes to.
enum class StatusPanel { TaskNumber = 3, State = 6, CurrentFile = 8, Elapsed = 11 };

// How long work stays responsive and stoppable: it calls Checkpoint at fixed points (the
// window lets pending messages run there), tests Running() (false once the user paused)
// and reports progress. The window, the command line and the tests each implement it.
class RunControl {
public:
    virtual ~RunControl() = default;
    virtual void Checkpoint() {}
    virtual bool Running() const { return true; }
    // Work that a Pause must be able to stop while nothing runs (loading a job) sets the flag
    // for its duration and puts back the value it found.
    virtual void SetRunning(bool) {}
    virtual void SetStatusText(StatusPanel, const std::string&) {}
    virtual void SetWaitCursor(bool) {}
    // A walk over a file list: done of count files are behind it. Shown as a progress bar where
    // there is room for one; the percentage text goes to the state panel as well.
    virtual void SetListProgress(int32_t /*done*/, int32_t /*count*/) {}
};

// A run that is never paused and shows nothing: the default for code with no window.
inline RunControl& NullRunControl() {
    static RunControl control;
    return control;
}

} // namespace slidemill
