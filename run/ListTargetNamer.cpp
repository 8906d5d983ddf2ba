#include "run/ListTargetNamer.h"

#include "core/FileTypes.h"
#include "run/FileNameParts.h"
#include "run/WildcardPath.h"
#include "settings/Paths.h"

namespace slidemill {

ListTargetNamer::ListTargetNamer(const clsConversionOptions& task, ConversionComponent* component)
    : targetRoot_(WildcardFolderOf(task.sTargetFile)), sourceBase_(FolderPartOf(task.sOriginalFile)),
      extension_(TypeCodeToText(task.lTargetFileType, false, task.lConversionMethod, component)),
      besideSource_(task.bSaveInOriginalFolder) {}

void ListTargetNamer::Apply(const std::string& file, clsConversionOptions& perFile) const {
    const std::string folder = FolderPartOf(file);
    const std::string base(BaseOfName(NamePartOf(file)));
    perFile.sOriginalFile = file;
    perFile.sSubFolder.clear();
    if (folder.size() > sourceBase_.size())
        perFile.sSubFolder = folder.substr(sourceBase_.size());
    if (besideSource_) {
        perFile.sTargetFile = folder + base + "." + extension_;
        return;
    }
    const std::string targetFolder = targetRoot_ + perFile.sSubFolder;
    if (!targetFolder.empty() && !FolderExists(targetFolder))
        CreateFolderTree(targetFolder);
    perFile.sTargetFile = targetFolder + base + "." + extension_;
}

} // namespace slidemill
