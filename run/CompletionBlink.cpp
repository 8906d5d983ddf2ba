#include "run/CompletionBlink.h"

namespace slidemill {

namespace {
constexpr int kLastTick = 3;
}

void CompletionBlink::Start(RunStatus& status) {
    count_ = 0;
    active_ = true;
    status.StartBlinkTimer();
}

void CompletionBlink::Stop(RunStatus& status) {
    active_ = false;
    status.StopBlinkTimer();
}

void CompletionBlink::Tick(RunStatus& status) {
    // A tick that was already queued when the blink stopped must not bring the picture back.
    if (!active_)
        return;
    if (status.FrameMinimised())
        status.AlertFrame();
    else
        status.SetStatePicture(count_ % 2 == 0 ? StatePicture::DoneAlternate : StatePicture::Done);
    if (++count_ > kLastTick) {
        count_ = 0;
        Stop(status);
    }
}

} // namespace slidemill
