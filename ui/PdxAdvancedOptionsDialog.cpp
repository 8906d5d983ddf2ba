#include "ui/PdxAdvancedOptionsDialog.h"
#include "ui/UiText.h"

#include "core/AdvancedOptions.h"
#include "core/Translate.h"
#include "ui/AdvancedOptionsDialog.h"
#include "ui/FontDialog.h"
#include "ui/ParagraphDialog.h"
#include "ui/PdxPageDialog.h"
#include "ui/PdxPdfOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace slidemill {

namespace {



constexpr int kHighestQuality = 100;

} // namespace

struct PdxAdvancedOptionsDialog::Widgets {
    QTabWidget* tabs = nullptr;
    QRadioButton* optEnglish = nullptr;
    QRadioButton* optMetric = nullptr;
    QCheckBox* chkOverridePageSettings = nullptr;
    QPushButton* cmdChangePageSettings = nullptr;
    QCheckBox* chkOverrideParagraphSettings = nullptr;
    QPushButton* cmdChangeParagraphSettings = nullptr;
    QCheckBox* chkOverrideFontSettings = nullptr;
    QPushButton* cmdChangeFontSettings = nullptr;
    QCheckBox* chkOverridePDFSettings = nullptr;
    QPushButton* cmdChangePDFSettings = nullptr;
    QCheckBox* chkOverrideImageSettings = nullptr;
    QGroupBox* fraImageSettings = nullptr;
    QComboBox* cboImageCompressionQuality = nullptr;
    QLineEdit* txtImageMaxResolution = nullptr;
};

PdxAdvancedOptionsDialog::PdxAdvancedOptionsDialog(PdfOptions& mother, Prompt& prompt, QWidget* parent)
    : QDialog(parent), w_(std::make_unique<Widgets>()), mother_(mother), prompt_(prompt), working_(mother) {
    Widgets& w = *w_;
    setObjectName(QStringLiteral("frmPdxAdvancedOptions"));
    setWindowTitle(Tr("Advanced Options"));

    auto* heading =
        Named(new QLabel(Tr("The target file can be modfied by changing the settings below:")), "lblHeading");
    heading->setWordWrap(true);

    w.tabs = Named(new QTabWidget, "tabPdxOptions");
    w.tabs->tabBar()->setUsesScrollButtons(false);
    // One page per group: its enforce box and the button that edits the group, shown while
    // the group is enforced.
    const auto groupPage = [&w](const char* caption, QCheckBox* box, QPushButton* button) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(box);
        auto* row = new QHBoxLayout;
        row->addSpacing(20);
        row->addWidget(button);
        row->addStretch();
        layout->addLayout(row);
        layout->addStretch();
        w.tabs->addTab(page, Tr(caption));
    };
    w.chkOverridePageSettings =
        Named(new QCheckBox(Tr("Enforce &Page And Document Settings")), "chkOverridePageSettings");
    w.cmdChangePageSettings =
        Named(new QPushButton(Tr("Change Page and Document Settings")), "cmdChangePageSettings");
    groupPage("Page And Document Settings", w.chkOverridePageSettings, w.cmdChangePageSettings);
    w.chkOverrideParagraphSettings =
        Named(new QCheckBox(Tr("Enforce Paragraph Formatting")), "chkOverrideParagraphSettings");
    w.cmdChangeParagraphSettings =
        Named(new QPushButton(Tr("Change Paragraph Formatting")), "cmdChangeParagraphSettings");
    groupPage("Paragraph Formatting", w.chkOverrideParagraphSettings, w.cmdChangeParagraphSettings);
    w.chkOverrideFontSettings = Named(new QCheckBox(Tr("Enforce &Font")), "chkOverrideFontSettings");
    w.cmdChangeFontSettings = Named(new QPushButton(Tr("Change Font")), "cmdChangeFontSettings");
    groupPage("Font", w.chkOverrideFontSettings, w.cmdChangeFontSettings);
    w.chkOverridePDFSettings = Named(new QCheckBox(Tr("Enforce PDF Settings")), "chkOverridePDFSettings");
    w.cmdChangePDFSettings = Named(new QPushButton(Tr("Change PDF Settings")), "cmdChangePDFSettings");
    groupPage("PDF Options", w.chkOverridePDFSettings, w.cmdChangePDFSettings);

    auto* imagePage = new QWidget;
    auto* image = new QVBoxLayout(imagePage);
    w.chkOverrideImageSettings =
        Named(new QCheckBox(Tr("Enforce Image Quality Settings")), "chkOverrideImageSettings");
    w.fraImageSettings = Named(new QGroupBox, "fraImageSettings");
    auto* imageGroup = new QVBoxLayout(w.fraImageSettings);
    auto* qualityLabel =
        new QLabel(Tr("Image Compression Quality (100 highest, 1 lowest quality. 0 for default)"));
    qualityLabel->setWordWrap(true);
    w.cboImageCompressionQuality = Named(new QComboBox, "cboImageCompressionQuality");
    for (int quality = 0; quality <= kHighestQuality; ++quality)
        w.cboImageCompressionQuality->addItem(QString::number(quality));
    qualityLabel->setBuddy(w.cboImageCompressionQuality);
    auto* resolutionLabel = new QLabel(
        Tr("Image Resolution (Sets the maximum resolution for all images in the document in dots per inch "
           "when the document is saved. If an image's resolution is larger than this property's value, it is "
           "reduced, otherwise it is not changed. If this property's value is zero, which is the default "
           "value, the default resolution of each image is used.)"));
    resolutionLabel->setWordWrap(true);
    w.txtImageMaxResolution = Named(new QLineEdit, "txtImageMaxResolution");
    w.txtImageMaxResolution->setMaximumWidth(fontMetrics().averageCharWidth() * 14);
    resolutionLabel->setBuddy(w.txtImageMaxResolution);
    imageGroup->addWidget(qualityLabel);
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(w.cboImageCompressionQuality);
    qualityRow->addStretch();
    imageGroup->addLayout(qualityRow);
    imageGroup->addSpacing(8);
    imageGroup->addWidget(resolutionLabel);
    imageGroup->addWidget(w.txtImageMaxResolution);
    image->addWidget(w.chkOverrideImageSettings);
    image->addWidget(w.fraImageSettings);
    image->addStretch();
    w.tabs->addTab(imagePage, Tr("Image Quality"));

    auto* units = Named(new QGroupBox(Tr("Units")), "fraUnits");
    auto* unitsLayout = new QHBoxLayout(units);
    w.optEnglish = Named(new QRadioButton(Tr("English")), "optUnitsEnglish");
    w.optMetric = Named(new QRadioButton(Tr("Metric")), "optUnitsMetric");
    unitsLayout->addWidget(w.optEnglish);
    unitsLayout->addWidget(w.optMetric);
    unitsLayout->addStretch();

    auto* apply = Named(new QPushButton(Tr("&Apply")), "cmdApply");
    auto* cancel = Named(new QPushButton(Tr("&Cancel")), "cmdCancel");
    apply->setDefault(true);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(apply, QDialogButtonBox::ActionRole);
    buttons->addButton(cancel, QDialogButtonBox::ActionRole);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(units);
    bottom->addStretch();
    bottom->addWidget(buttons, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(w.tabs, 1);
    layout->addLayout(bottom);

    // Loading.
    w.chkOverridePageSettings->setChecked(mother.bOverridePageSettings);
    w.chkOverrideParagraphSettings->setChecked(mother.bOverrideParagraphSettings);
    w.chkOverrideFontSettings->setChecked(mother.bOverrideFontSettings);
    w.chkOverridePDFSettings->setChecked(mother.bOverridePDFSettings);
    w.chkOverrideImageSettings->setChecked(mother.bOverrideImageSettings);
    w.cboImageCompressionQuality->setCurrentIndex(
        std::clamp<int>(mother.lImageComparessionQuality, 0, kHighestQuality));
    w.txtImageMaxResolution->setText(QString::number(mother.lImageMaxResolution));
    if (mother.glnMeasurement == 2)
        w.optMetric->setChecked(true);
    else if (mother.glnMeasurement == 1)
        w.optEnglish->setChecked(true);

    for (QCheckBox* box : {w.chkOverridePageSettings, w.chkOverrideParagraphSettings, w.chkOverrideFontSettings,
                           w.chkOverridePDFSettings, w.chkOverrideImageSettings})
        connect(box, &QCheckBox::toggled, this, [this] { UpdateVisibility(); });
    connect(w.optEnglish, &QRadioButton::clicked, this, [this] { UnitChosen(1); });
    connect(w.optMetric, &QRadioButton::clicked, this, [this] { UnitChosen(2); });
    connect(w.cmdChangePageSettings, &QPushButton::clicked, this, [this] { cmdChangePageSettings_Click(); });
    connect(w.cmdChangeParagraphSettings, &QPushButton::clicked, this,
            [this] { cmdChangeParagraphSettings_Click(); });
    connect(w.cmdChangeFontSettings, &QPushButton::clicked, this, [this] { cmdChangeFontSettings_Click(); });
    connect(w.cmdChangePDFSettings, &QPushButton::clicked, this, [this] { cmdChangePDFSettings_Click(); });
    connect(apply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    AddTabCycling(*this, *w.tabs);

    w.tabs->setCurrentIndex(0);
    UpdateVisibility();
}

PdxAdvancedOptionsDialog::~PdxAdvancedOptionsDialog() = default;

void PdxAdvancedOptionsDialog::UpdateVisibility() {
    Widgets& w = *w_;
    w.cmdChangePageSettings->setVisible(w.chkOverridePageSettings->isChecked());
    w.cmdChangeParagraphSettings->setVisible(w.chkOverrideParagraphSettings->isChecked());
    w.cmdChangeFontSettings->setVisible(w.chkOverrideFontSettings->isChecked());
    w.cmdChangePDFSettings->setVisible(w.chkOverridePDFSettings->isChecked());
    w.fraImageSettings->setVisible(w.chkOverrideImageSettings->isChecked());
}

void PdxAdvancedOptionsDialog::UnitChosen(int16_t unit) {
    // The dialogs opened from here show their lengths in the new unit straight away.
    mother_.glnMeasurement = unit;
    working_.glnMeasurement = unit;
}

// The page and password dialogs store straight into mother; the paragraph and font dialogs into
// the working copy, which reaches mother on "&Apply". Each gives its button the focus again.
void PdxAdvancedOptionsDialog::cmdChangePageSettings_Click() {
    PdxPageDialog dialog(mother_, this);
    dialog.exec();
    w_->cmdChangePageSettings->setFocus();
}

void PdxAdvancedOptionsDialog::cmdChangeParagraphSettings_Click() {
    ParagraphDialog dialog(working_, this);
    dialog.exec();
    w_->cmdChangeParagraphSettings->setFocus();
}

void PdxAdvancedOptionsDialog::cmdChangeFontSettings_Click() {
    FontDialog dialog(working_, this);
    dialog.exec();
    w_->cmdChangeFontSettings->setFocus();
}

void PdxAdvancedOptionsDialog::cmdChangePDFSettings_Click() {
    PdxPdfOptionsDialog dialog(mother_, prompt_, this);
    dialog.exec();
    w_->cmdChangePDFSettings->setFocus();
}

void PdxAdvancedOptionsDialog::cmdApply_Click() {
    Widgets& w = *w_;
    mother_.bOverridePageSettings = w.chkOverridePageSettings->isChecked();
    mother_.bOverrideParagraphSettings = w.chkOverrideParagraphSettings->isChecked();
    mother_.bOverrideFontSettings = w.chkOverrideFontSettings->isChecked();
    mother_.bOverridePDFSettings = w.chkOverridePDFSettings->isChecked();
    mother_.bOverrideImageSettings = w.chkOverrideImageSettings->isChecked();
    if (mother_.bOverrideParagraphSettings)
        CopyParagraphValues(working_, mother_);
    if (mother_.bOverrideFontSettings)
        CopyFontValues(working_, mother_);
    if (mother_.bOverrideImageSettings) {
        mother_.lImageComparessionQuality = static_cast<int16_t>(w.cboImageCompressionQuality->currentIndex());
        int32_t dpi = 0;
        if (ParseImageResolution(w.txtImageMaxResolution->text().toStdString(), dpi))
            mother_.lImageMaxResolution = dpi;
    }
    accept();
}

} // namespace slidemill
