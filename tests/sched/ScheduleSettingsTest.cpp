#include "sched/ScheduleSettings.h"
#include "sched/DateText.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace slidemill {
namespace {

const CivilTime kToday = MakeCivilTime(2024, 4, 10, 15, 30, 0);

std::vector<std::string> KeysInFileOrder(const std::string& path) {
    std::vector<std::string> keys;
    std::istringstream in(test::ReadWholeFile(path));
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            keys.push_back(line.substr(0, equals));
    }
    return keys;
}

TEST(ScheduleSettings, MissingFileGivesTheDefaults) {
    test::TempFolder folder("sched");
    ScheduleForm form;
    form.txtHours = "5";
    form.optTimeBased = true;
    form.optCalendarBased = false;
    ReadScheduleForm(IniFile(folder.str() + "none.ini"), form, kToday);
    const ScheduleForm defaults;
    EXPECT_FALSE(form.optTimeBased);
    EXPECT_TRUE(form.optCalendarBased);
    EXPECT_EQ(form.txtHours, "0");
    EXPECT_TRUE(form.optDaily);
    EXPECT_EQ(form.cbHours, "12");
    EXPECT_EQ(form.cbMinutes, "00");
    EXPECT_EQ(form.cbAmPm, "AM");
    EXPECT_EQ(form.txtNumDays, "1");
    EXPECT_TRUE(form.optImmediately);
    EXPECT_FALSE(form.optSkip);
    EXPECT_FALSE(form.chkPersistRunning);
    EXPECT_EQ(form.dtUserTargetTime, std::chrono::seconds{0});
    EXPECT_EQ(form.dtTargetComplete, MakeCivilTime(2000, 1, 1));
}

TEST(ScheduleSettings, WritesEveryKeyInItsOrderAndReadsItBack) {
    test::TempFolder folder("sched");
    IniFile ini(folder.str() + "settings.ini");
    ScheduleForm form;
    form.optTimeBased = true;
    form.optCalendarBased = false;
    form.txtHours = "1.5";
    form.txtMinutes = "7";
    form.txtSeconds = "";
    form.optImmediately = false;
    form.optSkip = true;
    form.optDaily = false;
    form.optWeekly = true;
    form.cbHours = "7";
    form.cbMinutes = "05";
    form.cbAmPm = "PM";
    form.optNumDays = false;
    form.optWeekdays = true;
    form.txtNumWeeks = "3";
    form.chkMon = true;
    form.chkSat = true;
    form.txtDayOfMonth = "31";
    form.txtNumMonths = "12";
    form.cbScheduledJobFile = "/data/jobs/nightly run.mjb";
    form.chkPersistRunning = true;
    form.dtUserTargetTime = std::chrono::hours{19} + std::chrono::minutes{5};
    form.dtTargetComplete = MakeCivilTime(2024, 12, 31, 0, 0, 0);
    ASSERT_TRUE(WriteScheduleForm(ini, form));

    const std::vector<std::string> order{"optTimeBased",
                                         "optCalendarBased",
                                         "txtHours",
                                         "txtMinutes",
                                         "txtSeconds",
                                         "optImmediately",
                                         "optSkip",
                                         "optDaily",
                                         "optWeekly",
                                         "optMonthly",
                                         "cbHours",
                                         "cbMinutes",
                                         "cbAmPm",
                                         "optNumDays",
                                         "txtNumDays",
                                         "optWeekdays",
                                         "txtNumWeeks",
                                         "chkSun",
                                         "chkMon",
                                         "chkTue",
                                         "chkWed",
                                         "chkThu",
                                         "chkFri",
                                         "chkSat",
                                         "txtDayOfMonth",
                                         "txtNumMonths",
                                         "cbScheduledJobFile",
                                         "chkPersistRunning",
                                         "dtUserTargetTime",
                                         "dtTargetComplete"};
    EXPECT_EQ(KeysInFileOrder(ini.Path()), order);
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "optTimeBased", ""), "True");
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "optDaily", ""), "False");
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "chkMon", ""), "1");
    EXPECT_EQ(ini.ReadString(kSchedulerSection, "chkSun", ""), "0");

    ScheduleForm back;
    ReadScheduleForm(ini, back, kToday);
    EXPECT_TRUE(back.optTimeBased);
    EXPECT_FALSE(back.optCalendarBased);
    EXPECT_EQ(back.txtHours, "1.5");
    EXPECT_EQ(back.txtSeconds, "");
    EXPECT_TRUE(back.optSkip);
    EXPECT_FALSE(back.optImmediately);
    EXPECT_TRUE(back.optWeekly);
    EXPECT_FALSE(back.optDaily);
    EXPECT_EQ(back.cbHours, "7");
    EXPECT_EQ(back.cbMinutes, "05");
    EXPECT_EQ(back.cbAmPm, "PM");
    EXPECT_TRUE(back.optWeekdays);
    EXPECT_EQ(back.txtNumWeeks, "3");
    EXPECT_EQ(back.ChosenWeekdays(), (std::array<bool, 7>{false, true, false, false, false, false, true}));
    EXPECT_EQ(back.txtDayOfMonth, "31");
    EXPECT_EQ(back.txtNumMonths, "12");
    EXPECT_EQ(back.cbScheduledJobFile, "") << "the job file box is filled from its list, not from this key";
    EXPECT_TRUE(back.chkPersistRunning);
    EXPECT_EQ(back.dtUserTargetTime, form.dtUserTargetTime);
    EXPECT_EQ(back.dtTargetComplete, form.dtTargetComplete);
    EXPECT_TRUE(PersistedScheduleWanted(ini));
}

TEST(ScheduleSettings, HandEditedValuesAreReadLikeTheControlsWouldTakeThem) {
    test::TempFolder folder("sched");
    const std::string path = folder.file("settings.ini", "[frmScheduler]\n"
                                                         "optTimeBased=TRUE\n"
                                                         "optCalendarBased=true\n"
                                                         "optDaily=false\n"
                                                         "optWeekly=FALSE\n"
                                                         "optMonthly=maybe\n"
                                                         "optImmediately=false\n"
                                                         "optSkip=1\n"
                                                         "cbHours=13\n"
                                                         "cbMinutes=7\n"
                                                         "cbAmPm=pm\n"
                                                         "chkWed=1\n"
                                                         "chkPersistRunning=2\n"
                                                         "dtUserTargetTime=not a time\n"
                                                         "dtTargetComplete=\n");
    ScheduleForm form;
    ReadScheduleForm(IniFile(path), form, kToday);
    // Turning an option on turns its partners off, so the later "true" wins.
    EXPECT_FALSE(form.optTimeBased);
    EXPECT_TRUE(form.optCalendarBased);
    // A group left with nothing selected falls back to its default.
    EXPECT_TRUE(form.optDaily);
    EXPECT_FALSE(form.optWeekly);
    EXPECT_FALSE(form.optMonthly);
    EXPECT_TRUE(form.optSkip);
    EXPECT_FALSE(form.optImmediately);
    // The start-time lists accept only their own entries.
    EXPECT_EQ(form.cbHours, "12");
    EXPECT_EQ(form.cbMinutes, "00");
    EXPECT_EQ(form.cbAmPm, "AM");
    EXPECT_TRUE(form.chkWed);
    EXPECT_TRUE(form.chkPersistRunning);
    // Unreadable and empty dates give today.
    EXPECT_EQ(form.dtUserTargetTime, std::chrono::seconds{0});
    EXPECT_EQ(form.dtTargetComplete, MakeCivilTime(2024, 4, 10));
}

TEST(DateText, RoundTripsAndReadsTheUsualForms) {
    for (const CivilTime t : {MakeCivilTime(2000, 1, 1), MakeCivilTime(2024, 2, 29, 23, 59, 59),
                              MakeCivilTime(1999, 12, 31, 12, 0, 1), MakeCivilTime(2024, 7, 4, 0, 30, 0)}) {
        const auto back = ParseGeneralDateText(GeneralDateText(t), kToday);
        ASSERT_TRUE(back.has_value()) << GeneralDateText(t);
        EXPECT_EQ(*back, t) << GeneralDateText(t);
    }
    EXPECT_EQ(GeneralDateText(MakeCivilTime(2000, 1, 1)), "1/1/2000 12:00:00 AM");
    EXPECT_EQ(GeneralDateText(MakeCivilTime(2024, 12, 31, 12, 5, 0)), "12/31/2024 12:05:00 PM");
    EXPECT_EQ(GeneralTimeText(std::chrono::hours{19} + std::chrono::minutes{5}), "7:05:00 PM");
    EXPECT_EQ(ParseGeneralDateText("3/4/2024", kToday), MakeCivilTime(2024, 3, 4));
    EXPECT_EQ(ParseGeneralDateText("7:05 pm", kToday), MakeCivilTime(2024, 4, 10, 19, 5));
    EXPECT_EQ(ParseGeneralDateText("3/4/2024 17:45:10", kToday), MakeCivilTime(2024, 3, 4, 17, 45, 10));
    for (const char* bad : {"", "2/30/2024", "13/1/2024", "1/1/2000 13:00:00 PM", "1/1/2000 10:60",
                            "12:00 XM", "1/1/2000 12:00:00 AM extra", "1//2000"})
        EXPECT_FALSE(ParseGeneralDateText(bad, kToday).has_value()) << bad;
    EXPECT_EQ(StoredDate("garbage", kToday), MakeCivilTime(2024, 4, 10));
}

} // namespace
} // namespace slidemill
