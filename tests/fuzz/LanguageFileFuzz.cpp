// Feeds arbitrary bytes to the language-file reader and checks what it promises: no crash, the
// encoding found only for a first line that begins with a quote, decoded text that is valid
// UTF-8, and an appended line that the reader then finds again as a text mapping to itself.
#include "core/LanguageFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace slidemill;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto encoding = DetectLanguageEncoding(bytes);
    if (!encoding)
        return 0;
    const auto text = DecodeLanguageText(bytes, *encoding);
    if (!text)
        return 0;
    Check(!text->empty() && text->front() == '"');
    LanguageDictionary dictionary;
    ParseLanguageText(*text, dictionary);
    for (const auto& [key, translation] : dictionary)
        Check(!key.empty() && key.find('\n') == std::string::npos);

    // A text no entry knows, appended as the program appends it, reads back as itself.
    const std::string probe = "fuzz probe \xC3\xA4 " + std::to_string(size);
    if (dictionary.contains(probe) || text->find("\"****") != std::string::npos)
        return 0;
    const std::string appended =
        std::string(bytes) + AppendedLanguageLine(probe, *encoding, LayoutOfLanguageText(*text));
    const auto again = DecodeLanguageText(appended, *encoding);
    Check(again.has_value());
    LanguageDictionary after;
    ParseLanguageText(*again, after);
    Check(after.contains(probe) && after.at(probe) == probe);
    return 0;
}
