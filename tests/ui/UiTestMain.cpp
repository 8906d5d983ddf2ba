// The window tests run offscreen with HOME and the XDG folders in a fresh temporary folder,
// like every other test program, and one QApplication made before the first test.
#include "support/TempFolder.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
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
    set("XDG_RUNTIME_DIR", root / "run");
    std::filesystem::permissions(root / "run", std::filesystem::perms::owner_all);
    set("TMPDIR", root / "tmp");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
