#pragma once

#include "core/ConversionOptions.h"
#include "core/EditorState.h"
#include "core/Grid.h"

#include <string>

namespace slidemill {

class ConversionComponent;

// The task the editor describes, as the validator and AppendTaskRow take it.
clsConversionOptions EditorToRecord(const EditorState& editor);

// Write the editor into the current task row (columns 0 and 2 to 8; the number and the pass
// mark stay). The caller validates the editor's task first. False when the current row is not a
// task row.
bool UpdateGridFromGUI_ConversionItem(const EditorState& editor, Grid& grid, ConversionComponent* component);
bool UpdateGridFromGUI_SpecializedItem(const EditorState& editor, Grid& grid);

// Load the current row into the editor. The conversion form reads rows whose action holds "C",
// the special form rows with "S"; UpdateGUI_ViaCellContents picks the right one. False when the
// current row is not a task row (the editor is left as it was).
bool UpdateGUI_ConversionItemViaCellContents(const Grid& grid, EditorState& editor);
bool UpdateGUI_SpecializedItemViaCellContents(const Grid& grid, EditorState& editor);
bool UpdateGUI_ViaCellContents(const Grid& grid, EditorState& editor);

// "Convert FROM Slide 2 TO Slide 5. Create one file." and its variants, translated.
std::string SlideRangeDescription(bool allSlides, int32_t from, int32_t to, bool filePerSlide);

} // namespace slidemill
