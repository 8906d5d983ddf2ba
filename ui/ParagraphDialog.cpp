#include "ui/ParagraphDialog.h"
#include "ui/UiText.h"

#include "core/FormatValues.h"
#include "core/PageSetup.h"
#include "core/Translate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace slidemill {
namespace {


// The alignment list in the order of the stored values (0 left, 1 right, 2 centre, 3 justified).
const char* const kAlignments[] = {"Left", "Right", "Centered", "Justified"};
// In the order of LineSpacingType.
const char* const kLineSpacingTypes[] = {"As in the document", "Proportional", "Exactly"};

QLineEdit* LengthBox(const char* name, int32_t twips, int unit, QWidget* parent) {
    auto* box = new QLineEdit(QString::fromStdString(TwipsToText(twips, unit)), parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000.00")) + 16);
    return box;
}

QWidget* WithUnit(QWidget* box, const QString& unit, QWidget* parent) {
    auto* row = new QWidget(parent);
    // The row's label mnemonic reaches the box.
    row->setFocusProxy(box);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(new QLabel(unit, row));
    layout->addStretch();
    return row;
}

QCheckBox* Box(const char* name, const char* text, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(Tr(text), parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

} // namespace

ParagraphDialog::ParagraphDialog(PdfOptions& values, QWidget* parent)
    : QDialog(parent), values_(values), unit_(values.glnMeasurement) {
    setObjectName(QStringLiteral("ParagraphDialog"));
    setWindowTitle(Tr("Paragraph"));
    const QString unit = Tr(UnitLabel(unit_));

    cboAlignment_ = new QComboBox(this);
    cboAlignment_->setObjectName(QStringLiteral("cboAlignment"));
    for (const char* text : kAlignments)
        cboAlignment_->addItem(Tr(text));
    cboAlignment_->setCurrentIndex(
        values.lPdxAlignment >= 0 && values.lPdxAlignment < 4 ? values.lPdxAlignment : 0);
    auto* top = new QFormLayout;
    auto* alignmentLabel = new QLabel(Tr("&Alignment:"), this);
    alignmentLabel->setBuddy(cboAlignment_);
    top->addRow(alignmentLabel, cboAlignment_);

    auto* indents = new QGroupBox(Tr("Indents"), this);
    auto* indentForm = new QFormLayout(indents);
    txtIndentLeft_ = LengthBox("txtIndentLeft", values.lPdxIndentL, unit_, indents);
    txtIndentRight_ = LengthBox("txtIndentRight", values.lPdxIndentR, unit_, indents);
    txtIndentFirstLine_ = LengthBox("txtIndentFirstLine", values.lPdxIndentFL, unit_, indents);
    txtIndentFirstLine_->setToolTip(Tr("A negative value hangs the first line out to the left."));
    indentForm->addRow(Tr("&Left:"), WithUnit(txtIndentLeft_, unit, indents));
    indentForm->addRow(Tr("&Right:"), WithUnit(txtIndentRight_, unit, indents));
    indentForm->addRow(Tr("&First line:"), WithUnit(txtIndentFirstLine_, unit, indents));

    auto* spacing = new QGroupBox(Tr("Spacing"), this);
    auto* spacingForm = new QFormLayout(spacing);
    txtSpaceBefore_ = LengthBox("txtSpaceBefore", values.lPdxIndentT, unit_, spacing);
    txtSpaceAfter_ = LengthBox("txtSpaceAfter", values.lPdxIndentB, unit_, spacing);
    cboLineSpacing_ = new QComboBox(spacing);
    cboLineSpacing_->setObjectName(QStringLiteral("cboLineSpacing"));
    for (const char* text : kLineSpacingTypes)
        cboLineSpacing_->addItem(Tr(text));
    spnLineSpacingPercent_ = new QSpinBox(spacing);
    spnLineSpacingPercent_->setObjectName(QStringLiteral("spnLineSpacingPercent"));
    spnLineSpacingPercent_->setRange(1, 1000);
    spnLineSpacingPercent_->setSuffix(QStringLiteral(" %"));
    spnLineSpacingPercent_->setValue(values.lPdxLineSpacing > 0 ? values.lPdxLineSpacing : 100);
    txtLineSpacingExact_ =
        LengthBox("txtLineSpacingExact", std::max(0, values.lPdxLineSpacingT), unit_, spacing);
    spacingForm->addRow(Tr("&Before:"), WithUnit(txtSpaceBefore_, unit, spacing));
    spacingForm->addRow(Tr("A&fter:"), WithUnit(txtSpaceAfter_, unit, spacing));
    spacingForm->addRow(Tr("Line &spacing:"), cboLineSpacing_);
    spacingForm->addRow(Tr("Proportional:"), WithUnit(spnLineSpacingPercent_, QString(), spacing));
    spacingForm->addRow(Tr("Exactly:"), WithUnit(txtLineSpacingExact_, unit, spacing));
    cboLineSpacing_->setCurrentIndex(
        static_cast<int>(LineSpacingTypeOf(values.lPdxLineSpacing, values.lPdxLineSpacingT)));

    auto* frame = new QGroupBox(Tr("Frame"), this);
    auto* frameLayout = new QGridLayout(frame);
    const FrameChoice sides = FrameChoiceFromStyle(values.lPdxFrameStyle);
    chkFrameLeft_ = Box("chkFrameLeft", "Left", sides.left, frame);
    chkFrameRight_ = Box("chkFrameRight", "Right", sides.right, frame);
    chkFrameTop_ = Box("chkFrameTop", "Top", sides.top, frame);
    chkFrameBottom_ = Box("chkFrameBottom", "Bottom", sides.bottom, frame);
    chkFrameDouble_ = Box("chkFrameDouble", "Double line", sides.doubleLine, frame);
    frameLayout->addWidget(chkFrameLeft_, 0, 0);
    frameLayout->addWidget(chkFrameRight_, 0, 1);
    frameLayout->addWidget(chkFrameTop_, 0, 2);
    frameLayout->addWidget(chkFrameBottom_, 0, 3);
    frameLayout->addWidget(chkFrameDouble_, 1, 0, 1, 4);
    txtFrameLineWidth_ = LengthBox("txtFrameLineWidth", values.lPdxFrameLineWidth, unit_, frame);
    txtFrameLineWidth_->setToolTip(Tr("0 draws the thinnest line."));
    txtFrameDistance_ = LengthBox("txtFrameDistance", values.lPdxFrameDistance, unit_, frame);
    auto* frameForm = new QFormLayout;
    frameForm->addRow(Tr("Line &width:"), WithUnit(txtFrameLineWidth_, unit, frame));
    frameForm->addRow(Tr("&Distance to text:"), WithUnit(txtFrameDistance_, unit, frame));
    frameLayout->addLayout(frameForm, 2, 0, 1, 4);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(Tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(Tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(indents);
    left->addWidget(frame);
    left->addStretch();
    columns->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(spacing);
    right->addStretch();
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns);
    layout->addWidget(buttons);

    LineSpacingTypeChanged();
    connect(cboLineSpacing_, &QComboBox::currentIndexChanged, this, [this] { LineSpacingTypeChanged(); });
    connect(ok, &QPushButton::clicked, this, [this] { Store(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ParagraphDialog::LineSpacingTypeChanged() {
    const auto type = static_cast<LineSpacingType>(cboLineSpacing_->currentIndex());
    spnLineSpacingPercent_->setEnabled(type == LineSpacingType::Proportional);
    txtLineSpacingExact_->setEnabled(type == LineSpacingType::Exact);
}

void ParagraphDialog::Store() {
    const auto twips = [this](const QLineEdit* box) { return TextToTwips(box->text().toStdString(), unit_); };
    values_.lPdxAlignment = std::max(0, cboAlignment_->currentIndex());
    values_.lPdxIndentL = twips(txtIndentLeft_);
    values_.lPdxIndentR = twips(txtIndentRight_);
    values_.lPdxIndentFL = twips(txtIndentFirstLine_);
    // Space above and below, the frame's width and its distance cannot be negative.
    values_.lPdxIndentT = std::max(0, twips(txtSpaceBefore_));
    values_.lPdxIndentB = std::max(0, twips(txtSpaceAfter_));
    switch (static_cast<LineSpacingType>(cboLineSpacing_->currentIndex())) {
    case LineSpacingType::Proportional:
        values_.lPdxLineSpacing = spnLineSpacingPercent_->value();
        values_.lPdxLineSpacingT = 0;
        break;
    case LineSpacingType::Exact:
        // Only the exact value is kept, so that an exact 0 reads back as "as in the document"
        // instead of bringing an old percentage back to life.
        values_.lPdxLineSpacing = 0;
        values_.lPdxLineSpacingT = std::max(0, twips(txtLineSpacingExact_));
        break;
    default:
        values_.lPdxLineSpacing = 0;
        values_.lPdxLineSpacingT = 0;
        break;
    }
    values_.lPdxFrameStyle = FrameStyleFromChoice({chkFrameLeft_->isChecked(), chkFrameRight_->isChecked(),
                                                   chkFrameTop_->isChecked(), chkFrameBottom_->isChecked(),
                                                   chkFrameDouble_->isChecked()});
    values_.lPdxFrameLineWidth = std::max(0, twips(txtFrameLineWidth_));
    values_.lPdxFrameDistance = std::max(0, twips(txtFrameDistance_));
    accept();
}

} // namespace slidemill
