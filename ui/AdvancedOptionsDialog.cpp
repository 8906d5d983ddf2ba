#include "ui/AdvancedOptionsDialog.h"
#include "ui/UiText.h"

#include "core/PickerRules.h"
#include "core/Translate.h"
#include "run/MainWindowModel.h"
#include "ui/PdxAdvancedOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>
#include <limits>

namespace slidemill {

namespace {



QSpinBox* SlideBox(const char* name) {
    auto* box = Named(new QSpinBox, name);
    box->setRange(0, std::numeric_limits<int32_t>::max());
    // Room for a few digits, not for the largest number the box takes.
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 40);
    return box;
}

QLabel* WrappedLabel(const QString& text, const char* name) {
    auto* label = Named(new QLabel(text), name);
    label->setWordWrap(true);
    return label;
}

bool FolderExists(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec);
}

} // namespace

void AddTabCycling(QDialog& dialog, QTabWidget& tabs) {
    const auto step = [&tabs](int by) {
        const int count = tabs.count();
        if (count > 0)
            tabs.setCurrentIndex((tabs.currentIndex() + by + count) % count);
    };
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), &dialog);
    QObject::connect(next, &QShortcut::activated, &dialog, [step] { step(+1); });
    for (const auto& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}) {
        auto* previous = new QShortcut(keys, &dialog);
        QObject::connect(previous, &QShortcut::activated, &dialog, [step] { step(-1); });
    }
}

struct AdvancedOptionsDialog::Widgets {
    QTabWidget* tabs = nullptr;
    // "What To Convert"
    QRadioButton* optSlideSelection[2] = {};
    QGroupBox* fraSlideRange = nullptr;
    QSpinBox* txtFromSlide = nullptr;
    QSpinBox* txtToSlide = nullptr;
    // "How To Convert"
    QCheckBox* chkIncludeNotesPage = nullptr;
    QCheckBox* chkIncludeNotesOnly = nullptr;
    QCheckBox* chkShowSlideAndShape = nullptr;
    QRadioButton* optOutputFiles[2] = {};
    // "PDF Options"
    QCheckBox* chkPDFTextOnly = nullptr;
    QPushButton* cmdPdxAdvancedOptions = nullptr;
    QLabel* lblPdfNotice = nullptr;
    // "Move/Delete Input"
    QCheckBox* chkMoveOriginalFile = nullptr;
    QLineEdit* txtMoveFileToFolder = nullptr;
    QToolButton* cmdBrowseMoveFolder = nullptr;
    QCheckBox* chkDeleteOriginalFile = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;
};

AdvancedOptionsDialog::AdvancedOptionsDialog(MainWindowModel& frmMother, bool bSupportsSingleFileOutput,
                                             QWidget* parent)
    : QDialog(parent), w_(std::make_unique<Widgets>()), frmMother_(frmMother) {
    Widgets& w = *w_;
    setObjectName(QStringLiteral("frmAdvancedOptions"));
    setWindowTitle(Tr("Advanced Options"));

    w.tabs = Named(new QTabWidget, "tabAdvancedOptions");
    // Every tab in sight: the dialog is as wide as its tabs need.
    w.tabs->tabBar()->setUsesScrollButtons(false);

    // What To Convert.
    auto* whatPage = new QWidget;
    auto* what = new QVBoxLayout(whatPage);
    w.optSlideSelection[0] = Named(new QRadioButton(Tr("SPECIFY which slides to convert")), "optSlideSelection0");
    w.optSlideSelection[1] = Named(new QRadioButton(Tr("Convert ALL slides")), "optSlideSelection1");
    w.fraSlideRange = Named(new QGroupBox, "fraSlideRange");
    w.txtFromSlide = SlideBox("txtFromSlide");
    w.txtToSlide = SlideBox("txtToSlide");
    auto* range = new QFormLayout(w.fraSlideRange);
    range->addRow(Tr("Convert FROM slide:"), w.txtFromSlide);
    range->addRow(Tr("TO slide:"), w.txtToSlide);
    // The range belongs to SPECIFY; while it is hidden the other choice keeps its place.
    QSizePolicy rangePolicy = w.fraSlideRange->sizePolicy();
    rangePolicy.setRetainSizeWhenHidden(true);
    w.fraSlideRange->setSizePolicy(rangePolicy);
    what->addWidget(w.optSlideSelection[0]);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addSpacing(20);
    rangeRow->addWidget(w.fraSlideRange);
    rangeRow->addStretch();
    what->addLayout(rangeRow);
    what->addWidget(w.optSlideSelection[1]);
    what->addStretch();
    w.tabs->addTab(whatPage, Tr("What To Convert"));

    // How To Convert.
    auto* howPage = new QWidget;
    auto* how = new QVBoxLayout(howPage);
    auto* additional = Named(new QGroupBox(Tr("Additional Options")), "fraAdditionalOptions");
    auto* additionalLayout = new QVBoxLayout(additional);
    w.chkIncludeNotesPage = Named(new QCheckBox(Tr("Include &NOTES")), "chkIncludeNotesPage");
    w.chkIncludeNotesOnly = Named(new QCheckBox(Tr("ONLY convert Notes")), "chkIncludeNotesOnly");
    w.chkShowSlideAndShape = Named(new QCheckBox(Tr("Add Slide and Shape Info")), "chkShowSlideAndShape");
    additionalLayout->addWidget(w.chkIncludeNotesPage);
    auto* notesOnlyRow = new QHBoxLayout;
    notesOnlyRow->addSpacing(20);
    notesOnlyRow->addWidget(w.chkIncludeNotesOnly);
    additionalLayout->addLayout(notesOnlyRow);
    additionalLayout->addWidget(w.chkShowSlideAndShape);
    additionalLayout->addWidget(WrappedLabel(
        Tr("NOTE: These options are only available for Target file types of Text and MS Word Exports"),
        "lblAdditionalOptionsNote"));
    how->addWidget(additional);
    w.optOutputFiles[0] = Named(new QRadioButton(Tr("Create a single output file")), "optOutputFiles0");
    w.optOutputFiles[1] = Named(new QRadioButton(Tr("Create a new file for each slide")), "optOutputFiles1");
    how->addWidget(w.optOutputFiles[0]);
    how->addWidget(w.optOutputFiles[1]);
    how->addStretch();
    w.tabs->addTab(howPage, Tr("How To Convert"));

    // PDF Options.
    auto* pdfPage = new QWidget;
    auto* pdf = new QVBoxLayout(pdfPage);
    w.chkPDFTextOnly = Named(new QCheckBox(Tr("Text only")), "chkPDFTextOnly");
    w.cmdPdxAdvancedOptions = Named(new QPushButton(Tr("Advanced PDF Options")), "cmdPdxAdvancedOptions");
    w.lblPdfNotice = WrappedLabel(QString(), "lblPdfNotice");
    w.lblPdfNotice->hide();
    pdf->addWidget(w.chkPDFTextOnly);
    auto* pdxRow = new QHBoxLayout;
    pdxRow->addWidget(w.cmdPdxAdvancedOptions);
    pdxRow->addStretch();
    pdf->addLayout(pdxRow);
    pdf->addWidget(w.lblPdfNotice);
    pdf->addStretch();
    w.tabs->addTab(pdfPage, Tr("PDF Options"));

    // Move/Delete Input.
    auto* movePage = new QWidget;
    auto* move = new QVBoxLayout(movePage);
    w.chkMoveOriginalFile =
        Named(new QCheckBox(Tr("Move INPUT files to specified folder after processing")), "chkMoveOriginalFile");
    w.txtMoveFileToFolder = Named(new QLineEdit, "txtMoveFileToFolder");
    w.txtMoveFileToFolder->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    w.cmdBrowseMoveFolder = Named(new QToolButton, "cmdBrowseMoveFolder");
    w.cmdBrowseMoveFolder->setText(QStringLiteral("..."));
    w.chkDeleteOriginalFile =
        Named(new QCheckBox(Tr("Delete INPUT files after processing")), "chkDeleteOriginalFile");
    move->addWidget(w.chkMoveOriginalFile);
    auto* folderRow = new QHBoxLayout;
    folderRow->addSpacing(20);
    folderRow->addWidget(w.txtMoveFileToFolder, 1);
    folderRow->addWidget(w.cmdBrowseMoveFolder);
    move->addLayout(folderRow);
    move->addSpacing(12);
    move->addWidget(w.chkDeleteOriginalFile);
    auto* warning = WrappedLabel(Tr("Please be VERY careful when enabling this option. Back up critical data "
                                    "first.  No deletion will occur if the Input and Output are exactly the "
                                    "same file."),
                                 "lblDeleteWarning");
    move->addWidget(warning);
    move->addStretch();
    w.tabs->addTab(movePage, Tr("Move/Delete Input"));

    w.cmdApply = Named(new QPushButton(Tr("&Apply")), "cmdApply");
    w.cmdCancel = Named(new QPushButton(Tr("&Cancel")), "cmdCancel");
    w.cmdApply->setDefault(true);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(w.cmdApply, QDialogButtonBox::ActionRole);
    buttons->addButton(w.cmdCancel, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(w.tabs, 1);
    layout->addWidget(buttons);

    connect(w.optSlideSelection[0], &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
    connect(w.chkIncludeNotesPage, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
    // Moving and deleting the same input cannot both happen: the last one checked wins.
    connect(w.chkDeleteOriginalFile, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            w_->chkMoveOriginalFile->setChecked(false);
        UpdateEnabling();
    });
    connect(w.chkMoveOriginalFile, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            w_->chkDeleteOriginalFile->setChecked(false);
        UpdateEnabling();
    });
    connect(w.cmdBrowseMoveFolder, &QToolButton::clicked, this, [this] {
        Prompt& prompt = frmMother_.Prompts();
        const std::string chosen = prompt.PickFolder(
            Translate("Browse For Folder"), FolderPickerStart(w_->txtMoveFileToFolder->text().toStdString()));
        const std::string folder = FolderPickResult(chosen, std::string());
        if (!folder.empty())
            w_->txtMoveFileToFolder->setText(QString::fromStdString(folder));
    });
    connect(w.cmdPdxAdvancedOptions, &QPushButton::clicked, this, [this] { cmdPdxAdvancedOptions_Click(); });
    connect(w.tabs, &QTabWidget::currentChanged, this, [this](int index) { TabSelected(index); });
    connect(w.cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(w.cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    AddTabCycling(*this, *w.tabs);

    Load(frmMother_.AdvancedOptions());
    if (!bSupportsSingleFileOutput) {
        w.optOutputFiles[0]->hide();
        w.optOutputFiles[1]->setChecked(true);
    }
    w.tabs->setCurrentIndex(0);
    UpdateEnabling();
}

AdvancedOptionsDialog::~AdvancedOptionsDialog() = default;

void AdvancedOptionsDialog::Load(const AdvancedOptionsValues& v) {
    Widgets& w = *w_;
    w.optSlideSelection[v.bConvertAllSlides ? 1 : 0]->setChecked(true);
    w.txtFromSlide->setValue(v.lFromSlide);
    w.txtToSlide->setValue(v.lToSlide);
    w.chkIncludeNotesPage->setChecked(v.bIncludeNotesPage);
    w.chkIncludeNotesOnly->setChecked(v.bIncludeNotesOnly);
    w.chkShowSlideAndShape->setChecked(v.bShowSlideAndShape);
    w.optOutputFiles[v.bCreateFileForEachSlide ? 1 : 0]->setChecked(true);
    w.chkPDFTextOnly->setChecked(v.bPDFTextOnly);
    w.txtMoveFileToFolder->setText(QString::fromStdString(v.sMoveFileToFolder));
    // A settings file holding both keeps the move: it is the one that loses nothing.
    w.chkDeleteOriginalFile->setChecked(v.bDeleteOriginalFileAfterProcessing);
    w.chkMoveOriginalFile->setChecked(v.bMoveOriginalFileAfterProcessing);
}

AdvancedOptionsValues AdvancedOptionsDialog::Shown() const {
    const Widgets& w = *w_;
    AdvancedOptionsValues v;
    v.bConvertAllSlides = w.optSlideSelection[1]->isChecked();
    v.lFromSlide = w.txtFromSlide->value();
    v.lToSlide = w.txtToSlide->value();
    v.bCreateFileForEachSlide = w.optOutputFiles[1]->isChecked();
    v.bIncludeNotesPage = w.chkIncludeNotesPage->isChecked();
    v.bIncludeNotesOnly = w.chkIncludeNotesOnly->isChecked();
    v.bShowSlideAndShape = w.chkShowSlideAndShape->isChecked();
    v.bPDFTextOnly = w.chkPDFTextOnly->isChecked();
    v.bMoveOriginalFileAfterProcessing = w.chkMoveOriginalFile->isChecked();
    v.sMoveFileToFolder = w.txtMoveFileToFolder->text().toStdString();
    v.bDeleteOriginalFileAfterProcessing = w.chkDeleteOriginalFile->isChecked();
    return v;
}

void AdvancedOptionsDialog::UpdateEnabling() {
    Widgets& w = *w_;
    w.fraSlideRange->setVisible(w.optSlideSelection[0]->isChecked());
    w.chkIncludeNotesOnly->setEnabled(w.chkIncludeNotesPage->isChecked());
    const bool move = w.chkMoveOriginalFile->isChecked();
    w.txtMoveFileToFolder->setEnabled(move);
    w.cmdBrowseMoveFolder->setEnabled(move);
}

void AdvancedOptionsDialog::TabSelected(int index) {
    if (w_->tabs->widget(index) != w_->chkPDFTextOnly->parentWidget())
        return;
    const std::string notice = frmMother_.AdvancedPdfNotice();
    w_->lblPdfNotice->setText(QString::fromStdString(notice));
    w_->lblPdfNotice->setVisible(!notice.empty());
}

void AdvancedOptionsDialog::cmdApply_Click() {
    Widgets& w = *w_;
    const AdvancedApplyResult result = ApplyAdvancedOptions(Shown(), FolderExists);
    // A blank folder is no destination: the box is cleared and the move dropped without a word.
    if (result.values.sMoveFileToFolder.empty()) {
        w.txtMoveFileToFolder->clear();
        w.chkMoveOriginalFile->setChecked(false);
    }
    if (result.outcome == AdvancedApplyOutcome::FolderMissing) {
        frmMother_.Prompts().Ask(result.message, Translate("Advanced Options"), PromptButtons::OK,
                                 PromptIcon::Exclamation);
        w.tabs->setCurrentWidget(w.chkMoveOriginalFile->parentWidget());
        w.txtMoveFileToFolder->selectAll();
        w.txtMoveFileToFolder->setFocus();
        return;
    }
    frmMother_.StoreAdvancedOptions(result.values);
    bCancelled_ = false;
    accept();
}

void AdvancedOptionsDialog::cmdCancel_Click() {
    bCancelled_ = true;
    reject();
}

void AdvancedOptionsDialog::cmdPdxAdvancedOptions_Click() {
    PdxAdvancedOptionsDialog dialog(frmMother_.Settings().pdx, frmMother_.Prompts(), this);
    dialog.exec();
    w_->cmdPdxAdvancedOptions->setFocus();
}

} // namespace slidemill
