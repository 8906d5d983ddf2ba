#include "run/MainWindowModel.h"

#include "TestRunControl.h"
#include "core/EditorLists.h"
#include "core/LogGrid.h"
#include "core/MruPresentation.h"
#include "core/PickerRules.h"
#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "settings/IniFile.h"
#include "support/FakeRunParts.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::FakeRunParts;
using test::ScriptedPrompt;
using test::TempFolder;
using test::TestRunControl;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The widgets' side: records what the model tells it.
class RecordingView : public MainWindowView {
public:
    int editorChanges = 0;
    int recentChanges = 0;
    int gridFocus = 0;
    std::vector<CommandStates> states;
    std::vector<std::string> captions;
    std::vector<TaskEditorField> focusedFields;
    std::vector<std::string> opened;
    bool logPage = false;
    bool visible = true;
    bool failFocus = false; // an unexpected fault inside a command

    void EditorChanged() override { ++editorChanges; }
    void CommandStatesChanged(const CommandStates& s) override { states.push_back(s); }
    void JobCaptionChanged(const std::string& caption) override { captions.push_back(caption); }
    void RecentListsChanged() override { ++recentChanges; }
    void FocusTaskGrid() override {
        ++gridFocus;
        if (failFocus)
            throw std::runtime_error("the grid is gone");
    }
    void FocusEditorField(TaskEditorField field) override { focusedFields.push_back(field); }
    bool LogPageSelected() const override { return logPage; }
    bool WindowVisible() const override { return visible; }
    void OpenExternally(const std::string& pathOrUrl) override { opened.push_back(pathOrUrl); }
};

class MainWindowModelTest : public ::testing::Test {
protected:
    TempFolder t{"window"};
    std::string settingsFile = t.str() + "slidemill.ini";
    FakeRunParts parts;
    ScriptedPrompt prompt;
    TestRunControl progress;
    RunStatus status;
    RecordingView view;
    std::unique_ptr<MainWindowModel> model;

    void SetUp() override { Open(); }
    void TearDown() override { prompt.Finish(); }

    void Open() {
        model = std::make_unique<MainWindowModel>(parts, prompt, progress, status, view, settingsFile);
        model->Load();
    }

    Grid& Tasks() { return model->Document().fgToDo; }
    EditorState& Editor() { return model->Editor(); }

    // Fills the editor with a valid conversion of in/<name>.ppt to out/<name>.pdf.
    void EditConversion(const std::string& name) {
        model->ActionChosen("C");
        model->MethodChosen(kMethodComponent);
        model->PathEdited(EditorPathField::Original, t.file("in/" + name + ".ppt"));
        model->PathEdited(EditorPathField::Target, t.str() + "out/" + name + ".pdf");
        model->TargetTypeChosen(32);
    }
    void AddConversions(const std::vector<std::string>& names) {
        for (const auto& name : names) {
            EditConversion(name);
            ASSERT_TRUE(model->AddTask()) << name;
        }
    }
    void SelectRow(int row) {
        ASSERT_TRUE(model->LeavingRow());
        Tasks().SetRow(row);
        Tasks().SelectWholeRow();
        model->CurrentRowChanged();
    }
    std::vector<std::string> Column(int col) {
        std::vector<std::string> cells;
        for (int row = 1; row < Tasks().Rows() - 1; ++row)
            cells.push_back(Tasks().CellText(row, col));
        return cells;
    }
    std::vector<std::string> Sources() {
        std::vector<std::string> names;
        for (const auto& path : Column(kColOriginal))
            names.push_back(fs::path(path).stem().string());
        return names;
    }
};

TEST_F(MainWindowModelTest, AddUpdateAndDeleteKeepTheTaskNumbersInOrder) {
    AddConversions({"a", "b", "c"});
    EXPECT_THAT(Column(kColNumber), ElementsAre("1", "2", "3"));
    EXPECT_THAT(Sources(), ElementsAre("a", "b", "c"));
    EXPECT_TRUE(model->Document().bAskToSaveMJBFileBeforeExit);
    EXPECT_FALSE(model->EditorDirty());
    EXPECT_GE(view.gridFocus, 3);
    EXPECT_EQ(model->RecentLists().mruSource.Count(), 3) << "each added original is remembered";
    EXPECT_GT(view.recentChanges, 0);

    // The second row comes into the editor; a typed target loses its quotes and is written back.
    SelectRow(2);
    EXPECT_EQ(fs::path(Editor().sOriginalFile).stem(), "b");
    EXPECT_FALSE(model->States().keyUpdate) << "nothing to update before an edit";
    model->PathEdited(EditorPathField::Target, "\"" + t.str() + "out/renamed.pdf\"");
    EXPECT_EQ(Editor().sTargetFile, t.str() + "out/renamed.pdf");
    EXPECT_TRUE(model->States().keyUpdate);
    ASSERT_TRUE(model->UpdateTask());
    EXPECT_EQ(Tasks().CellText(2, kColTarget), t.str() + "out/renamed.pdf");
    EXPECT_FALSE(model->EditorDirty());
    EXPECT_FALSE(model->States().keyUpdate);

    // Deleting the middle task renumbers the rest and loads the row that took its place.
    ASSERT_TRUE(model->DeleteTask());
    EXPECT_THAT(Column(kColNumber), ElementsAre("1", "2"));
    EXPECT_THAT(Sources(), ElementsAre("a", "c"));
    EXPECT_EQ(fs::path(Editor().sOriginalFile).stem(), "c");

    // The new-task row cannot be deleted.
    SelectRow(Tasks().Rows() - 1);
    EXPECT_FALSE(model->States().keyRemove);
    EXPECT_FALSE(model->DeleteTask());
    EXPECT_THAT(Sources(), ElementsAre("a", "c"));
}

TEST_F(MainWindowModelTest, AnAddThatFailsValidationExplainsAndAddsNothing) {
    EditConversion("a");
    model->PathEdited(EditorPathField::Original, t.str() + "in/missing.ppt");
    prompt.Answer(PromptAnswer::OK);
    EXPECT_FALSE(model->AddTask());
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(TaskCount(Tasks()), 0);
    EXPECT_TRUE(model->EditorDirty()) << "the edit stays in the editor to be fixed";
    EXPECT_FALSE(model->Document().bAskToSaveMJBFileBeforeExit);
}

TEST_F(MainWindowModelTest, AnUnexpectedFaultInAddOrUpdateIsShownAsAnError) {
    AddConversions({"a"});
    view.failFocus = true;
    EditConversion("b");
    prompt.Answer(PromptAnswer::OK);
    EXPECT_FALSE(model->AddTask());
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, "Error");
    EXPECT_EQ(prompt.questions[0].text, "AddFileToConvertGUIErr: Unable to add\r\rthe grid is gone");

    view.failFocus = false;
    SelectRow(1);
    model->PathEdited(EditorPathField::Target, t.str() + "out/other.pdf");
    view.failFocus = true;
    prompt.Answer(PromptAnswer::OK);
    EXPECT_FALSE(model->UpdateTask());
    ASSERT_EQ(prompt.questions.size(), 2u);
    EXPECT_EQ(prompt.questions[1].text, "ConversionJobUpdate: Unable to update\r\rthe grid is gone");
    view.failFocus = false;
}

TEST_F(MainWindowModelTest, MovesKeepTheNumbersAndFirstUpOrLastDownDoNothing) {
    AddConversions({"a", "b", "c"});
    SelectRow(1);
    ASSERT_TRUE(model->States().moves.has_value());
    EXPECT_FALSE(model->States().moves->upAndFirstVisible);
    EXPECT_FALSE(model->MoveTask(MoveKind::Up));
    EXPECT_FALSE(model->MoveTask(MoveKind::First));
    EXPECT_THAT(Sources(), ElementsAre("a", "b", "c"));

    EXPECT_TRUE(model->MoveTask(MoveKind::Down));
    EXPECT_THAT(Sources(), ElementsAre("b", "a", "c"));
    EXPECT_EQ(Tasks().Row(), 2);
    EXPECT_TRUE(model->MoveTask(MoveKind::Last));
    EXPECT_THAT(Sources(), ElementsAre("b", "c", "a"));
    EXPECT_EQ(Tasks().Row(), 3);
    EXPECT_FALSE(model->States().moves->downAndLastVisible);
    EXPECT_FALSE(model->MoveTask(MoveKind::Down));
    EXPECT_FALSE(model->MoveTask(MoveKind::Last));
    EXPECT_TRUE(model->MoveTask(MoveKind::First));
    EXPECT_THAT(Sources(), ElementsAre("a", "b", "c"));
    EXPECT_THAT(Column(kColNumber), ElementsAre("1", "2", "3"));
    EXPECT_FALSE(model->SuppressControlEvents()) << "control events come back after a move";
}

TEST_F(MainWindowModelTest, LeavingAnEditedRowAsksAndYesNoCancelDoWhatTheySay) {
    AddConversions({"a", "b"});
    SelectRow(1);

    model->PathEdited(EditorPathField::Target, t.str() + "out/yes.pdf");
    prompt.Answer(PromptAnswer::Yes);
    EXPECT_TRUE(model->LeavingRow());
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, "Update Conversion Item");
    EXPECT_THAT(prompt.questions[0].text, HasSubstr("#1"));
    EXPECT_EQ(prompt.questions[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(Tasks().CellText(1, kColTarget), t.str() + "out/yes.pdf");
    EXPECT_FALSE(model->EditorDirty());

    model->PathEdited(EditorPathField::Target, t.str() + "out/no.pdf");
    prompt.Answer(PromptAnswer::No);
    EXPECT_TRUE(model->LeavingRow());
    EXPECT_EQ(Tasks().CellText(1, kColTarget), t.str() + "out/yes.pdf");
    EXPECT_FALSE(model->EditorDirty());

    model->PathEdited(EditorPathField::Target, t.str() + "out/cancel.pdf");
    prompt.Answer(PromptAnswer::Cancel);
    EXPECT_FALSE(model->LeavingRow()) << "Cancel stays on the row";
    EXPECT_TRUE(model->EditorDirty());
    EXPECT_EQ(Tasks().CellText(1, kColTarget), t.str() + "out/yes.pdf");
    EXPECT_EQ(prompt.questions.size(), 3u);
}

TEST_F(MainWindowModelTest, LeavingTheOnlyTaskWritesTheEditWithoutAsking) {
    AddConversions({"a"});
    SelectRow(1);
    model->PathEdited(EditorPathField::Target, t.str() + "out/single.pdf");
    EXPECT_TRUE(model->LeavingRow());
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(Tasks().CellText(1, kColTarget), t.str() + "out/single.pdf");
}

TEST_F(MainWindowModelTest, NewOpenAndCloseAskToSaveAChangedJob) {
    AddConversions({"a", "b"});
    prompt.Answer(PromptAnswer::No);
    model->NewJob();
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, "Save");
    EXPECT_EQ(prompt.questions[0].text, "Save Conversion Job?");
    EXPECT_EQ(TaskCount(Tasks()), 0);
    EXPECT_EQ(view.captions.back(), "*");

    // Yes before an open saves the changed job under the name the user picks.
    AddConversions({"c", "d"});
    const std::string saved = t.str() + "first.MJB";
    prompt.Answer(PromptAnswer::Yes);
    prompt.PickFileAnswer(saved);
    prompt.PickFileAnswer(saved);
    EXPECT_TRUE(model->OpenJob());
    EXPECT_EQ(prompt.questions.size(), 2u);
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_THAT(Sources(), ElementsAre("c", "d"));
    EXPECT_EQ(view.captions.back(), "first.MJB");

    model->PathEdited(EditorPathField::Target, t.str() + "out/edited.pdf");
    ASSERT_TRUE(model->UpdateTask());
    prompt.Answer(PromptAnswer::No);
    EXPECT_TRUE(model->Close());
    EXPECT_EQ(prompt.questions.size(), 3u);
    EXPECT_EQ(prompt.questions.back().text, "Save Conversion Job?");
    EXPECT_EQ(parts.shutDowns, 1);
}

TEST_F(MainWindowModelTest, TheCaptionFollowsSaveAsOpenAndNew) {
    AddConversions({"a"});
    const std::string path = t.str() + "Quarterly Decks.MJB";
    prompt.PickFileAnswer(path);
    ASSERT_TRUE(model->SaveJobAs());
    ASSERT_FALSE(prompt.fileRequests.empty());
    EXPECT_TRUE(prompt.fileRequests.back().save);
    EXPECT_EQ(view.captions.back(), "Quarterly Decks.MJB");
    model->NewJob();
    EXPECT_EQ(view.captions.back(), "*");

    ASSERT_TRUE(model->OpenJob(path));
    EXPECT_EQ(view.captions.back(), "Quarterly Decks.MJB");
    EXPECT_EQ(fs::path(Editor().sOriginalFile).stem(), "a") << "the first task comes into the editor";

    // A cancelled open keeps the job and the edit of its row.
    model->PathEdited(EditorPathField::Target, t.str() + "out/typed.pdf");
    const std::size_t captions = view.captions.size();
    prompt.PickFileAnswer("");
    EXPECT_FALSE(model->OpenJob());
    EXPECT_EQ(view.captions.size(), captions);
    EXPECT_EQ(Editor().sTargetFile, t.str() + "out/typed.pdf");
    EXPECT_TRUE(model->EditorDirty());
}

TEST_F(MainWindowModelTest, RecentJobsOpenAndAMissingOneSaysSo) {
    AddConversions({"a"});
    const std::string first = t.str() + "one.MJB";
    const std::string second = t.str() + "two.MJB";
    prompt.PickFileAnswer(first);
    ASSERT_TRUE(model->SaveJobAs());
    prompt.PickFileAnswer(second);
    ASSERT_TRUE(model->SaveJobAs());
    EXPECT_EQ(MruMenuEntryPath(model->RecentLists().mruFileOpen, 1), second) << "newest first";
    EXPECT_EQ(MruMenuEntryPath(model->RecentLists().mruFileOpen, 2), first);

    ASSERT_TRUE(model->OpenRecentJob(2));
    EXPECT_EQ(view.captions.back(), "one.MJB");
    EXPECT_EQ(MruMenuEntryPath(model->RecentLists().mruFileOpen, 1), first)
        << "an opened job moves to the top";

    fs::remove(second);
    prompt.Answer(PromptAnswer::OK);
    EXPECT_FALSE(model->OpenRecentJob(2));
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text, second + " does not exist.");
    EXPECT_EQ(view.captions.back(), "one.MJB") << "the open job stays";
    EXPECT_FALSE(model->OpenRecentJob(9)) << "no such entry";
}

TEST_F(MainWindowModelTest, ARunMarksEachTaskLogsTheFailureAndRewindClearsTheMarks) {
    AddConversions({"a", "b", "c"});
    parts.component.failures[t.str() + "in/b.ppt"] = {7, "broken deck"};
    // The window's own settings win over the stored ones for the run.
    parts.settings.bShowSlideAndShape = false;
    model->Settings().bShowSlideAndShape = true;
    const int readsBefore = parts.settingsReads;

    EXPECT_EQ(model->Begin(), RunEnd::Completed);
    EXPECT_GT(parts.settingsReads, readsBefore);
    ASSERT_EQ(parts.component.calls.size(), 3u);
    EXPECT_TRUE(parts.component.calls[0].ShowSlideAndShape);
    EXPECT_THAT(Column(kColPass), ElementsAre("+", "-", "+"));
    EXPECT_EQ(Tasks().Mark(1, kColPass), CellMark::Pass);
    EXPECT_EQ(Tasks().Mark(2, kColPass), CellMark::Fail);
    const Grid& log = model->Document().fgLog;
    ASSERT_GT(log.Rows(), 2);
    bool failureLogged = false;
    for (int row = 1; row < log.Rows(); ++row)
        failureLogged =
            failureLogged || log.CellText(row, kColStatus).find("broken deck") != std::string::npos;
    EXPECT_TRUE(failureLogged);
    EXPECT_TRUE(model->States().keyRewind);
    EXPECT_TRUE(model->States().KeySaveLogAsConversionJob);
    EXPECT_FALSE(model->States().keyPause);
    const std::string logJob = t.str() + "log.MJB";
    prompt.PickFileAnswer(logJob);
    EXPECT_TRUE(model->SaveLogAsJob());
    EXPECT_TRUE(fs::exists(logJob));

    EXPECT_TRUE(model->Rewind());
    EXPECT_THAT(Column(kColPass), ElementsAre("", "", ""));
    EXPECT_EQ(Tasks().Mark(1, kColPass), CellMark::None);
    EXPECT_FALSE(model->States().keyRewind);
}

TEST_F(MainWindowModelTest, TheWindowsPdfOptionsReachThePdfStageOfItsRun) {
    test::RecordingPdfStage pdf(parts.pdfOptions);
    parts.pdf = &pdf;
    Open(); // the run takes its PDF stage when the window is made
    parts.storedPdfOptions.sPdxFontName = "Stored Font";
    parts.storedPdfOptions.sPdxPDFUserPassword = "stored";
    EditConversion("deck");
    model->TargetTypeChosen(kTargetPdfWithOptions);
    ASSERT_TRUE(model->AddTask());
    // What the dialogs set, not yet saved anywhere.
    model->Settings().pdx.bOverrideFontSettings = true;
    model->Settings().pdx.sPdxFontName = "DejaVu Serif";
    model->Settings().pdx.bOverridePDFSettings = true;
    model->Settings().pdx.sPdxPDFUserPassword = "window";

    EXPECT_EQ(model->Begin(), RunEnd::Completed);
    EXPECT_EQ(parts.pdfOptionsHandOvers, 1);
    ASSERT_EQ(pdf.seen.size(), 1u);
    EXPECT_EQ(pdf.seen[0], model->Settings().pdx);
    EXPECT_EQ(pdf.seen[0].sPdxFontName, "DejaVu Serif");
    EXPECT_EQ(pdf.seen[0].sPdxPDFUserPassword, "window");
}

TEST_F(MainWindowModelTest, APauseFromInsideASlowConversionStopsTheRun) {
    AddConversions({"a", "b", "c"});
    bool pausedInside = false;
    bool closedInside = true;
    bool pauseEnabledInside = false;
    parts.component.onConvert = [&](const ConversionProperties& p) {
        if (p.SourceFile == t.str() + "in/b.ppt") {
            pauseEnabledInside = model->States().keyPause && !model->States().keyConvert;
            closedInside = model->Close();
            pausedInside = model->Pause();
        }
    };
    EXPECT_EQ(model->Begin(), RunEnd::Paused);
    EXPECT_TRUE(pausedInside);
    EXPECT_FALSE(closedInside) << "the window stays open while a run is in progress";
    EXPECT_EQ(parts.shutDowns, 0);
    EXPECT_TRUE(pauseEnabledInside) << "only Pause is available during the run";
    EXPECT_EQ(parts.component.calls.size(), 2u) << "the third task never starts";
    EXPECT_EQ(Tasks().CellText(1, kColPass), "+");
    EXPECT_EQ(Tasks().CellText(3, kColPass), "");
    EXPECT_FALSE(model->IsRunning());
    EXPECT_TRUE(model->States().keyConvert);
    EXPECT_FALSE(model->Pause()) << "nothing left to pause";
}

TEST_F(MainWindowModelTest, TheOriginalPickerOffersItsFiltersAndRemembersTheIndex) {
    Editor().lOriginalFileType = 3;
    const std::string chosen = t.file("in/deck.ppt");
    prompt.PickFileAnswer(chosen, 5);
    model->PickFile(EditorPathField::Original);
    ASSERT_EQ(prompt.fileRequests.size(), 1u);
    EXPECT_EQ(prompt.fileRequests[0].title, "Select Original");
    EXPECT_EQ(prompt.fileRequests[0].filter, OriginalFileFilter());
    EXPECT_EQ(prompt.fileRequests[0].filterIndex, 3) << "the filter of the original format";
    EXPECT_FALSE(prompt.fileRequests[0].save);
    EXPECT_EQ(Editor().sOriginalFile, chosen);
    EXPECT_TRUE(model->EditorDirty());

    // A format outside the filters starts at the filter the user chose last time.
    Editor().lOriginalFileType = 9;
    prompt.PickFileAnswer("");
    model->PickFile(EditorPathField::Original);
    EXPECT_EQ(prompt.fileRequests[1].filterIndex, 5);
    EXPECT_EQ(Editor().sOriginalFile, chosen) << "a cancelled dialog changes nothing";

    prompt.PickFileAnswer(t.str() + "out/x.pdf");
    model->PickFile(EditorPathField::Target);
    EXPECT_EQ(prompt.fileRequests[2].title, "Select Target");
    EXPECT_EQ(prompt.fileRequests[2].filter, TargetFileFilter());
    EXPECT_EQ(Editor().sTargetFile, t.str() + "out/x.pdf");

    prompt.PickFileAnswer(t.str() + "notes.txt");
    model->PickFile(EditorPathField::OriginalSpecialized);
    EXPECT_EQ(prompt.fileRequests[3].filter, SpecialFileFilter());
    EXPECT_EQ(Editor().sOriginalFileSpecialized, t.str() + "notes.txt");
}

TEST_F(MainWindowModelTest, AFolderPickAppendsThePatternOfTheFieldsFormat) {
    t.folder("decks");
    model->PathEdited(EditorPathField::Target, t.str() + "decks/*.pdf");
    model->TargetTypeChosen(24); // PowerPoint (PPTX) in the test component
    model->ClearEditorDirty();
    prompt.PickFolderAnswer(t.str() + "chosen/");
    model->PickFolder(EditorPathField::Target);
    ASSERT_EQ(prompt.folderRequests.size(), 1u);
    EXPECT_EQ(prompt.folderRequests[0].title, "Browse For Folder");
    EXPECT_EQ(prompt.folderRequests[0].start, FolderPickerStart(t.str() + "decks/*.pdf"));
    EXPECT_EQ(Editor().sTargetFile, t.str() + "chosen/*.pptx");
    EXPECT_TRUE(model->EditorDirty());

    model->ClearEditorDirty();
    prompt.PickFolderAnswer("");
    model->PickFolder(EditorPathField::Target);
    EXPECT_EQ(Editor().sTargetFile, t.str() + "chosen/*.pptx") << "cancel changes nothing";
    EXPECT_FALSE(model->EditorDirty());
}

TEST_F(MainWindowModelTest, LaunchOpensWhatExistsAndExplainsAMissingPath) {
    const std::string deck = t.file("in/a.ppt");
    model->PathEdited(EditorPathField::Original, deck);
    model->Launch(EditorPathField::Original);
    EXPECT_THAT(view.opened, ElementsAre(deck));

    const std::string missing = "/no/such/folder/anywhere/x.ppt";
    model->PathEdited(EditorPathField::Target, missing);
    prompt.Answer(PromptAnswer::OK);
    model->Launch(EditorPathField::Target);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, "Error");
    EXPECT_EQ(prompt.questions[0].text, MissingLaunchTargetMessage(missing));
    EXPECT_EQ(view.opened.size(), 1u);
}

TEST_F(MainWindowModelTest, TheSpecialRequestOpensTheMailLinkOnlyAfterTwoOks) {
    model->ActionChosen("S");
    model->SpecialProcessChosen(kSpecialSearchReplace);
    EXPECT_EQ(Editor().lSpecialProcess, kSpecialSearchReplace);

    prompt.Answer(PromptAnswer::OK);
    prompt.Answer(PromptAnswer::OK);
    model->SpecialProcessChosen(kSpecialNotListed);
    ASSERT_EQ(prompt.questions.size(), 2u);
    EXPECT_EQ(prompt.questions[0].title, "Special Request");
    EXPECT_EQ(prompt.questions[0].text, SpecialRequestQuestion());
    EXPECT_EQ(prompt.questions[1].text, SpecialRequestDetails());
    EXPECT_EQ(prompt.questions[1].buttons, PromptButtons::OKCancel);
    EXPECT_THAT(view.opened, ElementsAre(SpecialRequestMailto()));
    EXPECT_EQ(Editor().lSpecialProcess, kSpecialSearchReplace) << "the request is no process";

    prompt.Answer(PromptAnswer::OK);
    prompt.Answer(PromptAnswer::Cancel);
    model->SpecialProcessChosen(kSpecialNotListed);
    prompt.Answer(PromptAnswer::Cancel);
    model->SpecialProcessChosen(kSpecialNotListed);
    EXPECT_EQ(prompt.questions.size(), 5u) << "a first Cancel asks nothing more";
    EXPECT_EQ(view.opened.size(), 1u);
}

TEST_F(MainWindowModelTest, EditorEventsAreIgnoredWhileSuppressedAndCharactersAppendCodes) {
    model->ClearEditorDirty();
    model->SetSuppressControlEvents(true);
    model->PathEdited(EditorPathField::Original, "ignored");
    model->CharacterPicked(false, 65);
    EXPECT_EQ(Editor().sOriginalFile, "");
    EXPECT_EQ(Editor().sFindString, "");
    EXPECT_FALSE(model->EditorDirty());
    model->SetSuppressControlEvents(false);

    model->CharacterPicked(false, 65);
    model->CharacterPicked(true, 9);
    EXPECT_EQ(Editor().sFindString, AppendCharacterCode("", 65));
    EXPECT_EQ(Editor().sReplaceString, AppendCharacterCode("", 9));
    EXPECT_TRUE(model->EditorDirty());
    EXPECT_NE(Editor().sFindString, "");
}

TEST_F(MainWindowModelTest, OptimizeIsACheckedPairThatTheComponentConfirms) {
    EXPECT_FALSE(model->OptimizeForSpeed(false));
    EXPECT_FALSE(parts.component.OptimizeForSpeed());
    EXPECT_TRUE(model->OptimizeForSpeed(true));
    EXPECT_TRUE(parts.component.OptimizeForSpeed());
    EXPECT_FALSE(model->OptimizeForSpeed(false));
}

TEST_F(MainWindowModelTest, TheEditorsChoicesAreWrittenAtCloseAndReadBackAtTheNextLoad) {
    model->ActionChosen("S");
    model->SpecialProcessChosen(kSpecialLaunch);
    Editor().lCommandLineWindowState = 3;
    Editor().lCommandLineThreadPriority = 128;
    Editor().lCommandLineWaitTime = 30;
    Editor().bDoSubfoldersSpecialized = true;
    Editor().bCaseSensitive = false;
    Editor().lSpecialFileType = 5;
    model->TargetTypeChosen(24);
    model->OptimizeForSpeed(false);
    ASSERT_TRUE(model->Close());

    parts.component.SetOptimizeForSpeed(true);
    Open();
    EXPECT_EQ(Editor().sActionToDo, "S");
    EXPECT_EQ(Editor().lSpecialProcess, kSpecialLaunch);
    EXPECT_EQ(Editor().lCommandLineWindowState, 3);
    EXPECT_EQ(Editor().lCommandLineThreadPriority, 128);
    EXPECT_EQ(Editor().lCommandLineWaitTime, 30);
    EXPECT_TRUE(Editor().bDoSubfoldersSpecialized);
    EXPECT_FALSE(Editor().bCaseSensitive);
    EXPECT_EQ(Editor().lSpecialFileType, 5);
    EXPECT_EQ(Editor().lTargetFileType, 24);
    EXPECT_FALSE(parts.component.OptimizeForSpeed());
    EXPECT_FALSE(model->EditorDirty());
    EXPECT_EQ(view.captions.back(), "*");
}

TEST_F(MainWindowModelTest, StoredListPositionsOutsideTheirListsKeepTheDefaults) {
    IniFile ini(settingsFile);
    ASSERT_TRUE(ini.Apply({{kMainWindowSection, "cbSpecialProcesses.ListIndex", "99"},
                           {kMainWindowSection, "cbCommandLineWindowState.ListIndex", "-4"},
                           {kMainWindowSection, "cbFileTypeOriginalSpecialized.ListIndex", "42"},
                           {kMainWindowSection, "cbCommandLineThreadPriority.ListIndex", "2"}}));
    Open();
    EXPECT_EQ(Editor().lSpecialProcess, kSpecialAppend);
    EXPECT_EQ(Editor().lCommandLineWindowState, WindowStateList().entries[WindowStateList().selected].value);
    EXPECT_EQ(Editor().lSpecialFileType, SpecialProcessTypeList().entries[0].value);
    EXPECT_EQ(Editor().lCommandLineThreadPriority, ThreadPriorityList().entries[2].value)
        << "a position inside its list is applied";
}

TEST_F(MainWindowModelTest, TheCommandsFollowTheJobTheTabAndTheScheduler) {
    // An empty job: nothing to delete, update or move; saving is available.
    CommandStates s = model->States();
    EXPECT_TRUE(s.keyAdd);
    EXPECT_FALSE(s.keyRemove);
    EXPECT_FALSE(s.keyUpdate);
    EXPECT_TRUE(s.KeySave);
    EXPECT_FALSE(s.KeySaveLogAsConversionJob);
    ASSERT_FALSE(view.states.empty());
    EXPECT_EQ(view.states.back(), s) << "the view is told what the model holds";

    view.logPage = true;
    model->TabSelected(1);
    EXPECT_FALSE(model->States().keyAdd);
    EXPECT_FALSE(model->AddTask());
    view.logPage = false;
    model->TabSelected(0);
    EXPECT_TRUE(model->States().keyAdd);

    // Back from the log, the task page shows its row again, unless the editor holds an edit.
    AddConversions({"x"});
    SelectRow(1);
    Editor().sTargetFile = "changed without telling";
    model->TabSelected(0);
    EXPECT_EQ(fs::path(Editor().sTargetFile).stem(), "x");
    model->PathEdited(EditorPathField::Target, t.str() + "out/kept.pdf");
    model->TabSelected(1);
    model->TabSelected(0);
    EXPECT_EQ(Editor().sTargetFile, t.str() + "out/kept.pdf");
    model->ClearEditorDirty();
    model->NewJob();

    AddConversions({"a", "b"});
    bool scheduler = true;
    model->SetSchedulerEnabledQuery([&] { return scheduler; });
    model->UpdateMenuToolbar();
    EXPECT_TRUE(model->States().keyPause);
    EXPECT_FALSE(model->States().keyConvert);
    EXPECT_FALSE(model->States().keyNew);
    EXPECT_NE(model->Begin(), RunEnd::Completed);
    EXPECT_TRUE(parts.component.calls.empty()) << "no run while the scheduler is enabled";
    model->NewJob();
    EXPECT_EQ(TaskCount(Tasks()), 2) << "New is not available while the scheduler is enabled";
}

// ---- The scheduler's side ----

class ScheduledRunTest : public MainWindowModelTest {
protected:
    bool schedulerEnabled = true;
    int schedulerStops = 0;

    void SetUp() override {
        MainWindowModelTest::SetUp();
        model->SetSchedulerEnabledQuery([this] { return schedulerEnabled; });
        model->SetSchedulerStop([this] {
            schedulerEnabled = false;
            ++schedulerStops;
        });
        model->UpdateMenuToolbar();
    }
    // A saved job of one conversion of in/<name>.ppt.
    std::string SavedJob(const std::string& name) {
        Grid grid(kTaskGridCols);
        InitTaskGrid(grid);
        clsConversionOptions task;
        task.sActionToDo = "C";
        task.lConversionMethod = kMethodComponent;
        task.sOriginalFile = t.file("in/" + name + ".ppt");
        task.lOriginalFileType = 3;
        task.sTargetFile = t.str() + "out/" + name + ".pdf";
        task.lTargetFileType = 32;
        AppendTaskRow(task, grid, &parts.component);
        const std::string path = t.str() + "jobs/" + name + ".MJB";
        fs::create_directories(t.path() / "jobs");
        EXPECT_TRUE(WriteJobFile(path, grid));
        return path;
    }
    std::vector<std::string> LogTexts() {
        const Grid& log = model->Document().fgLog;
        std::vector<std::string> texts;
        for (int row = 1; row < log.Rows(); ++row)
            if (!log.CellText(row, kColStatus).empty())
                texts.push_back(log.CellText(row, kColStatus));
        return texts;
    }
};

TEST_F(ScheduledRunTest, AWaitingScheduleLeavesOnlyPauseAndPauseEndsIt) {
    EXPECT_TRUE(model->States().keyPause);
    EXPECT_FALSE(model->States().keyConvert);
    EXPECT_FALSE(model->States().keyOpen);
    EXPECT_TRUE(model->Pause());
    EXPECT_EQ(schedulerStops, 1);
    EXPECT_TRUE(model->States().keyConvert);
    EXPECT_FALSE(model->States().keyPause);
    // With no schedule and no run there is nothing to pause.
    EXPECT_FALSE(model->Pause());
    EXPECT_EQ(schedulerStops, 1);
}

TEST_F(ScheduledRunTest, AnEditThatDoesNotValidateIsReportedAndTheJobIsStillKept) {
    schedulerEnabled = false;
    model->UpdateMenuToolbar();
    AddConversions({"mine"});
    // The new-task row holds an edit without a source: it cannot become a task.
    Tasks().SetRow(Tasks().Rows() - 1);
    model->CurrentRowChanged();
    model->PathEdited(EditorPathField::Original, "");
    ASSERT_TRUE(model->EditorDirty());
    schedulerEnabled = true;
    const std::string job = SavedJob("nightly");

    EXPECT_TRUE(model->RunScheduledJob(job)); // the scripted prompt fails on any question
    const std::vector<std::string> log = LogTexts();
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log[0].find("The task being edited does not validate and was not kept."), std::string::npos);
    EXPECT_NE(log.back().find("Unsaved Conversion Job.MJB"), std::string::npos);
    EXPECT_NE(progress.TextsOf(StatusPanel::CurrentFile).back().find("Unsaved Conversion Job.MJB"), std::string::npos);
    EXPECT_TRUE(fs::exists(t.path() / "Unsaved Conversion Job.MJB"));
    EXPECT_EQ(model->Document().sJobFile, job);
    EXPECT_FALSE(model->EditorDirty());
    ASSERT_EQ(parts.component.calls.size(), 1u);
}

TEST_F(ScheduledRunTest, ChangesThatCannotBeKeptAreNotThrownAwayTheRunIsSkipped) {
    schedulerEnabled = false;
    model->UpdateMenuToolbar();
    AddConversions({"mine"});
    schedulerEnabled = true;
    // Every recovery name is taken.
    t.file("Unsaved Conversion Job.MJB", "earlier");
    for (int n = 2; n <= 99; ++n)
        t.file("Unsaved Conversion Job (" + std::to_string(n) + ").MJB", "earlier");
    const std::string job = SavedJob("nightly");

    EXPECT_FALSE(model->RunScheduledJob(job));
    EXPECT_TRUE(parts.component.calls.empty());
    EXPECT_TRUE(model->Document().bAskToSaveMJBFileBeforeExit);
    EXPECT_EQ(Sources(), std::vector<std::string>{"mine"});
    const std::vector<std::string> log = LogTexts();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("could not be kept"), std::string::npos);
    EXPECT_NE(log.back().find(job), std::string::npos);
}

TEST(UnattendedPromptTest, AnsweredByTheUserUntilNobodyIsThereThenSafeAnswersAndKeptLines) {
    ScriptedPrompt user;
    UnattendedPrompt prompt(user);
    user.Answer(PromptAnswer::Yes);
    EXPECT_EQ(prompt.Ask("Save?", "Save", PromptButtons::YesNo, PromptIcon::Question), PromptAnswer::Yes);
    EXPECT_EQ(user.questions.size(), 1u);

    EXPECT_FALSE(prompt.SetUnattended(true));
    EXPECT_EQ(prompt.Ask("Save?", "Save", PromptButtons::YesNo, PromptIcon::Question), PromptAnswer::No);
    EXPECT_EQ(prompt.Ask("Gone:\r\r/x.MJB", "Error", PromptButtons::OK, PromptIcon::Exclamation), PromptAnswer::OK);
    EXPECT_EQ(prompt.Ask("Update?", "", PromptButtons::YesNoCancel, PromptIcon::Question), PromptAnswer::Cancel);
    FileDialogRequest request;
    request.title = "Open Conversion Job";
    EXPECT_EQ(prompt.PickFile(request), "");
    EXPECT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(prompt.TakeMessages(),
              (std::vector<std::string>{"Save?", "Gone: /x.MJB", "Update?", "Open Conversion Job"}));
    EXPECT_TRUE(prompt.TakeMessages().empty());
    EXPECT_TRUE(prompt.SetUnattended(false));
    user.Finish();
}

} // namespace
} // namespace slidemill
