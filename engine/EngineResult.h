#pragma once

#include <cstdint>

namespace slidemill {

// What Convert returns. 0 and -1 mean what every conversion component means (success, and
// "the engine cannot work at all"); the positive codes say why one file failed.
enum EngineResult : int32_t {
    kEngineOk = 0,
    kEngineUnavailable = -1,
    kEngineSourceMissing = 2,
    kEngineCannotLoad = 3,
    kEnginePasswordProtected = 4,
    kEngineNotAPresentation = 5,
    kEngineSlideRangeOutside = 6,
    kEngineTargetNotWritable = 7,
    kEngineTimedOut = 8,
    kEngineOfficeCrashed = 9,
    kEngineUnsupportedFormat = 10,
    kEngineExportFailed = 11,
};

} // namespace slidemill
