#include "support/MemoryRichText.h"

#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>

namespace slidemill::test {

std::u16string MemoryDocument::PlainText() {
    return text;
}

bool MemoryDocument::ReplaceRange(std::size_t start, std::size_t length, const std::u16string& with) {
    text.replace(start, length, with);
    return true;
}

bool MemoryDocument::AppendRangeTo(std::size_t start, std::size_t length, RichTextDocument& target) {
    static_cast<MemoryDocument&>(target).text += text.substr(start, length);
    return true;
}

bool MemoryDocument::AppendAllTo(RichTextDocument& target) {
    return AppendRangeTo(0, text.size(), target);
}

std::unique_ptr<RichTextDocument> MemoryEngine::NewDocument() {
    return std::make_unique<MemoryDocument>();
}

int MemoryEngine::OpenFile(const std::string& path, int32_t&, RichTextDocument& document,
                           std::string& error) {
    opened.push_back(path);
    if (!std::filesystem::is_regular_file(path)) {
        error = "cannot load";
        return 1;
    }
    const std::string bytes = ReadWholeFile(path);
    static_cast<MemoryDocument&>(document).text.assign(bytes.begin(), bytes.end());
    return 0;
}

int MemoryEngine::FileSave(const std::string& path, int32_t, RichTextDocument& document, std::string&) {
    if (writeFiles) {
        const std::u16string& text = static_cast<MemoryDocument&>(document).text;
        std::ofstream(path, std::ios::binary) << std::string(text.begin(), text.end());
    }
    return 0;
}

} // namespace slidemill::test
