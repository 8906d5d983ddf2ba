#pragma once

#include "run/RunStatus.h"

namespace slidemill {

// The short blink that tells a finished run: four ticks alternating the two done pictures,
// ending on the plain one; a minimised window is alerted instead.
class CompletionBlink {
public:
    void Start(RunStatus& status);
    void Stop(RunStatus& status);
    void Tick(RunStatus& status);
    bool Active() const { return active_; }

private:
    int count_ = 0;
    bool active_ = false;
};

} // namespace slidemill
