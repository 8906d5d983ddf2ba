#pragma once

#include "engine/EngineOptions.h"
#include "engine/LibreOfficeComponent.h"
#include "engine/PdfWithOptions.h"
#include "engine/WriterRichText.h"
#include "run/RunParts.h"
#include "settings/PdfOptions.h"

#include <string>

namespace slidemill {

// The program's run parts: the LibreOffice presentation component, Writer as the rich-text
// engine on the same offices, "PDF - with options" on that engine, and the settings file at
// iniFilePath read the way an unattended run reads it (never written). While that file exists but
// cannot be read, every "PDF - with options" file fails with the reason: its passwords and
// permissions are unknown, and a PDF without them must not pass for a success.
class OfficeRunParts final : public RunParts {
public:
    OfficeRunParts(EngineOptions options, std::string iniFilePath);
    ~OfficeRunParts() override;
    OfficeRunParts(const OfficeRunParts&) = delete;
    OfficeRunParts& operator=(const OfficeRunParts&) = delete;

    ConversionComponent& Component() override { return component_; }
    RichTextEngine* RichText() override { return &richText_; }
    PdfStage& Pdf() override { return guardedPdf_; }
    ConversionSettings ReadSettings() override;
    void UsePdfOptions(const PdfOptions& options) override;
    // Why the settings file could not be read at the last ReadSettings; empty when it could.
    const std::string& SettingsProblem() const { return settingsProblem_; }
    void ShutDown() override { component_.ShutDown(); }

private:
    class GuardedPdfStage final : public PdfStage {
    public:
        explicit GuardedPdfStage(OfficeRunParts& parts) : parts_(parts) {}
        int32_t ConvertRtfToPdf(clsConversionOptions& record) override;

    private:
        OfficeRunParts& parts_;
    };

    std::string iniFilePath_;
    std::string settingsProblem_;
    LibreOfficeComponent component_;
    WriterRichTextEngine richText_;
    // Read by the PDF stage at every file; replaced only between runs.
    PdfOptions pdfOptions_;
    PdfWithOptions pdf_;
    GuardedPdfStage guardedPdf_{*this};
};

} // namespace slidemill
