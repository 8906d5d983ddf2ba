#pragma once

#include "settings/MruList.h"

#include <string>
#include <vector>

namespace slidemill {

// What a combo box shows of a list: newest first, with the newest selected (-1: nothing to select).
struct MruComboFill {
    std::vector<std::string> items;
    int selectedIndex = -1;
};
MruComboFill ComboFillFor(const clsMRU& list);

// A combo box as the filler sees it; the window implements it over its widget.
class MruComboTarget {
public:
    virtual ~MruComboTarget() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual void SetListIndex(int index) = 0;
};

// Refills combo from list. suppressControlEvents is set while it fills, so the combo's change
// handlers stay quiet, and has its earlier value again afterwards.
void FillComboFromMru(const clsMRU& list, MruComboTarget& combo, bool& suppressControlEvents);

// One numbered entry of the file menu's recently-used jobs.
struct MruMenuEntry {
    std::string caption;
    // Marks the entry for the translator to leave alone: it shows a path.
    std::string tag;
    std::string path;
};
// Entry 1 (accelerator "&1") is the newest job file, entry N the oldest.
std::vector<MruMenuEntry> BuildMruMenuEntries(const clsMRU& list);

// The job file behind menu entry entryNumber (1-based), "" when there is no such entry.
std::string MruMenuEntryPath(const clsMRU& list, int entryNumber);
// Shown when the job file of an entry no longer exists; the list stays as it is.
std::string MissingJobFileMessage(const std::string& path);

} // namespace slidemill
