#include "ui/AdvancedOptionsDialog.h"

#include "DialogPages.h"
#include "core/EditorCells.h"
#include "core/PickerRules.h"
#include "core/RunControl.h"
#include "core/TaskGrid.h"
#include "run/RunStatus.h"
#include "support/FakeRunParts.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "ui/MainWindow.h"
#include "ui/PdxAdvancedOptionsDialog.h"
#include "ui/TaskEditorWidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace slidemill {
namespace {

using test::ScriptedPrompt;
using test::TempFolder;

class QuietView final : public MainWindowView {
public:
    TaskEditorWidget* editor = nullptr;
    int states = 0;
    void EditorChanged() override {
        if (editor)
            editor->ShowEditor();
    }
    void CommandStatesChanged(const CommandStates&) override { ++states; }
    void JobCaptionChanged(const std::string&) override {}
    void RecentListsChanged() override {}
    void FocusTaskGrid() override {}
    void FocusEditorField(TaskEditorField) override {}
    bool LogPageSelected() const override { return false; }
    bool WindowVisible() const override { return true; }
    void OpenExternally(const std::string&) override {}
};

class AdvancedOptionsDialogTest : public ::testing::Test {
protected:
    TempFolder folder{"advanced"};
    test::FakeRunParts parts;
    ScriptedPrompt prompt;
    RunControl progress;
    RunStatus status;
    QuietView view;
    MainWindowModel model{parts, prompt, progress, status, view, folder.str() + "slidemill.ini"};
    std::unique_ptr<AdvancedOptionsDialog> dialog;

    void SetUp() override { model.Load(); }
    void TearDown() override { prompt.Finish(); }

    void Open(bool singleFile = true) { dialog = std::make_unique<AdvancedOptionsDialog>(model, singleFile); }
    template <class T> T* Get(const char* name) {
        T* child = dialog->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            ADD_FAILURE() << "the dialog has no " << name;
        return child;
    }
    QCheckBox* Box(const char* name) { return Get<QCheckBox>(name); }
    void Click(const char* name) { Get<QAbstractButton>(name)->click(); }
    QTabWidget* Tabs() { return Get<QTabWidget>("tabAdvancedOptions"); }
    // Every value differs from the defaults a fresh profile starts with.
    static AdvancedOptionsValues Unusual(const std::string& moveFolder) {
        AdvancedOptionsValues v;
        v.bConvertAllSlides = false;
        v.lFromSlide = 4;
        v.lToSlide = 9;
        v.bCreateFileForEachSlide = true;
        v.bIncludeNotesPage = true;
        v.bIncludeNotesOnly = true;
        v.bShowSlideAndShape = true;
        v.bPDFTextOnly = false;
        v.bMoveOriginalFileAfterProcessing = true;
        v.sMoveFileToFolder = moveFolder;
        v.bDeleteOriginalFileAfterProcessing = false;
        return v;
    }
};

TEST_F(AdvancedOptionsDialogTest, OpensOnTheFirstPageShowingEveryStoredValue) {
    const std::string done = folder.folder("done");
    model.StoreAdvancedOptions(Unusual(done));
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Advanced Options");
    ASSERT_EQ(Tabs()->count(), 4);
    EXPECT_EQ(Tabs()->tabText(0), "What To Convert");
    EXPECT_EQ(Tabs()->tabText(1), "How To Convert");
    EXPECT_EQ(Tabs()->tabText(2), "PDF Options");
    EXPECT_EQ(Tabs()->tabText(3), "Move/Delete Input");
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(dialog->Shown(), Unusual(done));
    EXPECT_TRUE(Get<QRadioButton>("optSlideSelection0")->isChecked());
    EXPECT_EQ(Get<QSpinBox>("txtFromSlide")->value(), 4);
    EXPECT_EQ(Get<QSpinBox>("txtToSlide")->value(), 9);
    EXPECT_TRUE(Get<QRadioButton>("optOutputFiles1")->isChecked());
    EXPECT_EQ(Get<QLineEdit>("txtMoveFileToFolder")->text().toStdString(), done);
    EXPECT_TRUE(dialog->bCancelled());
}

TEST_F(AdvancedOptionsDialogTest, ApplyStoresEveryValueAndTheSlideChoiceMarksTheTask) {
    const std::string done = folder.folder("done");
    Open();
    EXPECT_FALSE(model.EditorDirty());
    Click("optSlideSelection0");
    Get<QSpinBox>("txtFromSlide")->setValue(4);
    Get<QSpinBox>("txtToSlide")->setValue(9);
    Click("optOutputFiles1");
    Box("chkIncludeNotesPage")->setChecked(true);
    Box("chkIncludeNotesOnly")->setChecked(true);
    Box("chkShowSlideAndShape")->setChecked(true);
    Box("chkPDFTextOnly")->setChecked(false);
    Box("chkMoveOriginalFile")->setChecked(true);
    Get<QLineEdit>("txtMoveFileToFolder")->setText(QString::fromStdString(" " + done + " "));
    const int statesBefore = view.states;
    Click("cmdApply");

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->bCancelled());
    EXPECT_EQ(model.AdvancedOptions(), Unusual(done)) << "the folder is stored trimmed";
    const MainWindowSettings& s = model.Settings();
    EXPECT_FALSE(s.bConvertAllSlides);
    EXPECT_EQ(s.lFromSlide, 4);
    EXPECT_EQ(s.lToSlide, 9);
    EXPECT_TRUE(s.bCreateFileForEachSlide);
    EXPECT_EQ(model.Editor().lToSlide, 9);
    EXPECT_EQ(model.Editor().sSlideDescription, SlideRangeDescription(false, 4, 9, true));
    EXPECT_TRUE(model.EditorDirty());
    EXPECT_GT(view.states, statesBefore) << "the commands were recomputed";
}

TEST_F(AdvancedOptionsDialogTest, WindowOptionsAloneLeaveTheTaskUnchanged) {
    Open();
    Box("chkShowSlideAndShape")->setChecked(true);
    Box("chkDeleteOriginalFile")->setChecked(true);
    Click("cmdApply");
    EXPECT_FALSE(dialog->bCancelled());
    EXPECT_TRUE(model.Settings().bShowSlideAndShape);
    EXPECT_TRUE(model.Settings().bDeleteOriginalFileAfterProcessing);
    EXPECT_FALSE(model.EditorDirty());
}

TEST_F(AdvancedOptionsDialogTest, CancelAndEscapeStoreNothing) {
    const AdvancedOptionsValues before = model.AdvancedOptions();
    for (const bool escape : {false, true}) {
        Open();
        Click("optSlideSelection0");
        Box("chkIncludeNotesPage")->setChecked(true);
        Box("chkDeleteOriginalFile")->setChecked(true);
        Box("chkPDFTextOnly")->toggle();
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            Click("cmdCancel");
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << escape;
        EXPECT_TRUE(dialog->bCancelled()) << escape;
        EXPECT_EQ(model.AdvancedOptions(), before) << escape;
        EXPECT_FALSE(model.EditorDirty()) << escape;
    }
}

TEST_F(AdvancedOptionsDialogTest, TheRangeShowsForSpecifyAndNotesOnlyFollowsNotes) {
    Open();
    EXPECT_TRUE(Get<QRadioButton>("optSlideSelection1")->isChecked());
    EXPECT_TRUE(Get<QGroupBox>("fraSlideRange")->isHidden());
    Click("optSlideSelection0");
    EXPECT_FALSE(Get<QGroupBox>("fraSlideRange")->isHidden());
    Click("optSlideSelection1");
    EXPECT_TRUE(Get<QGroupBox>("fraSlideRange")->isHidden());

    EXPECT_FALSE(Box("chkIncludeNotesOnly")->isEnabled());
    Box("chkIncludeNotesPage")->setChecked(true);
    EXPECT_TRUE(Box("chkIncludeNotesOnly")->isEnabled());
    Box("chkIncludeNotesPage")->setChecked(false);
    EXPECT_FALSE(Box("chkIncludeNotesOnly")->isEnabled());
}

TEST_F(AdvancedOptionsDialogTest, ATargetWithoutSingleFileOutputOffersOnlyFilePerSlide) {
    Open(true);
    EXPECT_FALSE(Get<QRadioButton>("optOutputFiles0")->isHidden());
    EXPECT_TRUE(Get<QRadioButton>("optOutputFiles0")->isChecked());
    Open(false);
    EXPECT_TRUE(Get<QRadioButton>("optOutputFiles0")->isHidden());
    EXPECT_TRUE(Get<QRadioButton>("optOutputFiles1")->isChecked());
    Click("cmdApply");
    EXPECT_TRUE(model.Editor().bCreateFileForEachSlide);
    EXPECT_TRUE(model.EditorDirty());

    // The model asks the component with the editor's target code.
    model.TargetTypeChosen(18);
    EXPECT_FALSE(model.TargetSupportsSingleFileOutput());
    model.TargetTypeChosen(32);
    EXPECT_TRUE(model.TargetSupportsSingleFileOutput());
}

TEST_F(AdvancedOptionsDialogTest, ThePdfPageNamesTheFormatItsOptionsAreFor) {
    model.TargetTypeChosen(32);
    Open();
    auto* notice = Get<QLabel>("lblPdfNotice");
    EXPECT_TRUE(notice->isHidden()) << "nothing is said before the page is chosen";
    Tabs()->setCurrentIndex(2);
    EXPECT_FALSE(notice->isHidden());
    EXPECT_EQ(notice->text(),
              "Please Note: The options in this tab are only used when 'Convert To File Format' is:\n"
              "[300] PDF - with options");

    model.TargetTypeChosen(kPdfWithOptionsCode);
    Open();
    Tabs()->setCurrentIndex(2);
    EXPECT_TRUE(Get<QLabel>("lblPdfNotice")->isHidden());
}

TEST_F(AdvancedOptionsDialogTest, AdvancedPdfOptionsEditTheWindowsPdfSettings) {
    Open();
    dialog->show();
    Tabs()->setCurrentIndex(2);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* pdx = qobject_cast<PdxAdvancedOptionsDialog*>(QApplication::activeModalWidget());
        if (!pdx) {
            ADD_FAILURE() << "no PDF options dialog";
            return;
        }
        seen = true;
        pdx->findChild<QCheckBox*>("chkOverrideImageSettings")->click();
        pdx->findChild<QPushButton*>("cmdApply")->click();
    });
    Click("cmdPdxAdvancedOptions");
    EXPECT_TRUE(seen);
    EXPECT_TRUE(model.Settings().pdx.bOverrideImageSettings);
    EXPECT_EQ(dialog->focusWidget(), Get<QWidget>("cmdPdxAdvancedOptions"));
}

TEST_F(AdvancedOptionsDialogTest, MoveAndDeleteExcludeEachOtherAndMoveEnablesTheFolder) {
    Open();
    auto* move = Box("chkMoveOriginalFile");
    auto* remove = Box("chkDeleteOriginalFile");
    auto* text = Get<QLineEdit>("txtMoveFileToFolder");
    auto* browse = Get<QAbstractButton>("cmdBrowseMoveFolder");
    EXPECT_FALSE(text->isEnabled());
    EXPECT_FALSE(browse->isEnabled());
    move->click();
    EXPECT_TRUE(text->isEnabled());
    EXPECT_TRUE(browse->isEnabled());
    remove->click();
    EXPECT_TRUE(remove->isChecked());
    EXPECT_FALSE(move->isChecked());
    EXPECT_FALSE(text->isEnabled());
    EXPECT_FALSE(browse->isEnabled());
    move->click();
    EXPECT_TRUE(move->isChecked());
    EXPECT_FALSE(remove->isChecked());
    EXPECT_TRUE(text->isEnabled());
}

TEST_F(AdvancedOptionsDialogTest, StoredMoveAndDeleteTogetherOpenAsMoveOnly) {
    AdvancedOptionsValues both = model.AdvancedOptions();
    both.bMoveOriginalFileAfterProcessing = both.bDeleteOriginalFileAfterProcessing = true;
    both.sMoveFileToFolder = folder.folder("done");
    model.StoreAdvancedOptions(both);
    Open();
    EXPECT_TRUE(Box("chkMoveOriginalFile")->isChecked());
    EXPECT_FALSE(Box("chkDeleteOriginalFile")->isChecked());
}

TEST_F(AdvancedOptionsDialogTest, TheFolderButtonBrowsesFromTheBoxsText) {
    const std::string start = folder.folder("start");
    Open();
    Box("chkMoveOriginalFile")->click();
    auto* text = Get<QLineEdit>("txtMoveFileToFolder");
    text->setText(QString::fromStdString(start));
    prompt.PickFolderAnswer(folder.str() + "picked");
    Click("cmdBrowseMoveFolder");
    ASSERT_EQ(prompt.folderRequests.size(), 1u);
    EXPECT_EQ(prompt.folderRequests[0].start, FolderPickerStart(start));
    EXPECT_EQ(text->text().toStdString(), folder.str() + "picked/");
    // A cancelled browser leaves the box as it was.
    prompt.PickFolderAnswer("");
    Click("cmdBrowseMoveFolder");
    EXPECT_EQ(text->text().toStdString(), folder.str() + "picked/");
}

TEST_F(AdvancedOptionsDialogTest, ABlankFolderUnchecksMoveAndClosesWithoutAMessage) {
    Open();
    Box("chkMoveOriginalFile")->click();
    Get<QLineEdit>("txtMoveFileToFolder")->setText("   ");
    Click("cmdApply");
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(Box("chkMoveOriginalFile")->isChecked());
    EXPECT_EQ(Get<QLineEdit>("txtMoveFileToFolder")->text(), "");
    EXPECT_FALSE(model.Settings().bMoveOriginalFileAfterProcessing);
    EXPECT_EQ(model.Settings().sMoveFileToFolder, "");
}

TEST_F(AdvancedOptionsDialogTest, AMissingFolderIsReportedAndTheDialogStaysOnIt) {
    const AdvancedOptionsValues before = model.AdvancedOptions();
    Open();
    dialog->show();
    Box("chkMoveOriginalFile")->click();
    auto* text = Get<QLineEdit>("txtMoveFileToFolder");
    const std::string missing = folder.str() + "nowhere";
    text->setText(QString::fromStdString(missing));
    Tabs()->setCurrentIndex(0);
    prompt.Answer(PromptAnswer::OK);
    Click("cmdApply");
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text, missing + "\r\rdoes not exist.");
    EXPECT_EQ(prompt.questions[0].buttons, PromptButtons::OK);
    EXPECT_TRUE(dialog->isVisible()) << "the dialog stays open";
    EXPECT_TRUE(dialog->bCancelled());
    EXPECT_EQ(Tabs()->currentIndex(), 3) << "the folder's page comes to the front";
    EXPECT_EQ(text->selectedText(), text->text());
    EXPECT_EQ(dialog->focusWidget(), text);
    EXPECT_EQ(model.AdvancedOptions(), before);

    // Once the folder exists the same Apply goes through.
    folder.folder("nowhere");
    Click("cmdApply");
    EXPECT_FALSE(dialog->bCancelled());
    EXPECT_EQ(model.Settings().sMoveFileToFolder, missing);
    EXPECT_TRUE(model.Settings().bMoveOriginalFileAfterProcessing);
}

TEST_F(AdvancedOptionsDialogTest, CtrlTabCyclesThePagesBothWays) {
    Open();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    Box("chkPDFTextOnly")->setFocus();
    QTest::keyClick(dialog.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Tabs()->currentIndex(), 1);
    QTest::keyClick(dialog.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(dialog.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Tabs()->currentIndex(), 3) << "back from the first page to the last";
    QTest::keyClick(dialog.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Tabs()->currentIndex(), 0) << "on from the last page to the first";
}

// The editor's button and the task row behind it.
class AdvancedOptionsButtonTest : public AdvancedOptionsDialogTest {
protected:
    TaskEditorWidget editor{model};

    void SetUp() override {
        view.editor = &editor;
        AdvancedOptionsDialogTest::SetUp();
        editor.FillLists();
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }
    void AddTaskAndSelectIt() {
        model.ActionChosen("C");
        model.MethodChosen(kMethodComponent);
        model.PathEdited(EditorPathField::Original, folder.file("in/a.ppt"));
        model.PathEdited(EditorPathField::Target, folder.str() + "out/a.pdf");
        model.TargetTypeChosen(32);
        ASSERT_TRUE(model.AddTask());
        ASSERT_TRUE(model.LeavingRow());
        model.Document().fgToDo.SetRow(1);
        model.Document().fgToDo.SelectWholeRow();
        model.CurrentRowChanged();
    }
    // Clicks the button; while its dialog is open, work runs on it.
    bool ClickAdvanced(const std::function<void(AdvancedOptionsDialog&)>& work) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* open = qobject_cast<AdvancedOptionsDialog*>(QApplication::activeModalWidget());
            if (!open) {
                ADD_FAILURE() << "no Advanced Options dialog";
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                return;
            }
            seen = true;
            work(*open);
            if (open->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                open->reject();
            }
        });
        editor.findChild<QPushButton*>("cmdAdvancedPPTOptions")->click();
        return seen;
    }
    EditorState Row(int row) {
        Grid& grid = model.Document().fgToDo;
        const int current = grid.Row();
        grid.SetRow(row);
        EditorState state;
        EXPECT_TRUE(UpdateGUI_ViaCellContents(grid, state));
        grid.SetRow(current);
        return state;
    }
};

TEST_F(AdvancedOptionsButtonTest, ApplyPutsTheSlideChoiceIntoTheTaskRow) {
    AddTaskAndSelectIt();
    auto* button = editor.findChild<QPushButton*>("cmdAdvancedPPTOptions");
    ASSERT_TRUE(button->isEnabled());
    ASSERT_TRUE(model.Controls().advancedOptionsVisible);
    EXPECT_TRUE(model.AdvancedOptionsOnDoubleClick());
    ASSERT_TRUE(Row(1).bConvertAllSlides);

    EXPECT_TRUE(ClickAdvanced([](AdvancedOptionsDialog& open) {
        open.findChild<QRadioButton*>("optSlideSelection0")->click();
        open.findChild<QSpinBox*>("txtFromSlide")->setValue(2);
        open.findChild<QSpinBox*>("txtToSlide")->setValue(5);
        open.findChild<QRadioButton*>("optOutputFiles1")->click();
        open.cmdApply_Click();
    }));
    const EditorState row = Row(1);
    EXPECT_FALSE(row.bConvertAllSlides);
    EXPECT_EQ(row.lFromSlide, 2);
    EXPECT_EQ(row.lToSlide, 5);
    EXPECT_TRUE(row.bCreateFileForEachSlide);
    EXPECT_FALSE(model.EditorDirty()) << "the update took the edit into the row";
    EXPECT_EQ(editor.focusWidget(), button) << "the focus is back on the button";
}

TEST_F(AdvancedOptionsButtonTest, CancelLeavesTheRowAndTheEditorAlone) {
    AddTaskAndSelectIt();
    const EditorState before = Row(1);
    EXPECT_TRUE(ClickAdvanced([](AdvancedOptionsDialog& open) {
        open.findChild<QRadioButton*>("optSlideSelection0")->click();
        open.findChild<QSpinBox*>("txtToSlide")->setValue(7);
        open.cmdCancel_Click();
    }));
    const EditorState after = Row(1);
    EXPECT_EQ(after.bConvertAllSlides, before.bConvertAllSlides);
    EXPECT_EQ(after.lToSlide, before.lToSlide);
    EXPECT_TRUE(model.Editor().bConvertAllSlides);
    EXPECT_FALSE(model.EditorDirty());
}

TEST_F(AdvancedOptionsButtonTest, TheDoubleClickNeedsATaskRowAConversionAndTheButton) {
    EXPECT_FALSE(model.AdvancedOptionsOnDoubleClick()) << "an empty job";
    AddTaskAndSelectIt();
    EXPECT_TRUE(model.AdvancedOptionsOnDoubleClick());
    model.ActionChosen("S");
    EXPECT_FALSE(model.AdvancedOptionsOnDoubleClick());
    model.ActionChosen("C");
    model.MethodChosen(kMethodFromPdf);
    EXPECT_FALSE(model.Controls().advancedOptionsVisible);
    EXPECT_FALSE(model.AdvancedOptionsOnDoubleClick());
}


TEST_F(AdvancedOptionsDialogTest, EveryPageShowsItsTextsWhole) {
    // Everything that can show: the range, the notice, both output choices.
    AdvancedOptionsValues v = model.AdvancedOptions();
    v.bConvertAllSlides = false;
    model.StoreAdvancedOptions(v);
    model.TargetTypeChosen(32);
    Open();
    CheckEveryPage(*dialog, *Tabs());
}


// The task grid's double click, through the main window's action.
class AdvancedOptionsDoubleClickTest : public ::testing::Test {
protected:
    TempFolder folder{"grid"};
    test::FakeRunParts parts;
    ScriptedPrompt prompt;
    std::unique_ptr<MainWindow> window;

    void SetUp() override { window = std::make_unique<MainWindow>(parts, prompt, folder.str() + "slidemill.ini"); }
    void TearDown() override {
        window.reset();
        prompt.Finish();
    }
    // Triggers the double click's action; returns whether the dialog opened (it is cancelled).
    bool DoubleClick() {
        bool opened = false;
        QTimer::singleShot(0, [&opened] {
            if (auto* open = qobject_cast<AdvancedOptionsDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                open->cmdCancel_Click();
            }
        });
        window->FindAction("actAdvancedOptions")->trigger();
        // The timer fires here when no dialog ran its own loop.
        QApplication::processEvents();
        return opened;
    }
};

TEST_F(AdvancedOptionsDoubleClickTest, OpensOnAConversionTaskOnly) {
    MainWindowModel& model = window->Model();
    EXPECT_FALSE(DoubleClick()) << "an empty job";

    model.ActionChosen("C");
    model.MethodChosen(kMethodComponent);
    model.PathEdited(EditorPathField::Original, folder.file("in/a.ppt"));
    model.PathEdited(EditorPathField::Target, folder.str() + "out/a.pdf");
    model.TargetTypeChosen(32);
    ASSERT_TRUE(model.AddTask());
    ASSERT_TRUE(model.LeavingRow());
    model.Document().fgToDo.SetRow(1);
    model.CurrentRowChanged();
    EXPECT_TRUE(DoubleClick());
    EXPECT_FALSE(model.EditorDirty()) << "a cancelled dialog changes nothing";

    model.ActionChosen("S");
    EXPECT_FALSE(DoubleClick()) << "special processing has no advanced options";
}

} // namespace
} // namespace slidemill
