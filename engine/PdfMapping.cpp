#include "engine/PdfMapping.h"

#include <algorithm>
#include <cmath>

namespace slidemill {

int32_t TwipsToHundredthMm(int32_t twips) {
    // 1440 twips = 2540 hundredths of a millimetre.
    return static_cast<int32_t>(std::lround(static_cast<double>(twips) * 2540.0 / 1440.0));
}

PdfPermissions PermissionsFromBits(int32_t bits) {
    PdfPermissions p;
    if (bits & 0x40)
        p.printing = PdfPrinting::HighResolution;
    else if (bits & 0x80)
        p.printing = PdfPrinting::LowResolution;

    if ((bits & 0x29) == 0x29) {
        p.modifyOther = p.annotateAndForm = p.fillForms = p.assemble = true;
    } else if (bits & 0x01) {
        p.annotateAndForm = p.fillForms = true;
    } else if (bits & 0x02) {
        p.fillForms = true;
    } else if (bits & 0x08) {
        p.assemble = true;
    }
    p.accessibility = (bits & 0x04) != 0;
    p.extract = (bits & 0x10) != 0;
    return p;
}

int16_t WriterParagraphAdjust(int32_t alignment) {
    // ParagraphAdjust: LEFT 0, RIGHT 1, BLOCK 2, CENTER 3.
    switch (alignment) {
    case 1:
        return 1;
    case 2:
        return 3;
    case 3:
        return 2;
    default:
        return 0;
    }
}

int32_t BgrToRgb(int32_t bgr) {
    const uint32_t v = static_cast<uint32_t>(bgr) & 0xFFFFFFu;
    return static_cast<int32_t>(((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu));
}

int32_t WriterBackColor(int32_t bgr) {
    if (bgr <= 0 || (static_cast<uint32_t>(bgr) & 0xFF000000u) != 0)
        return -1;
    return BgrToRgb(bgr);
}

int16_t EscapementPercent(int32_t baseLineTwips, int32_t fontPoints) {
    const double heightTwips = (fontPoints > 0 ? fontPoints : 12) * 20.0;
    const double percent = std::round(baseLineTwips * 100.0 / heightTwips);
    return static_cast<int16_t>(std::clamp(percent, -100.0, 100.0));
}

int16_t WriterUnderline(int32_t underline, int32_t style) {
    // FontUnderline: NONE 0, SINGLE 1, DOUBLE 2, DOTTED 3, DASH 5, WAVE 10.
    if (underline == 0)
        return 0;
    switch (style) {
    case 2:
        return 2;
    case 3:
        return 3;
    case 4:
        return 5;
    case 5:
        return 10;
    default:
        return 1;
    }
}

FrameSides FrameSidesFromStyle(int32_t frameStyle) {
    FrameSides s;
    const bool box = (frameStyle & 16) != 0;
    s.left = box || (frameStyle & 1);
    s.right = box || (frameStyle & 2);
    s.top = box || (frameStyle & 4);
    s.bottom = box || (frameStyle & 8);
    s.doubleLine = (frameStyle & 32) != 0;
    return s;
}

} // namespace slidemill
