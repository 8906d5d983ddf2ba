#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// The lines an unattended run adds to its text log, translated.

// "Job # <task>  <status> - <source>" for one row of the failure log.
std::string JobLogLine(const std::string& taskNumber, const std::string& statusText,
                       const std::string& sourceFile);
std::string ConversionSuccessfulLine();
// "Time to complete job: 12.3": the elapsed milliseconds as seconds with one decimal.
std::string TimeToCompleteLine(int64_t elapsedMilliseconds);
std::string InvalidArgumentsLine();
std::string UnableToCreateJobFileLine();

// What standard error says about a refused command line: the reason itself (its line breaks
// turned into spaces, so that it reads as one line), and where the log is when there is one.
std::string RefusalText(const std::string& programName, const std::string& reason,
                        const std::string& logFile);

} // namespace slidemill
