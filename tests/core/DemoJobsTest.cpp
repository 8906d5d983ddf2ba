// The job files shipped with the program must load and read as tasks: a user's first run
// starts from them.
#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "settings/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace slidemill;

TEST(DemoJobs, EveryShippedJobLoadsAndEveryRowReadsWithExpandableFolders) {
    const std::filesystem::path folder =
        std::filesystem::path(SLIDEMILL_DEMO_FOLDER) / "Demo Conversion Jobs";
    int jobs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".MJB")
            continue;
        ++jobs;
        Grid grid{kTaskGridCols};
        InitTaskGrid(grid);
        JobLoadResult result = LoadJobFile(entry.path().string(), 1, grid);
        ASSERT_EQ(result.status, JobLoadStatus::Loaded) << entry.path() << ": " << result.error;
        CheckLoadedTasks(grid, result);
        EXPECT_EQ(result.malformedRows, 0) << entry.path() << ": " << result.firstProblem;
        ASSERT_GT(TaskCount(grid), 0) << entry.path();
        for (int row = 1; row <= TaskCount(grid); ++row) {
            clsConversionOptions record;
            ASSERT_TRUE(ReadTaskRow(record, row, grid)) << entry.path() << " row " << row;
            EXPECT_EQ(record.sActionToDo, "C");
            // The shipped jobs name their folders by tokens, never by one machine's paths.
            for (std::string path : {record.sOriginalFile, record.sTargetFile}) {
                EXPECT_EQ(path.front(), '%') << path;
                EXPECT_NE(ExpandFolderTokens(path).front(), '%') << path;
            }
        }
    }
    EXPECT_GE(jobs, 2);
}
