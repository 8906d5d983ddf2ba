#include "core/FormatValues.h"

#include <cmath>
#include <cstdio>

namespace slidemill {

std::string ColorText(int32_t bgr) {
    const uint32_t v = static_cast<uint32_t>(bgr);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", v & 0xFFu, (v >> 8) & 0xFFu, (v >> 16) & 0xFFu);
    return text;
}

std::optional<int32_t> ColorFromText(const std::string& text) {
    std::string hex = text;
    if (!hex.empty() && hex[0] == '#')
        hex.erase(0, 1);
    if (hex.size() != 6)
        return std::nullopt;
    uint32_t rgb = 0;
    for (char c : hex) {
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else
            return std::nullopt;
        rgb = rgb * 16 + digit;
    }
    return static_cast<int32_t>(((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu));
}

BaseLine BaseLineFromTwips(int32_t twips) {
    BaseLine b;
    if (twips > 0)
        b.position = BaseLinePosition::Raised;
    else if (twips < 0)
        b.position = BaseLinePosition::Lowered;
    b.points = std::fabs(static_cast<double>(twips)) / 20.0;
    return b;
}

int32_t TwipsFromBaseLine(const BaseLine& b) {
    const auto twips = static_cast<int32_t>(std::lround(std::fabs(b.points) * 20.0));
    switch (b.position) {
    case BaseLinePosition::Raised:
        return twips;
    case BaseLinePosition::Lowered:
        return -twips;
    case BaseLinePosition::Normal:
        break;
    }
    return 0;
}

LineSpacingType LineSpacingTypeOf(int32_t lineSpacingPercent, int32_t lineSpacingTwips) {
    if (lineSpacingTwips > 0)
        return LineSpacingType::Exact;
    if (lineSpacingPercent > 0)
        return LineSpacingType::Proportional;
    return LineSpacingType::Unchanged;
}

FrameChoice FrameChoiceFromStyle(int32_t frameStyle) {
    FrameChoice f;
    const bool box = (frameStyle & 16) != 0;
    f.left = box || (frameStyle & 1);
    f.right = box || (frameStyle & 2);
    f.top = box || (frameStyle & 4);
    f.bottom = box || (frameStyle & 8);
    f.doubleLine = (frameStyle & 32) != 0;
    return f;
}

int32_t FrameStyleFromChoice(const FrameChoice& f) {
    int32_t style = 0;
    if (f.left && f.right && f.top && f.bottom)
        style = 16;
    else
        style = (f.left ? 1 : 0) | (f.right ? 2 : 0) | (f.top ? 4 : 0) | (f.bottom ? 8 : 0);
    // A double line without any side draws nothing; it is kept so the choice survives.
    if (f.doubleLine)
        style |= 32;
    return style;
}

} // namespace slidemill
