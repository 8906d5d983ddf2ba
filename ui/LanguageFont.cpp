#include "ui/LanguageFont.h"

#include "core/Translator.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace slidemill {

namespace {

constexpr int32_t kJapaneseLocale = 1041;

// Japanese UI fonts, the ones Debian packages first (fonts-ipafont-gothic, fonts-noto-cjk).
constexpr const char* kJapaneseUiFonts[] = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "MS UI Gothic"};

} // namespace

std::string LanguageUiFontFamily(const std::string& languageFont, const std::string& language, int32_t localeId,
                                 const std::function<bool(const std::string&)>& installed) {
    if (!languageFont.empty())
        return languageFont;
    if (language != kEnglish && localeId == kJapaneseLocale) {
        for (const char* family : kJapaneseUiFonts)
            if (installed(family))
                return family;
    }
    return {};
}

bool FontFamilyInstalled(const std::string& family) {
    const QString wanted = QString::fromStdString(family);
    const QStringList families = QFontDatabase::families();
    for (const QString& name : families)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void ApplyLanguageFont(const std::string& languageFont, const std::string& language, int32_t localeId) {
    const std::string family = LanguageUiFontFamily(languageFont, language, localeId, FontFamilyInstalled);
    if (family.empty())
        return;
    QFont font = QApplication::font();
    font.setFamilies({QString::fromStdString(family)});
    QApplication::setFont(font);
}

} // namespace slidemill
