// The program's texts and the language files shipped with it: every text the sources hand to the
// translation, and every text the window and its dialogs show, is in each shipped file, in a
// form the reader takes back, with its accelerator and its spaces kept. A window started in a
// shipped language adds nothing to its file.
#include "core/LanguageFile.h"
#include "core/Translator.h"
#include "settings/IniFile.h"
#include "support/FakeRunParts.h"
#include "support/TempFolder.h"
#include "ui/AdvancedOptionsDialog.h"
#include "ui/FontDialog.h"
#include "ui/LanguageWindow.h"
#include "ui/MainWindow.h"
#include "ui/ParagraphDialog.h"
#include "ui/PdxAdvancedOptionsDialog.h"
#include "ui/PdxPageDialog.h"
#include "ui/PdxPdfOptionsDialog.h"
#include "ui/WindowSession.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace slidemill {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = SLIDEMILL_TEST_SOURCE_DIR;
const char* const kShippedLanguages[] = {"German", "French", "Spanish", "Japanese"};

// A text whose line in a language file begins with "! reads as a comment, so no file can
// translate it; the one the program has is shown only when no office is installed.
bool ReadsAsAComment(const std::string& text) {
    return text.rfind('!', 0) == 0 || text.rfind("****", 0) == 0;
}
const std::set<std::string> kUntranslatable = {"!! Please install MS PowerPoint !!"};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The C++ escapes the program's texts use.
std::string Unescape(const std::string& literal) {
    std::string text;
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            text += literal[i];
            continue;
        }
        const char next = literal[++i];
        switch (next) {
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        case 't':
            text += '\t';
            break;
        case 'x': {
            std::size_t end = i + 1;
            while (end < literal.size() && end < i + 3 && std::isxdigit(static_cast<unsigned char>(literal[end])))
                ++end;
            text += static_cast<char>(std::stoi(literal.substr(i + 1, end - i - 1), nullptr, 16));
            i = end - 1;
            break;
        }
        default:
            text += next;
        }
    }
    return text;
}

// Every text the sources hand to the translation as a literal: Translate("…"), Tr("…") and the
// mark of a text translated where it is shown, N_("…"); adjacent literals joined.
std::set<std::string> SourceTexts() {
    static const std::regex call(R"re(\b(?:Translate|Tr|N_)\(\s*((?:"(?:[^"\\\n]|\\.)*"\s*)+)\))re");
    static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    std::set<std::string> texts;
    for (const char* folder : {"core", "run", "sched", "settings", "ui", "cli", "engine", "app"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h")
                continue;
            const std::string source = ReadFile(entry.path());
            for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it) {
                const std::string pieces = (*it)[1].str();
                std::string text;
                for (std::sregex_iterator p(pieces.begin(), pieces.end(), literal); p != end; ++p)
                    text += Unescape((*p)[1].str());
                if (text.find_first_not_of(" \t\r\n") != std::string::npos)
                    texts.insert(text);
            }
        }
    }
    return texts;
}

// The accelerator marks of a caption: its "&" signs that are not a doubled "&&".
int Accelerators(const std::string& text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '&')
            ++i;
        else
            ++count;
    }
    return count;
}

std::set<std::string> Lines(const std::string& text) {
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

class ProgramTextsTest : public ::testing::Test {
protected:
    test::TempFolder folder{"texts"};
    test::FakeRunParts parts;
    std::ostringstream messages;
    std::string settingsFolder = folder.str() + "settings/";
    std::string settingsFile = settingsFolder + "SLML_SearchHistory.INI";
    std::unique_ptr<WindowSession> session;

    void SetUp() override { fs::create_directories(settingsFolder + "Languages"); }

    void TearDown() override {
        if (session && session->Window().isVisible()) {
            session->Prompt().SetEnding(true);
            session->Window().close();
        }
        session.reset();
        CurrentTranslator().UseEnglish();
        QApplication::setFont(QFont());
    }

    fs::path LanguageFile(const std::string& language) const {
        return fs::path(settingsFolder) / "Languages" / LanguageFileName(language);
    }

    // Starts the window in language and builds every dialog it can open, so each of their
    // texts passes through the translation.
    void StartAndOpenEverything(const std::string& language) {
        IniFile(settingsFile).WriteString("Language", "Language_Code", language);
        WindowSessionOptions options;
        options.settingsFile = settingsFile;
        session = std::make_unique<WindowSession>(parts, options, messages);
        session->Start();
        MainWindow& window = session->Window();
        PdfOptions pdf;
        { AdvancedOptionsDialog dialog(window.Model(), true, &window); }
        { AdvancedOptionsDialog dialog(window.Model(), false, &window); }
        { PdxAdvancedOptionsDialog dialog(pdf, session->Prompt(), &window); }
        { PdxPageDialog dialog(pdf, &window); }
        { PdxPdfOptionsDialog dialog(pdf, session->Prompt(), &window); }
        { ParagraphDialog dialog(pdf, &window); }
        { FontDialog dialog(pdf, &window); }
        { LanguageDialog dialog({"English"}, 0, false, settingsFolder + "Languages", {}, &window); }
    }

    // The test's own conversion component names formats the program never shows: their lines.
    std::set<std::string> FakeFormatLines() {
        std::set<std::string> lines;
        for (int32_t i = 1; i <= parts.component.FormatCount(); ++i) {
            int32_t code = 0;
            std::string description;
            if (parts.component.GetFormat(i, code, description))
                lines.insert("\"" + description + "\"");
        }
        return lines;
    }

    // The texts of the window and its dialogs: a window started in a language whose file holds
    // nothing collects each of them in the file.
    std::set<std::string> WindowTexts() {
        std::ofstream(LanguageFile("Collect")) << "\"! collects the window's texts\"\n";
        StartAndOpenEverything("Collect");
        const std::set<std::string> fakeFormats = FakeFormatLines();
        std::set<std::string> texts;
        for (const std::string& line : Lines(ReadFile(LanguageFile("Collect")))) {
            if (line.size() >= 2 && line.front() == '"' && line.back() == '"' && line.rfind("\"!", 0) != 0 &&
                !fakeFormats.contains(line))
                texts.insert(line.substr(1, line.size() - 2));
        }
        TearDown();
        return texts;
    }
};

TEST_F(ProgramTextsTest, EveryTextTheProgramTranslatesFitsOneLineOfALanguageFile) {
    const std::set<std::string> texts = SourceTexts();
    ASSERT_GT(texts.size(), 300u) << "the scan of the sources found too few texts to be working";
    for (const std::string& text : texts) {
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("\",\""), std::string::npos) << text;
        EXPECT_NE(text.front(), '"') << text;
        EXPECT_NE(text.back(), '"') << text;
        EXPECT_TRUE(!ReadsAsAComment(text) || kUntranslatable.contains(text)) << text;
    }
}

TEST_F(ProgramTextsTest, ShippedLanguagesHoldEveryTextOfTheProgramWithItsAcceleratorAndSpaces) {
    std::set<std::string> texts = SourceTexts();
    const std::set<std::string> shown = WindowTexts();
    ASSERT_GT(shown.size(), 200u) << "the window collected too few texts to be working";
    texts.insert(shown.begin(), shown.end());

    for (const char* language : kShippedLanguages) {
        SCOPED_TRACE(language);
        const fs::path file = kSourceDir / "demo" / "Languages" / LanguageFileName(language);
        const std::string bytes = ReadFile(file);
        ASSERT_FALSE(bytes.empty()) << file;
        const auto encoding = DetectLanguageEncoding(bytes);
        ASSERT_TRUE(encoding) << file << ": its first line must begin with a double quote";
        const auto text = DecodeLanguageText(bytes, *encoding);
        ASSERT_TRUE(text) << file << " is not valid text";
        LanguageDictionary dictionary;
        ParseLanguageText(*text, dictionary);

        std::vector<std::string> missing;
        for (const std::string& english : texts) {
            if (kUntranslatable.contains(english))
                continue;
            const auto it = dictionary.find(english);
            if (it == dictionary.end()) {
                missing.push_back(english);
                continue;
            }
            const std::string& translated = it->second;
            EXPECT_FALSE(translated.empty()) << english;
            if (Accelerators(english) == 1) {
                EXPECT_EQ(Accelerators(translated), 1) << english << " → " << translated;
            }
            const auto leading = [](const std::string& s) { return s.find_first_not_of(' '); };
            const auto trailing = [](const std::string& s) { return s.size() - 1 - s.find_last_not_of(' '); };
            EXPECT_EQ(leading(translated), leading(english)) << "[" << english << "] → [" << translated << "]";
            EXPECT_EQ(trailing(translated), trailing(english)) << "[" << english << "] → [" << translated << "]";
        }
        std::string list;
        for (std::size_t i = 0; i < missing.size() && i < 40; ++i)
            list += "\n  \"" + missing[i] + "\"";
        EXPECT_TRUE(missing.empty()) << missing.size() << " texts are missing from " << file << ":" << list;
    }
}

TEST_F(ProgramTextsTest, AWindowStartedInAShippedLanguageAddsNothingToItsFile) {
    for (const char* language : {"German", "Japanese"}) {
        SCOPED_TRACE(language);
        fs::copy_file(kSourceDir / "demo" / "Languages" / LanguageFileName(language), LanguageFile(language),
                      fs::copy_options::overwrite_existing);
        const std::string before = ReadFile(LanguageFile(language));
        StartAndOpenEverything(language);
        EXPECT_NE(session->Window().FindAction("mnuLanguage")->text().toStdString(), "Lan&guage");
        TearDown();
        const std::string after = ReadFile(LanguageFile(language));
        ASSERT_EQ(after.compare(0, before.size(), before), 0) << "the file was changed, not appended to";
        std::string added;
        for (const std::string& line : Lines(after.substr(before.size())))
            if (!FakeFormatLines().contains(line))
                added += line + "\n";
        EXPECT_EQ(added, "") << "the window added these texts";
    }
}

} // namespace
} // namespace slidemill
