#pragma once

#include "core/ConversionOptions.h"
#include "core/FileTypes.h"

#include <cstdint>
#include <string>

namespace slidemill {

// The values of the task editor's fields, without widgets: the window binds its controls to
// this struct, and the grid code reads and writes a row through it.
struct EditorState {
    std::string sActionToDo = "C"; // "C" convert files, "S" special processing
    int32_t lConversionMethod = kMethodComponent;

    // Conversion set.
    std::string sOriginalFile;
    std::string sTargetFile;
    int32_t lOriginalFileType = 3;
    int32_t lTargetFileType = kNoFileType;
    bool bDoSubfolders = false;
    bool bSaveInOriginalFolder = false;
    bool bConvertAllSlides = true;
    bool bCreateFileForEachSlide = false;
    int32_t lFromSlide = 0;
    int32_t lToSlide = 0;

    // Special-processing set.
    int32_t lSpecialProcess = kSpecialAppend;
    std::string sOriginalFileSpecialized;
    std::string sTargetFileSpecialized;
    int32_t lSpecialFileType = 1;
    bool bDoSubfoldersSpecialized = false;
    bool bSaveInOriginalFolderSpecialized = false;
    bool bCaseSensitive = true;
    std::string sFindString;
    std::string sReplaceString;
    std::string sApplicationName;
    std::string sCommandLineArguments;
    int32_t lCommandLineWindowState = 1;
    int32_t lCommandLineThreadPriority = 32;
    int32_t lCommandLineWaitTime = -1;

    // What the window shows or hides as a consequence of the values above.
    bool bOriginalTypeListVisible = true; // hidden for the "Use MS Word" and "from PDF" methods
    bool bTargetFileFrameVisible = true;  // hidden while "Save to Original folder" is checked
    // The slide-range description for the status bar's file panel.
    std::string sSlideDescription;
};

} // namespace slidemill
