#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// How the LibreOffice engine runs its office process. The defaults suit a desktop batch run;
// tests shorten the deadlines.
struct EngineOptions {
    // The office binary itself (not the soffice launcher script: we need its process id).
    std::string officeProgram = "/usr/lib/libreoffice/program/soffice.bin";
    // Where the office profiles live; empty: <user cache folder>/slidemill.
    std::string profileRoot;
    // A load or an export not finished by baseDeadlineMs + perSlideDeadlineMs × slides is
    // abandoned: the office is killed and the file fails.
    int64_t baseDeadlineMs = 60000;
    int64_t perSlideDeadlineMs = 2000;
    // Starting an office: how long one attempt may take, and how many attempts before the
    // engine gives up for good.
    int64_t startTimeoutMs = 60000;
    int startAttempts = 3;
    // A warm office is replaced after this many conversions or once it holds this much memory.
    int recycleAfterConversions = 200;
    int64_t memoryLimitBytes = int64_t{1} << 30;
    // Width of slide pictures (per-slide images and the pictures of the RTF outline); the
    // height follows the slide's proportions.
    int32_t imageWidthPx = 1280;
    // How many offices convert the files of a list at the same time; 0: one per processor
    // core, at most 4 (an office keeps about one core busy, and each holds its own memory).
    int offices = 0;
    // The program runs a command line rather than a window session: messages are laid out for
    // a console. The command line sets it; the engine never reads the program's globals.
    bool commandLineMode = false;
};

} // namespace slidemill
