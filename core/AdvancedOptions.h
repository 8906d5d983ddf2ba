#pragma once

#include "core/Grid.h"
#include "settings/PdfOptions.h"

#include <cstdint>
#include <functional>
#include <string>

namespace slidemill {

// What the "Advanced Options" dialog edits: the slide choice of the task and the options the
// whole window keeps (notes, slide and shape info, text-only PDF, moving or deleting inputs).
struct AdvancedOptionsValues {
    bool bConvertAllSlides = true;
    int32_t lFromSlide = 0;
    int32_t lToSlide = 0;
    bool bCreateFileForEachSlide = false;
    bool bIncludeNotesPage = false;
    bool bIncludeNotesOnly = false;
    bool bShowSlideAndShape = false;
    bool bPDFTextOnly = false;
    bool bMoveOriginalFileAfterProcessing = false;
    std::string sMoveFileToFolder;
    bool bDeleteOriginalFileAfterProcessing = false;

    bool operator==(const AdvancedOptionsValues&) const = default;
};

// The four values that travel with the task row; the others are the window's.
bool TaskOptionsDiffer(const AdvancedOptionsValues& a, const AdvancedOptionsValues& b);

enum class AdvancedApplyOutcome {
    Stored,        // the values are to be stored and the dialog closed
    FolderMissing, // the message is to be shown and the dialog stays open on the folder box
};

struct AdvancedApplyResult {
    AdvancedApplyOutcome outcome = AdvancedApplyOutcome::Stored;
    // What the dialog shows and stores afterwards: a blank folder cleared and Move unchecked,
    // the folder trimmed once stored.
    AdvancedOptionsValues values;
    // FolderMissing: the text of the message box, translated.
    std::string message;
};

// The "&Apply" decision. shown: the dialog's controls; folderExists answers for a folder path.
// A Move whose folder is blank is dropped quietly; a Move to a folder that does not exist is
// refused, so no input file is ever moved to a place that is not there.
AdvancedApplyResult ApplyAdvancedOptions(const AdvancedOptionsValues& shown,
                                         const std::function<bool(const std::string&)>& folderExists);

// The notice of the "PDF Options" page: empty while the page's options are used, that is when the
// component is older than PowerPoint 2010 or the target is "PDF - with options" (code 300).
std::string PdfOptionsNotice(bool atLeast2010, int32_t targetCode);

// The code of "PDF - with options".
inline constexpr int32_t kPdfWithOptionsCode = 300;

// A double click on the task grid opens the "Advanced Options" dialog only for a conversion
// task whose "Advanced Options" button shows, and only while neither the current row nor the
// first row is the blank row of an empty job ("*" in the number column).
bool AdvancedOptionsOnDoubleClick(bool convertKind, bool buttonVisible, const Grid& tasks);

// The paragraph values (lPdxAlignment .. lPdxLineSpacingT) and the font values (lPdxBaseLine ..
// sPdxFontName) of "PDF - with options", copied from one set into another.
void CopyParagraphValues(const PdfOptions& from, PdfOptions& to);
void CopyFontValues(const PdfOptions& from, PdfOptions& to);

// The "Image Resolution" box's text as dots per inch: surrounding spaces ignored, a fraction
// rounded. False for a text that is no number, or a negative one, which leaves the stored value
// as it is.
bool ParseImageResolution(const std::string& text, int32_t& dpi);

} // namespace slidemill
