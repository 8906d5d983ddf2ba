#include "run/ListTargetNamer.h"

#include "core/FileTypes.h"
#include "run/FileNameParts.h"
#include "run/WildcardPath.h"
#include "settings/Paths.h"

namespace slidemill {

namespace {

// A task read from a job file or the grid may carry a conversion method that was never set for
// a special process; its targets must still get the extension of its own type.
int32_t NamingMethod(const clsConversionOptions& task) {
    if (IsSpecialAction(task.sActionToDo))
        return kMethodSpecial;
    return task.lConversionMethod;
}

} // namespace

ListTargetNamer::ListTargetNamer(const clsConversionOptions& task, ConversionComponent* component)
    : targetRoot_(WildcardFolderOf(task.sTargetFile)), sourceBase_(FolderPartOf(task.sOriginalFile)),
      extension_(TypeCodeToText(task.lTargetFileType, false, NamingMethod(task), component)),
      besideSource_(task.bSaveInOriginalFolder) {}

std::string ListTargetNamer::SubFolderOf(const std::string& folder) const {
    return folder.size() > sourceBase_.size() ? folder.substr(sourceBase_.size()) : std::string();
}

std::string ListTargetNamer::TargetOf(const std::string& file) const {
    const std::string folder = FolderPartOf(file);
    const std::string base(BaseOfName(NamePartOf(file)));
    if (besideSource_)
        return folder + base + "." + extension_;
    return targetRoot_ + SubFolderOf(folder) + base + "." + extension_;
}

void ListTargetNamer::Apply(const std::string& file, clsConversionOptions& perFile, bool createFolder) const {
    perFile.sOriginalFile = file;
    perFile.sSubFolder = SubFolderOf(FolderPartOf(file));
    perFile.sTargetFile = TargetOf(file);
    if (!createFolder || besideSource_)
        return;
    const std::string targetFolder = targetRoot_ + perFile.sSubFolder;
    if (!targetFolder.empty() && !FolderExists(targetFolder))
        CreateFolderTree(targetFolder);
}

} // namespace slidemill
