#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// A recently-used list: at most lMaxItems texts, oldest first and newest last, no two equal
// without regard to case, never an empty one. It lives in its own section of the settings file
// (named after the list) under the keys <name>1 ... <name>N, followed by "MRU_DONE" under
// <name>N+2, and is written back only when it changed.
class clsMRU {
public:
    // When set before Setup or a read, the list neither loads nor saves.
    bool mbClearHistory = false;

    // Stores the settings, loads the list from the file and, when it is empty and sDefaultArray
    // is not "-1", adds the comma-separated defaults. A list that was only loaded is not dirty.
    void Setup(int32_t lMaxItems, const std::string& sSaveToFile, const std::string& sDescriptionOfCollection,
               const std::string& sDefaultArray = "-1");
    // Writes the list when it changed, then empties it. False when the write failed.
    bool ShutDown();

    bool bItemExistsInMRU(const std::string& sValue, bool bCaseSensitive) const;
    // Appends vNewValue as the newest item. An item equal to it without regard to case is
    // removed first (so the new spelling wins); a full list drops its oldest item.
    void AddUniqueItemToCollection(const std::string& vNewValue);
    // False when the list is dirty and the file could not be written.
    bool WriteCollectionToIniFile();
    void ReadIniFileIntoCollection();
    void ClearAllItemsInList();

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // The items, oldest first.
    const std::vector<std::string>& clnMRU() const { return items_; }
    bool Dirty() const { return dirty_; }
    int32_t lMaxItems() const { return maxItems_; }
    const std::string& sDescriptionOfCollection() const { return name_; }
    const std::string& sSaveToFile() const { return file_; }

private:
    std::vector<std::string> items_;
    int32_t maxItems_ = 0;
    std::string name_;
    std::string file_;
    bool dirty_ = false;
};

} // namespace slidemill
