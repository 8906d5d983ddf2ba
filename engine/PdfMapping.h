#pragma once

#include <cstdint>

namespace slidemill {

// The option values are those of a rich-text control: lengths in twips, colours as 0x00BBGGRR,
// booleans that may be stored as -1. These turn them into what the office's text properties
// and the PDF security handler take.

// Twips (1/1440 inch) to the office's 1/100 mm, rounded to the nearest unit.
int32_t TwipsToHundredthMm(int32_t twips);

// Printing and change rights of a secured PDF, decoded from the permission bits of the options.
enum class PdfPrinting { None, LowResolution, HighResolution };
struct PdfPermissions {
    PdfPrinting printing = PdfPrinting::None;
    bool modifyOther = false;     // any other change to the document
    bool annotateAndForm = false; // comments, and form fields
    bool fillForms = false;       // filling in form fields and signing
    bool assemble = false;        // inserting, deleting and rotating pages
    bool extract = false;         // copying text and images
    bool accessibility = false;   // text access for screen readers
    bool operator==(const PdfPermissions&) const = default;
};
// Each group is read the way the security dialog shows it, so what the user chose is what the
// PDF allows: printing high resolution (0x40) before low (0x80); changes "any except extracting
// pages" (all of 0x29) before commenting (0x01), form filling (0x02) and page assembly (0x08).
PdfPermissions PermissionsFromBits(int32_t bits);

// The control's paragraph alignment (0 left, 1 right, 2 centre, 3 justified) as the office's
// ParagraphAdjust value; anything else is left aligned.
int16_t WriterParagraphAdjust(int32_t alignment);

// A colour stored as 0x00BBGGRR as the office's 0x00RRGGBB.
int32_t BgrToRgb(int32_t bgr);
// A background colour, or -1 (the office's "transparent") for none. Stored values that are not
// plain colours (system colours have the top bit set) and 0 mean no background: a black
// highlight would hide the default black text, and 0 is what an untouched setting holds.
int32_t WriterBackColor(int32_t bgr);

// Vertical offset of the base line in twips as the office's escapement, a percentage of the
// font height (positive raises), kept within -100..100. fontPoints <= 0 counts as 12 pt.
int16_t EscapementPercent(int32_t baseLineTwips, int32_t fontPoints);

// The control's underline style (1 single, 2 double, 3 dotted, 4 dashed, 5 wave) as the office's
// FontUnderline value, NONE when underlining is off.
int16_t WriterUnderline(int32_t underline, int32_t style);

// Paragraph frame lines from the control's FrameStyle bits: 1 left, 2 right, 4 top, 8 bottom,
// 16 all four sides, 32 double lines.
struct FrameSides {
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    bool doubleLine = false;
    bool operator==(const FrameSides&) const = default;
};
FrameSides FrameSidesFromStyle(int32_t frameStyle);

} // namespace slidemill
