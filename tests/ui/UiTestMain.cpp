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
    slidemill::test::UseHomeUnder(home.path());
    // Qt warns without a runtime folder of the user's own.
    const std::filesystem::path runtime = home.path() / "run";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // The same locale on every machine: a window started without a stored language on a
    // non-English locale would first ask for a language.
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C.UTF-8", 1);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
