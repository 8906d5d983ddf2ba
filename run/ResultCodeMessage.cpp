#include "run/ResultCodeMessage.h"

#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "run/ConversionStep.h"
#include "run/TargetClaims.h"

namespace slidemill {

std::string ResultCodeMessage(const clsConversionOptions& task) {
    switch (task.lErr) {
    case 0:
        return Translate("Successfully Processed.");
    case -2:
        return Translate("Unable to open or save to target file.  Could be a sharing violation, or invalid "
                         "file type: (") +
               task.sTargetFile + ")";
    case -3:
        return Translate(
                   " Unable to open original file. Check file format. Could be a sharing violation: (") +
               task.sOriginalFile + ")";
    case -6:
        return Translate("Source and Target File are the same.");
    case -7:
        return Translate("Unable to create Target File.");
    case -10:
        return Translate("Unable to launch application.");
    case -11:
        return Translate("Process did not complete in the specified time (Timeout)");
    case kErrTargetIsSource:
        return Translate("Error 21: The target file is the source file itself") + " (" + task.sTargetFile +
               ")";
    case kMalformedTaskRow:
        return Translate("The task is not valid and was not run:");
    case kErrTargetClaimed:
        return Translate("Error 23: Another file of this task writes the same target; this file was not "
                         "processed and is kept:") +
               " (" + task.sOriginalFile + " -> " + task.sTargetFile + ")";
    case kErrTargetIsOtherSource:
        return Translate("Error 24: The target is another source file of this task; it was not "
                         "overwritten and this file was not processed:") +
               " (" + task.sOriginalFile + " -> " + task.sTargetFile + ")";
    default:
        return {};
    }
}

} // namespace slidemill
