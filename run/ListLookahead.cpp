#include "run/ListLookahead.h"

#include "core/RunControl.h"
#include "run/ConversionContext.h"
#include "run/ConversionRecord.h"
#include "run/ConversionStep.h"
#include "run/ListTargetNamer.h"
#include "run/TargetClaims.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace slidemill {

namespace {

std::string PathKey(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

} // namespace

ListLookahead::ListLookahead(ConversionContext& context, const ListTargetNamer& namer,
                             const TargetClaims& claims, const clsConversionOptions& perFile,
                             const std::vector<std::string>& files, int32_t first)
    : context_(context), namer_(namer), claims_(claims), template_(perFile), files_(files), next_(first),
      workers_(context.component),
      // Results are taken in list order: a deep window keeps the other offices busy while one
      // works through a long deck. A pause costs only the files converted ahead, which convert
      // again when the list resumes.
      depth_(std::max<std::size_t>(8, 4 * static_cast<std::size_t>(workers_.Workers()))) {}

PendingConversion& ListLookahead::Take(int32_t index) {
    while (!window_.empty() && window_.front().index < index)
        window_.pop_front();
    Fill();
    return *window_.front().pending;
}

void ListLookahead::Finish() {
    workers_.DropQueued();
    for (auto& entry : window_) {
        while (!entry.pending->WaitFor(std::chrono::milliseconds(100)))
            context_.control.Checkpoint();
    }
    window_.clear();
}

bool ListLookahead::Clashes(const std::string& source, const std::string& target) const {
    for (const auto& entry : window_) {
        if (entry.source.empty())
            continue;
        if (target == entry.target || target == entry.source || source == entry.target)
            return true;
    }
    return false;
}

void ListLookahead::Fill() {
    const auto count = static_cast<int32_t>(files_.size());
    while (next_ <= count && window_.size() < depth_) {
        if (const int32_t refusal = claims_.Refusal(next_); refusal != 0) {
            // The step refuses this file itself; it must not be written ahead either.
            window_.push_back({next_, {}, {}, PendingConversion::Finished(refusal, {})});
            ++next_;
            continue;
        }
        clsConversionOptions record = template_;
        namer_.Apply(files_[static_cast<std::size_t>(next_ - 1)], record);
        PrepareRecord(context_, record);
        if (WouldOverwriteSource(record.sOriginalFile, record.sTargetFile)) {
            // The step fails this file before it would convert; it writes nothing.
            window_.push_back({next_, {}, {}, PendingConversion::Finished(kErrTargetIsSource, {})});
        } else {
            std::string source = PathKey(record.sOriginalFile);
            std::string target = PathKey(record.sTargetFile);
            // The file at the front never waits: nothing before it is in flight.
            if (!window_.empty() && Clashes(source, target))
                return;
            window_.push_back(
                {next_, std::move(source), std::move(target), workers_.Submit(PropertiesFor(record))});
        }
        ++next_;
    }
}

} // namespace slidemill
