#pragma once

#include "settings/MruList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// Names (sections) and capacities of the recently-used lists.
struct MruListKind {
    const char* name;
    int32_t capacity;
};
inline constexpr MruListKind kMruFileOpen{"mruFileOpen", 5};
inline constexpr MruListKind kMruSource{"mruSource", 6};
inline constexpr MruListKind kMruTarget{"mruTarget", 6};
inline constexpr MruListKind kMruSourceSpecialized{"mruSourceSpecialized", 6};
inline constexpr MruListKind kMruTargetSpecialized{"mruTargetSpecialized", 6};
inline constexpr MruListKind kMruCommandLine{"mruCommandLine", 5};
inline constexpr MruListKind kMruCommandLineArguments{"mruCommandLineArguments", 5};
inline constexpr MruListKind kMruFindString{"mruFindString", 5};
inline constexpr MruListKind kMruReplaceString{"mruReplaceString", 5};
inline constexpr MruListKind kMruScheduleSource{"mruScheduleSource", 10};

void SetupMruList(clsMRU& list, MruListKind kind, const std::string& iniPath);

// The main window's nine lists, one per editor box plus the recently used job files.
struct MainWindowLists {
    clsMRU mruFileOpen;
    clsMRU mruSource;
    clsMRU mruTarget;
    clsMRU mruSourceSpecialized;
    clsMRU mruTargetSpecialized;
    clsMRU mruCommandLine;
    clsMRU mruCommandLineArguments;
    clsMRU mruFindString;
    clsMRU mruReplaceString;

    // Loads every list from the file. In command-line mode the lists stay empty and unset: they
    // only feed the window.
    void SetupAll(const std::string& iniPath, bool commandLineMode);
    // Writes the lists that changed (nothing in command-line mode) and empties them. False when
    // a changed list could not be written.
    bool ShutDownAll(bool commandLineMode);
};

// The editor boxes' texts when the editor is stored into the task grid.
struct EditorBoxTexts {
    std::string sActionToDo;
    std::string cbOriginalFile;
    std::string cbTargetFile;
    std::string cbOriginalFileSpecialized;
    std::string cbTargetFileSpecialized;
    std::string cbCommandLine;
    std::string cbCommandLineArguments;
    std::string cbFindString;
    std::string cbReplacementString;
};

// Adds the editor's texts to their lists: a special task ("S...") its original, target, program,
// arguments and find texts, and the replacement only when it is not empty; a conversion task
// ("C") its original and target. Returns the lists whose combos are to be refilled.
std::vector<clsMRU*> RememberEditorTexts(MainWindowLists& lists, const EditorBoxTexts& texts);

// A job file opened or saved under a name joins "mruFileOpen". False (nothing added) in
// command-line mode; true means the file menu is to be rebuilt.
bool RememberJobFile(clsMRU& mruFileOpen, const std::string& path, bool commandLineMode);

} // namespace slidemill
