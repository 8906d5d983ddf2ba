#include "ui/FrameGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace slidemill {

namespace {

constexpr double kTwipsPerInch = 1440.0;

double ScreenDpi(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

std::vector<QRect> AvailableScreens() {
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(screen->availableGeometry());
    return screens;
}

} // namespace

int TwipsToPixels(int32_t twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int32_t PixelsToTwips(int pixels, double dpi) {
    if (dpi <= 0)
        return 0;
    return static_cast<int32_t>(std::lround(pixels * kTwipsPerInch / dpi));
}

QRect PlacementPixels(const FramePlacement& placement, double dpi) {
    return QRect(TwipsToPixels(placement.Left, dpi), TwipsToPixels(placement.Top, dpi),
                 TwipsToPixels(placement.Width, dpi), TwipsToPixels(placement.Height, dpi));
}

FramePlacement PlacementToOpen(const FramePlacement& stored, const std::vector<QRect>& screens, double dpi) {
    if (screens.empty())
        return stored;
    FramePlacement result = stored;
    QRect rect = PlacementPixels(stored, dpi);
    const auto onScreen = [&](const QRect& candidate) {
        return std::find_if(screens.begin(), screens.end(),
                            [&](const QRect& screen) { return screen.intersects(candidate); });
    };
    auto screen = onScreen(rect);
    if (PlacementNeedsRecovery(stored) || rect.width() <= 0 || rect.height() <= 0 ||
        screen == screens.end()) {
        const FramePlacement defaults;
        result.Left = defaults.Left;
        result.Top = defaults.Top;
        result.Width = defaults.Width;
        result.Height = defaults.Height;
        rect = PlacementPixels(result, dpi);
        screen = onScreen(rect);
        if (screen == screens.end())
            screen = screens.begin();
    }
    // Fit into the screen: a window taller than the screen hides its status bar.
    const QRect area = *screen;
    const int width = std::min(rect.width(), area.width());
    const int height = std::min(rect.height(), area.height());
    const int left = std::clamp(rect.left(), area.left(), area.left() + area.width() - width);
    const int top = std::clamp(rect.top(), area.top(), area.top() + area.height() - height);
    if (QRect(left, top, width, height) != rect) {
        result.Left = PixelsToTwips(left, dpi);
        result.Top = PixelsToTwips(top, dpi);
        result.Width = PixelsToTwips(width, dpi);
        result.Height = PixelsToTwips(height, dpi);
    }
    return result;
}

FramePlacement PlacementToSave(const FramePlacement& stored, int32_t windowState, const QRect& geometry,
                               double dpi) {
    FramePlacement result = stored;
    result.WindowState = windowState;
    if (windowState == kFrameNormal) {
        result.Left = PixelsToTwips(geometry.left(), dpi);
        result.Top = PixelsToTwips(geometry.top(), dpi);
        result.Width = PixelsToTwips(geometry.width(), dpi);
        result.Height = PixelsToTwips(geometry.height(), dpi);
    }
    return result;
}

void ApplyFramePlacement(QWidget& window, const FramePlacement& stored) {
    const double dpi = ScreenDpi(window);
    const FramePlacement placement = PlacementToOpen(stored, AvailableScreens(), dpi);
    // The normal geometry is set in every state: it is where a maximised window restores to.
    window.setGeometry(PlacementPixels(placement, dpi));
    if (placement.WindowState == kFrameMaximized)
        window.setWindowState(Qt::WindowMaximized);
    else if (placement.WindowState == kFrameMinimized)
        window.setWindowState(Qt::WindowMinimized);
    else
        window.setWindowState(Qt::WindowNoState);
}

FramePlacement CurrentFramePlacement(const QWidget& window, const FramePlacement& stored) {
    int32_t state = kFrameNormal;
    if (window.isMinimized())
        state = kFrameMinimized;
    else if (window.isMaximized() || window.isFullScreen())
        state = kFrameMaximized;
    return PlacementToSave(stored, state, window.geometry(), ScreenDpi(window));
}

} // namespace slidemill
