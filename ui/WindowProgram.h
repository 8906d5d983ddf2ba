#pragma once

#include "ui/WindowSession.h"

namespace slidemill {

class RunParts;

// The exit code when there is no display to show the window on (as for an invalid line).
inline constexpr int kWindowExitNoDisplay = 2;

// The program with its window: checks for a display before any Qt object exists, makes the
// application object, runs one window session until its window closes and ends the parts'
// offices. Returns the process's exit code.
int RunWindowProgram(int argc, char** argv, RunParts& parts, const WindowSessionOptions& options);

} // namespace slidemill
