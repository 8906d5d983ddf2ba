#pragma once

#include <string>

namespace slidemill {

enum class NewFileResult { Created, AlreadyExists, Failed };

// Creates path only if no file (nor a dangling link) of that name exists, and writes contents
// to it. Never truncates or replaces an existing file. When the write fails the new file is
// removed again, so Failed leaves nothing behind.
NewFileResult CreateNewFile(const std::string& path, const std::string& contents);

// Renames from to to, failing (and changing nothing) when to already exists.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

// Copies from into a new file to (never an existing one), reading from until its end rather
// than trusting its reported size, and flushes the copy to the disk. The new file gets from's
// permission bits. bytesCopied is what was written. On failure the new file is removed.
bool CopyIntoNewFile(const std::string& from, const std::string& to, unsigned long long& bytesCopied);

} // namespace slidemill
