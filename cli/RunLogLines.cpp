#include "cli/RunLogLines.h"

#include "core/Translate.h"

#include <cstdio>

namespace slidemill {

std::string JobLogLine(const std::string& taskNumber, const std::string& statusText,
                       const std::string& sourceFile) {
    return Translate("Job # ") + taskNumber + "  " + statusText + " - " + sourceFile;
}

std::string ConversionSuccessfulLine() {
    return Translate("Conversion Successful");
}

std::string TimeToCompleteLine(int64_t elapsedMilliseconds) {
    // Rounded to the nearest tenth in whole numbers, so no binary fraction tips a half.
    const int64_t tenths = (elapsedMilliseconds + (elapsedMilliseconds >= 0 ? 50 : -50)) / 100;
    const int64_t magnitude = tenths < 0 ? -tenths : tenths;
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld.%lld", tenths < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 10), static_cast<long long>(magnitude % 10));
    return Translate("Time to complete job: ") + text;
}

std::string InvalidArgumentsLine() {
    return Translate("Missing required or invalid command line argument(s)");
}

std::string UnableToCreateJobFileLine() {
    return Translate("Unable to create file. Try a different folder such as 'My Documents'");
}

std::string RefusalText(const std::string& programName, const std::string& reason,
                        const std::string& logFile) {
    std::string oneLine;
    for (char c : reason) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            if (!oneLine.empty() && oneLine.back() != ' ')
                oneLine += ' ';
            continue;
        }
        oneLine += c;
    }
    std::string text = programName + ": " + InvalidArgumentsLine();
    if (!oneLine.empty())
        text += ": " + oneLine;
    if (!logFile.empty())
        text += " (" + Translate("see the log") + " " + logFile + ")";
    return text + "\n";
}

} // namespace slidemill
