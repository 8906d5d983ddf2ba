#pragma once

#include "core/ConversionOptions.h"
#include "core/Grid.h"

#include <cstdint>

namespace slidemill {

class ConversionComponent;

// Adds the log entry of a failed file or task above the log's trailing empty row, its pass
// cell marked failed, and returns its row (0 when nothing could be added). lJobNumber is the
// task grid row the record came from. Line breaks in the message become spaces so that the
// entry stays one line, unless keepLineBreaks (an unattended run logs the text as it is).
int AppendFailureRow(Grid& log, const Grid& tasks, int32_t lJobNumber, const clsConversionOptions& coBlock,
                     bool keepLineBreaks, ConversionComponent* component);

// Adds the entry of a launch that ran to its end: the program's exit code as its status and
// the pass cell marked passed.
int AppendExitCodeRow(Grid& log, const Grid& tasks, int32_t lJobNumber, const clsConversionOptions& coBlock);

} // namespace slidemill
