#include "cli/ShardArgument.h"

#include "core/Translate.h"

#include <string_view>

namespace slidemill {

namespace {

constexpr std::string_view kSwitch = "--shard";

ShardArgument Refused(std::string reason) {
    ShardArgument result;
    result.error = std::move(reason);
    return result;
}

} // namespace

ShardArgument TakeShardArgument(std::vector<std::string>& arguments, const EnvironmentLookup& lookup) {
    std::optional<std::string> value;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::optional<std::string> given;
        if (argument == kSwitch) {
            if (i + 1 >= arguments.size())
                return Refused(Translate("--shard needs a value: K/N (shard K of N, counted from 0) or auto"));
            given = arguments[++i];
        } else if (argument.size() > kSwitch.size() && argument.compare(0, kSwitch.size(), kSwitch) == 0 &&
                   argument[kSwitch.size()] == '=') {
            given = argument.substr(kSwitch.size() + 1);
        } else {
            rest.push_back(argument);
            continue;
        }
        // Two values could only be a script's mistake; neither is more likely the one meant.
        if (value)
            return Refused(Translate("--shard is given more than once"));
        value = std::move(given);
    }
    if (!value)
        return {};
    if (rest.empty())
        return Refused(Translate("--shard splits a command line (/S … /T … or /J …) and there is none to run"));

    ShardArgument result;
    ShardSpec shard;
    const bool read = *value == "auto" ? ShardFromEnvironment(lookup, shard, result.error)
                                       : ParseShardText(*value, shard, result.error);
    if (!read)
        return result;
    result.shard = shard;
    arguments = std::move(rest);
    return result;
}

} // namespace slidemill
