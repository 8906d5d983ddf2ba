#include "core/PageSetup.h"
#include "settings/TranslatableText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace slidemill {
namespace {

double TwipsPerUnit(int unit) {
    switch (unit) {
    case kUnitInches:
        return 1440.0;
    case kUnitCentimetres:
        return 567.0;
    default:
        return 0.0;
    }
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string UnitLabel(int unit) {
    switch (unit) {
    case kUnitInches:
        return N_("inch");
    case kUnitCentimetres:
        return N_("cm");
    default:
        return {};
    }
}

std::string TwipsToText(int32_t twips, int unit) {
    const double perUnit = TwipsPerUnit(unit);
    if (perUnit == 0.0)
        return {};
    // The small addition settles values that sit exactly between two hundredths upwards.
    const double value = (static_cast<double>(twips) + 0.0005) / perUnit;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    if (text == "-0.00")
        text = "0.00";
    return text;
}

int32_t TextToTwips(const std::string& text, int unit) {
    const double perUnit = TwipsPerUnit(unit);
    const std::string trimmed = Trimmed(text);
    if (perUnit == 0.0 || trimmed.empty())
        return 0;
    // from_chars takes no leading plus; a typed one is harmless.
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return 0;
    const double twips = std::round(value * perUnit);
    if (twips > std::numeric_limits<int32_t>::max() || twips < std::numeric_limits<int32_t>::min())
        return 0;
    return static_cast<int32_t>(twips);
}

const std::vector<PaperSize>& PaperSizes() {
    static const std::vector<PaperSize> sizes = {
        {N_("A4"), {11906, 16837}},     {N_("A5"), {8418, 11906}},     {N_("B5"), {9978, 14174}},
        {N_("Letter"), {12240, 15840}}, {N_("Legal"), {12240, 20160}},
    };
    return sizes;
}

std::vector<std::string> PaperSizeNames() {
    std::vector<std::string> names;
    for (const PaperSize& paper : PaperSizes())
        names.emplace_back(paper.name);
    names.emplace_back(kUserDefinedPaper);
    return names;
}

int MatchPaperSize(PageSize size) {
    const int32_t width = std::min(size.width, size.height);
    const int32_t height = std::max(size.width, size.height);
    const auto& sizes = PaperSizes();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        // In 64 bits: a typed size may be anywhere in the 32-bit range.
        if (std::llabs(int64_t{sizes[i].size.width} - width) < 10 &&
            std::llabs(int64_t{sizes[i].size.height} - height) < 10)
            return static_cast<int>(i);
    }
    return static_cast<int>(sizes.size());
}

PageSize Oriented(PageSize size, bool portrait) {
    const bool fits = portrait ? size.height >= size.width : size.width >= size.height;
    if (fits)
        return size;
    return {size.height, size.width};
}

} // namespace slidemill
