#pragma once

#include "run/Shard.h"

#include <optional>
#include <string>
#include <vector>

namespace slidemill {

// What the process's arguments asked for with --shard.
struct ShardArgument {
    // The shard this process is; none when --shard was not given.
    std::optional<ShardSpec> shard;
    // Why the arguments cannot run ("" when they can): the process ends with exit code 2.
    std::string error;
};

// Takes "--shard K/N", "--shard auto" (or "--shard=…") out of arguments, which then hold the
// switches of the line alone. "auto" reads the array task's index from the environment through
// lookup. Refused: a missing or unreadable value, a second --shard, and --shard with no line
// left to run (it would only open the window).
ShardArgument TakeShardArgument(std::vector<std::string>& arguments, const EnvironmentLookup& lookup);

} // namespace slidemill
