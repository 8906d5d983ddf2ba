#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

using namespace std::chrono;

local_seconds At(int y, unsigned m, unsigned d, int hh, int mm, int ss) {
    return local_days{year{y} / month{m} / day{d}} + hours{hh} + minutes{mm} + seconds{ss};
}

TEST(CommandLineTokens, CutAtEverySeparatorOutsidePairedQuotes) {
    EXPECT_EQ(CountCommandLineTokens("", '/'), 1);
    EXPECT_EQ(CountCommandLineTokens("x /S a /T b", '/'), 3);
    EXPECT_EQ(CountCommandLineTokens("//", '/'), 3);
    EXPECT_EQ(CountCommandLineTokens("/S \"/data/in/*.pptx\" /R", '/'), 3);
    // An unpaired quote protects nothing, so the slashes after it still cut.
    EXPECT_EQ(CountCommandLineTokens("/S \"/data/in /T /x", '/'), 6);
    // Of three quotes only the first two pair up.
    EXPECT_EQ(CountCommandLineTokens("/S \"/a\" /T \"/b", '/'), 4);
}

TEST(CommandLineTokens, LetterAndValueAreTrimmedOfSpaces) {
    std::string letter;
    const std::string line = "ignored /S  \"/data/my in/a.pptx\"  /c32/R";
    EXPECT_EQ(GetCommandLineToken(1, line, '/', letter), "gnored");
    EXPECT_EQ(letter, "i");
    EXPECT_EQ(GetCommandLineToken(2, line, '/', letter), "\"/data/my in/a.pptx\"");
    EXPECT_EQ(letter, "S");
    EXPECT_EQ(GetCommandLineToken(3, line, '/', letter), "32");
    EXPECT_EQ(letter, "c");
    EXPECT_EQ(GetCommandLineToken(4, line, '/', letter), "");
    EXPECT_EQ(letter, "R");
    EXPECT_EQ(GetCommandLineToken(5, line, '/', letter), "");
    EXPECT_EQ(letter, "");
    EXPECT_EQ(GetCommandLineToken(0, line, '/', letter), "");
}

TEST(CommandLineTokens, StripQuotesRemovesEveryQuote) {
    EXPECT_EQ(StripQuotes("\"/a b/\"c\"\""), "/a b/c");
    EXPECT_EQ(StripQuotes(""), "");
}

TEST(DateTimePlaceholders, OnlyUpperCaseFormsAreReplaced) {
    const auto when = At(2024, 3, 7, 9, 5, 30);
    EXPECT_EQ(ExpandDateTimePlaceholders("/logs/run_[YMD]_[HIS].txt", when), "/logs/run_20240307_090530.txt");
    EXPECT_EQ(ExpandDateTimePlaceholders("[Y]-[M]-[D] [H]:[I]:[S] [MDY]", when),
              "2024-03-07 09:05:30 03072024");
    EXPECT_EQ(ExpandDateTimePlaceholders("[ymd][Ymd][YMD][YMD]", when), "[ymd][Ymd]2024030720240307");
    EXPECT_EQ(ExpandDateTimePlaceholders("", when), "");
    EXPECT_EQ(ExpandDateTimePlaceholders("[", when), "[");
    EXPECT_EQ(ExpandDateTimePlaceholders("[H][I][S]", At(2024, 12, 31, 23, 59, 59)), "235959");
}

TEST(JoinArguments, ValuesOfBareSwitchesAreTakenWhole) {
    EXPECT_EQ(JoinCommandLineArguments({"/S", "/data/in/*.pptx", "/R", "/T", "/data/out/*.pdf", "/C", "32",
                                        "/L", "/tmp/run_[YMD].log"}),
              "/S \"/data/in/*.pptx\" /R /T \"/data/out/*.pdf\" /C 32 /L \"/tmp/run_[YMD].log\"");
    // Lower-case letters; a value that looks like a switch; an empty value.
    EXPECT_EQ(JoinCommandLineArguments({"/s", "/R", "/j", ""}), "/s \"/R\" /j \"\"");
    // Quotes inside a value cannot pair with quotes of another value.
    EXPECT_EQ(JoinCommandLineArguments({"/S", "/a\"b", "/T", "/c\"d"}), "/S \"/ab\" /T \"/cd\"");
    // Not a bare value switch: passed on as written.
    EXPECT_EQ(JoinCommandLineArguments({"/R", "/x/y", "/Sa.pptx", "/data/z"}), "/R /x/y /Sa.pptx /data/z");
    EXPECT_EQ(JoinCommandLineArguments({}), "");
}

TEST(SwitchTable, NamesEverySwitch) {
    const std::string table = CommandLineSwitchTable();
    for (const char* name :
         {"/S", "/F", "/T", "/C", "/Y", "/Z", "/E", "/R", "/G", "/V", "/L", "/B", "/J", "/O", "/?"})
        EXPECT_NE(table.find(std::string("  ") + name + " "), std::string::npos) << name;
}

} // namespace
} // namespace slidemill
