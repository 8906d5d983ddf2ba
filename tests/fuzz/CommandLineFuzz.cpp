// The command-line parser on arbitrary text, and the promise of the argument joiner: a value
// given after a bare switch, whatever it holds, never swallows the switches after it.
#include "cli/CommandLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace slidemill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CommandLineContext context;
    context.programFolder = "/nonexistent/slidemill";
    context.now = [] { return std::chrono::local_seconds{}; };

    // Only the switches are applied: validation would create folders and logs named by the input.
    clsConversionOptions task;
    if (!text.empty())
        ApplyCommandLineSwitches(text, task, context);
    std::string letter;
    GetCommandLineToken(CountCommandLineTokens(text, '/'), text, '/', letter);
    ExpandDateTimePlaceholders(text, std::chrono::local_seconds{});

    // The input as NUL-separated shell arguments, each given as the value of a switch.
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == '\0')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    std::vector<std::string> arguments;
    for (const std::string& piece : pieces) {
        arguments.push_back("/S");
        arguments.push_back(piece);
    }
    arguments.push_back("/C");
    arguments.push_back("32");
    arguments.push_back("/Y");
    arguments.push_back("7");
    clsConversionOptions joined;
    if (!ApplyCommandLineSwitches(JoinCommandLineArguments(arguments), joined, context))
        std::abort();
    if (joined.lTargetFileType != 32 || joined.lFromSlide != 7)
        std::abort();
    return 0;
}
