#include "settings/SettingsValues.h"

#include "settings/PathText.h"

#include <charconv>
#include <limits>

namespace slidemill {

namespace {

template <typename Number>
Number ReadNumber(const IniFile& ini, const std::string& section, const std::string& key, Number fallback) {
    const auto value = ini.Find(section, key);
    if (!value)
        return fallback;
    std::string text = pathtext::TrimSpaces(*value);
    if (!text.empty() && text.front() == '+')
        text.erase(0, 1);
    int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return fallback;
    if (number < std::numeric_limits<Number>::min() || number > std::numeric_limits<Number>::max())
        return fallback;
    return static_cast<Number>(number);
}

} // namespace

bool ReadBoolKey(const IniFile& ini, const std::string& section, const std::string& key, bool fallback) {
    const auto value = ini.Find(section, key);
    if (!value)
        return fallback;
    return pathtext::UpperAscii(*value) == "TRUE";
}

int32_t ReadLongKey(const IniFile& ini, const std::string& section, const std::string& key,
                    int32_t fallback) {
    return ReadNumber<int32_t>(ini, section, key, fallback);
}

int16_t ReadShortKey(const IniFile& ini, const std::string& section, const std::string& key,
                     int16_t fallback) {
    return ReadNumber<int16_t>(ini, section, key, fallback);
}

std::string ReadTextKey(const IniFile& ini, const std::string& section, const std::string& key,
                        const std::string& fallback) {
    return ini.ReadString(section, key, fallback);
}

const char* BoolText(bool value) {
    return value ? "TRUE" : "FALSE";
}

} // namespace slidemill
