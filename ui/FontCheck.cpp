#include "ui/FontCheck.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

namespace slidemill {

bool ApplicationFontResolves() {
    if (QFontDatabase::families().isEmpty())
        return false;
    const QString family = QFontInfo(QApplication::font()).family();
    return !family.isEmpty() && QFontDatabase::hasFamily(family);
}

} // namespace slidemill
