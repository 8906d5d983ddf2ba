#include "engine/OfficeRunParts.h"

#include "settings/IniFile.h"
#include "settings/MainWindowSettings.h"
#include "settings/SettingsGlobals.h"

#include <utility>

namespace slidemill {

OfficeRunParts::OfficeRunParts(EngineOptions options, std::string iniFilePath)
    : iniFilePath_(std::move(iniFilePath)), component_(std::move(options)), richText_(component_),
      pdf_(richText_, pdfOptions_) {}

OfficeRunParts::~OfficeRunParts() {
    component_.ShutDown();
}

int32_t OfficeRunParts::GuardedPdfStage::ConvertRtfToPdf(clsConversionOptions& record) {
    if (parts_.settingsProblem_.empty())
        return parts_.pdf_.ConvertRtfToPdf(record);
    RefusingPdfStage refusing(parts_.settingsProblem_ + ", so the PDF's security settings are unknown");
    return refusing.ConvertRtfToPdf(record);
}

ConversionSettings OfficeRunParts::ReadSettings() {
    settingsProblem_ = SettingsFileReadProblem(iniFilePath_);
    const MainWindowSettings settings =
        ReadMainWindowSettings(IniFile(iniFilePath_), /*commandLineMode=*/true);
    component_.SetOptimizeForSpeed(settings.mnuOptimizeForSpeed);
    pdfOptions_ = settings.pdx;
    return ToConversionSettings(settings);
}

void OfficeRunParts::UsePdfOptions(const PdfOptions& options) {
    pdfOptions_ = options;
    // The window's values are known, so an unreadable file no longer leaves them in doubt.
    settingsProblem_.clear();
}

} // namespace slidemill
