// File lists converted on several components at once: the step must still behave exactly as a
// one-by-one run would (log order, source handling, pause position) while the work overlaps.
#include "ConversionTask.h"
#include "TestRunControl.h"
#include "core/FileTypes.h"
#include "run/ConversionStep.h"
#include "run/FailureSink.h"
#include "run/FileList.h"
#include "run/ParallelConversions.h"
#include "run/PdfStage.h"
#include "run/TargetClaims.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

namespace slidemill {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ReadWholeFile;
using test::TempFolder;

class RecordingSink : public FailureSink {
public:
    std::vector<std::string> sources;
    std::vector<int32_t> codes;
    void LogConversionError(int32_t, const clsConversionOptions& record) override {
        sources.push_back(record.sOriginalFile);
        codes.push_back(record.lErr);
    }
};

class WritingPdfStage : public PdfStage {
public:
    int32_t ConvertRtfToPdf(clsConversionOptions& record) override {
        std::ofstream(record.sTargetFile) << "pdf";
        record.lErr = 0;
        return 0;
    }
};

// Pauses the run once the step names a given file as the one it works on.
class PausingControl : public test::TestRunControl {
public:
    std::string pauseAt;
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        TestRunControl::SetStatusText(panel, text);
        if (panel == StatusPanel::CurrentFile && !pauseAt.empty() && text == pauseAt)
            running = false;
    }
};

// Watches the conversions in flight across threads.
struct FlightRecorder {
    std::mutex mutex;
    std::condition_variable changed;
    std::multiset<std::string> targets;
    int inFlight = 0;
    int most = 0;
    bool sameTargetTwice = false;

    void Begin(const std::string& target) {
        const std::lock_guard lock(mutex);
        if (targets.count(target) != 0)
            sameTargetTwice = true;
        targets.insert(target);
        most = std::max(most, ++inFlight);
        changed.notify_all();
    }
    void End(const std::string& target) {
        const std::lock_guard lock(mutex);
        targets.erase(targets.find(target));
        --inFlight;
        changed.notify_all();
    }
    // True when at least n conversions were in flight together within the timeout.
    bool AwaitOverlap(int n, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, [&] { return most >= n; });
    }
};

class ParallelList : public ::testing::Test {
protected:
    TempFolder t;
    test::FakeComponent component;
    PausingControl control;
    RecordingSink sink;
    WritingPdfStage pdf;
    ConversionContext context{component, control, sink, pdf};
    FlightRecorder flights;

    void SetUp() override { component.concurrency = 2; }

    // Every conversion takes a moment and is recorded while it runs; set before the first list.
    void TrackFlights(std::chrono::milliseconds each = 20ms) {
        component.onConvert = [this, each](const ConversionProperties& p) {
            flights.Begin(p.TargetFile);
            std::this_thread::sleep_for(each);
            flights.End(p.TargetFile);
        };
    }
    clsConversionOptions Task(const std::string& source, const std::string& target, int32_t type = 32) {
        return test::ConversionTask(t, source, target, type);
    }
    // The files the step named as the one it works on (the list's own building aside).
    std::vector<std::string> FilesShown() const {
        std::vector<std::string> shown;
        for (const auto& text : control.TextsOf(StatusPanel::CurrentFile))
            if (text.rfind("Creating File List", 0) != 0)
                shown.push_back(text);
        return shown;
    }
    std::vector<std::string> ListOf(const std::string& source) {
        clsConversionOptions task = Task(source, "out/*.pdf");
        std::vector<std::string> files;
        EXPECT_TRUE(BuildFileList(task, files, control));
        return files;
    }
};

TEST(ParallelConversions, WorkersOverlapKeepTheirOwnResultsAndDropWhatHasNotStarted) {
    TempFolder t;
    test::FakeComponent component;
    component.concurrency = 2;
    std::mutex mutex;
    std::condition_variable changed;
    int started = 0;
    bool release = false;
    component.failures[t.str() + "bad.ppt"] = {7, "cannot load bad.ppt"};
    component.onConvert = [&](const ConversionProperties& p) {
        if (p.SourceFile.find("throws") != std::string::npos)
            throw std::runtime_error("renderer fell over");
        std::unique_lock lock(mutex);
        ++started;
        changed.notify_all();
        // Both workers must be inside Convert at once for either to go on.
        changed.wait_for(lock, 5s, [&] { return release || started >= 2; });
        release = true;
        changed.notify_all();
    };
    const auto job = [&](const std::string& name) {
        ConversionProperties p;
        p.SourceFile = t.file(name);
        p.TargetFile = t.str() + name + ".pdf";
        p.TargetFormat = 32;
        return p;
    };
    {
        ParallelConversions workers(component);
        ASSERT_EQ(workers.Workers(), 2);
        auto good = workers.Submit(job("good.ppt"));
        auto bad = workers.Submit(job("bad.ppt"));
        ASSERT_TRUE(good->WaitFor(10s));
        ASSERT_TRUE(bad->WaitFor(10s));
        EXPECT_EQ(good->Result(), 0);
        EXPECT_TRUE(fs::exists(t.str() + "good.ppt.pdf"));
        EXPECT_EQ(bad->Result(), 7);
        EXPECT_EQ(bad->ErrorText(), "cannot load bad.ppt");
        {
            const std::lock_guard lock(mutex);
            EXPECT_EQ(started, 2);
        }

        auto thrown = workers.Submit(job("throws.ppt"));
        ASSERT_TRUE(thrown->WaitFor(10s));
        EXPECT_EQ(thrown->Result(), kErrComponentFault) << "an exception is a failure, not a success";
        EXPECT_NE(thrown->ErrorText().find("renderer fell over"), std::string::npos);
        EXPECT_FALSE(fs::exists(t.str() + "throws.ppt.pdf"));
    }

    // Dropped work completes as dropped and is never converted.
    std::atomic<bool> gate{false};
    std::atomic<int> entered{0};
    component.onConvert = [&](const ConversionProperties&) {
        ++entered;
        while (!gate)
            std::this_thread::sleep_for(1ms);
    };
    for (auto& helper : component.helpers)
        helper->onConvert = component.onConvert;
    const size_t before = component.AllCalls().size();
    std::vector<std::shared_ptr<PendingConversion>> pending;
    {
        ParallelConversions workers(component);
        for (int i = 0; i < 6; ++i)
            pending.push_back(workers.Submit(job("q" + std::to_string(i) + ".ppt")));
        for (int waited = 0; entered < 2 && waited < 5000; ++waited)
            std::this_thread::sleep_for(1ms);
        workers.DropQueued();
        gate = true;
    }
    int converted = 0, dropped = 0;
    for (auto& p : pending) {
        ASSERT_TRUE(p->WaitFor(0ms)) << "every job has a result once the workers are gone";
        (p->Result() == kConversionDropped ? dropped : converted) += 1;
    }
    EXPECT_EQ(converted, 2);
    EXPECT_EQ(dropped, 4);
    EXPECT_EQ(component.AllCalls().size() - before, 2u);
}

TEST_F(ParallelList, OverlapsWorkButLogsAndHandlesSourcesInListOrder) {
    for (int i = 0; i < 8; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    const auto files = ListOf("in/*.ppt");
    ASSERT_EQ(files.size(), 8u);
    // Two failures, the later one in the list made to finish first.
    component.failures[files[5]] = {9, "five failed"};
    component.failures[files[2]] = {8, "two failed"};
    component.onConvert = [this, &files](const ConversionProperties& p) {
        flights.Begin(p.TargetFile);
        std::this_thread::sleep_for(p.SourceFile == files[2] ? 150ms : 20ms);
        flights.End(p.TargetFile);
    };
    context.settings.bDeleteOriginalFileAfterProcessing = true;

    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 4, task), 9) << "the last failing file's code";
    EXPECT_GE(flights.most, 2) << "conversions overlapped";
    EXPECT_EQ(flights.inFlight, 0) << "nothing runs once the list is left";
    EXPECT_EQ(component.AllCalls().size(), 8u) << "each file converted once";
    EXPECT_EQ(sink.sources, (std::vector<std::string>{files[2], files[5]}));
    EXPECT_EQ(sink.codes, (std::vector<int32_t>{8, 9}));
    EXPECT_EQ(task.sErr, "five failed");
    for (size_t i = 0; i < files.size(); ++i) {
        const bool failed = i == 2 || i == 5;
        SCOPED_TRACE(files[i]);
        EXPECT_EQ(fs::exists(files[i]), failed) << "only converted sources are deleted";
        EXPECT_EQ(fs::exists(t.str() + "out/" + fs::path(files[i]).stem().string() + ".pdf"), !failed);
    }
    // The window shows the files in list order, each once.
    EXPECT_EQ(FilesShown(), files);
}

TEST_F(ParallelList, OtherOfficesKeepConvertingWhileOneWorksThroughALongDeck) {
    for (int i = 0; i < 10; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    const auto files = ListOf("in/*.ppt");
    std::mutex mutex;
    std::condition_variable changed;
    int othersDone = 0;
    int doneWhileLongRan = -1;
    component.onConvert = [&](const ConversionProperties& p) {
        std::unique_lock lock(mutex);
        if (p.SourceFile == files[0]) {
            // The long deck: it ends once the rest of the list has moved on without it.
            changed.wait_for(lock, 5s, [&] { return othersDone >= 7; });
            doneWhileLongRan = othersDone;
        } else {
            ++othersDone;
            changed.notify_all();
        }
    };
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_GE(doneWhileLongRan, 7) << "the other office sat idle behind the long deck";
    EXPECT_EQ(FilesShown(), files);
}

TEST_F(ParallelList, OfFilesWithTheSameTargetTheFirstWinsAndTheOthersAreKept) {
    // a.ppt and a.pptx both become out/a.pdf.
    for (const char* name : {"a.ppt", "a.pptx", "b.ppt", "c.ppt", "d.ppt"})
        t.file(std::string("in/") + name);
    const auto files = ListOf("in/*.*");
    ASSERT_EQ(files.size(), 5u);
    std::string first, second;
    for (const auto& file : files)
        if (fs::path(file).stem() == "a")
            (first.empty() ? first : second) = file;
    // The first of the pair is slow: were the second converted beside it, it would finish
    // first and be overwritten, or (as a later file) overwrite it.
    component.onConvert = [this, first](const ConversionProperties& p) {
        flights.Begin(p.TargetFile);
        std::this_thread::sleep_for(p.SourceFile == first ? 120ms : 10ms);
        flights.End(p.TargetFile);
    };
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    auto task = Task("in/*.*", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), kErrTargetClaimed);
    EXPECT_GE(flights.most, 2) << "the other files still convert together";
    EXPECT_FALSE(flights.sameTargetTwice);
    for (const auto& call : component.AllCalls())
        EXPECT_NE(call.SourceFile, second) << "a refused file is not converted ahead either";
    EXPECT_EQ(component.AllCalls().size(), 4u);
    EXPECT_NE(ReadWholeFile(t.str() + "out/a.pdf").find(first + " as"), std::string::npos)
        << "the first file in the list wins, as one by one";
    EXPECT_EQ(sink.sources, (std::vector<std::string>{second}));
    EXPECT_EQ(sink.codes, (std::vector<int32_t>{kErrTargetClaimed}));
    EXPECT_TRUE(fs::exists(second)) << "the refused source is kept";
    EXPECT_FALSE(fs::exists(first));
    EXPECT_EQ(FilesShown(), files);
}

TEST_F(ParallelList, BesideTheSourceNeverOverwritesASiblingSource) {
    const auto pptx = t.file("in/deck.pptx", "seven slides");
    const auto ppt = t.file("in/deck.ppt", "three slides");
    for (int i = 0; i < 4; ++i)
        t.file("in/f" + std::to_string(i) + ".odp");
    TrackFlights();
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    auto task = Task("in/*.*", "*.pptx", 24);
    task.bSaveInOriginalFolder = true;
    PerformBlockConversion(context, 1, task);
    EXPECT_GE(flights.most, 2);
    EXPECT_EQ(ReadWholeFile(pptx), "seven slides");
    EXPECT_EQ(ReadWholeFile(ppt), "three slides");
    EXPECT_EQ(component.AllCalls().size(), 4u) << "only the four other files convert";
    for (const auto& call : component.AllCalls())
        EXPECT_NE(call.SourceFile, ppt);
    ASSERT_EQ(sink.sources.size(), 2u);
    for (std::size_t i = 0; i < sink.sources.size(); ++i)
        EXPECT_EQ(sink.codes[i], sink.sources[i] == ppt ? kErrTargetIsOtherSource : kErrTargetIsSource)
            << sink.sources[i];
}

TEST_F(ParallelList, PauseKeepsThePositionAndNothingRunsOnAfterwards) {
    for (int i = 0; i < 8; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    const auto files = ListOf("in/*.ppt");
    TrackFlights();
    control.pauseAt = files[3]; // the fourth file finishes, the fifth is not taken
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_EQ(flights.inFlight, 0);
    EXPECT_EQ(context.lResumeFileIndex, 4) << "the file that was being worked on runs again";
    EXPECT_TRUE(context.bFileListCutShort);
    const size_t callsAtPause = component.AllCalls().size();
    EXPECT_GE(callsAtPause, 4u);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(component.AllCalls().size(), callsAtPause) << "no conversion goes on after the pause";
    EXPECT_EQ(FilesShown().size(), 4u);

    control.running = true;
    control.pauseAt.clear();
    auto resumed = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, resumed), 0);
    EXPECT_EQ(context.lResumeFileIndex, 0);
    EXPECT_EQ(component.AllCalls().size() - callsAtPause, 5u) << "the fourth file and those after it";
    EXPECT_TRUE(sink.sources.empty());
    for (const auto& file : files)
        EXPECT_TRUE(fs::exists(t.str() + "out/" + fs::path(file).stem().string() + ".pdf")) << file;
}

TEST_F(ParallelList, ResumingAfterSourcesWereDeletedSkipsNoFile) {
    for (int i = 0; i < 8; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    const auto files = ListOf("in/*.ppt");
    TrackFlights();
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    control.pauseAt = files[4];
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    // Only the files the step took lost their sources, not those converted ahead of it.
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(fs::exists(files[i]), i >= 5) << files[i];

    // The list built again holds only the three files left: none of them may be passed over.
    control.running = true;
    control.pauseAt.clear();
    fs::remove_all(t.str() + "out");
    auto resumed = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, resumed), 0);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_FALSE(fs::exists(files[i])) << files[i];
        EXPECT_EQ(fs::exists(t.str() + "out/" + fs::path(files[i]).stem().string() + ".pdf"), i >= 5)
            << files[i];
    }
}

TEST_F(ParallelList, EngineUnavailableStopsTheListAtThatFile) {
    for (int i = 0; i < 8; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    const auto files = ListOf("in/*.ppt");
    TrackFlights();
    component.failures[files[2]] = {-1, "no office"};
    component.failures[files[5]] = {3, "would be logged if the list went on"};
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), -1);
    EXPECT_EQ(sink.sources, (std::vector<std::string>{files[2]}));
    EXPECT_EQ(flights.inFlight, 0);
    EXPECT_EQ(FilesShown().back(), files[2]);
}

TEST_F(ParallelList, AnnouncesEveryRendererBeforeTheFirstFileButNoMoreThanTheListNeeds) {
    t.file("one/only.ppt");
    for (int i = 0; i < 5; ++i)
        t.file("five/f" + std::to_string(i) + ".ppt");

    // A list of one file never asks for a second renderer.
    auto single = Task("one/*.ppt", "out1/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, single), 0);
    for (const auto& startUp : component.startUps)
        EXPECT_LE(startUp.conversions, 1);
    EXPECT_TRUE(component.helpers.empty());

    // A longer list announces its files before the first converts, so the others start together.
    component.startUps.clear();
    auto five = Task("five/*.ppt", "out5/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, five), 0);
    ASSERT_FALSE(component.startUps.empty());
    EXPECT_EQ(component.startUps.front().conversions, 5);
    EXPECT_EQ(component.startUps.front().convertedBefore, 1u) << "only the one-file list's file";
    EXPECT_EQ(component.AllCalls().size(), 6u);
}

TEST_F(ParallelList, GoesOneByOneWhereOverlapWouldBeWrong) {
    for (int i = 0; i < 4; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    TrackFlights();

    // The renderer fails its version check: every file fails with that, nothing converts.
    component.version = "17.0";
    auto newer = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, newer), kErrPowerPointVersion);
    EXPECT_EQ(sink.sources.size(), 4u);
    EXPECT_TRUE(component.AllCalls().empty());
    component.version = "16.0";

    // "PDF - with options" shares the first component with its second stage.
    auto withOptions = Task("in/*.ppt", "pdf/*.pdf", kTargetPdfWithOptions);
    EXPECT_EQ(PerformBlockConversion(context, 1, withOptions), 0);
    EXPECT_EQ(component.calls.size(), 4u);
    EXPECT_TRUE(component.helpers.empty());
    EXPECT_EQ(flights.most, 1);
    EXPECT_TRUE(fs::exists(t.str() + "pdf/f0.pdf"));

    // A component that converts one file at a time is never asked for more.
    component.concurrency = 1;
    auto single = Task("in/*.ppt", "one/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, single), 0);
    EXPECT_EQ(component.calls.size(), 8u);
    EXPECT_TRUE(component.helpers.empty());
}

} // namespace
} // namespace slidemill
