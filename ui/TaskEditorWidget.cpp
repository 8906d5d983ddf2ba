#include "ui/TaskEditorWidget.h"

#include "core/MruPresentation.h"
#include "ui/AdvancedOptionsDialog.h"
#include "ui/PathDrop.h"
#include "ui/TaskEditorForm.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>

#include <algorithm>

namespace slidemill {
namespace {

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

struct TaskEditorWidget::Widgets : TaskEditorForm {
    // What cbFileTypeTarget holds, to refill it only when the method changed the list.
    std::vector<TypeListEntry> shownTargetTypes;
};

TaskEditorWidget::TaskEditorWidget(MainWindowModel& model, QWidget* parent)
    : QWidget(parent), widgets_(std::make_unique<Widgets>()), model_(model) {
    Widgets& w = *widgets_;

    BuildTaskEditorForm(w, this);

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

    connect(w.actions, &QButtonGroup::idToggled, this, [this, quiet](int id, bool checked) {
        if (quiet() || !checked)
            return;
        const std::string action = id == 0 ? "C" : "S";
        model_.Editor().sActionToDo = action;
        model_.ActionChosen(action);
        ShowEditor();
    });
    connect(w.methods, &QButtonGroup::idToggled, this, [this, quiet](int id, bool checked) {
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
    connect(w.cmdAdvancedPPTOptions, &QPushButton::clicked, this, [this] { OpenAdvancedOptions(); });

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

    // The group going away leaves first: for a moment both would need the room of two, and the
    // window would grow to give it.
    const bool groupsChange = w.searchReplaceGroup->isHidden() == c.searchReplaceGroupVisible ||
                              w.launchGroup->isHidden() == c.launchGroupVisible;
    for (QGroupBox* group : {w.searchReplaceGroup, w.launchGroup})
        if (group->isVisibleTo(this) &&
            !(group == w.launchGroup ? c.launchGroupVisible : c.searchReplaceGroupVisible))
            group->hide();
    w.searchReplaceGroup->setVisible(c.searchReplaceGroupVisible);
    w.launchGroup->setVisible(c.launchGroupVisible);
    // The page behind the other keeps the measures its layouts took until they are told that
    // the groups changed; the editor's height is taken from them.
    if (groupsChange) {
        for (QWidget* page : {w.searchReplaceGroup->parentWidget(), w.frames->widget(1)}) {
            page->layout()->invalidate();
            page->updateGeometry();
        }
    }
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

bool TaskEditorWidget::FitWidth(int width) {
    Widgets& w = *widgets_;
    // Measured in the side-by-side arrangement, once the controls have their fonts.
    if (!stacked_)
        sideBySideWidth_ = minimumSizeHint().width();
    const bool stack = sideBySideWidth_ > 0 && width < sideBySideWidth_;
    if (stack == stacked_)
        return false;
    stacked_ = stack;
    const QBoxLayout::Direction direction = stack ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight;
    w.conversionSets->setDirection(direction);
    w.specialSets->setDirection(direction);
    for (QBoxLayout* sets : {w.conversionSets, w.specialSets}) {
        sets->setSpacing(stack ? 6 : 16);
        // Side by side the two sets share the width; stacked, they keep their own heights and
        // the room left over goes below the second, not between them.
        sets->setStretch(0, stack ? 0 : 1);
        sets->setStretch(1, stack ? 0 : 1);
        if (stack) {
            sets->addStretch(1);
        } else if (sets->count() > 2) {
            delete sets->takeAt(2);
        }
        // The layouts above keep a panel's old measures until told (the panel behind the other
        // is never laid out, so nobody else tells its layouts).
        sets->parentWidget()->layout()->invalidate();
        sets->parentWidget()->updateGeometry();
    }
    w.frames->updateGeometry();
    updateGeometry();
    return true;
}

bool TaskEditorWidget::OpenAdvancedOptions() {
    bool cancelled = true;
    {
        AdvancedOptionsDialog dialog(model_, model_.TargetSupportsSingleFileOutput(), window());
        dialog.exec();
        cancelled = dialog.bCancelled();
    }
    widgets_->cmdAdvancedPPTOptions->setFocus();
    // The task row takes the new options at once.
    if (!cancelled)
        model_.UpdateTask();
    ShowEditor();
    return !cancelled;
}

} // namespace slidemill
