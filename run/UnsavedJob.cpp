#include "run/UnsavedJob.h"

#include "core/JobDocument.h"
#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "settings/Paths.h"

namespace slidemill {

std::string KeepUnsavedJob(JobDocument& document, const std::string& folder) {
    if (!document.bAskToSaveMJBFileBeforeExit || TaskCount(document.fgToDo) == 0)
        return {};
    CreateFolderTree(folder);
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (int number = 1; number <= 99; ++number) {
        const std::string path = base + "Unsaved Conversion Job" +
                                 (number == 1 ? std::string() : " (" + std::to_string(number) + ")") + ".MJB";
        if (PathExists(path))
            continue;
        if (!WriteJobFile(path, document.fgToDo))
            return {};
        document.bAskToSaveMJBFileBeforeExit = false;
        return path;
    }
    return {};
}

} // namespace slidemill
