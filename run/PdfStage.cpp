#include "run/PdfStage.h"

#include "core/Translate.h"

namespace slidemill {

int32_t UnavailablePdfStage::ConvertRtfToPdf(clsConversionOptions& record) {
    record.sErr = Translate("PDF - with options: the PDF stage is not available yet");
    record.lErr = kPdfStageUnavailable;
    return record.lErr;
}

int32_t RefusingPdfStage::ConvertRtfToPdf(clsConversionOptions& record) {
    record.sErr = Translate("PDF - with options") + ": " + reason_;
    record.lErr = kPdfStageUnavailable;
    return record.lErr;
}

} // namespace slidemill
