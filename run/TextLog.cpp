#include "run/TextLog.h"

#include "core/Prompt.h"
#include "core/Translate.h"
#include "platform/GlobalLock.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <set>

namespace slidemill {

namespace {

std::mutex& HandlerMutex() {
    static std::mutex mutex;
    return mutex;
}

LogFailureHandler& InstalledHandler() {
    static LogFailureHandler handler;
    return handler;
}

void ReportToStandardError(const std::string& logFile, const std::string& reason) {
    // A log named in a script is usually written many times per run; one warning per path is
    // enough to tell the user, more would drown the run's own output.
    static std::set<std::string> reported;
    if (!reported.insert(logFile).second)
        return;
    // A path of any length may arrive from a caller; the message stays readable.
    constexpr std::size_t kShown = 300;
    const std::string shown = logFile.size() <= kShown ? logFile : logFile.substr(0, kShown) + "...";
    std::cerr << "slidemill: cannot write to the log file " << shown << ": " << reason << "\n";
}

void ReportFailure(const std::string& logFile, const std::string& reason) {
    std::lock_guard lock(HandlerMutex());
    if (InstalledHandler())
        InstalledHandler()(logFile, reason);
    else
        ReportToStandardError(logFile, reason);
}

std::string FailureReason(const std::string& logFile) {
    std::error_code ec;
    const std::filesystem::path path(logFile);
    if (path.has_parent_path() && !std::filesystem::is_directory(path.parent_path(), ec))
        return "its folder does not exist";
    if (std::filesystem::is_directory(path, ec))
        return "it is a folder";
    return "it cannot be opened for writing";
}

// Writes under the lock; the whole text goes out before the lock is given up, so a long line
// is never split by another writer. Empty when written, else why not.
std::string WriteLocked(const std::string& text, const std::string& logFile) {
    GlobalMutexGuard guard;
    if (!guard.Held())
        return guard.Error();
    std::ofstream out(logFile, std::ios::out | std::ios::app | std::ios::binary);
    if (out) {
        out << text << '\n';
        out.flush();
        if (out)
            return {};
    }
    return FailureReason(logFile);
}

} // namespace

bool AppendToLogFile(const std::string& line, const std::string& logFile, bool show, Prompt* prompt) {
    bool written = true;
    if (!logFile.empty()) {
        std::string reason;
        try {
            reason = WriteLocked(line, logFile);
        } catch (...) {
            reason = FailureReason(logFile);
        }
        written = reason.empty();
        if (!written)
            ReportFailure(logFile, reason);
    }
    if (show && prompt)
        prompt->Ask(line, Translate("Slidemill"), PromptButtons::OK, PromptIcon::Information);
    return written;
}

void SetLogFailureHandler(LogFailureHandler handler) {
    std::lock_guard lock(HandlerMutex());
    InstalledHandler() = std::move(handler);
}

std::string FormatProgramVersion(const std::string& dottedVersion) {
    std::string parts[3];
    int index = 0;
    for (char c : dottedVersion) {
        if (c == '.') {
            if (++index > 2)
                break;
        } else {
            parts[index] += c;
        }
    }
    if (parts[0].empty())
        parts[0] = "0";
    if (parts[1].empty())
        parts[1] = "0";
    return parts[0] + "." + parts[1] + parts[2];
}

std::string FormatLogDateTime(std::chrono::local_seconds when) {
    using namespace std::chrono;
    const local_days day = floor<days>(when);
    const year_month_day date(day);
    const hh_mm_ss<seconds> time(when - day);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string LogHeaderText(const std::string& programName, const std::string& dottedVersion,
                          std::chrono::local_seconds when) {
    return "---------- " + programName + " (v" + FormatProgramVersion(dottedVersion) + ") ----------\n" +
           Translate("Date") + ": " + FormatLogDateTime(when);
}

} // namespace slidemill
