#pragma once

#include "engine/EngineFormats.h"
#include "engine/SlideOutline.h"
#include "engine/UnoSupport.h"

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/task/XStatusIndicator.hpp>

#include <cstdint>
#include <functional>
#include <string>

// The steps that turn a loaded presentation into files. Each throws the office's exceptions;
// the caller decides what they mean.
namespace slidemill {

// Slides first..last, 1-based and inclusive; last < first for a deck without slides.
struct SlideRange {
    int32_t first = 1;
    int32_t last = 0;
    bool wholeDeck = true;
};

using Document = css::uno::Reference<css::lang::XComponent>;
using Context = css::uno::Reference<css::uno::XComponentContext>;
using Indicator = css::uno::Reference<css::task::XStatusIndicator>;

int32_t SlideCount(const Document& document);
bool IsPresentation(const Document& document);

void ExportPdf(const Document& document, const std::string& path, const SlideRange& range, bool notes,
               bool notesOnly, int32_t pdfVersion, const Indicator& indicator);

// Removes every slide outside the range from the loaded copy.
void KeepOnlySlides(const Document& document, const SlideRange& range);
void StoreWithFilter(const Document& document, const std::string& path, const char* filter,
                     const Indicator& indicator);
// A page per slide plus pictures, written beside path.
void ExportHtml(const Document& document, const std::string& path, int32_t widthPx);

// One picture of slide number (1-based) at path; returns its pixel size.
void ExportSlidePicture(const Context& context, const Document& document, int32_t number,
                        const std::string& path, const char* mediaType, int32_t widthPx, int32_t& pixelWidth,
                        int32_t& pixelHeight);

// The outline of the slides of the range; with pictures, each slide's PNG is rendered
// through a file in scratchFolder.
std::vector<OutlineSlide> ReadOutline(const Context& context, const Document& document,
                                      const SlideRange& range, bool notes, bool pictures, int32_t widthPx,
                                      const std::string& scratchFolder,
                                      const std::function<void(float)>& progress);

} // namespace slidemill
