#pragma once

#include "core/FileTypes.h"

#include <string>
#include <vector>

namespace slidemill {

// Lists of the task editor that the file-type lists (FileTypes.h) do not cover.
TypeList WindowStateList();    // "Hidden" 0, "Normal" 1, "Maximized" 3, "Minimized" 6
TypeList ThreadPriorityList(); // "Idle" 64, "Normal" 32, "High Priority" 128, "Realtime Priority" 256

// The two character pickers of search and replace: "ASCII Char", then "[1] SOH" .. "[32] Space",
// then "[33]!" .. "[255]ÿ" (code points, UTF-8). Entry 0 is the heading.
std::vector<std::string> CharacterPickerEntries();
// Choosing entry n (n > 0) appends "©n©" to the text; entry 0 changes nothing.
std::string AppendCharacterCode(const std::string& text, int entry);

// The "I NEED SOMETHING NOT LISTED" special request: the two questions (translated) and the
// mail link the second one opens.
std::string SpecialRequestQuestion();
std::string SpecialRequestDetails(); // includes the support address
std::string SpecialRequestMailto();  // "mailto:..." with a subject

} // namespace slidemill
