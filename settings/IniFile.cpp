#include "settings/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/FolderLock.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace slidemill {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Cuts a value to the longest prefix of at most kMaxValueLength characters (UTF-8 code points),
// never inside a multi-byte sequence.
std::string CutValue(std::string_view value) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if ((byte & 0xC0) != 0x80) {
            if (characters == IniFile::kMaxValueLength)
                return std::string(value.substr(0, i));
            ++characters;
        }
    }
    return std::string(value);
}

// The file as lines, remembering what it ended its lines with so a write keeps that style.
struct IniText {
    std::string bom;
    std::vector<std::string> lines;
    std::string eol = "\n";
    bool endsWithNewline = true;

    static IniText Parse(std::string_view contents) {
        IniText text;
        if (contents.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
            text.bom = kUtf8Bom;
            contents.remove_prefix(kUtf8Bom.size());
        }
        const auto firstNewline = contents.find('\n');
        if (firstNewline != std::string_view::npos && firstNewline > 0 && contents[firstNewline - 1] == '\r')
            text.eol = "\r\n";
        text.endsWithNewline = contents.empty() || contents.back() == '\n';
        std::size_t start = 0;
        while (start < contents.size()) {
            auto end = contents.find('\n', start);
            if (end == std::string_view::npos)
                end = contents.size();
            std::string_view line = contents.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            text.lines.emplace_back(line);
            start = end + 1;
        }
        return text;
    }

    std::string Join() const {
        std::string out = bom;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            out += lines[i];
            if (i + 1 < lines.size() || endsWithNewline)
                out += eol;
        }
        return out;
    }

    static bool IsSection(std::string_view line, std::string_view& name) {
        line = Trim(line);
        if (line.size() < 2 || line.front() != '[')
            return false;
        const auto close = line.find(']');
        if (close == std::string_view::npos)
            return false;
        name = Trim(line.substr(1, close - 1));
        return true;
    }

    // Lines [begin, end) of the first section of that name (begin is its header), or npos.
    std::pair<std::size_t, std::size_t> FindSection(std::string_view section) const {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string_view name;
            if (IsSection(lines[i], name) && EqualsNoCase(name, section)) {
                std::size_t end = i + 1;
                std::string_view other;
                while (end < lines.size() && !IsSection(lines[end], other))
                    ++end;
                return {i, end};
            }
        }
        return {std::string::npos, std::string::npos};
    }

    // The first line of the section holding that key, or npos. Comment lines never match.
    std::size_t FindKey(std::pair<std::size_t, std::size_t> range, std::string_view key) const {
        if (range.first == std::string::npos)
            return std::string::npos;
        for (std::size_t i = range.first + 1; i < range.second; ++i) {
            const std::string_view line = lines[i];
            const auto trimmed = Trim(line);
            if (trimmed.empty() || trimmed.front() == ';')
                continue;
            const auto equals = line.find('=');
            if (equals != std::string_view::npos && EqualsNoCase(Trim(line.substr(0, equals)), key))
                return i;
        }
        return std::string::npos;
    }
};

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadProblem() const {
    return path_.empty() ? std::string() : FileReadProblem(path_);
}

std::optional<std::string> IniFile::Find(const std::string& section, const std::string& key) const {
    if (path_.empty())
        return std::nullopt;
    const auto contents = ReadWholeFile(path_);
    if (!contents)
        return std::nullopt;
    const IniText text = IniText::Parse(*contents);
    const auto line = text.FindKey(text.FindSection(section), key);
    if (line == std::string::npos)
        return std::nullopt;
    const std::string_view raw = text.lines[line];
    return CutValue(Trim(raw.substr(raw.find('=') + 1)));
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    if (auto value = Find(section, key))
        return *value;
    return CutValue(fallback);
}

int32_t IniFile::ReadInt(const std::string& section, const std::string& key, int32_t fallback) const {
    const auto value = Find(section, key);
    if (!value)
        return fallback;
    // Like the profile call: the leading number, 0 when there is none; out-of-range clamps.
    const char* begin = value->c_str();
    char* end = nullptr;
    const long long number = std::strtoll(begin, &end, 10);
    if (end == begin)
        return 0;
    return static_cast<int32_t>(std::clamp<long long>(number, INT32_MIN, INT32_MAX));
}

namespace {

// Sets key to value in its section; true when a line changed.
bool SetLine(IniText& text, const std::string& section, const std::string& key, const std::string& value) {
    // A value holding a line break would break the file apart; keep the text up to it.
    const std::string clean = value.substr(0, value.find_first_of("\r\n"));
    const auto range = text.FindSection(section);
    const std::string line = key + "=" + clean;
    if (range.first == std::string::npos) {
        if (!text.lines.empty() && !Trim(text.lines.back()).empty())
            text.lines.emplace_back();
        text.lines.push_back("[" + section + "]");
        text.lines.push_back(line);
        text.endsWithNewline = true;
    } else if (const auto at = text.FindKey(range, key); at != std::string::npos) {
        if (text.lines[at] == line)
            return false;
        text.lines[at] = line;
    } else {
        // After the section's last non-blank line, so a blank separator line stays below it.
        std::size_t insert = range.second;
        while (insert > range.first + 1 && Trim(text.lines[insert - 1]).empty())
            --insert;
        text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(insert), line);
        if (insert == text.lines.size() - 1)
            text.endsWithNewline = true;
    }
    return true;
}

// Removes every line of the key in its section: with one of two duplicate lines left, a read
// would still find the key.
bool RemoveLine(IniText& text, const std::string& section, const std::string& key) {
    bool removed = false;
    for (;;) {
        const auto at = text.FindKey(text.FindSection(section), key);
        if (at == std::string::npos)
            return removed;
        text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(at));
        removed = true;
    }
}

std::string FolderOfPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Long enough for any other writer's read-change-replace; a holder stuck longer than this
// (a stopped process) must not keep this one from saving.
constexpr int kWriterLockTimeoutMs = 3000;

// Reads, edits and replaces the file while holding its folder's lock, so two writers (threads
// or processes) never lose each other's changes. An existing file that cannot be read is
// never replaced: that would drop every key in it.
template <typename Edit> bool EditFile(const std::string& path, Edit edit) {
    FolderLock lock;
    // Without the lock (folder busy for too long) the replace is still atomic.
    lock.Lock(FolderOfPath(path), kWriterLockTimeoutMs);
    const auto contents = ReadWholeFile(path);
    std::error_code error;
    if (!contents &&
        std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found)
        return false;
    IniText text = IniText::Parse(contents.value_or(""));
    if (!edit(text))
        return true;
    // Settings can hold PDF passwords: a file others could read is closed to them when rewritten.
    return WriteFileAtomically(path, text.Join(), 0600, 0600);
}

} // namespace

bool IniFile::Apply(const std::vector<IniChange>& changes) {
    if (path_.empty())
        return false;
    for (const auto& change : changes)
        if (change.section.empty() || change.key.empty())
            return false;
    return EditFile(path_, [&](IniText& text) {
        bool changed = false;
        for (const auto& change : changes)
            changed = (change.value ? SetLine(text, change.section, change.key, *change.value)
                                    : RemoveLine(text, change.section, change.key)) ||
                      changed;
        return changed;
    });
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    return Apply({IniChange{section, key, value}});
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
    if (path_.empty())
        return false;
    if (std::error_code error; !std::filesystem::exists(path_, error) && !error)
        return true;
    return Apply({IniChange{section, key, std::nullopt}});
}

bool IniFile::DeleteSection(const std::string& section) {
    if (path_.empty())
        return false;
    if (std::error_code error; !std::filesystem::exists(path_, error) && !error)
        return true;
    return EditFile(path_, [&](IniText& text) {
        const auto range = text.FindSection(section);
        if (range.first == std::string::npos)
            return false;
        text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(range.first),
                         text.lines.begin() + static_cast<std::ptrdiff_t>(range.second));
        return true;
    });
}

} // namespace slidemill
