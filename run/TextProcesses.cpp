#include "run/TextProcesses.h"

#include "core/Translate.h"
#include "run/CharacterCodes.h"
#include "run/ResultCodeMessage.h"
#include "run/TextFileOps.h"
#include "run/TextLayout.h"

#include <filesystem>
#include <iomanip>
#include <sstream>

namespace fs = std::filesystem;

namespace slidemill {

namespace {

constexpr int kTargetFailed = -2;
constexpr int kSourceFailed = -3;
constexpr const char* kTextUnread = N_("the text of the input file could not be read");
constexpr int kSameFile = -6;
constexpr int kProgressEvery = 20;

bool IsNativeType(int32_t type) {
    return type == 1 || type == 2 || type == 6;
}

bool IsRichType(int32_t type) {
    return type == 4 || type == 5 || type == 9;
}

int Finish(clsConversionOptions& task, int result, const std::string& detail = {}) {
    task.lErr = result;
    task.sErr = ResultCodeMessage(task);
    if (result != 0 && !detail.empty())
        task.sErr += (task.sErr.empty() ? "" : "\r") + detail;
    return result;
}

// Why a file cannot be processed at all, or "" when it can.
std::string UnsupportedReason(int32_t type, RichTextEngine* richText) {
    if (IsNativeType(type))
        return {};
    if (!IsRichType(type))
        return Translate("This file type cannot be processed:") + " " + std::to_string(type);
    if (!richText)
        return Translate("No rich-text engine is available for RTF, HTML and DOC files.");
    return {};
}

std::u16string ToUtf16(const std::string& utf8) {
    const std::string units = EncodeForLayout(utf8, TextLayout{2, false, 0});
    std::u16string text(units.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(units[2 * i]) |
                                        static_cast<unsigned char>(units[2 * i + 1]) << 8);
    return text;
}

void ShowPercent(RunControl& control, double percent) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << percent;
    control.SetStatusText(StatusPanel::State, " " + text.str() + Translate(" Percent Complete "));
}

bool IsBlankForLine(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\r';
}

int RichAppend(clsConversionOptions& task, RichTextEngine& engine, RunControl& control) {
    std::string error;
    int32_t sourceFormat = task.lOriginalFileType;
    auto source = engine.NewDocument();
    if (engine.OpenFile(task.sOriginalFile, sourceFormat, *source, error) != 0)
        return Finish(task, kSourceFailed, error);
    std::error_code ec;
    const fs::path folder = fs::path(task.sTargetFile).parent_path();
    if (!folder.empty() && !fs::exists(folder, ec))
        fs::create_directories(folder, ec);
    auto output = engine.NewDocument();
    if (!fs::exists(task.sTargetFile, ec))
        engine.FileSave(task.sTargetFile, task.lTargetFileType, *output, error);
    int32_t targetFormat = task.lTargetFileType;
    if (engine.OpenFile(task.sTargetFile, targetFormat, *output, error) != 0)
        return Finish(task, kTargetFailed, error);
    ShowPercent(control, 0);
    control.Checkpoint();
    ShowPercent(control, 50);
    if (!source->AppendAllTo(*output))
        return Finish(task, kTargetFailed);
    ShowPercent(control, 100);
    if (engine.FileSave(task.sTargetFile, task.lTargetFileType, *output, error) != 0)
        return Finish(task, kTargetFailed, error);
    return Finish(task, 0);
}

int RichRemoveEmptyLines(clsConversionOptions& task, RichTextEngine& engine, RunControl& control) {
    std::string error;
    int32_t sourceFormat = task.lOriginalFileType;
    auto source = engine.NewDocument();
    if (engine.OpenFile(task.sOriginalFile, sourceFormat, *source, error) != 0)
        return Finish(task, kSourceFailed, error);
    const std::u16string text = source->PlainText();
    if (source->TextReadFailed())
        return Finish(task, kSourceFailed, Translate(kTextUnread));
    auto output = engine.NewDocument();
    int lines = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(u'\n', start);
        const std::size_t next = end == std::u16string::npos ? text.size() : end + 1;
        bool blank = true;
        for (std::size_t k = start; k < next && blank; ++k)
            blank = IsBlankForLine(text[k]);
        // A kept line is copied with its paragraph end, so paragraphs stay apart.
        if (!blank && !source->AppendRangeTo(start, next - start, *output))
            return Finish(task, kTargetFailed);
        start = next;
        if (++lines % kProgressEvery == 0) {
            ShowPercent(control, 100.0 * static_cast<double>(start) / static_cast<double>(text.size() + 2));
            control.Checkpoint();
        }
    }
    ShowPercent(control, 100);
    if (engine.FileSave(task.sTargetFile, task.lTargetFileType, *output, error) != 0)
        return Finish(task, kTargetFailed, error);
    return Finish(task, 0);
}

// The start of the last occurrence of find that ends at or before end, or npos.
std::size_t FindLastBefore(const std::u16string& text, const std::u16string& find, std::size_t end,
                           bool caseSensitive) {
    if (find.size() > end)
        return std::u16string::npos;
    for (std::size_t at = end - find.size() + 1; at-- > 0;) {
        std::size_t k = 0;
        while (k < find.size() &&
               (caseSensitive ? text[at + k] == find[k] : FoldUnit(text[at + k], 2) == FoldUnit(find[k], 2)))
            ++k;
        if (k == find.size())
            return at;
    }
    return std::u16string::npos;
}

int RichSearchAndReplace(clsConversionOptions& task, RichTextEngine& engine, RunControl& control) {
    std::string error;
    int32_t sourceFormat = task.lOriginalFileType;
    auto document = engine.NewDocument();
    if (engine.OpenFile(task.sOriginalFile, sourceFormat, *document, error) != 0)
        return Finish(task, kSourceFailed, error);
    const std::u16string text = document->PlainText();
    // An unread text is no empty document: the task must not pass for done.
    if (document->TextReadFailed())
        return Finish(task, kSourceFailed, Translate(kTextUnread));
    const std::u16string find = ToUtf16(ExpandCharacterCodes(task.sFindString));
    const std::u16string replacement = ToUtf16(ExpandCharacterCodes(task.sReplaceString));
    if (text.empty() || find.empty())
        return Finish(task, 0);
    // Replacing from the end keeps every earlier position of the text valid.
    int replacements = 0;
    for (std::size_t end = text.size();;) {
        const std::size_t at = FindLastBefore(text, find, end, task.bCaseSensitive);
        if (at == std::u16string::npos)
            break;
        if (!document->ReplaceRange(at, find.size(), replacement))
            return Finish(task, kTargetFailed);
        if (++replacements % kProgressEvery == 0) {
            ShowPercent(control,
                        100.0 * static_cast<double>(text.size() - at) / static_cast<double>(text.size()));
            control.Checkpoint();
        }
        end = at;
    }
    if (engine.FileSave(task.sTargetFile, task.lTargetFileType, *document, error) != 0)
        return Finish(task, kTargetFailed, error);
    ShowPercent(control, 100);
    return Finish(task, 0);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

} // namespace

int AppendFile(clsConversionOptions& task, RichTextEngine* richText, RunControl& control) {
    if (SameFile(task.sOriginalFile, task.sTargetFile))
        return Finish(task, kSameFile);
    if (const std::string reason = UnsupportedReason(task.lOriginalFileType, richText); !reason.empty())
        return Finish(task, kSourceFailed, reason);
    if (IsRichType(task.lOriginalFileType))
        return RichAppend(task, *richText, control);
    return Finish(task, AppendTextFile(task.sOriginalFile, task.sTargetFile, task.lOriginalFileType));
}

int RemoveEmptyLines(clsConversionOptions& task, RichTextEngine* richText, RunControl& control) {
    if (const std::string reason = UnsupportedReason(task.lOriginalFileType, richText); !reason.empty())
        return Finish(task, kSourceFailed, reason);
    if (IsRichType(task.lOriginalFileType))
        return RichRemoveEmptyLines(task, *richText, control);
    return Finish(task, RemoveEmptyLinesFromFile(task.sOriginalFile, task.sTargetFile, task.lOriginalFileType,
                                                 control));
}

int SearchAndReplace(clsConversionOptions& task, RichTextEngine* richText, RunControl& control) {
    if (const std::string reason = UnsupportedReason(task.lOriginalFileType, richText); !reason.empty())
        return Finish(task, kSourceFailed, reason);
    if (IsRichType(task.lOriginalFileType))
        return RichSearchAndReplace(task, *richText, control);
    return Finish(task, ReplaceInTextFile(task.sOriginalFile, task.sTargetFile,
                                          ExpandCharacterCodes(task.sFindString),
                                          ExpandCharacterCodes(task.sReplaceString), task.bCaseSensitive,
                                          task.lOriginalFileType, control));
}

} // namespace slidemill
