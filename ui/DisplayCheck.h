#pragma once

#include <string>

namespace slidemill {

// The environment a window needs: where Qt is to draw.
struct DisplayEnvironment {
    std::string display;        // DISPLAY (X11)
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string qpaPlatform;    // QT_QPA_PLATFORM: "xcb", "offscreen", "wayland;xcb", "vnc:size=..."
};

// The process's own values.
DisplayEnvironment CurrentDisplayEnvironment();

// Empty when a window can be shown; otherwise the reason, for standard error, naming the
// program. Checked before any Qt object exists: an application object without a display ends
// the process with an abort instead of an error a user can read.
std::string DisplayProblem(const DisplayEnvironment& environment, const std::string& programName);

} // namespace slidemill
