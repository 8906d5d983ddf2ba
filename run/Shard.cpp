#include "run/Shard.h"

#include "core/Translate.h"
#include "run/FileNameParts.h"

#include <algorithm>
#include <charconv>

namespace slidemill {

namespace {

// Decimal digits only: a sign, a space or a fraction is a typing slip, not a shard.
bool ParseCount(std::string_view text, uint64_t& value) {
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string Quoted(const std::string& name, const std::string& value) {
    return name + "=\"" + value + "\"";
}

struct EngineIndex {
    const char* engine;
    const char* variable;
};

constexpr EngineIndex kEngines[] = {
    {"Slurm", "SLURM_ARRAY_TASK_ID"},
    {"Kubernetes", "JOB_COMPLETION_INDEX"},
    {"AWS Batch", "AWS_BATCH_JOB_ARRAY_INDEX"},
};

bool Refuse(std::string& reason, std::string text) {
    reason = std::move(text);
    return false;
}

bool FromSlurm(const EnvironmentLookup& lookup, ShardSpec& shard, std::string& reason) {
    const std::string id = lookup("SLURM_ARRAY_TASK_ID");
    const std::string min = lookup("SLURM_ARRAY_TASK_MIN");
    const std::string count = lookup("SLURM_ARRAY_TASK_COUNT");
    const std::string step = lookup("SLURM_ARRAY_TASK_STEP");
    const std::string shards = lookup("SLIDEMILL_SHARDS");
    uint64_t idValue = 0, minValue = 0, countValue = 0, stepValue = 1;
    if (!ParseCount(id, idValue) || !ParseCount(min, minValue) || !ParseCount(count, countValue))
        return Refuse(reason, Translate("the Slurm array variables do not make a shard") + ": " +
                                  Quoted("SLURM_ARRAY_TASK_ID", id) + ", " + Quoted("SLURM_ARRAY_TASK_MIN", min) +
                                  ", " + Quoted("SLURM_ARRAY_TASK_COUNT", count));
    if (!step.empty() && (!ParseCount(step, stepValue) || stepValue == 0))
        return Refuse(reason, Translate("the Slurm array step is not a whole number above 0") + ": " +
                                  Quoted("SLURM_ARRAY_TASK_STEP", step));
    if (countValue == 0 || countValue > kMaxShards)
        return Refuse(reason, Translate("the Slurm array has no usable task count") + ": " +
                                  Quoted("SLURM_ARRAY_TASK_COUNT", count));
    // A list of indices with gaps ("--array=1,4,9") has no position to read from the index;
    // its highest task lands at or past the count and is refused here.
    if (idValue < minValue || (idValue - minValue) % stepValue != 0 ||
        (idValue - minValue) / stepValue >= countValue)
        return Refuse(reason, Translate("the Slurm array is not one evenly stepped range, so its task index "
                                        "does not give a shard") +
                                  ": " + Quoted("SLURM_ARRAY_TASK_ID", id) + ", " +
                                  Quoted("SLURM_ARRAY_TASK_MIN", min) + ", " +
                                  Quoted("SLURM_ARRAY_TASK_COUNT", count) +
                                  (step.empty() ? std::string() : ", " + Quoted("SLURM_ARRAY_TASK_STEP", step)));
    uint64_t declared = 0;
    if (!shards.empty() && (!ParseCount(shards, declared) || declared != countValue))
        return Refuse(reason, Translate("SLIDEMILL_SHARDS disagrees with the Slurm array's task count") + ": " +
                                  Quoted("SLIDEMILL_SHARDS", shards) + ", " +
                                  Quoted("SLURM_ARRAY_TASK_COUNT", count));
    shard.index = static_cast<uint32_t>((idValue - minValue) / stepValue);
    shard.count = static_cast<uint32_t>(countValue);
    return true;
}

bool FromIndexAndShards(const EnvironmentLookup& lookup, const char* engine, const char* variable,
                        ShardSpec& shard, std::string& reason) {
    const std::string index = lookup(variable);
    const std::string shards = lookup("SLIDEMILL_SHARDS");
    if (shards.empty())
        return Refuse(reason, std::string(engine) + " " + Translate("gives the task index") + " (" + variable +
                                  ") " + Translate("but not the number of tasks: set SLIDEMILL_SHARDS to it"));
    uint64_t indexValue = 0, countValue = 0;
    if (!ParseCount(shards, countValue) || countValue == 0 || countValue > kMaxShards)
        return Refuse(reason, Translate("SLIDEMILL_SHARDS is not a whole number from 1 to ") +
                                  std::to_string(kMaxShards) + ": " + Quoted("SLIDEMILL_SHARDS", shards));
    if (!ParseCount(index, indexValue) || indexValue >= countValue)
        return Refuse(reason, std::string(engine) + Translate("'s task index is not below SLIDEMILL_SHARDS") +
                                  ": " + Quoted(variable, index) + ", " + Quoted("SLIDEMILL_SHARDS", shards));
    shard.index = static_cast<uint32_t>(indexValue);
    shard.count = static_cast<uint32_t>(countValue);
    return true;
}

} // namespace

uint64_t Fnv1a64(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string ShardKey(std::string_view relativePath) {
    const std::size_t slash = relativePath.rfind('/');
    const std::string_view folder = slash == std::string_view::npos ? std::string_view() : relativePath.substr(0, slash + 1);
    std::string key(folder);
    key += BaseOfName(NamePartOf(relativePath));
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

uint32_t ShardOfRelativePath(std::string_view relativePath, uint32_t count) {
    if (count == 0)
        return 0;
    return static_cast<uint32_t>(Fnv1a64(ShardKey(relativePath)) % count);
}

std::string_view RelativeToRoot(std::string_view path, std::string_view root) {
    if (!root.empty() && path.size() > root.size() && path.substr(0, root.size()) == root)
        return path.substr(root.size());
    return path;
}

bool InShard(std::string_view path, std::string_view root, const ShardSpec& shard) {
    return ShardOfRelativePath(RelativeToRoot(path, root), shard.count) == shard.index;
}

void KeepShardFiles(std::vector<std::string>& list, std::string_view root, const ShardSpec& shard) {
    std::erase_if(list, [&](const std::string& file) { return !InShard(file, root, shard); });
}

bool ParseShardText(std::string_view text, ShardSpec& shard, std::string& reason) {
    const std::size_t slash = text.find('/');
    uint64_t index = 0, count = 0;
    if (slash == std::string_view::npos || !ParseCount(text.substr(0, slash), index) ||
        !ParseCount(text.substr(slash + 1), count))
        return Refuse(reason, Translate("--shard takes K/N (shard K of N, counted from 0) or auto, not") + " \"" +
                                  std::string(text) + "\"");
    if (count == 0 || count > kMaxShards)
        return Refuse(reason, Translate("--shard: the number of shards must be from 1 to ") +
                                  std::to_string(kMaxShards) + ", " + Translate("not") + " " +
                                  std::string(text.substr(slash + 1)));
    if (index >= count)
        return Refuse(reason, Translate("--shard: the shard is counted from 0 and must be below the number "
                                        "of shards, so") +
                                  " " + std::string(text) + " " + Translate("names no shard"));
    shard.index = static_cast<uint32_t>(index);
    shard.count = static_cast<uint32_t>(count);
    return true;
}

bool ShardFromEnvironment(const EnvironmentLookup& lookup, ShardSpec& shard, std::string& reason) {
    std::vector<const EngineIndex*> present;
    for (const EngineIndex& engine : kEngines)
        if (!lookup(engine.variable).empty())
            present.push_back(&engine);
    if (present.empty())
        return Refuse(reason, Translate("--shard auto found no array task index: none of SLURM_ARRAY_TASK_ID "
                                        "(Slurm), JOB_COMPLETION_INDEX (Kubernetes Indexed Job) or "
                                        "AWS_BATCH_JOB_ARRAY_INDEX (AWS Batch) is set; give --shard K/N instead"));
    if (present.size() > 1) {
        std::string names;
        for (const EngineIndex* engine : present)
            names += (names.empty() ? "" : ", ") + std::string(engine->variable);
        return Refuse(reason, Translate("--shard auto found the task index of more than one batch engine") +
                                  " (" + names + "); " + Translate("give --shard K/N instead"));
    }
    const EngineIndex& engine = *present.front();
    const bool found = std::string_view(engine.variable) == "SLURM_ARRAY_TASK_ID"
                           ? FromSlurm(lookup, shard, reason)
                           : FromIndexAndShards(lookup, engine.engine, engine.variable, shard, reason);
    if (!found)
        reason = "--shard auto: " + reason;
    return found;
}

std::string ShardLabel(const ShardSpec& shard) {
    return std::to_string(shard.index) + "-of-" + std::to_string(shard.count);
}

std::string ExpandShardPlaceholder(const std::string& text, const ShardSpec& shard) {
    static const std::string placeholder = "[SHARD]";
    const std::string label = ShardLabel(shard);
    std::string result = text;
    for (std::size_t at = result.find(placeholder); at != std::string::npos;
         at = result.find(placeholder, at + label.size()))
        result.replace(at, placeholder.size(), label);
    return result;
}

std::string ShardHeaderLine(const ShardSpec& shard) {
    return Translate("Shard") + " " + std::to_string(shard.index) + " " + Translate("of") + " " +
           std::to_string(shard.count);
}

std::string ShardFileLine(const ShardSpec& shard, const std::string& file) {
    return ShardHeaderLine(shard) + " " + Translate("file") + ": " + file;
}

std::string ShardSummaryLine(const ShardSpec& shard, int64_t files) {
    return ShardHeaderLine(shard) + ": " + std::to_string(files) + " " +
           (files == 1 ? Translate("file") : Translate("files"));
}

} // namespace slidemill
