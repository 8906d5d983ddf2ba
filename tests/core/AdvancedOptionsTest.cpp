#include "core/AdvancedOptions.h"

#include "core/ConversionOptions.h"
#include "core/TaskGrid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace slidemill {
namespace {

AdvancedOptionsValues Moving(const std::string& folder) {
    AdvancedOptionsValues v;
    v.bMoveOriginalFileAfterProcessing = true;
    v.sMoveFileToFolder = folder;
    return v;
}

TEST(ApplyAdvancedOptionsTest, ABlankFolderDropsTheMoveWithoutAsking) {
    std::vector<std::string> asked;
    const auto exists = [&asked](const std::string& folder) {
        asked.push_back(folder);
        return false;
    };
    for (const std::string blank : {"", "   "}) {
        const AdvancedApplyResult result = ApplyAdvancedOptions(Moving(blank), exists);
        EXPECT_EQ(result.outcome, AdvancedApplyOutcome::Stored) << "'" << blank << "'";
        EXPECT_FALSE(result.values.bMoveOriginalFileAfterProcessing);
        EXPECT_EQ(result.values.sMoveFileToFolder, "");
        EXPECT_TRUE(result.message.empty());
    }
    EXPECT_TRUE(asked.empty()) << "a blank folder is never looked up";
}

TEST(ApplyAdvancedOptionsTest, AMoveToAMissingFolderIsRefusedWithItsText) {
    std::string looked;
    AdvancedOptionsValues shown = Moving("  /no/such/folder ");
    shown.bPDFTextOnly = true;
    const AdvancedApplyResult result = ApplyAdvancedOptions(shown, [&looked](const std::string& folder) {
        looked = folder;
        return false;
    });
    EXPECT_EQ(result.outcome, AdvancedApplyOutcome::FolderMissing);
    EXPECT_EQ(looked, "/no/such/folder") << "the trimmed folder is the one that would be used";
    EXPECT_EQ(result.message, "  /no/such/folder \r\rdoes not exist.");
    EXPECT_TRUE(result.values.bMoveOriginalFileAfterProcessing) << "the dialog keeps what the user chose";
}

TEST(ApplyAdvancedOptionsTest, AnExistingFolderIsStoredTrimmedAndAnUncheckedMoveIsNotChecked) {
    AdvancedOptionsValues shown = Moving(" /data/done ");
    shown.lFromSlide = 3;
    AdvancedApplyResult result = ApplyAdvancedOptions(shown, [](const std::string& f) { return f == "/data/done"; });
    EXPECT_EQ(result.outcome, AdvancedApplyOutcome::Stored);
    EXPECT_EQ(result.values.sMoveFileToFolder, "/data/done");
    EXPECT_TRUE(result.values.bMoveOriginalFileAfterProcessing);
    EXPECT_EQ(result.values.lFromSlide, 3);

    // Without Move the folder is kept for later, whether it exists or not.
    shown.bMoveOriginalFileAfterProcessing = false;
    shown.bDeleteOriginalFileAfterProcessing = true;
    shown.sMoveFileToFolder = " /gone ";
    result = ApplyAdvancedOptions(shown, [](const std::string&) { return false; });
    EXPECT_EQ(result.outcome, AdvancedApplyOutcome::Stored);
    EXPECT_EQ(result.values.sMoveFileToFolder, "/gone");
    EXPECT_TRUE(result.values.bDeleteOriginalFileAfterProcessing);
}

TEST(ApplyAdvancedOptionsTest, OnlyTheFourTaskValuesCountAsATaskChange) {
    const AdvancedOptionsValues base;
    const std::vector<void (*)(AdvancedOptionsValues&)> taskChanges = {
        [](AdvancedOptionsValues& v) { v.bConvertAllSlides = !v.bConvertAllSlides; },
        [](AdvancedOptionsValues& v) { v.lFromSlide += 1; },
        [](AdvancedOptionsValues& v) { v.lToSlide += 1; },
        [](AdvancedOptionsValues& v) { v.bCreateFileForEachSlide = !v.bCreateFileForEachSlide; },
    };
    for (std::size_t i = 0; i < taskChanges.size(); ++i) {
        AdvancedOptionsValues changed = base;
        taskChanges[i](changed);
        EXPECT_TRUE(TaskOptionsDiffer(base, changed)) << "change " << i;
    }
    AdvancedOptionsValues window = base;
    window.bIncludeNotesPage = window.bIncludeNotesOnly = window.bShowSlideAndShape = window.bPDFTextOnly = true;
    window.bDeleteOriginalFileAfterProcessing = true;
    window.sMoveFileToFolder = "/x";
    EXPECT_FALSE(TaskOptionsDiffer(base, window));
}

TEST(PdfOptionsNoticeTest, ShownOnlyForARecentComponentAndAnotherTarget) {
    EXPECT_EQ(PdfOptionsNotice(true, 32),
              "Please Note: The options in this tab are only used when 'Convert To File Format' is:\n"
              "[300] PDF - with options");
    EXPECT_EQ(PdfOptionsNotice(true, 300), "");
    EXPECT_EQ(PdfOptionsNotice(false, 32), "");
}

class DoubleClickTest : public ::testing::Test {
protected:
    Grid grid{kTaskGridCols};
    void SetUp() override { InitTaskGrid(grid); }
    void AddTask() {
        clsConversionOptions task;
        task.sActionToDo = "C";
        task.sOriginalFile = "/in/a.ppt";
        task.sTargetFile = "/out/a.pdf";
        AppendTaskRow(task, grid, nullptr);
    }
};

TEST_F(DoubleClickTest, AnEmptyJobOrTheNewTaskRowOpensNothing) {
    EXPECT_FALSE(AdvancedOptionsOnDoubleClick(true, true, grid)) << "row 1 is the new-task row";
    AddTask();
    ASSERT_EQ(grid.CellText(grid.Row(), kColNumber), "1") << "the added task is current";
    EXPECT_TRUE(AdvancedOptionsOnDoubleClick(true, true, grid));
    grid.SetRow(grid.Rows() - 1);
    ASSERT_EQ(grid.CellText(grid.Row(), kColNumber), kNewTaskMark);
    EXPECT_FALSE(AdvancedOptionsOnDoubleClick(true, true, grid));
}

TEST_F(DoubleClickTest, ATaskRowNeedsAConversionAndTheVisibleButton) {
    AddTask();
    grid.SetRow(1);
    EXPECT_FALSE(AdvancedOptionsOnDoubleClick(false, true, grid));
    EXPECT_FALSE(AdvancedOptionsOnDoubleClick(true, false, grid));
}

TEST(ParseImageResolutionTest, NumbersAreReadAndEverythingElseLeavesTheValue) {
    int32_t dpi = -7;
    EXPECT_TRUE(ParseImageResolution("150", dpi));
    EXPECT_EQ(dpi, 150);
    EXPECT_TRUE(ParseImageResolution("  72 ", dpi));
    EXPECT_EQ(dpi, 72);
    EXPECT_TRUE(ParseImageResolution("96.6", dpi));
    EXPECT_EQ(dpi, 97);
    EXPECT_TRUE(ParseImageResolution("0", dpi));
    EXPECT_EQ(dpi, 0);
    dpi = 300;
    for (const char* text : {"", "  ", "abc", "12dpi", "-5", "1e99", "nan", "inf"}) {
        EXPECT_FALSE(ParseImageResolution(text, dpi)) << "'" << text << "'";
        EXPECT_EQ(dpi, 300) << "'" << text << "'";
    }
}

TEST(PdxValueCopyTest, ParagraphAndFontCopiesTakeTheirGroupAndNothingElse) {
    PdfOptions from;
    int32_t n = 100;
    for (int32_t* field : {&from.lPdxAlignment, &from.lPdxFrameDistance, &from.lPdxFrameLineWidth,
                           &from.lPdxFrameStyle, &from.lPdxIndentB, &from.lPdxIndentFL, &from.lPdxIndentL,
                           &from.lPdxIndentR, &from.lPdxIndentT, &from.lPdxLineSpacing, &from.lPdxLineSpacingT,
                           &from.lPdxBaseLine, &from.lPdxFontBold, &from.lPdxFontItalic, &from.lPdxFontSize,
                           &from.lPdxFontStrikethru, &from.lPdxFontUnderline, &from.lPdxFontUnderlineStyle,
                           &from.lPdxForeColor, &from.lPdxTextBkColor, &from.lPdxPageWidth,
                           &from.lImageMaxResolution})
        *field = ++n;
    from.sPdxFontName = "Serif";
    from.bOverrideFontSettings = from.bOverrideParagraphSettings = true;
    from.glnMeasurement = 2;

    PdfOptions paragraph;
    CopyParagraphValues(from, paragraph);
    PdfOptions font;
    CopyFontValues(from, font);
    PdfOptions both = paragraph;
    CopyFontValues(from, both);

    EXPECT_EQ(paragraph.lPdxAlignment, from.lPdxAlignment);
    EXPECT_EQ(paragraph.lPdxLineSpacingT, from.lPdxLineSpacingT);
    EXPECT_EQ(paragraph.lPdxIndentFL, from.lPdxIndentFL);
    EXPECT_EQ(paragraph.lPdxFrameStyle, from.lPdxFrameStyle);
    EXPECT_EQ(paragraph.lPdxFontSize, PdfOptions{}.lPdxFontSize) << "the paragraph copy leaves the font";
    EXPECT_EQ(font.sPdxFontName, "Serif");
    EXPECT_EQ(font.lPdxTextBkColor, from.lPdxTextBkColor);
    EXPECT_EQ(font.lPdxBaseLine, from.lPdxBaseLine);
    EXPECT_EQ(font.lPdxIndentL, PdfOptions{}.lPdxIndentL) << "the font copy leaves the paragraph";

    // Both copies together: every paragraph and font value, none of the others.
    PdfOptions whole = from;
    whole.lPdxPageWidth = PdfOptions{}.lPdxPageWidth;
    whole.lImageMaxResolution = PdfOptions{}.lImageMaxResolution;
    whole.bOverrideFontSettings = whole.bOverrideParagraphSettings = false;
    whole.glnMeasurement = 1;
    EXPECT_EQ(both, whole);
}

} // namespace
} // namespace slidemill
