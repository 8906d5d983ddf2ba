// The main window's side of the "Advanced Options" dialog: where its values come from and go.
#include "run/MainWindowModel.h"

#include "TestRunControl.h"
#include "core/EditorCells.h"
#include "core/TaskGrid.h"
#include "settings/IniFile.h"
#include "support/FakeRunParts.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace slidemill {
namespace {

class CountingView : public MainWindowView {
public:
    int editorChanges = 0;
    int states = 0;
    void EditorChanged() override { ++editorChanges; }
    void CommandStatesChanged(const CommandStates&) override { ++states; }
    void JobCaptionChanged(const std::string&) override {}
    void RecentListsChanged() override {}
    void FocusTaskGrid() override {}
    void FocusEditorField(TaskEditorField) override {}
    bool LogPageSelected() const override { return false; }
    bool WindowVisible() const override { return true; }
    void OpenExternally(const std::string&) override {}
};

class AdvancedOptionsModelTest : public ::testing::Test {
protected:
    test::TempFolder t{"advanced"};
    std::string settingsFile = t.str() + "slidemill.ini";
    test::FakeRunParts parts;
    test::ScriptedPrompt prompt;
    test::TestRunControl progress;
    RunStatus status;
    CountingView view;
    std::unique_ptr<MainWindowModel> model;

    void TearDown() override { prompt.Finish(); }
    void Open() {
        model = std::make_unique<MainWindowModel>(parts, prompt, progress, status, view, settingsFile);
        model->Load();
    }
    Grid& Tasks() { return model->Document().fgToDo; }
    void AddTaskAndSelectIt() {
        model->ActionChosen("C");
        model->MethodChosen(kMethodComponent);
        model->PathEdited(EditorPathField::Original, t.file("in/a.ppt"));
        model->PathEdited(EditorPathField::Target, t.str() + "out/a.pdf");
        model->TargetTypeChosen(32);
        ASSERT_TRUE(model->AddTask());
        ASSERT_TRUE(model->LeavingRow());
        Tasks().SetRow(1);
        Tasks().SelectWholeRow();
        model->CurrentRowChanged();
    }
    EditorState Row(int row) {
        const int current = Tasks().Row();
        Tasks().SetRow(row);
        EditorState state;
        EXPECT_TRUE(UpdateGUI_ViaCellContents(Tasks(), state));
        Tasks().SetRow(current);
        return state;
    }
};

TEST_F(AdvancedOptionsModelTest, TheDialogStartsFromTheStoredSettings) {
    IniFile ini(settingsFile);
    for (const auto& [key, value] :
         {std::pair<const char*, const char*>{"bConvertAllSlides", "False"}, {"lFromSlide", "3"}, {"lToSlide", "8"},
          {"bCreateFileForEachSlide", "True"}, {"bIncludeNotesPage", "True"}, {"bIncludeNotesOnly", "True"},
          {"bShowSlideAndShape", "True"}, {"bPDFTextOnly", "False"}, {"bMoveOriginalFileAfterProcessing", "True"},
          {"sMoveFileToFolder", "/srv/done"}, {"bDeleteOriginalFileAfterProcessing", "False"}})
        ASSERT_TRUE(ini.WriteString(kMainWindowSection, key, value)) << key;
    Open();
    const AdvancedOptionsValues v = model->AdvancedOptions();
    EXPECT_FALSE(v.bConvertAllSlides);
    EXPECT_EQ(v.lFromSlide, 3);
    EXPECT_EQ(v.lToSlide, 8);
    EXPECT_TRUE(v.bCreateFileForEachSlide);
    EXPECT_TRUE(v.bIncludeNotesPage);
    EXPECT_TRUE(v.bIncludeNotesOnly);
    EXPECT_TRUE(v.bShowSlideAndShape);
    EXPECT_FALSE(v.bPDFTextOnly);
    EXPECT_TRUE(v.bMoveOriginalFileAfterProcessing);
    EXPECT_EQ(v.sMoveFileToFolder, "/srv/done");
    EXPECT_FALSE(v.bDeleteOriginalFileAfterProcessing);
}

TEST_F(AdvancedOptionsModelTest, StoredOptionsGoIntoTheRowOnUpdateAndIntoTheSettingsAtClose) {
    Open();
    AddTaskAndSelectIt();
    ASSERT_TRUE(Row(1).bConvertAllSlides);
    EXPECT_FALSE(model->States().keyUpdate);

    AdvancedOptionsValues v = model->AdvancedOptions();
    v.bConvertAllSlides = false;
    v.lFromSlide = 2;
    v.lToSlide = 6;
    v.bCreateFileForEachSlide = true;
    v.bIncludeNotesPage = true;
    v.bDeleteOriginalFileAfterProcessing = true;
    const int changes = view.editorChanges;
    model->StoreAdvancedOptions(v);
    EXPECT_GT(view.editorChanges, changes) << "the slide description is shown again";
    EXPECT_EQ(model->Editor().sSlideDescription, SlideRangeDescription(false, 2, 6, true));
    EXPECT_TRUE(model->EditorDirty());
    EXPECT_TRUE(model->States().keyUpdate) << "the rules were recomputed";

    ASSERT_TRUE(model->UpdateTask());
    const EditorState row = Row(1);
    EXPECT_FALSE(row.bConvertAllSlides);
    EXPECT_EQ(row.lFromSlide, 2);
    EXPECT_EQ(row.lToSlide, 6);
    EXPECT_TRUE(row.bCreateFileForEachSlide);

    ASSERT_TRUE(model->Close());
    Open();
    EXPECT_EQ(model->AdvancedOptions(), v) << "the next window starts where this one stopped";
}

TEST_F(AdvancedOptionsModelTest, OnlyASlideChoiceChangeMarksTheTask) {
    Open();
    AddTaskAndSelectIt();
    AdvancedOptionsValues v = model->AdvancedOptions();
    v.bShowSlideAndShape = !v.bShowSlideAndShape;
    v.bPDFTextOnly = !v.bPDFTextOnly;
    v.bMoveOriginalFileAfterProcessing = true;
    v.sMoveFileToFolder = t.str();
    model->StoreAdvancedOptions(v);
    EXPECT_FALSE(model->EditorDirty());
    EXPECT_EQ(model->AdvancedOptions(), v);
    EXPECT_EQ(model->Settings().bPDFTextOnly, v.bPDFTextOnly);

    // Storing the same slide choice again is no change either.
    model->StoreAdvancedOptions(model->AdvancedOptions());
    EXPECT_FALSE(model->EditorDirty());
}

TEST_F(AdvancedOptionsModelTest, TheDoubleClickAsksForAConversionTaskRow) {
    Open();
    EXPECT_FALSE(model->AdvancedOptionsOnDoubleClick()) << "the empty job's first row";
    AddTaskAndSelectIt();
    EXPECT_TRUE(model->AdvancedOptionsOnDoubleClick());
    Tasks().SetRow(Tasks().Rows() - 1);
    EXPECT_FALSE(model->AdvancedOptionsOnDoubleClick()) << "the new-task row";
    Tasks().SetRow(1);
    model->ActionChosen("S");
    EXPECT_FALSE(model->AdvancedOptionsOnDoubleClick()) << "special processing";
}

TEST_F(AdvancedOptionsModelTest, ThePdfNoticeAndSingleFileOutputFollowTheTarget) {
    Open();
    model->TargetTypeChosen(32);
    EXPECT_NE(model->AdvancedPdfNotice(), "");
    EXPECT_TRUE(model->TargetSupportsSingleFileOutput());
    model->TargetTypeChosen(300);
    EXPECT_EQ(model->AdvancedPdfNotice(), "");
    model->TargetTypeChosen(18);
    EXPECT_FALSE(model->TargetSupportsSingleFileOutput());
}

} // namespace
} // namespace slidemill
