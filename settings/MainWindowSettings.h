#pragma once

#include "settings/ConversionSettings.h"
#include "settings/IniFile.h"
#include "settings/PdfOptions.h"

#include <array>
#include <cstdint>
#include <string>

namespace slidemill {

inline constexpr const char* kMainWindowSection = "frmMain";
inline constexpr const char* kSchedulerSection = "frmScheduler";

// Width in twips of each column (0 to 9) of a grid.
using GridColumnWidths = std::array<int32_t, 10>;

// The main window's persistent state: what the options dialogs edit, what the conversion reads,
// and where the task editor stood when the window closed. Defaults are a fresh profile's.
struct MainWindowSettings {
    // Scheduler set up and started as soon as the window loads (any non-zero value).
    int32_t chkPersistRunning = 0;

    bool bConvertAllSlides = true;
    int32_t lFromSlide = 1;
    int32_t lToSlide = 2;
    bool bCreateFileForEachSlide = false;
    bool bPDFTextOnly = true;
    bool bShowSlideAndShape = false;
    bool bIncludeNotesPage = false;
    bool bIncludeNotesOnly = false;

    // glnMeasurement and the five override groups.
    PdfOptions pdx;

    bool bDeleteOriginalFileAfterProcessing = false;
    bool bMoveOriginalFileAfterProcessing = false;
    std::string sMoveFileToFolder;

    // "Optimize For Speed" (true) or "Optimize For Memory".
    bool mnuOptimizeForSpeed = true;

    // Columns 1, 2, 6, 8, 9 of the log grid and 1, 2, 5, 8, 9 of the task grid are stored; the
    // others always get the fixed widths (0 hides a column).
    GridColumnWidths fgLogColWidths{0, 450, 615, 0, 0, 0, 3875, 0, 555, 615};
    GridColumnWidths fgToDoColWidths{0, 450, 540, 3000, 0, 675, 3000, 0, 690, 660};

    int32_t lConversionMethod = 2;
    std::string sActionToDo = "C";
    int32_t cbSpecialProcessesListIndex = 0;
    int32_t cbCommandLineWindowStateListIndex = 1;
    int32_t cbCommandLineThreadPriorityListIndex = 1;
    // The wait-time box's text: the stored number in decimal when read, the box as typed when saved.
    std::string txtCommandLineWaitTimeInSeconds = "-1";
    int32_t cbFileTypeTargetListIndex = 0;
    int32_t cbFileTypeOriginalListIndex = 2;
    int32_t cbDoSubfolders = 0;
    int32_t cbDoSubfoldersSpecialized = 0;
    int32_t cbCaseSensitive = 1;
    int32_t cbFileTypeOriginalSpecializedListIndex = 0;

    bool operator==(const MainWindowSettings&) const = default;
};

// Reads the window's keys; in command-line mode the keys that only shape the window (the column
// widths) keep their defaults. Never fails: missing or damaged keys give their defaults.
MainWindowSettings ReadMainWindowSettings(const IniFile& ini, bool commandLineMode);

// The writes of the window's close, in save order; the override groups that are off write only
// their flag.
std::vector<IniChange> MainWindowSettingsChanges(const MainWindowSettings& settings);

// Saves in one replace of the file. In command-line mode nothing is written (and true is
// returned): an unattended run must leave the user's settings as they were.
bool SaveMainWindowSettings(IniFile& ini, const MainWindowSettings& settings, bool commandLineMode);

// The conversion's view of the settings.
ConversionSettings ToConversionSettings(const MainWindowSettings& settings);

// List positions read from the file are checked against the combo they go into.
// The target type keeps the combo's current position when the stored one is not an item.
int32_t TargetTypePosition(int32_t stored, int32_t itemCount, int32_t current);
// The specialised original type falls back to the first item.
int32_t SpecializedOriginalTypePosition(int32_t stored, int32_t itemCount);
// Every other combo: a stored position that is not an item keeps the current one (a list
// position outside the combo cannot be shown, so it must not be applied).
int32_t StoredListPosition(int32_t stored, int32_t itemCount, int32_t current);

} // namespace slidemill
