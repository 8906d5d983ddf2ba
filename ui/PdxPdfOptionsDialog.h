#pragma once

#include "core/Prompt.h"
#include "settings/PdfOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace slidemill {

// "PDF Export Password Security Settings": the document-open and permissions passwords and the
// permissions a secured PDF grants. "Ok" refuses, with a warning through prompt, a checked
// password option without its password and two equal passwords; otherwise it stores both
// passwords and the permission bits in mother and exec() returns Accepted.
class PdxPdfOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PdxPdfOptionsDialog(PdfOptions& mother, Prompt& prompt, QWidget* parent = nullptr);

private:
    void chkOpenPassword_Click();
    void chkPermissionsPassword_Click();
    void cmdOk_Click();

    PdfOptions& mother_;
    Prompt& prompt_;
    QCheckBox* chkOpenPassword_ = nullptr;
    QLineEdit* txtOpenPassword_ = nullptr;
    QCheckBox* chkPermissionsPassword_ = nullptr;
    QLineEdit* txtPermissionsPassword_ = nullptr;
    QGroupBox* fraPermissions_ = nullptr;
    QComboBox* cboPrinting_ = nullptr;
    QComboBox* cboChangesAllowed_ = nullptr;
    QCheckBox* chkScreenReaders_ = nullptr;
    QCheckBox* chkCopying_ = nullptr;
};

} // namespace slidemill
