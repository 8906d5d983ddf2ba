#include "core/FormatValues.h"

#include <gtest/gtest.h>

using namespace slidemill;

TEST(ColorValues, StoredBlueGreenRedShowsAsRedGreenBlue) {
    EXPECT_EQ(ColorText(0x0000FF), "#FF0000"); // stored red
    EXPECT_EQ(ColorText(0xFF0000), "#0000FF"); // stored blue
    EXPECT_EQ(ColorText(0x123456), "#563412");
    EXPECT_EQ(ColorText(0x80000005), "#050000"); // the top byte is no colour
    EXPECT_EQ(ColorFromText("#FF0000"), 0x0000FF);
    EXPECT_EQ(ColorFromText("563412"), 0x123456);
    EXPECT_EQ(ColorFromText("#abcdef"), 0xEFCDAB);
    EXPECT_EQ(ColorFromText(ColorText(0x00C0FFEE)), 0x00C0FFEE);
}

TEST(ColorValues, OtherTextIsNoColour) {
    EXPECT_FALSE(ColorFromText(""));
    EXPECT_FALSE(ColorFromText("#FFF"));
    EXPECT_FALSE(ColorFromText("#GG0000"));
    EXPECT_FALSE(ColorFromText("#FF00001"));
    EXPECT_FALSE(ColorFromText("red"));
}

TEST(BaseLineValues, SignGivesThePositionAndPointsTheSize) {
    EXPECT_EQ(BaseLineFromTwips(0).position, BaseLinePosition::Normal);
    const BaseLine raised = BaseLineFromTwips(80);
    EXPECT_EQ(raised.position, BaseLinePosition::Raised);
    EXPECT_DOUBLE_EQ(raised.points, 4.0);
    const BaseLine lowered = BaseLineFromTwips(-60);
    EXPECT_EQ(lowered.position, BaseLinePosition::Lowered);
    EXPECT_DOUBLE_EQ(lowered.points, 3.0);
    EXPECT_EQ(TwipsFromBaseLine({BaseLinePosition::Raised, 4.0}), 80);
    EXPECT_EQ(TwipsFromBaseLine({BaseLinePosition::Lowered, 3.0}), -60);
    EXPECT_EQ(TwipsFromBaseLine({BaseLinePosition::Lowered, -3.0}), -60);
    EXPECT_EQ(TwipsFromBaseLine({BaseLinePosition::Normal, 5.0}), 0);
    EXPECT_EQ(TwipsFromBaseLine(BaseLineFromTwips(-7)), -7);
}

TEST(LineSpacingValues, ExactWinsOverProportional) {
    EXPECT_EQ(LineSpacingTypeOf(0, 0), LineSpacingType::Unchanged);
    EXPECT_EQ(LineSpacingTypeOf(150, 0), LineSpacingType::Proportional);
    EXPECT_EQ(LineSpacingTypeOf(150, 360), LineSpacingType::Exact);
    EXPECT_EQ(LineSpacingTypeOf(0, -5), LineSpacingType::Unchanged);
}

TEST(FrameValues, SidesAndDoubleLineRoundTrip) {
    EXPECT_EQ(FrameChoiceFromStyle(0), FrameChoice{});
    EXPECT_EQ(FrameChoiceFromStyle(16), (FrameChoice{true, true, true, true, false}));
    EXPECT_EQ(FrameChoiceFromStyle(1 | 8 | 32), (FrameChoice{true, false, false, true, true}));
    for (int bits = 0; bits < 64; ++bits) {
        FrameChoice f{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0, (bits & 32) != 0};
        EXPECT_EQ(FrameChoiceFromStyle(FrameStyleFromChoice(f)), f) << bits;
    }
    EXPECT_EQ(FrameStyleFromChoice({true, true, true, true, false}), 16);
}
