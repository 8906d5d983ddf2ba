#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// One entry of a file dialog filter: "PDF (*.pdf)" with its patterns {"*.PDF"}.
struct FileFilterEntry {
    std::string text;
    std::vector<std::string> patterns;
    bool operator==(const FileFilterEntry&) const = default;
};

// The filters of the editor's file pickers, in the "Text|pattern;pattern|Text|pattern" form.
std::string OriginalFileFilter();
std::string TargetFileFilter();
std::string SpecialFileFilter();
std::string JobFileFilter();

// Splits a filter; a trailing "|" and empty entries are ignored.
std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter);
// The entry as a dialog filter that matches names in either case on a case-sensitive file
// system: "PDF (*.pdf) (*.pdf *.PDF)"; "*.*" and "*" become "*".
std::string CaseInsensitiveNameFilter(const FileFilterEntry& entry);

// The original picker starts at the filter of the original format for codes 1 to 6, else at
// the index last used.
int OriginalFilterIndex(int32_t originalType, int lastIndex);

// Where the folder browser starts for a field: folder tokens expanded and every "*" replaced by
// "A", so that a wildcard pattern still names a folder; then its folder part when the
// text does not name a folder itself.
std::string FolderPickerStart(const std::string& fieldText);
// The field's new text after a folder was chosen: the folder without a trailing "/" (the root
// stays "/"), "/" and the wildcard pattern of the field's format ("*.pdf"). Empty when the
// chosen folder is empty (cancelled).
std::string FolderPickResult(const std::string& chosenFolder, const std::string& pattern);

// A launch button: a field naming an existing file opens it, else an existing folder part is
// opened, else the user is told.
enum class LaunchKind { OpenFile, OpenFolder, Missing };
struct LaunchTarget {
    LaunchKind kind = LaunchKind::Missing;
    std::string path; // the file or folder to open, or the expanded text that does not exist
};
LaunchTarget ResolveLaunchTarget(const std::string& fieldText);
// "File/Folder does not exist:" two line breaks and the path, translated.
std::string MissingLaunchTargetMessage(const std::string& path);

// Typed paths lose every double quote.
std::string RemoveDoubleQuotes(const std::string& text);

} // namespace slidemill
