#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slidemill::tools {

struct DeckSlide {
    std::string title;
    std::vector<std::string> bullets;
    std::vector<std::string> notes;
    std::string png; // the slide's picture
};

struct Deck {
    std::string name; // file name, e.g. "deck007.fodp"
    std::vector<DeckSlide> slides;
};

// What one deck of a set will hold.
struct DeckPlan {
    std::string name;
    int32_t slides = 0;
    uint64_t seed = 0;
};

// COUNT decks with MIN..MAX slides each, the same for the same seed on every machine.
std::vector<DeckPlan> PlanDecks(int32_t count, int32_t minSlides, int32_t maxSlides, uint64_t seed);

// The text and pictures of one deck, made from the plan's seed alone.
Deck MakeDeck(const DeckPlan& plan);

// The deck as a flat OpenDocument presentation (.fodp) with pictures inline.
std::string WriteFlatOdp(const Deck& deck);

// Text escaped for XML character data and attribute values.
std::string EscapeXml(std::string_view text);

} // namespace slidemill::tools
