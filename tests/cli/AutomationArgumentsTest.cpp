#include "cli/AutomationArguments.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

TEST(AutomationArguments, OnlyALineStartingWithTheSwitchAsksForTheService) {
    AutomationArguments parsed;
    EXPECT_FALSE(ParseAutomationArguments({}, parsed));
    EXPECT_FALSE(ParseAutomationArguments({"/S", "a.pptx", "--automation"}, parsed));
    ASSERT_TRUE(ParseAutomationArguments({"--automation"}, parsed));
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.idleTimeout, std::chrono::seconds(60));
}

TEST(AutomationArguments, IdleTimeoutInEitherSpellingAndZeroForNever) {
    AutomationArguments parsed;
    ASSERT_TRUE(ParseAutomationArguments({"--automation", "--idle-timeout", "5"}, parsed));
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.idleTimeout, std::chrono::seconds(5));
    ASSERT_TRUE(ParseAutomationArguments({"--automation", "--idle-timeout=0"}, parsed));
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.idleTimeout, std::chrono::seconds(0));
    // A second parse starts from the defaults, not from the last one.
    ASSERT_TRUE(ParseAutomationArguments({"--automation"}, parsed));
    EXPECT_EQ(parsed.idleTimeout, std::chrono::seconds(60));
}

TEST(AutomationArguments, BadValuesAndUnknownOptionsAreNamed) {
    AutomationArguments parsed;
    for (const std::vector<std::string>& line : {std::vector<std::string>{"--automation", "--idle-timeout"},
                                                 {"--automation", "--idle-timeout", "-1"},
                                                 {"--automation", "--idle-timeout", "1.5"},
                                                 {"--automation", "--idle-timeout", "10s"},
                                                 {"--automation", "--idle-timeout="},
                                                 {"--automation", "--idle-timeout", "604801"}}) {
        ASSERT_TRUE(ParseAutomationArguments(line, parsed));
        EXPECT_NE(parsed.error.find("--idle-timeout"), std::string::npos) << line.back();
    }
    ASSERT_TRUE(ParseAutomationArguments({"--automation", "/S"}, parsed));
    EXPECT_NE(parsed.error.find("/S"), std::string::npos);
}

} // namespace
} // namespace slidemill
