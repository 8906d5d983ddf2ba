#include "settings/MainWindowSettings.h"

#include "settings/SettingsValues.h"

namespace slidemill {

namespace {

constexpr int kStoredLogColumns[] = {1, 2, 6, 8, 9};
constexpr int kStoredToDoColumns[] = {1, 2, 5, 8, 9};

std::string ColumnKey(const char* grid, int column) {
    return std::string(grid) + ".ColWidth(" + std::to_string(column) + ")";
}

template <std::size_t N>
void ReadColumns(const IniFile& ini, const char* grid, const int (&columns)[N], GridColumnWidths& widths) {
    for (const int column : columns)
        widths[column] = ReadLongKey(ini, kMainWindowSection, ColumnKey(grid, column), widths[column]);
}

template <std::size_t N>
void WriteColumns(SectionWriter& w, const char* grid, const int (&columns)[N],
                  const GridColumnWidths& widths) {
    for (const int column : columns)
        w.Long(ColumnKey(grid, column), widths[column]);
}

} // namespace

MainWindowSettings ReadMainWindowSettings(const IniFile& ini, bool commandLineMode) {
    MainWindowSettings s;
    const std::string m = kMainWindowSection;
    s.chkPersistRunning = ReadLongKey(ini, kSchedulerSection, "chkPersistRunning", s.chkPersistRunning);

    s.bConvertAllSlides = ReadBoolKey(ini, m, "bConvertAllSlides", s.bConvertAllSlides);
    s.lFromSlide = ReadLongKey(ini, m, "lFromSlide", s.lFromSlide);
    s.lToSlide = ReadLongKey(ini, m, "lToSlide", s.lToSlide);
    s.bCreateFileForEachSlide = ReadBoolKey(ini, m, "bCreateFileForEachSlide", s.bCreateFileForEachSlide);
    s.bPDFTextOnly = ReadBoolKey(ini, m, "bPDFTextOnly", s.bPDFTextOnly);
    s.bShowSlideAndShape = ReadBoolKey(ini, m, "bShowSlideAndShape", s.bShowSlideAndShape);
    s.bIncludeNotesPage = ReadBoolKey(ini, m, "bIncludeNotesPage", s.bIncludeNotesPage);
    s.bIncludeNotesOnly = ReadBoolKey(ini, m, "bIncludeNotesOnly", s.bIncludeNotesOnly);

    s.pdx = ReadPdfOptions(ini, m);

    s.bDeleteOriginalFileAfterProcessing =
        ReadBoolKey(ini, m, "bDeleteOriginalFileAfterProcessing", s.bDeleteOriginalFileAfterProcessing);
    s.bMoveOriginalFileAfterProcessing =
        ReadBoolKey(ini, m, "bMoveOriginalFileAfterProcessing", s.bMoveOriginalFileAfterProcessing);
    s.sMoveFileToFolder = ReadTextKey(ini, m, "sMoveFileToFolder", s.sMoveFileToFolder);

    // Unlike every other flag this one is case-sensitive: only the exact text "TRUE" is speed.
    s.mnuOptimizeForSpeed = ReadTextKey(ini, m, "mnuOptimizeForSpeed", "TRUE") == "TRUE";

    if (!commandLineMode) {
        ReadColumns(ini, "fgLog", kStoredLogColumns, s.fgLogColWidths);
        ReadColumns(ini, "fgToDo", kStoredToDoColumns, s.fgToDoColWidths);
    }

    s.lConversionMethod = ReadLongKey(ini, m, "lConversionMethod", s.lConversionMethod);
    s.sActionToDo = ReadTextKey(ini, m, "sActionToDO", s.sActionToDo);
    s.cbSpecialProcessesListIndex =
        ReadLongKey(ini, m, "cbSpecialProcesses.ListIndex", s.cbSpecialProcessesListIndex);
    s.cbCommandLineWindowStateListIndex =
        ReadLongKey(ini, m, "cbCommandLineWindowState.ListIndex", s.cbCommandLineWindowStateListIndex);
    s.cbCommandLineThreadPriorityListIndex =
        ReadLongKey(ini, m, "cbCommandLineThreadPriority.ListIndex", s.cbCommandLineThreadPriorityListIndex);
    s.txtCommandLineWaitTimeInSeconds =
        std::to_string(ReadLongKey(ini, m, "txtCommandLineWaitTimeInSeconds", -1));
    s.cbFileTypeTargetListIndex =
        ReadLongKey(ini, m, "cbFileTypeTarget.ListIndex", s.cbFileTypeTargetListIndex);
    s.cbFileTypeOriginalListIndex =
        ReadLongKey(ini, m, "cbFileTypeOriginal.ListIndex", s.cbFileTypeOriginalListIndex);
    s.cbDoSubfolders = ReadLongKey(ini, m, "cbDoSubfolders", s.cbDoSubfolders);
    s.cbDoSubfoldersSpecialized =
        ReadLongKey(ini, m, "cbDoSubfoldersSpecialized", s.cbDoSubfoldersSpecialized);
    s.cbCaseSensitive = ReadLongKey(ini, m, "cbCaseSensitive", s.cbCaseSensitive);
    s.cbFileTypeOriginalSpecializedListIndex = ReadLongKey(ini, m, "cbFileTypeOriginalSpecialized.ListIndex",
                                                           s.cbFileTypeOriginalSpecializedListIndex);
    return s;
}

std::vector<IniChange> MainWindowSettingsChanges(const MainWindowSettings& s) {
    SectionWriter w(kMainWindowSection);
    w.Bool("mnuOptimizeForSpeed", s.mnuOptimizeForSpeed);
    WriteColumns(w, "fgLog", kStoredLogColumns, s.fgLogColWidths);
    WriteColumns(w, "fgToDo", kStoredToDoColumns, s.fgToDoColWidths);

    w.Long("cbFileTypeOriginal.ListIndex", s.cbFileTypeOriginalListIndex);
    w.Long("cbFileTypeTarget.ListIndex", s.cbFileTypeTargetListIndex);
    w.Long("cbFileTypeOriginalSpecialized.ListIndex", s.cbFileTypeOriginalSpecializedListIndex);
    w.Long("cbSpecialProcesses.ListIndex", s.cbSpecialProcessesListIndex);
    w.Long("cbCommandLineWindowState.ListIndex", s.cbCommandLineWindowStateListIndex);
    w.Long("cbCommandLineThreadPriority.ListIndex", s.cbCommandLineThreadPriorityListIndex);
    w.Text("txtCommandLineWaitTimeInSeconds", s.txtCommandLineWaitTimeInSeconds);
    w.Long("cbDoSubfolders", s.cbDoSubfolders);
    w.Long("cbDoSubfoldersSpecialized", s.cbDoSubfoldersSpecialized);
    w.Long("cbCaseSensitive", s.cbCaseSensitive);
    w.Long("lConversionMethod", s.lConversionMethod);
    w.Text("sActionToDO", s.sActionToDo);

    w.Bool("bDeleteOriginalFileAfterProcessing", s.bDeleteOriginalFileAfterProcessing);
    w.Bool("bMoveOriginalFileAfterProcessing", s.bMoveOriginalFileAfterProcessing);
    w.Text("sMoveFileToFolder", s.sMoveFileToFolder);

    w.Bool("bConvertAllSlides", s.bConvertAllSlides);
    w.Long("lFromSlide", s.lFromSlide);
    w.Long("lToSlide", s.lToSlide);
    w.Bool("bCreateFileForEachSlide", s.bCreateFileForEachSlide);
    w.Bool("bPDFTextOnly", s.bPDFTextOnly);
    w.Bool("bShowSlideAndShape", s.bShowSlideAndShape);
    w.Bool("bIncludeNotesPage", s.bIncludeNotesPage);
    w.Bool("bIncludeNotesOnly", s.bIncludeNotesOnly);

    std::vector<IniChange> changes = std::move(w.Changes());
    AddPdfOptionsChanges(s.pdx, kMainWindowSection, changes);
    return changes;
}

bool SaveMainWindowSettings(IniFile& ini, const MainWindowSettings& settings, bool commandLineMode) {
    if (commandLineMode)
        return true;
    return ini.Apply(MainWindowSettingsChanges(settings));
}

ConversionSettings ToConversionSettings(const MainWindowSettings& s) {
    ConversionSettings c;
    c.bShowSlideAndShape = s.bShowSlideAndShape;
    c.bIncludeNotesPage = s.bIncludeNotesPage;
    c.bIncludeNotesOnly = s.bIncludeNotesOnly;
    c.bPDFTextOnly = s.bPDFTextOnly;
    c.bMoveOriginalFileAfterProcessing = s.bMoveOriginalFileAfterProcessing;
    c.sMoveFileToFolder = s.sMoveFileToFolder;
    c.bDeleteOriginalFileAfterProcessing = s.bDeleteOriginalFileAfterProcessing;
    return c;
}

int32_t TargetTypePosition(int32_t stored, int32_t itemCount, int32_t current) {
    return stored >= 0 && stored <= itemCount - 1 ? stored : current;
}

int32_t SpecializedOriginalTypePosition(int32_t stored, int32_t itemCount) {
    return stored >= 0 && stored < itemCount ? stored : 0;
}

int32_t StoredListPosition(int32_t stored, int32_t itemCount, int32_t current) {
    return stored >= 0 && stored < itemCount ? stored : current;
}

} // namespace slidemill
