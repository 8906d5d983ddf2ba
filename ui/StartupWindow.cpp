#include "ui/StartupWindow.h"

#include "core/Translate.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include <sstream>

namespace slidemill {

std::string StartupVersionLine(const std::string& dottedVersion) {
    std::string parts[3] = {"0", "0", "0"};
    std::stringstream text(dottedVersion);
    std::string part;
    for (int i = 0; i < 3 && std::getline(text, part, '.'); ++i) {
        if (!part.empty())
            parts[i] = part;
    }
    return "V" + parts[0] + "." + parts[1] + parts[2];
}

StartupWindow::StartupWindow(const std::string& dottedVersion, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmPleaseWait");
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    lblHeader_ = new QLabel(QString::fromStdString(Translate("Slidemill!")), frame);
    lblHeader_->setObjectName("lblHeader");
    QFont headerFont = lblHeader_->font();
    headerFont.setPointSizeF(headerFont.pointSizeF() * 2);
    headerFont.setBold(true);
    lblHeader_->setFont(headerFont);
    lblLine1_ = new QLabel(QString::fromStdString(StartupVersionLine(dottedVersion)), frame);
    lblLine1_->setObjectName("lblLine1");
    lblLine2_ = new QLabel(QStringLiteral("Lumenware, Inc."), frame);
    lblLine2_->setObjectName("lblLine2");

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(8);
    for (QLabel* label : {lblHeader_, lblLine1_, lblLine2_}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    setWindowTitle(lblHeader_->text());
}

QString StartupWindow::HeaderText() const {
    return lblHeader_->text();
}

QString StartupWindow::VersionText() const {
    return lblLine1_->text();
}

QString StartupWindow::MakerText() const {
    return lblLine2_->text();
}

} // namespace slidemill
