#include "settings/MainWindowLists.h"

namespace slidemill {

void SetupMruList(clsMRU& list, MruListKind kind, const std::string& iniPath) {
    list.Setup(kind.capacity, iniPath, kind.name, "-1");
}

void MainWindowLists::SetupAll(const std::string& iniPath, bool commandLineMode) {
    if (commandLineMode)
        return;
    SetupMruList(mruSourceSpecialized, kMruSourceSpecialized, iniPath);
    SetupMruList(mruTargetSpecialized, kMruTargetSpecialized, iniPath);
    SetupMruList(mruSource, kMruSource, iniPath);
    SetupMruList(mruCommandLine, kMruCommandLine, iniPath);
    SetupMruList(mruCommandLineArguments, kMruCommandLineArguments, iniPath);
    SetupMruList(mruFindString, kMruFindString, iniPath);
    SetupMruList(mruReplaceString, kMruReplaceString, iniPath);
    SetupMruList(mruTarget, kMruTarget, iniPath);
    SetupMruList(mruFileOpen, kMruFileOpen, iniPath);
}

bool MainWindowLists::ShutDownAll(bool commandLineMode) {
    bool ok = true;
    for (clsMRU* list :
         {&mruSource, &mruTarget, &mruSourceSpecialized, &mruTargetSpecialized, &mruCommandLine,
          &mruCommandLineArguments, &mruFindString, &mruReplaceString, &mruFileOpen}) {
        if (commandLineMode)
            list->ClearAllItemsInList();
        else
            ok = list->ShutDown() && ok;
    }
    return ok;
}

std::vector<clsMRU*> RememberEditorTexts(MainWindowLists& lists, const EditorBoxTexts& texts) {
    std::vector<clsMRU*> grown;
    const auto add = [&](clsMRU& list, const std::string& text) {
        list.AddUniqueItemToCollection(text);
        grown.push_back(&list);
    };
    // The action kind is "C" or "S" with the process code ("S56"): the letter decides.
    if (texts.sActionToDo.find('S') != std::string::npos) {
        add(lists.mruSourceSpecialized, texts.cbOriginalFileSpecialized);
        add(lists.mruTargetSpecialized, texts.cbTargetFileSpecialized);
        add(lists.mruCommandLine, texts.cbCommandLine);
        add(lists.mruCommandLineArguments, texts.cbCommandLineArguments);
        add(lists.mruFindString, texts.cbFindString);
        if (!texts.cbReplacementString.empty())
            add(lists.mruReplaceString, texts.cbReplacementString);
    } else if (texts.sActionToDo.find('C') != std::string::npos) {
        add(lists.mruSource, texts.cbOriginalFile);
        add(lists.mruTarget, texts.cbTargetFile);
    }
    return grown;
}

bool RememberJobFile(clsMRU& mruFileOpen, const std::string& path, bool commandLineMode) {
    if (commandLineMode)
        return false;
    mruFileOpen.AddUniqueItemToCollection(path);
    return true;
}

} // namespace slidemill
