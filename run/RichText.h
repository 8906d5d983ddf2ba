#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace slidemill {

// One document held by the rich-text engine, the way a text control holds one. Positions
// and lengths count the UTF-16 units of PlainText().
class RichTextDocument {
public:
    virtual ~RichTextDocument() = default;
    // The document's text without formatting; paragraphs end with a line feed.
    virtual std::u16string PlainText() = 0;
    // True when the last PlainText could not read the text (it then returned nothing), so an
    // empty text is not taken for an empty document.
    virtual bool TextReadFailed() const { return false; }
    // Replaces a range by text, which takes the formatting of the text it replaces.
    virtual bool ReplaceRange(std::size_t start, std::size_t length, const std::u16string& text) = 0;
    // Copies a range with its formatting to the end of target.
    virtual bool AppendRangeTo(std::size_t start, std::size_t length, RichTextDocument& target) = 0;
    // Copies the whole document with its formatting to the end of target.
    virtual bool AppendAllTo(RichTextDocument& target) = 0;
};

// The engine that loads and saves rich-text documents (RTF, DOC, HTML, text) by format code:
// 1 and 2 text, 4 HTML, 5 RTF, 6 Unicode text, 9 Word 97 DOC, 12 PDF, 13 DOCX. OpenFile and
// FileSave return 0 or an error number with its text in errorText; OpenFile may change
// formatCode when the file turns out to be of the other of RTF and DOC.
class RichTextEngine {
public:
    virtual ~RichTextEngine() = default;
    // A new, empty document.
    virtual std::unique_ptr<RichTextDocument> NewDocument() = 0;
    virtual int OpenFile(const std::string& path, int32_t& formatCode, RichTextDocument& document,
                         std::string& errorText) = 0;
    virtual int FileSave(const std::string& path, int32_t formatCode, RichTextDocument& document,
                         std::string& errorText) = 0;
};

} // namespace slidemill
