// slidemill_bench_breakdown PROFILE_ROOT OUTDIR FILE...
// Where the time of one PPTX -> PDF conversion goes on a warm office. Every FILE (all in one
// folder, all with the first file's extension) is converted to PDF in OUTDIR several ways:
//   start    an office started and stopped three times (the profile is warm)
//   convert  each file through the engine on one warm office, nobody following its progress
//            (as the offices of a list converting several files at once run), split into the
//            engine's phases
//   follow   the same with a progress display, which the office then reports to page by page
//   list     one wildcard task through the conversion step on that office, one file at a time:
//            what the step adds per file (naming, claims, status, logging) beyond the engine
//   listing  reading the folder for the task's list alone
// Prints "key=value" lines in milliseconds; exit code 1 when any file failed.
#include "BenchSupport.h"
#include "core/ConversionOptions.h"
#include "core/RunControl.h"
#include "engine/LibreOfficeComponent.h"
#include "run/ConversionContext.h"
#include "run/ConversionStep.h"
#include "run/FailureSink.h"
#include "run/FileList.h"
#include "run/PdfStage.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using slidemill::ConversionTimings;

using slidemill::bench::CountingSink;
using slidemill::bench::MillisecondsSince;

struct Sums {
    ConversionTimings phases;
    int files = 0;
    int failed = 0;

    void Add(const ConversionTimings& t) {
        phases.waitForOffice += t.waitForOffice;
        phases.load += t.load;
        phases.inspect += t.inspect;
        phases.write += t.write;
        phases.close += t.close;
        phases.total += t.total;
        ++files;
    }
    void Print(const char* name) const {
        const double n = files > 0 ? files : 1;
        const double ours = phases.total - phases.load - phases.inspect - phases.write - phases.close -
                            phases.waitForOffice;
        std::printf("%s_load=%.1f %s_inspect=%.1f %s_write=%.1f %s_close=%.1f %s_ours=%.1f %s_total=%.1f\n",
                    name, phases.load / n, name, phases.inspect / n, name, phases.write / n, name,
                    phases.close / n, name, ours / n, name, phases.total / n);
    }
};

// Converts every file once on the component; the progress handler, when given, is installed.
Sums ConvertEach(slidemill::LibreOfficeComponent& engine, const std::vector<std::string>& files,
                 const fs::path& out, bool followProgress) {
    Sums sums;
    int reports = 0;
    if (followProgress)
        engine.SetProgressHandler([&reports] { ++reports; });
    for (const auto& file : files) {
        slidemill::ConversionProperties properties;
        properties.SourceFile = file;
        properties.TargetFile = (out / fs::path(file).stem().concat(".pdf")).string();
        properties.TargetFormat = 32;
        engine.SetProperties(properties);
        if (engine.Convert() != 0) {
            ++sums.failed;
            std::fprintf(stderr, "%s: %s\n", file.c_str(), engine.LastErrorText().c_str());
        }
        sums.Add(engine.LastTimings());
    }
    engine.SetProgressHandler(nullptr);
    if (followProgress && reports == 0) {
        std::fprintf(stderr, "the progress display was never called\n");
        ++sums.failed;
    }
    return sums;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: slidemill_bench_breakdown PROFILE_ROOT OUTDIR FILE...\n");
        return 2;
    }
    const fs::path out = fs::absolute(argv[2]);
    const std::vector<std::string> files(argv + 3, argv + argc);
    const auto wildcard = slidemill::bench::WildcardPdfTask(files, out / "list");
    if (!wildcard)
        return 2;

    slidemill::EngineOptions options;
    options.profileRoot = argv[1];
    options.offices = 1;
    slidemill::LibreOfficeComponent engine(options);

    // Office start-up and shut-down; the first start may still create or mark the profile.
    std::string version;
    engine.GetPowerPointVersion(version);
    engine.ShutDown();
    double startMs = 0, stopMs = 0;
    constexpr int kStarts = 3;
    for (int i = 0; i < kStarts; ++i) {
        auto start = std::chrono::steady_clock::now();
        std::string why;
        if (engine.WithOffice(60000, [](slidemill::Office&) {}, why) != 0) {
            std::fprintf(stderr, "no office: %s\n", why.c_str());
            return 1;
        }
        startMs += MillisecondsSince(start);
        start = std::chrono::steady_clock::now();
        engine.ShutDown();
        stopMs += MillisecondsSince(start);
    }
    std::printf("files=%zu\n", files.size());
    std::printf("office_start=%.1f office_stop=%.1f\n", startMs / kStarts, stopMs / kStarts);

    // One warm-up pass, so that every timed file meets an office that has converted before.
    fs::create_directories(out / "warm");
    ConvertEach(engine, {files.front()}, out / "warm", false);
    fs::create_directories(out / "convert");
    const Sums plain = ConvertEach(engine, files, out / "convert", false);
    plain.Print("convert");
    fs::create_directories(out / "follow");
    const Sums followed = ConvertEach(engine, files, out / "follow", true);
    followed.Print("follow");

    CountingSink sink;
    slidemill::UnavailablePdfStage pdf;
    slidemill::ConversionContext context{engine, slidemill::NullRunControl(), sink, pdf};
    slidemill::clsConversionOptions task = *wildcard;
    auto start = std::chrono::steady_clock::now();
    const int32_t result = slidemill::PerformBlockConversion(context, 1, task);
    const double listMs = MillisecondsSince(start);

    std::vector<std::string> listed;
    start = std::chrono::steady_clock::now();
    slidemill::clsConversionOptions listing = task;
    slidemill::BuildFileList(listing, listed, slidemill::NullRunControl());
    const double listingMs = MillisecondsSince(start);
    const double listedCount = listed.empty() ? 1.0 : static_cast<double>(listed.size());
    std::printf("list_per_file=%.1f listing=%.1f listed=%zu\n", listMs / listedCount, listingMs,
                listed.size());
    engine.ShutDown();

    const bool ok = plain.failed == 0 && followed.failed == 0 && sink.failures == 0 && result == 0 &&
                    listed.size() == files.size();
    return ok ? 0 : 1;
}
