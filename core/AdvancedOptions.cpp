#include "core/AdvancedOptions.h"

#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "settings/PathText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace slidemill {

bool TaskOptionsDiffer(const AdvancedOptionsValues& a, const AdvancedOptionsValues& b) {
    return a.bConvertAllSlides != b.bConvertAllSlides || a.lFromSlide != b.lFromSlide ||
           a.lToSlide != b.lToSlide || a.bCreateFileForEachSlide != b.bCreateFileForEachSlide;
}

AdvancedApplyResult ApplyAdvancedOptions(const AdvancedOptionsValues& shown,
                                         const std::function<bool(const std::string&)>& folderExists) {
    AdvancedApplyResult result;
    result.values = shown;
    AdvancedOptionsValues& v = result.values;
    const std::string folder = pathtext::TrimSpaces(shown.sMoveFileToFolder);
    if (folder.empty()) {
        v.sMoveFileToFolder.clear();
        v.bMoveOriginalFileAfterProcessing = false;
    }
    if (v.bMoveOriginalFileAfterProcessing && !(folderExists && folderExists(folder))) {
        result.outcome = AdvancedApplyOutcome::FolderMissing;
        result.message = shown.sMoveFileToFolder + "\r\r" + Translate("does not exist.");
        return result;
    }
    v.sMoveFileToFolder = folder;
    return result;
}

std::string PdfOptionsNotice(bool atLeast2010, int32_t targetCode) {
    if (!atLeast2010 || targetCode == kPdfWithOptionsCode)
        return {};
    return Translate("Please Note: The options in this tab are only used when 'Convert To File Format' is:") +
           "\n[" + std::to_string(kPdfWithOptionsCode) + "] " + Translate("PDF - with options");
}

bool AdvancedOptionsOnDoubleClick(bool convertKind, bool buttonVisible, const Grid& tasks) {
    const bool notOnLastUninitializedRecord =
        tasks.Cell(tasks.Row(), kColNumber) != kNewTaskMark && tasks.Cell(1, kColNumber) != kNewTaskMark;
    return convertKind && buttonVisible && notOnLastUninitializedRecord;
}

void CopyParagraphValues(const PdfOptions& from, PdfOptions& to) {
    to.lPdxAlignment = from.lPdxAlignment;
    to.lPdxFrameDistance = from.lPdxFrameDistance;
    to.lPdxFrameLineWidth = from.lPdxFrameLineWidth;
    to.lPdxFrameStyle = from.lPdxFrameStyle;
    to.lPdxIndentB = from.lPdxIndentB;
    to.lPdxIndentFL = from.lPdxIndentFL;
    to.lPdxIndentL = from.lPdxIndentL;
    to.lPdxIndentR = from.lPdxIndentR;
    to.lPdxIndentT = from.lPdxIndentT;
    to.lPdxLineSpacing = from.lPdxLineSpacing;
    to.lPdxLineSpacingT = from.lPdxLineSpacingT;
}

void CopyFontValues(const PdfOptions& from, PdfOptions& to) {
    to.lPdxBaseLine = from.lPdxBaseLine;
    to.lPdxFontBold = from.lPdxFontBold;
    to.lPdxFontItalic = from.lPdxFontItalic;
    to.lPdxFontSize = from.lPdxFontSize;
    to.lPdxFontStrikethru = from.lPdxFontStrikethru;
    to.lPdxFontUnderline = from.lPdxFontUnderline;
    to.lPdxFontUnderlineStyle = from.lPdxFontUnderlineStyle;
    to.lPdxForeColor = from.lPdxForeColor;
    to.lPdxTextBkColor = from.lPdxTextBkColor;
    to.sPdxFontName = from.sPdxFontName;
}

bool ParseImageResolution(const std::string& text, int32_t& dpi) {
    const std::string trimmed = pathtext::TrimSpaces(text);
    if (trimmed.empty())
        return false;
    // The same reading whatever the user's locale says about decimal points.
    double value = 0;
    const char* last = trimmed.data() + trimmed.size();
    const auto [end, error] = std::from_chars(trimmed.data(), last, value);
    if (error != std::errc() || end != last || !std::isfinite(value) || value < 0)
        return false;
    const double rounded = std::nearbyint(value);
    if (rounded > std::numeric_limits<int32_t>::max())
        return false;
    dpi = static_cast<int32_t>(rounded);
    return true;
}

} // namespace slidemill
