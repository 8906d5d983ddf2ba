#include "engine/OfficeRunParts.h"

#include "settings/IniFile.h"
#include "settings/MainWindowSettings.h"

#include <utility>

namespace slidemill {

OfficeRunParts::OfficeRunParts(EngineOptions options, std::string iniFilePath)
    : iniFilePath_(std::move(iniFilePath)), component_(std::move(options)), richText_(component_),
      pdf_(richText_, pdfOptions_) {}

OfficeRunParts::~OfficeRunParts() {
    component_.ShutDown();
}

ConversionSettings OfficeRunParts::ReadSettings() {
    const MainWindowSettings settings =
        ReadMainWindowSettings(IniFile(iniFilePath_), /*commandLineMode=*/true);
    component_.SetOptimizeForSpeed(settings.mnuOptimizeForSpeed);
    pdfOptions_ = settings.pdx;
    return ToConversionSettings(settings);
}

} // namespace slidemill
