#include "core/LanguageFile.h"
#include "core/Translate.h"
#include "core/Translator.h"
#include "settings/IniFile.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace slidemill {
namespace {

using test::ReadWholeFile;
using test::ScriptedPrompt;
using test::TempFolder;

std::string Utf16LE(const std::u16string& text, bool bom = true) {
    std::string bytes = bom ? std::string("\xFF\xFE") : std::string();
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Each test leaves the process's translator in English, as the next one expects it.
class TranslatorTest : public ::testing::Test {
protected:
    void TearDown() override {
        CurrentTranslator().UseEnglish();
        CurrentTranslator().SetRecording(true);
        CurrentTranslator().SetAppendFailureHandler({});
    }

    TempFolder temp{"lang"};
    std::string languages = temp.str() + "Languages/";
    std::string ini = temp.str() + "SLML_SearchHistory.INI";

    std::filesystem::path FileOf(const std::string& language) const {
        return std::filesystem::path(languages) / LanguageFileName(language);
    }
};

TEST(LanguageFileText, LineRulesMapKeysSkipCommentsAndStopAtTheEndMarker) {
    LanguageDictionary d;
    ParseLanguageText("\"! a comment\",\"ignored\"\r\n"
                      "\n   \t\n"
                      "\"&File\",\"&Datei\"\r\n"
                      "\"Log\"\n"
                      "\"&File\",\"&Fichier\"\n"
                      "\"Save \",\"Speichern \"   \n"
                      "\"a\",\"b\",\"c\"\n"
                      "\",\"starts with the separator\"\n"
                      "\"****\"\n"
                      "\"After\",\"Danach\"\n",
                      d);
    EXPECT_EQ(d.at("&File"), "&Datei"); // the first entry of a key counts
    EXPECT_EQ(d.at("Log"), "Log");      // a bare quoted text maps to itself
    EXPECT_EQ(d.at("Save "), "Speichern ");
    EXPECT_EQ(d.at("a"), "");           // a second separator ends the translation before it
    EXPECT_FALSE(d.contains("After"));  // after the end marker
    EXPECT_FALSE(d.contains("! a comment"));
    EXPECT_EQ(d.size(), 4u);
}

TEST(LanguageFileText, EncodingIsFoundByTheFirstLinesQuote) {
    EXPECT_EQ(DetectLanguageEncoding("\"x\"\n"), LanguageEncoding::Utf8);
    EXPECT_EQ(DetectLanguageEncoding("\xEF\xBB\xBF\"x\"\n"), LanguageEncoding::Utf8);
    EXPECT_EQ(DetectLanguageEncoding(Utf16LE(u"\"x\"\r\n")), LanguageEncoding::Utf16LE);
    EXPECT_EQ(DetectLanguageEncoding(std::string("\xFE\xFF\0\"\0x\0\"", 8)), LanguageEncoding::Utf16BE);
    EXPECT_FALSE(DetectLanguageEncoding("x\"y\"\n"));
    // Without its mark, UTF-16 reads as UTF-8 text with NUL characters, which is refused below.
    EXPECT_EQ(DetectLanguageEncoding(Utf16LE(u"\"x\"", /*bom=*/false)), LanguageEncoding::Utf8);
    EXPECT_FALSE(DetectLanguageEncoding(""));
}

TEST(LanguageFileText, TextThatIsNotValidInItsEncodingIsRefused) {
    EXPECT_EQ(DecodeLanguageText("\xEF\xBB\xBF\"\xC3\xA4\"", LanguageEncoding::Utf8), "\"\xC3\xA4\"");
    EXPECT_FALSE(DecodeLanguageText("\"\xC3\"", LanguageEncoding::Utf8));      // cut sequence
    EXPECT_FALSE(DecodeLanguageText(Utf16LE(u"\"x\"", false), LanguageEncoding::Utf8)); // NUL
    EXPECT_FALSE(DecodeLanguageText("\"\xC0\xA2\"", LanguageEncoding::Utf8));  // overlong quote
    EXPECT_FALSE(DecodeLanguageText("\"\xED\xA0\x80\"", LanguageEncoding::Utf8)); // surrogate
    EXPECT_EQ(DecodeLanguageText(Utf16LE(u"\"\u00e4\U0001F600\""), LanguageEncoding::Utf16LE),
              "\"\xC3\xA4\xF0\x9F\x98\x80\"");
    EXPECT_FALSE(DecodeLanguageText(Utf16LE(u"\"x\"") + "a", LanguageEncoding::Utf16LE)); // odd length
    EXPECT_FALSE(DecodeLanguageText(Utf16LE(u"\"\xD800\""), LanguageEncoding::Utf16LE));   // lone surrogate
}

TEST(LocaleIds, PosixNamesMapToTheirWindowsNumbers) {
    EXPECT_EQ(LocaleIdFromName("ja_JP.UTF-8"), 1041);
    EXPECT_EQ(LocaleIdFromName("en_GB.UTF-8"), 2057);
    EXPECT_EQ(LocaleIdFromName("de_DE@euro"), 1031);
    EXPECT_EQ(LocaleIdFromName("zh_TW.Big5"), 1028);
    EXPECT_EQ(LocaleIdFromName("zh_CN"), 2052);
    EXPECT_EQ(LocaleIdFromName("fr_CA.UTF-8"), 3084);
    EXPECT_EQ(LocaleIdFromName("fr_LU"), 1036); // region unknown: the language's own
    EXPECT_EQ(LocaleIdFromName("C.UTF-8"), 1033);
    EXPECT_EQ(LocaleIdFromName("xx_YY"), 1033);
    EXPECT_TRUE(IsEastAsianLocale(LocaleIdFromName("ko_KR.UTF-8")));
    EXPECT_FALSE(IsEastAsianLocale(LocaleIdFromName("de_DE.UTF-8")));
}

TEST_F(TranslatorTest, UnknownTextsAreAppendedOncePerRunInTheFilesOwnEncoding) {
    WriteBytes(FileOf("German"), Utf16LE(u"\"&File\",\"&Datei\"\r\n\"old\""));
    Translator t;
    ASSERT_EQ(t.Load("German", languages), "");
    EXPECT_EQ(t.Encoding(), LanguageEncoding::Utf16LE);
    EXPECT_EQ(t.Translate("&File"), "&Datei");
    EXPECT_EQ(t.Translate("Gr\u00fc\u00dfe"), "Gr\u00fc\u00dfe");
    EXPECT_EQ(t.Translate("Gr\u00fc\u00dfe"), "Gr\u00fc\u00dfe");
    EXPECT_EQ(t.Translate("   "), "   ");
    EXPECT_EQ(t.Translate("two\nlines"), "two\nlines"); // never split over two entries
    const std::string once = Utf16LE(u"\"&File\",\"&Datei\"\r\n\"old\"\r\n\"Gr\u00fc\u00dfe\"\r\n");
    EXPECT_EQ(ReadWholeFile(FileOf("German")), once);

    // The next run reads the appended text as one that maps to itself, and appends nothing.
    Translator next;
    ASSERT_EQ(next.Load("German", languages), "");
    EXPECT_EQ(next.Translate("Gr\u00fc\u00dfe"), "Gr\u00fc\u00dfe");
    EXPECT_EQ(next.Translate("old"), "old");
    EXPECT_EQ(ReadWholeFile(FileOf("German")), once);
}

TEST_F(TranslatorTest, BehindAnEndMarkerTextsAreUnknownAndAppendedAtTheEnd) {
    WriteBytes(FileOf("German"), "\"Log\",\"Protokoll\"\n\"****\"\n\"New\",\"Neu\"\n");
    Translator t;
    ASSERT_EQ(t.Load("German", languages), "");
    EXPECT_EQ(t.Translate("New"), "New");
    EXPECT_EQ(ReadWholeFile(FileOf("German")), "\"Log\",\"Protokoll\"\n\"****\"\n\"New\",\"Neu\"\n\"New\"\n");
}

TEST_F(TranslatorTest, AUtf8FileKeepsItsLineEndsAndEnglishWritesNothing) {
    WriteBytes(FileOf("French"), "\xEF\xBB\xBF\"! comment\"\n\"Log\",\"Journal\"");
    Translator t;
    ASSERT_EQ(t.Load("French", languages), "");
    EXPECT_EQ(t.Translate("Log"), "Journal");
    EXPECT_EQ(t.Translate("New"), "New");
    EXPECT_EQ(ReadWholeFile(FileOf("French")), "\xEF\xBB\xBF\"! comment\"\n\"Log\",\"Journal\"\n\"New\"\n");

    Translator english;
    ASSERT_EQ(english.Load("English", languages), "");
    EXPECT_EQ(english.Translate("Log"), "Log");
    EXPECT_EQ(english.FilePath(), "");
}

TEST_F(TranslatorTest, LoadFailuresNameTheFileAndLeaveEnglish) {
    Translator t;
    EXPECT_EQ(t.Load("Klingon", languages), "Unable to locate Language file: \n" + FileOf("Klingon").string());
    WriteBytes(FileOf("Plain"), "no quote here\n\"x\",\"y\"\n");
    EXPECT_EQ(t.Load("Plain", languages), "Unable to read Language file: \n" + FileOf("Plain").string());
    WriteBytes(FileOf("Broken"), "\"x\",\"\xFF\"\n");
    EXPECT_EQ(t.Load("Broken", languages), "Unable to process Language file: \n" + FileOf("Broken").string());
    EXPECT_EQ(t.Language(), "English");
    EXPECT_EQ(t.Translate("x"), "x");
    EXPECT_FALSE(std::filesystem::exists(FileOf("Klingon")));
}

TEST_F(TranslatorTest, AFileWithOnlyCommentsOrAHugeLineStillLoads) {
    WriteBytes(FileOf("Comments"), "\"! only\"\n\"! comments\"\n");
    Translator t;
    ASSERT_EQ(t.Load("Comments", languages), "");
    EXPECT_EQ(t.Translate("Exit"), "Exit");
    EXPECT_EQ(ReadWholeFile(FileOf("Comments")), "\"! only\"\n\"! comments\"\n\"Exit\"\n");

    const std::string huge(10 * 1024 * 1024, 'w');
    WriteBytes(FileOf("Huge"), "\"Exit\",\"Beenden\"\n\"" + huge + "\",\"x\"\n\"unterminated\n");
    ASSERT_EQ(t.Load("Huge", languages), "");
    EXPECT_EQ(t.Translate("Exit"), "Beenden");
    EXPECT_EQ(t.Translate(huge), "x");
    EXPECT_EQ(t.Translate("unterminate"), "unterminate"); // its key: the line without first and last
}

TEST_F(TranslatorTest, AFileThatCannotBeAppendedToIsReportedOnceAndTranslationGoesOn) {
    WriteBytes(FileOf("German"), "\"Log\",\"Protokoll\"\n");
    ASSERT_TRUE(test::HandToUnprivileged(temp.path()));
    std::filesystem::permissions(FileOf("German"), std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::group_read |
                                                       std::filesystem::perms::others_read);
    EXPECT_TRUE(test::RunUnprivileged([&]() -> std::string {
        Translator t;
        UNPRIVILEGED_EXPECT(t.Load("German", languages).empty());
        int told = 0;
        t.SetAppendFailureHandler([&] { ++told; });
        UNPRIVILEGED_EXPECT(t.Translate("Log") == "Protokoll");
        UNPRIVILEGED_EXPECT(t.Translate("New") == "New");
        UNPRIVILEGED_EXPECT(t.Translate("Open") == "Open");
        UNPRIVILEGED_EXPECT(told == 1);
        return {};
    }));
    EXPECT_EQ(ReadWholeFile(FileOf("German")), "\"Log\",\"Protokoll\"\n");
}

TEST_F(TranslatorTest, TextsFromManyThreadsAreEachAppendedOnce) {
    WriteBytes(FileOf("German"), "\"Log\",\"Protokoll\"\n");
    Translator t;
    ASSERT_EQ(t.Load("German", languages), "");
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&t] {
            for (int k = 0; k < 50; ++k)
                (void)t.Translate("text " + std::to_string(k));
        });
    for (auto& thread : threads)
        thread.join();
    const std::string file = ReadWholeFile(FileOf("German"));
    for (int k = 0; k < 50; ++k) {
        const std::string line = "\"text " + std::to_string(k) + "\"\n";
        const auto first = file.find(line);
        ASSERT_NE(first, std::string::npos) << line;
        EXPECT_EQ(file.find(line, first + 1), std::string::npos) << line;
    }
}

struct FakeLanguageWindow : LanguageWindow {
    LanguagePick answer;
    int shown = 0;
    std::vector<std::string> choices;
    int selected = -1;
    bool editEnabled = false;
    LanguagePick Show(const std::vector<std::string>& c, int s, bool e) override {
        ++shown;
        choices = c;
        selected = s;
        editEnabled = e;
        return answer;
    }
};

TEST_F(TranslatorTest, StartUpUsesTheStoredLanguageAndFallsBackToEnglishWithOneWarning) {
    WriteBytes(FileOf("German"), "\"Log\",\"Protokoll\"\n");
    IniFile(ini).WriteString("Language", "Language_Code", "German");
    const LanguageSettings settings{ini, languages, false};
    InitializeTranslator(settings, 1031, nullptr, nullptr);
    EXPECT_EQ(Translate("Log"), "Protokoll");

    IniFile(ini).WriteString("Language", "Language_Code", "Dutch");
    ScriptedPrompt prompt;
    prompt.Answer(PromptAnswer::OK);
    InitializeTranslator(settings, 1043, &prompt, nullptr);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text,
              "Unable to locate Language file: \n" + FileOf("Dutch").string() + "\nDefaulting to English");
    EXPECT_EQ(prompt.questions[0].title, "Error");
    EXPECT_EQ(StoredLanguage(ini), "English");
    EXPECT_EQ(Translate("Log"), "Log");
}

TEST_F(TranslatorTest, AFirstStartAsksForALanguageOnlyOutsideUsAndUkEnglish) {
    WriteBytes(FileOf("German"), "\"Log\",\"Protokoll\"\n");
    WriteBytes(FileOf("French"), "\"Log\",\"Journal\"\n");
    const LanguageSettings settings{ini, languages, false};
    ScriptedPrompt prompt;
    FakeLanguageWindow window;
    InitializeTranslator(settings, 2057, &prompt, &window);
    EXPECT_EQ(window.shown, 0);
    EXPECT_EQ(StoredLanguage(ini), "English");

    std::filesystem::remove(ini);
    window.answer = {"German", "DejaVu Serif"};
    InitializeTranslator(settings, 1031, &prompt, &window);
    EXPECT_EQ(window.shown, 1);
    EXPECT_EQ(window.choices, (std::vector<std::string>{"English", "French", "German"}));
    EXPECT_EQ(window.selected, 0);
    EXPECT_FALSE(window.editEnabled);
    EXPECT_TRUE(prompt.questions.empty()); // no restart notice on the first start
    EXPECT_EQ(Translate("Log"), "Protokoll"); // the first choice applies at once
    EXPECT_EQ(StoredLanguageFont(ini), "DejaVu Serif");

    // Started again, the stored choice is used without asking.
    InitializeTranslator(settings, 1031, &prompt, &window);
    EXPECT_EQ(window.shown, 1);
}

TEST_F(TranslatorTest, TheMenuChoiceIsStoredForTheNextStartAndAnnounced) {
    WriteBytes(FileOf("French"), "\"Log\",\"Journal\"\n");
    const LanguageSettings settings{ini, languages, false};
    FakeLanguageWindow window;
    ScriptedPrompt prompt;
    window.answer = {"French", ""};
    prompt.Answer(PromptAnswer::OK);
    EXPECT_TRUE(ShowLanguageWindow(true, settings, window, prompt));
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text, "Your changes will take effect next time you run 'Slidemill'");
    EXPECT_EQ(StoredLanguage(ini), "French");
    EXPECT_EQ(Translate("Log"), "Log"); // not before the next start

    window.answer = {};
    EXPECT_FALSE(ShowLanguageWindow(true, settings, window, prompt)); // cancelled
    EXPECT_EQ(window.selected, 1);
    EXPECT_TRUE(window.editEnabled);

    EXPECT_FALSE(ShowLanguageWindow(true, LanguageSettings{ini, languages, true}, window, prompt));
    EXPECT_EQ(window.shown, 2); // a command-line run shows nothing
}

TEST_F(TranslatorTest, ACommandLineRunKeepsEnglishAndWritesNoLanguageFile) {
    WriteBytes(FileOf("German"), "\"Log\",\"Protokoll\"\n");
    IniFile(ini).WriteString("Language", "Language_Code", "German");
    InitializeTranslator(LanguageSettings{ini, languages, true}, 1031, nullptr, nullptr);
    EXPECT_EQ(Translate("Log"), "Log");
    EXPECT_EQ(Translate("Unknown"), "Unknown");
    EXPECT_EQ(ReadWholeFile(FileOf("German")), "\"Log\",\"Protokoll\"\n");
}

} // namespace
} // namespace slidemill
