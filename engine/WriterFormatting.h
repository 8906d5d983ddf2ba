#pragma once

// Engine sources only: it brings the office headers.
#include "engine/UnoSupport.h"
#include "settings/PdfOptions.h"

#include <com/sun/star/lang/XComponent.hpp>

namespace slidemill {

// Puts the enforced page, paragraph and character settings on a loaded Writer document: page
// size and margins on every page style, paragraph and character values on the whole text. A
// value the document refuses is skipped; only a broken connection escapes as an exception.
void ApplyEnforcedSettings(const css::uno::Reference<css::lang::XComponent>& document,
                           const PdfOptions& options);

} // namespace slidemill
