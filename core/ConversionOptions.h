#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// No file type has been chosen yet.
inline constexpr int32_t kNoFileType = -12345678;

// One task of a job: what to do, on which files, into what, and after a run its result.
// A plain record: copying it field by field is how a per-file copy is made.
class clsConversionOptions {
public:
    std::string sActionToDo = "C";
    std::string sCurrentBatchJobFile;
    std::string sOriginalFile;
    int32_t lOriginalFileType = kNoFileType;
    std::string sTargetFile;
    bool bVerbose = false;
    bool bOpenButDoNotRun = false;
    int32_t lTargetFileType = kNoFileType;
    bool bDoSubfolders = false;
    bool bSaveInOriginalFolder = false;
    int32_t lConversionMethod = 2;
    bool bShowSlideAndShape = false;
    bool bIncludeNotesPage = false;
    bool bIncludeNotesOnly = false;
    int32_t lSpecialProcess = 0;
    int32_t lCommandLineThreadPriority = 32;
    int32_t lCommandLineWindowState = 1;
    int32_t lCommandLineWaitTime = -1;
    int32_t lCommandLineExitCode = 0;
    std::string sFindString;
    std::string sReplaceString;
    bool bCaseSensitive = true;
    bool bConvertAllSlides = true;
    bool bCreateFileForEachSlide = false;
    int32_t lFromSlide = 0;
    int32_t lToSlide = 0;
    std::string sLogFile;
    std::string sLogAsConversionJobFile;
    std::string sCLBatchJobFile;
    std::string sErr;
    int32_t lErr = 0;
    std::string sSubFolder;

    bool operator==(const clsConversionOptions&) const = default;
};

} // namespace slidemill
