#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace slidemill {

// One part of a run split over N independent processes (an array job on a cluster). Shard
// index is 0-based: shard 0 of 4 is the first, shard 3 of 4 the last, as the index the
// batch engines hand out.
struct ShardSpec {
    uint32_t index = 0;
    uint32_t count = 1;

    bool operator==(const ShardSpec&) const = default;
};

// The most shards one run may be split into.
inline constexpr uint32_t kMaxShards = 1000000;

// FNV-1a, 64 bits: the same value for the same bytes on every machine and in every build,
// which std::hash does not promise.
uint64_t Fnv1a64(std::string_view bytes);

// What a listed file is hashed by: its path relative to the source root with "/" separators,
// its extension cut off and ASCII letters lower-cased. Files that would write one target
// ("deck.ppt" and "deck.pptx", or "Deck.pdf" beside "deck.pptx" on a case-blind share) thus
// always fall to the same shard, where the rule that decides which of them may write it still
// holds as in a whole run.
std::string ShardKey(std::string_view relativePath);

// The shard (0 … count − 1) a file with this relative path belongs to; 0 when count is 0.
uint32_t ShardOfRelativePath(std::string_view relativePath, uint32_t count);

// path relative to root (which ends in "/"); path itself when it is not under root.
std::string_view RelativeToRoot(std::string_view path, std::string_view root);

// Whether the file (or folder) at path, under root, belongs to shard.
bool InShard(std::string_view path, std::string_view root, const ShardSpec& shard);

// Keeps the files of list that belong to shard, in their order. root is the folder of the
// task's wildcard source, with its trailing "/".
void KeepShardFiles(std::vector<std::string>& list, std::string_view root, const ShardSpec& shard);

// Reads "K/N" (decimal digits only, 0 ≤ K < N ≤ kMaxShards). False with reason otherwise.
bool ParseShardText(std::string_view text, ShardSpec& shard, std::string& reason);

// Reads a variable of the environment; "" for one that is unset.
using EnvironmentLookup = std::function<std::string(const std::string& name)>;

// The shard of an array task, from the variables its batch engine sets:
//   Slurm            SLURM_ARRAY_TASK_ID − SLURM_ARRAY_TASK_MIN (divided by
//                    SLURM_ARRAY_TASK_STEP when that is above 1) of SLURM_ARRAY_TASK_COUNT
//   Kubernetes       JOB_COMPLETION_INDEX of SLIDEMILL_SHARDS
//   AWS Batch        AWS_BATCH_JOB_ARRAY_INDEX of SLIDEMILL_SHARDS
// SLIDEMILL_SHARDS, when set beside Slurm's count, must agree with it. False with reason
// when no engine's index is set, more than one is, or the values do not make one shard.
bool ShardFromEnvironment(const EnvironmentLookup& lookup, ShardSpec& shard, std::string& reason);

// "2-of-4": what a [SHARD] placeholder in a log or job path becomes.
std::string ShardLabel(const ShardSpec& shard);

// text with every "[SHARD]" replaced by ShardLabel(shard).
std::string ExpandShardPlaceholder(const std::string& text, const ShardSpec& shard);

// "Shard 2 of 4": the log header's line.
std::string ShardHeaderLine(const ShardSpec& shard);

// "Shard 2 of 4 file: /in/a.pptx": how the log of a split run names each file it took on.
std::string ShardFileLine(const ShardSpec& shard, const std::string& file);

// "Shard 2 of 4: 11 files": the log's last line of a sharded run.
std::string ShardSummaryLine(const ShardSpec& shard, int64_t files);

} // namespace slidemill
