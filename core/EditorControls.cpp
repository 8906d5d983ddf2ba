#include "core/EditorControls.h"

#include "core/FileTypes.h"

namespace slidemill {

namespace {

// The controls of one set (conversion or special processing) that its original decides. Only a
// wildcard names a set of files that could keep their folder or include subfolders; a single
// file gets its own target name, so its File.. button stays. Without a wildcard "Save to
// Original folder" is unchecked.
struct FileSetControls {
    bool saveInOriginalFolderEnabled;
    bool doSubfoldersEnabled;
    bool targetFileButtonEnabled;
    bool targetFilePanelVisible;
};

FileSetControls RefreshFileSet(const std::string& original, bool& saveInOriginalFolder) {
    const bool wildcard = original.find('*') != std::string::npos;
    if (!wildcard)
        saveInOriginalFolder = false;
    return {wildcard, wildcard, !wildcard, !saveInOriginalFolder};
}

} // namespace

EditorControls RefreshConvertOptionsGUI(EditorState& editor, bool targetTypePicked) {
    EditorControls c;

    const FileSetControls conversion = RefreshFileSet(editor.sOriginalFile, editor.bSaveInOriginalFolder);
    c.saveInOriginalFolderEnabled = conversion.saveInOriginalFolderEnabled;
    c.doSubfoldersEnabled = conversion.doSubfoldersEnabled;
    c.targetFileButtonEnabled = conversion.targetFileButtonEnabled;
    c.targetFilePanelVisible = conversion.targetFilePanelVisible;
    c.originalTypeListVisible = editor.lConversionMethod == kMethodComponent;
    c.advancedOptionsVisible = targetTypePicked;

    const FileSetControls special =
        RefreshFileSet(editor.sOriginalFileSpecialized, editor.bSaveInOriginalFolderSpecialized);
    c.saveInOriginalFolderSpecializedEnabled = special.saveInOriginalFolderEnabled;
    c.doSubfoldersSpecializedEnabled = special.doSubfoldersEnabled;
    c.targetFileButtonSpecializedEnabled = special.targetFileButtonEnabled;
    c.targetFilePanelSpecializedVisible = special.targetFilePanelVisible;

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
