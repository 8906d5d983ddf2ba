#pragma once

#include <string>

namespace slidemill {

class RunParts;

// The exit code when there is no display to show the window on (as for an invalid line).
inline constexpr int kWindowExitNoDisplay = 2;

struct WindowProgramOptions {
    std::string programName = "slidemill"; // for messages on standard error
    std::string settingsFile;              // read at start, written at close
    std::string jobToOpen;                 // opened in the window when not empty (/J file /O)
};

// The program with its window: checks for a display before any Qt object exists, shows the
// start-up window, then the main window at its stored placement (with the job opened), and runs
// until the window closes: by its close box, by Exit, or by SIGTERM, SIGINT or SIGHUP, which
// close it asking nothing. Ends the parts' offices. Returns the process's exit code.
int RunWindowProgram(int argc, char** argv, RunParts& parts, const WindowProgramOptions& options);

} // namespace slidemill
