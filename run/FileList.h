#pragma once

#include "core/ConversionOptions.h"
#include "core/RunControl.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slidemill {

// BuildFileListInFolder results.
inline constexpr int32_t kListDone = 0;
inline constexpr int32_t kListFolderMissing = -1;
inline constexpr int32_t kListStopped = -2;

// Expands the task's source (one file, or a folder followed by "*.ext" or "*.*") into the files
// to work on. False when the single file or the source folder is missing; sErr then says which.
// A stop while listing keeps what was listed so far and still answers true.
bool BuildFileList(clsConversionOptions& task, std::vector<std::string>& list, RunControl& control);

// Appends the matching files of folder (and with recurse of its subfolders: a folder's own files
// first, then each subfolder's, in file-system order) to list. Links to files are listed; links
// to folders are not followed, so a link loop cannot trap the walk. A subfolder that cannot be
// read is passed over; a top folder that cannot be read counts as missing.
int32_t BuildFileListInFolder(const std::string& folder, const std::string& pattern,
                              std::vector<std::string>& list, bool recurse, RunControl& control);

// "*.*" matches everything; otherwise the pattern must be "*." and exactly this extension,
// ignoring case ("*." alone matches names without an extension).
bool MatchesFilePattern(std::string_view pattern, std::string_view extension);

} // namespace slidemill
