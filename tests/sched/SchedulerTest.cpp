#include "sched/Scheduler.h"
#include "sched/ScheduleSettings.h"

#include "SchedulerFakes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

using std::chrono::seconds;

const UtcZone kUtc;

// Stands for opening the job, rewinding it and beginning it: reads the file it is given.
class ReadingRunner final {
public:
    bool RunJobFile(const std::string& path) {
        paths.push_back(path);
        contents.push_back(test::ReadWholeFile(path));
        return true;
    }
    std::vector<std::string> paths;
    std::vector<std::string> contents;
};

struct SchedulerRig {
    explicit SchedulerRig(CivilTime start = MakeCivilTime(2024, 4, 10, 12, 0, 0))
        : folder("sched"), iniPath(folder.str() + "Slidemill.ini"), clock(kUtc.ToInstant(start)),
          binding([this](const std::string& path) { return runner.RunJobFile(path); },
                  [this](const std::string& caption) { captions.push_back(caption); }),
          scheduler(clock, kUtc, binding, prompts) {
        job = folder.file("jobs/nightly.mjb", "C\tsource.pptx\ttarget.pdf\t\n");
        scheduler.SetUpScheduler(iniPath);
    }
    void RunSeconds(int count) {
        for (int i = 0; i < count; ++i) {
            scheduler.Tick();
            clock.now += seconds{1};
        }
    }
    void EveryTenSeconds() {
        scheduler.form.optTimeBased = true;
        scheduler.form.optCalendarBased = false;
        scheduler.form.txtSeconds = "10";
        scheduler.form.cbScheduledJobFile = job;
    }

    test::TempFolder folder;
    std::string iniPath;
    std::string job;
    test::FakeSchedulerClock clock;
    ReadingRunner runner;
    std::vector<std::string> captions;
    SchedulerRunBinding binding;
    test::RecordingPrompts prompts;
    Scheduler scheduler;
};

TEST(Scheduler, ScheduledJobFileRunsThroughTheRunnerOnceItsTimeHasCome) {
    SchedulerRig rig;
    rig.EveryTenSeconds();
    ASSERT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleOk);
    EXPECT_TRUE(rig.scheduler.bSchedularEnabled());
    EXPECT_TRUE(rig.scheduler.Locked());

    rig.RunSeconds(10);
    EXPECT_TRUE(rig.runner.paths.empty());
    rig.RunSeconds(1);
    ASSERT_EQ(rig.runner.paths.size(), 1u);
    EXPECT_EQ(rig.runner.paths[0], rig.job);
    EXPECT_EQ(rig.runner.contents[0], "C\tsource.pptx\ttarget.pdf\t\n");
    ASSERT_GE(rig.captions.size(), 11u);
    EXPECT_EQ(rig.captions[0], "10 seconds before next run.");
    EXPECT_EQ(rig.captions[10], "Job is Running");
    rig.RunSeconds(10);
    EXPECT_EQ(rig.runner.paths.size(), 2u);
}

TEST(Scheduler, InvalidScheduleShowsItsMessageAndStaysStopped) {
    SchedulerRig rig;
    rig.EveryTenSeconds();
    rig.scheduler.form.txtSeconds = "0";
    EXPECT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleNoInterval);
    EXPECT_FALSE(rig.scheduler.bSchedularEnabled());
    EXPECT_FALSE(rig.scheduler.Locked());
    ASSERT_EQ(rig.prompts.messages.size(), 1u);
    EXPECT_EQ(rig.prompts.messages[0], "Please enter a time interval");

    rig.scheduler.form.optTimeBased = false;
    rig.scheduler.form.optCalendarBased = true;
    rig.scheduler.form.optDaily = false;
    rig.scheduler.form.optWeekly = true;
    EXPECT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleNoWeekday);
    EXPECT_EQ(rig.prompts.messages.back(), "Please select day(s) of the week to run the job.");
    rig.RunSeconds(30);
    EXPECT_TRUE(rig.runner.paths.empty());
}

TEST(Scheduler, DailyStartedWithinTheStartMinuteRunsAtOnceAndLaterStartsWaitForTomorrow) {
    for (const int startSecond : {30, 60}) {
        SchedulerRig rig(MakeCivilTime(2024, 4, 10, 9, 0, 0) + seconds{startSecond});
        auto& form = rig.scheduler.form;
        form.cbScheduledJobFile = rig.job;
        form.cbHours = "9";
        form.cbMinutes = "00";
        form.cbAmPm = "AM";
        ASSERT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleOk);
        rig.RunSeconds(1);
        EXPECT_EQ(rig.runner.paths.size(), startSecond == 30 ? 1u : 0u) << startSecond;
        EXPECT_EQ(rig.scheduler.Timer().Schedule().targetComplete, MakeCivilTime(2024, 4, 11, 9, 0))
            << startSecond;
    }
}

TEST(Scheduler, OnlyTheFirstWeeklyStartAfterLoadingIgnoresTheGapOfWeeks) {
    SchedulerRig rig(MakeCivilTime(2024, 4, 11, 10, 0, 0)); // a Thursday
    auto& form = rig.scheduler.form;
    form.cbScheduledJobFile = rig.job;
    form.optDaily = false;
    form.optWeekly = true;
    form.txtNumWeeks = "2";
    form.chkMon = true;
    form.chkWed = true;
    form.cbHours = "9";
    ASSERT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleOk);
    EXPECT_EQ(rig.scheduler.Timer().Schedule().targetComplete, MakeCivilTime(2024, 4, 15, 9, 0));
    rig.scheduler.cmdEndTimer_Click();
    ASSERT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleOk);
    EXPECT_EQ(rig.scheduler.Timer().Schedule().targetComplete, MakeCivilTime(2024, 4, 22, 9, 0));
}

TEST(Scheduler, MonthlyOnTheThirtyFirstWarnsAndTakesTheMonthsLastDay) {
    SchedulerRig rig(MakeCivilTime(2024, 4, 10, 8, 0, 0));
    auto& form = rig.scheduler.form;
    form.cbScheduledJobFile = rig.job;
    form.optDaily = false;
    form.optMonthly = true;
    form.txtDayOfMonth = "31";
    form.cbHours = "7";
    form.cbMinutes = "05";
    form.cbAmPm = "PM";
    ASSERT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleOk);
    ASSERT_EQ(rig.prompts.messages.size(), 1u);
    EXPECT_EQ(rig.prompts.messages[0],
              "If a month has fewer than 31 days then the job will run on the last day of the month");
    EXPECT_EQ(rig.scheduler.Timer().Schedule().targetComplete, MakeCivilTime(2024, 4, 30, 19, 5));
    EXPECT_EQ(form.dtTargetComplete, MakeCivilTime(2024, 4, 30, 19, 5));
    EXPECT_EQ(form.dtUserTargetTime, std::chrono::hours{19} + std::chrono::minutes{5});
}

TEST(Scheduler, EndAndPauseStopTheTimerAndUnlockTheWindow) {
    SchedulerRig rig;
    rig.EveryTenSeconds();
    ASSERT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleOk);
    rig.scheduler.cmdEndTimer_Click();
    EXPECT_FALSE(rig.scheduler.bSchedularEnabled());
    EXPECT_FALSE(rig.scheduler.Locked());
    rig.RunSeconds(30);
    EXPECT_TRUE(rig.runner.paths.empty());

    // Pausing the job that a tick started stops the scheduler from inside the run.
    struct PausingRunner final {
        Scheduler* scheduler = nullptr;
        int runs = 0;
        bool RunJobFile(const std::string&) {
            ++runs;
            scheduler->ConversionJobPaused();
            return true;
        }
    } pausing;
    SchedulerRunBinding binding([&](const std::string& path) { return pausing.RunJobFile(path); }, {});
    Scheduler scheduler(rig.clock, kUtc, binding, rig.prompts);
    pausing.scheduler = &scheduler;
    scheduler.form = rig.scheduler.form;
    ASSERT_EQ(scheduler.cmdStartTimer_Click(), kScheduleOk);
    for (int i = 0; i < 40; ++i) {
        scheduler.Tick();
        rig.clock.now += seconds{1};
    }
    EXPECT_EQ(pausing.runs, 1);
    EXPECT_FALSE(scheduler.bSchedularEnabled());
    EXPECT_FALSE(scheduler.Locked());
}

TEST(Scheduler, PickedJobFileJoinsTheListAndMissingOnesAreRefused) {
    SchedulerRig rig;
    rig.scheduler.JobFilePicked("");
    EXPECT_EQ(rig.prompts.messages.back(), "Please select a job file");
    rig.scheduler.JobFilePicked(rig.folder.str() + "missing.mjb");
    EXPECT_EQ(rig.prompts.messages.back(), "Job file does not exist");
    EXPECT_EQ(rig.scheduler.form.cbScheduledJobFile, "");

    const std::string other = rig.folder.file("jobs/other.mjb");
    rig.scheduler.JobFilePicked(rig.job);
    rig.scheduler.JobFilePicked(other);
    EXPECT_EQ(rig.scheduler.form.cbScheduledJobFile, other);
    EXPECT_EQ(rig.scheduler.form.cbScheduledJobFileItems, (std::vector<std::string>{other, rig.job}));
    // Setting the scheduler up again (the window opened once more) keeps the picked files.
    rig.scheduler.SetUpScheduler(rig.iniPath);
    EXPECT_EQ(rig.scheduler.form.cbScheduledJobFileItems, (std::vector<std::string>{other, rig.job}));
    EXPECT_EQ(rig.scheduler.form.cbScheduledJobFile, other);
}

TEST(Scheduler, UnloadWithAnInvalidScheduleOnlyClearsTheRestartFlag) {
    SchedulerRig rig;
    IniFile ini(rig.iniPath);
    ASSERT_TRUE(ini.WriteString(kSchedulerSection, "txtNumDays", "4"));
    ASSERT_TRUE(ini.WriteString(kSchedulerSection, "chkPersistRunning", "1"));
    rig.scheduler.form.cbScheduledJobFile = "";
    rig.scheduler.form.txtNumDays = "9";
    EXPECT_EQ(rig.scheduler.Unload(ini, false), kScheduleCalendarNoJobFile);
    EXPECT_TRUE(rig.prompts.messages.empty()) << "unloading shows no check messages";
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "chkPersistRunning", ""), "0");
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "txtNumDays", ""), "4");
    EXPECT_FALSE(ini.Find(kSchedulerSection, "optDaily").has_value());

    // A weekly schedule without a day says so even while unloading.
    rig.scheduler.form.cbScheduledJobFile = rig.job;
    rig.scheduler.form.optDaily = false;
    rig.scheduler.form.optWeekly = true;
    EXPECT_EQ(rig.scheduler.Unload(ini, false), kScheduleNoWeekday);
    EXPECT_EQ(rig.prompts.messages,
              (std::vector<std::string>{"Please select day(s) of the week to run the job."}));
    EXPECT_FALSE(ini.Find(kSchedulerSection, "optDaily").has_value());

    // Empty boxes are stored as a start would take them.
    rig.scheduler.form.optWeekly = false;
    rig.scheduler.form.optDaily = true;
    rig.scheduler.form.txtNumDays = "";
    EXPECT_EQ(rig.scheduler.Unload(ini, false), kScheduleOk);
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "txtNumDays", ""), "1");
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "cbScheduledJobFile", ""), rig.job);
}

TEST(Scheduler, CommandLineUnloadWritesNothing) {
    SchedulerRig rig;
    const std::string before = "[frmScheduler]\nchkPersistRunning=1\n";
    test::TempFolder other("sched");
    const std::string path = other.file("Slidemill.ini", before);
    IniFile ini(path);
    rig.scheduler.form.cbScheduledJobFile = "";
    rig.scheduler.Unload(ini, true);
    EXPECT_EQ(test::ReadWholeFile(path), before);
}

TEST(Scheduler, PersistedScheduleRestartsWithTheSameJobButNotFromTheCommandLine) {
    SchedulerRig rig;
    // The job file was typed, not picked: starting must still make it the one a restart finds.
    const std::string picked = rig.folder.file("jobs/picked.mjb");
    rig.scheduler.JobFilePicked(picked);
    rig.EveryTenSeconds();
    rig.scheduler.form.chkPersistRunning = true;
    ASSERT_EQ(rig.scheduler.cmdStartTimer_Click(), kScheduleOk);
    IniFile ini(rig.iniPath);
    ASSERT_EQ(rig.scheduler.Unload(ini, false), kScheduleOk);

    const auto reload = [&](Scheduler& next) {
        next.ReadIniFileScheduler(ini);
        next.SetUpScheduler(rig.iniPath);
    };
    test::RecordingSchedulerEvents events;
    Scheduler fromCommandLine(rig.clock, kUtc, events, rig.prompts);
    reload(fromCommandLine);
    EXPECT_FALSE(RestartPersistedSchedule(fromCommandLine, rig.iniPath, true));
    EXPECT_FALSE(fromCommandLine.bSchedularEnabled());

    Scheduler restarted(rig.clock, kUtc, events, rig.prompts);
    reload(restarted);
    ASSERT_TRUE(RestartPersistedSchedule(restarted, rig.iniPath, false));
    EXPECT_TRUE(restarted.bSchedularEnabled());
    EXPECT_EQ(restarted.ScheduledJobFile(), rig.job);
    EXPECT_EQ(restarted.Timer().Schedule().intervalSeconds, 10);
    for (int i = 0; i <= 10; ++i) {
        restarted.Tick();
        rig.clock.now += seconds{1};
    }
    EXPECT_EQ(events.runs, (std::vector<std::string>{rig.job}));
}

TEST(Scheduler, ScheduleNotMarkedForRestartStaysStopped) {
    SchedulerRig rig;
    rig.EveryTenSeconds();
    IniFile ini(rig.iniPath);
    ASSERT_EQ(rig.scheduler.Unload(ini, false), kScheduleOk);
    test::RecordingSchedulerEvents events;
    Scheduler next(rig.clock, kUtc, events, rig.prompts);
    next.ReadIniFileScheduler(ini);
    next.SetUpScheduler(rig.iniPath);
    EXPECT_FALSE(RestartPersistedSchedule(next, rig.iniPath, false));
    EXPECT_FALSE(next.bSchedularEnabled());
}

} // namespace
} // namespace slidemill
