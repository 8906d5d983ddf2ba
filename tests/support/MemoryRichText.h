#pragma once

#include "run/RichText.h"

#include <memory>
#include <string>
#include <vector>

namespace slidemill::test {

// A document that is the file's bytes as plain text, enough for the text processes.
class MemoryDocument : public RichTextDocument {
public:
    std::u16string text;
    std::u16string PlainText() override;
    bool ReplaceRange(std::size_t start, std::size_t length, const std::u16string& with) override;
    bool AppendRangeTo(std::size_t start, std::size_t length, RichTextDocument& target) override;
    bool AppendAllTo(RichTextDocument& target) override;
};

// A rich-text engine over MemoryDocument: opening reads the file's bytes (a missing file fails
// with "cannot load"); saving writes them back only while writeFiles holds, so a process can
// report success without leaving its target behind.
class MemoryEngine : public RichTextEngine {
public:
    bool writeFiles = true;
    std::vector<std::string> opened;
    std::unique_ptr<RichTextDocument> NewDocument() override;
    int OpenFile(const std::string& path, int32_t& type, RichTextDocument& document,
                 std::string& error) override;
    int FileSave(const std::string& path, int32_t type, RichTextDocument& document,
                 std::string& error) override;
};

} // namespace slidemill::test
