#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace slidemill {

// How the program was asked to serve automation: `--automation [--idle-timeout SECONDS]`.
struct AutomationArguments {
    // The service ends after this long without a call; zero: never for idleness.
    std::chrono::seconds idleTimeout{60};
    // Set when the arguments ask for the service but cannot be served as given.
    std::string error;
};

// Longest idle time accepted (a week): a larger number is more likely a typo than a wish.
inline constexpr long long kMaxIdleTimeoutSeconds = 7LL * 24 * 3600;

// True when the arguments ask for the automation service (they start with --automation); the
// options that follow are read into result, and anything not understood is named in its error.
// False for every other command line, which is a conversion line.
bool ParseAutomationArguments(const std::vector<std::string>& arguments, AutomationArguments& result);

} // namespace slidemill
