// Times one native text process on one file and reports its peak memory.
// Usage: slidemill_bench_textproc replace SOURCE TARGET FIND REPLACEMENT
//        slidemill_bench_textproc lines SOURCE TARGET
// Prints "<seconds> <peak resident kB>"; exits 1 when the process fails.
#include "core/RunControl.h"
#include "run/TextFileOps.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>

int main(int argc, char** argv) {
    using namespace slidemill;
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s replace|lines SOURCE TARGET [FIND REPLACEMENT]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const auto start = std::chrono::steady_clock::now();
    int result = 0;
    if (mode == "replace" && argc == 6)
        result = ReplaceInTextFile(argv[2], argv[3], argv[4], argv[5], true, 1, NullRunControl());
    else if (mode == "lines")
        result = DeleteEmptyLinesFromTextFile(argv[2], argv[3]);
    else
        return 2;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.3f %ld\n", seconds, usage.ru_maxrss);
    return result == 0 ? 0 : 1;
}
