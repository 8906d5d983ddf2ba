#include "ui/FontDialog.h"
#include "ui/UiText.h"

#include "core/FormatValues.h"
#include "core/Translate.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace slidemill {
namespace {


// In the order of the stored underline styles 1 to 5.
const char* const kUnderlineStyles[] = {"Single", "Double", "Dotted", "Dashed", "Wave"};
// In the order of BaseLinePosition.
const char* const kBaseLinePositions[] = {"Normal", "Superscript", "Subscript"};
// A new highlight starts yellow, the usual marker colour.
constexpr int32_t kDefaultHighlight = 0x00FFFF;

QCheckBox* Box(const char* name, const char* text, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(Tr(text), parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QLineEdit* ColorBox(const char* name, int32_t bgr, QWidget* parent) {
    auto* box = new QLineEdit(QString::fromStdString(ColorText(bgr)), parent);
    box->setObjectName(name);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("#MMMMMM")) + 16);
    return box;
}

// The button shows the colour its box holds, or nothing while the text is no colour.
void ShowColor(QPushButton* button, const QLineEdit* box) {
    const auto bgr = ColorFromText(box->text().toStdString());
    QPixmap swatch(16, 16);
    if (bgr)
        swatch.fill(QColor(*bgr & 0xFF, (*bgr >> 8) & 0xFF, (*bgr >> 16) & 0xFF));
    else
        swatch.fill(Qt::transparent);
    button->setIcon(QIcon(swatch));
}

} // namespace

FontDialog::FontDialog(PdfOptions& values, QWidget* parent) : QDialog(parent), values_(values) {
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(Tr("Font"));

    cboFontName_ = new QComboBox(this);
    cboFontName_->setObjectName(QStringLiteral("cboFontName"));
    cboFontName_->setEditable(true);
    cboFontName_->setInsertPolicy(QComboBox::NoInsert);
    const QStringList families = QFontDatabase::families();
    cboFontName_->addItems(families);
    // A stored family that is not installed stays as it is: the office substitutes it.
    cboFontName_->setCurrentText(QString::fromStdString(values.sPdxFontName));
    cboFontName_->setMinimumContentsLength(24);

    spnFontSize_ = new QSpinBox(this);
    spnFontSize_->setObjectName(QStringLiteral("spnFontSize"));
    spnFontSize_->setRange(1, 999);
    spnFontSize_->setSuffix(QStringLiteral(" pt"));
    spnFontSize_->setValue(std::clamp(values.lPdxFontSize, 1, 999));

    auto* top = new QFormLayout;
    auto* nameLabel = new QLabel(Tr("&Font:"), this);
    nameLabel->setBuddy(cboFontName_);
    auto* sizeLabel = new QLabel(Tr("&Size:"), this);
    sizeLabel->setBuddy(spnFontSize_);
    top->addRow(nameLabel, cboFontName_);
    top->addRow(sizeLabel, spnFontSize_);

    auto* style = new QGroupBox(Tr("Style"), this);
    auto* styleLayout = new QGridLayout(style);
    chkBold_ = Box("chkBold", "&Bold", values.lPdxFontBold != 0, style);
    chkItalic_ = Box("chkItalic", "&Italic", values.lPdxFontItalic != 0, style);
    chkStrikethru_ = Box("chkStrikethru", "S&trikethrough", values.lPdxFontStrikethru != 0, style);
    chkUnderline_ = Box("chkUnderline", "&Underline", values.lPdxFontUnderline != 0, style);
    cboUnderlineStyle_ = new QComboBox(style);
    cboUnderlineStyle_->setObjectName(QStringLiteral("cboUnderlineStyle"));
    for (const char* text : kUnderlineStyles)
        cboUnderlineStyle_->addItem(Tr(text));
    const int underlineStyle = values.lPdxFontUnderlineStyle;
    cboUnderlineStyle_->setCurrentIndex(underlineStyle >= 1 && underlineStyle <= 5 ? underlineStyle - 1 : 0);
    styleLayout->addWidget(chkBold_, 0, 0);
    styleLayout->addWidget(chkItalic_, 0, 1);
    styleLayout->addWidget(chkStrikethru_, 0, 2);
    styleLayout->addWidget(chkUnderline_, 1, 0);
    styleLayout->addWidget(cboUnderlineStyle_, 1, 1, 1, 2);

    auto* position = new QGroupBox(Tr("Position"), this);
    auto* positionLayout = new QHBoxLayout(position);
    const BaseLine baseLine = BaseLineFromTwips(values.lPdxBaseLine);
    cboBaseLine_ = new QComboBox(position);
    cboBaseLine_->setObjectName(QStringLiteral("cboBaseLine"));
    for (const char* text : kBaseLinePositions)
        cboBaseLine_->addItem(Tr(text));
    cboBaseLine_->setCurrentIndex(static_cast<int>(baseLine.position));
    spnBaseLineOffset_ = new QDoubleSpinBox(position);
    spnBaseLineOffset_->setObjectName(QStringLiteral("spnBaseLineOffset"));
    spnBaseLineOffset_->setRange(0.0, 999.0);
    spnBaseLineOffset_->setDecimals(2);
    spnBaseLineOffset_->setSingleStep(0.5);
    spnBaseLineOffset_->setSuffix(QStringLiteral(" pt"));
    spnBaseLineOffset_->setValue(baseLine.points);
    positionLayout->addWidget(cboBaseLine_);
    positionLayout->addWidget(new QLabel(Tr("by"), position));
    positionLayout->addWidget(spnBaseLineOffset_);
    positionLayout->addStretch();

    auto* colors = new QGroupBox(Tr("Colours"), this);
    auto* colorLayout = new QGridLayout(colors);
    txtForeColor_ = ColorBox("txtForeColor", values.lPdxForeColor, colors);
    cmdForeColor_ = new QPushButton(QStringLiteral("..."), colors);
    cmdForeColor_->setObjectName(QStringLiteral("cmdForeColor"));
    const bool highlighted =
        values.lPdxTextBkColor > 0 && (static_cast<uint32_t>(values.lPdxTextBkColor) & 0xFF000000u) == 0;
    chkBackColor_ = Box("chkBackColor", "&Highlight:", highlighted, colors);
    txtBackColor_ =
        ColorBox("txtBackColor", highlighted ? values.lPdxTextBkColor : kDefaultHighlight, colors);
    cmdBackColor_ = new QPushButton(QStringLiteral("..."), colors);
    cmdBackColor_->setObjectName(QStringLiteral("cmdBackColor"));
    auto* foreLabel = new QLabel(Tr("&Text colour:"), colors);
    foreLabel->setBuddy(txtForeColor_);
    colorLayout->addWidget(foreLabel, 0, 0);
    colorLayout->addWidget(txtForeColor_, 0, 1);
    colorLayout->addWidget(cmdForeColor_, 0, 2);
    colorLayout->addWidget(chkBackColor_, 1, 0);
    colorLayout->addWidget(txtBackColor_, 1, 1);
    colorLayout->addWidget(cmdBackColor_, 1, 2);
    colorLayout->setColumnStretch(3, 1);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(Tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(Tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(style);
    layout->addWidget(position);
    layout->addWidget(colors);
    layout->addStretch();
    layout->addWidget(buttons);

    UnderlineClicked();
    BackColorClicked();
    spnBaseLineOffset_->setEnabled(baseLine.position != BaseLinePosition::Normal);
    ShowColor(cmdForeColor_, txtForeColor_);
    ShowColor(cmdBackColor_, txtBackColor_);

    // OK waits for colour boxes that hold colours: a mistyped colour is not silently dropped.
    const auto checkColors = [this, ok] {
        ShowColor(cmdForeColor_, txtForeColor_);
        ShowColor(cmdBackColor_, txtBackColor_);
        const bool foreOk = ColorFromText(txtForeColor_->text().toStdString()).has_value();
        const bool backOk =
            !chkBackColor_->isChecked() || ColorFromText(txtBackColor_->text().toStdString()).has_value();
        ok->setEnabled(foreOk && backOk);
    };
    connect(txtForeColor_, &QLineEdit::textChanged, this, checkColors);
    connect(txtBackColor_, &QLineEdit::textChanged, this, checkColors);
    connect(chkBackColor_, &QCheckBox::toggled, this, [this, checkColors] {
        BackColorClicked();
        checkColors();
    });
    connect(chkUnderline_, &QCheckBox::toggled, this, [this] { UnderlineClicked(); });
    connect(cboBaseLine_, &QComboBox::currentIndexChanged, this, [this] { BaseLineChanged(); });
    connect(cmdForeColor_, &QPushButton::clicked, this, [this] { PickColor(txtForeColor_); });
    connect(cmdBackColor_, &QPushButton::clicked, this, [this] { PickColor(txtBackColor_); });
    connect(ok, &QPushButton::clicked, this, [this] { Store(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FontDialog::BaseLineChanged() {
    const bool moved = cboBaseLine_->currentIndex() != static_cast<int>(BaseLinePosition::Normal);
    spnBaseLineOffset_->setEnabled(moved);
    // A third of the font size is the usual super- and subscript offset.
    if (moved && spnBaseLineOffset_->value() == 0.0)
        spnBaseLineOffset_->setValue(spnFontSize_->value() / 3.0);
}

void FontDialog::UnderlineClicked() {
    cboUnderlineStyle_->setEnabled(chkUnderline_->isChecked());
}

void FontDialog::BackColorClicked() {
    txtBackColor_->setEnabled(chkBackColor_->isChecked());
    cmdBackColor_->setEnabled(chkBackColor_->isChecked());
}

void FontDialog::PickColor(QLineEdit* box) {
    const auto bgr = ColorFromText(box->text().toStdString()).value_or(0);
    const QColor initial(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(initial, this, Tr("Colour"));
    if (chosen.isValid())
        box->setText(
            QString::fromStdString(ColorText(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16))));
}

void FontDialog::Store() {
    values_.sPdxFontName = cboFontName_->currentText().trimmed().toStdString();
    values_.lPdxFontSize = spnFontSize_->value();
    values_.lPdxFontBold = chkBold_->isChecked() ? 1 : 0;
    values_.lPdxFontItalic = chkItalic_->isChecked() ? 1 : 0;
    values_.lPdxFontStrikethru = chkStrikethru_->isChecked() ? 1 : 0;
    values_.lPdxFontUnderline = chkUnderline_->isChecked() ? 1 : 0;
    values_.lPdxFontUnderlineStyle = cboUnderlineStyle_->currentIndex() + 1;
    values_.lPdxBaseLine = TwipsFromBaseLine(
        {static_cast<BaseLinePosition>(cboBaseLine_->currentIndex()), spnBaseLineOffset_->value()});
    if (const auto fore = ColorFromText(txtForeColor_->text().toStdString()))
        values_.lPdxForeColor = *fore;
    // No highlight is stored as 0, so a black highlight cannot be had: it would hide black text.
    values_.lPdxTextBkColor =
        chkBackColor_->isChecked() ? ColorFromText(txtBackColor_->text().toStdString()).value_or(0) : 0;
    accept();
}

} // namespace slidemill
