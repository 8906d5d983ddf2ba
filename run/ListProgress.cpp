#include "run/ListProgress.h"

#include "run/ConversionContext.h"

#include "core/Translate.h"
#include "run/Elapsed.h"

namespace slidemill {

std::string ListPercentText(int32_t index, int32_t count) {
    const double percent = count > 0 ? index * 100.0 / count : 0.0;
    return " " + OneDecimal(percent) + Translate(" Percent Complete ");
}

void RecordWhereAListStopped(ConversionContext& context, bool running, int32_t index, int32_t count) {
    if (running)
        return;
    int32_t stoppedAt = 0;
    // Nothing listed at all may also be a Pause during the listing.
    if (index <= count || count == 0) {
        context.bFileListCutShort = true;
        stoppedAt = index;
    }
    context.lResumeFileIndex = ResumeIndexAfterStop(stoppedAt);
}

} // namespace slidemill
