#include "ui/Help.h"

#include "core/Translate.h"
#include "settings/Paths.h"

#include <QDesktopServices>
#include <QUrl>

#ifndef SLIDEMILL_ONLINE_HELP_ROOT
#define SLIDEMILL_ONLINE_HELP_ROOT ""
#endif

namespace slidemill {

namespace {

std::string WithTrailingSlash(std::string root) {
    if (!root.empty() && root.back() != '/')
        root += '/';
    return root;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string FileUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

} // namespace

HelpLocations InitializeHelp() {
    return {JoinFolder(ProgramFolder(), "help"), WithTrailingSlash(SLIDEMILL_ONLINE_HELP_ROOT)};
}

std::string HelpPageForContext(int context) {
    switch (context) {
    case kHelpCommandLine:
        return "command-line.html";
    case kHelpLanguages:
        return "languages.html";
    default:
        return "index.html";
    }
}

UrlOpener DesktopUrlOpener() {
    return [](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
    };
}

std::string ShowHelp(int context, const std::string& fallbackUrl, const HelpLocations& locations,
                     const UrlOpener& open, Prompt& prompt) {
    const std::string page = JoinFolder(locations.folder, HelpPageForContext(context));
    if (!locations.folder.empty() && PathExists(page)) {
        const std::string url = FileUrl(page);
        if (open(url))
            return url;
    }
    // A missing page is not reported: the online copy serves instead.
    const std::string online = fallbackUrl.empty() ? WithTrailingSlash(locations.onlineRoot) : fallbackUrl;
    if (!online.empty() && open(online))
        return online;
    const std::string why = online.empty() ? Translate("This build has no address of the online help.")
                                           : Translate("The online help could not be opened:") + " " + online;
    prompt.Ask(Translate("Help is not installed. It was looked for in:") + "\n" + page + "\n\n" + why,
               Translate("Help"), PromptButtons::OK, PromptIcon::Exclamation);
    return {};
}

std::string WebPageAddress(WebPage page, const std::string& root) {
    const std::string base = WithTrailingSlash(root);
    if (base.empty())
        return {};
    switch (page) {
    case WebPage::WebHelp:
        return base + "index.html";
    case WebPage::CommandLine:
        return base + "command-line.html";
    case WebPage::ProductHome:
        return base;
    case WebPage::ProductUpdates:
        return base + "revision-history.html";
    case WebPage::MakerHome:
        return base + "lumenware.html";
    }
    return base;
}

std::string OpenWebPage(WebPage page, const HelpLocations& locations, const UrlOpener& open, Prompt& prompt) {
    const std::string address = WebPageAddress(page, locations.onlineRoot);
    if (!address.empty() && open(address))
        return address;
    prompt.Ask(address.empty() ? Translate("This build has no address of the online pages.")
                               : Translate("The page could not be opened:") + " " + address,
               Translate("Help"), PromptButtons::OK, PromptIcon::Exclamation);
    return {};
}

} // namespace slidemill
