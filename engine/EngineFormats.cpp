#include "engine/EngineFormats.h"
#include "settings/TranslatableText.h"

namespace slidemill {

const std::vector<EngineFormat>& EngineFormats() {
    // There is no office filter for macro-enabled templates and shows (PowerPoint's 27 and
    // 29): writing them under the plain filter would give files PowerPoint refuses, so they
    // are not offered.
    static const std::vector<EngineFormat> formats{
        {32, N_("PDF Document"), "pdf", FormatKind::Pdf, "impress_pdf_Export"},
        {24, N_("PowerPoint Presentation"), "pptx", FormatKind::Presentation, "Impress MS PowerPoint 2007 XML"},
        {25, N_("PowerPoint Macro-Enabled Presentation"), "pptm", FormatKind::Presentation,
         "Impress MS PowerPoint 2007 XML VBA"},
        {26, N_("PowerPoint Template"), "potx", FormatKind::Presentation,
         "Impress MS PowerPoint 2007 XML Template"},
        {28, N_("PowerPoint Show"), "ppsx", FormatKind::Presentation, "Impress MS PowerPoint 2007 XML AutoPlay"},
        {1, N_("PowerPoint 97-2003 Presentation"), "ppt", FormatKind::Presentation, "MS PowerPoint 97"},
        {5, N_("PowerPoint 97-2003 Template"), "pot", FormatKind::Presentation, "MS PowerPoint 97 Vorlage"},
        {7, N_("PowerPoint 97-2003 Show"), "pps", FormatKind::Presentation, "MS PowerPoint 97 AutoPlay"},
        {35, N_("OpenDocument Presentation"), "odp", FormatKind::Presentation, "impress8"},
        {12, N_("Web Page (HTML)"), "html", FormatKind::Html, "impress_html_Export"},
        {18, N_("PNG Picture (one per slide)"), "png", FormatKind::SlideImage, "image/png"},
        {17, N_("JPEG Picture (one per slide)"), "jpg", FormatKind::SlideImage, "image/jpeg"},
        {16, N_("GIF Picture (one per slide)"), "gif", FormatKind::SlideImage, "image/gif"},
        {19, N_("BMP Picture (one per slide)"), "bmp", FormatKind::SlideImage, "image/bmp"},
        {21, N_("TIFF Picture (one per slide)"), "tif", FormatKind::SlideImage, "image/tiff"},
        {15, N_("Windows Metafile (one per slide)"), "wmf", FormatKind::SlideImage, "image/x-wmf"},
        {23, N_("Enhanced Windows Metafile (one per slide)"), "emf", FormatKind::SlideImage, "image/x-emf"},
        {6, N_("Rich Text Format (slide text outline)"), "rtf", FormatKind::Outline, ""},
        {106, N_("Rich Text Format with a picture of each slide"), "rtf", FormatKind::OutlineWithPictures, ""},
        {101, N_("SVG Picture (one per slide)"), "svg", FormatKind::SlideImage, "image/svg+xml"},
        // The office writes PDF/A-1 tagged, declaring the stricter level "a".
        {102, N_("PDF/A-1 Document (archival)"), "pdf", FormatKind::Pdf, "impress_pdf_Export", 1},
        {103, N_("PDF/A-2b Document (archival)"), "pdf", FormatKind::Pdf, "impress_pdf_Export", 2},
    };
    return formats;
}

const EngineFormat* FindEngineFormat(int32_t code) {
    for (const auto& format : EngineFormats()) {
        if (format.code == code)
            return &format;
    }
    return nullptr;
}

} // namespace slidemill
