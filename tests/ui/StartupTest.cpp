// What the program checks and shows before the main window: the display, the fonts, the
// start-up window's texts.
#include "ui/DisplayCheck.h"
#include "ui/FontCheck.h"
#include "ui/StartupWindow.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace slidemill {
namespace {

TEST(DisplayCheck, WithoutAnyDisplayExplainsAndNamesTheProgram) {
    const std::string problem = DisplayProblem({}, "slidemill");
    ASSERT_FALSE(problem.empty());
    EXPECT_EQ(problem.rfind("slidemill: ", 0), 0u) << problem;
    EXPECT_NE(problem.find("DISPLAY"), std::string::npos) << problem;
    EXPECT_NE(problem.find("slidemill /?"), std::string::npos) << problem;
}

TEST(DisplayCheck, AnX11OrWaylandDisplayIsEnough) {
    EXPECT_EQ(DisplayProblem({":0", "", ""}, "slidemill"), "");
    EXPECT_EQ(DisplayProblem({"", "wayland-0", ""}, "slidemill"), "");
    EXPECT_EQ(DisplayProblem({":1", "", "xcb"}, "slidemill"), "");
}

TEST(DisplayCheck, PlatformsWithoutADisplayServerNeedNone) {
    EXPECT_EQ(DisplayProblem({"", "", "offscreen"}, "slidemill"), "");
    EXPECT_EQ(DisplayProblem({"", "", "vnc:size=1280x800"}, "slidemill"), "");
    EXPECT_EQ(DisplayProblem({"", "", "minimal"}, "slidemill"), "");
}

TEST(DisplayCheck, ANamedPlatformNeedsItsOwnDisplay) {
    const std::string problem = DisplayProblem({"", "wayland-0", "xcb"}, "slidemill");
    EXPECT_NE(problem.find("QT_QPA_PLATFORM=\"xcb\""), std::string::npos) << problem;
    EXPECT_FALSE(DisplayProblem({":0", "", "wayland"}, "slidemill").empty());
    // A list is tried in order: one usable entry is enough.
    EXPECT_EQ(DisplayProblem({":0", "", "wayland;xcb"}, "slidemill"), "");
    EXPECT_FALSE(DisplayProblem({"", "", "wayland;xcb"}, "slidemill").empty());
}

TEST(FontCheck, TheApplicationFontResolvesToAnInstalledFamily) {
    // Without one every text of the window is drawn as empty boxes.
    EXPECT_TRUE(ApplicationFontResolves());
}

TEST(StartupWindow, VersionLineJoinsMinorVersionAndRevision) {
    EXPECT_EQ(StartupVersionLine("2.1.45"), "V2.145");
    EXPECT_EQ(StartupVersionLine("0.1.0"), "V0.10");
    EXPECT_EQ(StartupVersionLine("3"), "V3.00");
    EXPECT_EQ(StartupVersionLine("10.20.3"), "V10.203");
}

TEST(StartupWindow, ShowsNameVersionAndMaker) {
    StartupWindow window("2.1.45");
    const auto label = [&](const char* name) {
        const QLabel* found = window.findChild<QLabel*>(name);
        return found ? found->text() : QString("(no %1)").arg(name);
    };
    EXPECT_EQ(window.objectName(), "frmPleaseWait");
    EXPECT_EQ(label("lblHeader"), "Slidemill!");
    EXPECT_EQ(label("lblLine1"), "V2.145");
    EXPECT_EQ(label("lblLine2"), "Lumenware, Inc.");
}

TEST(StartupWindow, ShowsTheProgramsOwnVersion) {
    StartupWindow window(SLIDEMILL_VERSION);
    EXPECT_EQ(window.VersionText().toStdString(), StartupVersionLine(SLIDEMILL_VERSION));
    window.show();
    // Every line fits: nothing is cut off at the window's natural size.
    for (const QLabel* label : window.findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
}

} // namespace
} // namespace slidemill
