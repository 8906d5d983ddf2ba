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

TargetClaims::TargetClaims(const std::vector<std::string>& files, const std::vector<std::string>& targets,
                           const Claims& earlier)
    : earlier_(earlier), files_(files), targets_(targets), refused_(files.size()) {
    targets_.resize(files_.size());
    std::map<FileIdentity, std::size_t> sources;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (const auto identity = IdentityOf(files[i]))
            sources.emplace(*identity, i);

    std::map<std::string, std::string> claimed; // target key, the file that has it
    for (const auto& [target, holder] : earlier)
        if (!target.empty())
            claimed.emplace(TargetKey(target, IdentityOf(target)), holder);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& target = targets_[i];
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
        // A file that held its target before a pause keeps it when it runs again.
        const auto [first, inserted] = claimed.emplace(TargetKey(target, identity), files[i]);
        if (!inserted && first->second != files[i])
            refused_[i] = {kErrTargetClaimed, first->second};
    }
}

TargetClaims TargetClaims::ForList(const std::vector<std::string>& files, const ListTargetNamer& namer,
                                   const Claims& earlier) {
    std::vector<std::string> targets;
    targets.reserve(files.size());
    for (const std::string& file : files)
        targets.push_back(namer.TargetOf(file));
    return TargetClaims(files, targets, earlier);
}

TargetClaims::Claims TargetClaims::ClaimedBefore(int32_t index) const {
    Claims claims = earlier_;
    for (std::size_t i = 0; i < files_.size() && static_cast<int64_t>(i) + 1 < index; ++i)
        if (refused_[i].code == 0 && !targets_[i].empty())
            claims.emplace_back(targets_[i], files_[i]);
    return claims;
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
