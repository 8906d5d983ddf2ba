#pragma once

#include "core/ConversionOptions.h"
#include "run/FileList.h"

#include <string>
#include <vector>

namespace slidemill {

struct ConversionContext;

// False when the run is one shard of several and the task is a single file (no wildcard in
// its source) that another shard does: shard 0 takes every single-file task, so that it is
// done once however many shards run.
bool TaskRunsInThisShard(const ConversionContext& context, const clsConversionOptions& task);

// After a task's list was built: keeps the files and the unreadable folders that belong to the
// run's shard (every one of them when the run is not split) and records the files kept.
void KeepThisShardsPart(ConversionContext& context, const clsConversionOptions& task,
                        std::vector<std::string>& files, std::vector<UnreadableFolder>& unreadable);

} // namespace slidemill
