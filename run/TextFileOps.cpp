#include "run/TextFileOps.h"

#include "core/Translate.h"
#include "run/StreamReplace.h"
#include "run/TextLayout.h"
#include "run/TextStreams.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace slidemill {

namespace {

constexpr std::size_t kBlock = 1 << 20;
constexpr int kTargetFailed = -2;
constexpr int kSourceFailed = -3;
constexpr int kSameFile = -6;

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

std::string FirstBytes(TextInput& in, std::size_t count) {
    std::string start(std::min<uint64_t>(count, in.Size()), '\0');
    if (!in.ReadAt(0, start.data(), start.size()))
        start.clear();
    return start;
}

void ShowPercent(RunControl& control, double percent) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << percent;
    control.SetStatusText(StatusPanel::State, " " + text.str() + Translate(" Percent Complete "));
    control.Checkpoint();
}

// Appends bytes [from, end) of in to target, swapping the two bytes of each unit when asked.
// On failure the target is cut back to its old length (or removed when it was created here).
int AppendBytes(TextInput& in, uint64_t from, bool swapUnits, const std::string& target) {
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return kTargetFailed;
    const fs::path folder = fs::path(target).parent_path();
    if (!folder.empty() && !fs::exists(folder, ec))
        fs::create_directories(folder, ec);
    const bool existed = fs::exists(target, ec);
    const uint64_t oldSize = existed ? fs::file_size(target, ec) : 0;
    if (ec)
        return kTargetFailed;
    std::FILE* out = std::fopen(target.c_str(), "abe");
    if (!out)
        return kTargetFailed;
    const auto undo = [&](int code) {
        std::fclose(out);
        std::error_code ignored;
        if (existed)
            fs::resize_file(target, oldSize, ignored);
        else
            fs::remove(target, ignored);
        return code;
    };
    if (!in.Seek(from))
        return undo(kSourceFailed);
    std::vector<unsigned char> buffer(kBlock);
    for (;;) {
        const std::size_t got = in.Read(buffer.data(), buffer.size());
        if (got == 0)
            break;
        if (swapUnits)
            for (std::size_t i = 0; i + 1 < got; i += 2)
                std::swap(buffer[i], buffer[i + 1]);
        if (std::fwrite(buffer.data(), 1, got, out) != got)
            return undo(kTargetFailed);
    }
    if (in.Failed())
        return undo(kSourceFailed);
    if (std::fflush(out) != 0)
        return undo(kTargetFailed);
    return std::fclose(out) == 0 ? 0 : kTargetFailed;
}

// Reads the text between two offsets of a file forwards, in blocks.
class ForwardSource : public UnitSource {
public:
    ForwardSource(TextInput& in, uint64_t end) : in_(in), end_(end) {}
    bool Start(uint64_t from) {
        position_ = from;
        return in_.Seek(from);
    }
    std::size_t Read(unsigned char* buffer, std::size_t length, bool& failed) override {
        const std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(length, end_ - position_));
        const std::size_t got = want ? in_.Read(buffer, want) : 0;
        failed = got != want;
        position_ += got;
        return got;
    }

private:
    TextInput& in_;
    uint64_t end_;
    uint64_t position_ = 0;
};

// Gives the units between two offsets of a file last unit first.
class BackwardSource : public UnitSource {
public:
    BackwardSource(TextInput& in, uint64_t begin, uint64_t end, int unitBytes)
        : in_(in), begin_(begin), position_(end), unit_(unitBytes), block_(kBlock) {}
    std::size_t Read(unsigned char* buffer, std::size_t length, bool& failed) override {
        std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(length, position_ - begin_));
        want -= want % unit_;
        if (want == 0)
            return 0;
        position_ -= want;
        if (!in_.ReadAt(position_, block_.data(), want)) {
            failed = true;
            return 0;
        }
        const std::size_t units = want / unit_;
        for (std::size_t i = 0; i < units; ++i)
            std::memcpy(buffer + (units - 1 - i) * unit_, block_.data() + i * unit_, unit_);
        return want;
    }

private:
    TextInput& in_;
    uint64_t begin_;
    uint64_t position_;
    std::size_t unit_;
    std::vector<unsigned char> block_;
};

class OutputSink : public UnitSink {
public:
    explicit OutputSink(ReplacementOutput& out) : out_(out) {}
    bool Write(const unsigned char* data, std::size_t length) override { return out_.Write(data, length); }

private:
    ReplacementOutput& out_;
};

class CountingSink : public UnitSink {
public:
    bool Write(const unsigned char*, std::size_t length) override {
        bytes += length;
        return true;
    }
    uint64_t bytes = 0;
};

// Takes units last first and puts them in place from a given end offset downwards.
class BackwardSink : public UnitSink {
public:
    BackwardSink(ReplacementOutput& out, uint64_t end, int unitBytes)
        : out_(out), end_(end), unit_(unitBytes), buffer_(kBlock), fill_(kBlock) {}
    bool Write(const unsigned char* data, std::size_t length) override {
        for (std::size_t i = 0; i + unit_ <= length; i += unit_) {
            if (fill_ == 0 && !Flush())
                return false;
            fill_ -= unit_;
            std::memcpy(&buffer_[fill_], data + i, unit_);
        }
        return true;
    }
    bool Flush() {
        const std::size_t used = buffer_.size() - fill_;
        end_ -= used;
        fill_ = buffer_.size();
        return out_.WriteAt(end_, &buffer_[buffer_.size() - used], used);
    }

private:
    ReplacementOutput& out_;
    uint64_t end_;
    std::size_t unit_;
    std::vector<unsigned char> buffer_;
    std::size_t fill_;
};

bool IsBlankUnit(uint32_t unit) {
    return unit == ' ' || unit == '\t' || unit == '\v' || unit == '\r';
}

// Copies [from, to) of the source to the output; used for the blank start of a line that
// turned out to hold text after a block boundary. The read position is restored.
bool CopyRange(TextInput& in, uint64_t from, uint64_t to, uint64_t resumeAt, ReplacementOutput& out) {
    std::vector<unsigned char> buffer(std::min<uint64_t>(kBlock, to - from));
    for (uint64_t at = from; at < to;) {
        const std::size_t length = static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), to - at));
        if (!in.ReadAt(at, buffer.data(), length) || !out.Write(buffer.data(), length))
            return false;
        at += length;
    }
    return in.Seek(resumeAt);
}

int FilterEmptyLines(TextInput& in, ReplacementOutput& out, const TextLayout& layout, RunControl& control) {
    const uint64_t size = in.Size();
    const std::size_t unit = layout.unitBytes;
    const uint64_t header = std::min<uint64_t>(layout.headerBytes, size);
    const uint64_t end = header + (size - header) / unit * unit;
    std::vector<unsigned char> buffer(kBlock);
    if (header && (!in.ReadAt(0, buffer.data(), header) || !out.Write(buffer.data(), header)))
        return kTargetFailed;
    if (!in.Seek(header))
        return kSourceFailed;

    uint64_t base = header;      // file offset of buffer[0]
    uint64_t lineStart = header; // file offset where the current line begins
    bool lineHasText = false;    // whether the current line has shown anything but blanks
    while (base < end) {
        const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(kBlock, end - base));
        if (in.Read(buffer.data(), n) != n)
            return kSourceFailed;
        const unsigned char* data = buffer.data();
        std::size_t run = 0; // start of the kept bytes of this block not yet written
        std::size_t i = 0;
        while (i < n) {
            if (!lineHasText) {
                while (i < n && IsBlankUnit(UnitAt(data + i, layout)))
                    i += unit;
                if (i == n)
                    break;
                if (UnitAt(data + i, layout) == '\n') {
                    // An empty line: write what was kept before it and go on after it.
                    const std::size_t lineInBlock = lineStart > base ? lineStart - base : 0;
                    if (!out.Write(data + run, lineInBlock - run))
                        return kTargetFailed;
                    i += unit;
                    run = i;
                    lineStart = base + i;
                    continue;
                }
                lineHasText = true;
                if (lineStart < base && !CopyRange(in, lineStart, base, base + n, out))
                    return kTargetFailed;
            }
            std::size_t lineEnd = n;
            if (unit == 1) {
                const void* lf = std::memchr(data + i, '\n', n - i);
                lineEnd = lf ? static_cast<const unsigned char*>(lf) - data : n;
            } else {
                for (std::size_t k = i; k < n; k += unit)
                    if (UnitAt(data + k, layout) == '\n') {
                        lineEnd = k;
                        break;
                    }
            }
            if (lineEnd == n) {
                i = n;
            } else {
                i = lineEnd + unit;
                lineHasText = false;
                lineStart = base + i;
            }
        }
        const std::size_t keptEnd = lineHasText ? n : (lineStart > base ? lineStart - base : 0);
        if (keptEnd > run && !out.Write(data + run, keptEnd - run))
            return kTargetFailed;
        base += n;
        ShowPercent(control, 100.0 * static_cast<double>(base) / static_cast<double>(size));
    }
    // A last line of blanks without a line end is empty too, unless half a unit follows it.
    if (end < size) {
        if (!lineHasText && lineStart < end && !CopyRange(in, lineStart, end, end, out))
            return kTargetFailed;
        const std::size_t rest = static_cast<std::size_t>(size - end);
        if (!in.ReadAt(end, buffer.data(), rest) || !out.Write(buffer.data(), rest))
            return kSourceFailed;
    }
    return 0;
}

} // namespace

int ConcatenateTwoTextFiles(const std::string& source, const std::string& target) {
    if (SameFile(source, target))
        return kSameFile;
    TextInput in;
    if (!in.Open(source))
        return kSourceFailed;
    return AppendBytes(in, 0, false, target);
}

int AppendTextFile(const std::string& source, const std::string& target, int32_t fileType) {
    if (fileType != 6)
        return ConcatenateTwoTextFiles(source, target);
    if (SameFile(source, target))
        return kSameFile;
    TextInput in;
    if (!in.Open(source))
        return kSourceFailed;
    std::error_code ec;
    const bool targetEmpty =
        !fs::exists(target, ec) || (fs::is_regular_file(target, ec) && fs::file_size(target, ec) == 0);
    if (targetEmpty)
        return AppendBytes(in, 0, false, target);
    TextInput existing;
    if (!existing.Open(target))
        return kTargetFailed;
    const std::string sourceStart = FirstBytes(in, 3);
    const TextLayout from = DetectTextLayout(fileType, sourceStart);
    const TextLayout to = DetectTextLayout(fileType, FirstBytes(existing, 3));
    if (from.unitBytes != to.unitBytes)
        return kSourceFailed;
    const uint64_t skip = sourceStart.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : from.headerBytes;
    return AppendBytes(in, skip, from.unitBytes == 2 && from.bigEndian != to.bigEndian, target);
}

int RemoveEmptyLinesFromFile(const std::string& source, const std::string& target, int32_t fileType,
                             RunControl& control) {
    TextInput in;
    if (!in.Open(source))
        return kSourceFailed;
    ReplacementOutput out;
    if (!out.Open(target))
        return kTargetFailed;
    const TextLayout layout = DetectTextLayout(fileType, FirstBytes(in, 3));
    const int result = FilterEmptyLines(in, out, layout, control);
    if (result != 0)
        return result;
    if (in.Failed())
        return kSourceFailed;
    return out.Commit() ? 0 : kTargetFailed;
}

int DeleteEmptyLinesFromTextFile(const std::string& source, const std::string& target) {
    return RemoveEmptyLinesFromFile(source, target, 1, NullRunControl());
}

int ReplaceInTextFile(const std::string& source, const std::string& target, const std::string& find,
                      const std::string& replacement, bool caseSensitive, int32_t fileType,
                      RunControl& control) {
    TextInput in;
    if (!in.Open(source))
        return kSourceFailed;
    const uint64_t size = in.Size();
    const TextLayout layout = DetectTextLayout(fileType, FirstBytes(in, 3));
    const std::size_t unit = layout.unitBytes;
    const uint64_t header = std::min<uint64_t>(layout.headerBytes, size);
    const uint64_t end = header + (size - header) / unit * unit;
    std::string findUnits = EncodeForLayout(find, layout);
    if (end == header || findUnits.empty())
        return 0;
    if (!caseSensitive)
        FoldUnits(reinterpret_cast<const unsigned char*>(findUnits.data()), findUnits.size(), layout,
                  reinterpret_cast<unsigned char*>(findUnits.data()));
    const std::string replaceUnits = EncodeForLayout(replacement, layout);

    ReplacementOutput out;
    if (!out.Open(target))
        return kTargetFailed;
    std::string head(header, '\0');
    if (header && !in.ReadAt(0, head.data(), header))
        return kSourceFailed;
    const double textBytes = static_cast<double>(end - header);
    ReplaceCounts counts;
    if (!CanOverlap(findUnits, static_cast<int>(unit))) {
        // Occurrences cannot overlap, so taking them from the start finds the same ones as
        // taking them from the end, in one forward pass.
        ForwardSource forward(in, size);
        OutputSink sink(out);
        if (!out.Write(head.data(), head.size()) || !forward.Start(header))
            return kTargetFailed;
        counts = ReplaceInStream(forward, sink, findUnits, replaceUnits, layout, caseSensitive,
                                 [&](uint64_t done) { ShowPercent(control, 100.0 * done / textBytes); });
    } else {
        // Overlapping occurrences are resolved from the end, as the text is read backwards:
        // the search runs on the reversed text with reversed find and replacement. A first
        // pass measures the result so the second can write it in place from its end.
        const std::string findBack = ReverseUnits(findUnits, static_cast<int>(unit));
        const std::string replaceBack = ReverseUnits(replaceUnits, static_cast<int>(unit));
        BackwardSource measureSource(in, header, end, static_cast<int>(unit));
        CountingSink measure;
        counts = ReplaceInStream(measureSource, measure, findBack, replaceBack, layout, caseSensitive,
                                 [&](uint64_t done) { ShowPercent(control, 50.0 * done / textBytes); });
        if (counts.failed)
            return kSourceFailed;
        const uint64_t textEnd = header + measure.bytes;
        std::string tail(size - end, '\0');
        if (!tail.empty() && !in.ReadAt(end, tail.data(), tail.size()))
            return kSourceFailed;
        if (!out.WriteAt(0, head.data(), head.size()) || !out.WriteAt(textEnd, tail.data(), tail.size()))
            return kTargetFailed;
        BackwardSource writeSource(in, header, end, static_cast<int>(unit));
        BackwardSink sink(out, textEnd, static_cast<int>(unit));
        counts =
            ReplaceInStream(writeSource, sink, findBack, replaceBack, layout, caseSensitive,
                            [&](uint64_t done) { ShowPercent(control, 50.0 + 50.0 * done / textBytes); });
        if (!counts.failed && !sink.Flush())
            return kTargetFailed;
    }
    if (counts.failed)
        return in.Failed() ? kSourceFailed : kTargetFailed;
    return out.Commit() ? 0 : kTargetFailed;
}

} // namespace slidemill
