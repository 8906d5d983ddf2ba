#include "ui/TaskEditorWidget.h"

#include "core/MruPresentation.h"
#include "core/Translate.h"
#include "ui/PathDrop.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
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
#include <limits>

namespace slidemill {
namespace {

// A fixed text of the editor, as the current language shows it.
QString Tr(const char* english) {
    return QString::fromStdString(Translate(english));
}
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Sets the model's guard for the lifetime of the scope and puts the earlier value back, so the
// handlers of controls changed by code stay quiet even when the model had set it already.
class SuppressScope {
public:
    explicit SuppressScope(MainWindowModel& model) : model_(model), before_(model.SuppressControlEvents()) {
        model_.SetSuppressControlEvents(true);
    }
    ~SuppressScope() { model_.SetSuppressControlEvents(before_); }
    SuppressScope(const SuppressScope&) = delete;
    SuppressScope& operator=(const SuppressScope&) = delete;

private:
    MainWindowModel& model_;
    bool before_;
};

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

void FillBox(QComboBox* box, const TypeList& list) {
    box->clear();
    for (const TypeListEntry& entry : list.entries)
        box->addItem(Q(entry.text), entry.value);
}

// Selects the entry holding code; nothing is selected when no entry holds it.
void SelectCode(QComboBox* box, int32_t code) {
    const int index = box->findData(code);
    if (box->currentIndex() != index)
        box->setCurrentIndex(index);
}

// Writes text into an editable box unless it already shows it. A field the user types in keeps
// working: when the text lost characters (a typed quote removed), the caret moves back by as
// many, so it stays behind what was typed.
void ShowText(QComboBox* box, const std::string& value) {
    const QString text = Q(value);
    QLineEdit* edit = box->lineEdit();
    if (edit->text() == text)
        return;
    const qsizetype lost = std::max<qsizetype>(0, edit->text().size() - text.size());
    const qsizetype caret = std::clamp<qsizetype>(edit->cursorPosition() - lost, 0, text.size());
    edit->setText(text);
    edit->setCursorPosition(static_cast<int>(caret));
}

void ShowChecked(QAbstractButton* button, bool checked) {
    if (button->isChecked() != checked)
        button->setChecked(checked);
}

// The combo box as the recently-used filler sees it.
class ComboTarget final : public MruComboTarget {
public:
    explicit ComboTarget(QComboBox* box) : box_(box) {}
    void Clear() override { box_->clear(); }
    void AddItem(const std::string& text) override { box_->addItem(Q(text)); }
    void SetListIndex(int index) override { box_->setCurrentIndex(index); }

private:
    QComboBox* box_;
};

} // namespace

struct TaskEditorWidget::Widgets {
    QRadioButton* rbConvert = nullptr;
    QRadioButton* rbSpecial = nullptr;
    QStackedWidget* frames = nullptr;

    // Conversion set.
    QComboBox* cbOriginalFile = nullptr;
    QPushButton* cmdOriginalFile = nullptr;
    QPushButton* cmdOriginalFolder = nullptr;
    QToolButton* cmdLaunchOriginal = nullptr;
    QCheckBox* chkDoSubfolders = nullptr;
    QLabel* lblOriginalType = nullptr;
    QComboBox* cbFileTypeOriginal = nullptr;
    QRadioButton* rbMethod[3] = {};
    QWidget* targetFilePanel = nullptr;
    QComboBox* cbTargetFile = nullptr;
    QPushButton* cmdTargetFile = nullptr;
    QPushButton* cmdTargetFolder = nullptr;
    QToolButton* cmdLaunchTarget = nullptr;
    QCheckBox* chkSaveInOriginalFolder = nullptr;
    QComboBox* cbFileTypeTarget = nullptr;
    QPushButton* cmdAdvancedPPTOptions = nullptr;
    // What cbFileTypeTarget holds, to refill it only when the method changed the list.
    std::vector<TypeListEntry> shownTargetTypes;

    // Special-processing set.
    QComboBox* cbOriginalFileSpecialized = nullptr;
    QPushButton* cmdOriginalFileSpecialized = nullptr;
    QPushButton* cmdOriginalFolderSpecialized = nullptr;
    QToolButton* cmdLaunchOriginalSpecialized = nullptr;
    QCheckBox* chkDoSubfoldersSpecialized = nullptr;
    QComboBox* cbFileTypeOriginalSpecialized = nullptr;
    QWidget* targetFilePanelSpecialized = nullptr;
    QComboBox* cbTargetFileSpecialized = nullptr;
    QPushButton* cmdTargetFileSpecialized = nullptr;
    QPushButton* cmdTargetFolderSpecialized = nullptr;
    QToolButton* cmdLaunchTargetSpecialized = nullptr;
    QCheckBox* chkSaveInOriginalFolderSpecialized = nullptr;
    QComboBox* cbSpecialProcesses = nullptr;

    QGroupBox* searchReplaceGroup = nullptr;
    QComboBox* cbFindString = nullptr;
    QComboBox* cbReplacementString = nullptr;
    QComboBox* cbCharacter1 = nullptr;
    QComboBox* cbCharacter2 = nullptr;
    QCheckBox* chkCaseSensitive = nullptr;

    QGroupBox* launchGroup = nullptr;
    QComboBox* cbCommandLine = nullptr;
    QPushButton* cmdCommandLineFile = nullptr;
    QComboBox* cbCommandLineArguments = nullptr;
    QComboBox* cbCommandLineWindowState = nullptr;
    QComboBox* cbCommandLineThreadPriority = nullptr;
    QSpinBox* txtWaitTime = nullptr;

    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdPause = nullptr;
};

namespace {

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

TaskEditorWidget::TaskEditorWidget(MainWindowModel& model, QWidget* parent)
    : QWidget(parent), widgets_(std::make_unique<Widgets>()), model_(model) {
    Widgets& w = *widgets_;

    // The action choice.
    w.rbConvert = new QRadioButton(Tr("(&C)onvert Files"));
    w.rbConvert->setObjectName("rbActionToDo0");
    w.rbSpecial = new QRadioButton(Tr("(&S)pecial Processing on Files"));
    w.rbSpecial->setObjectName("rbActionToDo1");
    auto* actions = new QButtonGroup(this);
    actions->addButton(w.rbConvert, 0);
    actions->addButton(w.rbSpecial, 1);
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
    auto* methods = new QButtonGroup(this);
    auto* methodRow = new QHBoxLayout(methodGroup);
    methodRow->setContentsMargins(6, 2, 6, 2);
    const char* methodCaptions[3] = {"Use MS Word", "Use 'Folioworks'", "Convert from PDF to ??? "};
    for (int i = 0; i < 3; ++i) {
        w.rbMethod[i] = new QRadioButton(Tr(methodCaptions[i]));
        w.rbMethod[i]->setObjectName(QString("rbConversionMethod%1").arg(i + 1));
        methods->addButton(w.rbMethod[i], i + 1);
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
    // Its dialog does not exist yet: the button shows where it will be, and does nothing.
    w.cmdAdvancedPPTOptions->setEnabled(false);
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
        sets->setSpacing(16);
        sets->addLayout(processColumn, 1);
        sets->addLayout(processTargetColumn, 1);
        layout->addLayout(sets);
        // The two groups share one place: the special process shows at most one of them, and
        // the place keeps the height of the taller so the editor's height never changes.
        auto* groups = new QWidget;
        auto* groupRow = new QHBoxLayout(groups);
        groupRow->setContentsMargins(0, 0, 0, 0);
        groupRow->addWidget(w.searchReplaceGroup, 1);
        groupRow->addWidget(w.launchGroup, 1);
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
    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(6, 4, 6, 4);
    top->setSpacing(10);
    top->addLayout(editor, 1);
    top->addLayout(commands);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    // Handlers. Each writes the control's value into the model's editor and calls the model's
    // event, unless the controls are being changed by code.
    const auto quiet = [this] { return model_.SuppressControlEvents(); };
    const auto edited = [this, quiet](auto write) {
        if (quiet())
            return;
        write(model_.Editor());
        model_.EditorEdited();
        ShowEditor();
    };
    const auto onCheck = [this, edited](QCheckBox* box, bool EditorState::*field) {
        connect(box, &QCheckBox::toggled, this,
                [edited, field](bool checked) { edited([&](EditorState& e) { e.*field = checked; }); });
    };
    const auto onCode = [this, edited](QComboBox* box, int32_t EditorState::*field) {
        connect(box, &QComboBox::currentIndexChanged, this, [edited, box, field](int index) {
            if (index >= 0)
                edited([&](EditorState& e) { e.*field = box->itemData(index).toInt(); });
        });
    };
    const auto onText = [this, edited](QComboBox* box, std::string EditorState::*field) {
        connect(box, &QComboBox::editTextChanged, this, [edited, field](const QString& text) {
            edited([&](EditorState& e) { e.*field = text.toStdString(); });
        });
    };
    const auto onPath = [this, quiet](QComboBox* box, std::string EditorState::*field,
                                      EditorPathField which) {
        connect(box, &QComboBox::editTextChanged, this, [this, quiet, field, which](const QString& text) {
            if (quiet())
                return;
            const std::string value = text.toStdString();
            model_.Editor().*field = value;
            model_.PathEdited(which, value);
            ShowEditor();
        });
    };
    const auto onButton = [this](QAbstractButton* button, auto action) {
        connect(button, &QAbstractButton::clicked, this, [this, action] {
            action();
            ShowEditor();
        });
    };
    const auto onPathButtons = [this, onButton](EditorPathField which, QAbstractButton* file,
                                                QAbstractButton* folder, QAbstractButton* launch) {
        onButton(file, [this, which] { model_.PickFile(which); });
        if (folder)
            onButton(folder, [this, which] { model_.PickFolder(which); });
        if (launch)
            onButton(launch, [this, which] { model_.Launch(which); });
    };

    connect(actions, &QButtonGroup::idToggled, this, [this, quiet](int id, bool checked) {
        if (quiet() || !checked)
            return;
        const std::string action = id == 0 ? "C" : "S";
        model_.Editor().sActionToDo = action;
        model_.ActionChosen(action);
        ShowEditor();
    });
    connect(methods, &QButtonGroup::idToggled, this, [this, quiet](int id, bool checked) {
        if (quiet() || !checked)
            return;
        model_.Editor().lConversionMethod = id;
        model_.MethodChosen(id);
        ShowEditor();
    });

    onPath(w.cbOriginalFile, &EditorState::sOriginalFile, EditorPathField::Original);
    onPath(w.cbTargetFile, &EditorState::sTargetFile, EditorPathField::Target);
    onPath(w.cbOriginalFileSpecialized, &EditorState::sOriginalFileSpecialized,
           EditorPathField::OriginalSpecialized);
    onPath(w.cbTargetFileSpecialized, &EditorState::sTargetFileSpecialized,
           EditorPathField::TargetSpecialized);
    onPath(w.cbCommandLine, &EditorState::sApplicationName, EditorPathField::Application);
    onPathButtons(EditorPathField::Original, w.cmdOriginalFile, w.cmdOriginalFolder, w.cmdLaunchOriginal);
    onPathButtons(EditorPathField::Target, w.cmdTargetFile, w.cmdTargetFolder, w.cmdLaunchTarget);
    onPathButtons(EditorPathField::OriginalSpecialized, w.cmdOriginalFileSpecialized,
                  w.cmdOriginalFolderSpecialized, w.cmdLaunchOriginalSpecialized);
    onPathButtons(EditorPathField::TargetSpecialized, w.cmdTargetFileSpecialized,
                  w.cmdTargetFolderSpecialized, w.cmdLaunchTargetSpecialized);
    onPathButtons(EditorPathField::Application, w.cmdCommandLineFile, nullptr, nullptr);

    onCheck(w.chkDoSubfolders, &EditorState::bDoSubfolders);
    onCheck(w.chkSaveInOriginalFolder, &EditorState::bSaveInOriginalFolder);
    onCheck(w.chkDoSubfoldersSpecialized, &EditorState::bDoSubfoldersSpecialized);
    onCheck(w.chkSaveInOriginalFolderSpecialized, &EditorState::bSaveInOriginalFolderSpecialized);
    onCheck(w.chkCaseSensitive, &EditorState::bCaseSensitive);
    onCode(w.cbFileTypeOriginal, &EditorState::lOriginalFileType);
    onCode(w.cbFileTypeOriginalSpecialized, &EditorState::lSpecialFileType);
    onCode(w.cbCommandLineWindowState, &EditorState::lCommandLineWindowState);
    onCode(w.cbCommandLineThreadPriority, &EditorState::lCommandLineThreadPriority);
    onText(w.cbFindString, &EditorState::sFindString);
    onText(w.cbReplacementString, &EditorState::sReplaceString);
    onText(w.cbCommandLineArguments, &EditorState::sCommandLineArguments);
    connect(w.txtWaitTime, &QSpinBox::valueChanged, this,
            [edited](int seconds) { edited([&](EditorState& e) { e.lCommandLineWaitTime = seconds; }); });

    connect(w.cbFileTypeTarget, &QComboBox::currentIndexChanged, this, [this, quiet](int index) {
        if (quiet() || index < 0)
            return;
        const int32_t code = widgets_->cbFileTypeTarget->itemData(index).toInt();
        model_.Editor().lTargetFileType = code;
        model_.TargetTypeChosen(code);
        ShowEditor();
    });
    connect(w.cbSpecialProcesses, &QComboBox::currentIndexChanged, this, [this, quiet](int index) {
        if (quiet() || index < 0)
            return;
        const int32_t code = widgets_->cbSpecialProcesses->itemData(index).toInt();
        // The request entry is no process: the editor keeps its own and shows it again.
        if (code != kSpecialNotListed)
            model_.Editor().lSpecialProcess = code;
        model_.SpecialProcessChosen(code);
        ShowEditor();
    });
    // A character pick appends its code to the field, and the picker shows its heading again.
    const auto onPick = [this, quiet](QComboBox* picker, bool replaceField) {
        connect(picker, &QComboBox::currentIndexChanged, this,
                [this, quiet, picker, replaceField](int index) {
                    if (quiet() || index <= 0)
                        return;
                    model_.CharacterPicked(replaceField, index);
                    {
                        SuppressScope suppress(model_);
                        picker->setCurrentIndex(0);
                    }
                    ShowEditor();
                });
    };
    onPick(w.cbCharacter1, false);
    onPick(w.cbCharacter2, true);

    onButton(w.cmdAdd, [this] { model_.AddTask(); });
    onButton(w.cmdRemove, [this] { model_.DeleteTask(); });
    onButton(w.cmdUpdate, [this] { model_.UpdateTask(); });
    onButton(w.cmdPause, [this] { model_.Pause(); });

    // A file or folder dragged from the file manager fills a path field as if it were typed.
    for (QComboBox* box : {w.cbOriginalFile, w.cbTargetFile, w.cbOriginalFileSpecialized,
                           w.cbTargetFileSpecialized, w.cbCommandLine})
        new PathDrop(box->lineEdit());
}

TaskEditorWidget::~TaskEditorWidget() = default;

void TaskEditorWidget::FillLists() {
    Widgets& w = *widgets_;
    {
        SuppressScope suppress(model_);
        FillBox(w.cbFileTypeOriginal, model_.OriginalTypes());
        FillBox(w.cbFileTypeTarget, model_.TargetTypes());
        w.shownTargetTypes = model_.TargetTypes().entries;
        FillBox(w.cbFileTypeOriginalSpecialized, model_.SpecialFileTypes());
        FillBox(w.cbSpecialProcesses, model_.SpecialProcesses());
        FillBox(w.cbCommandLineWindowState, model_.WindowStates());
        FillBox(w.cbCommandLineThreadPriority, model_.ThreadPriorities());
        for (QComboBox* picker : {w.cbCharacter1, w.cbCharacter2}) {
            picker->clear();
            for (const std::string& entry : model_.CharacterPicks())
                picker->addItem(Q(entry));
            picker->setCurrentIndex(0);
        }
    }
    FillRecentLists();
}

void TaskEditorWidget::FillRecentLists() {
    Widgets& w = *widgets_;
    MainWindowLists& lists = model_.RecentLists();
    {
        SuppressScope suppress(model_);
        const std::pair<QComboBox*, const clsMRU*> boxes[] = {
            {w.cbOriginalFile, &lists.mruSource},
            {w.cbTargetFile, &lists.mruTarget},
            {w.cbOriginalFileSpecialized, &lists.mruSourceSpecialized},
            {w.cbTargetFileSpecialized, &lists.mruTargetSpecialized},
            {w.cbCommandLine, &lists.mruCommandLine},
            {w.cbCommandLineArguments, &lists.mruCommandLineArguments},
            {w.cbFindString, &lists.mruFindString},
            {w.cbReplacementString, &lists.mruReplaceString},
        };
        for (const auto& [box, list] : boxes) {
            ComboTarget target(box);
            bool suppressed = true;
            FillComboFromMru(*list, target, suppressed);
        }
    }
    // Filling selected the newest entry of each list; the fields show the editor's values.
    ShowEditor();
}

void TaskEditorWidget::ShowEditor() {
    Widgets& w = *widgets_;
    SuppressScope suppress(model_);
    const EditorState& e = model_.Editor();
    const EditorControls& c = model_.Controls();

    ShowChecked(IsSpecialAction(e.sActionToDo) ? w.rbSpecial : w.rbConvert, true);
    w.frames->setCurrentIndex(c.specialPanelInFront ? 1 : 0);

    // Conversion set.
    if (e.lConversionMethod >= 1 && e.lConversionMethod <= 3)
        ShowChecked(w.rbMethod[e.lConversionMethod - 1], true);
    ShowText(w.cbOriginalFile, e.sOriginalFile);
    ShowText(w.cbTargetFile, e.sTargetFile);
    SelectCode(w.cbFileTypeOriginal, e.lOriginalFileType);
    if (w.shownTargetTypes != model_.TargetTypes().entries) {
        FillBox(w.cbFileTypeTarget, model_.TargetTypes());
        w.shownTargetTypes = model_.TargetTypes().entries;
    }
    SelectCode(w.cbFileTypeTarget, e.lTargetFileType);
    ShowChecked(w.chkDoSubfolders, e.bDoSubfolders);
    ShowChecked(w.chkSaveInOriginalFolder, e.bSaveInOriginalFolder);
    w.chkDoSubfolders->setEnabled(c.doSubfoldersEnabled);
    w.chkSaveInOriginalFolder->setEnabled(c.saveInOriginalFolderEnabled);
    w.cmdTargetFile->setEnabled(c.targetFileButtonEnabled);
    w.targetFilePanel->setVisible(c.targetFilePanelVisible);
    w.lblOriginalType->setVisible(c.originalTypeListVisible);
    w.cbFileTypeOriginal->setVisible(c.originalTypeListVisible);
    w.cmdAdvancedPPTOptions->setVisible(c.advancedOptionsVisible);

    // Special-processing set.
    ShowText(w.cbOriginalFileSpecialized, e.sOriginalFileSpecialized);
    ShowText(w.cbTargetFileSpecialized, e.sTargetFileSpecialized);
    SelectCode(w.cbFileTypeOriginalSpecialized, e.lSpecialFileType);
    SelectCode(w.cbSpecialProcesses, e.lSpecialProcess);
    ShowChecked(w.chkDoSubfoldersSpecialized, e.bDoSubfoldersSpecialized);
    ShowChecked(w.chkSaveInOriginalFolderSpecialized, e.bSaveInOriginalFolderSpecialized);
    w.chkDoSubfoldersSpecialized->setEnabled(c.doSubfoldersSpecializedEnabled);
    w.chkSaveInOriginalFolderSpecialized->setEnabled(c.saveInOriginalFolderSpecializedEnabled);
    w.cmdOriginalFileSpecialized->setEnabled(c.originalFileButtonSpecializedEnabled);
    w.cmdTargetFileSpecialized->setEnabled(c.targetFileButtonSpecializedEnabled);
    w.targetFilePanelSpecialized->setVisible(c.targetFilePanelSpecializedVisible);

    // The group going away leaves first: for a moment both would need the width of two, and
    // the window would grow to give it.
    for (QGroupBox* group : {w.searchReplaceGroup, w.launchGroup})
        if (group->isVisibleTo(this) &&
            !(group == w.launchGroup ? c.launchGroupVisible : c.searchReplaceGroupVisible))
            group->hide();
    w.searchReplaceGroup->setVisible(c.searchReplaceGroupVisible);
    w.launchGroup->setVisible(c.launchGroupVisible);
    ShowText(w.cbFindString, e.sFindString);
    ShowText(w.cbReplacementString, e.sReplaceString);
    ShowChecked(w.chkCaseSensitive, e.bCaseSensitive);

    ShowText(w.cbCommandLine, e.sApplicationName);
    ShowText(w.cbCommandLineArguments, e.sCommandLineArguments);
    SelectCode(w.cbCommandLineWindowState, e.lCommandLineWindowState);
    SelectCode(w.cbCommandLineThreadPriority, e.lCommandLineThreadPriority);
    if (w.txtWaitTime->value() != e.lCommandLineWaitTime)
        w.txtWaitTime->setValue(e.lCommandLineWaitTime);
}

void TaskEditorWidget::FocusField(TaskEditorField field) {
    Widgets& w = *widgets_;
    const bool special = IsSpecialAction(model_.Editor().sActionToDo);
    QComboBox* box = nullptr;
    switch (field) {
    case TaskEditorField::OriginalFile:
        // A launch task names its program where other tasks name their originals.
        if (!special)
            box = w.cbOriginalFile;
        else if (model_.Editor().lSpecialProcess == kSpecialLaunch)
            box = w.cbCommandLine;
        else
            box = w.cbOriginalFileSpecialized;
        break;
    case TaskEditorField::TargetFile:
        box = special ? w.cbTargetFileSpecialized : w.cbTargetFile;
        break;
    case TaskEditorField::TargetType:
        box = w.cbFileTypeTarget;
        break;
    case TaskEditorField::SpecialProcess:
        box = w.cbSpecialProcesses;
        break;
    case TaskEditorField::SpecialFileType:
        box = w.cbFileTypeOriginalSpecialized;
        break;
    case TaskEditorField::FindString:
        box = w.cbFindString;
        break;
    case TaskEditorField::None:
        return;
    }
    box->setFocus(Qt::OtherFocusReason);
    if (box->lineEdit())
        box->lineEdit()->selectAll();
}

void TaskEditorWidget::SetCommandButtons(bool add, bool remove, bool update, bool pause) {
    widgets_->cmdAdd->setEnabled(add);
    widgets_->cmdRemove->setEnabled(remove);
    widgets_->cmdUpdate->setEnabled(update);
    widgets_->cmdPause->setEnabled(pause);
}

} // namespace slidemill
