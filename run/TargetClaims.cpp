#include "run/TargetClaims.h"

#include "core/Translate.h"
#include "platform/FileIdentity.h"
#include "run/ListTargetNamer.h"
#include "run/ResultCodeMessage.h"

#include <filesystem>
#include <map>
#include <optional>
#include <utility>

namespace slidemill {

namespace {

// One key per file: its identity when it exists; otherwise its path with links in the folders
// that exist resolved, since two names of a file yet to be written meet only there.
std::string TargetKey(const std::string& target, const std::optional<FileIdentity>& identity) {
    if (identity)
        return "#" + std::to_string(identity->device) + ":" + std::to_string(identity->inode);
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, ec);
    return "@" + (ec ? std::filesystem::path(target).lexically_normal() : resolved).string();
}

} // namespace

TargetClaims::TargetClaims(const std::vector<std::string>& files, const std::vector<std::string>& targets)
    : refused_(files.size()) {
    std::map<FileIdentity, std::size_t> sources;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (const auto identity = IdentityOf(files[i]))
            sources.emplace(*identity, i);

    std::map<std::string, std::size_t> claimed;
    for (std::size_t i = 0; i < files.size() && i < targets.size(); ++i) {
        const std::string& target = targets[i];
        if (target.empty())
            continue;
        const auto identity = IdentityOf(target);
        if (identity) {
            if (const auto source = sources.find(*identity); source != sources.end()) {
                if (source->second != i)
                    refused_[i] = {kErrTargetIsOtherSource, files[source->second]};
                continue;
            }
        }
        const auto [first, inserted] = claimed.emplace(TargetKey(target, identity), i);
        if (!inserted)
            refused_[i] = {kErrTargetClaimed, files[first->second]};
    }
}

TargetClaims TargetClaims::ForList(const std::vector<std::string>& files, const ListTargetNamer& namer) {
    std::vector<std::string> targets;
    targets.reserve(files.size());
    for (const std::string& file : files)
        targets.push_back(namer.TargetOf(file));
    return TargetClaims(files, targets);
}

const TargetClaims::Refused* TargetClaims::At(int32_t index) const {
    if (index < 1 || static_cast<std::size_t>(index) > refused_.size())
        return nullptr;
    return &refused_[static_cast<std::size_t>(index - 1)];
}

int32_t TargetClaims::Refusal(int32_t index) const {
    const Refused* refused = At(index);
    return refused ? refused->code : 0;
}

const std::string& TargetClaims::Holder(int32_t index) const {
    static const std::string none;
    const Refused* refused = At(index);
    return refused ? refused->holder : none;
}

int32_t TargetClaims::Refuse(int32_t index, clsConversionOptions& record) const {
    const Refused* refused = At(index);
    if (!refused || refused->code == 0)
        return 0;
    record.lErr = refused->code;
    record.sErr = ResultCodeMessage(record);
    if (refused->code == kErrTargetClaimed)
        record.sErr += " " + Translate("It is written from:") + " " + refused->holder;
    return record.lErr;
}

} // namespace slidemill
