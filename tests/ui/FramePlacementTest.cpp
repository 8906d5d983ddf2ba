// The frame window's placement: stored in twips, shown in pixels, saved back on close.
#include "settings/FramePlacement.h"
#include "settings/IniFile.h"
#include "support/TempFolder.h"
#include "ui/FrameGeometry.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace slidemill {
namespace {

const std::vector<QRect> kOneScreen = {QRect(0, 0, 1280, 800)};

TEST(FrameGeometry, TwipsAndPixelsAt96And144Dpi) {
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(150, 96), 10);
    EXPECT_EQ(TwipsToPixels(13000, 96), 867);
    EXPECT_EQ(TwipsToPixels(9405, 144), 941);
    EXPECT_EQ(PixelsToTwips(96, 96), 1440);
    EXPECT_EQ(PixelsToTwips(867, 96), 13005);
    // A pixel round trip is exact: a window that was not moved saves what it was opened with,
    // give or take the twips that no pixel can show.
    for (int pixels : {0, 1, 7, 10, 627, 867, 1279}) {
        for (double dpi : {72.0, 96.0, 120.0, 144.0, 192.0})
            EXPECT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels) << pixels << " at " << dpi;
    }
}

TEST(FrameGeometry, WithoutASettingsFileOpensNormalAtTheDefaults) {
    test::TempFolder folder("frame");
    const IniFile ini((folder.path() / "none.ini").string());
    const auto stored = ReadFramePlacement(ini, false);
    ASSERT_TRUE(stored.has_value());
    const FramePlacement open = PlacementToOpen(*stored, kOneScreen, 96);
    EXPECT_EQ(open.WindowState, kFrameNormal);
    EXPECT_EQ(PlacementPixels(open, 96), QRect(10, 10, 867, 627));
}

TEST(FrameGeometry, SavingANormalWindowWritesItsGeometryInTwips) {
    test::TempFolder folder("frame");
    IniFile ini((folder.path() / "settings.ini").string());
    const FramePlacement saved = PlacementToSave(FramePlacement{}, kFrameNormal, QRect(48, 64, 960, 640), 96);
    ASSERT_TRUE(SaveFramePlacement(ini, saved, false));
    const FramePlacement read = ReadFramePlacement(ini, false).value();
    EXPECT_EQ(read, (FramePlacement{kFrameNormal, 720, 960, 14400, 9600}));
    EXPECT_EQ(PlacementPixels(PlacementToOpen(read, kOneScreen, 96), 96), QRect(48, 64, 960, 640));
}

TEST(FrameGeometry, AMaximisedWindowKeepsItsLastNormalPlacement) {
    test::TempFolder folder("frame");
    IniFile ini((folder.path() / "settings.ini").string());
    const FramePlacement normal{kFrameNormal, 720, 960, 14400, 9600};
    ASSERT_TRUE(SaveFramePlacement(ini, normal, false));
    // Closed maximised: the window's maximised geometry must not replace the normal one.
    const FramePlacement closing = PlacementToSave(normal, kFrameMaximized, QRect(0, 0, 1280, 800), 96);
    ASSERT_TRUE(SaveFramePlacement(ini, closing, false));
    const FramePlacement read = ReadFramePlacement(ini, false).value();
    EXPECT_EQ(read, (FramePlacement{kFrameMaximized, 720, 960, 14400, 9600}));
    const FramePlacement open = PlacementToOpen(read, kOneScreen, 96);
    EXPECT_EQ(open.WindowState, kFrameMaximized);
    EXPECT_EQ(PlacementPixels(open, 96), QRect(48, 64, 960, 640));
}

TEST(FrameGeometry, AWindowOffEveryScreenOpensAtTheDefaults) {
    const QRect defaults(10, 10, 867, 627);
    // Beyond 99000 twips down.
    EXPECT_EQ(PlacementPixels(PlacementToOpen({kFrameNormal, 150, 120000, 13000, 9405}, kOneScreen, 96), 96),
              defaults);
    // On a second monitor that is no longer there.
    EXPECT_EQ(PlacementPixels(PlacementToOpen({kFrameNormal, 30000, 150, 13000, 9405}, kOneScreen, 96), 96),
              defaults);
    // A window without size.
    EXPECT_EQ(PlacementPixels(PlacementToOpen({kFrameNormal, 150, 150, 0, 9405}, kOneScreen, 96), 96),
              defaults);
    // The remaining monitor keeps a window that is on it.
    const std::vector<QRect> two = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)};
    EXPECT_EQ(PlacementPixels(PlacementToOpen({kFrameNormal, 30000, 150, 13000, 9405}, two, 96), 96),
              QRect(2000, 10, 867, 627));
}

TEST(FrameGeometry, AWindowLargerThanItsScreenIsFittedIntoIt) {
    const FramePlacement huge{kFrameNormal, 14400, 150, 40000, 40000};
    const QRect open = PlacementPixels(PlacementToOpen(huge, kOneScreen, 96), 96);
    EXPECT_TRUE(kOneScreen[0].contains(open))
        << open.x() << "," << open.y() << " " << open.width() << "x" << open.height();
    EXPECT_EQ(open.size(), QSize(1280, 800));
}

TEST(FrameGeometry, AWidgetOpensAndSavesAtTheStoredPlacement) {
    QWidget window;
    const double dpi = window.screen()->logicalDotsPerInch();
    const QRect area = window.screen()->availableGeometry();
    // A placement well inside the screen, whatever its size.
    const QRect pixels(area.left() + 20, area.top() + 30, area.width() / 2, area.height() / 2);
    const FramePlacement stored = PlacementToSave(FramePlacement{}, kFrameNormal, pixels, dpi);
    ApplyFramePlacement(window, stored);
    window.show();
    EXPECT_EQ(window.geometry(), pixels);
    EXPECT_EQ(CurrentFramePlacement(window, FramePlacement{}), stored);

    window.showMaximized();
    const FramePlacement maximised = CurrentFramePlacement(window, stored);
    EXPECT_EQ(maximised.WindowState, kFrameMaximized);
    EXPECT_EQ(maximised.Left, stored.Left);
    EXPECT_EQ(maximised.Width, stored.Width);
}

} // namespace
} // namespace slidemill
