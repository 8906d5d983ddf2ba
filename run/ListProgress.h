#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// Where the next file list starts after a pause ended a walk at index (1-based): the file that
// was being worked on runs again; early in a list the walk simply starts over (0).
inline int32_t ResumeIndexAfterStop(int32_t index) {
    return index >= 3 ? index - 1 : 0;
}

struct ConversionContext;

// Records how a walk over a list ended at index when the run is no longer running: a Pause
// inside the list (or while it was being built) marks the task as cut short and keeps where to
// resume, by index and by the files there; a list that ran to its end leaves no position
// behind, since the next list would skip files that were never processed.
void RecordWhereAListStopped(ConversionContext& context, bool running, int32_t index,
                             const std::vector<std::string>& files);

// The 1-based index at which a walk over files starts, and the end of any kept position (it
// applies to this one list). The list is built again after a pause: where files before the
// position have gone meanwhile (moved or deleted after processing), the index alone would skip
// files never processed, so the walk resumes at the file it stopped at, or at the one after it,
// and when neither is listed any more, at the beginning.
int32_t TakeResumePosition(ConversionContext& context, const std::vector<std::string>& files);

// The progress text of file index of count: " 45.0 Percent Complete ".
std::string ListPercentText(int32_t index, int32_t count);

} // namespace slidemill
