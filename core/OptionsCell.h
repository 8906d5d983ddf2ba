#pragma once

#include "core/ConversionOptions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace slidemill {

// The options cell (column 0 of a task row) in its three shapes:
//   letters "R G M P D C A" (each at most once, in that order) + "," from + "," to, e.g. "RCA,0,0";
//   for search and replace the same, ten spaces, then Find{{text}}Replace{{text}};
//   for a program launch "T" priority " S" window state " W" wait time, e.g. "T32 S1 W-1".

// A letter counts as an option only when it first occurs within the first nine characters:
// letters typed in a find or replacement text come after the ten spaces and never count.
bool HasOptionLetter(std::string_view cell, char letter);

// A cell number: optional spaces, an optional sign and digits, then the end of the text or a
// space. Anything else (letters, an empty text, a value beyond 32 bits) does not parse.
bool ParseCellNumber(std::string_view text, int32_t& value);

// The letters of a record, in their fixed order.
std::string OptionLetters(const clsConversionOptions& record);
std::string LaunchOptionsCell(int32_t priority, int32_t windowState, int32_t waitTime);
// The ten spaces and the find/replace markers. A TAB, CR or LF in either text is written as its
// character code (©9©, ©13©, ©10©), which the search and replace expands back at run time: a
// raw one would split the job file line.
std::string FindReplaceTail(const std::string& find, const std::string& replace);
// The full cell as a newly added task row carries it.
std::string BuildOptionsCell(const clsConversionOptions& record);

// Reads the cell into record for the action text of the same row. Fields the cell does not
// carry stay as record held them. Returns false, with a description in problem, when the
// cell does not follow the grammar for that action; what could be read has been read then.
bool ReadOptionsCell(std::string_view cell, const std::string& action, clsConversionOptions& record,
                     std::string* problem);

bool IsLaunchCode(int32_t code);

} // namespace slidemill
