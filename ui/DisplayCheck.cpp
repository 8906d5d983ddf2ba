#include "ui/DisplayCheck.h"

#include "platform/Environment.h"

#include <sstream>
#include <vector>

namespace slidemill {

namespace {

// The platform names of a QT_QPA_PLATFORM value, without their options: Qt tries them in order.
std::vector<std::string> PlatformNames(const std::string& value) {
    std::vector<std::string> names;
    std::stringstream entries(value);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        entry = entry.substr(0, entry.find(':'));
        if (!entry.empty())
            names.push_back(entry);
    }
    return names;
}

bool PlatformUsable(const std::string& name, const DisplayEnvironment& environment) {
    if (name == "xcb")
        return !environment.display.empty();
    if (name.rfind("wayland", 0) == 0)
        return !environment.waylandDisplay.empty();
    // offscreen, minimal, vnc, linuxfb, eglfs and any other: they need no display server, and
    // an unknown name is Qt's to report.
    return true;
}

} // namespace

DisplayEnvironment CurrentDisplayEnvironment() {
    return {EnvironmentValue("DISPLAY"), EnvironmentValue("WAYLAND_DISPLAY"),
            EnvironmentValue("QT_QPA_PLATFORM")};
}

std::string DisplayProblem(const DisplayEnvironment& environment, const std::string& programName) {
    const std::vector<std::string> platforms = PlatformNames(environment.qpaPlatform);
    if (platforms.empty()) {
        if (!environment.display.empty() || !environment.waylandDisplay.empty())
            return {};
    } else {
        for (const std::string& name : platforms) {
            if (PlatformUsable(name, environment))
                return {};
        }
    }
    std::string reason = platforms.empty()
                             ? "there is no display to show the window on (neither DISPLAY nor "
                               "WAYLAND_DISPLAY is set)"
                             : "there is no display for QT_QPA_PLATFORM=\"" + environment.qpaPlatform +
                                   "\" (DISPLAY or WAYLAND_DISPLAY is not set)";
    return programName + ": " + reason +
           ". Start it from a desktop session, or give a command line to convert (" + programName +
           " /? lists the switches).";
}

} // namespace slidemill
