#include "ui/HelpEntries.h"

#include "ui/AboutBox.h"

#include <QAction>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace slidemill {

int ConnectHelpEntries(QWidget& window, ConversionComponent& component, Prompt& prompt,
                       const HelpLocations& locations, const UrlOpener& open) {
    int connected = 0;
    const auto bind = [&](const char* name, std::function<void()> action) {
        QAction* entry = window.findChild<QAction*>(QString::fromLatin1(name));
        if (!entry)
            return;
        QObject::connect(entry, &QAction::triggered, &window, [action = std::move(action)] { action(); });
        entry->setEnabled(true);
        ++connected;
    };
    const auto page = [&](int context, std::string fallbackUrl) {
        return [&prompt, locations, open, context, fallbackUrl] {
            ShowHelp(context, fallbackUrl, locations, open, prompt);
        };
    };
    const auto web = [&](WebPage which) {
        return [&prompt, locations, open, which] { OpenWebPage(which, locations, open, prompt); };
    };
    // The contents have no page of their own to fall back on: the online root serves.
    bind("mnuLaunchHelpFile", page(kHelpContents, ""));
    bind("cmdHelpCommandLine",
         page(kHelpCommandLine, WebPageAddress(WebPage::CommandLine, locations.onlineRoot)));
    bind("mnuHelpOnLine", web(WebPage::WebHelp));
    bind("mnuWebHelpMostUpToDate", web(WebPage::WebHelp));
    bind("mnuHelpProductHomePage", web(WebPage::ProductHome));
    bind("mnuHelpProductUpdates", web(WebPage::ProductUpdates));
    bind("mnuLumenwareHomePage", web(WebPage::MakerHome));
    QPointer<QWidget> owner(&window);
    bind("mnuAbout", [owner, &component] { ShowAboutBox(owner, component); });
    return connected;
}

} // namespace slidemill
