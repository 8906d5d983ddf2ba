#include "cli/AutomationArguments.h"

#include <charconv>

namespace slidemill {
namespace {

bool ReadSeconds(const std::string& text, long long& seconds) {
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    return error == std::errc() && end == text.data() + text.size() && seconds >= 0 &&
           seconds <= kMaxIdleTimeoutSeconds;
}

} // namespace

bool ParseAutomationArguments(const std::vector<std::string>& arguments, AutomationArguments& result) {
    result = AutomationArguments{};
    if (arguments.empty() || arguments[0] != "--automation")
        return false;
    const std::string option = "--idle-timeout";
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string value;
        if (argument == option) {
            if (i + 1 >= arguments.size()) {
                result.error = option + " needs a number of seconds";
                return true;
            }
            value = arguments[++i];
        } else if (argument.rfind(option + "=", 0) == 0) {
            value = argument.substr(option.size() + 1);
        } else {
            result.error = "unknown option for --automation: " + argument;
            return true;
        }
        long long seconds = 0;
        if (!ReadSeconds(value, seconds)) {
            result.error = option + " takes whole seconds from 0 (never) to " +
                           std::to_string(kMaxIdleTimeoutSeconds) + ", not \"" + value + "\"";
            return true;
        }
        result.idleTimeout = std::chrono::seconds(seconds);
    }
    return true;
}

} // namespace slidemill
