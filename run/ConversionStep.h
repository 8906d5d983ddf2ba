#pragma once

#include "core/ConversionOptions.h"
#include "run/ConversionContext.h"

#include <cstdint>

namespace slidemill {

class PendingConversion;

// Result codes of a conversion besides those of the conversion component.
inline constexpr int32_t kErrFileList = -10000;      // the source file or folder is missing
inline constexpr int32_t kErrPowerPointVersion = -4; // the renderer is newer than this program knows
inline constexpr int32_t kErrComponentFault = -5;    // the renderer failed before giving a result
inline constexpr int32_t kErrTargetIsSource = -21;   // converting would overwrite the source itself
inline constexpr int32_t kErrNotOnDisk = -25;        // the converted files could not be flushed to the disk

// Runs one conversion task: lists its files, names each target, converts them one by one and
// logs every failed file. Returns 0, the last failing file's code, -1 (stop the whole run) or
// kErrFileList. A pause ends the list after the current file and keeps where to resume.
// A listed file whose target an earlier file of the list writes, or whose target is another
// listed file, fails on its own (TargetClaims) and its source is neither moved nor deleted.
int32_t PerformBlockConversion(ConversionContext& context, int32_t lJobNumber, clsConversionOptions& coBlock);

// One source file to one target, including both stages of "PDF - with options" and moving or
// deleting the source after a success. Sets sErr and lErr of the record and returns lErr. The
// record's files and types are as before when it returns. With converting, the conversion
// itself already runs on another thread: this waits for it instead of calling the component.
int32_t ConvertOneFile(ConversionContext& context, clsConversionOptions& record,
                       PendingConversion* converting = nullptr);

// One call of the conversion component with the record's files, type and options, after
// checking the renderer's version. Sets sErr and lErr and returns lErr.
int32_t ConvertWithComponent(ConversionContext& context, clsConversionOptions& record);

} // namespace slidemill
