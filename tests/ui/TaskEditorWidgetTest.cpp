// The task editor over a real window model with the test component: what the user types,
// clicks, picks and drops reaches the model, and what the model decides shows in the widgets.
#include "ui/TaskEditorWidget.h"

#include "core/RunControl.h"
#include "core/TaskGrid.h"
#include "run/RunStatus.h"
#include "support/FakeRunParts.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "ui/PathDrop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace slidemill {
namespace {

using test::ScriptedPrompt;
using test::TempFolder;

// The part of the main window the editor depends on: it shows the editor again when the model
// says so and records what would be opened on the desktop.
class EditorView final : public MainWindowView {
public:
    TaskEditorWidget* editor = nullptr;
    std::vector<std::string> opened;

    void EditorChanged() override {
        if (editor)
            editor->ShowEditor();
    }
    void CommandStatesChanged(const CommandStates& states) override {
        if (editor)
            editor->SetCommandButtons(states.keyAdd, states.keyRemove, states.keyUpdate, states.keyPause);
    }
    void JobCaptionChanged(const std::string&) override {}
    void RecentListsChanged() override {
        if (editor)
            editor->FillRecentLists();
    }
    void FocusTaskGrid() override {}
    void FocusEditorField(TaskEditorField) override {}
    bool LogPageSelected() const override { return false; }
    bool WindowVisible() const override { return true; }
    void OpenExternally(const std::string& pathOrUrl) override { opened.push_back(pathOrUrl); }
};

class TaskEditorWidgetTest : public ::testing::Test {
protected:
    TempFolder folder{"editor"};
    test::FakeRunParts parts;
    ScriptedPrompt prompt;
    RunControl progress;
    RunStatus status;
    EditorView view;
    MainWindowModel model{parts, prompt, progress, status, view, (folder.path() / "slidemill.ini").string()};
    TaskEditorWidget widget{model};

    void SetUp() override {
        view.editor = &widget;
        model.Load();
        widget.FillLists();
    }
    void TearDown() override { prompt.Finish(); }

    template <class T> T* Get(const char* name) {
        T* child = widget.findChild<T*>(name);
        if (!child)
            ADD_FAILURE() << "the editor has no " << name;
        return child;
    }
    QLineEdit* Edit(const char* name) { return Get<QComboBox>(name)->lineEdit(); }
    // The panel in front of the other.
    QString FrontPanel() { return Get<QStackedWidget>("frameCF")->currentWidget()->objectName(); }
    void ChooseCode(const char* box, int32_t code) {
        QComboBox* combo = Get<QComboBox>(box);
        const int index = combo->findData(code);
        ASSERT_GE(index, 0) << box << " has no entry " << code;
        combo->setCurrentIndex(index);
    }
    void Type(const char* box, const QString& text) {
        QLineEdit* edit = Edit(box);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(TaskEditorWidgetTest, TypedPathsLoseTheirQuotesAndAWildcardEnablesTheFolderChoices) {
    const QString wildcard = QString::fromStdString(folder.str()) + "decks/*.ppt";
    Type("cbOriginalFile", "\"" + wildcard + "\"");
    EXPECT_EQ(Edit("cbOriginalFile")->text(), wildcard);
    EXPECT_EQ(model.Editor().sOriginalFile, wildcard.toStdString());
    EXPECT_TRUE(model.EditorDirty());
    EXPECT_TRUE(Get<QCheckBox>("chkDoSubfolders")->isEnabled());
    EXPECT_TRUE(Get<QCheckBox>("chkSaveInOriginalFolder")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("cmdTargetFile")->isEnabled());

    // Saving beside the originals needs no target field.
    Get<QCheckBox>("chkSaveInOriginalFolder")->click();
    EXPECT_TRUE(model.Editor().bSaveInOriginalFolder);
    EXPECT_TRUE(Get<QWidget>("targetFilePanel")->isHidden());

    // A single file takes those choices back, and the target field returns.
    Type("cbOriginalFile", "/data/deck.ppt");
    EXPECT_FALSE(Get<QCheckBox>("chkDoSubfolders")->isEnabled());
    EXPECT_FALSE(Get<QCheckBox>("chkSaveInOriginalFolder")->isEnabled());
    EXPECT_FALSE(Get<QCheckBox>("chkSaveInOriginalFolder")->isChecked());
    EXPECT_TRUE(Get<QPushButton>("cmdTargetFile")->isEnabled());
    EXPECT_FALSE(Get<QWidget>("targetFilePanel")->isHidden());

    // The same rule holds in the special-processing set.
    Get<QRadioButton>("rbActionToDo1")->click();
    Type("cbOriginalFileSpecialized", "\"/data/notes/*.txt\"");
    EXPECT_EQ(model.Editor().sOriginalFileSpecialized, "/data/notes/*.txt");
    ChooseCode("cbSpecialProcesses", kSpecialRemoveEmptyLines);
    EXPECT_TRUE(Get<QCheckBox>("chkDoSubfoldersSpecialized")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("cmdTargetFileSpecialized")->isEnabled());

    // A quote typed inside a path goes, and typing goes on where it was.
    QLineEdit* target = Edit("cbTargetFileSpecialized");
    target->setText("/data/.txt");
    target->setCursorPosition(6);
    QTest::keyClicks(target, "\"all");
    EXPECT_EQ(target->text(), "/data/all.txt");

    // Ctrl+A takes the whole path, ready to be typed over.
    QLineEdit* original = Edit("cbOriginalFileSpecialized");
    original->setCursorPosition(3);
    QTest::keyClick(original, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(original->selectedText(), original->text());
}

TEST_F(TaskEditorWidgetTest, TheActionKindBringsItsPanelToTheFront) {
    EXPECT_EQ(FrontPanel(), "frameConvert");
    Get<QRadioButton>("rbActionToDo1")->click();
    EXPECT_EQ(model.Editor().sActionToDo, "S");
    EXPECT_EQ(FrontPanel(), "frameSpecial");
    EXPECT_TRUE(model.EditorDirty());
    Get<QRadioButton>("rbActionToDo0")->click();
    EXPECT_EQ(model.Editor().sActionToDo, "C");
    EXPECT_EQ(FrontPanel(), "frameConvert");
}

TEST_F(TaskEditorWidgetTest, EachSpecialProcessShowsItsOwnGroup) {
    Get<QRadioButton>("rbActionToDo1")->click();
    auto* search = Get<QGroupBox>("fraSearchReplace");
    auto* launch = Get<QGroupBox>("fraLaunch");

    ChooseCode("cbSpecialProcesses", kSpecialSearchReplace);
    EXPECT_EQ(model.Editor().lSpecialProcess, kSpecialSearchReplace);
    EXPECT_FALSE(search->isHidden());
    EXPECT_TRUE(launch->isHidden());

    ChooseCode("cbSpecialProcesses", kSpecialLaunch);
    EXPECT_TRUE(search->isHidden());
    EXPECT_FALSE(launch->isHidden());

    ChooseCode("cbSpecialProcesses", kSpecialRemoveEmptyLines);
    EXPECT_TRUE(search->isHidden());
    EXPECT_TRUE(launch->isHidden());

    // Appending picks both files one by one, even for a wildcard original.
    Type("cbOriginalFileSpecialized", "/data/*.txt");
    ChooseCode("cbSpecialProcesses", kSpecialAppend);
    EXPECT_TRUE(search->isHidden());
    EXPECT_TRUE(launch->isHidden());
    EXPECT_FALSE(Get<QCheckBox>("chkDoSubfoldersSpecialized")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("cmdOriginalFileSpecialized")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("cmdTargetFileSpecialized")->isEnabled());
}

TEST_F(TaskEditorWidgetTest, TheSpecialRequestEntryAsksAndKeepsTheChosenProcess) {
    Get<QRadioButton>("rbActionToDo1")->click();
    ChooseCode("cbSpecialProcesses", kSpecialSearchReplace);

    prompt.Answer(PromptAnswer::Cancel);
    ChooseCode("cbSpecialProcesses", kSpecialNotListed);
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_TRUE(view.opened.empty());
    EXPECT_EQ(model.Editor().lSpecialProcess, kSpecialSearchReplace);
    EXPECT_EQ(Get<QComboBox>("cbSpecialProcesses")->currentData().toInt(), kSpecialSearchReplace);

    prompt.Answer(PromptAnswer::OK);
    prompt.Answer(PromptAnswer::OK);
    ChooseCode("cbSpecialProcesses", kSpecialNotListed);
    ASSERT_EQ(view.opened.size(), 1u);
    EXPECT_EQ(view.opened[0].rfind("mailto:", 0), 0u) << view.opened[0];
    EXPECT_EQ(Get<QComboBox>("cbSpecialProcesses")->currentData().toInt(), kSpecialSearchReplace);
}

TEST_F(TaskEditorWidgetTest, ACharacterPickAppendsItsCodeAndThePickerShowsItsHeadingAgain) {
    Get<QRadioButton>("rbActionToDo1")->click();
    ChooseCode("cbSpecialProcesses", kSpecialSearchReplace);
    Type("cbFindString", "end");
    auto* first = Get<QComboBox>("cbCharacter1");
    first->setCurrentIndex(13);
    EXPECT_EQ(Edit("cbFindString")->text(), QString::fromUtf8("end©13©"));
    EXPECT_EQ(model.Editor().sFindString, "end©13©");
    EXPECT_EQ(first->currentIndex(), 0);

    auto* second = Get<QComboBox>("cbCharacter2");
    second->setCurrentIndex(10);
    second->setCurrentIndex(32);
    EXPECT_EQ(model.Editor().sReplaceString, "©10©©32©");
    EXPECT_EQ(Edit("cbReplacementString")->text(), QString::fromUtf8("©10©©32©"));
    EXPECT_EQ(second->currentIndex(), 0);
    EXPECT_EQ(model.Editor().sFindString, "end©13©");
}

TEST_F(TaskEditorWidgetTest, AdvancedOptionsAppearsOnceATargetFormatIsPicked) {
    auto* advanced = Get<QPushButton>("cmdAdvancedPPTOptions");
    EXPECT_TRUE(advanced->isHidden());
    auto* target = Get<QComboBox>("cbFileTypeTarget");
    ASSERT_GE(target->count(), 2);
    target->setCurrentIndex(target->currentIndex() == 1 ? 0 : 1);
    EXPECT_EQ(model.Editor().lTargetFileType, target->currentData().toInt());
    EXPECT_FALSE(advanced->isHidden());
    EXPECT_TRUE(advanced->isEnabled());

    // Another method means another list, and no format picked from it yet.
    Get<QRadioButton>("rbConversionMethod3")->click();
    EXPECT_EQ(model.Editor().lConversionMethod, kMethodFromPdf);
    EXPECT_EQ(target->itemText(0), "[3] As DOC (RTF)");
    EXPECT_EQ(target->currentData().toInt(), model.Editor().lTargetFileType);
    EXPECT_TRUE(advanced->isHidden());
    EXPECT_TRUE(Get<QComboBox>("cbFileTypeOriginal")->isHidden());
}

TEST_F(TaskEditorWidgetTest, ADroppedLocalFileFillsTheFieldAsIfTyped) {
    const std::string deck = folder.file("in/Quarterly.ppt");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(deck))});
    QLineEdit* original = Edit("cbOriginalFile");

    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(original, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(original, &drop);
    EXPECT_EQ(original->text().toStdString(), deck);
    EXPECT_EQ(model.Editor().sOriginalFile, deck);
    EXPECT_TRUE(model.EditorDirty());

    // A folder loses its trailing "/"; a web address is refused and changes nothing.
    QMimeData folderData;
    folderData.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.str()) + "out/")});
    EXPECT_EQ(DroppedLocalPath(folderData).toStdString(), folder.str() + "out");
    QMimeData web;
    web.setUrls({QUrl("https://example.org/deck.ppt")});
    web.setText("https://example.org/deck.ppt");
    QLineEdit* target = Edit("cbTargetFile");
    const QString before = target->text();
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &refused);
    EXPECT_FALSE(refused.isAccepted());
    QDropEvent webDrop(QPointF(5, 5), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &webDrop);
    EXPECT_EQ(target->text(), before);
}

TEST_F(TaskEditorWidgetTest, ARowLoadedByTheModelShowsWithoutMarkingTheTaskChanged) {
    const std::string deck = folder.file("in/Quarterly.ppt");
    const std::string out = folder.folder("out") + "/Quarterly.pdf";
    Type("cbOriginalFile", QString::fromStdString(deck));
    Type("cbTargetFile", QString::fromStdString(out));
    Get<QCheckBox>("chkDoSubfolders")->setChecked(false);
    ChooseCode("cbFileTypeTarget", 32);
    Get<QPushButton>("cmdAdd")->click();
    ASSERT_TRUE(prompt.questions.empty()) << prompt.questions.front().text;
    Grid& grid = model.Document().fgToDo;
    ASSERT_EQ(grid.Rows(), 3) << "the task was not added";
    EXPECT_FALSE(model.EditorDirty());

    // The editor moves on to something else; going back to the row shows the stored task.
    Get<QRadioButton>("rbActionToDo1")->click();
    Type("cbOriginalFileSpecialized", "/data/notes.txt");
    model.ClearEditorDirty();
    grid.SetRow(1);
    model.CurrentRowChanged();
    EXPECT_FALSE(model.EditorDirty());
    EXPECT_EQ(FrontPanel(), "frameConvert");
    EXPECT_TRUE(Get<QRadioButton>("rbActionToDo0")->isChecked());
    EXPECT_EQ(Edit("cbOriginalFile")->text().toStdString(), deck);
    EXPECT_EQ(Edit("cbTargetFile")->text().toStdString(), out);
    EXPECT_EQ(Get<QComboBox>("cbFileTypeTarget")->currentData().toInt(), 32);
    // What the user added is offered again in the boxes' lists.
    auto* originals = Get<QComboBox>("cbOriginalFile");
    const int remembered = originals->findText(QString::fromStdString(deck));
    ASSERT_GE(remembered, 0);
    // Refilling the lists leaves the field showing the editor's value.
    Type("cbOriginalFile", "/data/other.ppt");
    widget.FillRecentLists();
    EXPECT_EQ(Edit("cbOriginalFile")->text(), "/data/other.ppt");

    // Choosing it from the list is an edit like typing it.
    model.ClearEditorDirty();
    originals->setCurrentIndex(remembered);
    EXPECT_EQ(model.Editor().sOriginalFile, deck);
    EXPECT_TRUE(model.EditorDirty());
}

TEST_F(TaskEditorWidgetTest, TheCommandButtonsAddUpdateAndDeleteRows) {
    const std::string first = folder.file("in/First.ppt");
    const std::string second = folder.file("in/Second.ppt");
    const std::string out = folder.folder("out");
    Grid& grid = model.Document().fgToDo;
    for (const std::string& deck : {first, second}) {
        Type("cbOriginalFile", QString::fromStdString(deck));
        Type("cbTargetFile",
             QString::fromStdString(out + "/" + std::filesystem::path(deck).stem().string() + ".pdf"));
        ChooseCode("cbFileTypeTarget", 32);
        Get<QPushButton>("cmdAdd")->click();
    }
    ASSERT_EQ(grid.Rows(), 4) << "two tasks, the header and the new-task row";

    grid.SetRow(1);
    model.CurrentRowChanged();
    EXPECT_FALSE(Get<QPushButton>("cmdUpdate")->isEnabled()) << "nothing to write back yet";
    EXPECT_TRUE(Get<QPushButton>("cmdRemove")->isEnabled());
    const std::string renamed = out + "/Renamed.pdf";
    Type("cbTargetFile", QString::fromStdString(renamed));
    ASSERT_TRUE(Get<QPushButton>("cmdUpdate")->isEnabled());
    Get<QPushButton>("cmdUpdate")->click();
    EXPECT_EQ(grid.CellText(1, kColTarget), renamed);
    EXPECT_FALSE(model.EditorDirty());
    EXPECT_EQ(grid.Rows(), 4);

    Get<QPushButton>("cmdRemove")->click();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.CellText(1, kColOriginal), second);
    EXPECT_EQ(grid.CellText(1, kColNumber), "1");
    // The remaining row is in the editor now.
    EXPECT_EQ(Edit("cbOriginalFile")->text().toStdString(), second);
    EXPECT_FALSE(Get<QPushButton>("cmdPause")->isEnabled()) << "no run to pause";
}

TEST_F(TaskEditorWidgetTest, AValidationMessagePointsAtItsFieldWithTheTextSelected) {
    widget.show();
    widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
    Get<QRadioButton>("rbActionToDo1")->click();
    ChooseCode("cbSpecialProcesses", kSpecialSearchReplace);
    Type("cbFindString", "Draft");
    Type("cbOriginalFileSpecialized", "/data/notes.txt");
    widget.FocusField(TaskEditorField::FindString);
    EXPECT_TRUE(Edit("cbFindString")->hasFocus());
    EXPECT_EQ(Edit("cbFindString")->selectedText(), "Draft");

    // A launch task names its program where other tasks name their originals.
    ChooseCode("cbSpecialProcesses", kSpecialLaunch);
    Type("cbCommandLine", "/usr/bin/true");
    widget.FocusField(TaskEditorField::OriginalFile);
    EXPECT_TRUE(Edit("cbCommandLine")->hasFocus());
    EXPECT_EQ(Edit("cbCommandLine")->selectedText(), "/usr/bin/true");
    ChooseCode("cbSpecialProcesses", kSpecialRemoveEmptyLines);
    widget.FocusField(TaskEditorField::OriginalFile);
    EXPECT_TRUE(Edit("cbOriginalFileSpecialized")->hasFocus());

    Get<QRadioButton>("rbActionToDo0")->click();
    widget.FocusField(TaskEditorField::TargetType);
    EXPECT_TRUE(Get<QComboBox>("cbFileTypeTarget")->hasFocus());
}

TEST_F(TaskEditorWidgetTest, PickerButtonsFillTheirFieldsFromTheDialogs) {
    const std::string deck = folder.file("in/Outline.ppt");
    prompt.PickFileAnswer(deck);
    Get<QPushButton>("cmdOriginalFile")->click();
    ASSERT_EQ(prompt.fileRequests.size(), 1u);
    EXPECT_EQ(prompt.fileRequests[0].title, "Select Original");
    EXPECT_EQ(Edit("cbOriginalFile")->text().toStdString(), deck);

    prompt.PickFolderAnswer(folder.str() + "out");
    Get<QPushButton>("cmdTargetFolder")->click();
    const std::string target = Edit("cbTargetFile")->text().toStdString();
    EXPECT_EQ(target.rfind(folder.str() + "out/*", 0), 0u) << target;
    EXPECT_EQ(model.Editor().sTargetFile, target);

    // A cancelled dialog leaves the field alone.
    prompt.PickFileAnswer("");
    Get<QPushButton>("cmdOriginalFile")->click();
    EXPECT_EQ(Edit("cbOriginalFile")->text().toStdString(), deck);

    // The launch button opens what the field names.
    Get<QToolButton>("cmdLaunchOriginal")->click();
    ASSERT_EQ(view.opened.size(), 1u);
    EXPECT_EQ(view.opened[0], deck);
    EXPECT_EQ(Get<QToolButton>("cmdLaunchOriginal")->toolTip(), "Open selected File in default application");
}

TEST_F(TaskEditorWidgetTest, TheListsHoldTheirEntries) {
    auto* target = Get<QComboBox>("cbFileTypeTarget");
    EXPECT_EQ(target->itemText(0), "[300] PDF - with options");
    EXPECT_EQ(target->itemData(0).toInt(), kTargetPdfWithOptions);
    EXPECT_EQ(target->count(), 1 + static_cast<int>(parts.component.formats.size()));
    EXPECT_EQ(target->itemText(1), "[032] PDF");

    const auto codes = [&](const char* name) {
        std::vector<int> values;
        auto* box = Get<QComboBox>(name);
        for (int i = 0; i < box->count(); ++i)
            values.push_back(box->itemData(i).toInt());
        return values;
    };
    EXPECT_EQ(codes("cbFileTypeOriginal"), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(codes("cbFileTypeOriginalSpecialized"), (std::vector<int>{1, 9, 4, 5, 6}));
    EXPECT_EQ(codes("cbSpecialProcesses"), (std::vector<int>{50, 55, 56, 60, -1}));
    EXPECT_EQ(codes("cbCommandLineWindowState"), (std::vector<int>{0, 1, 3, 6}));
    EXPECT_EQ(codes("cbCommandLineThreadPriority"), (std::vector<int>{64, 32, 128, 256}));
    auto* processes = Get<QComboBox>("cbSpecialProcesses");
    EXPECT_EQ(processes->itemText(processes->count() - 1), "I NEED SOMETHING NOT LISTED!!!!!!!");
    EXPECT_EQ(processes->itemText(2), "[56] Search and Replace a String.");

    for (const char* name : {"cbCharacter1", "cbCharacter2"}) {
        auto* picker = Get<QComboBox>(name);
        ASSERT_EQ(picker->count(), 256) << name;
        EXPECT_EQ(picker->itemText(0), "ASCII Char");
        EXPECT_EQ(picker->itemText(13), "[13] CR");
        EXPECT_EQ(picker->itemText(32), "[32] Space");
        EXPECT_EQ(picker->itemText(65), "[65]A");
        EXPECT_EQ(picker->itemText(255), QString::fromUtf8("[255]ÿ"));
    }
    EXPECT_EQ(Get<QSpinBox>("txtWaitTime")->minimum(), -1);
}

// Every pair of visible controls, in the editor's coordinates, that cover each other, and every
// control that does not fit inside the editor.
std::vector<std::string> Overlaps(QWidget& root) {
    std::vector<std::pair<QWidget*, QRect>> controls;
    for (QWidget* child : root.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child) ||
                             qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractSpinBox*>(child);
        if (control && child->isVisibleTo(&root))
            controls.emplace_back(child, QRect(child->mapTo(&root, QPoint(0, 0)), child->size()));
    }
    const auto name = [](QWidget* w) {
        return std::string(w->metaObject()->className()) + " " + w->objectName().toStdString() + " \"" +
               (qobject_cast<QLabel*>(w)            ? qobject_cast<QLabel*>(w)->text().toStdString()
                : qobject_cast<QAbstractButton*>(w) ? qobject_cast<QAbstractButton*>(w)->text().toStdString()
                                                    : std::string()) +
               "\"";
    };
    std::vector<std::string> found;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (!root.rect().contains(controls[i].second))
            found.push_back(name(controls[i].first) + " is cut off");
        for (size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i].second.intersects(controls[j].second))
                found.push_back(name(controls[i].first) + " and " + name(controls[j].first));
    }
    return found;
}

TEST_F(TaskEditorWidgetTest, TheEditorIsCompactAndNothingOverlapsAtEitherWidth) {
    // The window gives the editor the height it asks for; at 1280x800 the menu, toolbar, tabs,
    // status bar and at least ten grid rows need about 440 pixels of the rest.
    const int height = widget.sizeHint().height();
    EXPECT_LE(height, 340);
    // The tab page around the editor takes a few pixels of the window's width.
    EXPECT_LE(widget.minimumSizeHint().width(), 1000);
    for (const int width : {1280, 1024}) {
        widget.resize(width - 20, height);
        widget.show();
        for (int special : {0, 1}) {
            Get<QRadioButton>(special ? "rbActionToDo1" : "rbActionToDo0")->click();
            for (int32_t process : {kSpecialSearchReplace, kSpecialLaunch}) {
                ChooseCode("cbSpecialProcesses", process);
                QCoreApplication::processEvents();
                EXPECT_EQ(widget.sizeHint().height(), height) << "the editor's height follows its contents";
                // A window grows to fit what its controls need, and never shrinks back by itself.
                EXPECT_EQ(widget.width(), width - 20) << "panel " << special << ", process " << process;
                const auto found = Overlaps(widget);
                EXPECT_TRUE(found.empty())
                    << width << " px, panel " << special << ", process " << process << ": " << found.front();
                if (const char* grabs = std::getenv("SLIDEMILL_EDITOR_GRAB"))
                    widget.grab().save(
                        QString("%1/editor-%2-%3-%4.png").arg(grabs).arg(width).arg(special).arg(process));
            }
        }
        widget.hide();
    }
}

} // namespace
} // namespace slidemill
