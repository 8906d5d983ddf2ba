#include "ui/TaskEditorForm.h"
#include "ui/UiText.h"

#include "core/Translate.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace slidemill {
namespace {

// A fixed text of the editor, as the current language shows it.

// An editable box of the editor: no inline completion (it would type for the user and the
// model would see the completed text) and no items added by Enter (the recently-used lists
// decide what the list holds).
QComboBox* EditableBox(const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setCompleter(nullptr);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

// A list of codes: long entries do not widen the editor.
QComboBox* ListBox(const char* name, int minimumCharacters) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(minimumCharacters);
    return box;
}

QLabel* Header(const char* english) {
    auto* label = new QLabel(Tr(english));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// The "(i.e. ...)" example beside a field's caption.
QLabel* Hint(const char* english) {
    auto* label = new QLabel(Tr(english));
    label->setEnabled(false);
    return label;
}

QPushButton* Button(const char* name, const char* english) {
    auto* button = new QPushButton(Tr(english));
    button->setObjectName(name);
    return button;
}

QToolButton* LaunchButton(const char* name) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setIcon(
        QIcon::fromTheme("document-open", QApplication::style()->standardIcon(QStyle::SP_DialogOpenButton)));
    button->setToolTip(Tr("Open selected File in default application"));
    button->setAutoRaise(false);
    return button;
}

// Hidden widgets keep their place, so that showing and hiding them never moves the others.
void KeepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// The caption of a path field with its example beside it.
QWidget* CaptionRow(const char* caption, const char* hint) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(Tr(caption)));
    layout->addWidget(Hint(hint));
    layout->addStretch();
    return row;
}

// A path box with its "File..", "Folder.." and launch buttons.
QHBoxLayout* PathRow(QComboBox* box, QPushButton* file, QPushButton* folder, QToolButton* launch) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(box, 1);
    row->addWidget(file);
    if (folder)
        row->addWidget(folder);
    if (launch)
        row->addWidget(launch);
    return row;
}

QVBoxLayout* Column() {
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    return column;
}

} // namespace

void BuildTaskEditorForm(TaskEditorForm& w, QWidget* owner) {
    // The action choice.
    w.rbConvert = new QRadioButton(Tr("(&C)onvert Files"));
    w.rbConvert->setObjectName("rbActionToDo0");
    w.rbSpecial = new QRadioButton(Tr("(&S)pecial Processing on Files"));
    w.rbSpecial->setObjectName("rbActionToDo1");
    w.actions = new QButtonGroup(owner);
    w.actions->addButton(w.rbConvert, 0);
    w.actions->addButton(w.rbSpecial, 1);
    auto* actionRow = new QHBoxLayout;
    actionRow->addWidget(Header("  Select Action To Do"));
    actionRow->addSpacing(8);
    actionRow->addWidget(w.rbConvert);
    actionRow->addWidget(w.rbSpecial);
    actionRow->addStretch();

    // The conversion panel.
    w.cbOriginalFile = EditableBox("cbOriginalFile");
    w.cmdOriginalFile = Button("cmdOriginalFile", "   File..");
    w.cmdOriginalFolder = Button("cmdOriginalFolder", "    Folder..");
    w.cmdLaunchOriginal = LaunchButton("cmdLaunchOriginal");
    w.chkDoSubfolders = new QCheckBox(Tr("Do Subfolders"));
    w.chkDoSubfolders->setObjectName("chkDoSubfolders");
    w.lblOriginalType = new QLabel(Tr("Original File Format"));
    w.cbFileTypeOriginal = ListBox("cbFileTypeOriginal", 10);
    KeepPlaceWhenHidden(w.lblOriginalType);
    KeepPlaceWhenHidden(w.cbFileTypeOriginal);

    auto* originalColumn = Column();
    originalColumn->addWidget(Header("  Select Original File/Folder and Format to Convert"));
    originalColumn->addWidget(
        CaptionRow("Original File(s)", "(i.e. \"~/Docs/Bills.TXT\"  or \"~/Files/*.DOC\")"));
    originalColumn->addLayout(
        PathRow(w.cbOriginalFile, w.cmdOriginalFile, w.cmdOriginalFolder, w.cmdLaunchOriginal));
    auto* originalTypeRow = new QHBoxLayout;
    originalTypeRow->addWidget(w.chkDoSubfolders);
    originalTypeRow->addSpacing(8);
    originalTypeRow->addWidget(w.lblOriginalType);
    originalTypeRow->addWidget(w.cbFileTypeOriginal, 1);
    originalColumn->addLayout(originalTypeRow);

    auto* methodGroup = new QGroupBox(Tr("Conversion Method"));
    methodGroup->setObjectName("fraConversionMethod");
    w.methods = new QButtonGroup(owner);
    auto* methodRow = new QHBoxLayout(methodGroup);
    methodRow->setContentsMargins(6, 2, 6, 2);
    const char* methodCaptions[3] = {"Use MS Word", "Use 'Folioworks'", "Convert from PDF to ??? "};
    for (int i = 0; i < 3; ++i) {
        w.rbMethod[i] = new QRadioButton(Tr(methodCaptions[i]));
        w.rbMethod[i]->setObjectName(QString("rbConversionMethod%1").arg(i + 1));
        w.methods->addButton(w.rbMethod[i], i + 1);
        methodRow->addWidget(w.rbMethod[i]);
    }
    methodRow->addStretch();
    originalColumn->addWidget(methodGroup);

    w.cbTargetFile = EditableBox("cbTargetFile");
    w.cmdTargetFile = Button("cmdTargetFile", "   File..");
    w.cmdTargetFolder = Button("cmdTargetFolder", "    Folder..");
    w.cmdLaunchTarget = LaunchButton("cmdLaunchTarget");
    w.targetFilePanel = new QWidget;
    w.targetFilePanel->setObjectName("targetFilePanel");
    KeepPlaceWhenHidden(w.targetFilePanel);
    {
        auto* panel = Column();
        panel->addWidget(
            CaptionRow("Target File(s)", "(i.e. \"~/Converted/Resume.PDF\" or \"~/Converted/*.PDF\")"));
        panel->addLayout(PathRow(w.cbTargetFile, w.cmdTargetFile, w.cmdTargetFolder, w.cmdLaunchTarget));
        w.targetFilePanel->setLayout(panel);
    }
    w.chkSaveInOriginalFolder = new QCheckBox(Tr("Save to &Original folder"));
    w.chkSaveInOriginalFolder->setObjectName("chkSaveInOriginalFolder");
    w.cbFileTypeTarget = ListBox("cbFileTypeTarget", 10);
    w.cmdAdvancedPPTOptions = Button("cmdAdvancedPPTOptions", "Advanced Options");
    KeepPlaceWhenHidden(w.cmdAdvancedPPTOptions);

    auto* targetColumn = Column();
    targetColumn->addWidget(Header("  Select Target File/Folder and Format to Convert to"));
    targetColumn->addWidget(w.targetFilePanel);
    auto* targetTypeRow = new QHBoxLayout;
    targetTypeRow->addWidget(w.chkSaveInOriginalFolder);
    targetTypeRow->addSpacing(8);
    targetTypeRow->addWidget(new QLabel(Tr("Convert to File Format")));
    targetTypeRow->addWidget(w.cbFileTypeTarget, 1);
    targetColumn->addLayout(targetTypeRow);
    auto* advancedRow = new QHBoxLayout;
    advancedRow->addStretch();
    advancedRow->addWidget(w.cmdAdvancedPPTOptions);
    targetColumn->addLayout(advancedRow);
    targetColumn->addStretch();

    auto* conversionPanel = new QWidget;
    conversionPanel->setObjectName("frameConvert");
    {
        auto* layout = new QHBoxLayout(conversionPanel);
        w.conversionSets = layout;
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(16);
        originalColumn->addStretch();
        layout->addLayout(originalColumn, 1);
        layout->addLayout(targetColumn, 1);
    }

    // The special-processing panel.
    w.cbOriginalFileSpecialized = EditableBox("cbOriginalFileSpecialized");
    w.cmdOriginalFileSpecialized = Button("cmdOriginalFileSpecialized", "   File..");
    w.cmdOriginalFolderSpecialized = Button("cmdOriginalFolderSpecialized", "    Folder..");
    w.cmdLaunchOriginalSpecialized = LaunchButton("cmdLaunchOriginalSpecialized");
    w.chkDoSubfoldersSpecialized = new QCheckBox(Tr("Do Subfolders"));
    w.chkDoSubfoldersSpecialized->setObjectName("chkDoSubfoldersSpecialized");
    w.cbFileTypeOriginalSpecialized = ListBox("cbFileTypeOriginalSpecialized", 10);

    auto* processColumn = Column();
    processColumn->addWidget(Header("  Select File(s)/Folder(s) To Process"));
    processColumn->addWidget(
        CaptionRow("Original File(s)", "(i.e. \"~/Docs/Bills.TXT\"  or \"~/Files/*.DOC\")"));
    processColumn->addLayout(PathRow(w.cbOriginalFileSpecialized, w.cmdOriginalFileSpecialized,
                                     w.cmdOriginalFolderSpecialized, w.cmdLaunchOriginalSpecialized));
    auto* specialTypeRow = new QHBoxLayout;
    specialTypeRow->addWidget(w.chkDoSubfoldersSpecialized);
    specialTypeRow->addSpacing(8);
    specialTypeRow->addWidget(new QLabel(Tr("Original File Format")));
    specialTypeRow->addWidget(w.cbFileTypeOriginalSpecialized, 1);
    processColumn->addLayout(specialTypeRow);

    w.cbTargetFileSpecialized = EditableBox("cbTargetFileSpecialized");
    w.cmdTargetFileSpecialized = Button("cmdTargetFileSpecialized", "   File..");
    w.cmdTargetFolderSpecialized = Button("cmdTargetFolderSpecialized", "    Folder..");
    w.cmdLaunchTargetSpecialized = LaunchButton("cmdLaunchTargetSpecialized");
    w.targetFilePanelSpecialized = new QWidget;
    w.targetFilePanelSpecialized->setObjectName("targetFilePanelSpecialized");
    KeepPlaceWhenHidden(w.targetFilePanelSpecialized);
    {
        auto* panel = Column();
        panel->addWidget(
            CaptionRow("Target File(s)", "(i.e. \"~/Converted/Resume.PDF\" or \"~/Converted/*.PDF\")"));
        panel->addLayout(PathRow(w.cbTargetFileSpecialized, w.cmdTargetFileSpecialized,
                                 w.cmdTargetFolderSpecialized, w.cmdLaunchTargetSpecialized));
        w.targetFilePanelSpecialized->setLayout(panel);
    }
    w.chkSaveInOriginalFolderSpecialized = new QCheckBox(Tr("Save to original folder"));
    w.chkSaveInOriginalFolderSpecialized->setObjectName("chkSaveInOriginalFolderSpecialized");
    w.cbSpecialProcesses = ListBox("cbSpecialProcesses", 12);

    auto* processTargetColumn = Column();
    processTargetColumn->addWidget(Header("  Select Target File(s)"));
    processTargetColumn->addWidget(w.targetFilePanelSpecialized);
    auto* processRow = new QHBoxLayout;
    processRow->addWidget(w.chkSaveInOriginalFolderSpecialized);
    processRow->addSpacing(8);
    processRow->addWidget(new QLabel(Tr("Special Process:")));
    processRow->addWidget(w.cbSpecialProcesses, 1);
    processTargetColumn->addLayout(processRow);

    // Search and replace.
    w.cbFindString = EditableBox("cbFindString");
    w.cbReplacementString = EditableBox("cbReplacementString");
    w.cbCharacter1 = ListBox("cbCharacter1", 10);
    w.cbCharacter2 = ListBox("cbCharacter2", 10);
    w.chkCaseSensitive = new QCheckBox(Tr("Case Sensitive"));
    w.chkCaseSensitive->setObjectName("chkCaseSensitive");
    w.searchReplaceGroup = new QGroupBox(Tr("Search and Replace"));
    w.searchReplaceGroup->setObjectName("fraSearchReplace");
    {
        auto* grid = new QGridLayout(w.searchReplaceGroup);
        grid->setContentsMargins(6, 2, 6, 4);
        grid->setVerticalSpacing(3);
        grid->addWidget(new QLabel(Tr("Search String")), 0, 0);
        grid->addWidget(w.cbFindString, 0, 1);
        grid->addWidget(w.cbCharacter1, 0, 2);
        grid->addWidget(new QLabel(Tr("Replace with String")), 1, 0);
        grid->addWidget(w.cbReplacementString, 1, 1);
        grid->addWidget(w.cbCharacter2, 1, 2);
        grid->addWidget(w.chkCaseSensitive, 2, 1);
        grid->setColumnStretch(1, 1);
    }

    // Launching a program.
    w.cbCommandLine = EditableBox("cbCommandLine");
    w.cmdCommandLineFile = Button("cmdCommandLineFile", "   File..");
    w.cbCommandLineArguments = EditableBox("cbCommandLineArguments");
    w.cbCommandLineWindowState = ListBox("cbCommandLineWindowState", 9);
    w.cbCommandLineThreadPriority = ListBox("cbCommandLineThreadPriority", 14);
    w.txtWaitTime = new QSpinBox;
    w.txtWaitTime->setObjectName("txtWaitTime");
    w.txtWaitTime->setRange(-1, std::numeric_limits<int32_t>::max());
    w.txtWaitTime->setMinimumWidth(w.txtWaitTime->fontMetrics().horizontalAdvance(QString(8, '0')));
    w.launchGroup = new QGroupBox(Tr("  Select Application to run"));
    w.launchGroup->setObjectName("fraLaunch");
    {
        auto* grid = new QGridLayout(w.launchGroup);
        grid->setContentsMargins(6, 2, 6, 4);
        grid->setVerticalSpacing(3);
        grid->addWidget(new QLabel(Tr("Application Name")), 0, 0);
        auto* application = new QHBoxLayout;
        application->addWidget(w.cbCommandLine, 1);
        application->addWidget(w.cmdCommandLineFile);
        grid->addLayout(application, 0, 1);
        grid->addWidget(Hint("(i.e. \"/usr/bin/cp\")"), 0, 2);
        grid->addWidget(new QLabel(Tr("Command Line Arguments")), 1, 0);
        grid->addWidget(w.cbCommandLineArguments, 1, 1);
        grid->addWidget(Hint("(i.e. \"-r   /tmp/temp1/.     /tmp/temp2/\" )"), 1, 2);
        auto* settings = new QHBoxLayout;
        settings->addWidget(new QLabel(Tr("WindowState")));
        settings->addWidget(w.cbCommandLineWindowState);
        settings->addSpacing(12);
        settings->addWidget(new QLabel(Tr("Thread Priority")));
        settings->addWidget(w.cbCommandLineThreadPriority);
        settings->addStretch();
        grid->addLayout(settings, 2, 0, 1, 3);
        auto* wait = new QHBoxLayout;
        wait->addWidget(new QLabel(Tr("Time to wait for completion before doing next task")));
        wait->addWidget(w.txtWaitTime);
        wait->addWidget(new QLabel(Tr("(Seconds) Use -1 to wait forever")));
        wait->addStretch();
        grid->addLayout(wait, 3, 0, 1, 3);
        grid->setColumnStretch(1, 1);
    }

    auto* specialPanel = new QWidget;
    specialPanel->setObjectName("frameSpecial");
    {
        auto* layout = new QVBoxLayout(specialPanel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(4);
        auto* sets = new QHBoxLayout;
        w.specialSets = sets;
        sets->setSpacing(16);
        sets->addLayout(processColumn, 1);
        sets->addLayout(processTargetColumn, 1);
        layout->addLayout(sets);
        // The two groups share one place: the special process shows at most one of them, and
        // the place keeps the height of the taller so the editor's height never changes.
        auto* groups = new QWidget;
        // One above the other: hidden, the one not shown takes no room, and the pair never needs
        // the width of both.
        auto* groupRow = new QVBoxLayout(groups);
        groupRow->setContentsMargins(0, 0, 0, 0);
        groupRow->addWidget(w.searchReplaceGroup, 0, Qt::AlignTop);
        groupRow->addWidget(w.launchGroup, 0, Qt::AlignTop);
        groups->setMinimumHeight(
            std::max(w.searchReplaceGroup->sizeHint().height(), w.launchGroup->sizeHint().height()));
        layout->addWidget(groups);
        layout->addStretch();
    }

    w.frames = new QStackedWidget;
    w.frames->setObjectName("frameCF");
    w.frames->addWidget(conversionPanel);
    w.frames->addWidget(specialPanel);

    // The command buttons.
    w.cmdAdd = Button("cmdAdd", "&Add");
    w.cmdRemove = Button("cmdRemove", "&Delete");
    w.cmdUpdate = Button("cmdUpdate", "&Update");
    w.cmdPause = Button("cmdPause", "&Pause");
    auto* commands = new QVBoxLayout;
    commands->setSpacing(4);
    for (QPushButton* button : {w.cmdAdd, w.cmdRemove, w.cmdUpdate, w.cmdPause})
        commands->addWidget(button);
    commands->addStretch();

    auto* editor = new QVBoxLayout;
    editor->setSpacing(4);
    editor->addLayout(actionRow);
    editor->addWidget(w.frames);
    auto* top = new QHBoxLayout(owner);
    top->setContentsMargins(6, 4, 6, 4);
    top->setSpacing(10);
    top->addLayout(editor, 1);
    top->addLayout(commands);
    owner->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

} // namespace slidemill
