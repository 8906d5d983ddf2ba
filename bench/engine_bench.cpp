// slidemill_bench_engine PROFILE_ROOT OUTDIR FILE...
// Converts every FILE to PDF in OUTDIR through one LibreOfficeComponent (one office, kept warm),
// the way a conversion run drives it, and prints one line:
//   files=N ok=N startup_ms=X convert_ms=Y total_ms=Z
// startup_ms is the office start (the first version query starts it), convert_ms the conversions
// after it. Exit code 1 when any file failed, 2 on bad arguments.
#include "engine/LibreOfficeComponent.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: slidemill_bench_engine PROFILE_ROOT OUTDIR FILE...\n");
        return 2;
    }
    const std::filesystem::path outFolder(argv[2]);
    std::vector<std::string> files(argv + 3, argv + argc);

    slidemill::EngineOptions options;
    options.profileRoot = argv[1];
    slidemill::LibreOfficeComponent component(options);

    const auto start = std::chrono::steady_clock::now();
    std::string version;
    component.GetPowerPointVersion(version);
    const double startupMs = MillisecondsSince(start);

    const auto convertStart = std::chrono::steady_clock::now();
    int ok = 0;
    for (const std::string& file : files) {
        // The same calls, in the same order, as a conversion run makes for each file.
        component.GetPowerPointVersion(version);
        component.SetFromSlide(0);
        component.SetToSlide(0);
        component.SetOneFilePerSlide(false);
        component.SetSourceFile(file);
        const std::string target = (outFolder / std::filesystem::path(file).stem()).string() + ".pdf";
        component.SetTargetFile(target);
        component.SetTargetFormat(32);
        component.SetIncludeNotesPage(false);
        component.SetNotesOnly(false);
        component.SetShowSlideAndShape(false);
        const int32_t result = component.Convert();
        if (result == 0) {
            ++ok;
        } else {
            std::fprintf(stderr, "%s: %d %s\n", file.c_str(), static_cast<int>(result),
                         component.LastErrorText().c_str());
            if (result == -1)
                break;
        }
    }
    const double convertMs = MillisecondsSince(convertStart);
    const double totalMs = MillisecondsSince(start);
    component.ShutDown();

    std::printf("files=%zu ok=%d startup_ms=%.0f convert_ms=%.0f total_ms=%.0f version=%s\n", files.size(),
                ok, startupMs, convertMs, totalMs, version.c_str());
    return ok == static_cast<int>(files.size()) ? 0 : 1;
}
