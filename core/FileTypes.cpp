#include "core/FileTypes.h"

#include "core/ConversionComponent.h"
#include "core/Translate.h"
#include "settings/IniFile.h"

#include <cstdio>

namespace slidemill {

bool IsConversionAction(const std::string& sActionToDo) {
    return sActionToDo.find('C') != std::string::npos;
}

bool IsSpecialAction(const std::string& sActionToDo) {
    return !IsConversionAction(sActionToDo) && sActionToDo.find('S') != std::string::npos;
}

std::string FormatCodeEntry(int32_t code, const std::string& text) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", static_cast<int>(code));
    return "[" + std::string(digits) + "] " + text;
}

TypeList SpecialProcessList() {
    TypeList list;
    auto add = [&](int32_t code, const char* text) {
        list.entries.push_back({"[" + std::to_string(code) + "] " + Translate(text), code});
    };
    add(kSpecialAppend,
        N_("Append (Concatenate) files. Original file(s) contents is placed at the end of the Target file."));
    add(kSpecialRemoveEmptyLines, N_("Remove Empty Lines"));
    add(kSpecialSearchReplace, N_("Search and Replace a String."));
    add(kSpecialLaunch, N_("Launch (Run) a program."));
    list.entries.push_back({Translate("I NEED SOMETHING NOT LISTED!!!!!!!"), kSpecialNotListed});
    return list;
}

TypeList OriginalTypeList() {
    TypeList list;
    list.entries = {
        {Translate("Any file PowerPoint can open (*.*)"), 1},
        {Translate("PowerPoint Presentations (PPT(X), PPS(X), HTM, MHTM"), 2},
        {Translate("Presentations and Shows (PPT(X), PPS(X))"), 3},
        {Translate("Web Pages (HTM, HTML, MHT, MHTML)"), 4},
        {Translate("Design Templates POT(X)"), 5},
        {Translate("Outlines (TXT, RTF, DOC, WPD, WPS)"), 6},
    };
    list.selected = 2;
    return list;
}

TypeList SpecialProcessTypeList() {
    TypeList list;
    list.entries = {
        {Translate("[1] Text"), 1},
        {Translate("[9] MS Word (DOC)"), 9},
        {Translate("[4] HTML (HTM)"), 4},
        {Translate("[5] Rich Text Format (RTF)"), 5},
        {Translate("[6] Unicode/Encoded Text"), 6},
    };
    return list;
}

std::string SpecialTypeExtension(int32_t code) {
    switch (code) {
    case 1:
    case 2:
    case 6:
        return "TXT";
    case 4:
        return "HTM";
    case 5:
        return "RTF";
    case 9:
        return "DOC";
    case 10:
        return "XML";
    case 11:
        return "CSS";
    case 12:
        return "PDF";
    default:
        return "";
    }
}

TypeList WordTargetList(const IniFile& settings) {
    TypeList list;
    list.entries = {
        {Translate("[0] Word Doc (doc)"), 0},
        {Translate("[8] HTML (Word Version > 97)"), 8},
        {Translate("[6] Rich Text Format (RTF)"), 6},
        {Translate("[2] Text"), 2},
        {Translate("[3] Text Line Breaks"), 3},
        {Translate("[7] Unicode/Encoded Text"), 7},
        {Translate("[4] Dos Text"), 4},
        {Translate("[101] Text with Layout (ASC) "), 101},
        {Translate("[5] Dos Text - Line Breaks"), 5},
        {Translate("[?] OTHER CONVERSION TYPES"), -1},
    };
    const int32_t count = settings.ReadInt("WordConvertType", "Count", 0);
    for (int32_t i = 1; i <= count; ++i) {
        const std::string section = std::to_string(i) + "WordConvertType";
        const std::string constant = settings.ReadString(section, "Constant", "0");
        const std::string description = settings.ReadString(section, "sDescription", "");
        const int32_t value = settings.ReadInt(section, "Constant", 0);
        list.entries.push_back({"[" + constant + "] " + description, value});
    }
    return list;
}

TypeList PdfTargetList() {
    TypeList list;
    list.entries = {
        {Translate("[3] As DOC (RTF)"), 3},
        {Translate("[2] As HTML (HTM)"), 2},
        {Translate("[1] As Text"), 1},
    };
    return list;
}

TypeList ComponentTargetList(ConversionComponent& component) {
    TypeList list;
    list.entries.push_back(
        {FormatCodeEntry(kTargetPdfWithOptions, Translate("PDF - with options")), kTargetPdfWithOptions});
    const int32_t count = component.FormatCount();
    for (int32_t i = 1; i <= count; ++i) {
        int32_t code = 0;
        std::string description;
        if (component.GetFormat(i, code, description))
            list.entries.push_back({FormatCodeEntry(code, Translate(description)), code});
    }
    if (list.entries.size() == 1) {
        list.entries.push_back({Translate("!! Please install MS PowerPoint !!"), 0});
        list.selected = 0;
    } else {
        list.selected = 1;
    }
    return list;
}

std::string TypeCodeToText(int32_t code, bool withWildcard, int32_t method, ConversionComponent* component) {
    switch (method) {
    case kMethodComponent:
        if (code == kTargetPdfWithOptions)
            return "pdf";
        return component ? component->GetExtension(code, withWildcard) : std::string();
    case kMethodSpecial: {
        std::string extension = SpecialTypeExtension(code);
        if (withWildcard && !extension.empty())
            return "*." + extension;
        return extension;
    }
    default:
        return "";
    }
}

} // namespace slidemill
