#include "sched/ScheduleValidation.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

struct IntervalCase {
    const char* hours;
    const char* minutes;
    const char* seconds;
    int code;
    long long interval;
};

TEST(CheckTimeBasedSchedule, IntervalCodesAndRounding) {
    test::TempFolder folder("sched");
    const std::string job = folder.file("job.mjb");
    const IntervalCase cases[] = {
        {"0", "0", "0", kScheduleNoInterval, 0},
        {"-1", "0", "30", kScheduleInvalidHours, 0},
        {"abc", "x", "x", kScheduleInvalidHours, 0},
        {"1", "-5", "0", kScheduleInvalidMinutes, 0},
        {"1", "5", "ten", kScheduleInvalidSeconds, 0},
        {"0x10", "0", "0", kScheduleInvalidHours, 0},
        {"inf", "0", "0", kScheduleInvalidHours, 0},
        {"", "", "10", kScheduleOk, 10},
        {" ", "2", "", kScheduleOk, 120},
        {"1.5", "0", "0", kScheduleOk, 5400},
        {"0", "0", "2.6", kScheduleOk, 3},
        // Rounds to no time at all, or beyond what the interval can hold.
        {"0", "0", "0.2", kScheduleInvalidInterval, 0},
        {"1e9", "0", "0", kScheduleInvalidInterval, 0},
    };
    for (const auto& c : cases) {
        ScheduleForm form;
        form.txtHours = c.hours;
        form.txtMinutes = c.minutes;
        form.txtSeconds = c.seconds;
        long long interval = 0;
        EXPECT_EQ(CheckTimeBasedSchedule(form, job, interval), c.code)
            << c.hours << " / " << c.minutes << " / " << c.seconds;
        if (c.code == kScheduleOk) {
            EXPECT_EQ(interval, c.interval) << c.hours << " / " << c.minutes << " / " << c.seconds;
        }
    }
}

TEST(CheckTimeBasedSchedule, EmptyBoxesBecomeZeroAndJobFileCodesWin) {
    test::TempFolder folder("sched");
    ScheduleForm form;
    form.txtHours = "";
    form.txtMinutes = "";
    form.txtSeconds = "30";
    long long interval = 0;
    EXPECT_EQ(CheckTimeBasedSchedule(form, folder.file("job.mjb"), interval), kScheduleOk);
    EXPECT_EQ(form.txtHours, "0");
    EXPECT_EQ(form.txtMinutes, "0");

    form.txtHours = "-1";
    EXPECT_EQ(CheckTimeBasedSchedule(form, "", interval), kScheduleNoJobFile);
    EXPECT_EQ(CheckTimeBasedSchedule(form, folder.str() + "missing.mjb", interval), kScheduleJobFileMissing);
    EXPECT_EQ(CheckTimeBasedSchedule(form, folder.folder("a folder"), interval), kScheduleJobFileMissing);
}

TEST(CheckCalendarSchedule, CodesInTheirOrder) {
    test::TempFolder folder("sched");
    const std::string job = folder.file("job.mjb");
    const auto check = [&](auto edit, std::string taken = "") {
        ScheduleForm form;
        form.cbScheduledJobFile = job;
        edit(form);
        CalendarNumbers numbers;
        return CheckCalendarSchedule(form, taken, numbers);
    };
    EXPECT_EQ(check([](ScheduleForm&) {}), kScheduleOk);
    EXPECT_EQ(check([](ScheduleForm& f) { f.cbScheduledJobFile = ""; }), kScheduleCalendarNoJobFile);
    EXPECT_EQ(check([](ScheduleForm& f) { f.cbScheduledJobFile = ""; }, job), kScheduleSelectJobFile);
    EXPECT_EQ(check([&](ScheduleForm& f) { f.cbScheduledJobFile = folder.str() + "gone.mjb"; }),
              kScheduleCalendarJobFileMissing);
    EXPECT_EQ(check([](ScheduleForm& f) { f.txtNumDays = "0"; }), kScheduleInvalidNumDays);
    EXPECT_EQ(check([](ScheduleForm& f) { f.txtNumDays = "0.3"; }), kScheduleInvalidNumDays);
    EXPECT_EQ(check([](ScheduleForm& f) { f.txtNumDays = "x"; }), kScheduleInvalidNumDays);
    EXPECT_EQ(check([](ScheduleForm& f) { f.txtNumWeeks = "-2"; }), kScheduleInvalidNumWeeks);
    EXPECT_EQ(check([](ScheduleForm& f) { f.txtDayOfMonth = "32"; }), kScheduleInvalidDayOfMonth);
    EXPECT_EQ(check([](ScheduleForm& f) { f.txtDayOfMonth = "0"; }), kScheduleInvalidDayOfMonth);
    EXPECT_EQ(check([](ScheduleForm& f) { f.txtNumMonths = "13"; }), kScheduleInvalidNumMonths);
    // Every number is checked whatever the kind, days first.
    EXPECT_EQ(check([](ScheduleForm& f) {
                  f.txtNumDays = "0";
                  f.txtNumMonths = "13";
              }),
              kScheduleInvalidNumDays);
    // A weekly schedule needs a day; other kinds do not.
    EXPECT_EQ(check([](ScheduleForm& f) {
                  f.optDaily = false;
                  f.optWeekly = true;
              }),
              kScheduleNoWeekday);
    EXPECT_EQ(check([](ScheduleForm& f) {
                  f.optDaily = false;
                  f.optWeekly = true;
                  f.chkThu = true;
              }),
              kScheduleOk);
}

TEST(CheckCalendarSchedule, EmptyBoxesBecomeOneAndNumbersAreWhole) {
    test::TempFolder folder("sched");
    ScheduleForm form;
    form.cbScheduledJobFile = folder.file("job.mjb");
    form.txtNumDays = "  ";
    form.txtNumWeeks = "";
    form.txtDayOfMonth = "31";
    form.txtNumMonths = "2.4";
    std::string taken;
    CalendarNumbers numbers;
    ASSERT_EQ(CheckCalendarSchedule(form, taken, numbers), kScheduleOk);
    EXPECT_EQ(form.txtNumDays, "1");
    EXPECT_EQ(form.txtNumWeeks, "1");
    EXPECT_EQ(numbers.numDays, 1);
    EXPECT_EQ(numbers.dayOfMonth, 31);
    EXPECT_EQ(numbers.numMonths, 2);
    EXPECT_EQ(taken, form.cbScheduledJobFile) << "the box's job file is taken when none was";
}

TEST(ScheduleCheckMessage, EveryCodeHasItsTextAndFocus) {
    EXPECT_EQ(ScheduleCheckMessage(kScheduleNoInterval), "Please enter a time interval");
    EXPECT_EQ(ScheduleCheckMessage(kScheduleInvalidInterval), "Please enter a valid time interval.");
    EXPECT_EQ(ScheduleCheckMessage(kScheduleInvalidHours), "Invalid time for hours");
    EXPECT_EQ(ScheduleCheckMessage(kScheduleCalendarNoJobFile), "Please enter a job file");
    EXPECT_EQ(ScheduleCheckMessage(kScheduleSelectJobFile), "Please select a job file");
    EXPECT_EQ(ScheduleCheckMessage(kScheduleCalendarJobFileMissing), "Job file does not exist");
    EXPECT_EQ(ScheduleCheckMessage(kScheduleNoWeekday), "Please select day(s) of the week to run the job.");
    EXPECT_EQ(ScheduleCheckMessage(kScheduleInvalidNumMonths), "Number of months must be between 1 and 12");
    for (int code : {1, 2, 3, 4, 5, 6, 7, 108, 109, 110, 111, 112, 113, 114, 115})
        EXPECT_FALSE(ScheduleCheckMessage(code).empty()) << code;
    EXPECT_EQ(ScheduleCheckFocus(kScheduleCalendarJobFileMissing), ScheduleFocus::FilePicker);
    EXPECT_EQ(ScheduleCheckFocus(kScheduleJobFileMissing), ScheduleFocus::JobFileBox);
    EXPECT_EQ(ScheduleCheckFocus(kScheduleNoInterval), ScheduleFocus::None);
    EXPECT_EQ(ScheduleCheckFocus(kScheduleInvalidDayOfMonth), ScheduleFocus::DayOfMonth);
}

} // namespace
} // namespace slidemill
