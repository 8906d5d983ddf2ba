#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// Where the next file list starts after a pause ended a walk at index (1-based): the file that
// was being worked on runs again; early in a list the walk simply starts over (0).
inline int32_t ResumeIndexAfterStop(int32_t index) {
    return index >= 3 ? index - 1 : 0;
}

// The progress text of file index of count: " 45.0 Percent Complete ".
std::string ListPercentText(int32_t index, int32_t count);

} // namespace slidemill
