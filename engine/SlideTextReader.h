#pragma once

#include "engine/SlideOutline.h"
#include "engine/UnoSupport.h"

#include <com/sun/star/drawing/XDrawPage.hpp>

namespace slidemill {

// The text of one slide in reading order (titles first, then top to bottom, left to right),
// with groups and tables opened up; with withNotes, also the text of its notes page.
OutlineSlide ReadSlideOutline(const css::uno::Reference<css::drawing::XDrawPage>& page, int32_t number,
                              bool withNotes);

} // namespace slidemill
