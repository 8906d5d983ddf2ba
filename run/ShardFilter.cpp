#include "run/ShardFilter.h"

#include "run/ConversionContext.h"
#include "run/WildcardPath.h"

namespace slidemill {

bool TaskRunsInThisShard(const ConversionContext& context, const clsConversionOptions& task) {
    return !context.shard || context.shard->index == 0 || HasNameWildcard(task.sOriginalFile);
}

void KeepThisShardsPart(ConversionContext& context, const clsConversionOptions& task,
                        std::vector<std::string>& files, std::vector<UnreadableFolder>& unreadable) {
    if (!context.shard)
        return;
    if (HasNameWildcard(task.sOriginalFile)) {
        const std::string root = WildcardFolderOf(task.sOriginalFile);
        KeepShardFiles(files, root, *context.shard);
        // A folder that could not be read is reported by one shard, as its files would have
        // been converted by several: a job saved from the logs then retries it once.
        std::erase_if(unreadable, [&](const UnreadableFolder& folder) {
            return !InShard(folder.folder, root, *context.shard);
        });
    }
    context.shardFiles.insert(context.shardFiles.end(), files.begin(), files.end());
}

} // namespace slidemill
