// The language in the window: the language window and its editor command, the font rules, and a
// window started in a language (its texts translated, the unknown ones collected once).
#include "core/Translate.h"
#include "core/Translator.h"
#include "settings/IniFile.h"
#include "support/FakeRunParts.h"
#include "support/TempFolder.h"
#include "ui/LanguageFont.h"
#include "ui/LanguageWindow.h"
#include "ui/MainWindow.h"
#include "ui/WindowSession.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace slidemill {
namespace {

TEST(LanguageEditor, TheUsersEditorIsRunWithoutAShell) {
    EXPECT_EQ(TextEditorCommand("code --wait", "vim", "/l/German-'Slidemill'.txt"),
              (std::vector<std::string>{"code", "--wait", "/l/German-'Slidemill'.txt"}));
    EXPECT_EQ(TextEditorCommand("", "'/opt/my editor/ed' -n", "/l/a b;rm x.txt"),
              (std::vector<std::string>{"/opt/my editor/ed", "-n", "/l/a b;rm x.txt"}));
    EXPECT_EQ(TextEditorCommand("", "", "/l/x.txt"), (std::vector<std::string>{"xdg-open", "/l/x.txt"}));
    // An editor setting that cannot be split is passed over, not guessed at.
    EXPECT_EQ(TextEditorCommand("'unclosed", "", "/l/x.txt"), (std::vector<std::string>{"xdg-open", "/l/x.txt"}));
}

TEST(LanguageDialogTest, TheListChoosesAndEditIsOfferedForLanguagesWithAFile) {
    LanguageDialog dialog({"English", "French", "German"}, 0, false, "/nowhere", {});
    EXPECT_EQ(dialog.List().currentRow(), 0);
    EXPECT_FALSE(dialog.EditButton().isEnabled());
    dialog.List().setCurrentRow(2);
    EXPECT_TRUE(dialog.EditButton().isEnabled());
    dialog.List().setCurrentRow(0);
    EXPECT_FALSE(dialog.EditButton().isEnabled());

    dialog.List().setCurrentRow(1);
    dialog.SetChosenFont("DejaVu Serif");
    dialog.findChild<QPushButton*>("cmdDone")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Pick().language, "French");
    EXPECT_EQ(dialog.Pick().font, "DejaVu Serif");

    LanguageDialog cancelled({"English", "German"}, 1, true, "/nowhere", {});
    cancelled.show();
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.Pick().language, "");

    LanguageDialog doubleClicked({"English", "German"}, 0, false, "/nowhere", {});
    QListWidgetItem* german = doubleClicked.List().item(1);
    doubleClicked.List().setCurrentItem(german);
    emit doubleClicked.List().itemDoubleClicked(german);
    EXPECT_EQ(doubleClicked.Pick().language, "German");
}

TEST(LanguageFontRules, AJapaneseLocaleGetsAJapaneseFontForEveryLanguageButEnglish) {
    const auto installed = [](const std::string& family) { return family == "IPAGothic"; };
    EXPECT_EQ(LanguageUiFontFamily("DejaVu Serif", "Japanese", 1041, installed), "DejaVu Serif");
    EXPECT_EQ(LanguageUiFontFamily("", "Japanese", 1041, installed), "IPAGothic");
    EXPECT_EQ(LanguageUiFontFamily("", "German", 1041, installed), "IPAGothic");
    EXPECT_EQ(LanguageUiFontFamily("", "English", 1041, installed), "");
    EXPECT_EQ(LanguageUiFontFamily("", "Japanese", 1031, installed), "");
    EXPECT_EQ(LanguageUiFontFamily("", "Japanese", 1041, [](const std::string&) { return false; }), "");
    // The machine has the font the set-up installs for this, under any case.
    EXPECT_TRUE(FontFamilyInstalled("ipapgothic"));
}

class LanguageSessionTest : public ::testing::Test {
protected:
    test::TempFolder folder{"language"};
    test::FakeRunParts parts;
    std::ostringstream messages;
    std::string settingsFolder = folder.str() + "settings/";
    std::string settingsFile = settingsFolder + "SLML_SearchHistory.INI";
    std::string germanFile = settingsFolder + "Languages/German-'Slidemill'.txt";
    std::unique_ptr<WindowSession> session;

    void SetUp() override { std::filesystem::create_directories(settingsFolder + "Languages"); }

    void TearDown() override {
        if (session && session->Window().isVisible()) {
            session->Prompt().SetEnding(true);
            session->Window().close();
        }
        session.reset();
        CurrentTranslator().UseEnglish();
        QApplication::setFont(QFont());
    }

    void Start() {
        WindowSessionOptions options;
        options.settingsFile = settingsFile;
        session = std::make_unique<WindowSession>(parts, options, messages);
        session->Start();
    }
};

TEST_F(LanguageSessionTest, AWindowStartedInALanguageShowsItsTextsAndCollectsTheOthersOnce) {
    std::ofstream(germanFile) << "\"&File\",\"&Datei\"\n\"Lan&guage\",\"&Sprache\"\n";
    IniFile(settingsFile).WriteString("Language", "Language_Code", "German");
    Start();
    MainWindow& window = session->Window();
    EXPECT_EQ(window.menuBar()->actions().at(0)->text(), "&Datei");
    EXPECT_EQ(window.FindAction("mnuLanguage")->text(), "&Sprache");
    EXPECT_TRUE(window.FindAction("mnuLanguage")->isEnabled());

    // Every text the window showed that the file lacked is now in it, each once.
    std::ifstream in(germanFile);
    std::map<std::string, int> lines;
    for (std::string line; std::getline(in, line);)
        ++lines[line];
    EXPECT_EQ(lines.at("\"&File\",\"&Datei\""), 1);
    EXPECT_EQ(lines.at("\"C&onversion\""), 1);
    EXPECT_EQ(lines.at("\"Schedule a Conversion Job\""), 1);
    for (const auto& [line, count] : lines)
        EXPECT_EQ(count, 1) << line;
    EXPECT_GT(lines.size(), 40u);
}

TEST_F(LanguageSessionTest, AMissingLanguageFileIsReportedAndTheWindowIsEnglish) {
    IniFile(settingsFile).WriteString("Language", "Language_Code", "Dutch");
    // The warning box is dismissed as an ending session dismisses it.
    session.reset();
    WindowSessionOptions options;
    options.settingsFile = settingsFile;
    session = std::make_unique<WindowSession>(parts, options, messages);
    session->Prompt().SetEnding(true);
    session->Start();
    session->Prompt().SetEnding(false);
    EXPECT_EQ(session->Window().menuBar()->actions().at(0)->text(), "&File");
    EXPECT_EQ(StoredLanguage(settingsFile), "English");
}

} // namespace
} // namespace slidemill
