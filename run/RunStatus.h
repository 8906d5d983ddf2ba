#pragma once

namespace slidemill {

// The picture beside the state text of the status bar. Done is the finished-run picture; the
// completion blink alternates it with DoneAlternate.
enum class StatePicture { None, Done, DoneAlternate };

// The parts of the status bar and frame window a run shows itself in beyond the panel texts
// (those go through RunControl::SetStatusText). The window and the command line implement it;
// every member does nothing by default.
class RunStatus {
public:
    virtual ~RunStatus() = default;
    virtual void SetStatePicture(StatePicture) {}
    // The completion blink's timer: while started, the owner calls JobRunner::CompletionBlinkTick
    // at its own pace.
    virtual void StartBlinkTimer() {}
    virtual void StopBlinkTimer() {}
    virtual bool FrameMinimised() const { return false; }
    // Draws the user's eye to a minimised window (the taskbar entry).
    virtual void AlertFrame() {}
};

} // namespace slidemill
