#include "engine/PdfWithOptions.h"

#include "engine/EngineResult.h"
#include "engine/WriterDocument.h"
#include "engine/WriterFormatting.h"
#include "engine/WriterRichText.h"

namespace slidemill {

PdfExportSettings ExportSettingsFor(const PdfOptions& o) {
    PdfExportSettings s;
    if (o.bOverrideImageSettings) {
        s.imageQuality = o.lImageComparessionQuality;
        s.maxImageResolution = o.lImageMaxResolution;
    }
    if (o.bOverridePDFSettings) {
        s.security.userPassword = o.sPdxPDFUserPassword;
        s.security.ownerPassword = o.sPdxPDFMasterPassword;
        s.security.permissionBits = o.lDocAccessPermissions;
    }
    return s;
}

PdfWithOptions::PdfWithOptions(WriterRichTextEngine& engine, const PdfOptions& options)
    : engine_(engine), options_(options) {}

int32_t PdfWithOptions::ConvertRtfToPdf(clsConversionOptions& record) {
    const PdfOptions options = options_;
    // The passwords stay with the engine no longer than this one save.
    struct ClearAfterSave {
        WriterRichTextEngine& engine;
        ~ClearAfterSave() { engine.SetPdfExportSettings({}); }
    } clear{engine_};
    engine_.SetPdfExportSettings(ExportSettingsFor(options));

    record.sErr.clear();
    auto document = engine_.NewDocument();
    int32_t code = record.lOriginalFileType;
    std::string error;
    if (engine_.OpenFile(record.sOriginalFile, code, *document, error) != 0) {
        record.sErr = error;
        record.lErr = kPdfLoadFailed;
        return record.lErr;
    }
    auto& writer = static_cast<WriterDocument&>(*document);
    std::string detail;
    const int32_t applied = writer.With(
        [&](const css::uno::Reference<css::lang::XComponent>& d) { ApplyEnforcedSettings(d, options); },
        detail);
    if (applied != kEngineOk) {
        record.sErr = "ActiveX121.FileSave: Error: " + std::to_string(applied) + "  " + record.sTargetFile +
                      ": " + detail;
        record.lErr = kPdfSaveFailed;
        return record.lErr;
    }
    if (engine_.FileSave(record.sTargetFile, record.lTargetFileType, *document, error) != 0) {
        record.sErr = error;
        record.lErr = kPdfSaveFailed;
        return record.lErr;
    }
    record.lErr = 0;
    return 0;
}

} // namespace slidemill
