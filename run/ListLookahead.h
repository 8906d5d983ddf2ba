#pragma once

#include "core/ConversionOptions.h"
#include "run/ParallelConversions.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace slidemill {

struct ConversionContext;
class ListTargetNamer;
class TargetClaims;

// Hands the files of a list to the component's concurrent conversions ahead of the conversion
// step, which still takes each file's result, logs it and moves or deletes its source in list
// order. A file the claims refuse is never handed on. Files in flight together never share a
// target, and none writes where another reads: the window stops growing at such a file until
// the ones before it are done, so every file meets what a one-by-one run would have left.
class ListLookahead {
public:
    // files, namer and claims must outlive the lookahead; first is the 1-based index the step
    // starts at.
    ListLookahead(ConversionContext& context, const ListTargetNamer& namer, const TargetClaims& claims,
                  const clsConversionOptions& perFile, const std::vector<std::string>& files, int32_t first);

    // The conversion of file index (1-based; asked in order), started now if it was not yet.
    PendingConversion& Take(int32_t index);

    // Lets the conversions in flight end (those not started never will), so that nothing is
    // written once the step has left the list.
    void Finish();

private:
    struct Entry {
        int32_t index;
        std::string source; // empty: the file is not converted at all
        std::string target;
        std::shared_ptr<PendingConversion> pending;
    };

    bool Clashes(const std::string& source, const std::string& target) const;
    void Fill();

    ConversionContext& context_;
    const ListTargetNamer& namer_;
    const TargetClaims& claims_;
    const clsConversionOptions template_;
    const std::vector<std::string>& files_;
    int32_t next_;
    ParallelConversions workers_;
    const std::size_t depth_;
    std::deque<Entry> window_;
};

} // namespace slidemill
