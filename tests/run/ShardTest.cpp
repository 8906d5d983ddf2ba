#include "run/Shard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace slidemill {
namespace {

// Relative paths as archives hold them: nested folders, spaces, mixed case, several extensions,
// non-ASCII names, and files that differ only in their extension.
std::vector<std::string> GeneratedRelativePaths(std::size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    const std::vector<std::string> folders = {"", "2023/", "2024/q1/", "2024/q2/", "Sales Team/", "präsentationen/"};
    const std::vector<std::string> extensions = {".pptx", ".ppt", ".odp", ".PPTX", ".pps"};
    std::vector<std::string> paths;
    for (std::size_t i = 0; paths.size() < count; ++i) {
        const std::string folder = folders[random() % folders.size()];
        const std::string stem = "deck " + std::to_string(i) + (i % 3 == 0 ? " Final" : "");
        paths.push_back(folder + stem + extensions[random() % extensions.size()]);
    }
    return paths;
}

std::vector<std::string> UnderRoot(const std::string& root, const std::vector<std::string>& relative) {
    std::vector<std::string> files;
    for (const std::string& path : relative)
        files.push_back(root + path);
    return files;
}

TEST(ShardHash, IsFnv1a64) {
    // The published FNV-1a test values: any machine, compiler or release gives these.
    EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(Fnv1a64("foobar"), 0x85944171f73967e8ull);
    // Shards of two releases running side by side must agree on every file.
    EXPECT_EQ(ShardOfRelativePath("q3/deck 01.pptx", 4), 2u);
    EXPECT_EQ(ShardOfRelativePath("2024/Sales/Review.PPT", 16), 3u);
    EXPECT_EQ(ShardOfRelativePath("präsentation.odp", 7), 2u);
}

TEST(ShardKey, FilesWritingOneTargetShareTheirShard) {
    EXPECT_EQ(ShardKey("sub/Deck.PPTX"), "sub/deck");
    EXPECT_EQ(ShardKey("a.b.ppt"), "a.b");
    EXPECT_EQ(ShardKey("NoExtension"), "noextension");
    // Only the name's extension is cut, never a dot of a folder.
    EXPECT_EQ(ShardKey("v1.2/notes"), "v1.2/notes");
    for (uint32_t count = 2; count <= 16; ++count) {
        EXPECT_EQ(ShardOfRelativePath("x/deck.ppt", count), ShardOfRelativePath("x/deck.pptx", count));
        EXPECT_EQ(ShardOfRelativePath("x/deck.pptx", count), ShardOfRelativePath("x/Deck.PDF", count));
    }
    // The folder is part of the key: equal names in two folders are two targets.
    std::size_t differ = 0;
    for (uint32_t count = 2; count <= 16; ++count)
        differ += ShardOfRelativePath("a/deck.pptx", count) != ShardOfRelativePath("b/deck.pptx", count);
    EXPECT_GT(differ, 0u);
}

TEST(ShardPartition, DisjointCompleteAndBalancedForOneToSixteenShards) {
    const std::vector<std::string> relative = GeneratedRelativePaths(2000, 7);
    const std::string root = "/data/archive/";
    const std::vector<std::string> files = UnderRoot(root, relative);
    std::map<std::string, std::size_t> position;
    for (std::size_t i = 0; i < files.size(); ++i)
        position[files[i]] = i;
    ASSERT_EQ(position.size(), files.size()) << "the generated names repeat";
    for (uint32_t count = 1; count <= 16; ++count) {
        std::map<std::string, int> seen;
        std::size_t smallest = files.size(), largest = 0;
        for (uint32_t index = 0; index < count; ++index) {
            std::vector<std::string> part = files;
            KeepShardFiles(part, root, {index, count});
            // Kept in list order: the shard still walks its folders as a whole run would.
            EXPECT_TRUE(std::is_sorted(part.begin(), part.end(),
                                       [&](const auto& a, const auto& b) { return position.at(a) < position.at(b); }));
            for (const std::string& file : part)
                ++seen[file];
            smallest = std::min(smallest, part.size());
            largest = std::max(largest, part.size());
        }
        ASSERT_EQ(seen.size(), files.size()) << count << " shards lost files";
        for (const auto& [file, times] : seen)
            ASSERT_EQ(times, 1) << file << " in " << times << " of " << count << " shards";
        // No shard is left idle or made to carry twice its share.
        const double even = static_cast<double>(files.size()) / count;
        EXPECT_GT(static_cast<double>(smallest), even * 0.75) << count << " shards";
        EXPECT_LT(static_cast<double>(largest), even * 1.25) << count << " shards";
    }
}

TEST(ShardPartition, StableAcrossListingOrderAndMountPoint) {
    const std::vector<std::string> relative = GeneratedRelativePaths(600, 11);
    for (uint32_t count = 1; count <= 16; ++count) {
        // Another machine lists the folder in another order and mounts it elsewhere.
        std::vector<std::string> shuffled = relative;
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(count));
        for (uint32_t index = 0; index < count; ++index) {
            std::vector<std::string> here = UnderRoot("/data/in/", relative);
            std::vector<std::string> there = UnderRoot("/mnt/cluster/share/in/", shuffled);
            KeepShardFiles(here, "/data/in/", {index, count});
            KeepShardFiles(there, "/mnt/cluster/share/in/", {index, count});
            std::vector<std::string> hereRelative, thereRelative;
            for (const std::string& file : here)
                hereRelative.push_back(file.substr(std::string("/data/in/").size()));
            for (const std::string& file : there)
                thereRelative.push_back(file.substr(std::string("/mnt/cluster/share/in/").size()));
            std::sort(hereRelative.begin(), hereRelative.end());
            std::sort(thereRelative.begin(), thereRelative.end());
            ASSERT_EQ(hereRelative, thereRelative) << "shard " << index << " of " << count;
        }
    }
}

TEST(ShardPartition, RelativeToRootOnlyCutsARealPrefix) {
    EXPECT_EQ(RelativeToRoot("/in/a/b.pptx", "/in/"), "a/b.pptx");
    EXPECT_EQ(RelativeToRoot("/input/b.pptx", "/in/"), "/input/b.pptx");
    EXPECT_EQ(RelativeToRoot("b.pptx", ""), "b.pptx");
    EXPECT_TRUE(InShard("/in/x.pptx", "/in/", {0, 1}));
}

TEST(ShardText, ReadsKOfNAndRefusesEverythingElse) {
    ShardSpec shard;
    std::string reason;
    ASSERT_TRUE(ParseShardText("0/1", shard, reason)) << reason;
    EXPECT_EQ(shard, (ShardSpec{0, 1}));
    ASSERT_TRUE(ParseShardText("15/16", shard, reason)) << reason;
    EXPECT_EQ(shard, (ShardSpec{15, 16}));
    ASSERT_TRUE(ParseShardText("999999/1000000", shard, reason)) << reason;

    for (const char* bad : {"4/4", "5/4", "1/0", "0/0", "-1/4", "+1/4", " 1/4", "1/4 ", "1 / 4", "1", "1/",
                            "/4", "a/b", "1/2/3", "1.0/2", "0/1000001", "99999999999999999999/4", "auto", ""}) {
        reason.clear();
        shard = {7, 9};
        EXPECT_FALSE(ParseShardText(bad, shard, reason)) << bad;
        EXPECT_FALSE(reason.empty()) << bad;
        EXPECT_EQ(shard, (ShardSpec{7, 9})) << bad << ": a refused value changed the shard";
    }
    ParseShardText("4/4", shard, reason);
    EXPECT_NE(reason.find("counted from 0"), std::string::npos) << reason;
}

using Environment = std::map<std::string, std::string>;

bool FromEnvironment(const Environment& environment, ShardSpec& shard, std::string& reason) {
    return ShardFromEnvironment(
        [&](const std::string& name) {
            const auto found = environment.find(name);
            return found == environment.end() ? std::string() : found->second;
        },
        shard, reason);
}

TEST(ShardEnvironment, SlurmArrays) {
    ShardSpec shard;
    std::string reason;
    // --array=5-8: the third task.
    ASSERT_TRUE(FromEnvironment({{"SLURM_ARRAY_TASK_ID", "7"}, {"SLURM_ARRAY_TASK_MIN", "5"},
                                 {"SLURM_ARRAY_TASK_COUNT", "4"}, {"SLURM_ARRAY_TASK_MAX", "8"}},
                                shard, reason))
        << reason;
    EXPECT_EQ(shard, (ShardSpec{2, 4}));
    // --array=1-9:4 gives tasks 1, 5, 9.
    ASSERT_TRUE(FromEnvironment({{"SLURM_ARRAY_TASK_ID", "9"}, {"SLURM_ARRAY_TASK_MIN", "1"},
                                 {"SLURM_ARRAY_TASK_STEP", "4"}, {"SLURM_ARRAY_TASK_COUNT", "3"}},
                                shard, reason))
        << reason;
    EXPECT_EQ(shard, (ShardSpec{2, 3}));
    // SLIDEMILL_SHARDS may say the same again.
    ASSERT_TRUE(FromEnvironment({{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_MIN", "0"},
                                 {"SLURM_ARRAY_TASK_COUNT", "4"}, {"SLIDEMILL_SHARDS", "4"}},
                                shard, reason))
        << reason;
    EXPECT_EQ(shard, (ShardSpec{0, 4}));

    const std::vector<std::pair<Environment, std::string>> refused = {
        // --array=1,4,9: a list with gaps has no position for its last task.
        {{{"SLURM_ARRAY_TASK_ID", "9"}, {"SLURM_ARRAY_TASK_MIN", "1"}, {"SLURM_ARRAY_TASK_COUNT", "3"}},
         "evenly stepped"},
        {{{"SLURM_ARRAY_TASK_ID", "3"}, {"SLURM_ARRAY_TASK_MIN", "5"}, {"SLURM_ARRAY_TASK_COUNT", "4"}},
         "evenly stepped"},
        {{{"SLURM_ARRAY_TASK_ID", "6"}, {"SLURM_ARRAY_TASK_MIN", "1"}, {"SLURM_ARRAY_TASK_STEP", "4"},
          {"SLURM_ARRAY_TASK_COUNT", "3"}},
         "evenly stepped"},
        {{{"SLURM_ARRAY_TASK_ID", "2"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, "SLURM_ARRAY_TASK_MIN=\"\""},
        {{{"SLURM_ARRAY_TASK_ID", "x"}, {"SLURM_ARRAY_TASK_MIN", "0"}, {"SLURM_ARRAY_TASK_COUNT", "4"}},
         "SLURM_ARRAY_TASK_ID=\"x\""},
        {{{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_MIN", "0"}, {"SLURM_ARRAY_TASK_COUNT", "0"}},
         "task count"},
        {{{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_MIN", "0"}, {"SLURM_ARRAY_TASK_STEP", "0"},
          {"SLURM_ARRAY_TASK_COUNT", "2"}},
         "step"},
        {{{"SLURM_ARRAY_TASK_ID", "1"}, {"SLURM_ARRAY_TASK_MIN", "0"}, {"SLURM_ARRAY_TASK_COUNT", "4"},
          {"SLIDEMILL_SHARDS", "8"}},
         "disagrees"},
    };
    for (const auto& [environment, expected] : refused) {
        reason.clear();
        EXPECT_FALSE(FromEnvironment(environment, shard, reason)) << expected;
        EXPECT_NE(reason.find(expected), std::string::npos) << reason;
        EXPECT_EQ(reason.rfind("--shard auto", 0), 0u) << reason;
    }
}

TEST(ShardEnvironment, KubernetesAndAwsBatchNeedTheShardCount) {
    ShardSpec shard;
    std::string reason;
    ASSERT_TRUE(FromEnvironment({{"JOB_COMPLETION_INDEX", "3"}, {"SLIDEMILL_SHARDS", "8"}}, shard, reason))
        << reason;
    EXPECT_EQ(shard, (ShardSpec{3, 8}));
    ASSERT_TRUE(FromEnvironment({{"AWS_BATCH_JOB_ARRAY_INDEX", "0"}, {"SLIDEMILL_SHARDS", "2"}}, shard, reason))
        << reason;
    EXPECT_EQ(shard, (ShardSpec{0, 2}));

    const std::vector<std::pair<Environment, std::string>> refused = {
        {{{"JOB_COMPLETION_INDEX", "3"}}, "set SLIDEMILL_SHARDS"},
        {{{"AWS_BATCH_JOB_ARRAY_INDEX", "1"}}, "AWS Batch"},
        {{{"JOB_COMPLETION_INDEX", "8"}, {"SLIDEMILL_SHARDS", "8"}}, "not below SLIDEMILL_SHARDS"},
        {{{"JOB_COMPLETION_INDEX", "-1"}, {"SLIDEMILL_SHARDS", "8"}}, "JOB_COMPLETION_INDEX=\"-1\""},
        {{{"AWS_BATCH_JOB_ARRAY_INDEX", "0"}, {"SLIDEMILL_SHARDS", "0"}}, "SLIDEMILL_SHARDS=\"0\""},
        {{{"AWS_BATCH_JOB_ARRAY_INDEX", "0"}, {"SLIDEMILL_SHARDS", "four"}}, "SLIDEMILL_SHARDS=\"four\""},
    };
    for (const auto& [environment, expected] : refused) {
        reason.clear();
        EXPECT_FALSE(FromEnvironment(environment, shard, reason)) << expected;
        EXPECT_NE(reason.find(expected), std::string::npos) << reason;
    }
}

TEST(ShardEnvironment, NoneOrSeveralEnginesAreRefused) {
    ShardSpec shard;
    std::string reason;
    // SLIDEMILL_SHARDS alone names no task.
    EXPECT_FALSE(FromEnvironment({{"SLIDEMILL_SHARDS", "4"}}, shard, reason));
    for (const char* variable : {"SLURM_ARRAY_TASK_ID", "JOB_COMPLETION_INDEX", "AWS_BATCH_JOB_ARRAY_INDEX"})
        EXPECT_NE(reason.find(variable), std::string::npos) << reason;
    reason.clear();
    EXPECT_FALSE(FromEnvironment({{"SLURM_ARRAY_TASK_ID", "0"}, {"SLURM_ARRAY_TASK_MIN", "0"},
                                  {"SLURM_ARRAY_TASK_COUNT", "2"}, {"JOB_COMPLETION_INDEX", "1"},
                                  {"SLIDEMILL_SHARDS", "2"}},
                                 shard, reason));
    EXPECT_NE(reason.find("more than one"), std::string::npos) << reason;
}

TEST(ShardText, LabelsAndLogLines) {
    const ShardSpec shard{2, 4};
    EXPECT_EQ(ShardLabel(shard), "2-of-4");
    EXPECT_EQ(ExpandShardPlaceholder("/logs/run_[SHARD]_[YMD]/[SHARD].log", shard), "/logs/run_2-of-4_[YMD]/2-of-4.log");
    EXPECT_EQ(ExpandShardPlaceholder("/logs/[shard].log", shard), "/logs/[shard].log");
    EXPECT_EQ(ShardHeaderLine(shard), "Shard 2 of 4");
    EXPECT_EQ(ShardSummaryLine(shard, 11), "Shard 2 of 4: 11 files");
    EXPECT_EQ(ShardSummaryLine(shard, 1), "Shard 2 of 4: 1 file");
    EXPECT_EQ(ShardSummaryLine(shard, 0), "Shard 2 of 4: 0 files");
    EXPECT_EQ(ShardFileLine(shard, "/in/a b.pptx"), "Shard 2 of 4 file: /in/a b.pptx");
}

} // namespace
} // namespace slidemill
