// Every test program starts with HOME and the XDG folders pointed at a fresh temporary folder,
// so no test can read or write the real user's settings, documents or caches.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    slidemill::test::TempFolder home("home");
    const auto root = home.path();
    const auto set = [&](const char* name, const std::filesystem::path& value) {
        std::filesystem::create_directories(value);
        setenv(name, value.c_str(), 1);
    };
    set("HOME", root);
    set("XDG_CONFIG_HOME", root / ".config");
    set("XDG_DATA_HOME", root / ".local/share");
    set("XDG_CACHE_HOME", root / ".cache");
    set("XDG_DOCUMENTS_DIR", root / "Documents");
    set("TMPDIR", root / "tmp");
    return RUN_ALL_TESTS();
}
