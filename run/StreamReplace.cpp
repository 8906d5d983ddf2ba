#include "run/StreamReplace.h"

#include <cstring>
#include <vector>

namespace slidemill {

bool CanOverlap(const std::string& find, int unitBytes) {
    const std::size_t m = find.size();
    for (std::size_t shift = unitBytes; shift < m; shift += unitBytes)
        if (find.compare(shift, m - shift, find, 0, m - shift) == 0)
            return true;
    return false;
}

std::string ReverseUnits(const std::string& text, int unitBytes) {
    std::string out(text.size(), '\0');
    const std::size_t units = text.size() / unitBytes;
    for (std::size_t i = 0; i < units; ++i)
        std::memcpy(&out[(units - 1 - i) * unitBytes], &text[i * unitBytes], unitBytes);
    return out;
}

ReplaceCounts ReplaceInStream(UnitSource& source, UnitSink& sink, const std::string& find,
                              const std::string& replacement, const TextLayout& layout, bool caseSensitive,
                              const std::function<void(uint64_t)>& progress, std::size_t blockBytes) {
    ReplaceCounts counts;
    const std::size_t m = find.size();
    const std::size_t unit = layout.unitBytes;
    // Only the last m - unit bytes of a block can begin an occurrence that ends in the next.
    const std::size_t carryMax = m > unit ? m - unit : 0;
    std::vector<unsigned char> raw(blockBytes + carryMax);
    std::vector<unsigned char> folded(caseSensitive ? 0 : raw.size());
    const unsigned char* key = caseSensitive ? raw.data() : folded.data();
    const auto* replace = reinterpret_cast<const unsigned char*>(replacement.data());
    const auto fail = [&] {
        counts.failed = true;
        return counts;
    };

    std::size_t have = 0;  // carried bytes at the front of the buffer
    uint64_t consumed = 0; // stream offset of buffer[0]
    uint64_t readTotal = 0;
    for (;;) {
        bool readFailed = false;
        const std::size_t got = source.Read(raw.data() + have, blockBytes, readFailed);
        if (readFailed)
            return fail();
        if (!caseSensitive) {
            FoldUnits(raw.data() + have, got - got % unit, layout, folded.data() + have);
            std::memcpy(folded.data() + have + got - got % unit, raw.data() + have + got - got % unit,
                        got % unit);
        }
        readTotal += got;
        const bool atEnd = got == 0;
        const std::size_t total = have + got;
        std::size_t pos = 0;
        std::size_t from = 0;
        while (m && from + m <= total) {
            const void* hit = memmem(key + from, total - from, find.data(), m);
            if (!hit)
                break;
            const std::size_t at = static_cast<const unsigned char*>(hit) - key;
            if ((consumed + at) % unit != 0) {
                from = at + 1; // a match that starts inside a unit is no match
                continue;
            }
            if (!sink.Write(raw.data() + pos, at - pos) || !sink.Write(replace, replacement.size()))
                return fail();
            ++counts.replacements;
            pos = from = at + m;
        }
        if (atEnd) {
            if (!sink.Write(raw.data() + pos, total - pos))
                return fail();
            return counts;
        }
        std::size_t keep = total > carryMax ? total - carryMax : 0;
        if (keep < pos)
            keep = pos;
        if (!sink.Write(raw.data() + pos, keep - pos))
            return fail();
        have = total - keep;
        std::memmove(raw.data(), raw.data() + keep, have);
        if (!caseSensitive)
            std::memmove(folded.data(), folded.data() + keep, have);
        consumed += keep;
        if (progress)
            progress(readTotal);
    }
}

} // namespace slidemill
