#pragma once

#include "run/PdfStage.h"
#include "run/RichText.h"
#include "run/RunParts.h"
#include "support/FakeComponent.h"

#include <fstream>
#include <functional>
#include <vector>

namespace slidemill::test {

// Run parts made of doubles: the deterministic component, no rich-text engine and the
// unavailable PDF stage unless a test sets its own, and settings the test sets (what the
// "stored" settings are at each read).
class FakeRunParts final : public RunParts {
public:
    FakeComponent component;
    RichTextEngine* richText = nullptr;
    PdfStage* pdf = nullptr;
    ConversionSettings settings;
    int settingsReads = 0;
    // The values the PDF stage works with: the stored ones after a read, the window's after a
    // hand-over.
    PdfOptions pdfOptions;
    int pdfOptionsHandOvers = 0;
    int shutDowns = 0;

    ConversionComponent& Component() override { return component; }
    RichTextEngine* RichText() override { return richText; }
    PdfStage& Pdf() override { return pdf ? *pdf : unavailable_; }
    // What the settings file holds for "PDF - with options"; each read takes it up, as the
    // program's parts do.
    PdfOptions storedPdfOptions;

    ConversionSettings ReadSettings() override {
        ++settingsReads;
        pdfOptions = storedPdfOptions;
        return settings;
    }
    void UsePdfOptions(const PdfOptions& options) override {
        ++pdfOptionsHandOvers;
        pdfOptions = options;
    }
    void ShutDown() override {
        ++shutDowns;
        component.ShutDown();
    }

private:
    UnavailablePdfStage unavailable_;
};

// A PDF stage that writes an empty PDF and records the options it was given to work with, as
// they were at each file.
class RecordingPdfStage final : public PdfStage {
public:
    explicit RecordingPdfStage(const PdfOptions& options) : options_(options) {}
    std::vector<PdfOptions> seen;

    int32_t ConvertRtfToPdf(clsConversionOptions& record) override {
        seen.push_back(options_);
        std::ofstream(record.sTargetFile, std::ios::binary).flush();
        return 0;
    }

private:
    const PdfOptions& options_;
};

} // namespace slidemill::test
