#pragma once

#include "core/ConversionOptions.h"
#include "run/FailureSink.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace slidemill::bench {

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Counts the files a conversion step fails and prints each one.
class CountingSink : public FailureSink {
public:
    int failures = 0;
    void LogConversionError(int32_t, const clsConversionOptions& record) override {
        ++failures;
        std::fprintf(stderr, "%s: %d %s\n", record.sOriginalFile.c_str(), static_cast<int>(record.lErr),
                     record.sErr.c_str());
    }
};

// The PPTX -> PDF wildcard task a run would make of FILES, all in one folder and with one
// extension; nothing, and the reason printed, when they are not.
inline std::optional<clsConversionOptions> WildcardPdfTask(const std::vector<std::string>& files,
                                                           const std::filesystem::path& outFolder) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::absolute(files.front()).parent_path();
    const std::string extension = fs::path(files.front()).extension().string();
    for (const auto& file : files) {
        if (fs::absolute(file).parent_path() != folder || fs::path(file).extension() != extension) {
            std::fprintf(stderr, "every FILE must be in %s and end with %s\n", folder.c_str(), extension.c_str());
            return std::nullopt;
        }
    }
    clsConversionOptions task;
    task.sOriginalFile = (folder / ("*" + extension)).string();
    task.sTargetFile = (outFolder / "*.pdf").string();
    task.lTargetFileType = 32;
    task.lOriginalFileType = 3;
    return task;
}

} // namespace slidemill::bench
