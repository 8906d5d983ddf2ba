#include "engine/SlideOutline.h"
#include "run/CharacterCodes.h"
#include "support/TempFolder.h"
#include "tools/PngEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace slidemill {
namespace {

// --- a small RTF reader, just enough to read back what the writer produces -------------------

// The visible paragraphs of an RTF document: \uN? pairs joined into characters, \tab as a tab,
// \line as U+000B, \page as a "<page>" paragraph of its own; font tables, \* destinations and
// pictures are skipped. Fails the calling test on anything malformed.
std::vector<std::string> ReadParagraphs(const std::string& rtf) {
    std::vector<std::string> paragraphs;
    std::string current;
    std::vector<bool> skipping{false};
    char16_t pendingHigh = 0;
    int pendingSkip = 0; // characters left to skip after \uN (the \uc1 fallback)
    const auto emit = [&](char32_t c) {
        if (!skipping.back())
            current += EncodeUtf8(c);
    };
    size_t i = 0;
    while (i < rtf.size()) {
        const char ch = rtf[i];
        if (ch == '{') {
            skipping.push_back(skipping.back());
            ++i;
            continue;
        }
        if (ch == '}') {
            if (skipping.size() == 1) {
                ADD_FAILURE() << "unbalanced '}' at " << i;
                return paragraphs;
            }
            skipping.pop_back();
            if (skipping.size() == 1) {
                EXPECT_EQ(rtf.find_first_not_of("\r\n", i + 1), std::string::npos)
                    << "text after the document";
                return paragraphs;
            }
            ++i;
            continue;
        }
        if (ch == '\n' || ch == '\r') {
            ++i;
            continue;
        }
        if (ch != '\\') {
            if (pendingSkip > 0) {
                --pendingSkip;
            } else {
                emit(static_cast<unsigned char>(ch));
            }
            ++i;
            continue;
        }
        // A control symbol or word.
        ++i;
        if (i >= rtf.size()) {
            ADD_FAILURE() << "document ends in a backslash";
            break;
        }
        const char sym = rtf[i];
        if (sym == '\\' || sym == '{' || sym == '}') {
            emit(static_cast<unsigned char>(sym));
            ++i;
            continue;
        }
        if (sym == '*') {
            skipping.back() = true;
            ++i;
            continue;
        }
        std::string word;
        while (i < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i])))
            word += rtf[i++];
        EXPECT_FALSE(word.empty()) << "unknown control symbol '" << sym << "'";
        std::string number;
        if (i < rtf.size() && (rtf[i] == '-' || std::isdigit(static_cast<unsigned char>(rtf[i]))))
            number += rtf[i++];
        while (i < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[i])))
            number += rtf[i++];
        if (i < rtf.size() && rtf[i] == ' ')
            ++i;
        if (word == "fonttbl" || word == "pict")
            skipping.back() = true;
        else if (word == "par") {
            if (!skipping.back())
                paragraphs.push_back(current);
            current.clear();
        } else if (word == "page") {
            paragraphs.push_back("<page>");
        } else if (word == "tab") {
            emit('\t');
        } else if (word == "line") {
            emit(0x0B);
        } else if (word == "bullet") {
            emit(0x2022);
        } else if (word == "u") {
            const int value = std::stoi(number);
            EXPECT_GE(value, -32768);
            EXPECT_LE(value, 32767);
            const auto unit = static_cast<char16_t>(static_cast<uint16_t>(static_cast<int16_t>(value)));
            pendingSkip = 1;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                EXPECT_EQ(pendingHigh, 0) << "two high surrogates in a row";
                pendingHigh = unit;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                EXPECT_NE(pendingHigh, 0) << "low surrogate without a high one";
                emit(0x10000 + ((char32_t(pendingHigh) - 0xD800) << 10) + (unit - 0xDC00));
                pendingHigh = 0;
            } else {
                emit(unit);
            }
        }
    }
    ADD_FAILURE() << "document does not close its outer group";
    return paragraphs;
}

// True when every brace pairs up and the outer group closes exactly at the end of the text.
bool BracesBalanced(const std::string& rtf) {
    int depth = 0;
    const size_t end = rtf.find_last_not_of("\r\n");
    for (size_t i = 0; i <= end && i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}') {
            if (--depth < 0 || (depth == 0 && i != end))
                return false;
        }
    }
    return depth == 0;
}

bool AllAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

OutlineShape Shape(std::string name, std::string kind, bool isTitle, std::vector<std::string> paragraphs) {
    OutlineShape shape;
    shape.name = std::move(name);
    shape.kind = std::move(kind);
    shape.isTitle = isTitle;
    shape.paragraphs = std::move(paragraphs);
    return shape;
}

const char* const kTitleKind = "com.sun.star.presentation.TitleTextShape";
const char* const kOutlineKind = "com.sun.star.presentation.OutlinerShape";

OutlineSlide Slide(int32_t number, std::string title, std::vector<std::string> bullets,
                   std::vector<std::string> notes = {}) {
    OutlineSlide slide;
    slide.number = number;
    slide.shapes.push_back(Shape("Title " + std::to_string(number), kTitleKind, true, {std::move(title)}));
    slide.shapes.push_back(
        Shape("Content " + std::to_string(number), kOutlineKind, false, std::move(bullets)));
    slide.notes = std::move(notes);
    return slide;
}

// The RTF of one body paragraph holding text, without the paragraph's formatting.
std::string EscapedBody(const std::string& text) {
    OutlineSlide slide;
    slide.number = 1;
    slide.shapes.push_back(Shape("", "com.sun.star.drawing.TextShape", false, {"<<" + text + ">>"}));
    const std::string rtf = BuildOutlineRtf({slide}, {});
    const size_t begin = rtf.find("<<");
    const size_t end = rtf.rfind(">>");
    if (begin == std::string::npos || end == std::string::npos || end < begin)
        return "<markers lost>";
    return rtf.substr(begin + 2, end - begin - 2);
}

// A PNG signature and header of the given size, followed by filler bytes: enough for the
// writer, which reads only the header.
std::string FakePng(uint32_t width, uint32_t height, size_t fillerBytes = 40) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png += std::string("\0\0\0\x0dIHDR", 8);
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            png += static_cast<char>((v >> shift) & 0xFF);
    for (size_t i = 0; i < fillerBytes; ++i)
        png += static_cast<char>(i * 37 + 11);
    return png;
}

// The attributes and hex data of the first picture.
struct Picture {
    bool found = false;
    std::string controls;
    std::string hex;
};

Picture FirstPicture(const std::string& rtf) {
    Picture picture;
    const size_t start = rtf.find("{\\pict");
    if (start == std::string::npos)
        return picture;
    const size_t close = rtf.find('}', start);
    const std::string group = rtf.substr(start + 1, close - start - 1);
    const size_t dataStart = group.find_first_of("\n ");
    picture.found = true;
    picture.controls = group.substr(0, dataStart);
    for (char c : group.substr(dataStart))
        if (!std::isspace(static_cast<unsigned char>(c)))
            picture.hex += c;
    return picture;
}

std::string HexOf(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 0x0F];
    }
    return hex;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size()))
        ++n;
    return n;
}

// --- escaping -----------------------------------------------------------------------------------

TEST(SlideOutlineEscaping, RtfSpecialsAndWhitespace) {
    EXPECT_EQ(EscapedBody("a\\b{c}d"), "a\\\\b\\{c\\}d");
    EXPECT_EQ(EscapedBody("x\ty"), "x\\tab y");
    EXPECT_EQ(EscapedBody("\t5"), "\\tab 5"); // the space ends the word, so the digit stays text
    EXPECT_EQ(EscapedBody("one\vtwo"), "one\\line two");
    EXPECT_EQ(EscapedBody("one\r\ntwo\nthree\rfour"), "one\\line two\\line three\\line four");
    EXPECT_EQ(EscapedBody("bell\x01\x1f\x7f!"), "bell!");
    EXPECT_EQ(EscapedBody("ends in \\"), "ends in \\\\");
}

TEST(SlideOutlineEscaping, UnicodeAsSignedSixteenBitUnits) {
    EXPECT_EQ(EscapedBody("Grüße"), "Gr\\u252?\\u223?e");
    EXPECT_EQ(EscapedBody("日本語"), "\\u26085?\\u26412?\\u-30050?"); // 語 is U+8A9E
    EXPECT_EQ(EscapedBody("가"), "\\u-21504?");                       // U+AC00 is above 0x7FFF: negative
    EXPECT_EQ(EscapedBody("\xEF\xBF\xBF"), "\\u-1?");                 // U+FFFF
    EXPECT_EQ(EscapedBody("😀"), "\\u-10179?\\u-8704?");               // U+1F600 as D83D DE00
    EXPECT_EQ(EscapedBody("\xF4\x8F\xBF\xBF"), "\\u-9217?\\u-8193?"); // U+10FFFF as DBFF DFFF
    EXPECT_EQ(EscapedBody("\xC2\xA0"
                          "1"),
              "\\u160?1");
}

TEST(SlideOutlineEscaping, InvalidUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(EscapedBody("a\xFF"
                          "b"),
              "a\\u-3?b");
    EXPECT_EQ(EscapedBody("\x80"), "\\u-3?");
    EXPECT_EQ(EscapedBody("\xC0\xAF"), "\\u-3?\\u-3?");   // overlong '/'
    EXPECT_EQ(EscapedBody("\xE0\x80\xAF"), "\\u-3?");     // overlong, three bytes
    EXPECT_EQ(EscapedBody("\xED\xA0\x80"), "\\u-3?");     // an encoded surrogate
    EXPECT_EQ(EscapedBody("\xF4\x90\x80\x80"), "\\u-3?"); // past U+10FFFF
    EXPECT_EQ(EscapedBody("\xE6\x97"
                          "A"),
              "\\u-3?A");                             // truncated: the A survives
    EXPECT_EQ(EscapedBody("\xF0\x9F\x98"), "\\u-3?"); // truncated at the end
    EXPECT_EQ(EscapedBody(std::string("n\0ul", 4)), "nul");
}

TEST(SlideOutlineEscaping, RandomTextSurvivesTheRoundTrip) {
    std::mt19937 random(20240607);
    const std::vector<char32_t> specials = {'\\',   '{',     '}',      '\t',   0x0B,   '?',
                                            ' ',    '0',     'u',      0xE9,   0x65E5, 0xAC00,
                                            0xFFFD, 0x1F600, 0x10FFFF, 0x20AC, 0xFEFF};
    std::vector<OutlineSlide> slides;
    std::vector<std::string> expected;
    for (int s = 1; s <= 5; ++s) {
        std::vector<std::string> bullets;
        for (int p = 0; p < 6; ++p) {
            std::string text;
            const int length = 1 + static_cast<int>(random() % 30);
            for (int k = 0; k < length; ++k) {
                char32_t c;
                switch (random() % 4) {
                case 0:
                    c = specials[random() % specials.size()];
                    break;
                case 1:
                    c = 0x20 + random() % 0x5F;
                    break;
                case 2:
                    c = 0xA0 + random() % (0xD800 - 0xA0);
                    break;
                default:
                    c = 0x10000 + random() % 0xFFFFF;
                    break;
                }
                text += EncodeUtf8(c);
            }
            bullets.push_back(text);
        }
        slides.push_back(Slide(s, "T" + std::to_string(s), bullets));
        if (s > 1)
            expected.push_back("<page>");
        expected.push_back("T" + std::to_string(s));
        for (const std::string& b : bullets)
            expected.push_back("\u2022\t" + b);
    }
    const std::string rtf = BuildOutlineRtf(slides, {});
    EXPECT_TRUE(AllAscii(rtf));
    EXPECT_TRUE(BracesBalanced(rtf));
    EXPECT_EQ(ReadParagraphs(rtf), expected);
}

// --- document structure and options --------------------------------------------------------------

TEST(SlideOutlineDocument, HeaderBracesAndPages) {
    const std::vector<OutlineSlide> slides = {Slide(1, "First {x}", {"a", "b\\"}), Slide(2, "Second", {"c"}),
                                              Slide(3, "Third", {"d"})};
    const std::string rtf = BuildOutlineRtf(slides, {});
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
    const std::string header = rtf.substr(0, rtf.find("\\pard"));
    EXPECT_NE(header.find("\\uc1"), std::string::npos);
    EXPECT_NE(header.find("{\\fonttbl{\\f0"), std::string::npos);
    EXPECT_TRUE(BracesBalanced(rtf));
    EXPECT_TRUE(AllAscii(rtf));
    EXPECT_EQ(Count(rtf, "\\page"), 2u);
    EXPECT_EQ(ReadParagraphs(rtf),
              (std::vector<std::string>{"First {x}", "\u2022\ta", "\u2022\tb\\", "<page>", "Second",
                                        "\u2022\tc", "<page>", "Third", "\u2022\td"}));
}

TEST(SlideOutlineDocument, TitleIsBoldAndLargerThanBody) {
    const std::string rtf = BuildOutlineRtf({Slide(1, "Heading", {"Point"})}, {});
    const size_t title = rtf.find("Heading");
    const size_t body = rtf.find("Point");
    ASSERT_NE(title, std::string::npos);
    ASSERT_NE(body, std::string::npos);
    const std::string titleFormat =
        rtf.substr(rtf.rfind("\\pard", title), title - rtf.rfind("\\pard", title));
    const std::string bodyFormat = rtf.substr(rtf.rfind("\\pard", body), body - rtf.rfind("\\pard", body));
    EXPECT_NE(titleFormat.find("\\b "), std::string::npos) << titleFormat;
    EXPECT_EQ(bodyFormat.find("\\b "), std::string::npos) << bodyFormat;
    EXPECT_NE(bodyFormat.find("\\li"), std::string::npos) << "bullets are indented: " << bodyFormat;
    const auto size = [](const std::string& format) {
        const size_t at = format.find("\\fs");
        return at == std::string::npos ? 0 : std::stoi(format.substr(at + 3));
    };
    EXPECT_GT(size(titleFormat), size(bodyFormat));
}

TEST(SlideOutlineDocument, NotesFollowTheSlideOnlyWhenAsked) {
    const std::vector<OutlineSlide> slides = {Slide(1, "One", {"a"}, {"note one", "more"}),
                                              Slide(2, "Two", {"b"}),
                                              Slide(3, "Three", {"c"}, {"note three"})};

    OutlineRtfOptions none;
    EXPECT_EQ(ReadParagraphs(BuildOutlineRtf(slides, none)),
              (std::vector<std::string>{"One", "\u2022\ta", "<page>", "Two", "\u2022\tb", "<page>", "Three",
                                        "\u2022\tc"}));

    OutlineRtfOptions with;
    with.includeNotes = true;
    EXPECT_EQ(ReadParagraphs(BuildOutlineRtf(slides, with)),
              (std::vector<std::string>{"One", "\u2022\ta", "Notes", "note one", "more", "<page>", "Two",
                                        "\u2022\tb", "<page>", "Three", "\u2022\tc", "Notes", "note three"}));

    // Only the notes; a slide without notes gives no blank page. Notes-only wins over both.
    const std::vector<std::string> notesOnly = {"note one", "more", "<page>", "note three"};
    OutlineRtfOptions only;
    only.notesOnly = true;
    EXPECT_EQ(ReadParagraphs(BuildOutlineRtf(slides, only)), notesOnly);
    only.includeNotes = true;
    EXPECT_EQ(ReadParagraphs(BuildOutlineRtf(slides, only)), notesOnly);
}

TEST(SlideOutlineDocument, SlideAndShapeLines) {
    OutlineSlide slide = Slide(7, "Title", {"x"}, {"n"});
    slide.shapes.push_back(Shape("", "com.sun.star.drawing.TextShape", false, {"free text"}));
    OutlineSlide empty;
    empty.number = 8;
    OutlineRtfOptions options;
    options.showSlideAndShape = true;
    options.includeNotes = true;
    EXPECT_EQ(ReadParagraphs(BuildOutlineRtf({slide, empty}, options)),
              (std::vector<std::string>{"Slide 7", "Title 7", "Title", "Content 7", "\u2022\tx", "TextShape",
                                        "free text", "Notes", "n", "<page>", "Slide 8"}));

    options.notesOnly = true;
    EXPECT_EQ(ReadParagraphs(BuildOutlineRtf({slide, empty}, options)),
              (std::vector<std::string>{"Slide 7", "n", "<page>", "Slide 8"}));
}

TEST(SlideOutlineDocument, EmptyInputsStillMakeADocument) {
    for (const auto& slides : {std::vector<OutlineSlide>{}, std::vector<OutlineSlide>{OutlineSlide{}}}) {
        const std::string rtf = BuildOutlineRtf(slides, {});
        EXPECT_TRUE(BracesBalanced(rtf));
        EXPECT_EQ(ReadParagraphs(rtf), std::vector<std::string>{""});
    }
    // Shapes without text and empty paragraphs: no stray bullets, the empty paragraph keeps its place.
    OutlineSlide slide = Slide(1, "T", {"a", "", "b"});
    slide.shapes.push_back(Shape("Picture", "com.sun.star.drawing.GraphicObjectShape", false, {}));
    EXPECT_EQ(ReadParagraphs(BuildOutlineRtf({slide}, {})),
              (std::vector<std::string>{"T", "\u2022\ta", "", "\u2022\tb"}));
}

// --- pictures -------------------------------------------------------------------------------------

TEST(SlideOutlinePictures, HexDataAndSizes) {
    OutlineSlide slide = Slide(1, "Pictured", {"text"});
    slide.pngData = FakePng(2, 3, 1000);
    slide.pictureWidthPx = 2;
    slide.pictureHeightPx = 3;
    OutlineRtfOptions options;
    options.pictures = true;
    const std::string rtf = BuildOutlineRtf({slide}, options);
    const Picture picture = FirstPicture(rtf);
    ASSERT_TRUE(picture.found);
    EXPECT_EQ(picture.controls, "\\pict\\pngblip\\picw2\\pich3\\picwgoal30\\pichgoal45");
    EXPECT_EQ(picture.hex.size(), slide.pngData.size() * 2);
    EXPECT_EQ(picture.hex, HexOf(slide.pngData));
    EXPECT_TRUE(BracesBalanced(rtf));
    EXPECT_LT(rtf.find("{\\pict"), rtf.find("Pictured")) << "the picture heads its slide";
    EXPECT_EQ(ReadParagraphs(rtf), (std::vector<std::string>{"", "Pictured", "\u2022\ttext"}));

    options.pictures = false;
    EXPECT_FALSE(FirstPicture(BuildOutlineRtf({slide}, options)).found);
}

TEST(SlideOutlinePictures, ScaledToFitThePageNeverEnlarged) {
    struct Case {
        uint32_t width, height;
        const char* goal;
    };
    // The text area is 9360 x 12960 twips; a pixel is 15 twips.
    const Case cases[] = {{1280, 720, "\\picwgoal9360\\pichgoal5265"},
                          {100, 50, "\\picwgoal1500\\pichgoal750"},
                          {624, 10, "\\picwgoal9360\\pichgoal150"},
                          {100, 2000, "\\picwgoal648\\pichgoal12960"}};
    for (const Case& c : cases) {
        OutlineSlide slide;
        slide.number = 1;
        slide.pngData = FakePng(c.width, c.height);
        OutlineRtfOptions options;
        options.pictures = true;
        const Picture picture = FirstPicture(BuildOutlineRtf({slide}, options));
        ASSERT_TRUE(picture.found);
        EXPECT_NE(picture.controls.find(c.goal), std::string::npos) << picture.controls;
    }
}

TEST(SlideOutlinePictures, DataThatIsNotAPngIsLeftOut) {
    OutlineRtfOptions options;
    options.pictures = true;
    for (const std::string& bad : {std::string("not a png at all, just some text"), FakePng(0, 10),
                                   FakePng(10, 10).substr(0, 20), std::string("{\\}")}) {
        OutlineSlide slide = Slide(1, "Still here", {});
        slide.pngData = bad;
        const std::string rtf = BuildOutlineRtf({slide}, options);
        EXPECT_FALSE(FirstPicture(rtf).found);
        EXPECT_TRUE(BracesBalanced(rtf));
        EXPECT_NE(rtf.find("Still here"), std::string::npos);
    }
}

// --- the document as a word processor reads it ------------------------------------------------

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

TEST(SlideOutlineOffice, WriterReadsTheUnicodeText) {
    ASSERT_EQ(std::system("command -v soffice >/dev/null 2>&1"), 0)
        << "soffice is not installed (scripts/setup)";
    test::TempFolder folder("rtf");
    std::vector<OutlineSlide> slides = {
        Slide(1, "Grüße aus Köln", {"日本語のテキスト", "emoji 😀 here"}, {"Notizen {mit} Klammern\\"}),
        Slide(2, "Ελληνικά", {"tab\there", "soft\vbreak"})};
    OutlineRtfOptions options;
    options.includeNotes = true;
    {
        std::FILE* file = std::fopen((folder.path() / "outline.rtf").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        const std::string rtf = BuildOutlineRtf(slides, options);
        std::fwrite(rtf.data(), 1, rtf.size(), file);
        std::fclose(file);
    }
    const std::string profile = "file://" + (folder.path() / "profile").string();
    const std::string command =
        "cd " + Quoted(folder.path().string()) +
        " && timeout 150 soffice --headless --norestore -env:UserInstallation=" + Quoted(profile) +
        " --convert-to " + Quoted("txt:Text (encoded):UTF8") + " --outdir out outline.rtf >soffice.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << test::ReadWholeFile(folder.path() / "soffice.log");
    const std::string text = test::ReadWholeFile(folder.path() / "out" / "outline.txt");
    for (const char* expected : {"Grüße aus Köln", "日本語のテキスト", "emoji 😀 here", "Notes",
                                 "Notizen {mit} Klammern\\", "Ελληνικά", "tab\there"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing from:\n" << text;
    EXPECT_EQ(text.find("\\u"), std::string::npos) << "escapes leaked into the text:\n" << text;
}

TEST(SlideOutlineOffice, WriterShowsEachSlidePicture) {
    ASSERT_EQ(std::system("command -v soffice >/dev/null 2>&1 && command -v pdfimages >/dev/null 2>&1"), 0)
        << "soffice or pdfimages is not installed (scripts/setup)";
    test::TempFolder folder("rtfpict");
    std::vector<OutlineSlide> slides;
    const std::pair<uint32_t, uint32_t> sizes[] = {{64, 36}, {40, 30}, {1600, 900}};
    for (int32_t n = 1; n <= 3; ++n) {
        OutlineSlide slide = Slide(n, "Picture slide " + std::to_string(n), {"text"});
        const auto [width, height] = sizes[n - 1];
        std::string rgb;
        for (uint32_t i = 0; i < width * height; ++i)
            rgb += std::string{static_cast<char>(i * n), static_cast<char>(i / width * 4),
                               static_cast<char>(n * 80)};
        slide.pngData = tools::EncodePngRgb(width, height, rgb);
        slide.pictureWidthPx = static_cast<int32_t>(width);
        slide.pictureHeightPx = static_cast<int32_t>(height);
        slides.push_back(slide);
    }
    OutlineRtfOptions options;
    options.pictures = true;
    {
        std::FILE* file = std::fopen((folder.path() / "pictures.rtf").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        const std::string rtf = BuildOutlineRtf(slides, options);
        std::fwrite(rtf.data(), 1, rtf.size(), file);
        std::fclose(file);
    }
    const std::string profile = "file://" + (folder.path() / "profile").string();
    const std::string command =
        "cd " + Quoted(folder.path().string()) +
        " && timeout 150 soffice --headless --norestore -env:UserInstallation=" + Quoted(profile) +
        " --convert-to pdf --outdir out pictures.rtf >soffice.log 2>&1"
        " && pdfimages -list out/pictures.pdf >images.txt 2>&1"
        " && pdfinfo out/pictures.pdf >info.txt 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << test::ReadWholeFile(folder.path() / "soffice.log");
    const std::string info = test::ReadWholeFile(folder.path() / "info.txt");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+3\\n"))) << "one page per slide: " << info;
    // Each picture arrives decoded at its own pixel size, on its own page.
    const std::string images = test::ReadWholeFile(folder.path() / "images.txt");
    std::vector<std::string> found;
    const std::regex row("^\\s*(\\d+)\\s+\\d+\\s+image\\s+(\\d+)\\s+(\\d+)");
    std::istringstream lines(images);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, row))
            found.push_back(m[1].str() + ":" + m[2].str() + "x" + m[3].str());
    }
    EXPECT_EQ(found, (std::vector<std::string>{"1:64x36", "2:40x30", "3:1600x900"})) << images;
}

} // namespace
} // namespace slidemill
