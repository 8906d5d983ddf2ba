#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

class ConversionComponent;
class IniFile;

// Conversion methods.
inline constexpr int32_t kMethodWord = 1;      // "Use MS Word": only chooses the type lists
inline constexpr int32_t kMethodComponent = 2; // conversion by the conversion component
inline constexpr int32_t kMethodFromPdf = 3;   // "Convert from PDF to ???": only chooses the type lists
inline constexpr int32_t kMethodSpecial = 4;   // every special-process task

// Special-process codes.
inline constexpr int32_t kSpecialReloadJob = 1;
inline constexpr int32_t kSpecialAppend = 50;
inline constexpr int32_t kSpecialRemoveEmptyLines = 55;
inline constexpr int32_t kSpecialSearchReplace = 56;
inline constexpr int32_t kSpecialLaunch = 60;
inline constexpr int32_t kSpecialNotListed = -1;

// Target codes the program itself relies on.
inline constexpr int32_t kTargetPdfWithOptions = 300;
inline constexpr int32_t kTargetRtfText = 6;       // rich text, slide text outline
inline constexpr int32_t kTargetRtfPictures = 106; // rich text with a picture of each slide
inline constexpr int32_t kRichTextPdf = 12;        // rich-text component: PDF
inline constexpr int32_t kRichTextRtf = 5;         // rich-text component: RTF

// One entry of an editor list: its shown text and its value.
struct TypeListEntry {
    std::string text;
    int32_t value = 0;
    bool operator==(const TypeListEntry&) const = default;
};

// A list with the entry selected by default.
struct TypeList {
    std::vector<TypeListEntry> entries;
    int selected = 0;
};

bool IsConversionAction(const std::string& sActionToDo);
bool IsSpecialAction(const std::string& sActionToDo);

TypeList SpecialProcessList();
TypeList OriginalTypeList();
TypeList SpecialProcessTypeList();
// Extension of a special-process type code ("TXT", "DOC" ...), "" for an unknown code.
std::string SpecialTypeExtension(int32_t code);
// The "Use MS Word" target list with the extra entries of the "WordConvertType" sections.
TypeList WordTargetList(const IniFile& settings);
TypeList PdfTargetList();
// "PDF - with options" first, then every format the component offers.
TypeList ComponentTargetList(ConversionComponent& component);

// The extension of a type code as target names, type columns and the folder picker use it.
// component may be null where no conversion component exists (special processes only).
std::string TypeCodeToText(int32_t code, bool withWildcard, int32_t method, ConversionComponent* component);

// "[005] text": a code written with at least three digits.
std::string FormatCodeEntry(int32_t code, const std::string& text);

} // namespace slidemill
