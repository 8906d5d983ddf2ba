#pragma once

#include "core/RunControl.h"

#include <cstdint>
#include <string>

namespace slidemill {

// Native, streamed work on plain-text files. Results are the task result codes: 0 success,
// -2 the target could not be opened or written, -3 the source could not be read, -6 source
// and target are the same file. A failure never leaves a partly written target: new
// targets are written to a temporary file and renamed; an append that fails is undone.
// Memory use does not depend on the size of the files or the length of their lines.

// Appends the bytes of source to the end of target, creating target (and its folder) if needed.
int ConcatenateTwoTextFiles(const std::string& source, const std::string& target);

// Writes to target every line of source that holds anything besides spaces, tabs, vertical
// tabs and carriage returns. Lines end at line feeds; kept lines keep every byte, their line
// ends included, and a last line without a line end stays without one. Source and target
// may be the same file.
int DeleteEmptyLinesFromTextFile(const std::string& source, const std::string& target);

// The same for a file of special-process type fileType (1, 2: bytes; 6: UTF-16, see
// DetectTextLayout), reporting progress to control.
int RemoveEmptyLinesFromFile(const std::string& source, const std::string& target, int32_t fileType,
                             RunControl& control);

// Appends the text of source to target in the target's encoding: for type 6 the source's
// byte-order mark is dropped and its UTF-16 byte order adapted to the target's. A UTF-8 file
// cannot be appended to a UTF-16 one or the reverse (-3).
int AppendTextFile(const std::string& source, const std::string& target, int32_t fileType);

// Replaces find by replacement (both UTF-8, "©n©" codes already expanded) in source and
// writes the result to target. Occurrences are taken from the end of the text backwards,
// each next one ending before the previous one starts ("aa" in "aaa" gives "ax"). Every byte
// outside an occurrence is kept. An empty text or an empty find writes nothing and gives 0.
int ReplaceInTextFile(const std::string& source, const std::string& target, const std::string& find,
                      const std::string& replacement, bool caseSensitive, int32_t fileType,
                      RunControl& control);

} // namespace slidemill
