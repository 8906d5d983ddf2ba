#pragma once

#include "core/ConversionComponent.h"
#include "core/ConversionOptions.h"

#include <string>

namespace slidemill {

struct ConversionContext;

// What every file's record takes from the window before it converts: the outline and notes
// settings, and no error left from an earlier file.
void PrepareRecord(const ConversionContext& context, clsConversionOptions& record);

// The component's properties for converting the record's file.
ConversionProperties PropertiesFor(const clsConversionOptions& record);

// The component's last error text, or "" when even asking for it fails.
std::string SafeLastErrorText(ConversionComponent& component);

// Converting onto the source would replace the only copy of the presentation.
bool WouldOverwriteSource(const std::string& source, const std::string& target);

} // namespace slidemill
