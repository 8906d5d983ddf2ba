#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace slidemill {

// One edit of a settings file: a value to store, or no value to remove the key.
struct IniChange {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

// The settings file format: "[Section]" and "key=value" lines. Section and key names match
// without regard to case, values are stored raw, reads are cut at 499 characters, and a write
// changes one line (or appends the key to its section, or the section to the file) and keeps
// every other line as it was. Every write replaces the file atomically, so a reader or a
// crash never sees half a file.
class IniFile {
public:
    static constexpr std::size_t kMaxValueLength = 499;

    IniFile() = default;
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }
    // Why the file exists but cannot be read (every read then gives its fallback); empty when
    // it can be read or is missing.
    std::string ReadProblem() const;

    // The value, or fallback when the file, section or key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // Leading decimal digits of the value (with an optional sign), fallback when the key is
    // missing, 0 when the value does not start with a number.
    int32_t ReadInt(const std::string& section, const std::string& key, int32_t fallback) const;
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;

    // False when the file could not be written; the file is then unchanged.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool DeleteKey(const std::string& section, const std::string& key);
    bool DeleteSection(const std::string& section);
    // Every change in one replace of the file, so a save of many keys is one whole version and
    // costs one write. Writers of the same folder (threads or processes) take turns, so none
    // loses another's keys. Nothing is written when no line changes; false (file unchanged)
    // when the file cannot be read or written or a change names no section or key.
    bool Apply(const std::vector<IniChange>& changes);

private:
    std::string path_;
};

} // namespace slidemill
