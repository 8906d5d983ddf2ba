#include "core/OptionsCell.h"

#include "core/FileTypes.h"

#include <charconv>
#include <vector>

namespace slidemill {

namespace {

constexpr std::string_view kFindMarker = "Find{{";
constexpr std::string_view kReplaceMarker = "}}Replace{{";
constexpr std::string_view kClose = "}}";
constexpr std::size_t kLetterZone = 9;
constexpr std::size_t kEarliestFind = 9; // "Find{{" must start at the tenth character or later

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

std::string EncodeLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (ch == '\t')
            out += "\xC2\xA9"
                   "9\xC2\xA9";
        else if (ch == '\r')
            out += "\xC2\xA9"
                   "13\xC2\xA9";
        else if (ch == '\n')
            out += "\xC2\xA9"
                   "10\xC2\xA9";
        else
            out += ch;
    }
    return out;
}

void AddProblem(std::string* problem, const std::string& text) {
    if (problem && problem->empty())
        *problem = text;
}

} // namespace

bool HasOptionLetter(std::string_view cell, char letter) {
    const std::size_t at = cell.find(letter);
    return at != std::string_view::npos && at < kLetterZone;
}

bool ParseCellNumber(std::string_view text, int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::size_t digitsStart = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        digitsStart = i + 1;
    std::size_t end = digitsStart;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end == digitsStart || (end < text.size() && text[end] != ' '))
        return false;
    int64_t parsed = 0;
    const char* first = text.data() + digitsStart;
    if (end - digitsStart > 10 || std::from_chars(first, text.data() + end, parsed).ec != std::errc())
        return false;
    if (text[i] == '-')
        parsed = -parsed;
    if (parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

bool IsLaunchCode(int32_t code) {
    return code == kSpecialLaunch;
}

std::string OptionLetters(const clsConversionOptions& record) {
    std::string letters;
    if (record.bDoSubfolders)
        letters += 'R';
    if (record.bSaveInOriginalFolder)
        letters += 'G';
    if (record.lConversionMethod == kMethodWord)
        letters += 'M';
    if (record.lConversionMethod == kMethodFromPdf)
        letters += 'P';
    if (record.lConversionMethod == kMethodSpecial && record.bCaseSensitive)
        letters += 'D';
    if (record.bCreateFileForEachSlide)
        letters += 'C';
    if (record.bConvertAllSlides)
        letters += 'A';
    return letters;
}

std::string LaunchOptionsCell(int32_t priority, int32_t windowState, int32_t waitTime) {
    return "T" + std::to_string(priority) + " S" + std::to_string(windowState) + " W" +
           std::to_string(waitTime);
}

std::string FindReplaceTail(const std::string& find, const std::string& replace) {
    return std::string(10, ' ') + std::string(kFindMarker) + EncodeLineBreaks(find) + std::string(kClose) +
           "Replace{{" + EncodeLineBreaks(replace) + std::string(kClose);
}

std::string BuildOptionsCell(const clsConversionOptions& record) {
    const bool special = IsSpecialAction(record.sActionToDo) && !IsConversionAction(record.sActionToDo);
    if (special && IsLaunchCode(record.lSpecialProcess))
        return LaunchOptionsCell(record.lCommandLineThreadPriority, record.lCommandLineWindowState,
                                 record.lCommandLineWaitTime);
    std::string cell = OptionLetters(record) + "," + std::to_string(record.lFromSlide) + "," +
                       std::to_string(record.lToSlide);
    if (special && record.lSpecialProcess == kSpecialSearchReplace)
        cell += FindReplaceTail(record.sFindString, record.sReplaceString);
    return cell;
}

bool ReadOptionsCell(std::string_view cell, const std::string& action, clsConversionOptions& record,
                     std::string* problem) {
    bool clean = true;
    const bool conversion = IsConversionAction(action);
    record.bSaveInOriginalFolder = HasOptionLetter(cell, 'G');
    record.bDoSubfolders = HasOptionLetter(cell, 'R');
    record.bCaseSensitive = HasOptionLetter(cell, 'D');
    record.bCreateFileForEachSlide = HasOptionLetter(cell, 'C');

    if (HasOptionLetter(cell, 'A')) {
        record.bConvertAllSlides = true;
    } else {
        record.bConvertAllSlides = false;
        const std::vector<std::string_view> pieces = Split(cell, ',');
        if (pieces.size() > 1) {
            int32_t from = record.lFromSlide;
            int32_t to = record.lToSlide;
            const bool fromOk = ParseCellNumber(pieces[1], from);
            const bool toOk = pieces.size() > 2 && ParseCellNumber(pieces[2], to);
            if (fromOk)
                record.lFromSlide = from;
            if (toOk)
                record.lToSlide = to;
            if (conversion && (!fromOk || !toOk)) {
                clean = false;
                AddProblem(problem, "the slide numbers of the options cell do not parse");
            }
        } else if (conversion) {
            // Without numbers the run would take the slide range of whatever task ran before.
            clean = false;
            AddProblem(problem, "the options cell has no slide numbers");
        }
    }

    if (conversion) {
        if (HasOptionLetter(cell, 'M'))
            record.lConversionMethod = kMethodWord;
        else if (HasOptionLetter(cell, 'P'))
            record.lConversionMethod = kMethodFromPdf;
        else
            record.lConversionMethod = kMethodComponent;
        return clean;
    }
    if (!IsSpecialAction(action))
        return clean;
    // Every special process names its targets and types by its own type codes.
    record.lConversionMethod = kMethodSpecial;

    if (IsLaunchCode(record.lSpecialProcess)) {
        std::string values;
        for (char ch : cell)
            if (ch != 'T' && ch != 'S' && ch != 'W')
                values += ch;
        std::vector<std::string_view> pieces;
        for (std::string_view piece : Split(values, ' '))
            if (!piece.empty())
                pieces.push_back(piece);
        int32_t numbers[3] = {record.lCommandLineThreadPriority, record.lCommandLineWindowState,
                              record.lCommandLineWaitTime};
        bool ok = pieces.size() == 3;
        for (std::size_t i = 0; ok && i < 3; ++i)
            ok = ParseCellNumber(pieces[i], numbers[i]);
        if (!ok) {
            AddProblem(problem,
                       "the launch options cell does not read as priority, window state and wait time");
            return false;
        }
        record.lCommandLineThreadPriority = numbers[0];
        record.lCommandLineWindowState = numbers[1];
        record.lCommandLineWaitTime = numbers[2];
        return clean;
    }

    if (record.lSpecialProcess == kSpecialSearchReplace) {
        const std::size_t findAt = cell.find(kFindMarker);
        if (findAt == std::string_view::npos || findAt < kEarliestFind) {
            AddProblem(problem, "the options cell holds no find text");
            return false;
        }
        const std::string_view afterFind = cell.substr(findAt + kFindMarker.size());
        const std::size_t replaceAt = afterFind.find(kReplaceMarker);
        if (replaceAt == std::string_view::npos) {
            AddProblem(problem, "the options cell holds no replacement text");
            return false;
        }
        const std::string_view afterReplace = afterFind.substr(replaceAt + kReplaceMarker.size());
        const std::size_t closeAt = afterReplace.find(kClose);
        if (closeAt == std::string_view::npos) {
            AddProblem(problem, "the replacement text of the options cell is not closed");
            return false;
        }
        record.sFindString = std::string(afterFind.substr(0, replaceAt));
        record.sReplaceString = std::string(afterReplace.substr(0, closeAt));
    }
    return clean;
}

} // namespace slidemill
