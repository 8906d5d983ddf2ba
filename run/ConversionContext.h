#pragma once

#include "run/Shard.h"
#include "settings/ConversionSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace slidemill {

class ConversionComponent;
class FailureSink;
class PdfStage;
class RunControl;

// What a conversion needs from the window that runs it: the renderer, the run's controls and
// log, the settings, and the state that outlives one task (where a paused file list resumes,
// when the run began, which file is being worked on).
struct ConversionContext {
    ConversionComponent& component;
    RunControl& control;
    FailureSink& failures;
    PdfStage& pdfStage;
    ConversionSettings settings{};
    // 1-based index at which the next file list starts; 0 = from its first file.
    int32_t lResumeFileIndex = 0;
    // The files at that index and at the one where the walk stopped, to find the position again
    // in a list built anew.
    std::string sResumeFile{};
    std::string sResumeNextFile{};
    // Set when a Pause ended a file list before its last file: that task is not finished.
    bool bFileListCutShort = false;
    // The targets (with the file each came from) that a paused file list had given out: the
    // list built again when it resumes gives none of them to another file, even where the
    // file that wrote it was moved or deleted meanwhile. The next file list takes them.
    std::vector<std::pair<std::string, std::string>> resumeClaims{};
    // MonotonicMilliseconds() when the run began.
    int64_t lTotalTimeStart = 0;
    std::string sCurrentFile{};
    // Set for one part of a run split over several processes: file lists keep only this
    // shard's files, and a single-file task is left to shard 0.
    std::optional<ShardSpec> shard{};
    // The files this shard took on since the run began (listed, or its single files), for the
    // log: with no coordination between shards, it is the record of which shard did a file.
    std::vector<std::string> shardFiles{};
};

} // namespace slidemill
