#pragma once

#include "engine/PdfSecurity.h"
#include "run/RichText.h"

#include <cstdint>
#include <memory>
#include <string>

namespace slidemill {

class LibreOfficeComponent;

// Error numbers of OpenFile and FileSave besides the office's own failures.
inline constexpr int kRichTextUnknownType = -1;
inline constexpr int kRichTextLoadFailed = -1234;
inline constexpr int kRichTextInvalidType = 321;
// The file stayed locked or unreadable through every attempt ("Permission denied").
inline constexpr int kRichTextFileBusy = 70;
inline constexpr int kRichTextNotOurDocument = 5;
inline constexpr int kRichTextSaveFailed = 75;
inline constexpr int kRichTextCssNotSupported = 11;

// What a PDF save writes besides the document: image quality and security.
struct PdfExportSettings {
    // 1..100; 0 leaves the office's default.
    int32_t imageQuality = 0;
    // Dots per inch; 0 keeps every image's own resolution.
    int32_t maxImageResolution = 0;
    PdfSecurity security;
};

// The rich-text engine on LibreOffice Writer, over the office of a presentation component (the
// same process and watchdog). Format codes: 1 text (UTF-8), 2 text, 3 text after a 30-byte
// header (load only), 4 HTML, 5 RTF, 6 Unicode text, 9 Word 97, 10 flat ODT, 11 CSS (never
// written), 12 PDF, 13 DOCX, 14 PDF/A (save only).
class WriterRichTextEngine : public RichTextEngine {
public:
    explicit WriterRichTextEngine(LibreOfficeComponent& office);
    ~WriterRichTextEngine() override;
    WriterRichTextEngine(const WriterRichTextEngine&) = delete;
    WriterRichTextEngine& operator=(const WriterRichTextEngine&) = delete;

    std::unique_ptr<RichTextDocument> NewDocument() override;
    int OpenFile(const std::string& path, int32_t& formatCode, RichTextDocument& document,
                 std::string& errorText) override;
    int FileSave(const std::string& path, int32_t formatCode, RichTextDocument& document,
                 std::string& errorText) override;

    // Used by every later PDF save until changed again, so a caller sets them before each one.
    void SetPdfExportSettings(const PdfExportSettings& settings);
    // A busy input file is tried this many times, pauseMs apart.
    void SetBusyWait(int attempts, int pauseMs);
    // Error texts laid out for a console (message and path on lines of their own) or for a
    // window; the component's EngineOptions::commandLineMode gives the starting value.
    void SetCommandLineMode(bool value);

    LibreOfficeComponent& Component() { return office_; }

private:
    struct Impl;
    LibreOfficeComponent& office_;
    std::unique_ptr<Impl> impl_;
};

} // namespace slidemill
