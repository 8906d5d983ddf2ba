#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// Display units of lengths (glnMeasurement).
inline constexpr int kUnitInches = 1;
inline constexpr int kUnitCentimetres = 2;

// "inch" or "cm", untranslated; "" for an unknown unit.
std::string UnitLabel(int unit);

// Twips as text in unit, two decimals ("8.50"), always with a point whatever the user's locale;
// "" for an unknown unit.
std::string TwipsToText(int32_t twips, int unit);
// The reverse, rounded to whole twips. Empty, unparsable or out-of-range text and an unknown
// unit give 0. Only a point separates decimals: the text is read the same on every system.
int32_t TextToTwips(const std::string& text, int unit);

struct PageSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PageSize&) const = default;
};

struct PaperSize {
    const char* name;
    PageSize size; // portrait
};
// A4, A5, B5, Letter and Legal, in the order of the paper list.
const std::vector<PaperSize>& PaperSizes();
inline constexpr const char* kUserDefinedPaper = "User Defined";
// The paper list as shown: the named sizes, then "User Defined".
std::vector<std::string> PaperSizeNames();
// Index in PaperSizeNames() of the first paper whose sides are both less than 10 twips from
// size's (the smaller side taken as the width); the "User Defined" index when none is.
int MatchPaperSize(PageSize size);

// size with its sides swapped when they do not fit the orientation: a portrait page is not
// wider than high, a landscape page not higher than wide.
PageSize Oriented(PageSize size, bool portrait);

} // namespace slidemill
