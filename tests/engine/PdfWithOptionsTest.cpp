// The second stage of "PDF - with options" against a real office: the enforced page, font and
// security settings, verified in the produced PDFs with poppler's tools and qpdf.
#include "EngineTestSupport.h"
#include "PdfTestTools.h"

#include "core/ConversionOptions.h"
#include "engine/PdfWithOptions.h"
#include "engine/WriterRichText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

const std::string kRtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\paperw12240\\paperh15840"
                         "\\f0\\fs24 Enforced settings sample\\par Second paragraph of text\\par}";

clsConversionOptions Record(const std::string& rtf, const std::string& pdf) {
    clsConversionOptions record;
    record.sOriginalFile = rtf;
    record.lOriginalFileType = 5;
    record.sTargetFile = pdf;
    record.lTargetFileType = 12;
    return record;
}

void ExpectSize(const std::string& pdf, double width, double height, const std::string& password = {}) {
    double w = 0, h = 0;
    ASSERT_TRUE(PdfPageSize(pdf, w, h, password)) << pdf;
    EXPECT_NEAR(w, width, 1.0);
    EXPECT_NEAR(h, height, 1.0);
}

// Left and right edges (points) of the line that starts with firstWord and ends with lastWord.
bool LineEdges(const std::string& pdf, const std::string& password, const std::string& firstWord,
               const std::string& lastWord, double& left, double& right) {
    std::vector<std::string> command{"pdftotext", "-bbox"};
    if (!password.empty())
        command.insert(command.end(), {"-upw", password});
    command.insert(command.end(), {pdf, "-"});
    const std::string boxes = RunTool(command).output;
    static const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="[0-9.]+" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)</word>)re");
    bool haveLeft = false, haveRight = false;
    for (std::sregex_iterator it(boxes.begin(), boxes.end(), word), end; it != end; ++it) {
        if (!haveLeft && (*it)[3].str() == firstWord) {
            left = std::stod((*it)[1].str());
            haveLeft = true;
        } else if (haveLeft && !haveRight && (*it)[3].str() == lastWord) {
            right = std::stod((*it)[2].str());
            haveRight = true;
        }
    }
    return haveLeft && haveRight;
}

std::size_t FilesIn(const fs::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++n;
    return n;
}

TEST(PdfWithOptions, EnforcedPageFontAndSecurityReachThePdf) {
    WriterRichTextEngine engine(SharedEngine());
    TempFolder dir("pdx");
    const std::string rtf = dir.file("in.rtf", kRtf);
    PdfOptions options;
    PdfWithOptions stage(engine, options);

    // A4 portrait, DejaVu Sans, both passwords, low-resolution printing and copying.
    options.bOverridePageSettings = true;
    options.lPdxPageWidth = 11906;
    options.lPdxPageHeight = 16837;
    options.lPdxPageMarginL = options.lPdxPageMarginR = 720;
    options.bOverrideFontSettings = true;
    options.sPdxFontName = "DejaVu Sans";
    options.lPdxFontSize = 14;
    options.lPdxBaseLine = 0;
    options.lPdxForeColor = 0;
    options.bOverrideParagraphSettings = true;
    options.lPdxAlignment = 2;
    options.bOverridePDFSettings = true;
    options.sPdxPDFUserPassword = "open sesame";
    options.sPdxPDFMasterPassword = "owner key";
    options.lDocAccessPermissions = 0x80 | 0x10;
    const std::string a4 = dir.str() + "a4.pdf";
    auto record = Record(rtf, a4);
    ASSERT_EQ(stage.ConvertRtfToPdf(record), 0) << record.sErr;
    EXPECT_EQ(record.lErr, 0);
    EXPECT_TRUE(record.sErr.empty());

    EXPECT_TRUE(PdfRequiresPassword(a4));
    const std::string security = PdfEncryption(a4, "open sesame");
    EXPECT_NE(security.find("R = 6"), std::string::npos) << security;
    EXPECT_NE(security.find("file encryption method: AESv3"), std::string::npos);
    EXPECT_NE(security.find("Supplied password is user password"), std::string::npos);
    EXPECT_NE(security.find("print low resolution: allowed"), std::string::npos);
    EXPECT_NE(security.find("print high resolution: not allowed"), std::string::npos);
    EXPECT_NE(security.find("extract for any purpose: allowed"), std::string::npos);
    EXPECT_NE(security.find("modify anything: not allowed"), std::string::npos);
    EXPECT_NE(PdfEncryption(a4, "owner key").find("Supplied password is owner password"), std::string::npos);
    EXPECT_NE(PdfEncryption(a4, "").find("Incorrect password"), std::string::npos);
    ExpectSize(a4, 595.3, 841.9, "open sesame");
    const std::string fonts = PdfFonts(a4, "open sesame");
    EXPECT_NE(fonts.find("DejaVuSans"), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find("Serif"), std::string::npos) << fonts;
    EXPECT_NE(PdfPlainText(a4, "open sesame").find("Second paragraph of text"), std::string::npos);
    // Centred between equal margins: as much room on the left of the line as on its right.
    double left = 0, right = 0;
    ASSERT_TRUE(LineEdges(a4, "open sesame", "Enforced", "sample", left, right));
    EXPECT_NEAR(left, 595.3 - right, 3.0) << left << " " << right;
    EXPECT_GT(left, 100.0);

    // Letter landscape; the passwords are still stored but security is no longer enforced:
    // nothing of the previous file's security may carry over.
    options.lPdxPageWidth = 15840;
    options.lPdxPageHeight = 12240;
    options.bOverridePDFSettings = false;
    const std::string letter = dir.str() + "letter.pdf";
    record = Record(rtf, letter);
    ASSERT_EQ(stage.ConvertRtfToPdf(record), 0) << record.sErr;
    EXPECT_FALSE(PdfIsEncrypted(letter));
    ExpectSize(letter, 792, 612);

    // Nothing enforced: the document keeps its own page and font.
    options = PdfOptions{};
    const std::string own = dir.str() + "own.pdf";
    record = Record(rtf, own);
    ASSERT_EQ(stage.ConvertRtfToPdf(record), 0) << record.sErr;
    EXPECT_FALSE(PdfIsEncrypted(own));
    ExpectSize(own, 612, 792);
    // Left aligned at the document's own margin.
    ASSERT_TRUE(LineEdges(own, "", "Enforced", "sample", left, right));
    EXPECT_LT(left, 100.0);
    EXPECT_EQ(PdfFonts(own).find("DejaVuSans"), std::string::npos);

    // Only the three PDFs and the input: no staging leftovers, no unencrypted copy.
    EXPECT_EQ(FilesIn(dir.path()), 4u);
}

TEST(PdfWithOptions, FailuresGiveMinusTwoOrMinusThreeWithoutAPartialPdf) {
    WriterRichTextEngine engine(SharedEngine());
    TempFolder dir("pdx-fail");
    PdfOptions options;
    options.bOverridePDFSettings = true;
    options.sPdxPDFUserPassword = "hunter2-user";
    options.sPdxPDFMasterPassword = "hunter2-owner";
    PdfWithOptions stage(engine, options);

    const std::string missing = dir.str() + "missing.rtf";
    auto record = Record(missing, dir.str() + "a.pdf");
    EXPECT_EQ(stage.ConvertRtfToPdf(record), kPdfLoadFailed);
    EXPECT_EQ(record.lErr, kPdfLoadFailed);
    EXPECT_NE(record.sErr.find(missing), std::string::npos) << record.sErr;

    const std::string corrupt = dir.file("corrupt.rtf", std::string("\x00\x01\x02 not a document", 19));
    record = Record(corrupt, dir.str() + "b.pdf");
    EXPECT_EQ(stage.ConvertRtfToPdf(record), kPdfLoadFailed);
    EXPECT_NE(record.sErr.find(corrupt), std::string::npos) << record.sErr;

    const std::string rtf = dir.file("in.rtf", kRtf);
    const std::string blocker = dir.file("blocker", "a file where the target folder should be");
    record = Record(rtf, blocker + "/c.pdf");
    EXPECT_EQ(stage.ConvertRtfToPdf(record), kPdfSaveFailed);
    EXPECT_NE(record.sErr.find(blocker + "/c.pdf"), std::string::npos) << record.sErr;
    EXPECT_EQ(record.sErr.find("hunter2"), std::string::npos) << record.sErr;

    EXPECT_EQ(FilesIn(dir.path()), 3u); // corrupt.rtf, in.rtf, blocker
}

TEST(PdfWithOptions, AnOfficeLostBetweenLoadAndSaveFailsTheFileNotTheNext) {
    WriterRichTextEngine engine(SharedEngine());
    TempFolder dir("pdx-crash");
    const std::string rtf = dir.file("in.rtf", kRtf);
    auto document = engine.NewDocument();
    int32_t code = 5;
    std::string error;
    ASSERT_EQ(engine.OpenFile(rtf, code, *document, error), 0) << error;
    const int pid = SharedEngine().OfficeProcessId();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    for (int i = 0; i < 100 && ProcessExists(pid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    const std::string lost = dir.str() + "lost.pdf";
    EXPECT_NE(engine.FileSave(lost, 12, *document, error), 0);
    EXPECT_NE(error.find(lost), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(lost));
    // Text that could not be read is not silently taken as an empty document: what would be
    // built from it is not saved until another file has loaded.
    EXPECT_TRUE(document->PlainText().empty());
    EXPECT_TRUE(document->TextReadFailed());
    auto output = engine.NewDocument();
    const std::string empty = dir.str() + "built-from-nothing.rtf";
    EXPECT_NE(engine.FileSave(empty, 5, *output, error), 0);
    EXPECT_FALSE(fs::exists(empty));
    document.reset();

    // The next file gets a fresh office.
    PdfOptions options;
    PdfWithOptions stage(engine, options);
    auto record = Record(rtf, dir.str() + "next.pdf");
    ASSERT_EQ(stage.ConvertRtfToPdf(record), 0) << record.sErr;
    EXPECT_NE(SharedEngine().OfficeProcessId(), pid);
    EXPECT_EQ(FilesIn(dir.path()), 2u);
}

TEST(PdfWithOptions, ImageResolutionIsReducedOnlyWhenEnforced) {
    SLIDEMILL_REQUIRE_CORPUS();
    TempFolder dir("pdx-images");
    // The first stage: an outline with a picture of each slide.
    const std::string rtf = dir.str() + "deck.rtf";
    ASSERT_EQ(ConvertFile(SharedEngine(), GoodFile("poi_SampleShow.pptx"), rtf, {.format = 106}), 0)
        << SharedEngine().LastErrorText();
    WriterRichTextEngine engine(SharedEngine());
    PdfOptions options;
    PdfWithOptions stage(engine, options);
    const auto largestPpi = [](const std::string& pdf) {
        const auto list = RunTool({"pdfimages", "-list", pdf}).output;
        // page num type width height color comp bpc enc interp object ID x-ppi y-ppi ...
        static const std::regex row(
            R"(^\s*\d+\s+\d+\s+image\s+\d+\s+\d+\s+\S+\s+\d+\s+\d+\s+\S+\s+\S+\s+\d+\s+\d+\s+(\d+))");
        int best = -1;
        std::istringstream lines(list);
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (std::regex_search(line, m, row))
                best = std::max(best, std::stoi(m[1].str()));
        }
        return best;
    };

    const std::string full = dir.str() + "full.pdf";
    auto record = Record(rtf, full);
    ASSERT_EQ(stage.ConvertRtfToPdf(record), 0) << record.sErr;
    const int fullPpi = largestPpi(full);
    ASSERT_GT(fullPpi, 80);

    options.bOverrideImageSettings = true;
    options.lImageMaxResolution = 40;
    options.lImageComparessionQuality = 30;
    const std::string reduced = dir.str() + "reduced.pdf";
    record = Record(rtf, reduced);
    ASSERT_EQ(stage.ConvertRtfToPdf(record), 0) << record.sErr;
    const int reducedPpi = largestPpi(reduced);
    EXPECT_GT(reducedPpi, 0);
    // The office reduces to no less than 51 dpi.
    EXPECT_LE(reducedPpi, 52) << "full " << fullPpi;
    EXPECT_LT(fs::file_size(reduced), fs::file_size(full));
}

} // namespace
} // namespace slidemill::test

namespace slidemill::test {
namespace {

TEST(PdfWithOptions, AHungOfficeIsEndedByTheWatchdogAndLeavesNoPdf) {
    EngineOptions options = TestEngineOptions();
    options.baseDeadlineMs = 5000;
    LibreOfficeComponent office(options);
    WriterRichTextEngine engine(office);
    TempFolder dir("pdx-hang");
    const std::string rtf = dir.file("in.rtf", kRtf);
    auto document = engine.NewDocument();
    int32_t code = 5;
    std::string error;
    ASSERT_EQ(engine.OpenFile(rtf, code, *document, error), 0) << error;
    const int pid = office.OfficeProcessId();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(kill(-pid, SIGSTOP), 0);

    const std::string hung = dir.str() + "hung.pdf";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(engine.FileSave(hung, 12, *document, error), 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(options.baseDeadlineMs - 100));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3 * options.baseDeadlineMs));
    EXPECT_NE(error.find(hung), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(hung));
    EXPECT_FALSE(ProcessExists(pid));
    document.reset();

    PdfOptions pdfOptions;
    PdfWithOptions stage(engine, pdfOptions);
    auto record = Record(rtf, dir.str() + "after.pdf");
    ASSERT_EQ(stage.ConvertRtfToPdf(record), 0) << record.sErr;
    office.ShutDown();
    EXPECT_EQ(FilesIn(dir.path()), 2u);
}

} // namespace
} // namespace slidemill::test
