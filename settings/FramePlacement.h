#pragma once

#include "settings/IniFile.h"

#include <cstdint>
#include <optional>

namespace slidemill {

inline constexpr const char* kFrameWindowSection = "frmMainMDI";

enum FrameWindowState : int32_t { kFrameNormal = 0, kFrameMinimized = 1, kFrameMaximized = 2 };

// The frame window's state and its last normal placement, in twips.
struct FramePlacement {
    int32_t WindowState = kFrameNormal;
    int32_t Left = 150;
    int32_t Top = 150;
    int32_t Width = 13000;
    int32_t Height = 9405;

    bool operator==(const FramePlacement&) const = default;
};

// The stored placement; nothing in command-line mode, where no window is shown. A state that is
// not one of the three reads as normal.
std::optional<FramePlacement> ReadFramePlacement(const IniFile& ini, bool commandLineMode);

// Whether the stored position and size are applied after the state: only for a normal window.
bool PlacementAppliesGeometry(const FramePlacement& placement);

// Writes the state always and the position and size only for a normal window, so a maximised
// or minimised window keeps its last normal placement in the file. Nothing in command-line mode.
bool SaveFramePlacement(IniFile& ini, const FramePlacement& current, bool commandLineMode);

// A normal window whose top lies beyond 99000 twips is off every screen: after a resize it is
// put back at the stored placement.
bool PlacementNeedsRecovery(const FramePlacement& current);

} // namespace slidemill
