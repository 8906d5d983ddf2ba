#include "core/EditorControls.h"

#include "core/FileTypes.h"

namespace slidemill {

namespace {

bool HasWildcard(const std::string& path) {
    return path.find('*') != std::string::npos;
}

} // namespace

EditorControls RefreshConvertOptionsGUI(EditorState& editor, bool targetTypePicked) {
    EditorControls c;

    // Only a wildcard names a set of files that could keep their folder or include subfolders;
    // a single file gets its own target name, so its File.. button stays.
    const bool wildcard = HasWildcard(editor.sOriginalFile);
    if (!wildcard)
        editor.bSaveInOriginalFolder = false;
    c.saveInOriginalFolderEnabled = wildcard;
    c.doSubfoldersEnabled = wildcard;
    c.targetFileButtonEnabled = !wildcard;
    c.targetFilePanelVisible = !editor.bSaveInOriginalFolder;
    c.originalTypeListVisible = editor.lConversionMethod == kMethodComponent;
    c.advancedOptionsVisible = targetTypePicked;

    const bool wildcardSpecialized = HasWildcard(editor.sOriginalFileSpecialized);
    if (!wildcardSpecialized)
        editor.bSaveInOriginalFolderSpecialized = false;
    c.saveInOriginalFolderSpecializedEnabled = wildcardSpecialized;
    c.doSubfoldersSpecializedEnabled = wildcardSpecialized;
    c.targetFileButtonSpecializedEnabled = !wildcardSpecialized;
    c.targetFilePanelSpecializedVisible = !editor.bSaveInOriginalFolderSpecialized;

    c.specialPanelInFront = IsSpecialAction(editor.sActionToDo);

    switch (editor.lSpecialProcess) {
    case kSpecialAppend:
        // Every source is appended to one named target: both files are picked one by one and
        // there is no subfolder walk.
        c.doSubfoldersSpecializedEnabled = false;
        c.originalFileButtonSpecializedEnabled = true;
        c.targetFileButtonSpecializedEnabled = true;
        break;
    case kSpecialSearchReplace:
        c.searchReplaceGroupVisible = true;
        break;
    case kSpecialLaunch:
        c.launchGroupVisible = true;
        break;
    default:
        break;
    }

    editor.bTargetFileFrameVisible = c.targetFilePanelVisible;
    editor.bOriginalTypeListVisible = c.originalTypeListVisible;
    return c;
}

} // namespace slidemill
