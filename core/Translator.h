#pragma once

#include "core/LanguageFile.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace slidemill {

class Prompt;

// Part of every language file's name: French is "French-'Slidemill'.txt".
inline constexpr const char* kProductName = "'Slidemill'";
inline constexpr const char* kEnglish = "English";
inline constexpr const char* kLanguageSection = "Language";
inline constexpr const char* kLanguageCodeKey = "Language_Code";
inline constexpr const char* kLanguageFontKey = "Language_Font";

// The Windows locale number of a POSIX locale name ("ja_JP.UTF-8" is 1041, "de_DE" 1031); 1033
// for "C", "POSIX", empty and unknown names.
int32_t LocaleIdFromName(const std::string& localeName);
// The user's locale: the first of LC_ALL, LC_MESSAGES and LANG that is set.
int32_t UserLocaleId();
// Chinese, Japanese and Korean locales.
bool IsEastAsianLocale(int32_t localeId);
// US and UK English: a first start there needs no language choice.
bool IsEnglishLocale(int32_t localeId);

// "<language>-'Slidemill'.txt".
std::string LanguageFileName(const std::string& language);
// "English", then the language of every file in folder named like a language file, sorted.
std::vector<std::string> LanguageChoices(const std::string& languagesFolder);

// The dictionary of the current language and the language file behind it. Texts the file does
// not know are appended to it once per run, so a translator finds every text of the program in
// the file. Translate may be called from any thread.
class Translator {
public:
    // Loads language's file from languagesFolder ("English" needs none). Returns "" on success,
    // else the failure message ("Unable to locate Language file: \n<path>"), leaving English.
    std::string Load(const std::string& language, const std::string& languagesFolder);
    // English: an empty dictionary, and no file is ever written.
    void UseEnglish();
    // A command-line run shows English and never writes to a language file.
    void SetRecording(bool recording);
    // Told (once per run, outside the translator's lock, possibly on another thread) when an
    // unknown text could not be appended to the file.
    void SetAppendFailureHandler(std::function<void()> handler);

    std::string Translate(const std::string& text);

    std::string Language() const;
    std::string FilePath() const;
    LanguageEncoding Encoding() const;

private:
    mutable std::mutex mutex_;
    std::string language_;
    std::string path_;
    LanguageEncoding encoding_ = LanguageEncoding::Utf8;
    LanguageFileLayout layout_;
    LanguageDictionary dictionary_;
    bool recording_ = true;
    bool appendFailed_ = false;
    std::function<void()> appendFailure_;
};

// The process's translator, the one core/Translate.h looks up in.
Translator& CurrentTranslator();

// The language chosen in the language window; an empty language when it was cancelled.
struct LanguagePick {
    std::string language;
    std::string font;
};

// The language window: shows choices with selected chosen ("&Edit Language" available when
// editEnabled) and returns what the user picked.
class LanguageWindow {
public:
    virtual ~LanguageWindow() = default;
    virtual LanguagePick Show(const std::vector<std::string>& choices, int selected, bool editEnabled) = 0;
};

// Language settings and where the files are.
struct LanguageSettings {
    std::string iniFilePath;
    std::string languagesFolder;
    bool commandLineMode = false;
};

std::string StoredLanguage(const std::string& iniFilePath);
std::string StoredLanguageFont(const std::string& iniFilePath);

// Fills and shows the language window and stores the choices; true when a setting was saved.
// With notify, a changed language is announced for the next start; without it (the first start)
// the caller applies the choice at once. A command-line run shows nothing.
bool ShowLanguageWindow(bool notify, const LanguageSettings& settings, LanguageWindow& window, Prompt& prompt);

// Start-up, before the first window: the stored language (a first start outside US or UK English
// asks once through window, when there is one), its file loaded into CurrentTranslator(). A file
// that cannot be found, read or processed is reported through prompt (when there is one) and the
// program goes on in English, which is then stored.
void InitializeTranslator(const LanguageSettings& settings, int32_t localeId, Prompt* prompt,
                          LanguageWindow* window);

} // namespace slidemill
