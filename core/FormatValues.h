#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace slidemill {

// The paragraph and character values of "PDF - with options" as their dialogs edit them. The
// stored conventions are those of a rich-text control: lengths in twips, colours 0x00BBGGRR.

// "#RRGGBB" for a stored colour (the top byte ignored).
std::string ColorText(int32_t bgr);
// The stored colour for "#RRGGBB" or "RRGGBB"; nothing for any other text.
std::optional<int32_t> ColorFromText(const std::string& text);

// The base line's offset: positive twips raise the text (superscript), negative lower it.
enum class BaseLinePosition { Normal = 0, Raised = 1, Lowered = 2 };
struct BaseLine {
    BaseLinePosition position = BaseLinePosition::Normal;
    double points = 0.0; // the offset's size, never negative
};
BaseLine BaseLineFromTwips(int32_t twips);
int32_t TwipsFromBaseLine(const BaseLine& baseLine);

// Line spacing: exact (LineSpacingT, twips) wins over proportional (LineSpacing, percent);
// neither leaves each paragraph's own spacing.
enum class LineSpacingType { Unchanged = 0, Proportional = 1, Exact = 2 };
LineSpacingType LineSpacingTypeOf(int32_t lineSpacingPercent, int32_t lineSpacingTwips);

// The paragraph frame's sides and double line from FrameStyle (1 left, 2 right, 4 top,
// 8 bottom, 16 all four, 32 double), and back.
struct FrameChoice {
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    bool doubleLine = false;
    bool operator==(const FrameChoice&) const = default;
};
FrameChoice FrameChoiceFromStyle(int32_t frameStyle);
int32_t FrameStyleFromChoice(const FrameChoice& frame);

} // namespace slidemill
