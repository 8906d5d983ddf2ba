#include "core/MruPresentation.h"

#include "core/Translate.h"

namespace slidemill {

MruComboFill ComboFillFor(const clsMRU& list) {
    MruComboFill fill;
    const auto& items = list.clnMRU();
    fill.items.assign(items.rbegin(), items.rend());
    if (!fill.items.empty())
        fill.selectedIndex = 0;
    return fill;
}

void FillComboFromMru(const clsMRU& list, MruComboTarget& combo, bool& suppressControlEvents) {
    const bool previous = suppressControlEvents;
    suppressControlEvents = true;
    const MruComboFill fill = ComboFillFor(list);
    combo.Clear();
    for (const auto& item : fill.items)
        combo.AddItem(item);
    if (fill.selectedIndex >= 0)
        combo.SetListIndex(fill.selectedIndex);
    suppressControlEvents = previous;
}

std::vector<MruMenuEntry> BuildMruMenuEntries(const clsMRU& list) {
    std::vector<MruMenuEntry> entries;
    const int count = list.Count();
    for (int i = 1; i <= count; ++i) {
        const std::string& path = list.clnMRU()[static_cast<std::size_t>(count - i)];
        entries.push_back({"&" + std::to_string(i) + " " + path, "TranslateFalse", path});
    }
    return entries;
}

std::string MruMenuEntryPath(const clsMRU& list, int entryNumber) {
    const int count = list.Count();
    if (entryNumber < 1 || entryNumber > count)
        return {};
    return list.clnMRU()[static_cast<std::size_t>(count - entryNumber)];
}

std::string MissingJobFileMessage(const std::string& path) {
    return path + " " + Translate("does not exist.");
}

} // namespace slidemill
