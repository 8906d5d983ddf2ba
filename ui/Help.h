#pragma once

#include "core/Prompt.h"

#include <functional>
#include <string>

namespace slidemill {

// Help context numbers: the contents, the page on the command line and the one on languages.
inline constexpr int kHelpContents = 1234;
inline constexpr int kHelpCommandLine = 63;
inline constexpr int kHelpLanguages = 70;

// Where help is looked for, fixed at start-up.
struct HelpLocations {
    std::string folder;     // the installed pages: <data folder>/help
    std::string onlineRoot; // the online copy, ending in "/"; "" when the build set none
};

// The installed pages beside the program's data and the online root the build was configured
// with (SLIDEMILL_ONLINE_HELP_ROOT).
HelpLocations InitializeHelp();

// The page of a help context; the contents page for a context without a page of its own.
std::string HelpPageForContext(int context);

// Opens an address (a file:// URL of a page, or an online address) in the desktop's browser;
// false when nothing could be started. The program's opener is DesktopUrlOpener; tests record.
using UrlOpener = std::function<bool(const std::string& url)>;
UrlOpener DesktopUrlOpener();

// Opens the installed page of context. When the page is missing or cannot be opened, opens
// fallbackUrl, or the online root when fallbackUrl is empty; with neither, says through prompt
// that help is not installed and where it was looked for. Returns what was opened ("" when
// nothing was).
std::string ShowHelp(int context, const std::string& fallbackUrl, const HelpLocations& locations,
                     const UrlOpener& open, Prompt& prompt);

// The online pages of the help menus; they are published together with the online help.
enum class WebPage { WebHelp, CommandLine, ProductHome, ProductUpdates, MakerHome };

// The address of page under root; "" when root is empty.
std::string WebPageAddress(WebPage page, const std::string& root);

// Opens the page in the browser, or says through prompt that the build has no online address.
// Returns what was opened ("" when nothing was).
std::string OpenWebPage(WebPage page, const HelpLocations& locations, const UrlOpener& open, Prompt& prompt);

} // namespace slidemill
