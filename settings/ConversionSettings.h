#pragma once

#include <string>

namespace slidemill {

// The window's settings that every conversion reads (the options dialogs edit them and the
// settings file keeps them); they are not part of a task.
struct ConversionSettings {
    bool bShowSlideAndShape = false;
    bool bIncludeNotesPage = false;
    bool bIncludeNotesOnly = false;
    // "PDF - with options" goes through the outline rich text (true) or the one with slide pictures.
    bool bPDFTextOnly = false;
    bool bMoveOriginalFileAfterProcessing = false;
    std::string sMoveFileToFolder;
    bool bDeleteOriginalFileAfterProcessing = false;
};

} // namespace slidemill
