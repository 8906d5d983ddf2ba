#include "run/ListProgress.h"

#include "run/ConversionContext.h"

#include "core/Translate.h"
#include "run/Elapsed.h"

#include <algorithm>

namespace slidemill {

std::string ListPercentText(int32_t index, int32_t count) {
    const double percent = count > 0 ? index * 100.0 / count : 0.0;
    return " " + OneDecimal(percent) + Translate(" Percent Complete ");
}

void RecordWhereAListStopped(ConversionContext& context, bool running, int32_t index,
                             const std::vector<std::string>& files) {
    if (running)
        return;
    const auto count = static_cast<int32_t>(files.size());
    int32_t stoppedAt = 0;
    // Nothing listed at all may also be a Pause during the listing.
    if (index <= count || count == 0) {
        context.bFileListCutShort = true;
        stoppedAt = index;
    }
    context.lResumeFileIndex = ResumeIndexAfterStop(stoppedAt);
    const auto fileAt = [&](int32_t i) {
        return i >= 1 && i <= count ? files[static_cast<std::size_t>(i - 1)] : std::string();
    };
    context.sResumeFile = fileAt(context.lResumeFileIndex);
    context.sResumeNextFile = fileAt(stoppedAt);
}

int32_t TakeResumePosition(ConversionContext& context, const std::vector<std::string>& files) {
    const int32_t index = context.lResumeFileIndex;
    const std::string at = std::move(context.sResumeFile);
    const std::string next = std::move(context.sResumeNextFile);
    context.lResumeFileIndex = 0;
    context.sResumeFile.clear();
    context.sResumeNextFile.clear();
    if (index <= 0)
        return 1;
    // A position kept without its files comes from elsewhere than a walk: trust the index.
    if (at.empty() && next.empty())
        return index;
    const auto count = static_cast<int32_t>(files.size());
    if (index <= count && files[static_cast<std::size_t>(index - 1)] == at)
        return index;
    for (const std::string* name : {&at, &next}) {
        if (name->empty())
            continue;
        const auto found = std::find(files.begin(), files.end(), *name);
        if (found != files.end())
            return static_cast<int32_t>(found - files.begin()) + 1;
    }
    return 1;
}

} // namespace slidemill
