#pragma once

#include "engine/WriterRichText.h"
#include "run/PdfStage.h"
#include "settings/PdfOptions.h"

namespace slidemill {

// Result codes of the second stage.
inline constexpr int32_t kPdfLoadFailed = -2;
inline constexpr int32_t kPdfSaveFailed = -3;

// Turns the intermediate rich-text file into the final PDF in Writer: loads it, puts the
// enforced page, paragraph and font settings on it, exports the PDF with the image settings
// and secures it with the passwords and permissions (AES-256). Settings whose group is not
// enforced leave the document as it is, and without enforced security the PDF has no
// password, whatever an earlier file of the run had.
class PdfWithOptions : public PdfStage {
public:
    // options is read at every file; it must outlive this stage.
    PdfWithOptions(WriterRichTextEngine& engine, const PdfOptions& options);

    int32_t ConvertRtfToPdf(clsConversionOptions& record) override;

private:
    WriterRichTextEngine& engine_;
    const PdfOptions& options_;
};

// What a PDF export is given for these options: image settings only when enforced, passwords
// and permissions only when security is enforced.
PdfExportSettings ExportSettingsFor(const PdfOptions& options);

} // namespace slidemill
