#pragma once

#include "core/ConversionOptions.h"
#include "run/ConversionContext.h"
#include "run/RunLog.h"

#include <cstdint>

namespace slidemill {

// Runs the special-process tasks (append, remove empty lines, search and replace, launch) for
// the job runner. Reloading a job slice is not one of them: the runner does that itself.
//
// The context is the runner's: its control tells whether the run goes on and takes the
// status texts; a walk over a file list that a Pause cuts short stores where to resume in
// lResumeFileIndex and sets bFileListCutShort, so that the task is not marked as done. Failed
// files go to log.LogConversionError, a launch that ran to its end to log.LogExitCode.
class SpecialProcessor {
public:
    virtual ~SpecialProcessor() = default;
    virtual int32_t PerformBlockSpecialized(ConversionContext& context, RunLog& log, int32_t lJobNumber,
                                            clsConversionOptions& coBlock) = 0;
};

} // namespace slidemill
