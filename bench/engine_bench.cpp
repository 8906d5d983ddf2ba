// slidemill_bench_engine PROFILE_ROOT OUTDIR OFFICES FILE...
// Converts every FILE (all in one folder, all with the first file's extension) to PDF in OUTDIR
// the way a conversion run does: one wildcard task through the conversion step, on the
// LibreOffice engine with OFFICES offices (0: as many as the engine chooses). Prints one line:
//   files=N ok=N failed=N offices=K startup_ms=X convert_ms=Y total_ms=Z
// startup_ms is the first office's start (the version query starts it), convert_ms the step
// after it, which includes starting the other offices. Exit code 1 when any file failed, 2 on
// bad arguments.
#include "BenchSupport.h"
#include "core/ConversionOptions.h"
#include "core/RunControl.h"
#include "engine/LibreOfficeComponent.h"
#include "run/ConversionContext.h"
#include "run/ConversionStep.h"
#include "run/FailureSink.h"
#include "run/PdfStage.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using slidemill::bench::CountingSink;
using slidemill::bench::MillisecondsSince;

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: slidemill_bench_engine PROFILE_ROOT OUTDIR OFFICES FILE...\n");
        return 2;
    }
    const fs::path outFolder = fs::absolute(argv[2]);
    const std::vector<std::string> files(argv + 4, argv + argc);
    auto task = slidemill::bench::WildcardPdfTask(files, outFolder);
    if (!task)
        return 2;

    slidemill::EngineOptions options;
    options.profileRoot = argv[1];
    options.offices = std::atoi(argv[3]);
    slidemill::LibreOfficeComponent component(options);

    const auto start = std::chrono::steady_clock::now();
    std::string version;
    component.GetPowerPointVersion(version);
    const double startupMs = MillisecondsSince(start);

    CountingSink sink;
    slidemill::UnavailablePdfStage pdf;
    slidemill::ConversionContext context{component, slidemill::NullRunControl(), sink, pdf};

    const auto convertStart = std::chrono::steady_clock::now();
    const int32_t result = slidemill::PerformBlockConversion(context, 1, *task);
    const double convertMs = MillisecondsSince(convertStart);
    const double totalMs = MillisecondsSince(start);
    const int offices = component.ConcurrentConversions();
    component.ShutDown();

    int written = 0;
    for (const auto& file : files)
        written += fs::exists(outFolder / fs::path(file).stem().concat(".pdf")) ? 1 : 0;
    std::printf("files=%zu ok=%d failed=%d offices=%d startup_ms=%.0f convert_ms=%.0f total_ms=%.0f "
                "version=%s\n",
                files.size(), written, sink.failures, offices, startupMs, convertMs, totalMs,
                version.c_str());
    return result == 0 && sink.failures == 0 && written == static_cast<int>(files.size()) ? 0 : 1;
}
