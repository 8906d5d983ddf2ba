#include "ui/AboutBox.h"

#include "core/ConversionComponent.h"
#include "core/Translate.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace slidemill {

std::string AboutText(ConversionComponent& component) {
    std::string office;
    component.GetPowerPointVersion(office);
    return "Slidemill\n" + Translate("Version") + " " + SLIDEMILL_VERSION + "\n\n" +
           Translate("Batch conversion of presentation files") + "\n" + Translate("Conversions by") + " " +
           (office.empty() ? Translate("(no office suite found)") : office) + "\n\nLumenware, Inc.";
}

void ShowAboutBox(QWidget* parent, ConversionComponent& component) {
    // Asking the component may start an office; the wait cursor says why the box takes a moment.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string text = AboutText(component);
    QGuiApplication::restoreOverrideCursor();
    QMessageBox::about(parent, QString::fromStdString(Translate("About") + " Slidemill"),
                       QString::fromStdString(text));
}

} // namespace slidemill
