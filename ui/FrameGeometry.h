#pragma once

#include "settings/FramePlacement.h"

#include <QRect>

#include <cstdint>
#include <vector>

class QWidget;

namespace slidemill {

// Placements are stored in twips, 1440 to the inch; the screen's logical dots per inch turn them
// into pixels, so a window keeps its size in inches across screens of different density.
int TwipsToPixels(int32_t twips, double dpi);
int32_t PixelsToTwips(int pixels, double dpi);

// The stored position and size in pixels.
QRect PlacementPixels(const FramePlacement& placement, double dpi);

// The placement to open with. A window that would lie on none of the screens (a monitor
// that has gone, a top beyond 99000 twips) opens at the default placement instead, and a
// window larger than the screen it opens on is shrunk to fit it. The same holds for the normal
// placement of a maximised or minimised window: it is where the window goes when restored.
FramePlacement PlacementToOpen(const FramePlacement& stored, const std::vector<QRect>& screens, double dpi);

// The placement to save: the window's state, and for a normal window its geometry in twips.
// A maximised or minimised window keeps the stored position and size, so that it restores to
// where it was.
FramePlacement PlacementToSave(const FramePlacement& stored, int32_t windowState, const QRect& geometry,
                               double dpi);

// Sets the window's state, and for a normal one its geometry, from stored (on the window's
// screen, with its density). Call before the window is shown.
void ApplyFramePlacement(QWidget& window, const FramePlacement& stored);

// The window's current placement, as PlacementToSave gives it.
FramePlacement CurrentFramePlacement(const QWidget& window, const FramePlacement& stored);

} // namespace slidemill
