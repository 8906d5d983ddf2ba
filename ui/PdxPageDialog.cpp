#include "ui/PdxPageDialog.h"
#include "ui/UiText.h"

#include "core/PageSetup.h"
#include "core/Translate.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace slidemill {
namespace {


const char* const kStyleSheetOptions[] = {"No stylesheet", "Inline stylesheet",
                                          "Save stylesheet in seperate file",
                                          "Save but do not overwirte existing file"};

QLineEdit* LengthBox(const char* name, int32_t twips, int unit, QWidget* parent) {
    auto* box = new QLineEdit(QString::fromStdString(TwipsToText(twips, unit)), parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000.00")) + 16);
    return box;
}

// A length row: the box followed by its unit label.
QWidget* WithUnit(QLineEdit* box, int unit, QWidget* parent) {
    auto* row = new QWidget(parent);
    // The row's label mnemonic reaches the box.
    row->setFocusProxy(box);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    auto* label = new QLabel(Tr(UnitLabel(unit)), row);
    label->setObjectName(box->objectName() + QStringLiteral("Unit"));
    layout->addWidget(label);
    layout->addStretch();
    return row;
}

int32_t Twips(const QLineEdit* box, int unit) {
    return TextToTwips(box->text().toStdString(), unit);
}

} // namespace

PdxPageDialog::PdxPageDialog(PdfOptions& mother, QWidget* parent)
    : QDialog(parent), mother_(mother), unit_(mother.glnMeasurement) {
    setObjectName(QStringLiteral("frmPdxPageDlg"));
    setWindowTitle(Tr("Page Setup"));

    auto* sizeForm = new QFormLayout;
    cboPaperSize_ = new QComboBox(this);
    cboPaperSize_->setObjectName(QStringLiteral("cboPaperSize"));
    for (const std::string& name : PaperSizeNames())
        cboPaperSize_->addItem(Tr(name));
    auto* paperLabel = new QLabel(Tr("&Paper size"), this);
    paperLabel->setBuddy(cboPaperSize_);
    sizeForm->addRow(paperLabel, cboPaperSize_);

    txtWidth_ = LengthBox("txtWidth", mother.lPdxPageWidth, unit_, this);
    txtHeight_ = LengthBox("txtHeight", mother.lPdxPageHeight, unit_, this);
    auto* widthLabel = new QLabel(Tr("&Width:"), this);
    widthLabel->setBuddy(txtWidth_);
    auto* heightLabel = new QLabel(Tr("&Height:"), this);
    heightLabel->setBuddy(txtHeight_);
    sizeForm->addRow(widthLabel, WithUnit(txtWidth_, unit_, this));
    sizeForm->addRow(heightLabel, WithUnit(txtHeight_, unit_, this));

    optPortrait_ = new QRadioButton(Tr("Portrait"), this);
    optPortrait_->setObjectName(QStringLiteral("optPortrait"));
    optLandscape_ = new QRadioButton(Tr("Landscape"), this);
    optLandscape_->setObjectName(QStringLiteral("optLandscape"));
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(optPortrait_);
    orientation->addWidget(optLandscape_);
    orientation->addStretch();
    sizeForm->addRow(QString(), orientation);

    auto* margins = new QGroupBox(Tr("Page margins"), this);
    margins->setObjectName(QStringLiteral("fraMargins"));
    auto* marginGrid = new QGridLayout(margins);
    txtMarginLeft_ = LengthBox("txtMarginLeft", mother.lPdxPageMarginL, unit_, margins);
    txtMarginTop_ = LengthBox("txtMarginTop", mother.lPdxPageMarginT, unit_, margins);
    txtMarginRight_ = LengthBox("txtMarginRight", mother.lPdxPageMarginR, unit_, margins);
    txtMarginBottom_ = LengthBox("txtMarginBottom", mother.lPdxPageMarginB, unit_, margins);
    const struct {
        const char* text;
        QLineEdit* box;
        int row;
        int column;
    } marginCells[] = {{"&Left:", txtMarginLeft_, 0, 0},
                       {"&Top:", txtMarginTop_, 1, 0},
                       {"&Right:", txtMarginRight_, 0, 2},
                       {"&Bottom:", txtMarginBottom_, 1, 2}};
    for (const auto& cell : marginCells) {
        auto* label = new QLabel(Tr(cell.text), margins);
        label->setBuddy(cell.box);
        marginGrid->addWidget(label, cell.row, cell.column);
        marginGrid->addWidget(WithUnit(cell.box, unit_, margins), cell.row, cell.column + 1);
    }
    marginGrid->setColumnStretch(1, 1);
    marginGrid->setColumnStretch(3, 1);

    auto* styleSheet = new QGroupBox(Tr("HTML stylesheet save options"), this);
    styleSheet->setObjectName(QStringLiteral("fraStyleSheet"));
    auto* styleLayout = new QVBoxLayout(styleSheet);
    styleSheetOptions_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(Tr(kStyleSheetOptions[i]), styleSheet);
        option->setObjectName(QStringLiteral("optStyleSheet%1").arg(i));
        styleSheetOptions_->addButton(option, i);
        styleLayout->addWidget(option);
    }
    auto* fileRow = new QHBoxLayout;
    lblStyleSheetFile_ = new QLabel(Tr("Stylesheet file:"), styleSheet);
    lblStyleSheetFile_->setObjectName(QStringLiteral("lblStyleSheetFile"));
    txtStyleSheetFile_ = new QLineEdit(QString::fromStdString(mother.sPdxStyleSheetFile), styleSheet);
    txtStyleSheetFile_->setObjectName(QStringLiteral("txtStyleSheetFile"));
    txtStyleSheetFile_->setMinimumWidth(260);
    lblStyleSheetFile_->setBuddy(txtStyleSheetFile_);
    fileRow->addWidget(lblStyleSheetFile_);
    fileRow->addWidget(txtStyleSheetFile_, 1);
    styleLayout->addLayout(fileRow);

    lblInvalid_ = new QLabel(Tr("A setting is invalid.  Please correct before applying."), this);
    lblInvalid_->setObjectName(QStringLiteral("lblInvalid"));
    lblInvalid_->setStyleSheet(QStringLiteral("color: red"));
    // Every entry is accepted (an unreadable length counts as 0), so the notice stays hidden.
    lblInvalid_->hide();

    auto* buttons = new QDialogButtonBox(this);
    auto* apply = buttons->addButton(Tr("&Apply"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("cmdApply"));
    apply->setDefault(true);
    auto* cancel = buttons->addButton(Tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sizeForm);
    layout->addWidget(margins);
    layout->addWidget(styleSheet);
    layout->addWidget(lblInvalid_);
    layout->addStretch();
    layout->addWidget(buttons);

    // Loading sets the controls before anything listens, so it writes no length twice.
    cboPaperSize_->setCurrentIndex(MatchPaperSize({mother.lPdxPageWidth, mother.lPdxPageHeight}));
    const int option =
        mother.lPdxStyleSheetOption >= 0 && mother.lPdxStyleSheetOption < 4 ? mother.lPdxStyleSheetOption : 0;
    styleSheetOptions_->button(option)->setChecked(true);
    StyleSheetOptionClicked();
    (mother.bPdxPortrait ? optPortrait_ : optLandscape_)->setChecked(true);

    connect(cboPaperSize_, &QComboBox::activated, this, [this] { cboPaperSize_Click(); });
    connect(txtWidth_, &QLineEdit::editingFinished, this, [this] { SizeEdited(); });
    connect(txtHeight_, &QLineEdit::editingFinished, this, [this] { SizeEdited(); });
    connect(optPortrait_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OrientationClicked();
    });
    connect(optLandscape_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OrientationClicked();
    });
    connect(styleSheetOptions_, &QButtonGroup::idClicked, this, [this] { StyleSheetOptionClicked(); });
    connect(apply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PdxPageDialog::cboPaperSize_Click() {
    const int index = cboPaperSize_->currentIndex();
    const auto& sizes = PaperSizes();
    if (index < 0 || index >= static_cast<int>(sizes.size()))
        return; // "User Defined" keeps what is typed
    PageSize size = sizes[static_cast<std::size_t>(index)].size;
    if (optLandscape_->isChecked())
        size = {size.height, size.width};
    txtWidth_->setText(QString::fromStdString(TwipsToText(size.width, unit_)));
    txtHeight_->setText(QString::fromStdString(TwipsToText(size.height, unit_)));
}

void PdxPageDialog::SizeEdited() {
    cboPaperSize_->setCurrentIndex(MatchPaperSize({Twips(txtWidth_, unit_), Twips(txtHeight_, unit_)}));
}

void PdxPageDialog::OrientationClicked() {
    const PageSize typed{Twips(txtWidth_, unit_), Twips(txtHeight_, unit_)};
    const PageSize oriented = Oriented(typed, optPortrait_->isChecked());
    if (oriented == typed)
        return;
    // Swapping the texts rather than re-writing the lengths keeps what the user typed.
    const QString width = txtWidth_->text();
    txtWidth_->setText(txtHeight_->text());
    txtHeight_->setText(width);
}

void PdxPageDialog::StyleSheetOptionClicked() {
    const bool toFile = styleSheetOptions_->checkedId() >= 2;
    lblStyleSheetFile_->setEnabled(toFile);
    txtStyleSheetFile_->setEnabled(toFile);
}

void PdxPageDialog::cmdApply_Click() {
    mother_.lPdxPageMarginL = Twips(txtMarginLeft_, unit_);
    mother_.lPdxPageMarginT = Twips(txtMarginTop_, unit_);
    mother_.lPdxPageMarginR = Twips(txtMarginRight_, unit_);
    mother_.lPdxPageMarginB = Twips(txtMarginBottom_, unit_);
    mother_.lPdxPageWidth = Twips(txtWidth_, unit_);
    mother_.lPdxPageHeight = Twips(txtHeight_, unit_);
    mother_.lPdxStyleSheetOption = static_cast<int16_t>(std::max(0, styleSheetOptions_->checkedId()));
    mother_.sPdxStyleSheetFile = txtStyleSheetFile_->text().toStdString();
    mother_.bPdxPortrait = optPortrait_->isChecked();
    accept();
}

} // namespace slidemill
