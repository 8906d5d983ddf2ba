#pragma once

#include "run/TextLayout.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace slidemill {

// Where the replacer takes its text from and puts its result, in stream order.
class UnitSource {
public:
    virtual ~UnitSource() = default;
    // Fills up to length bytes (a multiple of the unit size); 0 at the end. Sets failed on a
    // read error.
    virtual std::size_t Read(unsigned char* buffer, std::size_t length, bool& failed) = 0;
};

class UnitSink {
public:
    virtual ~UnitSink() = default;
    virtual bool Write(const unsigned char* data, std::size_t length) = 0;
};

struct ReplaceCounts {
    uint64_t replacements = 0;
    bool failed = false;
};

// Replaces find by replacement in the stream, taking the leftmost occurrence first and going
// on after its end, so occurrences never overlap. find is given folded when caseSensitive is
// false (FoldUnits), replacement as it is written. Memory is bounded by the block size and
// the length of find, whatever the length of the stream. progress (when set) gets the bytes
// read so far after each block of blockBytes (a multiple of the unit size).
ReplaceCounts ReplaceInStream(UnitSource& source, UnitSink& sink, const std::string& find,
                              const std::string& replacement, const TextLayout& layout, bool caseSensitive,
                              const std::function<void(uint64_t)>& progress = {},
                              std::size_t blockBytes = std::size_t{1} << 20);

// Whether occurrences of find (in units of the layout) can overlap: it has a proper prefix
// that is also its suffix. Only then does the direction of the search change the result.
bool CanOverlap(const std::string& find, int unitBytes);

// The units of text in reverse order (each unit's bytes kept in order).
std::string ReverseUnits(const std::string& text, int unitBytes);

} // namespace slidemill
