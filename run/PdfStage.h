#pragma once

#include "core/ConversionOptions.h"

#include <cstdint>
#include <string>

namespace slidemill {

// The second stage of "PDF - with options": turns the intermediate rich-text file
// (sOriginalFile, type 5) into the PDF at sTargetFile (type 12) with the enforced page, font
// and security settings. Sets sErr and lErr of the record and returns lErr (0 = success).
class PdfStage {
public:
    virtual ~PdfStage() = default;
    virtual int32_t ConvertRtfToPdf(clsConversionOptions& record) = 0;
};

inline constexpr int32_t kPdfStageUnavailable = 1;

// Used while no rich-text engine is wired in: every file fails with a plain message rather
// than a PDF that silently lacks the requested settings.
class UnavailablePdfStage : public PdfStage {
public:
    int32_t ConvertRtfToPdf(clsConversionOptions& record) override;
};

// Used when the settings that shape the PDF (passwords, permissions, page setup) could not be
// read: every file fails with the reason, rather than become a PDF without its protection.
class RefusingPdfStage : public PdfStage {
public:
    explicit RefusingPdfStage(std::string reason) : reason_(std::move(reason)) {}
    int32_t ConvertRtfToPdf(clsConversionOptions& record) override;

private:
    std::string reason_;
};

} // namespace slidemill
