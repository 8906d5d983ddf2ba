#include "ui/UiText.h"

#include "core/Translate.h"

namespace slidemill {

QString Tr(const char* english) {
    return QString::fromStdString(Translate(english));
}

QString Tr(const std::string& english) {
    return QString::fromStdString(Translate(english));
}

} // namespace slidemill
