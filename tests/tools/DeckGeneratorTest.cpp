#include "tools/DeckGenerator.h"
#include "support/TempFolder.h"
#include "tools/Base64.h"
#include "tools/PngEncoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace slidemill::tools {
namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size()))
        ++n;
    return n;
}

uint32_t BigEndian32(const std::string& data, size_t offset) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(data[offset + i]);
    return v;
}

std::string Shell(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int rc = pclose(pipe);
    if (status)
        *status = rc;
    return output;
}

TEST(DeckTools, ChecksumsAndBase64MatchKnownValues) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
    EXPECT_EQ(Adler32("Wikipedia"), 0x11E60398u);
    EXPECT_EQ(Adler32(""), 1u);
    const std::map<std::string, std::string> vectors = {{"", ""},
                                                        {"f", "Zg=="},
                                                        {"fo", "Zm8="},
                                                        {"foo", "Zm9v"},
                                                        {"foob", "Zm9vYg=="},
                                                        {"fooba", "Zm9vYmE="},
                                                        {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, encoded] : vectors)
        EXPECT_EQ(EncodeBase64(plain), encoded) << plain;
    EXPECT_EQ(EncodeBase64(std::string("\xff\xfe\x00", 3)), "//4A");
    EXPECT_EQ(EncodeBase64("foobarfoobar", 8), "Zm9vYmFy\nZm9vYmFy");
    EXPECT_EQ(EncodeBase64("foobarfoo", 4), "Zm9v\nYmFy\nZm9v");
}

TEST(DeckTools, XmlEscaping) {
    EXPECT_EQ(EscapeXml("R&D <draft> \"q\" it's Grüße"),
              "R&amp;D &lt;draft&gt; &quot;q&quot; it&apos;s Grüße");
    EXPECT_EQ(EscapeXml("&amp;"), "&amp;amp;");
}

// The PNG checked with zlib, an implementation independent of the encoder: every chunk's CRC,
// and the image data inflated back to the filtered rows.
TEST(DeckTools, PngDecodesToThePixels) {
    for (const auto& [width, height] : {std::pair<uint32_t, uint32_t>{1, 1}, {3, 2}, {200, 120}}) {
        std::string rgb;
        for (uint32_t i = 0; i < width * height * 3; ++i)
            rgb += static_cast<char>(i * 7 + 3);
        const std::string png = EncodePngRgb(width, height, rgb);
        ASSERT_GT(png.size(), 8u);
        ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

        std::string idat;
        std::vector<std::string> types;
        size_t pos = 8;
        while (pos + 12 <= png.size()) {
            const uint32_t length = BigEndian32(png, pos);
            ASSERT_LE(pos + 12 + length, png.size());
            const std::string typed = png.substr(pos + 4, 4 + length);
            const uint32_t crc = static_cast<uint32_t>(
                crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
            EXPECT_EQ(BigEndian32(png, pos + 8 + length), crc) << typed.substr(0, 4);
            types.push_back(typed.substr(0, 4));
            if (types.back() == "IHDR") {
                EXPECT_EQ(BigEndian32(typed, 4), width);
                EXPECT_EQ(BigEndian32(typed, 8), height);
            }
            if (types.back() == "IDAT")
                idat += typed.substr(4);
            pos += 12 + length;
        }
        EXPECT_EQ(pos, png.size());
        EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

        std::string expected;
        for (uint32_t y = 0; y < height; ++y)
            expected += '\0' + rgb.substr(y * width * 3, width * 3);
        std::string inflated(expected.size() + 16, '\0');
        uLongf inflatedSize = static_cast<uLongf>(inflated.size());
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &inflatedSize,
                             reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size())),
                  Z_OK)
            << width << "x" << height;
        inflated.resize(inflatedSize);
        EXPECT_EQ(inflated, expected) << width << "x" << height;
    }
    EXPECT_EQ(EncodePngRgb(2, 2, std::string(11, 'x')), "");
    EXPECT_EQ(EncodePngRgb(0, 5, ""), "");
}

TEST(DeckTools, PlansAreSeededAndWithinBounds) {
    const auto plans = PlanDecks(60, 1, 3, 42);
    ASSERT_EQ(plans.size(), 60u);
    EXPECT_EQ(plans.front().name, "deck001.fodp");
    EXPECT_EQ(plans.back().name, "deck060.fodp");
    std::set<int32_t> seen;
    std::set<uint64_t> seeds;
    for (const auto& plan : plans) {
        EXPECT_GE(plan.slides, 1);
        EXPECT_LE(plan.slides, 3);
        seen.insert(plan.slides);
        seeds.insert(plan.seed);
    }
    EXPECT_EQ(seen, (std::set<int32_t>{1, 2, 3})) << "both ends of the range are reachable";
    EXPECT_EQ(seeds.size(), plans.size());

    const auto again = PlanDecks(60, 1, 3, 42);
    const auto other = PlanDecks(60, 1, 3, 43);
    bool sameAsAgain = true, sameAsOther = true;
    for (size_t i = 0; i < plans.size(); ++i) {
        sameAsAgain = sameAsAgain && plans[i].seed == again[i].seed && plans[i].slides == again[i].slides;
        sameAsOther = sameAsOther && plans[i].seed == other[i].seed;
    }
    EXPECT_TRUE(sameAsAgain);
    EXPECT_FALSE(sameAsOther);

    EXPECT_TRUE(PlanDecks(0, 1, 3, 1).empty());
    EXPECT_TRUE(PlanDecks(5, 0, 3, 1).empty());
    EXPECT_TRUE(PlanDecks(5, 4, 3, 1).empty());
    EXPECT_EQ(PlanDecks(3, 5, 5, 9)[2].slides, 5);
}

TEST(DeckTools, FlatOdpHoldsEverySlidePictureAndNote) {
    DeckPlan plan{"x.fodp", 7, 99};
    const Deck deck = MakeDeck(plan);
    ASSERT_EQ(deck.slides.size(), 7u);
    const std::string xml = WriteFlatOdp(deck);
    EXPECT_EQ(xml, WriteFlatOdp(MakeDeck(plan))) << "same seed, same file";
    EXPECT_NE(xml, WriteFlatOdp(MakeDeck(DeckPlan{"x.fodp", 7, 100})));

    EXPECT_EQ(Count(xml, "<draw:page "), 7u);
    EXPECT_EQ(Count(xml, "<presentation:notes>"), 7u);
    EXPECT_EQ(Count(xml, "<office:binary-data>"), 7u);
    EXPECT_EQ(Count(xml, "presentation:class=\"title\""), 7u);
    EXPECT_EQ(Count(xml, "presentation:class=\"notes\""), 7u);
    // Every ampersand starts an entity, and no raw '<' hides in the text.
    EXPECT_FALSE(std::regex_search(xml, std::regex("&(?!amp;|lt;|gt;|quot;|apos;)")));
    EXPECT_EQ(Count(xml, "<draft>"), 0u);
    for (const DeckSlide& slide : deck.slides) {
        EXPECT_NE(xml.find(EscapeXml(slide.title)), std::string::npos);
        EXPECT_GE(slide.bullets.size(), 2u);
        EXPECT_FALSE(slide.notes.empty());
        EXPECT_NE(xml.find(EncodeBase64(slide.png, 76)), std::string::npos);
    }
    // Unicode words appear somewhere in a deck of this size.
    EXPECT_TRUE(
        std::any_of(xml.begin(), xml.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

TEST(DeckTools, ProgramWritesDecksAndRejectsBadArguments) {
    test::TempFolder folder("decks");
    const std::string program = SLIDEMILL_MAKE_DECKS;
    int status = -1;
    for (const std::string args :
         {"", "out 3 1", "out x 1 3", "out 3 4 2", "out 0 1 3", "out 3 1 3 -5", "out 3 1 3 1 extra"}) {
        Shell(program + " " + folder.str() + args + " 2>/dev/null", &status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out"));

    const std::string out = (folder.path() / "out").string();
    const std::string listing = Shell(program + " " + out + " 4 2 5 11", &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(listing, test::ReadWholeFile(folder.path() / "out" / "decks.tsv"));
    std::istringstream lines(listing);
    std::string name;
    int32_t slides = 0;
    int decks = 0;
    while (lines >> name >> slides) {
        ++decks;
        const std::string xml = test::ReadWholeFile(folder.path() / "out" / name);
        EXPECT_EQ(Count(xml, "<draw:page "), static_cast<size_t>(slides)) << name;
    }
    EXPECT_EQ(decks, 4);
    for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "out"))
        EXPECT_NE(entry.path().extension(), ".part") << "no temporary file is left behind";
}

// The decks are meant for the office: it must load them with every slide.
TEST(DeckTools, OfficeRendersEverySlide) {
    ASSERT_EQ(std::system("command -v soffice >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1"), 0)
        << "soffice or pdfinfo is not installed (scripts/setup)";
    test::TempFolder folder("render");
    const auto plans = PlanDecks(2, 1, 6, 5);
    std::string names;
    for (const auto& plan : plans) {
        std::ofstream(folder.path() / plan.name, std::ios::binary) << WriteFlatOdp(MakeDeck(plan));
        names += " " + plan.name;
    }
    int status = -1;
    const std::string log =
        Shell("cd '" + folder.path().string() + "' && timeout 150 soffice --headless --norestore " +
                  "'-env:UserInstallation=file://" + folder.path().string() +
                  "/profile' --convert-to pdf --outdir pdf" + names + " 2>&1",
              &status);
    ASSERT_EQ(status, 0) << log;
    for (const auto& plan : plans) {
        const std::string pdf =
            folder.path().string() + "/pdf/" + plan.name.substr(0, plan.name.size() - 5) + ".pdf";
        const std::string info = Shell("pdfinfo '" + pdf + "' 2>&1");
        EXPECT_NE(info.find("Pages:"), std::string::npos) << info;
        std::smatch pages;
        ASSERT_TRUE(std::regex_search(info, pages, std::regex("Pages:\\s+(\\d+)"))) << info;
        EXPECT_EQ(std::stoi(pages[1]), plan.slides) << plan.name;
        const std::string text = Shell("pdftotext '" + pdf + "' - 2>/dev/null");
        EXPECT_NE(text.find("Slide " + std::to_string(plan.slides) + ":"), std::string::npos) << text;
    }
}

} // namespace
} // namespace slidemill::tools
