#include "core/PageSetup.h"

#include <gtest/gtest.h>

using namespace slidemill;

namespace {
const int kUserDefined = 5;
}

TEST(PageLengths, TwipsShowWithTwoDecimalsInTheChosenUnit) {
    EXPECT_EQ(TwipsToText(12240, kUnitInches), "8.50");
    EXPECT_EQ(TwipsToText(11906, kUnitCentimetres), "21.00");
    EXPECT_EQ(TwipsToText(16837, kUnitCentimetres), "29.69"); // 29.6949
    EXPECT_EQ(TwipsToText(0, kUnitInches), "0.00");
    EXPECT_EQ(TwipsToText(-720, kUnitInches), "-0.50");
    EXPECT_EQ(TwipsToText(1440 * 12345, kUnitInches), "12345.00"); // no thousands separator
    EXPECT_EQ(TwipsToText(1440, 0), "");
    EXPECT_EQ(TwipsToText(1440, 3), "");
}

TEST(PageLengths, TextBecomesRoundedTwipsAndBadTextZero) {
    EXPECT_EQ(TextToTwips("8.5", kUnitInches), 12240);
    EXPECT_EQ(TextToTwips(" 21.00 ", kUnitCentimetres), 11907); // 21 × 567
    EXPECT_EQ(TextToTwips("29.7", kUnitCentimetres), 16840);
    EXPECT_EQ(TextToTwips("-0.25", kUnitInches), -360);
    EXPECT_EQ(TextToTwips("+1", kUnitInches), 1440);
    EXPECT_EQ(TextToTwips("0.0007", kUnitInches), 1);
    EXPECT_EQ(TextToTwips("", kUnitInches), 0);
    EXPECT_EQ(TextToTwips("abc", kUnitInches), 0);
    EXPECT_EQ(TextToTwips("1.5cm", kUnitCentimetres), 0);
    EXPECT_EQ(TextToTwips("1,5", kUnitCentimetres), 0);
    EXPECT_EQ(TextToTwips("inf", kUnitInches), 0);
    EXPECT_EQ(TextToTwips("1e300", kUnitInches), 0);
    EXPECT_EQ(TextToTwips("9999999999", kUnitInches), 0); // beyond a stored long
    EXPECT_EQ(TextToTwips("1", 0), 0);
}

TEST(PaperList, NamedSizesThenUserDefined) {
    const auto names = PaperSizeNames();
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0], "A4");
    EXPECT_EQ(names[3], "Letter");
    EXPECT_EQ(names[5], "User Defined");
    EXPECT_EQ(PaperSizes()[0].size, (PageSize{11906, 16837}));
    EXPECT_EQ(PaperSizes()[1].size, (PageSize{8418, 11906}));
    EXPECT_EQ(PaperSizes()[2].size, (PageSize{9978, 14174}));
    EXPECT_EQ(PaperSizes()[3].size, (PageSize{12240, 15840}));
    EXPECT_EQ(PaperSizes()[4].size, (PageSize{12240, 20160}));
}

TEST(PaperList, TypedSizesMatchWithinTenTwipsEitherWayRound) {
    const PageSize typedA4{TextToTwips("21.00", kUnitCentimetres), TextToTwips("29.70", kUnitCentimetres)};
    EXPECT_EQ(MatchPaperSize(typedA4), 0);
    const PageSize wider{TextToTwips("21.5", kUnitCentimetres), TextToTwips("29.7", kUnitCentimetres)};
    EXPECT_EQ(MatchPaperSize(wider), kUserDefined);
    EXPECT_EQ(MatchPaperSize({15840, 12240}), 3); // landscape Letter
    EXPECT_EQ(MatchPaperSize({12249, 15831}), 3);
    EXPECT_EQ(MatchPaperSize({12250, 15840}), kUserDefined); // exactly 10 apart is too far
    EXPECT_EQ(MatchPaperSize({12240, 20160}), 4);
    EXPECT_EQ(MatchPaperSize({0, 0}), kUserDefined);
    EXPECT_EQ(MatchPaperSize({INT32_MIN, INT32_MAX}), kUserDefined);
}

TEST(PaperList, OrientationSwapsOnlySidesThatDoNotFit) {
    EXPECT_EQ(Oriented({12240, 15840}, true), (PageSize{12240, 15840}));
    EXPECT_EQ(Oriented({12240, 15840}, false), (PageSize{15840, 12240}));
    EXPECT_EQ(Oriented({15840, 12240}, true), (PageSize{12240, 15840}));
    EXPECT_EQ(Oriented({15840, 12240}, false), (PageSize{15840, 12240}));
    EXPECT_EQ(Oriented({1000, 1000}, false), (PageSize{1000, 1000}));
}

TEST(PaperList, UnitLabels) {
    EXPECT_EQ(UnitLabel(kUnitInches), "inch");
    EXPECT_EQ(UnitLabel(kUnitCentimetres), "cm");
    EXPECT_EQ(UnitLabel(7), "");
}
