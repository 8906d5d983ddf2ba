#include "settings/Paths.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "settings/PathText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace slidemill {

using namespace pathtext;

namespace {

// One generator for the whole process, seeded once: seeding from the clock on every call would
// hand two calls in the same clock tick the same name.
std::uint32_t RandomBelow100Million() {
    static std::mutex guard;
    static std::mt19937 generator = [] {
        std::random_device device;
        const auto now =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::seed_seq seed{device(), device(), static_cast<std::uint32_t>(now),
                           static_cast<std::uint32_t>(now >> 32)};
        return std::mt19937(seed);
    }();
    std::lock_guard lock(guard);
    return std::uniform_int_distribution<std::uint32_t>(0, 99'999'999)(generator);
}

enum class NameState { Free, Taken, Unknown };

NameState StateOfName(const std::string& path) {
    std::error_code ec;
    // A dangling link counts as taken: creating a file through it would land elsewhere.
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec)
        return ec == std::errc::no_such_file_or_directory ? NameState::Free : NameState::Unknown;
    return fs::exists(status) ? NameState::Taken : NameState::Free;
}

// Random picks that keep hitting taken names mean a crowded folder; beyond this many the
// search gives up instead of stalling the run.
constexpr long kMaxTries = 100'000;

} // namespace

std::string MakeTempFileName(const std::string& folder, const std::string& prefix,
                             const std::string& extension) {
    try {
        const std::string name = TrimSpaces(prefix);
        std::string suffix = TrimSpaces(extension);
        if (suffix.empty())
            suffix = "TMP";
        std::string base = folder;
        if (base.empty())
            base = SystemTempFolder();
        if (base.empty())
            base = ProgramFolder();
        base = WithTrailingSlash(base);
        // A prefix of eight or more characters still gets one digit, so there is a name to vary.
        const std::size_t length = CharacterCount(name);
        const int digits = length >= 8 ? 1 : static_cast<int>(8 - length);
        long tries = 1;
        for (int i = 0; i < digits && tries < kMaxTries; ++i)
            tries *= 10;
        for (long attempt = 0; attempt < tries; ++attempt) {
            char number[16];
            std::snprintf(number, sizeof number, "%08u", static_cast<unsigned>(RandomBelow100Million()));
            const std::string candidate =
                base + name + std::string(number, static_cast<std::size_t>(digits)) + "." + suffix;
            switch (StateOfName(candidate)) {
            case NameState::Free:
                return candidate;
            case NameState::Taken:
                break;
            case NameState::Unknown: // the folder itself cannot be searched
                return {};
            }
        }
        return {};
    } catch (...) {
        return {};
    }
}

bool IsFolderWritable(const std::string& path) {
    try {
        if (path.empty())
            return false;
        const std::string folder = DeepestExistingFolder(path);
        // With no existing part there is nothing to judge: a relative path is not a place a
        // batch run should write to.
        if (folder.empty())
            return false;
        // A name can be taken between the choice and the creation; another name is then tried.
        for (int attempt = 0; attempt < 5; ++attempt) {
            const std::string probe = MakeTempFileName(folder, "", "TMP");
            if (probe.empty())
                return false;
            switch (CreateNewFile(probe, "Hello World\n")) {
            case NewFileResult::Created: {
                std::error_code ec;
                fs::remove(probe, ec);
                return true;
            }
            case NewFileResult::AlreadyExists:
                continue;
            case NewFileResult::Failed:
                return false;
            }
        }
        return false;
    } catch (...) {
        return false;
    }
}

} // namespace slidemill
