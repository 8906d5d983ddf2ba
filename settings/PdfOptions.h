#pragma once

#include "settings/IniFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// The "PDF - with options" settings: five groups of document settings, each enforced on the
// produced PDF only while its override flag is set. Lengths are twips; the paragraph and font
// values carry the rich-text properties of the same name without the prefix.
struct PdfOptions {
    // Display unit of lengths in the options dialogs: 1 inches, 2 centimetres.
    int16_t glnMeasurement = 1;

    bool bOverrideFontSettings = false;
    int32_t lPdxBaseLine = 1;
    int32_t lPdxFontBold = 0;
    int32_t lPdxFontItalic = 0;
    int32_t lPdxFontSize = 1;
    int32_t lPdxFontStrikethru = 0;
    int32_t lPdxFontUnderline = 0;
    int32_t lPdxFontUnderlineStyle = 1;
    int32_t lPdxForeColor = 1;
    int32_t lPdxTextBkColor = 0;
    std::string sPdxFontName = "Courier New";

    bool bOverridePageSettings = false;
    int32_t lPdxPageMarginL = 1440;
    int32_t lPdxPageMarginT = 1440;
    int32_t lPdxPageMarginR = 1440;
    int32_t lPdxPageMarginB = 1440;
    int32_t lPdxPageWidth = 12240;
    int32_t lPdxPageHeight = 15840;
    int16_t lPdxStyleSheetOption = 0;
    std::string sPdxStyleSheetFile;
    bool bPdxPortrait = true;

    bool bOverrideParagraphSettings = false;
    int32_t lPdxAlignment = 0;
    int32_t lPdxFrameDistance = 0;
    int32_t lPdxFrameLineWidth = 0;
    int32_t lPdxFrameStyle = 0;
    int32_t lPdxIndentB = 0;
    int32_t lPdxIndentFL = 0;
    int32_t lPdxIndentL = 0;
    int32_t lPdxIndentR = 0;
    int32_t lPdxIndentT = 0;
    int32_t lPdxLineSpacing = 0;
    int32_t lPdxLineSpacingT = 0;

    // The passwords are kept as plain text: the settings file is private to its user (0600).
    bool bOverridePDFSettings = false;
    std::string sPdxPDFUserPassword;
    std::string sPdxPDFMasterPassword;
    int16_t lDocAccessPermissions = 0;

    bool bOverrideImageSettings = false;
    // 1 lowest to 100 highest; 0 leaves the writer's default.
    int16_t lImageComparessionQuality = 0;
    // Dots per inch; 0 keeps each image's own resolution.
    int32_t lImageMaxResolution = 300;

    bool operator==(const PdfOptions&) const = default;
};

// Reads glnMeasurement and every group from section, each group whatever its flag says.
// Missing keys keep the defaults above.
PdfOptions ReadPdfOptions(const IniFile& ini, const std::string& section);

// Adds the writes of one save: glnMeasurement, then per group the flag and, only when the flag
// is set, the group's values. A group that is off leaves its stored values as they are, so
// switching an override off and on again brings the old values back.
void AddPdfOptionsChanges(const PdfOptions& options, const std::string& section,
                          std::vector<IniChange>& changes);
// The same without glnMeasurement (which the window saves among the task options).
void AddPdfGroupChanges(const PdfOptions& options, const std::string& section,
                        std::vector<IniChange>& changes);

} // namespace slidemill
