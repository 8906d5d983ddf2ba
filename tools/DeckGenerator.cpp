#include "tools/DeckGenerator.h"

#include "tools/Base64.h"
#include "tools/PngEncoder.h"

#include <array>
#include <cstdio>

namespace slidemill::tools {
namespace {

// SplitMix64: tiny, and its sequence is fixed by its definition, unlike the standard library's
// distributions, so a seed gives the same decks everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A value in [low, high].
    int32_t Between(int32_t low, int32_t high) {
        return low + static_cast<int32_t>(Next() % static_cast<uint64_t>(high - low + 1));
    }
    template <size_t N> const char* Pick(const std::array<const char*, N>& words) {
        return words[Next() % N];
    }

private:
    uint64_t state_;
};

constexpr std::array<const char*, 40> kWords = {
    "quarterly", "revenue", "roadmap",  "customer", "pipeline", "growth",   "budget",    "review",
    "milestone", "launch",  "partner",  "design",   "release",  "quality",  "feedback",  "metrics",
    "team",      "market",  "strategy", "summary",  "risk",     "schedule", "proposal",  "forecast",
    "platform",  "support", "travel",   "training", "hiring",   "security", "migration", "backlog",
    "priority",  "update",  "budgets",  "results",  "regional", "north",    "south",     "pilot"};

// Words from other scripts, and a few that need XML escaping, so every deck exercises the
// converters' Unicode and escaping paths.
constexpr std::array<const char*, 20> kWorldWords = {
    "Grüße",    "Überblick", "café",       "naïve", "Ελληνικά",   "Привет",  "日本語",
    "中文资料", "한국어",    "العربية",    "עברית", "€ 1 234,50", "😀",       "🚀",
    "R&D",      "<draft>",   "\"quoted\"", "it's",  "Ñandú",      "ß-Straße"};

std::string Sentence(Random& random, int32_t minWords, int32_t maxWords) {
    const int32_t count = random.Between(minWords, maxWords);
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += random.Next() % 4 == 0 ? random.Pick(kWorldWords) : random.Pick(kWords);
    }
    return text;
}

// A small picture: a gradient in two seeded colours with a diagonal band, different per slide.
std::string SlidePicture(Random& random, uint32_t width, uint32_t height) {
    uint8_t from[3], to[3];
    for (int c = 0; c < 3; ++c) {
        from[c] = static_cast<uint8_t>(random.Next());
        to[c] = static_cast<uint8_t>(random.Next());
    }
    const uint32_t band = 8 + static_cast<uint32_t>(random.Next() % 16);
    std::string rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const bool inBand = (x + y) % (band * 2) < band;
            for (int c = 0; c < 3; ++c) {
                const int value = from[c] + (static_cast<int>(to[c]) - from[c]) * static_cast<int>(x) /
                                                static_cast<int>(width);
                rgb += static_cast<char>(inBand ? 255 - value : value);
            }
        }
    }
    return EncodePngRgb(width, height, rgb);
}

void AppendTextBox(std::string& xml, const char* cls, const std::string& name, const char* geometry,
                   const std::vector<std::string>& paragraphs, bool asList) {
    xml += "    <draw:frame draw:name=\"" + EscapeXml(name) + "\" presentation:style-name=\"";
    xml += std::string_view(cls) == "title" ? "prTitle" : "prBody";
    xml += "\" presentation:class=\"";
    xml += cls;
    xml += "\" ";
    xml += geometry;
    xml += "><draw:text-box>";
    if (asList)
        xml += "<text:list>";
    for (const std::string& p : paragraphs) {
        if (asList)
            xml += "<text:list-item>";
        xml += "<text:p>" + EscapeXml(p) + "</text:p>";
        if (asList)
            xml += "</text:list-item>";
    }
    if (asList)
        xml += "</text:list>";
    xml += "</draw:text-box></draw:frame>\n";
}

} // namespace

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::vector<DeckPlan> PlanDecks(int32_t count, int32_t minSlides, int32_t maxSlides, uint64_t seed) {
    std::vector<DeckPlan> plans;
    if (count <= 0 || minSlides <= 0 || maxSlides < minSlides)
        return plans;
    Random random(seed);
    for (int32_t i = 1; i <= count; ++i) {
        DeckPlan plan;
        char name[32];
        std::snprintf(name, sizeof name, "deck%03d.fodp", static_cast<int>(i));
        plan.name = name;
        plan.slides = random.Between(minSlides, maxSlides);
        plan.seed = random.Next();
        plans.push_back(plan);
    }
    return plans;
}

Deck MakeDeck(const DeckPlan& plan) {
    Random random(plan.seed);
    Deck deck;
    deck.name = plan.name;
    for (int32_t n = 1; n <= plan.slides; ++n) {
        DeckSlide slide;
        slide.title = "Slide " + std::to_string(n) + ": " + Sentence(random, 2, 4);
        const int32_t bullets = random.Between(2, 6);
        for (int32_t b = 0; b < bullets; ++b)
            slide.bullets.push_back(Sentence(random, 3, 10));
        const int32_t notes = random.Between(1, 3);
        for (int32_t p = 0; p < notes; ++p)
            slide.notes.push_back("Note " + std::to_string(n) + "." + std::to_string(p + 1) + ": " +
                                  Sentence(random, 5, 14));
        slide.png = SlidePicture(random, 128, 72);
        deck.slides.push_back(std::move(slide));
    }
    return deck;
}

std::string WriteFlatOdp(const Deck& deck) {
    std::string xml;
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<office:document"
           " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
           " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
           " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
           " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
           " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
           " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
           " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
           " xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\""
           " office:version=\"1.2\" office:mimetype=\"application/vnd.oasis.opendocument.presentation\">\n"
           " <office:automatic-styles>\n"
           "  <style:page-layout style:name=\"PM1\"><style:page-layout-properties fo:margin-top=\"0cm\""
           " fo:margin-bottom=\"0cm\" fo:margin-left=\"0cm\" fo:margin-right=\"0cm\" fo:page-width=\"28cm\""
           " fo:page-height=\"15.75cm\" style:print-orientation=\"landscape\"/></style:page-layout>\n"
           "  <style:style style:name=\"prTitle\" style:family=\"presentation\"><style:graphic-properties"
           " draw:stroke=\"none\" draw:fill=\"none\"/><style:text-properties fo:font-size=\"30pt\""
           " fo:font-weight=\"bold\" fo:color=\"#1f3864\"/></style:style>\n"
           "  <style:style style:name=\"prBody\" style:family=\"presentation\"><style:graphic-properties"
           " draw:stroke=\"none\" draw:fill=\"none\"/><style:text-properties "
           "fo:font-size=\"18pt\"/></style:style>\n"
           " </office:automatic-styles>\n"
           " <office:master-styles>\n"
           "  <style:master-page style:name=\"Default\" style:page-layout-name=\"PM1\"/>\n"
           " </office:master-styles>\n"
           " <office:body>\n"
           "  <office:presentation>\n";
    int32_t number = 0;
    for (const DeckSlide& slide : deck.slides) {
        ++number;
        const std::string n = std::to_string(number);
        xml += "   <draw:page draw:name=\"page" + n + "\" draw:master-page-name=\"Default\">\n";
        AppendTextBox(xml, "title", "Title " + n,
                      "svg:x=\"1.4cm\" svg:y=\"0.6cm\" svg:width=\"25.2cm\" svg:height=\"2.6cm\"",
                      {slide.title}, false);
        AppendTextBox(xml, "outline", "Content " + n,
                      "svg:x=\"1.4cm\" svg:y=\"3.6cm\" svg:width=\"16cm\" svg:height=\"11cm\"", slide.bullets,
                      true);
        if (!slide.png.empty()) {
            xml += "    <draw:frame draw:name=\"Picture " + n +
                   "\" svg:x=\"18cm\" svg:y=\"4cm\" svg:width=\"8.6cm\" svg:height=\"4.84cm\"><draw:image>"
                   "<office:binary-data>";
            xml += EncodeBase64(slide.png, 76);
            xml += "</office:binary-data></draw:image></draw:frame>\n";
        }
        xml += "    <presentation:notes>\n"
               "     <draw:page-thumbnail draw:page-number=\"" +
               n +
               "\" presentation:class=\"page\" svg:x=\"3.5cm\" svg:y=\"2cm\" svg:width=\"14cm\""
               " svg:height=\"7.9cm\"/>\n ";
        AppendTextBox(xml, "notes", "Notes " + n,
                      "svg:x=\"2.1cm\" svg:y=\"11cm\" svg:width=\"16.8cm\" svg:height=\"12cm\"", slide.notes,
                      false);
        xml += "    </presentation:notes>\n"
               "   </draw:page>\n";
    }
    xml += "  </office:presentation>\n"
           " </office:body>\n"
           "</office:document>\n";
    return xml;
}

} // namespace slidemill::tools
