// Help: the installed pages by context, the fallbacks when they are missing, and the pages
// themselves (every link leads somewhere).
#include "ui/Help.h"
#include "support/FakeComponent.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"
#include "ui/AboutBox.h"
#include "ui/HelpEntries.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace slidemill {
namespace {

namespace fs = std::filesystem;

const std::string kInstalledHelp = SLIDEMILL_TEST_HELP_FOLDER;

// Records what would be opened; refuses addresses starting with refused.
struct RecordingOpener {
    std::vector<std::string> opened;
    std::string refused = "\x01";
    UrlOpener Opener() {
        return [this](const std::string& url) {
            opened.push_back(url);
            return url.rfind(refused, 0) != 0;
        };
    }
};

TEST(Help, ContentsAndCommandLineOpenTheirInstalledPages) {
    test::RecordingPrompt prompt;
    RecordingOpener browser;
    const HelpLocations installed{kInstalledHelp, ""};
    EXPECT_EQ(ShowHelp(kHelpContents, "", installed, browser.Opener(), prompt),
              "file://" + kInstalledHelp + "/index.html");
    EXPECT_EQ(ShowHelp(kHelpCommandLine, "https://example.org/cl.html", installed, browser.Opener(), prompt),
              "file://" + kInstalledHelp + "/command-line.html");
    EXPECT_EQ(browser.opened.size(), 2u);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(fs::is_regular_file(kInstalledHelp + "/index.html"));
    EXPECT_TRUE(fs::is_regular_file(kInstalledHelp + "/command-line.html"));
}

TEST(Help, AMissingPageFallsBackToTheGivenAddressThenTheOnlineRoot) {
    test::TempFolder empty("nohelp");
    test::RecordingPrompt prompt;
    RecordingOpener browser;
    const HelpLocations missing{empty.path().string(), "https://example.org/slidemill/help"};
    EXPECT_EQ(ShowHelp(kHelpContents, "", missing, browser.Opener(), prompt),
              "https://example.org/slidemill/help/");
    EXPECT_EQ(ShowHelp(kHelpCommandLine, "https://example.org/cl.html", missing, browser.Opener(), prompt),
              "https://example.org/cl.html");
    EXPECT_EQ(browser.opened, (std::vector<std::string>{"https://example.org/slidemill/help/",
                                                        "https://example.org/cl.html"}));
    EXPECT_TRUE(prompt.shown.empty()) << "a missing local page is not reported";
}

TEST(Help, APageTheBrowserCannotOpenFallsBackToo) {
    test::RecordingPrompt prompt;
    RecordingOpener browser;
    browser.refused = "file:";
    const HelpLocations installed{kInstalledHelp, "https://example.org/help/"};
    EXPECT_EQ(ShowHelp(kHelpContents, "", installed, browser.Opener(), prompt), "https://example.org/help/");
    EXPECT_EQ(browser.opened.size(), 2u);
}

TEST(Help, WithoutPagesOrOnlineRootSaysHelpIsNotInstalledAndWhere) {
    test::TempFolder empty("nohelp");
    test::RecordingPrompt prompt;
    RecordingOpener browser;
    const HelpLocations nowhere{empty.path().string(), ""};
    EXPECT_EQ(ShowHelp(kHelpContents, "", nowhere, browser.Opener(), prompt), "");
    EXPECT_TRUE(browser.opened.empty());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("not installed"), std::string::npos) << prompt.shown[0];
    EXPECT_NE(prompt.shown[0].find(empty.path().string() + "/index.html"), std::string::npos)
        << prompt.shown[0];
}

TEST(Help, WebPagesComeFromTheOnlineRootOrSayItIsNotSet) {
    EXPECT_EQ(WebPageAddress(WebPage::WebHelp, "https://example.org/h"), "https://example.org/h/index.html");
    EXPECT_EQ(WebPageAddress(WebPage::CommandLine, "https://example.org/h/"),
              "https://example.org/h/command-line.html");
    EXPECT_EQ(WebPageAddress(WebPage::ProductHome, "https://example.org/h/"), "https://example.org/h/");
    EXPECT_EQ(WebPageAddress(WebPage::ProductUpdates, ""), "");

    test::RecordingPrompt prompt;
    RecordingOpener browser;
    EXPECT_EQ(OpenWebPage(WebPage::ProductUpdates, {kInstalledHelp, "https://example.org/h/"},
                          browser.Opener(), prompt),
              "https://example.org/h/revision-history.html");
    EXPECT_EQ(OpenWebPage(WebPage::MakerHome, {kInstalledHelp, ""}, browser.Opener(), prompt), "");
    EXPECT_EQ(browser.opened.size(), 1u);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("no address"), std::string::npos) << prompt.shown[0];
}

TEST(Help, EveryLocalLinkOfTheInstalledPagesLeadsToAFile) {
    const std::regex link(R"re((?:href|src)="([^"#:]+)(#[^"]*)?")re");
    std::set<std::string> pages;
    for (const auto& entry : fs::directory_iterator(kInstalledHelp)) {
        if (entry.path().extension() == ".html")
            pages.insert(entry.path().filename().string());
    }
    for (const char* required :
         {"index.html", "command-line.html", "task-editor.html", "jobs-and-logs.html", "formats.html"})
        EXPECT_TRUE(pages.count(required)) << required;
    for (const std::string& page : pages) {
        const std::string text = test::ReadWholeFile(fs::path(kInstalledHelp) / page);
        EXPECT_NE(text.find("<title>"), std::string::npos) << page;
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1];
            EXPECT_TRUE(fs::exists(fs::path(kInstalledHelp) / target)) << page << " links to " << target;
        }
    }
}

TEST(HelpEntries, TheWindowsHelpEntriesOpenTheirPagesOnceConnected) {
    QWidget window;
    const char* names[] = {
        "mnuLaunchHelpFile",      "cmdHelpCommandLine",    "mnuHelpOnLine",        "mnuWebHelpMostUpToDate",
        "mnuHelpProductHomePage", "mnuHelpProductUpdates", "mnuLumenwareHomePage", "mnuAbout"};
    for (const char* name : names) {
        auto* entry = new QAction(name, &window);
        entry->setObjectName(name);
        entry->setEnabled(false);
    }
    test::FakeComponent component;
    test::RecordingPrompt prompt;
    RecordingOpener browser;
    test::TempFolder empty("nohelp");
    const HelpLocations locations{empty.path().string(), "https://example.org/h/"};
    EXPECT_EQ(ConnectHelpEntries(window, component, prompt, locations, browser.Opener()), 8);
    for (const char* name : names)
        EXPECT_TRUE(window.findChild<QAction*>(name)->isEnabled()) << name;

    // The About box is modal: it is not opened here.
    for (const char* name :
         {"mnuLaunchHelpFile", "cmdHelpCommandLine", "mnuHelpOnLine", "mnuWebHelpMostUpToDate",
          "mnuHelpProductHomePage", "mnuHelpProductUpdates", "mnuLumenwareHomePage"})
        window.findChild<QAction*>(name)->trigger();
    EXPECT_EQ(browser.opened, (std::vector<std::string>{
                                  "https://example.org/h/", "https://example.org/h/command-line.html",
                                  "https://example.org/h/index.html", "https://example.org/h/index.html",
                                  "https://example.org/h/", "https://example.org/h/revision-history.html",
                                  "https://example.org/h/lumenware.html"}));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(AboutBox, NamesTheProgramItsVersionAndTheOfficeInUse) {
    test::FakeComponent component;
    component.version = "LibreOffice 7.4.7.2";
    const std::string text = AboutText(component);
    EXPECT_EQ(text.rfind("Slidemill\n", 0), 0u) << text;
    EXPECT_NE(text.find(SLIDEMILL_VERSION), std::string::npos) << text;
    EXPECT_NE(text.find("LibreOffice 7.4.7.2"), std::string::npos) << text;
}

TEST(AboutBox, TheEntryShowsTheBoxOverTheWindow) {
    QWidget window;
    auto* about = new QAction("About", &window);
    about->setObjectName("mnuAbout");
    test::FakeComponent component;
    component.version = "LibreOffice 7.4.7.2";
    test::RecordingPrompt prompt;
    RecordingOpener browser;
    ConnectHelpEntries(window, component, prompt, {}, browser.Opener());
    QString shown;
    // The box is modal: read and close it from inside its own event loop.
    QTimer::singleShot(100, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    about->trigger();
    EXPECT_TRUE(shown.contains("LibreOffice 7.4.7.2")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(SLIDEMILL_VERSION)) << shown.toStdString();
}

} // namespace
} // namespace slidemill
