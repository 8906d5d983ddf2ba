// Times the listing of a folder tree the way a recursive wildcard task lists it.
// Usage: slidemill_bench_filelist FOLDER [PATTERN] [REPETITIONS]
// Prints the best time in milliseconds and the number of files listed.

#include "core/ConversionOptions.h"
#include "core/RunControl.h"
#include "run/FileList.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [PATTERN] [REPETITIONS]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/')
        folder += '/';
    const std::string pattern = argc > 2 ? argv[2] : "*.pptx";
    const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    double best = -1;
    std::size_t count = 0;
    for (int r = 0; r < repetitions; ++r) {
        slidemill::clsConversionOptions task;
        task.sOriginalFile = folder + pattern;
        task.bDoSubfolders = true;
        std::vector<std::string> list;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = slidemill::BuildFileList(task, list, slidemill::NullRunControl());
        const auto stop = std::chrono::steady_clock::now();
        if (!ok) {
            std::fprintf(stderr, "%s\n", task.sErr.c_str());
            return 1;
        }
        const double ms = std::chrono::duration<double, std::milli>(stop - start).count();
        if (best < 0 || ms < best)
            best = ms;
        count = list.size();
    }
    std::printf("%.2f %zu\n", best, count);
    return 0;
}
