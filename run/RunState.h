#pragma once

#include "core/RunControl.h"

namespace slidemill {

// The running flag of the job runner, seen by everything the run calls as its RunControl:
// Running() is the flag (a Pause clears it), while checkpoints, status texts and the cursor go
// on to the host (the window's message pump and status bar, or the command line's nothing).
class RunState final : public RunControl {
public:
    explicit RunState(RunControl& host = NullRunControl()) : host_(host) {}

    void Checkpoint() override { host_.Checkpoint(); }
    bool Running() const override { return bRunning_; }
    void SetRunning(bool value) override { bRunning_ = value; }
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        host_.SetStatusText(panel, text);
    }
    void SetWaitCursor(bool on) override { host_.SetWaitCursor(on); }
    void SetListProgress(int32_t done, int32_t count) override { host_.SetListProgress(done, count); }

private:
    RunControl& host_;
    bool bRunning_ = false;
};

} // namespace slidemill
