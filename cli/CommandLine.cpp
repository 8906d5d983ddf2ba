#include "cli/CommandLine.h"

#include "core/FileTypes.h"
#include "platform/Environment.h"
#include "platform/LocalTime.h"
#include "run/TextLog.h"
#include "run/Validation.h"
#include "settings/PathText.h"
#include "settings/Paths.h"
#include "settings/SettingsGlobals.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>

namespace slidemill {

using pathtext::TrimSpaces;

namespace {

constexpr const char* kValueSwitches = "SFTCYZLBJ";

bool IsBareValueSwitch(const std::string& argument) {
    const std::string trimmed = TrimSpaces(argument);
    if (trimmed.size() != 2 || trimmed[0] != '/')
        return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(trimmed[1])));
    return letter != '\0' && std::string(kValueSwitches).find(letter) != std::string::npos;
}

// The whole text must be a number in range; anything else leaves the field as it was.
bool ParseInteger(const std::string& text, int32_t& value) {
    std::string digits = TrimSpaces(text);
    if (!digits.empty() && digits.front() == '+')
        digits.erase(0, 1);
    if (digits.empty())
        return false;
    int32_t parsed = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, parsed);
    if (error != std::errc() || stop != end)
        return false;
    value = parsed;
    return true;
}

// A value with "/" that is not absolute is taken from the current folder, as a shell user
// means it; the run and its log then name the file unambiguously.
std::string AnchoredAtCurrentFolder(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (ec)
        return path;
    return (here / path).lexically_normal().string();
}

std::string ApplyPathRules(const std::string& value, const CommandLineContext& context) {
    // Quotes go first so that a quoted "~/..." still names the home folder; folder tokens are
    // found anywhere in the text, so for them the order makes no difference.
    std::string path = StripQuotes(value);
    path = ExpandFolderTokens(path);
    if (path.find('/') == std::string::npos) {
        const std::string folder = context.programFolder.empty() ? ExecutableFolder() : context.programFolder;
        return pathtext::WithTrailingSlash(folder) + path;
    }
    return AnchoredAtCurrentFolder(path);
}

std::chrono::local_seconds Now(const CommandLineContext& context) {
    return context.now ? context.now() : CurrentLocalTime();
}

// The wildcard name of the task's target type ("*.pdf"), for targets beside their sources.
std::string WildcardTargetName(const clsConversionOptions& task, ConversionComponent* component) {
    std::string name = TypeCodeToText(task.lTargetFileType, true, task.lConversionMethod, component);
    if (!name.empty() && name.find('*') == std::string::npos)
        name = "*." + name;
    return name;
}

void ApplySwitch(char letter, const std::string& value, clsConversionOptions& task,
                 CommandLineContext& context) {
    switch (letter) {
    case 'S':
        task.sOriginalFile = ApplyPathRules(value, context);
        break;
    case 'F':
        ParseInteger(value, task.lOriginalFileType);
        break;
    case 'T':
        task.sTargetFile = ApplyPathRules(value, context);
        break;
    case 'C':
        ParseInteger(value, task.lTargetFileType);
        break;
    case 'Y':
        ParseInteger(value, task.lFromSlide);
        task.bConvertAllSlides = false;
        break;
    case 'Z':
        ParseInteger(value, task.lToSlide);
        task.bConvertAllSlides = false;
        break;
    case 'E':
        task.bCreateFileForEachSlide = true;
        break;
    case 'R':
        task.bDoSubfolders = true;
        break;
    case 'G':
        task.bSaveInOriginalFolder = true;
        break;
    case 'V':
        task.bVerbose = true;
        break;
    case 'L':
        task.sLogFile = ExpandDateTimePlaceholders(ApplyPathRules(value, context), Now(context));
        if (context.shard)
            task.sLogFile = ExpandShardPlaceholder(task.sLogFile, *context.shard);
        break;
    case 'B':
        task.sLogAsConversionJobFile = ApplyPathRules(value, context);
        if (context.shard)
            task.sLogAsConversionJobFile = ExpandShardPlaceholder(task.sLogAsConversionJobFile, *context.shard);
        break;
    case 'J':
        task.sCLBatchJobFile = ApplyPathRules(value, context);
        break;
    case 'O':
        task.bOpenButDoNotRun = true;
        bCommandLineMode = false;
        break;
    default:
        // Unknown letters are passed over without a word, so newer lines still run here.
        break;
    }
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string TwoDigits(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u", value % 100);
    return text;
}

} // namespace

std::vector<std::string> SplitCommandLineTokens(const std::string& text, char separator) {
    // Only paired quotes protect: the last quote of an odd count is an ordinary character.
    std::size_t quotes = static_cast<std::size_t>(std::count(text.begin(), text.end(), '"'));
    std::size_t protectingQuotes = quotes - quotes % 2;
    std::vector<std::string> tokens(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"' && protectingQuotes > 0) {
            --protectingQuotes;
            quoted = !quoted;
        }
        if (c == separator && !quoted)
            tokens.emplace_back();
        else
            tokens.back() += c;
    }
    return tokens;
}

int CountCommandLineTokens(const std::string& text, char separator) {
    return static_cast<int>(SplitCommandLineTokens(text, separator).size());
}

std::string GetCommandLineToken(int index, const std::string& text, char separator, std::string& letter) {
    letter.clear();
    const std::vector<std::string> tokens = SplitCommandLineTokens(text + " ", separator);
    if (index < 1 || static_cast<std::size_t>(index) > tokens.size())
        return {};
    const std::string& token = tokens[static_cast<std::size_t>(index) - 1];
    if (token.empty())
        return {};
    letter = TrimSpaces(token.substr(0, 1));
    return TrimSpaces(token.substr(1));
}

std::string StripQuotes(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (c != '"')
            result += c;
    return result;
}

std::chrono::local_seconds CurrentLocalTime() {
    return LocalTimeOfInstant(std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
}

std::string ExpandDateTimePlaceholders(const std::string& text, std::chrono::local_seconds now) {
    using namespace std::chrono;
    if (text.empty() || text.find('[') == std::string::npos)
        return text;
    const local_days day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss<seconds> time(now - day);
    char yearText[16];
    std::snprintf(yearText, sizeof yearText, "%04d", static_cast<int>(date.year()));
    const std::string year = yearText;
    const std::string month = TwoDigits(static_cast<unsigned>(date.month()));
    const std::string dayOfMonth = TwoDigits(static_cast<unsigned>(date.day()));
    const std::string hour = TwoDigits(static_cast<unsigned>(time.hours().count()));
    const std::string minute = TwoDigits(static_cast<unsigned>(time.minutes().count()));
    const std::string second = TwoDigits(static_cast<unsigned>(time.seconds().count()));

    std::string result = text;
    ReplaceAll(result, "[Y]", year);
    ReplaceAll(result, "[M]", month);
    ReplaceAll(result, "[D]", dayOfMonth);
    ReplaceAll(result, "[YMD]", year + month + dayOfMonth);
    ReplaceAll(result, "[MDY]", month + dayOfMonth + year);
    ReplaceAll(result, "[H]", hour);
    ReplaceAll(result, "[I]", minute);
    ReplaceAll(result, "[S]", second);
    ReplaceAll(result, "[HIS]", hour + minute + second);
    return result;
}

std::string ExpandDateTimePlaceholders(const std::string& text) {
    return ExpandDateTimePlaceholders(text, CurrentLocalTime());
}

std::string JoinCommandLineArguments(const std::vector<std::string>& arguments) {
    std::string line;
    bool valueExpected = false;
    for (const std::string& argument : arguments) {
        std::string piece = argument;
        if (valueExpected) {
            // Quotes in a value would be removed by the path rules anyway; left in, one of
            // them could pair with a quote of a later value and hide the switches between.
            piece = StripQuotes(piece);
            if (piece.find('/') != std::string::npos || piece.empty())
                piece = "\"" + piece + "\"";
            valueExpected = false;
        } else {
            valueExpected = IsBareValueSwitch(argument);
        }
        if (!line.empty())
            line += ' ';
        line += piece;
    }
    return line;
}

bool ApplyCommandLineSwitches(const std::string& line, clsConversionOptions& task,
                              CommandLineContext& context) {
    context.helpRequested = false;
    bCommandLineMode = true;

    // One pass over the tokens: a long line of separators must not cost a scan per token.
    const std::vector<std::string> tokens = SplitCommandLineTokens(line + " ", '/');
    for (std::size_t index = 1; index < tokens.size(); ++index) {
        const std::string& token = tokens[index];
        const std::string letter = TrimSpaces(token.substr(0, 1));
        if (letter.empty())
            continue;
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
        if (upper == '?') {
            context.helpRequested = true;
            return false;
        }
        ApplySwitch(upper, TrimSpaces(token.substr(1)), task, context);
    }

    if (task.bSaveInOriginalFolder) {
        const std::size_t slash = task.sOriginalFile.rfind('/');
        std::string folder = slash == std::string::npos ? std::string() : task.sOriginalFile.substr(0, slash);
        if (folder.empty() || folder.back() != '/')
            folder += '/';
        task.sTargetFile = folder + WildcardTargetName(task, context.component);
    }

    if (!task.sCLBatchJobFile.empty() && task.sCLBatchJobFile.find("#OPEN.MJB") != std::string::npos) {
        task.bOpenButDoNotRun = true;
        bCommandLineMode = false;
    }
    return true;
}

bool ParseCommandLine(const std::string& line, clsConversionOptions& task, CommandLineContext& context) {
    context.helpRequested = false;
    if (line.empty()) {
        bCommandLineMode = false;
        return false;
    }
    if (!ApplyCommandLineSwitches(line, task, context))
        return false;

    ValidateTask(task, context.component);

    if (!task.sLogFile.empty()) {
        std::string header = LogHeaderText(context.programName, SLIDEMILL_VERSION, Now(context));
        if (context.shard)
            header += "\n" + ShardHeaderLine(*context.shard);
        AppendToLogFile(header, task.sLogFile, false);
    }

    if (task.lErr == 0)
        return true;
    ReportCommandLineError(task, context.prompt);
    return false;
}

std::string CommandLineSwitchTable() {
    return "Usage: slidemill /S <source> /T <target> /C <type> [switches]\n"
           "       slidemill /J <job file> [/O] [/L <log>]\n"
           "       slidemill --shard K/N|auto /S ... or /J ...\n"
           "\n"
           "  /S <path>   source file, or a wildcard pattern such as \"/data/in/*.pptx\"\n"
           "  /F <n>      file-type code of the source\n"
           "  /T <path>   target file, or a wildcard pattern such as \"/data/out/*.pdf\"\n"
           "  /C <n>      target file-type code (32 is PDF)\n"
           "  /Y <n>      first slide to convert\n"
           "  /Z <n>      last slide to convert\n"
           "  /E          one output file for each slide\n"
           "  /R          include the subfolders of a wildcard source\n"
           "  /G          write each target beside its source\n"
           "  /V          show every log line in a message box as well\n"
           "  /L <path>   append a text log; [YMD] [MDY] [Y] [M] [D] [HIS] [H] [I] [S] become\n"
           "              the date and time\n"
           "  /B <path>   save the failed files as a conversion job file after the run\n"
           "  /J <path>   run a conversion job file (.MJB)\n"
           "  /O          with /J: open the job in the window instead of running it\n"
           "  /?          this help\n"
           "\n"
           "  --shard K/N   convert only shard K of N (K counts from 0) of every file list, so\n"
           "                that N runs started anywhere share the list: each file falls to one\n"
           "                shard by its path under the source folder. Single files go to shard 0;\n"
           "                jobs with append or launch tasks are refused. \"[SHARD]\" in /L and /B\n"
           "                becomes K-of-N, and the log lists the shard's files.\n"
           "  --shard auto  K and N from the array job running this: Slurm (SLURM_ARRAY_TASK_*),\n"
           "                a Kubernetes Indexed Job (JOB_COMPLETION_INDEX) or AWS Batch\n"
           "                (AWS_BATCH_JOB_ARRAY_INDEX), the last two with SLIDEMILL_SHARDS=N.\n"
           "\n"
           "A value after a switch given as its own argument is taken whole, slashes included;\n"
           "quote wildcards so the shell leaves them alone. A name without \"/\" names a file in\n"
           "the program's folder. Exit code: 0 all converted, 1 some files or tasks failed,\n"
           "2 the command line was invalid (the reason is in the log).\n";
}

} // namespace slidemill
