#include "run/ResultCodeMessage.h"

#include "core/Translate.h"

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
    default:
        return {};
    }
}

} // namespace slidemill
