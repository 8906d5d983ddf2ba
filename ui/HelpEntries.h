#pragma once

#include "core/Prompt.h"
#include "ui/Help.h"

class QWidget;

namespace slidemill {

class ConversionComponent;

// Gives the window's help entries their actions and enables them: "&Help File" (F1) and
// "Using the &Command Line" open the installed pages, the web entries their online pages, and
// "&About" the About box. The entries are the window's actions found by their names
// (mnuLaunchHelpFile, cmdHelpCommandLine, mnuHelpOnLine, mnuWebHelpMostUpToDate,
// mnuHelpProductHomePage, mnuHelpProductUpdates, mnuLumenwareHomePage, mnuAbout); a missing
// one is passed over. Returns how many were connected.
int ConnectHelpEntries(QWidget& window, ConversionComponent& component, Prompt& prompt,
                       const HelpLocations& locations, const UrlOpener& open);

} // namespace slidemill
