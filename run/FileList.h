#pragma once

#include "core/ConversionOptions.h"
#include "core/RunControl.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slidemill {

class FailureSink;

// BuildFileListInFolder results.
inline constexpr int32_t kListDone = 0;
inline constexpr int32_t kListFolderMissing = -1;
inline constexpr int32_t kListStopped = -2;
// The top folder exists but may not be read.
inline constexpr int32_t kListFolderUnreadable = -3;

// A folder of the walk whose entries could not be read, and the system's reason.
struct UnreadableFolder {
    std::string folder; // with its trailing "/"
    std::string reason;
};

// Expands the task's source (one file, or a folder followed by a file-name pattern with "*" or
// "?") into the files to work on. False when the single file or the source folder is missing or
// cannot be read, or a wildcard stands in a folder name; sErr then says which. A stop while
// listing keeps what was listed so far and still answers true. Subfolders that could not be
// read go to unreadable (when given) so that the caller can log them: their files are missing
// from the list.
bool BuildFileList(clsConversionOptions& task, std::vector<std::string>& list, RunControl& control,
                   std::vector<UnreadableFolder>* unreadable = nullptr);

// Appends the matching files of folder (and with recurse of its subfolders: a folder's own files
// first, then each subfolder's, in file-system order) to list. Links to files are listed and
// links to folders entered; each real folder (device and inode) is walked once, so a link loop
// ends. A subfolder that cannot be read is added to unreadable and passed over; a top folder
// that cannot be read answers kListFolderUnreadable.
int32_t BuildFileListInFolder(const std::string& folder, const std::string& pattern,
                              std::vector<std::string>& list, bool recurse, RunControl& control,
                              std::vector<UnreadableFolder>* unreadable = nullptr);

// "*.*" matches everything; otherwise the pattern must be "*." and exactly this extension,
// ignoring case ("*." alone matches names without an extension).
bool MatchesFilePattern(std::string_view pattern, std::string_view extension);

// Logs one failure row per unreadable folder of the task's walk (kErrUnreadableFolder) and
// answers that code, or 0 when there was none. The row names the folder with the task's
// pattern as its source and the mirrored target, so a job saved from the log retries it.
int32_t LogUnreadableFolders(FailureSink& failures, int32_t lJobNumber, const clsConversionOptions& task,
                             const std::vector<UnreadableFolder>& unreadable);

// Result of a task whose walk could not read some of its folders.
inline constexpr int32_t kErrUnreadableFolder = -10001;

} // namespace slidemill
