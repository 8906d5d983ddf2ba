// Every test program starts with HOME and the XDG folders pointed at a fresh temporary folder,
// so no test can read or write the real user's settings, documents or caches.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    slidemill::test::TempFolder home("home");
    slidemill::test::UseHomeUnder(home.path());
    return RUN_ALL_TESTS();
}
