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
// iniFilePath read the way an unattended run reads it (never written).
class OfficeRunParts final : public RunParts {
public:
    OfficeRunParts(EngineOptions options, std::string iniFilePath);
    ~OfficeRunParts() override;
    OfficeRunParts(const OfficeRunParts&) = delete;
    OfficeRunParts& operator=(const OfficeRunParts&) = delete;

    ConversionComponent& Component() override { return component_; }
    RichTextEngine* RichText() override { return &richText_; }
    PdfStage& Pdf() override { return pdf_; }
    ConversionSettings ReadSettings() override;
    void ShutDown() override { component_.ShutDown(); }

private:
    std::string iniFilePath_;
    LibreOfficeComponent component_;
    WriterRichTextEngine richText_;
    // Read by the PDF stage at every file; replaced only between runs.
    PdfOptions pdfOptions_;
    PdfWithOptions pdf_;
};

} // namespace slidemill
