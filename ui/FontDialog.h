#pragma once

#include "settings/PdfOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace slidemill {

// The character values enforced on a "PDF - with options" document: font family and size,
// bold, italic, underline and its style, strike-through, raised or lowered base line, and text
// and background colours (stored as 0x00BBGGRR; a background of 0 means none). The colour
// boxes take "#RRGGBB" text; their buttons fill them from a colour picker. Nothing reaches
// values before "OK"; exec() then returns Accepted.
class FontDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontDialog(PdfOptions& values, QWidget* parent = nullptr);

private:
    void BaseLineChanged();
    void UnderlineClicked();
    void BackColorClicked();
    void PickColor(QLineEdit* box);
    void Store();

    PdfOptions& values_;
    QComboBox* cboFontName_ = nullptr;
    QSpinBox* spnFontSize_ = nullptr;
    QCheckBox* chkBold_ = nullptr;
    QCheckBox* chkItalic_ = nullptr;
    QCheckBox* chkUnderline_ = nullptr;
    QComboBox* cboUnderlineStyle_ = nullptr;
    QCheckBox* chkStrikethru_ = nullptr;
    QComboBox* cboBaseLine_ = nullptr;
    QDoubleSpinBox* spnBaseLineOffset_ = nullptr;
    QLineEdit* txtForeColor_ = nullptr;
    QPushButton* cmdForeColor_ = nullptr;
    QCheckBox* chkBackColor_ = nullptr;
    QLineEdit* txtBackColor_ = nullptr;
    QPushButton* cmdBackColor_ = nullptr;
};

} // namespace slidemill
