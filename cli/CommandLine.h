#pragma once

#include "core/ConversionOptions.h"
#include "run/Shard.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace slidemill {

class ConversionComponent;
class Prompt;

// What the parser needs beyond the line itself.
struct CommandLineContext {
    // Target formats and extensions (validation, the wildcard target of /G); null: none known.
    ConversionComponent* component = nullptr;
    // Message boxes for /V; null: nothing is shown.
    Prompt* prompt = nullptr;
    // Where a value without "/" lives; empty: the executable's own folder.
    std::string programFolder;
    // Named in the log header.
    std::string programName = "slidemill";
    // The clock of date/time placeholders and of the log header; empty: the real local time.
    std::function<std::chrono::local_seconds()> now;
    // The part of a split run this line is (--shard): "[SHARD]" in /L and /B becomes
    // "K-of-N" and the log header names it. Without one "[SHARD]" stays as it is.
    std::optional<ShardSpec> shard;

    // Set by the parser when the line asked for the help page (/?); showing it is the
    // caller's job.
    bool helpRequested = false;
};

// Turns a command line into a conversion task (filled in place), validates it, writes the log
// header and reports a validation failure to the log. True when the run may go ahead; false
// for an empty line, /?, or an invalid task. Sets bCommandLineMode.
bool ParseCommandLine(const std::string& line, clsConversionOptions& task, CommandLineContext& context);

// The first half of ParseCommandLine: the switches of a non-empty line applied to task,
// targets rebuilt beside their sources for /G and the open-only marker of the job name
// honoured; nothing is validated, created or logged. False when the line asked for help.
bool ApplyCommandLineSwitches(const std::string& line, clsConversionOptions& task,
                              CommandLineContext& context);

// The program's arguments (without the program name) as one line for the parser. An argument
// that follows a bare value-taking switch (/S /F /T /C /Y /Z /L /B /J) is that switch's whole
// value: it is quoted when it holds a "/", so that its slashes do not start switches.
std::string JoinCommandLineArguments(const std::vector<std::string>& arguments);

// The tokens of text cut at separator; a separator between two double quotes does not cut.
// A double quote without a partner protects nothing. Token 1 is the text before the first cut.
std::vector<std::string> SplitCommandLineTokens(const std::string& text, char separator);
// 1 plus the number of separators that cut text.
int CountCommandLineTokens(const std::string& text, char separator);
// The value of the 1-based token index (the token without its first character), with letter
// set to its first character; both trimmed of spaces. "" for an index out of range.
std::string GetCommandLineToken(int index, const std::string& text, char separator, std::string& letter);

// Every double-quote character removed.
std::string StripQuotes(const std::string& text);

// "[Y]" "[M]" "[D]" "[YMD]" "[MDY]" "[H]" "[I]" "[S]" "[HIS]" replaced by the parts of now;
// only these upper-case forms are recognised.
std::string ExpandDateTimePlaceholders(const std::string& text, std::chrono::local_seconds now);
std::string ExpandDateTimePlaceholders(const std::string& text);

// The current local time to the second.
std::chrono::local_seconds CurrentLocalTime();

// The switch table the help switch shows where no help page can be opened.
std::string CommandLineSwitchTable();

} // namespace slidemill
