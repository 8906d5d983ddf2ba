// What the engine does when inputs are wrong or the office misbehaves.
#include "EngineTestSupport.h"

#include "core/RunControl.h"
#include "engine/EngineResult.h"
#include "run/ConversionContext.h"
#include "run/ConversionStep.h"
#include "run/FailureSink.h"
#include "run/FileList.h"
#include "run/PdfStage.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

const std::string kTable = "pptx_tbl-cell.pptx";

// No office of ours is left, running or as a zombie, but the one the shared engine keeps warm.
void ExpectNoOfficeChildren() {
    const int shared = SharedEngine().OfficeProcessId();
    for (const auto& child : ChildProcesses()) {
        if (child.pid != shared) {
            EXPECT_NE(child.name, "soffice.bin") << "pid " << child.pid << " state " << child.state;
        }
    }
}

TEST(EngineFailure, BadRequestsFailWithTheirOwnCodeAndLeaveNothing) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("requests");
    const std::string source = GoodFile(kTable);

    EXPECT_EQ(ConvertFile(engine, out.str() + "missing.pptx", out.str() + "a.pdf"), kEngineSourceMissing);
    EXPECT_NE(engine.LastErrorText().find(out.str() + "missing.pptx"), std::string::npos);
    EXPECT_EQ(ConvertFile(engine, out.str(), out.str() + "a.pdf"), kEngineSourceMissing);
    EXPECT_EQ(ConvertFile(engine, source, out.str() + "a.x", {.format = 999}), kEngineUnsupportedFormat);
    EXPECT_EQ(ConvertFile(engine, source, out.str() + "a.pdf", {.from = 3, .to = 2}),
              kEngineSlideRangeOutside);
    EXPECT_EQ(ConvertFile(engine, source, out.str() + "a.pdf", {.from = -1}), kEngineSlideRangeOutside);
    EXPECT_EQ(ConvertFile(engine, source, out.str() + "a.pdf", {.from = 4, .to = 5}),
              kEngineSlideRangeOutside);
    EXPECT_NE(engine.LastErrorText().find("3"), std::string::npos) << engine.LastErrorText();
    EXPECT_EQ(ConvertFile(engine, source, "", {}), kEngineTargetNotWritable);
    EXPECT_EQ(ConvertFile(engine, source, "/proc/slidemill/a.pdf"), kEngineTargetNotWritable);

    // Converting a file onto itself would destroy the source.
    const std::string copy = out.str() + "self.pptx";
    fs::copy_file(source, copy);
    EXPECT_EQ(ConvertFile(engine, copy, copy, {.format = 24}), kEngineTargetNotWritable);
    EXPECT_EQ(fs::file_size(copy), fs::file_size(source));

    // A folder where the target file should go is not replaced.
    fs::create_directory(out.str() + "taken.pdf");
    EXPECT_EQ(ConvertFile(engine, source, out.str() + "taken.pdf"), kEngineTargetNotWritable);
    EXPECT_TRUE(fs::is_directory(out.str() + "taken.pdf"));

    EXPECT_EQ(FileNames(out.str()), (std::vector<std::string>{"self.pptx", "taken.pdf"}));
}

TEST(EngineFailure, RandomBytesAreNotAPresentation) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("random");
    std::mt19937 random(42);
    std::string bytes(20000, '\0');
    for (auto& b : bytes)
        b = static_cast<char>(random());
    const std::string source = out.file("noise.pptx", bytes);
    const int32_t result = ConvertFile(engine, source, out.str() + "noise.pdf");
    EXPECT_TRUE(result == kEngineNotAPresentation || result == kEngineCannotLoad) << result;
    EXPECT_EQ(result, kEngineNotAPresentation) << engine.LastErrorText();
    EXPECT_NE(engine.LastErrorText().find("not a presentation"), std::string::npos);
    EXPECT_FALSE(fs::exists(out.str() + "noise.pdf"));
    // The office is still fine for the next file.
    EXPECT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "next.pdf"), 0) << engine.LastErrorText();
}

// An office killed under a file costs nothing but time: the file is converted again on a
// fresh office, and the dead one is reaped with everything it started.
TEST(EngineFailure, AnOfficeKilledMidFileIsReplacedAndTheFileStillConverts) {
    SLIDEMILL_REQUIRE_CORPUS();
    LibreOfficeComponent engine(TestEngineOptions());
    TempFolder out("killed");
    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "1.pdf"), 0) << engine.LastErrorText();
    const int first = engine.OfficeProcessId();
    ASSERT_GT(first, 0);

    bool killed = false;
    engine.SetProgressHandler([&] {
        if (!killed) {
            killed = true;
            kill(-first, SIGKILL);
        }
    });
    const int32_t result = ConvertFile(engine, GoodFile("poi_SampleShow.pptx"), out.str() + "2.pdf");
    engine.SetProgressHandler(nullptr);
    ASSERT_TRUE(killed);
    EXPECT_EQ(result, 0) << engine.LastErrorText();
    EXPECT_GT(PdfPageCount(out.str() + "2.pdf"), 0);
    EXPECT_FALSE(ProcessExists(first));
    EXPECT_EQ(ProcessesInGroup(first), std::vector<std::string>{});
    const int second = engine.OfficeProcessId();
    EXPECT_GT(second, 0);
    EXPECT_NE(second, first);

    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "3.pdf"), 0) << engine.LastErrorText();
    EXPECT_EQ(PdfPageCount(out.str() + "3.pdf"), 3);

    engine.ShutDown();
    EXPECT_EQ(engine.OfficeProcessId(), 0);
    EXPECT_FALSE(ProcessExists(second));
    EXPECT_EQ(ProcessesInGroup(second), std::vector<std::string>{});
    ExpectNoOfficeChildren();
    EXPECT_EQ(FileNames(out.str()), (std::vector<std::string>{"1.pdf", "2.pdf", "3.pdf"}));
}

// Wherever in a file the office dies (loading, between two calls, writing, closing, or just
// after the file is done), the file is converted on a fresh office and nothing escapes as an
// error of some other kind.
TEST(EngineFailure, AnOfficeKilledAtAnyMomentOfAFileCostsNoFile) {
    SLIDEMILL_REQUIRE_CORPUS();
    LibreOfficeComponent engine(TestEngineOptions());
    TempFolder out("killed-anywhere");
    const std::string deck = GoodFile("poi_SampleShow.pptx");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(ConvertFile(engine, deck, out.str() + "warm.pdf"), 0) << engine.LastErrorText();
    ASSERT_EQ(ConvertFile(engine, deck, out.str() + "timed.pdf"), 0) << engine.LastErrorText();
    const int pages = PdfPageCount(out.str() + "timed.pdf");
    ASSERT_GT(pages, 0);
    // The time of one file on a warm office, measured here, as machines and builds differ.
    const auto oneFile = (std::chrono::steady_clock::now() - start) / 2;

    constexpr int kMoments = 8;
    for (int moment = 0; moment < kMoments; ++moment) {
        if (engine.OfficeProcessId() == 0) {
            ASSERT_EQ(ConvertFile(engine, deck, out.str() + "rewarm.pdf"), 0) << engine.LastErrorText();
        }
        const int victim = engine.OfficeProcessId();
        ASSERT_GT(victim, 0);
        const auto delay = oneFile * moment / (kMoments - 2);
        std::thread killer([victim, delay] {
            std::this_thread::sleep_for(delay);
            kill(-victim, SIGKILL);
        });
        const std::string target = out.str() + std::to_string(moment) + ".pdf";
        const int32_t result = ConvertFile(engine, deck, target);
        killer.join();
        EXPECT_EQ(result, 0) << "killed after " << std::chrono::duration_cast<std::chrono::milliseconds>(delay).count()
                             << " ms: " << engine.LastErrorText();
        EXPECT_EQ(PdfPageCount(target), pages) << target;
    }
    engine.ShutDown();
    ExpectNoOfficeChildren();
}

// A file under which a second office dies as well fails, with a plain reason and no output;
// it is not tried a third time, and the next file converts.
TEST(EngineFailure, AFileThatLosesTwoOfficesFailsAndLeavesNothing) {
    SLIDEMILL_REQUIRE_CORPUS();
    LibreOfficeComponent engine(TestEngineOptions());
    TempFolder out("killed-twice");
    std::vector<int> victims;
    engine.SetProgressHandler([&] {
        const int office = engine.OfficeProcessId();
        if (office > 0 && victims.size() < 3 &&
            std::find(victims.begin(), victims.end(), office) == victims.end()) {
            victims.push_back(office);
            kill(-office, SIGKILL);
        }
    });
    const int32_t result = ConvertFile(engine, GoodFile("poi_SampleShow.pptx"), out.str() + "2.pdf");
    engine.SetProgressHandler(nullptr);
    EXPECT_EQ(victims.size(), 2u) << "one try and one retry, each on its own office";
    EXPECT_EQ(result, kEngineOfficeCrashed) << engine.LastErrorText();
    EXPECT_NE(engine.LastErrorText().find("poi_SampleShow.pptx"), std::string::npos);
    for (const int victim : victims) {
        EXPECT_FALSE(ProcessExists(victim));
        EXPECT_EQ(ProcessesInGroup(victim), std::vector<std::string>{});
    }
    EXPECT_EQ(FileNames(out.str()), std::vector<std::string>{});

    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "3.pdf"), 0) << engine.LastErrorText();
    EXPECT_EQ(FileNames(out.str()), std::vector<std::string>{"3.pdf"});
    engine.ShutDown();
    ExpectNoOfficeChildren();
}

// Offices killed while they start (more of them than the engine's start attempts) do not make
// the engine give up: a kill from outside says nothing about whether an office can start.
TEST(EngineFailure, OfficesKilledWhileStartingAreStartedAgain) {
    SLIDEMILL_REQUIRE_CORPUS();
    EngineOptions options = TestEngineOptions();
    options.startAttempts = 2;
    LibreOfficeComponent engine(options);
    TempFolder out("killed-starting");
    std::atomic<bool> done{false};
    std::atomic<int> kills{0};
    std::thread killer([&] {
        std::vector<int> seen;
        while (!done && kills < 3) {
            for (const auto& child : ChildProcesses()) {
                if (child.name == "soffice.bin" && child.state != 'Z' &&
                    std::find(seen.begin(), seen.end(), child.pid) == seen.end()) {
                    seen.push_back(child.pid);
                    kill(child.pid, SIGKILL);
                    ++kills;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const int32_t result = ConvertFile(engine, GoodFile(kTable), out.str() + "1.pdf");
    done = true;
    killer.join();
    EXPECT_EQ(kills, 3);
    EXPECT_EQ(result, 0) << engine.LastErrorText();
    EXPECT_EQ(PdfPageCount(out.str() + "1.pdf"), 3);
    engine.ShutDown();
    ExpectNoOfficeChildren();
}

TEST(EngineFailure, AStoppedOfficeIsEndedByTheWatchdogWithinTheDeadline) {
    SLIDEMILL_REQUIRE_CORPUS();
    EngineOptions options = TestEngineOptions();
    // Short, but long enough for a small deck on a busy machine.
    options.baseDeadlineMs = 8000;
    options.perSlideDeadlineMs = 200;
    LibreOfficeComponent engine(options);
    TempFolder out("stopped");
    std::string version;
    engine.GetPowerPointVersion(version); // starts the office
    const int office = engine.OfficeProcessId();
    ASSERT_GT(office, 0);

    bool stopped = false;
    engine.SetProgressHandler([&] {
        if (!stopped) {
            stopped = true;
            kill(-office, SIGSTOP);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const int32_t result = ConvertFile(engine, GoodFile(kTable), out.str() + "2.pdf");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    engine.SetProgressHandler(nullptr);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(result, kEngineTimedOut) << engine.LastErrorText();
    EXPECT_NE(engine.LastErrorText().find("took too long"), std::string::npos);
    EXPECT_GE(elapsed, std::chrono::milliseconds(options.baseDeadlineMs - 100));
    EXPECT_LT(elapsed, std::chrono::milliseconds(options.baseDeadlineMs + 10000));
    EXPECT_FALSE(ProcessExists(office));
    EXPECT_FALSE(fs::exists(out.str() + "2.pdf"));

    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "3.pdf"), 0) << engine.LastErrorText();
    engine.ShutDown();
    ExpectNoOfficeChildren();
}

TEST(EngineFailure, OfficesAreRecycledAndEachHasItsOwnProfile) {
    SLIDEMILL_REQUIRE_CORPUS();
    TempFolder out("recycle");
    EngineOptions options = TestEngineOptions();
    options.recycleAfterConversions = 2;
    LibreOfficeComponent engine(options);
    std::vector<int> pids;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + std::to_string(i) + ".pdf"), 0);
        pids.push_back(engine.OfficeProcessId());
    }
    // Replaced after the second conversion: none runs until the next file starts one.
    EXPECT_GT(pids[0], 0);
    EXPECT_EQ(pids[1], 0);
    EXPECT_GT(pids[2], 0);
    EXPECT_FALSE(ProcessExists(pids[0]));

    // Past the memory limit, the office is replaced after the file.
    EngineOptions small = TestEngineOptions();
    small.memoryLimitBytes = 1;
    LibreOfficeComponent thrifty(small);
    ASSERT_EQ(ConvertFile(thrifty, GoodFile(kTable), out.str() + "t.pdf"), 0) << thrifty.LastErrorText();
    EXPECT_EQ(thrifty.OfficeProcessId(), 0);
    EXPECT_EQ(PdfPageCount(out.str() + "t.pdf"), 3);

    // Optimised for memory: a fresh office for every file.
    engine.SetOptimizeForSpeed(false);
    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "m.pdf"), 0);
    EXPECT_EQ(engine.OfficeProcessId(), 0);
    EXPECT_FALSE(ProcessExists(pids[2]));

    // Two engines at once never share a profile.
    engine.SetOptimizeForSpeed(true);
    LibreOfficeComponent other(TestEngineOptions());
    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "a.pdf"), 0) << engine.LastErrorText();
    ASSERT_EQ(ConvertFile(other, GoodFile(kTable), out.str() + "b.pdf"), 0) << other.LastErrorText();
    const auto commandLine = [](int pid) {
        return ReadWholeFile("/proc/" + std::to_string(pid) + "/cmdline");
    };
    const std::string mine = commandLine(engine.OfficeProcessId());
    const std::string theirs = commandLine(other.OfficeProcessId());
    const auto profileOf = [](const std::string& line) {
        const auto at = line.find("UserInstallation=");
        return at == std::string::npos ? std::string() : line.substr(at, line.find('\0', at) - at);
    };
    EXPECT_FALSE(profileOf(mine).empty());
    EXPECT_NE(profileOf(mine), profileOf(theirs));
    other.ShutDown();
    engine.ShutDown();
    ExpectNoOfficeChildren();
}

// Offices started ahead are up before the first file, as many as were announced, and a start
// that fails ahead of time fails the conversion with its reason, once.
TEST(EngineFailure, OfficesStartedAheadServeTheFirstFilesAndFailuresKeepTheirReason) {
    SLIDEMILL_REQUIRE_CORPUS();
    TempFolder out("ahead");
    EngineOptions options = TestEngineOptions();
    options.offices = 2;
    LibreOfficeComponent engine(options);
    engine.BeginStartUp(1);
    EXPECT_GT(engine.OfficeProcessId(), 0);
    auto& helper = static_cast<LibreOfficeComponent&>(engine.ConcurrentComponent(1));
    EXPECT_EQ(helper.OfficeProcessId(), 0) << "one conversion announced, one office";

    engine.BeginStartUp(5);
    const int first = engine.OfficeProcessId();
    EXPECT_GT(helper.OfficeProcessId(), 0);
    EXPECT_NE(helper.OfficeProcessId(), first);
    EXPECT_EQ(ConvertFile(helper, GoodFile(kTable), out.str() + "h.pdf"), 0) << helper.LastErrorText();
    EXPECT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "m.pdf"), 0) << engine.LastErrorText();
    EXPECT_EQ(engine.OfficeProcessId(), first) << "the office started ahead did the work";
    EXPECT_EQ(PdfPageCount(out.str() + "h.pdf"), 3);
    engine.ShutDown();
    EXPECT_FALSE(ProcessExists(first));

    EngineOptions missing = TestEngineOptions();
    missing.officeProgram = "/nonexistent/soffice.bin";
    missing.startAttempts = 1;
    LibreOfficeComponent absent(missing);
    absent.BeginStartUp(1);
    const std::string source = out.file("deck.pptx", "not used");
    EXPECT_EQ(ConvertFile(absent, source, out.str() + "deck.pdf"), kEngineUnavailable);
    EXPECT_NE(absent.LastErrorText().find("LibreOffice could not be started"), std::string::npos)
        << absent.LastErrorText();
    ExpectNoOfficeChildren();
}

// A file list runs on the pool: two offices convert at once, an office killed mid-list costs no
// file (its file is converted again on a fresh office), and no office is left once the engine
// shuts down.
TEST(EngineFailure, AListRunsOnTwoOfficesAndSurvivesOneBeingKilled) {
    SLIDEMILL_REQUIRE_CORPUS();
    TempFolder in("pool-in");
    TempFolder out("pool-out");
    const std::vector<std::string> decks{kTable, "poi_SampleShow.pptx", "pptx_sld-notes.pptx",
                                         "pptx_sld-blank.pptx"};
    std::vector<std::string> names;
    const auto addRound = [&](int round) {
        for (const auto& deck : decks) {
            const std::string name = std::to_string(round) + "-" + deck;
            fs::copy_file(GoodFile(deck), in.path() / name);
            names.push_back(name);
        }
    };
    EngineOptions options = TestEngineOptions();
    options.offices = 2;
    LibreOfficeComponent engine(options);
    ASSERT_EQ(engine.ConcurrentConversions(), 2);

    class Recorder : public FailureSink {
    public:
        std::vector<clsConversionOptions> rows;
        void LogConversionError(int32_t, const clsConversionOptions& record) override {
            rows.push_back(record);
        }
    };
    // Kills the second office once the step has reached the list's third file.
    class Killer : public RunControl {
    public:
        int victim = 0;
        bool killed = false;
        std::string third;
        bool reached = false;
        void SetStatusText(StatusPanel panel, const std::string& text) override {
            if (panel == StatusPanel::CurrentFile && text == third)
                reached = true;
        }
        void Checkpoint() override {
            if (reached && !killed && victim > 0) {
                killed = true;
                kill(-victim, SIGKILL);
            }
        }
    };
    Recorder sink;
    Killer control;
    UnavailablePdfStage pdf;
    ConversionContext context{engine, control, sink, pdf};
    const auto task = [&](const std::string& target) {
        clsConversionOptions t;
        t.sOriginalFile = in.str() + "*.pptx";
        t.sTargetFile = target + "*.pdf";
        t.lTargetFileType = 32;
        t.lOriginalFileType = 3;
        return t;
    };

    // Warm-up on a first round: both offices start and convert.
    addRound(0);
    auto first = task(out.str() + "warm/");
    EXPECT_EQ(PerformBlockConversion(context, 1, first), 0) << first.sErr;
    EXPECT_TRUE(sink.rows.empty());
    auto& helper = dynamic_cast<LibreOfficeComponent&>(engine.ConcurrentComponent(1));
    const int mainOffice = engine.OfficeProcessId();
    const int helperOffice = helper.OfficeProcessId();
    ASSERT_GT(mainOffice, 0);
    ASSERT_GT(helperOffice, 0) << "the second office converted files of the list";
    EXPECT_NE(mainOffice, helperOffice);

    addRound(1);
    addRound(2);
    std::vector<std::string> list;
    auto all = task(out.str());
    ASSERT_TRUE(BuildFileList(all, list, NullRunControl()));
    ASSERT_EQ(list.size(), names.size());
    control.third = list[2];
    control.victim = helperOffice;
    const int32_t result = PerformBlockConversion(context, 1, all);
    ASSERT_TRUE(control.killed);
    EXPECT_FALSE(ProcessExists(helperOffice));
    for (const auto& row : sink.rows)
        ADD_FAILURE() << row.sOriginalFile << ": " << row.sErr;
    EXPECT_EQ(result, 0);
    // Every file has all its pages: as many as the warm-up gave for the same deck.
    size_t converted = 0;
    for (const auto& file : list) {
        const std::string stem = fs::path(file).stem().string();
        const std::string pdf = out.str() + stem + ".pdf";
        if (fs::exists(pdf)) {
            ++converted;
            const std::string deck = stem.substr(stem.find('-') + 1);
            EXPECT_EQ(PdfPageCount(pdf), PdfPageCount(out.str() + "warm/0-" + deck + ".pdf")) << pdf;
        }
    }
    EXPECT_EQ(converted, list.size());
    EXPECT_EQ(PdfPageCount(out.str() + "warm/0-" + fs::path(kTable).stem().string() + ".pdf"), 3);

    engine.ShutDown();
    EXPECT_EQ(engine.OfficeProcessId(), 0);
    EXPECT_EQ(helper.OfficeProcessId(), 0);
    EXPECT_FALSE(ProcessExists(mainOffice));
    ExpectNoOfficeChildren();
}

TEST(EngineFailure, AFreshProfileIsCreatedAndKeptForTheNextStart) {
    SLIDEMILL_REQUIRE_CORPUS();
    TempFolder profiles("profiles");
    EngineOptions options = TestEngineOptions();
    options.profileRoot = profiles.str() + "root";
    {
        // The office quits once after making a new profile; the engine starts it again.
        LibreOfficeComponent engine(options);
        std::string version;
        engine.GetPowerPointVersion(version);
        EXPECT_NE(version, "LibreOffice");
        EXPECT_GT(engine.OfficeProcessId(), 0);
        TempFolder out("fresh");
        EXPECT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "a.pdf"), 0) << engine.LastErrorText();
    }
    EXPECT_TRUE(fs::is_directory(profiles.str() + "root/profile/user"));
    EXPECT_TRUE(fs::exists(profiles.str() + "root/profile/.slidemill.lock"));
    EXPECT_FALSE(fs::exists(profiles.str() + "root/profile-1"));

    // The office's graphics self-test ran at that start and left its log; the profile now
    // records the release, so the next start skips the test and leaves the log as it was.
    const std::string selfTestLog = profiles.str() + "root/profile/user/GraphicsRenderTests.log";
    ASSERT_TRUE(fs::exists(selfTestLog));
    const auto testedAt = fs::last_write_time(selfTestLog);
    {
        LibreOfficeComponent engine(options);
        TempFolder out("again");
        EXPECT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "a.pdf"), 0) << engine.LastErrorText();
    }
    EXPECT_EQ(fs::last_write_time(selfTestLog), testedAt);
    ExpectNoOfficeChildren();
}

TEST(EngineFailure, AMissingOfficeStopsTheRunWithMinusOne) {
    TempFolder out("missing");
    const std::string source = out.file("deck.pptx", "not used");
    EngineOptions options = TestEngineOptions();
    options.officeProgram = "/nonexistent/soffice.bin";
    options.startAttempts = 2;
    LibreOfficeComponent absent(options);
    EXPECT_EQ(absent.FormatCount(), 0);
    EXPECT_EQ(ConvertFile(absent, source, out.str() + "deck.pdf"), kEngineUnavailable);
    EXPECT_NE(absent.LastErrorText().find("LibreOffice could not be started"), std::string::npos);

    // A program that is there but quits at once.
    options.officeProgram = "/bin/false";
    LibreOfficeComponent quitting(options);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ConvertFile(quitting, source, out.str() + "deck.pdf"), kEngineUnavailable);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_NE(quitting.LastErrorText().find("code 1"), std::string::npos) << quitting.LastErrorText();
    EXPECT_EQ(FileNames(out.str()), (std::vector<std::string>{"deck.pptx"}));
    ExpectNoOfficeChildren();
}

} // namespace
} // namespace slidemill::test
