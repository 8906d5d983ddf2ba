#include "settings/FramePlacement.h"

#include "settings/SettingsValues.h"

namespace slidemill {

std::optional<FramePlacement> ReadFramePlacement(const IniFile& ini, bool commandLineMode) {
    if (commandLineMode)
        return std::nullopt;
    FramePlacement p;
    const std::string s = kFrameWindowSection;
    p.WindowState = ReadLongKey(ini, s, "WindowState", p.WindowState);
    if (p.WindowState != kFrameNormal && p.WindowState != kFrameMinimized && p.WindowState != kFrameMaximized)
        p.WindowState = kFrameNormal;
    p.Left = ReadLongKey(ini, s, "Left", p.Left);
    p.Top = ReadLongKey(ini, s, "Top", p.Top);
    p.Width = ReadLongKey(ini, s, "Width", p.Width);
    p.Height = ReadLongKey(ini, s, "Height", p.Height);
    return p;
}

bool PlacementAppliesGeometry(const FramePlacement& placement) {
    return placement.WindowState == kFrameNormal;
}

bool SaveFramePlacement(IniFile& ini, const FramePlacement& current, bool commandLineMode) {
    if (commandLineMode)
        return true;
    SectionWriter w(kFrameWindowSection);
    w.Long("WindowState", current.WindowState);
    if (current.WindowState == kFrameNormal) {
        w.Long("Left", current.Left);
        w.Long("Top", current.Top);
        w.Long("Width", current.Width);
        w.Long("Height", current.Height);
    }
    return ini.Apply(w.Changes());
}

bool PlacementNeedsRecovery(const FramePlacement& current) {
    return current.WindowState == kFrameNormal && current.Top > 99000;
}

} // namespace slidemill
