#include "settings/MruList.h"

#include "settings/IniFile.h"
#include "settings/PathText.h"

#include <algorithm>

namespace slidemill {

namespace {

// What a read of a missing key gives, told apart from any real item.
constexpr const char* kMissing = "+-!#";
constexpr const char* kDone = "MRU_DONE";

} // namespace

void clsMRU::Setup(int32_t lMaxItems, const std::string& sSaveToFile,
                   const std::string& sDescriptionOfCollection, const std::string& sDefaultArray) {
    maxItems_ = std::max<int32_t>(lMaxItems, 0);
    file_ = sSaveToFile;
    name_ = sDescriptionOfCollection;
    items_.clear();
    ReadIniFileIntoCollection();
    if (items_.empty() && sDefaultArray != "-1") {
        std::size_t start = 0;
        for (;;) {
            const auto comma = sDefaultArray.find(',', start);
            AddUniqueItemToCollection(sDefaultArray.substr(start, comma - start));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    dirty_ = false;
}

bool clsMRU::ShutDown() {
    const bool written = WriteCollectionToIniFile();
    items_.clear();
    return written;
}

bool clsMRU::bItemExistsInMRU(const std::string& sValue, bool bCaseSensitive) const {
    return std::any_of(items_.begin(), items_.end(), [&](const std::string& item) {
        return bCaseSensitive ? item == sValue : pathtext::UpperAscii(item) == pathtext::UpperAscii(sValue);
    });
}

void clsMRU::AddUniqueItemToCollection(const std::string& vNewValue) {
    if (vNewValue.empty())
        return;
    dirty_ = true;
    const auto same = std::find_if(items_.begin(), items_.end(), [&](const std::string& item) {
        return pathtext::EqualIgnoringCase(item, vNewValue);
    });
    if (same != items_.end())
        items_.erase(same);
    if (maxItems_ == 0)
        return;
    if (Count() >= maxItems_)
        items_.erase(items_.begin(), items_.begin() + (Count() - maxItems_ + 1));
    items_.push_back(vNewValue);
}

bool clsMRU::WriteCollectionToIniFile() {
    if (mbClearHistory || !dirty_)
        return true;
    std::vector<IniChange> changes;
    const auto key = [&](std::size_t index) { return name_ + std::to_string(index); };
    for (std::size_t i = 0; i < items_.size(); ++i)
        changes.push_back({name_, key(i + 1), items_[i]});
    // The terminator sits one key further on. The key in between is removed: left over from a
    // longer list it would hand a dropped or cleared item back at the next read.
    changes.push_back({name_, key(items_.size() + 1), std::nullopt});
    changes.push_back({name_, key(items_.size() + 2), kDone});
    return IniFile(file_).Apply(changes);
}

void clsMRU::ReadIniFileIntoCollection() {
    if (mbClearHistory)
        return;
    ClearAllItemsInList();
    const IniFile ini(file_);
    std::vector<std::string> read;
    for (int32_t i = 1; i <= maxItems_; ++i) {
        std::string value = ini.ReadString(name_, name_ + std::to_string(i), kMissing);
        if (value == kMissing || value == kDone)
            break;
        read.push_back(std::move(value));
    }
    for (const auto& value : read)
        AddUniqueItemToCollection(value);
}

void clsMRU::ClearAllItemsInList() {
    dirty_ = true;
    items_.clear();
}

} // namespace slidemill
