#pragma once

#include "settings/IniFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// Typed reads and writes of settings keys, in the file's text forms: booleans "TRUE"/"FALSE",
// integers as plain decimal text.

// Upper-cased and compared with "TRUE": "true" and "True" count, anything else is false.
bool ReadBoolKey(const IniFile& ini, const std::string& section, const std::string& key, bool fallback);
// A whole decimal number (spaces around it and a sign allowed). A key that holds text which is
// not such a number, or a number outside the type's range, gives the key's default: a damaged or
// hand-edited file then behaves like a fresh one for that key instead of turning into 0.
int32_t ReadLongKey(const IniFile& ini, const std::string& section, const std::string& key, int32_t fallback);
int16_t ReadShortKey(const IniFile& ini, const std::string& section, const std::string& key,
                     int16_t fallback);
std::string ReadTextKey(const IniFile& ini, const std::string& section, const std::string& key,
                        const std::string& fallback);

const char* BoolText(bool value);

// A batch of writes into one section, applied in the order added (IniFile::Apply).
class SectionWriter {
public:
    explicit SectionWriter(std::string section) : section_(std::move(section)) {}
    void Bool(const std::string& key, bool value) { Text(key, BoolText(value)); }
    void Long(const std::string& key, int64_t value) { Text(key, std::to_string(value)); }
    void Text(const std::string& key, const std::string& value) {
        changes_.push_back({section_, key, value});
    }
    std::vector<IniChange>& Changes() { return changes_; }

private:
    std::string section_;
    std::vector<IniChange> changes_;
};

} // namespace slidemill
