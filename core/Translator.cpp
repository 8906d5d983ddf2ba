#include "core/Translator.h"

#include "core/Prompt.h"
#include "core/Translate.h"
#include "platform/Environment.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace slidemill {

namespace {

struct LocaleEntry {
    const char* name; // language, or language_REGION
    int32_t id;
};

// Regions first: a name is looked up with its region, then without it.
constexpr LocaleEntry kLocales[] = {
    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105}, {"en_IE", 6153},
    {"en_NZ", 5129}, {"zh_CN", 2052}, {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh_SG", 4100},
    {"zh_MO", 5124}, {"pt_BR", 1046}, {"pt_PT", 2070}, {"fr_CA", 3084}, {"fr_BE", 2060},
    {"fr_CH", 4108}, {"de_AT", 3079}, {"de_CH", 2055}, {"es_MX", 2058}, {"nl_BE", 2067},
    {"en", 1033},    {"zh", 2052},    {"pt", 2070},    {"fr", 1036},    {"de", 1031},
    {"es", 3082},    {"it", 1040},    {"ja", 1041},    {"ko", 1042},    {"nl", 1043},
    {"ru", 1049},    {"pl", 1045},    {"sv", 1053},    {"da", 1030},    {"fi", 1035},
    {"nb", 1044},    {"no", 1044},    {"cs", 1029},    {"hu", 1038},    {"tr", 1055},
    {"el", 1032},    {"he", 1037},    {"ar", 1025},    {"uk", 1058},    {"ro", 1048},
};

constexpr int32_t kUsEnglish = 1033;

std::string ReadWholeFile(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    if (!ok)
        return {};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    ok = !in.bad();
    return bytes.str();
}

std::string FailureText(const char* message, const std::string& path) {
    return std::string(message) + ": \n" + path;
}

void StoreLanguage(const std::string& iniFilePath, const std::string& language) {
    IniFile ini(iniFilePath);
    (void)ini.WriteString(kLanguageSection, kLanguageCodeKey, language);
}

} // namespace

int32_t LocaleIdFromName(const std::string& localeName) {
    std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX")
        return kUsEnglish;
    const std::string language = name.substr(0, name.find('_'));
    for (const std::string& candidate : {name, language}) {
        for (const LocaleEntry& entry : kLocales) {
            if (candidate == entry.name)
                return entry.id;
        }
    }
    return kUsEnglish;
}

int32_t UserLocaleId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = EnvironmentValue(variable);
        if (!value.empty())
            return LocaleIdFromName(value);
    }
    return kUsEnglish;
}

bool IsEastAsianLocale(int32_t localeId) {
    switch (localeId) {
    case 1028:
    case 1041:
    case 1042:
    case 2052:
    case 3076:
    case 4100:
    case 5124:
        return true;
    default:
        return false;
    }
}

bool IsEnglishLocale(int32_t localeId) {
    return localeId == 1033 || localeId == 2057;
}

std::string LanguageFileName(const std::string& language) {
    return language + "-" + kProductName + ".txt";
}

std::vector<std::string> LanguageChoices(const std::string& languagesFolder) {
    const std::string suffix = std::string("-") + kProductName + ".txt";
    std::vector<std::string> languages;
    std::error_code error;
    for (std::filesystem::directory_iterator it(languagesFolder, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const std::string name = it->path().filename().string();
        const std::size_t at = name.find(suffix);
        if (at == std::string::npos || at == 0)
            continue;
        const std::string language = name.substr(0, at);
        if (language != kEnglish)
            languages.push_back(language);
    }
    std::sort(languages.begin(), languages.end());
    languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
    languages.insert(languages.begin(), kEnglish);
    return languages;
}

// ---- Translator ----

std::string Translator::Load(const std::string& language, const std::string& languagesFolder) {
    UseEnglish();
    if (language.empty() || language == kEnglish)
        return {};
    std::string folder = languagesFolder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    const std::string path = folder + LanguageFileName(language);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return FailureText("Unable to locate Language file", path);
    bool read = false;
    const std::string bytes = ReadWholeFile(path, read);
    if (!read)
        return FailureText("Unable to read Language file", path);
    const auto encoding = DetectLanguageEncoding(bytes);
    if (!encoding)
        return FailureText("Unable to read Language file", path);
    const auto text = DecodeLanguageText(bytes, *encoding);
    if (!text)
        return FailureText("Unable to process Language file", path);
    LanguageDictionary dictionary;
    ParseLanguageText(*text, dictionary);

    std::lock_guard lock(mutex_);
    language_ = language;
    path_ = path;
    encoding_ = *encoding;
    layout_ = LayoutOfLanguageText(*text);
    dictionary_ = std::move(dictionary);
    appendFailed_ = false;
    return {};
}

void Translator::UseEnglish() {
    std::lock_guard lock(mutex_);
    language_ = kEnglish;
    path_.clear();
    dictionary_.clear();
    appendFailed_ = false;
}

void Translator::SetRecording(bool recording) {
    std::lock_guard lock(mutex_);
    recording_ = recording;
}

void Translator::SetAppendFailureHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    appendFailure_ = std::move(handler);
}

std::string Translator::Translate(const std::string& text) {
    if (text.find_first_not_of(" \t\r\n\v\f") == std::string::npos)
        return text;
    std::function<void()> tell;
    {
        std::lock_guard lock(mutex_);
        if (language_.empty() || path_.empty())
            return text;
        if (const auto it = dictionary_.find(text); it != dictionary_.end())
            return it->second;
        // Known from now on, so it is appended once per run, whatever happens below.
        dictionary_.emplace(text, text);
        // A line break would split the entry: such a text could never be read back as one key.
        if (!recording_ || appendFailed_ || text.find_first_of("\r\n") != std::string::npos)
            return text;
        // A file that went away is not created again: it would lack its encoding's mark.
        std::error_code error;
        std::ofstream out;
        if (std::filesystem::is_regular_file(path_, error))
            out.open(path_, std::ios::binary | std::ios::app);
        if (out) {
            const std::string line = AppendedLanguageLine(text, encoding_, layout_);
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
            out.flush();
            layout_.endsWithBreak = true;
        }
        if (!out) {
            appendFailed_ = true;
            tell = appendFailure_;
        }
    }
    if (tell)
        tell();
    return text;
}

std::string Translator::Language() const {
    std::lock_guard lock(mutex_);
    return language_;
}

std::string Translator::FilePath() const {
    std::lock_guard lock(mutex_);
    return path_;
}

LanguageEncoding Translator::Encoding() const {
    std::lock_guard lock(mutex_);
    return encoding_;
}

Translator& CurrentTranslator() {
    static Translator translator;
    return translator;
}

// ---- Settings and start-up ----

std::string StoredLanguage(const std::string& iniFilePath) {
    return IniFile(iniFilePath).ReadString(kLanguageSection, kLanguageCodeKey, "");
}

std::string StoredLanguageFont(const std::string& iniFilePath) {
    return IniFile(iniFilePath).ReadString(kLanguageSection, kLanguageFontKey, "");
}

bool ShowLanguageWindow(bool notify, const LanguageSettings& settings, LanguageWindow& window, Prompt& prompt) {
    if (settings.commandLineMode) {
        CurrentTranslator().UseEnglish();
        return false;
    }
    std::string current = StoredLanguage(settings.iniFilePath);
    if (current.empty())
        current = kEnglish;
    const std::vector<std::string> choices = LanguageChoices(settings.languagesFolder);
    const auto found = std::find(choices.begin(), choices.end(), current);
    const int selected = found == choices.end() ? 0 : static_cast<int>(found - choices.begin());
    const LanguagePick pick = window.Show(choices, selected, current != kEnglish);
    if (pick.language.empty())
        return false;

    bool saved = false;
    bool languageChanged = false;
    IniFile ini(settings.iniFilePath);
    if (pick.language != current) {
        saved = ini.WriteString(kLanguageSection, kLanguageCodeKey, pick.language) || saved;
        languageChanged = true;
    }
    if (!pick.font.empty() && pick.font != StoredLanguageFont(settings.iniFilePath))
        saved = ini.WriteString(kLanguageSection, kLanguageFontKey, pick.font) || saved;
    if (notify && languageChanged)
        prompt.Ask(slidemill::Translate("Your changes will take effect next time you run ") + kProductName,
                   "Slidemill", PromptButtons::OK, PromptIcon::Information);
    return saved;
}

void InitializeTranslator(const LanguageSettings& settings, int32_t localeId, Prompt* prompt,
                          LanguageWindow* window) {
    Translator& translator = CurrentTranslator();
    if (settings.commandLineMode) {
        translator.UseEnglish();
        translator.SetRecording(false);
        return;
    }
    translator.SetRecording(true);
    std::string language = StoredLanguage(settings.iniFilePath);
    if (language.empty()) {
        translator.UseEnglish();
        if (!IsEnglishLocale(localeId) && window && prompt)
            (void)ShowLanguageWindow(false, settings, *window, *prompt);
        language = StoredLanguage(settings.iniFilePath);
        if (language.empty()) {
            language = kEnglish;
            StoreLanguage(settings.iniFilePath, language);
        }
    }
    const std::string failure = translator.Load(language, settings.languagesFolder);
    if (failure.empty())
        return;
    if (prompt)
        prompt->Ask(failure + "\nDefaulting to English", "Error", PromptButtons::OK, PromptIcon::Exclamation);
    StoreLanguage(settings.iniFilePath, kEnglish);
}

} // namespace slidemill
