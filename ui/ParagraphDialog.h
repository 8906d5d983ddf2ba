#pragma once

#include "settings/PdfOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace slidemill {

// The paragraph values enforced on a "PDF - with options" document: alignment, indents, space
// before and after, line spacing and the paragraph frame. Lengths show in the unit
// values.glnMeasurement selects. Nothing reaches values before "OK"; exec() then returns
// Accepted.
class ParagraphDialog : public QDialog {
    Q_OBJECT
public:
    explicit ParagraphDialog(PdfOptions& values, QWidget* parent = nullptr);

private:
    void LineSpacingTypeChanged();
    void Store();

    PdfOptions& values_;
    int unit_;
    QComboBox* cboAlignment_ = nullptr;
    QLineEdit* txtIndentLeft_ = nullptr;
    QLineEdit* txtIndentRight_ = nullptr;
    QLineEdit* txtIndentFirstLine_ = nullptr;
    QLineEdit* txtSpaceBefore_ = nullptr;
    QLineEdit* txtSpaceAfter_ = nullptr;
    QComboBox* cboLineSpacing_ = nullptr;
    QSpinBox* spnLineSpacingPercent_ = nullptr;
    QLineEdit* txtLineSpacingExact_ = nullptr;
    QCheckBox* chkFrameLeft_ = nullptr;
    QCheckBox* chkFrameRight_ = nullptr;
    QCheckBox* chkFrameTop_ = nullptr;
    QCheckBox* chkFrameBottom_ = nullptr;
    QCheckBox* chkFrameDouble_ = nullptr;
    QLineEdit* txtFrameLineWidth_ = nullptr;
    QLineEdit* txtFrameDistance_ = nullptr;
};

} // namespace slidemill
