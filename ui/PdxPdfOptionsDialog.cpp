#include "ui/PdxPdfOptionsDialog.h"
#include "ui/UiText.h"

#include "core/PdfSecurityChoices.h"
#include "core/Translate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace slidemill {
namespace {


QLineEdit* PasswordBox(const char* name, const std::string& password, QWidget* parent) {
    auto* box = new QLineEdit(QString::fromStdString(password), parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    return box;
}

} // namespace

PdxPdfOptionsDialog::PdxPdfOptionsDialog(PdfOptions& mother, Prompt& prompt, QWidget* parent)
    : QDialog(parent), mother_(mother), prompt_(prompt) {
    setObjectName(QStringLiteral("frmPdxPDFOptions"));
    setWindowTitle(Tr("PDF Export Password Security Settings"));

    chkOpenPassword_ = new QCheckBox(Tr("&Require a password to open the document"), this);
    chkOpenPassword_->setObjectName(QStringLiteral("chkOpenPassword"));
    txtOpenPassword_ = PasswordBox("txtOpenPassword", mother.sPdxPDFUserPassword, this);
    auto* openLabel = new QLabel(Tr("&Document Open Password:"), this);
    openLabel->setBuddy(txtOpenPassword_);
    auto* openForm = new QFormLayout;
    openForm->setContentsMargins(24, 0, 0, 0);
    openForm->addRow(openLabel, txtOpenPassword_);

    chkPermissionsPassword_ = new QCheckBox(
        Tr("&Use a password to restrict printing and editing of the document and its security settings"),
        this);
    chkPermissionsPassword_->setObjectName(QStringLiteral("chkPermissionsPassword"));
    txtPermissionsPassword_ = PasswordBox("txtPermissionsPassword", mother.sPdxPDFMasterPassword, this);
    auto* permissionsLabel = new QLabel(Tr("&Permissions Password:"), this);
    permissionsLabel->setBuddy(txtPermissionsPassword_);
    auto* permissionsForm = new QFormLayout;
    permissionsForm->setContentsMargins(24, 0, 0, 0);
    permissionsForm->addRow(permissionsLabel, txtPermissionsPassword_);

    fraPermissions_ = new QGroupBox(Tr("Permissions"), this);
    fraPermissions_->setObjectName(QStringLiteral("fraPermissions"));
    auto* permissionsLayout = new QFormLayout(fraPermissions_);
    cboPrinting_ = new QComboBox(fraPermissions_);
    cboPrinting_->setObjectName(QStringLiteral("cboPrinting"));
    for (const std::string& text : PrintingChoiceTexts())
        cboPrinting_->addItem(Tr(text));
    cboChangesAllowed_ = new QComboBox(fraPermissions_);
    cboChangesAllowed_->setObjectName(QStringLiteral("cboChangesAllowed"));
    for (const std::string& text : ChangesChoiceTexts())
        cboChangesAllowed_->addItem(Tr(text));
    auto* printingLabel = new QLabel(Tr("Pri&nting Allowed:"), fraPermissions_);
    printingLabel->setBuddy(cboPrinting_);
    auto* changesLabel = new QLabel(Tr("Changes &Allowed:"), fraPermissions_);
    changesLabel->setBuddy(cboChangesAllowed_);
    permissionsLayout->addRow(printingLabel, cboPrinting_);
    permissionsLayout->addRow(changesLabel, cboChangesAllowed_);
    chkScreenReaders_ = new QCheckBox(
        Tr("Enable text access for screen reader devices for the &visually impaired"), fraPermissions_);
    chkScreenReaders_->setObjectName(QStringLiteral("chkScreenReaders"));
    chkCopying_ = new QCheckBox(Tr("&Enable copying of text, images, and other content"), fraPermissions_);
    chkCopying_->setObjectName(QStringLiteral("chkCopying"));
    permissionsLayout->addRow(chkScreenReaders_);
    permissionsLayout->addRow(chkCopying_);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(Tr("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(Tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkOpenPassword_);
    layout->addLayout(openForm);
    layout->addSpacing(8);
    layout->addWidget(chkPermissionsPassword_);
    layout->addLayout(permissionsForm);
    layout->addWidget(fraPermissions_);
    layout->addStretch();
    layout->addWidget(buttons);

    const PermissionChoices choices = ChoicesFromBits(mother.lDocAccessPermissions);
    cboPrinting_->setCurrentIndex(static_cast<int>(choices.printing));
    cboChangesAllowed_->setCurrentIndex(static_cast<int>(choices.changes));
    chkScreenReaders_->setChecked(choices.screenReaders);
    chkCopying_->setChecked(choices.copying);
    chkOpenPassword_->setChecked(!mother.sPdxPDFUserPassword.empty());
    chkPermissionsPassword_->setChecked(!mother.sPdxPDFMasterPassword.empty());
    txtOpenPassword_->setEnabled(chkOpenPassword_->isChecked());
    openLabel->setEnabled(chkOpenPassword_->isChecked());
    txtPermissionsPassword_->setEnabled(chkPermissionsPassword_->isChecked());
    permissionsLabel->setEnabled(chkPermissionsPassword_->isChecked());
    fraPermissions_->setEnabled(chkPermissionsPassword_->isChecked());

    connect(chkOpenPassword_, &QCheckBox::toggled, this, [this, openLabel](bool on) {
        openLabel->setEnabled(on);
        chkOpenPassword_Click();
    });
    connect(chkPermissionsPassword_, &QCheckBox::toggled, this, [this, permissionsLabel](bool on) {
        permissionsLabel->setEnabled(on);
        chkPermissionsPassword_Click();
    });
    connect(ok, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PdxPdfOptionsDialog::chkOpenPassword_Click() {
    const bool on = chkOpenPassword_->isChecked();
    if (!on)
        txtOpenPassword_->clear();
    txtOpenPassword_->setEnabled(on);
}

void PdxPdfOptionsDialog::chkPermissionsPassword_Click() {
    const bool on = chkPermissionsPassword_->isChecked();
    if (!on)
        txtPermissionsPassword_->clear();
    txtPermissionsPassword_->setEnabled(on);
    fraPermissions_->setEnabled(on);
}

void PdxPdfOptionsDialog::cmdOk_Click() {
    const std::string open = txtOpenPassword_->text().toStdString();
    const std::string permissions = txtPermissionsPassword_->text().toStdString();
    const std::string problem = PasswordProblem(chkOpenPassword_->isChecked(), open,
                                                chkPermissionsPassword_->isChecked(), permissions);
    if (!problem.empty()) {
        prompt_.Ask(Translate(problem), Translate("PDF Export Password Security Settings"), PromptButtons::OK,
                    PromptIcon::Exclamation);
        return;
    }
    // An unchecked option's box is empty already; reading it through the box keeps that true.
    mother_.sPdxPDFUserPassword = chkOpenPassword_->isChecked() ? open : std::string();
    mother_.sPdxPDFMasterPassword = chkPermissionsPassword_->isChecked() ? permissions : std::string();
    PermissionChoices choices;
    choices.printing = static_cast<PrintingChoice>(std::max(0, cboPrinting_->currentIndex()));
    choices.changes = static_cast<ChangesChoice>(std::max(0, cboChangesAllowed_->currentIndex()));
    choices.screenReaders = chkScreenReaders_->isChecked();
    choices.copying = chkCopying_->isChecked();
    mother_.lDocAccessPermissions = BitsFromChoices(choices);
    accept();
}

} // namespace slidemill
