#pragma once

#include "core/ConversionOptions.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace slidemill {

class ListTargetNamer;

// Results of a listed file that was not processed because of where it would write.
inline constexpr int32_t kErrTargetClaimed = -23;       // an earlier file of the list writes this target
inline constexpr int32_t kErrTargetIsOtherSource = -24; // the target is another file of the list

// Decides for a whole file list, before any file is processed, which files may write their
// targets: within one task a target is written at most once, and never onto another file of
// the list. The first file in list order that names a target gets it; every later one is
// refused, and so is a file whose target is another listed file, which would otherwise be
// replaced before (or after) it is itself read. Files are compared by identity, so a link or
// another spelling of the same path is the same file, and a.txt and a.TXT are two files unless
// they are one on the disk. A target that is the file's own source is left to the caller: a
// conversion refuses it, a text process may work in place.
// Decided up front, the answer is the same whether the files then go one by one or several
// at once, and wherever a paused list resumes.
class TargetClaims {
public:
    // Refuses nothing.
    TargetClaims() = default;
    using Claims = std::vector<std::pair<std::string, std::string>>; // target, the file it is from

    // targets[i] is where files[i] would write ("" for nowhere). earlier holds the targets that
    // the same task gave out before a pause: they stay with the files they were given to.
    TargetClaims(const std::vector<std::string>& files, const std::vector<std::string>& targets,
                 const Claims& earlier = {});
    // The claims of a wildcard task whose targets the namer names.
    static TargetClaims ForList(const std::vector<std::string>& files, const ListTargetNamer& namer,
                                const Claims& earlier = {});

    // The earlier claims and those of every file before index (1-based) that was not refused:
    // what a list paused at index has (or may have) written.
    Claims ClaimedBefore(int32_t index) const;

    // 0 when file index (1-based) may write its target, else kErrTargetClaimed or
    // kErrTargetIsOtherSource.
    int32_t Refusal(int32_t index) const;
    // The file that stands in the way of a refused file: the earlier file that writes the same
    // target, or the listed file that the target is.
    const std::string& Holder(int32_t index) const;

    // For a refused file: fails the record (which names the file and its target) with the
    // code and a message naming both files, and returns the code. Otherwise 0.
    int32_t Refuse(int32_t index, clsConversionOptions& record) const;

private:
    struct Refused {
        int32_t code = 0;
        std::string holder;
    };
    const Refused* At(int32_t index) const;

    Claims earlier_;
    std::vector<std::string> files_;
    std::vector<std::string> targets_;
    std::vector<Refused> refused_;
};

} // namespace slidemill
