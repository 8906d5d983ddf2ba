// Times the job file: loading a long job slice by slice (the loader and the reload dispatch,
// no conversions) and saving one slice.
//   slidemill_bench_jobfile write FILE TASKS   writes a job of TASKS conversion tasks
//   slidemill_bench_jobfile load FILE          loads every slice; prints tasks, slices, seconds
//   slidemill_bench_jobfile save FILE TASKS    saves a grid of TASKS tasks; prints seconds
#include "core/JobFile.h"
#include "core/TaskGrid.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace slidemill;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string TaskLine(long n) {
    const std::string id = std::to_string(n);
    return "A,0,0\t" + id + "\tC\t/data/presentations/in/quarterly-deck-" + id + ".pptx\t3\t\t/data/out/" +
           id + "/*.pdf\t32\tpdf\t\t\r\n";
}

int Write(const char* path, long tasks) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return 1;
    for (long n = 1; n <= tasks; ++n) {
        const std::string line = TaskLine(n);
        std::fwrite(line.data(), 1, line.size(), file);
    }
    std::fputs("\t*\t\t\t\t\t\t\t\t\t\r\n", file);
    return std::fclose(file) == 0 ? 0 : 1;
}

int Load(const char* path) {
    Grid grid(kTaskGridCols);
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    JobLoadResult result = LoadJobFile(path, 1, grid);
    long tasks = result.tasksLoaded;
    long slices = 1;
    clsConversionOptions record;
    while (result.reloadTaskAdded) {
        const int reload = TaskCount(grid);
        if (!ReadTaskRow(record, reload, grid) || !IsReloadTask(record))
            return 1;
        if (PerformReloadTask(record, path, grid) != 0) {
            std::fprintf(stderr, "%s\n", record.sErr.c_str());
            return 1;
        }
        ++slices;
        // The dispatcher hides the slice's own result; count what is in the grid now.
        const bool more = TaskCount(grid) > 0 && IsReloadTaskRow(grid, TaskCount(grid));
        tasks += TaskCount(grid) - (more ? 1 : 0);
        result.reloadTaskAdded = more;
    }
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("%ld tasks %ld slices %.3f s cpu %.3f s\n", tasks, slices, Seconds(start), cpu);
    return 0;
}

int Save(const char* path, long tasks) {
    Grid grid(kTaskGridCols);
    InitTaskGrid(grid);
    clsConversionOptions record;
    record.lOriginalFileType = 3;
    record.lTargetFileType = 32;
    for (long n = 1; n <= tasks; ++n) {
        record.sOriginalFile = "/data/presentations/in/quarterly-deck-" + std::to_string(n) + ".pptx";
        record.sTargetFile = "/data/out/" + std::to_string(n) + "/*.pdf";
        AppendTaskRow(record, grid, nullptr);
    }
    const auto start = std::chrono::steady_clock::now();
    if (!WriteJobFile(path, grid))
        return 1;
    std::printf("%.3f s\n", Seconds(start));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "write")
        return Write(argv[2], std::atol(argv[3]));
    if (argc >= 3 && std::string(argv[1]) == "load")
        return Load(argv[2]);
    if (argc >= 4 && std::string(argv[1]) == "save")
        return Save(argv[2], std::atol(argv[3]));
    std::fprintf(stderr, "usage: %s write FILE TASKS | load FILE | save FILE TASKS\n", argv[0]);
    return 2;
}
