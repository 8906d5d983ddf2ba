#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// Where the next file list starts after a pause ended a walk at index (1-based): the file that
// was being worked on runs again; early in a list the walk simply starts over (0).
inline int32_t ResumeIndexAfterStop(int32_t index) {
    return index >= 3 ? index - 1 : 0;
}

struct ConversionContext;

// Records how a walk over a list of count files ended at index when the run is no longer
// running: a Pause inside the list (or while it was being built) marks the task as cut short
// and keeps where to resume; a list that ran to its end leaves no position behind, since the
// next list would skip files that were never processed.
void RecordWhereAListStopped(ConversionContext& context, bool running, int32_t index, int32_t count);

// The progress text of file index of count: " 45.0 Percent Complete ".
std::string ListPercentText(int32_t index, int32_t count);

} // namespace slidemill
