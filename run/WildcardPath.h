#pragma once

#include <string>
#include <string_view>

namespace slidemill {

// A source names a set of files when its file-name part holds "*" or "?". The folder part ends
// at the last "/" before the first wildcard; a wildcard after that "/" would stand in a folder
// name, which is not supported.

// True when the path holds "*" or "?".
bool HasNameWildcard(std::string_view path);

// Splits a wildcard path into its folder (with its trailing "/", or "" for a bare pattern) and
// the file-name pattern. False when a "/" follows the first wildcard.
bool SplitWildcardPath(std::string_view path, std::string& folder, std::string& pattern);

// The folder part of a wildcard path as SplitWildcardPath gives it; the text before the first
// "*" or "?" cut back to its last "/".
std::string WildcardFolderOf(std::string_view path);

// True when a wildcard stands in a folder name ("/in/*/a.pptx").
bool HasWildcardInFolder(std::string_view path);

// Matches a file name against a pattern where "*" stands for any run of characters and "?" for
// one, letters compared without regard to case. "*.*" matches every name and "*." the names
// without an extension, as they always have.
bool MatchesNamePattern(std::string_view pattern, std::string_view name);

} // namespace slidemill
