#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// How a target format is produced from a loaded presentation.
enum class FormatKind {
    Presentation, // stored whole by an office filter (other slides removed first)
    Pdf,          // the office's PDF export with a page range
    Html,         // a page plus pictures, written together into the target folder
    SlideImage,   // one picture per slide, always into a folder
    Outline,      // the slide text as RTF
    OutlineWithPictures,
};

struct EngineFormat {
    int32_t code; // PowerPoint's save-as number where one exists, else ours (>= 100)
    const char* description;
    const char* extension; // without the dot
    FormatKind kind;
    const char* filter;     // office filter name, or the picture media type for SlideImage
    int32_t pdfVersion = 0; // PDF: 0 plain, 1 PDF/A-1, 2 PDF/A-2b
};

// PowerPoint's number for a show (.ppsx): its package needs the show's content type.
inline constexpr int32_t kFormatPowerPointShow = 28;

// Every format the engine writes, in the order offered to the user.
const std::vector<EngineFormat>& EngineFormats();
// nullptr for an unknown code.
const EngineFormat* FindEngineFormat(int32_t code);

} // namespace slidemill
