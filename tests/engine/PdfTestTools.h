#pragma once

#include <string>
#include <vector>

namespace slidemill::test {

// Runs a program (no shell) with its arguments; its standard output and error together, and
// its exit status (-1 when it could not run).
struct ToolResult {
    int status = -1;
    std::string output;
};
ToolResult RunTool(const std::vector<std::string>& arguments);

// The first page's size in points as pdfinfo reports it; false when pdfinfo cannot read it.
bool PdfPageSize(const std::string& path, double& width, double& height, const std::string& password = {});
// The font list pdffonts gives.
std::string PdfFonts(const std::string& path, const std::string& password = {});
// The text pdftotext finds.
std::string PdfPlainText(const std::string& path, const std::string& password = {});
// What `qpdf --show-encryption` says when given password.
std::string PdfEncryption(const std::string& path, const std::string& password);
// True when a reader has to be given a password to open the file.
bool PdfRequiresPassword(const std::string& path);
bool PdfIsEncrypted(const std::string& path);

// A valid PDF without pages, made by qpdf (no office involved).
std::string MakeBlankPdf(const std::string& path);

} // namespace slidemill::test
