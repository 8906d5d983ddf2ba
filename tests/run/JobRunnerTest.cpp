#include "run/JobRunner.h"

#include "cli/SchedulerWiring.h"
#include "core/FileTypes.h"
#include "core/JobFile.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "run/PdfStage.h"
#include "run/SpecialProcessor.h"
#include "sched/ScheduleTimer.h"
#include "sched/Scheduler.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace slidemill {
namespace {

using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The window's message pump and status bar: records every panel text.
class PanelRecorder : public RunControl {
public:
    std::vector<std::pair<StatusPanel, std::string>> texts;
    std::function<void()> onCheckpoint;
    void Checkpoint() override {
        if (onCheckpoint)
            onCheckpoint();
    }
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        texts.emplace_back(panel, text);
    }
    std::string Last(StatusPanel panel) const {
        for (auto it = texts.rbegin(); it != texts.rend(); ++it)
            if (it->first == panel)
                return it->second;
        return "<never set>";
    }
};

class StatusRecorder : public RunStatus {
public:
    std::vector<StatePicture> pictures;
    bool timerOn = false;
    bool minimised = false;
    int alerts = 0;
    void SetStatePicture(StatePicture picture) override { pictures.push_back(picture); }
    void StartBlinkTimer() override { timerOn = true; }
    void StopBlinkTimer() override { timerOn = false; }
    bool FrameMinimised() const override { return minimised; }
    void AlertFrame() override { ++alerts; }
};

class ScriptedHost : public RunHost {
public:
    bool visible = false;
    bool scheduler = false;
    bool dirty = false;
    bool updateSucceeds = true;
    bool addSucceeds = false;
    int updates = 0;
    int schedulerStops = 0;
    bool WindowVisible() const override { return visible; }
    bool SchedulerEnabled() const override { return scheduler; }
    bool EditorDirty() const override { return dirty; }
    bool UpdateCurrentRowFromEditor() override {
        ++updates;
        dirty = false;
        return updateSucceeds;
    }
    void ClearEditorDirty() override { dirty = false; }
    bool AddEditorTask() override { return addSucceeds; }
    void StopScheduler() override { ++schedulerStops; }
};

class ScriptedAnswers : public Prompt {
public:
    std::vector<std::string> questions;
    PromptAnswer answer = PromptAnswer::Cancel;
    PromptAnswer Ask(const std::string& text, const std::string&, PromptButtons, PromptIcon) override {
        questions.push_back(text);
        return answer;
    }
    std::string PickFile(FileDialogRequest&) override { return {}; }
};

// Stands in for the special processes: records what it is given and answers as told.
class FakeSpecial : public SpecialProcessor {
public:
    std::vector<std::pair<int32_t, std::string>> calls; // job number, source
    std::function<int32_t(RunLog&, int32_t, clsConversionOptions&)> answer;
    int32_t PerformBlockSpecialized(ConversionContext&, RunLog& log, int32_t lJobNumber,
                                    clsConversionOptions& coBlock) override {
        calls.emplace_back(lJobNumber, coBlock.sOriginalFile);
        return answer ? answer(log, lJobNumber, coBlock) : 0;
    }
};

class JobRunnerTest : public ::testing::Test {
protected:
    TempFolder t;
    test::FakeComponent component;
    PanelRecorder panels;
    RunState state{panels};
    ScriptedAnswers prompt;
    ScriptedHost host;
    StatusRecorder status;
    UnavailablePdfStage pdf;
    JobDocument document{prompt, state, &host};
    JobRunner runner{document, state, component, pdf, prompt, host, status};

    Grid& tasks() { return document.fgToDo; }
    Grid& log() { return document.fgLog; }

    // A single-file conversion task of a source that exists; returns its source.
    std::string AddConversion(const std::string& name) {
        clsConversionOptions task;
        task.sOriginalFile = t.file("in/" + name + ".pptx");
        task.lOriginalFileType = 3;
        task.sTargetFile = t.str() + "out/" + name + ".pdf";
        task.lTargetFileType = 32;
        AppendTaskRow(task, tasks(), &component);
        return task.sOriginalFile;
    }

    // A special process (55) from a text file to another; returns the task.
    clsConversionOptions AddSpecialProcess() {
        clsConversionOptions task;
        task.sActionToDo = "S55";
        task.lSpecialProcess = 55;
        task.lConversionMethod = kMethodSpecial;
        task.sOriginalFile = t.file("a.txt");
        task.lOriginalFileType = 1;
        task.sTargetFile = t.str() + "b.txt";
        task.lTargetFileType = 1;
        AppendTaskRow(task, tasks(), &component);
        return task;
    }

    // A conversion of every .pptx of a folder of `files` presentations.
    void AddFolderConversion(const std::string& folder, int files) {
        for (int i = 1; i <= files; ++i)
            t.file(folder + "/p" + std::to_string(i) + ".pptx");
        clsConversionOptions task;
        task.sOriginalFile = t.str() + folder + "/*.pptx";
        task.lOriginalFileType = 3;
        task.sTargetFile = t.str() + "out/" + folder + "/*.pdf";
        task.lTargetFileType = 32;
        AppendTaskRow(task, tasks(), &component);
    }

    std::vector<std::string> PassCells() const {
        std::vector<std::string> cells;
        for (int row = 1; row <= TaskCount(document.fgToDo); ++row)
            cells.push_back(document.fgToDo.CellText(row, kColPass));
        return cells;
    }

    std::vector<std::string> ConvertedSources() const {
        std::vector<std::string> sources;
        for (const auto& call : component.calls)
            sources.push_back(call.SourceFile);
        return sources;
    }

    int LogEntries() const { return document.fgLog.Rows() - 2; }
};

TEST_F(JobRunnerTest, PauseDuringTaskThreeOfFiveResumesAtTaskFour) {
    std::vector<std::string> sources;
    for (const char* name : {"a", "b", "c", "d", "e"})
        sources.push_back(AddConversion(name));
    component.onConvert = [&](const ConversionProperties& p) {
        if (p.SourceFile == sources[2]) {
            EXPECT_TRUE(runner.ConversionJobPause());
        }
    };

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Paused);
    EXPECT_THAT(PassCells(), ElementsAre("+", "+", "+", "", ""));
    EXPECT_EQ(tasks().Mark(3, kColPass), CellMark::Pass);
    EXPECT_THAT(ConvertedSources(), ElementsAre(sources[0], sources[1], sources[2]));
    EXPECT_EQ(panels.Last(StatusPanel::State), "Pause");
    EXPECT_FALSE(runner.Running());

    component.onConvert = nullptr;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_THAT(PassCells(), ElementsAre("+", "+", "+", "+", "+"));
    EXPECT_THAT(ConvertedSources(), ElementsAre(sources[0], sources[1], sources[2], sources[3], sources[4]));
}

TEST_F(JobRunnerTest, PauseInsideAFileListResumesThatTaskWhereItStopped) {
    AddFolderConversion("deck", 5);
    const std::string last = AddConversion("single");
    component.onConvert = [&](const ConversionProperties&) {
        if (component.calls.size() == 3)
            runner.ConversionJobPause();
    };

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Paused);
    // The list stopped after its third file: the task is not done and must not look passed.
    EXPECT_THAT(PassCells(), ElementsAre("", ""));
    EXPECT_EQ(runner.ResumeFileIndex(), 3);

    component.onConvert = nullptr;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_THAT(PassCells(), ElementsAre("+", "+"));
    // The resumed walk repeats the last file started, then reaches the two it never did.
    const auto sources = ConvertedSources();
    ASSERT_EQ(sources.size(), 7u);
    EXPECT_EQ(sources[3], sources[2]);
    EXPECT_EQ(std::set<std::string>(sources.begin(), sources.begin() + 6).size(), 5u);
    EXPECT_EQ(sources[6], last);
    EXPECT_EQ(runner.ResumeFileIndex(), 0);
}

TEST_F(JobRunnerTest, ResumePositionOfAFinishedListIsNotCarriedToTheNextTask) {
    AddFolderConversion("one", 3);
    AddFolderConversion("two", 3);
    component.onConvert = [&](const ConversionProperties&) {
        if (component.calls.size() == 3) // the last file of the first list
            runner.ConversionJobPause();
    };
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Paused);
    EXPECT_THAT(PassCells(), ElementsAre("+", ""));

    component.onConvert = nullptr;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    // All three files of the second list, from its first.
    EXPECT_EQ(component.calls.size(), 6u);
}

TEST_F(JobRunnerTest, MinusOneStopsTheWholeRun) {
    AddConversion("a");
    const std::string b = AddConversion("b");
    AddConversion("c");
    AddConversion("d");
    component.failures[b] = {-1, "The renderer cannot work"};

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Stopped);
    EXPECT_THAT(PassCells(), ElementsAre("+", "-", "", ""));
    EXPECT_EQ(component.calls.size(), 2u);
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColStatus), "The renderer cannot work");
    EXPECT_NE(panels.Last(StatusPanel::State), " 100 Percent Complete ");
    EXPECT_EQ(panels.Last(StatusPanel::CurrentFile), "!!! Error:  The renderer cannot work");
}

TEST_F(JobRunnerTest, PauseDuringAFailingTaskStillEndsTheRun) {
    AddConversion("a");
    const std::string b = AddConversion("b");
    AddConversion("c");
    component.failures[b] = {5, "broken"};
    component.onConvert = [&](const ConversionProperties& p) {
        if (p.SourceFile == b)
            runner.ConversionJobPause();
    };
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Paused);
    EXPECT_THAT(PassCells(), ElementsAre("+", "-", ""));
    EXPECT_EQ(component.calls.size(), 2u);
}

TEST_F(JobRunnerTest, FullRunShowsCompletionAndBlinksFourTicks) {
    AddConversion("a");
    AddConversion("b");
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_EQ(panels.Last(StatusPanel::State), " 100 Percent Complete ");
    EXPECT_EQ(panels.Last(StatusPanel::TaskNumber), "-");
    ASSERT_FALSE(status.pictures.empty());
    EXPECT_EQ(status.pictures.back(), StatePicture::Done);
    ASSERT_TRUE(status.timerOn);

    status.pictures.clear();
    for (int tick = 0; tick < 5; ++tick)
        runner.CompletionBlinkTick();
    EXPECT_THAT(status.pictures, ElementsAre(StatePicture::DoneAlternate, StatePicture::Done,
                                             StatePicture::DoneAlternate, StatePicture::Done));
    EXPECT_FALSE(status.timerOn);
}

TEST_F(JobRunnerTest, CompletionBlinkAlertsAMinimisedWindowAndRewindStopsIt) {
    AddConversion("a");
    ASSERT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    status.minimised = true;
    status.pictures.clear();
    runner.CompletionBlinkTick();
    EXPECT_EQ(status.alerts, 1);
    EXPECT_TRUE(status.pictures.empty());

    EXPECT_TRUE(runner.ConversionJobRewind());
    EXPECT_FALSE(status.timerOn);
    runner.CompletionBlinkTick();
    EXPECT_EQ(status.alerts, 1);
}

TEST_F(JobRunnerTest, ScheduledAndCommandLineRunsDoNotBlink) {
    AddConversion("a");
    host.scheduler = true;
    ASSERT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_FALSE(status.timerOn);
    EXPECT_EQ(panels.Last(StatusPanel::State), " 100 Percent Complete ");

    host.scheduler = false;
    document.bCommandLineMode = true;
    panels.texts.clear();
    ASSERT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_FALSE(status.timerOn);
    EXPECT_NE(panels.Last(StatusPanel::State), " 100 Percent Complete ");
}

TEST_F(JobRunnerTest, FailedFilesGiveOneLogRowEachWithTheTaskCells) {
    AddConversion("a");
    const std::string b = AddConversion("b");
    component.failures[b] = {7, "cannot\r\nread it"};
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_THAT(PassCells(), ElementsAre("+", "-"));

    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColOptions), tasks().CellText(2, kColOptions));
    EXPECT_EQ(log().CellText(1, kColNumber), "2");
    EXPECT_EQ(log().CellText(1, kColAction), "C");
    EXPECT_EQ(log().CellText(1, kColOriginal), b);
    EXPECT_EQ(log().CellText(1, kColOriginalType), "3");
    EXPECT_EQ(log().CellText(1, kColTarget), t.str() + "out/b.pdf");
    EXPECT_EQ(log().CellText(1, kColTargetType), "32");
    EXPECT_EQ(log().CellText(1, kColTargetTypeText), "pdf");
    EXPECT_EQ(log().CellText(1, kColPass), "-");
    EXPECT_EQ(log().Mark(1, kColPass), CellMark::Fail);
    EXPECT_EQ(log().CellText(1, kColStatus), "cannot  read it");
    // The trailing empty row stays last.
    EXPECT_EQ(log().CellText(2, kColNumber), "");

    // An unattended run logs the message as the component gave it.
    document.bCommandLineMode = true;
    ASSERT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColStatus), "cannot\r\nread it");
}

TEST_F(JobRunnerTest, EveryFailingFileOfAListIsLoggedAndTheTaskFails) {
    AddFolderConversion("deck", 4);
    component.onConvert = [&](const ConversionProperties& p) {
        if (p.SourceFile.ends_with("p2.pptx") || p.SourceFile.ends_with("p4.pptx"))
            component.failures[p.SourceFile] = {9, "bad slide"};
    };
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_THAT(PassCells(), ElementsAre("-"));
    ASSERT_EQ(LogEntries(), 2);
    std::set<std::string> logged{log().CellText(1, kColOriginal), log().CellText(2, kColOriginal)};
    EXPECT_EQ(logged, (std::set<std::string>{t.str() + "deck/p2.pptx", t.str() + "deck/p4.pptx"}));
    EXPECT_EQ(log().CellText(1, kColTarget).ends_with(".pdf"), true);
    EXPECT_EQ(log().CellText(1, kColNumber), "1");
}

TEST_F(JobRunnerTest, MalformedRowFailsWithoutRunningAndTheRunGoesOn) {
    const std::string a = AddConversion("a");
    const std::string b = AddConversion("b");
    const std::string c = AddConversion("c");
    tasks().SetCell(2, kColTargetType, "");
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_THAT(ConvertedSources(), ElementsAre(a, c));
    EXPECT_THAT(PassCells(), ElementsAre("+", "-", "+"));
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColNumber), "2");
    EXPECT_EQ(log().CellText(1, kColOriginal), b);
    EXPECT_THAT(log().CellText(1, kColStatus), HasSubstr("not valid"));
}

TEST_F(JobRunnerTest, MalformedRowDoesNotBorrowThePreviousTask) {
    AddConversion("a");
    AddConversion("b");
    tasks().SetCell(2, kColTargetType, "");
    tasks().SetCell(2, kColTarget, "");
    runner.ConversionJobBegin();
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColTarget), "");
    EXPECT_EQ(component.calls.size(), 1u);
}

TEST_F(JobRunnerTest, AJobWithEveryResultStartsAgainAtTaskOne) {
    AddConversion("a");
    AddConversion("b");
    ASSERT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    const std::string b = tasks().CellText(2, kColOriginal);
    component.failures[b] = {4, "now broken"};
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_EQ(component.calls.size(), 4u);
    EXPECT_THAT(PassCells(), ElementsAre("+", "-"));
}

TEST_F(JobRunnerTest, RewindClearsMarksResumePositionAndLog) {
    AddConversion("a");
    AddFolderConversion("deck", 5);
    AddConversion("b");
    component.onConvert = [&](const ConversionProperties& p) {
        if (component.calls.size() == 2)
            component.failures[p.SourceFile] = {3, "bad"};
        if (component.calls.size() == 4)
            runner.ConversionJobPause();
    };
    ASSERT_EQ(runner.ConversionJobBegin(), RunEnd::Paused);
    ASSERT_THAT(PassCells(), ElementsAre("+", "", ""));
    ASSERT_EQ(LogEntries(), 1);
    ASSERT_EQ(runner.ResumeFileIndex(), 3);

    document.toDoView.TakeScrollRequest();
    EXPECT_TRUE(runner.ConversionJobRewind());
    EXPECT_THAT(PassCells(), ElementsAre("", "", ""));
    EXPECT_EQ(tasks().Mark(1, kColPass), CellMark::None);
    const std::optional<GridScrollRequest> scroll = document.toDoView.TakeScrollRequest();
    ASSERT_TRUE(scroll.has_value()) << "the task view is not brought back to the current row";
    EXPECT_EQ(scroll->row, tasks().Row());
    EXPECT_EQ(runner.ResumeFileIndex(), 0);
    EXPECT_EQ(log().Rows(), 2);
    EXPECT_EQ(panels.Last(StatusPanel::State), "");

    // The next run starts with the first task and the first file of the list.
    component.onConvert = nullptr;
    component.calls.clear();
    ASSERT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_EQ(component.calls.size(), 7u);
}

TEST_F(JobRunnerTest, ASecondRunWhileOneIsInProgressIsRefused) {
    AddConversion("a");
    AddConversion("b");
    RunEnd nested = RunEnd::Completed;
    bool rewound = true;
    bool scheduled = true;
    bool single = true;
    component.onConvert = [&](const ConversionProperties&) {
        if (component.calls.size() != 1)
            return;
        nested = runner.ConversionJobBegin();
        rewound = runner.ConversionJobRewind();
        scheduled = runner.RunJobFile(t.str() + "none.MJB");
        clsConversionOptions task;
        int32_t result = 0;
        single = runner.PerformSingleTask(task, result);
    };
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_EQ(nested, RunEnd::Busy);
    EXPECT_FALSE(rewound);
    EXPECT_FALSE(scheduled);
    EXPECT_FALSE(single);
    EXPECT_EQ(component.calls.size(), 2u);
    EXPECT_THAT(PassCells(), ElementsAre("+", "+"));
    EXPECT_FALSE(runner.ConversionJobPause()); // nothing runs any more
}

TEST_F(JobRunnerTest, DirtyEditorIsOfferedBeforeTheRun) {
    AddConversion("a");
    AddConversion("b");
    tasks().SetRow(2);
    host.dirty = true;

    prompt.answer = PromptAnswer::Cancel;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Cancelled);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_THAT(prompt.questions[0], HasSubstr("conversion item #2"));
    EXPECT_TRUE(component.calls.empty());
    EXPECT_FALSE(runner.Running());

    prompt.answer = PromptAnswer::Yes;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_EQ(host.updates, 1);

    // A change that cannot be written back does not start the run either.
    runner.ConversionJobRewind();
    host.dirty = true;
    host.updateSucceeds = false;
    component.calls.clear();
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Cancelled);
    EXPECT_TRUE(component.calls.empty());
}

TEST_F(JobRunnerTest, SingleTaskChangeIsWrittenBackWithoutAsking) {
    AddConversion("a");
    host.dirty = true;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(host.updates, 1);
}

TEST_F(JobRunnerTest, VisibleWindowWithoutTasksNeedsTheEditorsTask) {
    host.visible = true;
    host.addSucceeds = false;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Cancelled);
    EXPECT_FALSE(runner.Running());
}

TEST_F(JobRunnerTest, SpecialProcessWithoutProcessorFailsClearly) {
    const clsConversionOptions task = AddSpecialProcess();

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_THAT(PassCells(), ElementsAre("-"));
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_THAT(log().CellText(1, kColStatus), HasSubstr("not available"));

    FakeSpecial special;
    runner.SetSpecialProcessor(&special);
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_THAT(PassCells(), ElementsAre("+"));
    ASSERT_EQ(special.calls.size(), 1u);
    EXPECT_EQ(special.calls[0].second, task.sOriginalFile);
}

TEST_F(JobRunnerTest, TheRendererStartsAsARunWithAConversionBeginsAndOnlyThen) {
    AddSpecialProcess();
    FakeSpecial processor;
    runner.SetSpecialProcessor(&processor);
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_TRUE(component.startUps.empty()) << "a job without conversions needs no renderer";

    // The run goes on at the conversion added since: the renderer starts before it converts.
    AddConversion("deck");
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    ASSERT_FALSE(component.startUps.empty());
    EXPECT_EQ(component.startUps.front().conversions, 1);
    EXPECT_EQ(component.startUps.front().convertedBefore, 0u);
    EXPECT_EQ(component.calls.size(), 1u);

    // The same for a single task run on its own, as the command line runs /S lines.
    component.startUps.clear();
    const size_t before = component.calls.size();
    clsConversionOptions single;
    single.sOriginalFile = t.file("in/alone.pptx");
    single.lOriginalFileType = 3;
    single.sTargetFile = t.str() + "out/alone.pdf";
    single.lTargetFileType = 32;
    single.sActionToDo = "C";
    int32_t result = -99;
    ASSERT_TRUE(runner.PerformSingleTask(single, result));
    EXPECT_EQ(result, 0);
    ASSERT_EQ(component.startUps.size(), 1u);
    EXPECT_EQ(component.startUps.front().convertedBefore, before);
    EXPECT_EQ(component.calls.size(), before + 1);
}

TEST_F(JobRunnerTest, LaunchExitCodeIsLoggedAsPassed) {
    clsConversionOptions launch;
    int32_t result = -99;
    launch.sActionToDo = "S60";
    launch.lSpecialProcess = 60;
    launch.sOriginalFile = "/bin/true";
    launch.lCommandLineExitCode = 3;
    FakeSpecial special;
    special.answer = [](RunLog& log, int32_t job, clsConversionOptions& record) {
        log.LogExitCode(job, record);
        return 0;
    };
    runner.SetSpecialProcessor(&special);
    ASSERT_TRUE(runner.PerformSingleTask(launch, result));
    EXPECT_EQ(result, 0);
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColStatus), "Exit Code: 3");
    EXPECT_EQ(log().CellText(1, kColPass), "+");
    EXPECT_EQ(log().Mark(1, kColPass), CellMark::Pass);
    EXPECT_EQ(log().CellText(1, kColOriginalTypeText), "");
    EXPECT_EQ(log().CellText(1, kColNumber), "1");
    EXPECT_FALSE(runner.Running());
}

TEST_F(JobRunnerTest, FolderTokensAreExpandedBeforeTheTaskRuns) {
    const std::string home = t.folder("home");
    clsConversionOptions task;
    task.sOriginalFile = "~/deck.pptx";
    t.file("home/deck.pptx");
    task.lOriginalFileType = 3;
    task.sTargetFile = "~/deck.pdf";
    task.lTargetFileType = 32;
    const std::string previousHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", t.str().append("home").c_str(), 1);
    int32_t result = -99;
    const bool ran = runner.PerformSingleTask(task, result);
    setenv("HOME", previousHome.c_str(), 1);
    ASSERT_TRUE(ran);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].SourceFile, t.str() + "home/deck.pptx");
}

// A long job: the loader ends each slice with a reload task, which the runner follows.
class SlicedJob : public JobRunnerTest {
protected:
    FakeSpecial special;
    std::string jobFile;

    void SetUp() override {
        runner.SetSpecialProcessor(&special);
        Grid one{kTaskGridCols};
        InitTaskGrid(one);
        clsConversionOptions task;
        task.sActionToDo = "S55";
        task.lSpecialProcess = 55;
        task.lConversionMethod = kMethodSpecial;
        task.lOriginalFileType = 1;
        task.lTargetFileType = 1;
        task.sTargetFile = "/x/out.txt";
        task.sOriginalFile = "@";
        AppendTaskRow(task, one, nullptr);
        const std::string line = one.RowText(1);
        const auto at = line.find('@');
        jobFile = t.str() + "long.MJB";
        std::ofstream out(jobFile, std::ios::binary);
        for (int k = 1; k <= 40000; ++k)
            out << line.substr(0, at) << "/x/f" << k << ".txt" << line.substr(at + 1) << "\t\r\n";
    }
};

TEST_F(SlicedJob, ReloadTaskCarriesTheRunThroughEverySlice) {
    ASSERT_TRUE(document.ConversionJobOpen(jobFile));
    ASSERT_EQ(TaskCount(tasks()), 30000);
    ASSERT_TRUE(IsReloadTaskRow(tasks(), 30000));
    special.answer = [](RunLog& log, int32_t job, clsConversionOptions& record) {
        if (record.sOriginalFile != "/x/f30005.txt")
            return 0;
        record.lErr = 2;
        record.sErr = "cannot open";
        log.LogConversionError(job, record);
        return 2;
    };

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    ASSERT_EQ(special.calls.size(), 40000u);
    for (int k = 1; k <= 40000; ++k)
        ASSERT_EQ(special.calls[k - 1].second, "/x/f" + std::to_string(k) + ".txt") << k;
    // The grid holds the last slice, every task of it marked.
    ASSERT_EQ(TaskCount(tasks()), 10001);
    EXPECT_EQ(tasks().CellText(1, kColNumber), "30000");
    EXPECT_EQ(tasks().CellText(10001, kColPass), "+");
    EXPECT_EQ(tasks().CellText(6, kColPass), "-");
    // The log names the task by its number in the whole job.
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColNumber), "30005");
    EXPECT_EQ(panels.Last(StatusPanel::State), " 100 Percent Complete ");
}

TEST_F(SlicedJob, ReloadOfAMissingJobFailsAndStopsTheRun) {
    ASSERT_TRUE(document.ConversionJobOpen(jobFile));
    std::filesystem::remove(jobFile);
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Stopped);
    EXPECT_EQ(special.calls.size(), 29999u);
    EXPECT_EQ(tasks().CellText(30000, kColPass), "-");
    ASSERT_EQ(LogEntries(), 1);
    EXPECT_EQ(log().CellText(1, kColNumber), "30000");
    EXPECT_THAT(log().CellText(1, kColStatus), HasSubstr(jobFile));
}

TEST_F(SlicedJob, PauseWhileTheNextSliceLoadsEndsPausedAndBeginGoesOnThere) {
    ASSERT_TRUE(document.ConversionJobOpen(jobFile));
    bool paused = false;
    panels.onCheckpoint = [&] {
        // The loader lets window messages run every 1000 lines: the user pauses there.
        if (special.calls.size() == 29999 && !paused &&
            panels.Last(StatusPanel::CurrentFile).starts_with("Loading Conversion Task"))
            paused = runner.ConversionJobPause();
    };
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Paused);
    ASSERT_TRUE(paused);
    EXPECT_EQ(special.calls.size(), 29999u);
    EXPECT_EQ(panels.Last(StatusPanel::State), "Pause");
    // The slice stays as it was, its reload task unmarked and nothing logged against it.
    ASSERT_EQ(TaskCount(tasks()), 30000);
    EXPECT_TRUE(IsReloadTaskRow(tasks(), 30000));
    EXPECT_EQ(tasks().CellText(30000, kColPass), "");
    EXPECT_EQ(LogEntries(), 0);

    panels.onCheckpoint = nullptr;
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    ASSERT_EQ(special.calls.size(), 40000u);
    EXPECT_EQ(special.calls[29999].second, "/x/f30000.txt");
    EXPECT_EQ(special.calls.back().second, "/x/f40000.txt");
}

TEST_F(SlicedJob, SavingAfterALaterSliceLoadedKeepsTheWholeJob) {
    ASSERT_TRUE(document.ConversionJobOpen(jobFile));
    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    ASSERT_EQ(TaskCount(tasks()), 10001) << "the grid holds the last slice";

    auto savedSources = [&] {
        std::ifstream in(jobFile, std::ios::binary);
        std::vector<std::string> sources;
        std::string line;
        while (std::getline(in, line)) {
            const auto at = line.find("/x/f");
            if (at != std::string::npos)
                sources.push_back(line.substr(at, line.find('\t', at) - at));
        }
        return sources;
    };
    // Saved twice: the second save must still find the earlier tasks in the file the first wrote.
    for (int save = 1; save <= 2; ++save) {
        ASSERT_TRUE(document.ConversionJobSave());
        const auto sources = savedSources();
        ASSERT_EQ(sources.size(), 40000u) << "save " << save;
        for (int k = 1; k <= 40000; ++k)
            ASSERT_EQ(sources[k - 1], "/x/f" + std::to_string(k) + ".txt")
                << "save " << save << ", task " << k;
    }
    ASSERT_TRUE(document.ConversionJobOpen(jobFile));
    EXPECT_EQ(TaskCount(tasks()), 30000);
    EXPECT_EQ(tasks().CellText(1, kColOriginal), "/x/f1.txt");
}

TEST_F(SlicedJob, SchedulerRunOpensRewindsAndRunsTheJob) {
    // A saved job whose first tasks already passed still runs from its first task.
    ASSERT_TRUE(document.ConversionJobOpen(jobFile));
    tasks().SetCell(1, kColPass, "+");
    EXPECT_TRUE(runner.RunJobFile(jobFile));
    EXPECT_EQ(special.calls.size(), 40000u);
    EXPECT_FALSE(runner.RunJobFile(t.str() + "missing.MJB"));
}

// A saved job on an interval schedule runs through the runner once the clock passes its target,
// converts its files, and is not run again before the next target.
TEST_F(JobRunnerTest, ScheduledJobRunsThroughTheRunnerWhenItsTargetComes) {
    AddConversion("first");
    AddConversion("second");
    const std::string jobFile = t.str() + "scheduled.MJB";
    ASSERT_TRUE(WriteJobFile(jobFile, tasks()));
    document.NewJob();

    class StepClock : public SchedulerClock {
    public:
        Instant now{std::chrono::sys_days{std::chrono::year{2026} / 3 / 2} + std::chrono::hours{9}};
        Instant Now() override { return now; }
    } clock;
    UtcZone zone;
    std::vector<std::string> captions;
    SchedulerRunBinding binding =
        BindSchedulerToRunner(runner, [&](const std::string& text) { captions.push_back(text); });
    ScheduleTimer timer(clock, zone, binding);

    ScheduleRunState schedule;
    schedule.jobFile = jobFile;
    schedule.timeBased = true;
    schedule.intervalSeconds = 60;
    schedule.runImmediately = false;
    schedule.relativeTarget = clock.now + std::chrono::seconds{60};
    timer.Start(schedule);

    for (int second = 1; second < 60; ++second) {
        clock.now += std::chrono::seconds{1};
        timer.Tick();
    }
    EXPECT_TRUE(component.calls.empty()) << "ran before its target";
    EXPECT_FALSE(captions.empty()) << "no countdown was shown";

    clock.now += std::chrono::seconds{1};
    timer.Tick();
    ASSERT_EQ(component.calls.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(t.str() + "out/second.pdf"));
    EXPECT_EQ(tasks().Cell(1, kColPass), "+");
    EXPECT_EQ(tasks().Cell(2, kColPass), "+");

    clock.now += std::chrono::seconds{30};
    timer.Tick();
    EXPECT_EQ(component.calls.size(), 2u) << "ran again before the next interval";
    clock.now += std::chrono::seconds{31};
    timer.Tick();
    EXPECT_EQ(component.calls.size(), 4u);
}

} // namespace
} // namespace slidemill
