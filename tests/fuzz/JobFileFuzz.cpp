// Loads arbitrary bytes as a job file: nothing may crash, and a job that loaded and saved must
// load again as the same rows.
#include "core/JobFile.h"
#include "core/TaskGrid.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace slidemill;

namespace {

std::string Scratch(const char* name) {
    static const std::string folder = [] {
        const std::string path =
            (std::filesystem::temp_directory_path() / ("slidemill-fuzz-" + std::to_string(getpid())))
                .string();
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder + "/" + name;
}

bool HasByteOrderMark(const Grid& grid) {
    for (int row = 1; row < grid.Rows(); ++row)
        if (grid.Cell(row, 0).starts_with("\xEF\xBB\xBF"))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = Scratch("input.MJB");
    if (std::FILE* file = std::fopen(input.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        return 0;
    }
    const int64_t startLine = size > 0 ? 1 + data[0] % 4 : 1;

    Grid grid(kTaskGridCols);
    const JobLoadResult loaded = LoadJobFile(input, startLine, grid);
    if (grid.Rows() < 2 || grid.Cell(grid.Rows() - 1, kColNumber) != "*")
        std::abort();
    clsConversionOptions record;
    for (int row = 1; row <= TaskCount(grid); ++row)
        ReadTaskRow(record, row, grid, nullptr);

    const std::string output = Scratch("output.MJB");
    if (loaded.status != JobLoadStatus::Loaded || HasByteOrderMark(grid) || !WriteJobFile(output, grid))
        return 0;
    Grid again(kTaskGridCols);
    LoadJobFile(output, 1, again);
    if (again.Rows() != grid.Rows())
        std::abort();
    for (int row = 1; row < grid.Rows(); ++row)
        for (int col = 0; col < kTaskGridCols; ++col)
            if (col != kColNumber && again.Cell(row, col) != grid.Cell(row, col))
                std::abort();
    return 0;
}
