// The less common output formats through a real office: slide pictures in every picture
// format, archival PDFs, and the template/show/macro variants of the PowerPoint decks. Each
// output is checked by what it is (its signature, its declared type), not by its name.
#include "EngineTestSupport.h"
#include "PdfTestTools.h"

#include "engine/EngineResult.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

const std::string kTable = "pptx_tbl-cell.pptx"; // 3 slides

uint32_t LittleEndian32(const std::string& bytes, size_t at) {
    if (bytes.size() < at + 4)
        return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

uint16_t LittleEndian16(const std::string& bytes, size_t at) {
    if (bytes.size() < at + 2)
        return 0;
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                 (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool StartsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

// A Windows metafile starts either with the placeable header (its key, then the standard
// header 22 bytes on) or straight with the standard header: type 1 or 2, a header of 9 words
// and version 0x0100 or 0x0300.
bool IsWindowsMetafile(const std::string& bytes) {
    const size_t header = LittleEndian32(bytes, 0) == 0x9AC6CDD7u ? 22 : 0;
    const uint16_t type = LittleEndian16(bytes, header);
    const uint16_t size = LittleEndian16(bytes, header + 2);
    const uint16_t version = LittleEndian16(bytes, header + 4);
    return (type == 1 || type == 2) && size == 9 && (version == 0x0100 || version == 0x0300);
}

// An enhanced metafile opens with its header record (type 1) carrying " EMF" at offset 40,
// and the header states the size of the whole file.
bool IsEnhancedMetafile(const std::string& bytes) {
    return LittleEndian32(bytes, 0) == 1 && bytes.compare(40, 4, " EMF") == 0 &&
           LittleEndian32(bytes, 48) == bytes.size();
}

uint32_t BigEndian(const std::string& bytes, size_t at, size_t width) {
    if (bytes.size() < at + width)
        return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Width and height from a TIFF's first directory (tags 256 and 257, short or long values).
bool TiffSize(const std::string& b, uint32_t& width, uint32_t& height) {
    const bool big = StartsWith(b, "MM");
    const auto read = [&](size_t at, size_t n) {
        return big ? BigEndian(b, at, n) : (n == 2 ? LittleEndian16(b, at) : LittleEndian32(b, at));
    };
    const uint32_t directory = read(4, 4);
    const uint32_t entries = read(directory, 2);
    width = height = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + 12 * i;
        const uint32_t tag = read(entry, 2);
        const uint32_t value = read(entry + 2, 2) == 3 ? read(entry + 8, 2) : read(entry + 8, 4);
        if (tag == 256)
            width = value;
        else if (tag == 257)
            height = value;
    }
    return width > 0 && height > 0;
}

struct PictureFormat {
    int32_t code;
    std::string extension;
    std::function<bool(const std::string&)> isRightKind;
    // For pixel formats: the picture's size from its header. Drawings leave it empty.
    std::function<bool(const std::string&, uint32_t&, uint32_t&)> size;
};

const std::vector<PictureFormat>& PictureFormats() {
    static const std::vector<PictureFormat> formats{
        {16, "gif", [](const std::string& b) { return StartsWith(b, "GIF87a") || StartsWith(b, "GIF89a"); },
         [](const std::string& b, uint32_t& w, uint32_t& h) {
             w = LittleEndian16(b, 6);
             h = LittleEndian16(b, 8);
             return w > 0 && h > 0;
         }},
        // The pixels the header describes must lie inside the file.
        {19, "bmp",
         [](const std::string& b) {
             return StartsWith(b, "BM") && LittleEndian32(b, 14) >= 40 &&
                    static_cast<uint64_t>(LittleEndian32(b, 10)) + LittleEndian32(b, 34) <= b.size();
         },
         [](const std::string& b, uint32_t& w, uint32_t& h) {
             w = LittleEndian32(b, 18);
             const auto rows = static_cast<int32_t>(LittleEndian32(b, 22)); // negative: stored top down
             h = static_cast<uint32_t>(rows < 0 ? -rows : rows);
             return w > 0 && h > 0;
         }},
        {21, "tif",
         [](const std::string& b) {
             return StartsWith(b, std::string("II*\0", 4)) || StartsWith(b, std::string("MM\0*", 4));
         },
         TiffSize},
        {15, "wmf", IsWindowsMetafile, nullptr},
        {23, "emf", IsEnhancedMetafile, nullptr},
        {101, "svg",
         [](const std::string& b) {
             return b.find("<svg") != std::string::npos && b.find("</svg>") != std::string::npos;
         },
         nullptr},
    };
    return formats;
}

std::vector<std::string> SlideNames(const std::string& extension, int first, int last) {
    std::vector<std::string> names;
    for (int n = first; n <= last; ++n)
        names.push_back("Slide" + std::to_string(n) + "." + extension);
    return names;
}

TEST(EngineFormats, SlidePicturesAreOnePerSlideInTheirOwnFormat) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("pictures");

    for (const auto& format : PictureFormats()) {
        SCOPED_TRACE("format " + std::to_string(format.code));
        const std::string whole = out.str() + "whole-" + format.extension;
        ASSERT_EQ(
            ConvertFile(engine, GoodFile(kTable), whole + "." + format.extension, {.format = format.code}),
            kEngineOk)
            << engine.LastErrorText();
        ASSERT_EQ(FileNames(whole), SlideNames(format.extension, 1, 3));
        std::vector<std::string> contents;
        for (const auto& name : FileNames(whole)) {
            contents.push_back(ReadWholeFile(whole + "/" + name));
            EXPECT_TRUE(format.isRightKind(contents.back()))
                << name << " is not a " << format.extension << " file (" << contents.back().size()
                << " bytes)";
        }
        if (format.size) {
            // Every pixel format honours the engine's picture width, like PNG and JPEG; the deck is 4:3.
            uint32_t width = 0, height = 0;
            ASSERT_TRUE(format.size(contents[0], width, height));
            EXPECT_EQ(width, static_cast<uint32_t>(engine.Options().imageWidthPx))
                << "picture not at the engine's width";
            EXPECT_NEAR(height, width * 3 / 4, 2);
        }
        // Each file shows its own slide, not the same one again: the table slides differ.
        EXPECT_NE(contents[1], contents[2]);

        const std::string part = out.str() + "part-" + format.extension;
        ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), part + "." + format.extension,
                              {.format = format.code, .from = 2, .to = 3}),
                  kEngineOk)
            << engine.LastErrorText();
        ASSERT_EQ(FileNames(part), SlideNames(format.extension, 2, 3));
        for (const auto& name : FileNames(part))
            EXPECT_TRUE(format.isRightKind(ReadWholeFile(part + "/" + name))) << name;
    }
    // Only the picture folders are left: no stray single file or staging leftovers.
    EXPECT_EQ(FileNames(out.str()).size(), 2 * PictureFormats().size());
}

std::string PdfMetadata(const std::string& path) {
    return RunTool({"pdfinfo", "-meta", path}).output;
}

TEST(EngineFormats, ArchivalPdfsDeclareTheirConformanceLevel) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    TempFolder out("pdfa");

    struct Case {
        int32_t format;
        Request request;
        int pages;
        std::string part; // empty: no archival claim at all
    };
    const std::vector<Case> cases{
        {102, {.format = 102}, 3, "1"},
        {103, {.format = 103}, 3, "2"},
        {103, {.format = 103, .from = 2, .to = 3}, 2, "2"},
        // The archival settings must not stick to the next plain PDF.
        {32, {.format = 32}, 3, ""},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(index) + ", format " + std::to_string(c.format));
        const std::string target = out.str() + "out" + std::to_string(index++) + ".pdf";
        ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), target, c.request), kEngineOk)
            << engine.LastErrorText();
        EXPECT_EQ(PdfPageCount(target), c.pages);
        const std::string meta = PdfMetadata(target);
        if (c.part.empty()) {
            EXPECT_EQ(meta.find("pdfaid:part"), std::string::npos) << meta;
            continue;
        }
        // The level is written either as an element or as an attribute of the description.
        const bool element = meta.find("<pdfaid:part>" + c.part + "</pdfaid:part>") != std::string::npos;
        const bool attribute = meta.find("pdfaid:part=\"" + c.part + "\"") != std::string::npos;
        EXPECT_TRUE(element || attribute) << meta;
        // An archival claim names its conformance level too (basic, or the stricter accessible one).
        EXPECT_TRUE(std::regex_search(meta, std::regex("pdfaid:conformance(>|=\")[AB]"))) << meta;
    }
}

// The main part's content type in the package's [Content_Types].xml.
std::string PackageContentTypes(const std::string& path) {
    // unzip reads its name argument as a pattern: the brackets must be escaped.
    const auto listing = RunTool({"unzip", "-p", path, "\\[Content_Types\\].xml"});
    return listing.status == 0 ? listing.output : std::string();
}

const std::string kZip = "PK\x03\x04";
const std::string kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

struct DeckCase {
    int32_t format;
    std::string name;
    std::string container;
    std::string mainType; // for the zip packages: the presentation part's content type
    Request request;
    int pages;
};

// Writes each deck from the table deck, checks its container and declared type, and that it
// loads again with the slides it should have.
void CheckDecks(const std::vector<DeckCase>& cases) {
    auto& engine = SharedEngine();
    TempFolder out("decks");
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        c.request.format = c.format;
        const std::string target = out.str() + c.name;
        ASSERT_EQ(ConvertFile(engine, GoodFile(kTable), target, c.request), kEngineOk)
            << engine.LastErrorText();
        const std::string bytes = ReadWholeFile(target);
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(StartsWith(bytes, c.container)) << "wrong container";
        if (!c.mainType.empty()) {
            const std::string types = PackageContentTypes(target);
            EXPECT_NE(types.find("PartName=\"/ppt/presentation.xml\" ContentType=\"" + c.mainType + "\""),
                      std::string::npos)
                << types;
        }
        const std::string again = target + ".pdf";
        ASSERT_EQ(ConvertFile(engine, target, again), kEngineOk) << engine.LastErrorText();
        EXPECT_EQ(PdfPageCount(again), c.pages);
    }
}

TEST(EngineFormats, TemplateMacroAndOlderDeckVariantsHaveTheirContainerAndTypeAndReload) {
    SLIDEMILL_REQUIRE_CORPUS();
    CheckDecks({
        {25, "deck.pptm", kZip, "application/vnd.ms-powerpoint.presentation.macroEnabled.main+xml", {}, 3},
        {26,
         "deck.potx",
         kZip,
         "application/vnd.openxmlformats-officedocument.presentationml.template.main+xml",
         {},
         3},
        {26,
         "part.potx",
         kZip,
         "application/vnd.openxmlformats-officedocument.presentationml.template.main+xml",
         {.from = 2, .to = 3},
         2},
        {5, "deck.pot", kCompoundFile, "", {}, 3},
        {7, "deck.pps", kCompoundFile, "", {}, 3},
    });
}

// A .ppsx whose package calls itself a plain presentation is refused by PowerPoint as damaged.
TEST(EngineFormats, PowerPointShowIsWrittenWithTheSlideShowContentType) {
    SLIDEMILL_REQUIRE_CORPUS();
    const std::string show =
        "application/vnd.openxmlformats-officedocument.presentationml.slideshow.main+xml";
    CheckDecks({
        {28, "deck.ppsx", kZip, show, {}, 3},
        {28, "part.ppsx", kZip, show, {.from = 2, .to = 3}, 2},
    });

    // One show per slide: each is marked too.
    auto& engine = SharedEngine();
    TempFolder out("shows");
    ASSERT_EQ(
        ConvertFile(engine, GoodFile(kTable), out.str() + "each.ppsx", {.format = 28, .perSlide = true}),
        kEngineOk)
        << engine.LastErrorText();
    ASSERT_EQ(FileNames(out.str() + "each"),
              (std::vector<std::string>{"Slide1.ppsx", "Slide2.ppsx", "Slide3.ppsx"}));
    for (const auto& name : FileNames(out.str() + "each")) {
        SCOPED_TRACE(name);
        EXPECT_NE(PackageContentTypes(out.str() + "each/" + name).find("ContentType=\"" + show + "\""),
                  std::string::npos);
    }
}

} // namespace
} // namespace slidemill::test
