// Conversions through a real office, checked with poppler's tools and by reloading outputs.
#include "EngineTestSupport.h"

#include "engine/EngineResult.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

const std::string kSample = "poi_SampleShow.pptx"; // 2 slides, each with notes
const std::string kTable = "pptx_tbl-cell.pptx";   // 3 slides

TEST(EngineConvert, PdfHonoursSourceFormatsSlideRangesAndNotes) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("pdf");

    struct Case {
        std::string source;
        Request request;
        int pages;
    };
    const std::vector<Case> cases{
        {GoodFile(kSample), {}, 2},
        {GoodFile("poi_SampleShow.ppt"), {}, 2},
        {GoodFile(kTable), {}, 3},
        {GoodFile(kTable), {.from = 2, .to = 3}, 2},
        {GoodFile(kTable), {.from = 3, .to = 0}, 1},
        {GoodFile(kTable), {.from = 0, .to = 1}, 1},
        // A range running past the end keeps the slides that exist.
        {GoodFile(kTable), {.from = 2, .to = 9}, 2},
        {GoodFile(kSample), {.notes = true}, 4},
        {GoodFile(kSample), {.notesOnly = true}, 2},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source + " case " + std::to_string(index));
        const std::string target = out.str() + "out" + std::to_string(index++) + ".pdf";
        ASSERT_EQ(ConvertFile(engine, c.source, target, c.request), 0) << engine.LastErrorText();
        EXPECT_EQ(PdfPageCount(target), c.pages);
        EXPECT_TRUE(engine.LastErrorText().empty());
    }
    // The notes text is in the notes pages only.
    EXPECT_NE(PdfText(out.str() + "out8.pdf").find("I am the notes of the first slide"), std::string::npos);
    EXPECT_EQ(PdfText(out.str() + "out0.pdf").find("I am the notes of the first slide"), std::string::npos);
    // Nothing but the finished files is left in the target folder.
    EXPECT_EQ(FileNames(out.str()).size(), cases.size());
}

TEST(EngineConvert, ProgressRisesToOneHundredDuringAConversion) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("progress");
    std::vector<float> seen;
    engine.SetProgressHandler([&] { seen.push_back(engine.PercentComplete()); });
    const int32_t result = ConvertFile(engine, GoodFile(kTable), out.str() + "t.pdf");
    engine.SetProgressHandler(nullptr);
    ASSERT_EQ(result, 0) << engine.LastErrorText();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_FLOAT_EQ(seen.back(), 100.0f);
    EXPECT_FLOAT_EQ(engine.PercentComplete(), 100.0f);
    for (float p : seen) {
        EXPECT_GE(p, 0.0f);
        EXPECT_LE(p, 100.0f);
    }
}

TEST(EngineConvert, SlidePicturesGoIntoAFolderNamedAfterTheTarget) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("pictures");

    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "deck.png", {.format = 18}), 0)
        << engine.LastErrorText();
    EXPECT_FALSE(fs::exists(out.str() + "deck.png"));
    ASSERT_EQ(FileNames(out.str() + "deck"),
              (std::vector<std::string>{"Slide1.png", "Slide2.png", "Slide3.png"}));
    for (int n = 1; n <= 3; ++n) {
        int width = 0, height = 0;
        ASSERT_TRUE(PngSize(out.str() + "deck/Slide" + std::to_string(n) + ".png", width, height));
        EXPECT_EQ(width, engine.Options().imageWidthPx);
        // The deck is 4:3.
        EXPECT_NEAR(height, width * 3 / 4, 2);
    }

    // Only the chosen slides, keeping their numbers; a second run replaces the folder.
    ASSERT_EQ(
        ConvertFile(engine, GoodFile(kTable), out.str() + "deck.png", {.format = 18, .from = 2, .to = 3}), 0)
        << engine.LastErrorText();
    EXPECT_EQ(FileNames(out.str() + "deck"), (std::vector<std::string>{"Slide2.png", "Slide3.png"}));

    ASSERT_EQ(ConvertFile(engine, GoodFile(kSample), out.str() + "sample.jpg", {.format = 17}), 0)
        << engine.LastErrorText();
    const std::string jpeg = ReadWholeFile(out.str() + "sample/Slide2.jpg");
    ASSERT_GT(jpeg.size(), 3u);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);

    // One file per slide also for documents.
    ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), out.str() + "each.pdf", {.perSlide = true}), 0)
        << engine.LastErrorText();
    ASSERT_EQ(FileNames(out.str() + "each"),
              (std::vector<std::string>{"Slide1.pdf", "Slide2.pdf", "Slide3.pdf"}));
    for (const auto& name : FileNames(out.str() + "each"))
        EXPECT_EQ(PdfPageCount(out.str() + "each/" + name), 1) << name;

    // Only the finished folders are left.
    EXPECT_EQ(FileNames(out.str()), (std::vector<std::string>{"deck", "each", "sample"}));
}

TEST(EngineConvert, PresentationOutputsKeepTheChosenSlidesAndReload) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("decks");
    struct Case {
        int32_t format;
        std::string name;
        Request request;
        int pages;
    };
    const std::vector<Case> cases{
        {24, "whole.pptx", {.format = 24}, 3}, {24, "part.pptx", {.format = 24, .from = 2, .to = 3}, 2},
        {35, "whole.odp", {.format = 35}, 3},  {35, "one.odp", {.format = 35, .from = 3, .to = 3}, 1},
        {1, "whole.ppt", {.format = 1}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = out.str() + c.name;
        ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), target, c.request), 0) << engine.LastErrorText();
        ASSERT_GT(fs::file_size(target), 0u);
        // The written deck loads again, with the slides it should have.
        const std::string again = target + ".pdf";
        ASSERT_EQ(ConvertFile(engine, target, again), 0) << engine.LastErrorText();
        EXPECT_EQ(PdfPageCount(again), c.pages);
    }
    // The chosen slides are really the ones kept: slide 3 of the table deck holds text slide 2 lacks.
    const std::string whole = PdfText(out.str() + "whole.pptx.pdf");
    const std::string one = PdfText(out.str() + "one.odp.pdf");
    EXPECT_FALSE(one.empty());
    EXPECT_NE(whole.find(one.substr(0, one.find('\n'))), std::string::npos);

    // One deck per slide.
    ASSERT_EQ(
        ConvertFile(engine, GoodFile(kSample), out.str() + "split.pptx", {.format = 24, .perSlide = true}), 0)
        << engine.LastErrorText();
    ASSERT_EQ(FileNames(out.str() + "split"), (std::vector<std::string>{"Slide1.pptx", "Slide2.pptx"}));
    ASSERT_EQ(ConvertFile(engine, out.str() + "split/Slide2.pptx", out.str() + "s2.pdf"), 0);
    EXPECT_EQ(PdfPageCount(out.str() + "s2.pdf"), 1);
    EXPECT_NE(PdfText(out.str() + "s2.pdf").find("This is the second slide"), std::string::npos);
}

TEST(EngineConvert, HtmlWritesAPageAndItsPicturesTogether) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("html");
    ASSERT_EQ(ConvertFile(engine, GoodFile(kSample), out.str() + "deck.html", {.format = 12}), 0)
        << engine.LastErrorText();
    const auto names = FileNames(out.str() + "deck");
    ASSERT_NE(std::find(names.begin(), names.end(), "deck.html"), names.end());
    EXPECT_TRUE(
        std::any_of(names.begin(), names.end(), [](const std::string& n) { return n.ends_with(".png"); }));
    const std::string page = ReadWholeFile(out.str() + "deck/deck.html");
    EXPECT_NE(page.find("<html"), std::string::npos);
    EXPECT_EQ(FileNames(out.str()), (std::vector<std::string>{"deck"}));
}

TEST(EngineConvert, RtfOutlineHoldsTheSlideTextAndNotes) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("rtf");

    ASSERT_EQ(ConvertFile(engine, GoodFile(kSample), out.str() + "text.rtf", {.format = 6}), 0)
        << engine.LastErrorText();
    const std::string text = ReadWholeFile(out.str() + "text.rtf");
    EXPECT_EQ(text.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(text.find("Title of the first slide"), std::string::npos);
    EXPECT_NE(text.find("It has bullet points on it"), std::string::npos);
    // The title comes before the body text of its slide.
    EXPECT_LT(text.find("This is the second slide"), text.find("It has bullet points on it"));
    EXPECT_EQ(text.find("I am the notes of the first slide"), std::string::npos);
    EXPECT_EQ(text.find("\\pict"), std::string::npos);

    ASSERT_EQ(ConvertFile(engine, GoodFile(kSample), out.str() + "notes.rtf", {.format = 6, .notes = true}),
              0);
    const std::string notes = ReadWholeFile(out.str() + "notes.rtf");
    EXPECT_NE(notes.find("I am the notes of the first slide"), std::string::npos);
    EXPECT_NE(notes.find("Title of the first slide"), std::string::npos);

    ASSERT_EQ(
        ConvertFile(engine, GoodFile(kSample), out.str() + "only.rtf", {.format = 6, .notesOnly = true}), 0);
    const std::string only = ReadWholeFile(out.str() + "only.rtf");
    EXPECT_NE(only.find("I am the notes of the first slide"), std::string::npos);
    EXPECT_EQ(only.find("Title of the first slide"), std::string::npos);

    ASSERT_EQ(
        ConvertFile(engine, GoodFile(kSample), out.str() + "second.rtf", {.format = 6, .from = 2, .to = 2}),
        0);
    const std::string second = ReadWholeFile(out.str() + "second.rtf");
    EXPECT_EQ(second.find("Title of the first slide"), std::string::npos);
    EXPECT_NE(second.find("This is the second slide"), std::string::npos);

    ASSERT_EQ(ConvertFile(engine, GoodFile(kSample), out.str() + "pictures.rtf", {.format = 106}), 0)
        << engine.LastErrorText();
    const std::string pictures = ReadWholeFile(out.str() + "pictures.rtf");
    EXPECT_NE(pictures.find("Title of the first slide"), std::string::npos);
    size_t count = 0;
    for (size_t at = pictures.find("\\pngblip"); at != std::string::npos;
         at = pictures.find("\\pngblip", at + 1))
        ++count;
    EXPECT_EQ(count, 2u);
    // PNG's signature, hex-encoded, starts each picture.
    EXPECT_NE(pictures.find("89504e47"), std::string::npos);
}

TEST(EngineConvert, ReportsTheEngineVersionAndItsFormats) {
    auto& engine = SharedEngine();
    std::string version;
    engine.GetPowerPointVersion(version);
    EXPECT_TRUE(std::regex_match(version, std::regex(R"(LibreOffice \d+\.\d+(\.\d+)*)"))) << version;
    EXPECT_TRUE(engine.PowerPointVersionAtLeast2010());
    EXPECT_GT(engine.OfficeProcessId(), 0);
}

} // namespace
} // namespace slidemill::test
