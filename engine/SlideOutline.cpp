#include "engine/SlideOutline.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace slidemill {
namespace {

// Letter paper with one-inch margins, in twips. The later PDF stage applies the user's own page
// settings; these only decide how wide a slide picture may be drawn.
constexpr int32_t kPaperWidth = 12240;
constexpr int32_t kPaperHeight = 15840;
constexpr int32_t kMargin = 1440;
constexpr int32_t kTextWidth = kPaperWidth - 2 * kMargin;
constexpr int32_t kTextHeight = kPaperHeight - 2 * kMargin;
constexpr int32_t kTwipsPerPixel = 15; // 96 pixels per inch
constexpr char32_t kReplacement = 0xFFFD;

// Decodes one character at text[pos], advancing pos. Anything that is not well-formed UTF-8
// (stray continuation bytes, truncated or overlong sequences, encoded surrogates, values past
// U+10FFFF) yields U+FFFD and consumes only the bytes that could have belonged to it.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    size_t next = pos + 1;
    for (int i = 1; i < length; ++i, ++next) {
        if (next >= text.size())
            break;
        const auto byte = static_cast<unsigned char>(text[next]);
        if ((byte & 0xC0) != 0x80)
            break;
        value = (value << 6) | (byte & 0x3F);
        if (i == length - 1) {
            pos = next + 1;
            if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
                return kReplacement;
            return value;
        }
    }
    pos = next;
    return kReplacement;
}

void AppendUnicodeEscape(std::string& out, char32_t unit) {
    // RTF takes a signed 16-bit number; '?' is what a reader without Unicode shows instead.
    const auto signedUnit = static_cast<int16_t>(static_cast<uint16_t>(unit));
    out += "\\u";
    out += std::to_string(signedUnit);
    out += '?';
}

// Appends UTF-8 text as the body of an RTF paragraph.
void AppendText(std::string& out, std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = DecodeUtf8(text, pos);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '{':
            out += "\\{";
            break;
        case '}':
            out += "\\}";
            break;
        case '\t':
            out += "\\tab ";
            break;
        case '\r':
            // CR LF is one break, a lone CR is one too.
            if (pos < text.size() && text[pos] == '\n')
                ++pos;
            out += "\\line ";
            break;
        case '\n':
        case 0x0B:   // Impress writes a soft line break as a vertical tab
        case 0x2028: // LINE SEPARATOR
        case 0x2029: // a paragraph break inside one paragraph entry stays inside it
            out += "\\line ";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                // Other control characters carry no text and would confuse readers.
            } else if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c <= 0xFFFF) {
                AppendUnicodeEscape(out, c);
            } else {
                const char32_t v = c - 0x10000;
                AppendUnicodeEscape(out, 0xD800 + (v >> 10));
                AppendUnicodeEscape(out, 0xDC00 + (v & 0x3FF));
            }
        }
    }
}

enum class ParagraphStyle { Marker, Title, Bullet, Body, Heading };

void AppendParagraph(std::string& out, ParagraphStyle style, std::string_view text) {
    switch (style) {
    case ParagraphStyle::Marker:
        out += "\\pard\\plain\\sa60\\f0\\fs18\\i ";
        break;
    case ParagraphStyle::Title:
        out += "\\pard\\plain\\sa120\\f0\\fs36\\b ";
        break;
    case ParagraphStyle::Bullet:
        out += "\\pard\\plain\\li720\\fi-360\\tx720\\sa60\\f0\\fs24 \\bullet\\tab ";
        break;
    case ParagraphStyle::Body:
        out += "\\pard\\plain\\li360\\sa60\\f0\\fs24 ";
        break;
    case ParagraphStyle::Heading:
        out += "\\pard\\plain\\sb120\\sa60\\f0\\fs26\\b ";
        break;
    }
    AppendText(out, text);
    out += "\\par\n";
}

bool ReadBigEndian32(std::string_view data, size_t offset, uint32_t& value) {
    if (data.size() < offset + 4)
        return false;
    value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(data[offset + i]);
    return true;
}

// The pixel size from the PNG header; false when the data is not a PNG at all, so that garbage
// never ends up in the document as a picture a reader might choke on.
bool PngSize(std::string_view png, int32_t& width, int32_t& height) {
    static constexpr std::string_view signature("\x89PNG\r\n\x1a\n", 8);
    if (png.size() < 24 || png.substr(0, 8) != signature || png.substr(12, 4) != "IHDR")
        return false;
    uint32_t w = 0, h = 0;
    if (!ReadBigEndian32(png, 16, w) || !ReadBigEndian32(png, 20, h))
        return false;
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

void AppendPicture(std::string& out, const OutlineSlide& slide) {
    int32_t width = 0, height = 0;
    if (!PngSize(slide.pngData, width, height))
        return;
    // Natural size at 96 dpi, shrunk (never enlarged) to fit the text area of the page.
    double goalWidth = static_cast<double>(width) * kTwipsPerPixel;
    double goalHeight = static_cast<double>(height) * kTwipsPerPixel;
    const double scale = std::min({1.0, kTextWidth / goalWidth, kTextHeight / goalHeight});
    goalWidth = std::max(1.0, goalWidth * scale);
    goalHeight = std::max(1.0, goalHeight * scale);

    out += "\\pard\\plain\\qc\\sa120{\\pict\\pngblip\\picw";
    out += std::to_string(width);
    out += "\\pich";
    out += std::to_string(height);
    out += "\\picwgoal";
    out += std::to_string(static_cast<int64_t>(goalWidth + 0.5));
    out += "\\pichgoal";
    out += std::to_string(static_cast<int64_t>(goalHeight + 0.5));
    out += '\n';
    static constexpr char digits[] = "0123456789abcdef";
    size_t column = 0;
    for (const char ch : slide.pngData) {
        const auto byte = static_cast<unsigned char>(ch);
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
        if (++column == 64) {
            out += '\n';
            column = 0;
        }
    }
    out += "}\\par\n";
}

std::string ShapeLabel(const OutlineShape& shape) {
    if (!shape.name.empty())
        return shape.name;
    // Without a name, the last part of the type still tells the reader what the shape was.
    const size_t dot = shape.kind.rfind('.');
    return dot == std::string::npos ? shape.kind : shape.kind.substr(dot + 1);
}

bool IsBulletShape(const OutlineShape& shape) {
    return shape.kind.find("OutlinerShape") != std::string::npos;
}

// The body of one slide, empty when the slide has nothing to show under these options.
std::string SlideBody(const OutlineSlide& slide, const OutlineRtfOptions& options) {
    std::string content;
    if (options.pictures)
        AppendPicture(content, slide);
    if (!options.notesOnly) {
        for (const OutlineShape& shape : slide.shapes) {
            const bool hasText = std::any_of(shape.paragraphs.begin(), shape.paragraphs.end(),
                                             [](const std::string& p) { return !p.empty(); });
            if (!hasText && !options.showSlideAndShape)
                continue;
            if (options.showSlideAndShape) {
                const std::string label = ShapeLabel(shape);
                if (!label.empty())
                    AppendParagraph(content, ParagraphStyle::Marker, label);
            }
            const ParagraphStyle style = shape.isTitle          ? ParagraphStyle::Title
                                         : IsBulletShape(shape) ? ParagraphStyle::Bullet
                                                                : ParagraphStyle::Body;
            for (const std::string& paragraph : shape.paragraphs) {
                // An empty paragraph keeps its place in the text, but gets no bullet.
                AppendParagraph(content,
                                paragraph.empty() && style == ParagraphStyle::Bullet ? ParagraphStyle::Body
                                                                                     : style,
                                paragraph);
            }
        }
    }
    const bool notesWanted = options.includeNotes || options.notesOnly;
    const bool hasNotes =
        std::any_of(slide.notes.begin(), slide.notes.end(), [](const std::string& p) { return !p.empty(); });
    if (notesWanted && hasNotes) {
        if (!options.notesOnly)
            AppendParagraph(content, ParagraphStyle::Heading, "Notes");
        for (const std::string& paragraph : slide.notes)
            AppendParagraph(content, ParagraphStyle::Body, paragraph);
    }
    if (content.empty() && !options.showSlideAndShape)
        return content;
    std::string body;
    if (options.showSlideAndShape)
        AppendParagraph(body, ParagraphStyle::Marker, "Slide " + std::to_string(slide.number));
    body += content;
    return body;
}

} // namespace

std::string BuildOutlineRtf(const std::vector<OutlineSlide>& slides, const OutlineRtfOptions& options) {
    std::string rtf;
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    rtf += "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n";
    rtf += "{\\*\\generator Slidemill;}\n";
    rtf += "\\paperw" + std::to_string(kPaperWidth) + "\\paperh" + std::to_string(kPaperHeight);
    rtf += "\\margl" + std::to_string(kMargin) + "\\margr" + std::to_string(kMargin);
    rtf += "\\margt" + std::to_string(kMargin) + "\\margb" + std::to_string(kMargin) + "\n";

    // One page per slide that has anything to show: a slide without notes is left out of a
    // notes-only outline rather than becoming a blank page.
    bool first = true;
    for (const OutlineSlide& slide : slides) {
        std::string body = SlideBody(slide, options);
        if (body.empty())
            continue;
        if (!first)
            rtf += "\\page\n";
        first = false;
        rtf += body;
    }
    if (first)
        rtf += "\\pard\\plain\\f0\\fs24\\par\n"; // readers want at least one paragraph
    rtf += "}\n";
    return rtf;
}

} // namespace slidemill
