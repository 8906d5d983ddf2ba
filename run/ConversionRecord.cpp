#include "run/ConversionRecord.h"

#include "run/ConversionContext.h"
#include "settings/Paths.h"

namespace slidemill {

void PrepareRecord(const ConversionContext& context, clsConversionOptions& record) {
    record.bShowSlideAndShape = context.settings.bShowSlideAndShape;
    record.bIncludeNotesPage = context.settings.bIncludeNotesPage;
    record.bIncludeNotesOnly = context.settings.bIncludeNotesOnly;
    record.sErr.clear();
    record.lErr = 0;
}

ConversionProperties PropertiesFor(const clsConversionOptions& record) {
    ConversionProperties p;
    p.FromSlide = record.bConvertAllSlides ? 0 : record.lFromSlide;
    p.ToSlide = record.bConvertAllSlides ? 0 : record.lToSlide;
    p.OneFilePerSlide = record.bCreateFileForEachSlide;
    p.SourceFile = record.sOriginalFile;
    p.TargetFile = record.sTargetFile;
    p.TargetFormat = record.lTargetFileType;
    p.IncludeNotesPage = record.bIncludeNotesPage;
    p.NotesOnly = record.bIncludeNotesOnly;
    p.ShowSlideAndShape = record.bShowSlideAndShape;
    return p;
}

std::string SafeLastErrorText(ConversionComponent& component) {
    try {
        return component.LastErrorText();
    } catch (...) {
        return {};
    }
}

bool WouldOverwriteSource(const std::string& source, const std::string& target) {
    return !target.empty() && IsSameFile(source, target);
}

} // namespace slidemill
