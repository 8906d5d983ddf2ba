#include "sched/TimeRemaining.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

TEST(TimeRemaining, SplitsBeforeAndAfterTheTargetIntoMagnitudes) {
    // 1 day, 0 hours, 5 minutes, 9 seconds before the target.
    EXPECT_EQ(SplitTimeRemaining(-(86400 + 5 * 60 + 9)), (TimeRemaining{1, 0, 5, 9}));
    // The same distance after the target reads the same.
    EXPECT_EQ(SplitTimeRemaining(86400 + 5 * 60 + 9), (TimeRemaining{1, 0, 5, 9}));
    EXPECT_EQ(SplitTimeRemaining(-(3 * 86400 + 23 * 3600 + 59 * 60 + 59)), (TimeRemaining{3, 23, 59, 59}));
    EXPECT_EQ(SplitTimeRemaining(-3600), (TimeRemaining{0, 1, 0, 0}));
    EXPECT_EQ(SplitTimeRemaining(0), (TimeRemaining{0, 0, 0, 0}));
}

TEST(TimeRemaining, CaptionLeavesOutZeroPartsButAlwaysShowsSeconds) {
    EXPECT_EQ(TimeRemainingCaption({1, 0, 5, 9}), "1 days : 5 minutes : 9 seconds before next run.");
    EXPECT_EQ(TimeRemainingCaption({0, 2, 0, 0}), "2 hours : 0 seconds before next run.");
    EXPECT_EQ(TimeRemainingCaption({0, 0, 0, 7}), "7 seconds before next run.");
    EXPECT_EQ(TimeRemainingCaption({0, 0, 0, 0}), "Job is Running");
}

TEST(TimeRemaining, CaptionTranslatesEachWordAndNotTheNumbers) {
    const auto upper = [](const std::string& text) {
        std::string result = text;
        for (char& c : result)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return "<" + result + ">";
    };
    EXPECT_EQ(TimeRemainingCaption({0, 3, 0, 1}, upper), "3 <HOURS> : 1 <SECONDS> <BEFORE NEXT RUN>.");
    EXPECT_EQ(TimeRemainingCaption({0, 0, 0, 0}, upper), "<JOB IS RUNNING>");
}

} // namespace
} // namespace slidemill
