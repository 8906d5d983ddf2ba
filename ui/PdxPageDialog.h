#pragma once

#include "settings/PdfOptions.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace slidemill {

// "Page Setup": paper size, orientation, margins and the HTML stylesheet choice of the
// "PDF - with options" settings. Lengths show in the unit mother.glnMeasurement selects. Nothing
// reaches mother before "&Apply"; exec() then returns Accepted.
class PdxPageDialog : public QDialog {
    Q_OBJECT
public:
    explicit PdxPageDialog(PdfOptions& mother, QWidget* parent = nullptr);

private:
    void cboPaperSize_Click();
    void SizeEdited();
    void OrientationClicked();
    void StyleSheetOptionClicked();
    void cmdApply_Click();

    PdfOptions& mother_;
    int unit_;
    QComboBox* cboPaperSize_ = nullptr;
    QLineEdit* txtWidth_ = nullptr;
    QLineEdit* txtHeight_ = nullptr;
    QRadioButton* optPortrait_ = nullptr;
    QRadioButton* optLandscape_ = nullptr;
    QLineEdit* txtMarginLeft_ = nullptr;
    QLineEdit* txtMarginTop_ = nullptr;
    QLineEdit* txtMarginRight_ = nullptr;
    QLineEdit* txtMarginBottom_ = nullptr;
    QButtonGroup* styleSheetOptions_ = nullptr;
    QLabel* lblStyleSheetFile_ = nullptr;
    QLineEdit* txtStyleSheetFile_ = nullptr;
    QLabel* lblInvalid_ = nullptr;
};

} // namespace slidemill
