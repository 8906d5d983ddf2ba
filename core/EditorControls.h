#pragma once

#include "core/EditorState.h"

namespace slidemill {

// The enabled, checked and visible states of the task editor's controls that follow from its
// values. The window applies them; it never decides them itself.
struct EditorControls {
    // Conversion set: a wildcard original enables "Save to Original folder" and "Do Subfolders"
    // and disables the target "File.." button.
    bool saveInOriginalFolderEnabled = false;
    bool doSubfoldersEnabled = false;
    bool targetFileButtonEnabled = true;
    bool targetFilePanelVisible = true; // hidden while "Save to Original folder" is checked
    bool originalTypeListVisible = true;
    bool advancedOptionsVisible = false; // once a target format is picked

    // Special-processing set, by the same rule and by the special process.
    bool saveInOriginalFolderSpecializedEnabled = false;
    bool doSubfoldersSpecializedEnabled = false;
    bool originalFileButtonSpecializedEnabled = true;
    bool targetFileButtonSpecializedEnabled = true;
    bool targetFilePanelSpecializedVisible = true;
    bool searchReplaceGroupVisible = false;
    bool launchGroupVisible = false;

    // "C": the conversion panel is in front; "S": the special-processing panel.
    bool specialPanelInFront = false;

    bool operator==(const EditorControls&) const = default;
};

// The editor refresh. Also changes the values that the rules force: without a wildcard in the
// original, "Save to Original folder" is unchecked (in both sets).
// targetTypePicked: the user has picked a target format since the editor was loaded or reset.
EditorControls RefreshConvertOptionsGUI(EditorState& editor, bool targetTypePicked);

} // namespace slidemill
