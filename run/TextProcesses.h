#pragma once

#include "core/ConversionOptions.h"
#include "core/RunControl.h"
#include "run/RichText.h"

namespace slidemill {

// The special processes on one file: each works on the task's sOriginalFile (of type
// lOriginalFileType) and sTargetFile (of type lTargetFileType), stores its result code in
// lErr and the message in sErr, and returns the code. Plain text (types 1, 2 and 6) is
// processed natively and streamed; RTF, HTML and DOC (types 4, 5 and 9) go through richText
// so that their formatting survives; without a rich-text engine they fail with -3.

// Appends the source's contents to the end of the target (created when missing): -6 when
// both are the same file.
int AppendFile(clsConversionOptions& task, RichTextEngine* richText = nullptr,
               RunControl& control = NullRunControl());

// Writes the lines of the source that hold more than blanks to the target.
int RemoveEmptyLines(clsConversionOptions& task, RichTextEngine* richText = nullptr,
                     RunControl& control = NullRunControl());

// Replaces sFindString by sReplaceString ("©n©" codes expanded), from the end of the text
// backwards, without regard to case unless bCaseSensitive. An empty source or find text
// writes no target and gives 0.
int SearchAndReplace(clsConversionOptions& task, RichTextEngine* richText = nullptr,
                     RunControl& control = NullRunControl());

} // namespace slidemill
