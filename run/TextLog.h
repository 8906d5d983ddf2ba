#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace slidemill {

class Prompt;

// Appends line and a line break to the text log logFile (created when missing) while holding
// the machine-wide log lock, so runs sharing one log never interleave inside a line. An empty
// path writes nothing and counts as success. With show, the line is then offered to prompt as
// an information box; the lock is released first, so a box left open never blocks the other
// instances' logging. False when the file could not be written; the run goes on and the
// failure is reported once per path through the log failure handler.
bool AppendToLogFile(const std::string& line, const std::string& logFile, bool show,
                     Prompt* prompt = nullptr);

// Who hears that a log could not be written; by default a line on standard error, once per
// log path. A test or the automation service may install its own; an empty handler restores
// the default.
using LogFailureHandler = std::function<void(const std::string& logFile, const std::string& reason)>;
void SetLogFailureHandler(LogFailureHandler handler);

// "3.012" from "3.0.12": major, ".", minor and the revision written straight after it.
std::string FormatProgramVersion(const std::string& dottedVersion);

// "2024-03-07 09:05:30": the date-and-time form of log headers.
std::string FormatLogDateTime(std::chrono::local_seconds when);

// The two header lines that open every run's part of a log:
// "---------- <program> (v<version>) ----------" and "Date: <date and time>".
std::string LogHeaderText(const std::string& programName, const std::string& dottedVersion,
                          std::chrono::local_seconds when);

} // namespace slidemill
