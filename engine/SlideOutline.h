#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// One text-bearing shape of a slide, in reading order.
struct OutlineShape {
    std::string name; // shape name (may be empty)
    std::string kind; // UNO shape type, e.g. "com.sun.star.presentation.TitleTextShape"
    bool isTitle = false;
    std::vector<std::string> paragraphs; // UTF-8, one entry per paragraph; may hold any Unicode
};

struct OutlineSlide {
    int32_t number = 0; // 1-based slide number in the deck
    std::vector<OutlineShape> shapes;
    std::vector<std::string> notes; // paragraphs of the notes page text
    std::string pngData;            // 106 only: PNG bytes of the slide picture (may be empty)
    int32_t pictureWidthPx = 0, pictureHeightPx = 0;
};

struct OutlineRtfOptions {
    bool includeNotes = false;      // IncludeNotesPage: slide text then its notes
    bool notesOnly = false;         // NotesOnly: only the notes text
    bool showSlideAndShape = false; // a "Slide n" / shape-name line before each slide / shape
    bool pictures = false;          // format 106: embed pngData of each slide
};

// A complete RTF document (ASCII only; every non-ASCII character escaped as \uN? with the
// signed 16-bit value, characters above U+FFFF as surrogate pairs; \ { } escaped).
std::string BuildOutlineRtf(const std::vector<OutlineSlide>& slides, const OutlineRtfOptions& options);

} // namespace slidemill
