#include "settings/PdfOptions.h"

#include "settings/SettingsValues.h"

namespace slidemill {

namespace {

// One table drives both directions, so reading and saving cannot drift apart.
struct LongKey {
    const char* key;
    int32_t PdfOptions::*field;
};
struct ShortKey {
    const char* key;
    int16_t PdfOptions::*field;
};

constexpr LongKey kFontLongs[] = {
    {"lPdxBaseLine", &PdfOptions::lPdxBaseLine},
    {"lPdxFontBold", &PdfOptions::lPdxFontBold},
    {"lPdxFontItalic", &PdfOptions::lPdxFontItalic},
    {"lPdxFontSize", &PdfOptions::lPdxFontSize},
    {"lPdxFontStrikethru", &PdfOptions::lPdxFontStrikethru},
    {"lPdxFontUnderline", &PdfOptions::lPdxFontUnderline},
    {"lPdxFontUnderlineStyle", &PdfOptions::lPdxFontUnderlineStyle},
    {"lPdxForeColor", &PdfOptions::lPdxForeColor},
    {"lPdxTextBkColor", &PdfOptions::lPdxTextBkColor},
};

constexpr LongKey kPageLongs[] = {
    {"lPdxPageMarginL", &PdfOptions::lPdxPageMarginL}, {"lPdxPageMarginT", &PdfOptions::lPdxPageMarginT},
    {"lPdxPageMarginR", &PdfOptions::lPdxPageMarginR}, {"lPdxPageMarginB", &PdfOptions::lPdxPageMarginB},
    {"lPdxPageWidth", &PdfOptions::lPdxPageWidth},     {"lPdxPageHeight", &PdfOptions::lPdxPageHeight},
};

constexpr LongKey kParagraphLongs[] = {
    {"lPdxAlignment", &PdfOptions::lPdxAlignment},
    {"lPdxFrameDistance", &PdfOptions::lPdxFrameDistance},
    {"lPdxFrameLineWidth", &PdfOptions::lPdxFrameLineWidth},
    {"lPdxFrameStyle", &PdfOptions::lPdxFrameStyle},
    {"lPdxIndentB", &PdfOptions::lPdxIndentB},
    {"lPdxIndentFL", &PdfOptions::lPdxIndentFL},
    {"lPdxIndentL", &PdfOptions::lPdxIndentL},
    {"lPdxIndentR", &PdfOptions::lPdxIndentR},
    {"lPdxIndentT", &PdfOptions::lPdxIndentT},
    {"lPdxLineSpacing", &PdfOptions::lPdxLineSpacing},
    {"lPdxLineSpacingT", &PdfOptions::lPdxLineSpacingT},
};

template <std::size_t N>
void ReadLongs(const IniFile& ini, const std::string& section, const LongKey (&keys)[N],
               PdfOptions& options) {
    for (const auto& entry : keys)
        options.*entry.field = ReadLongKey(ini, section, entry.key, options.*entry.field);
}

template <std::size_t N>
void WriteLongs(const PdfOptions& options, const LongKey (&keys)[N], SectionWriter& writer) {
    for (const auto& entry : keys)
        writer.Long(entry.key, options.*entry.field);
}

void ReadShort(const IniFile& ini, const std::string& section, ShortKey entry, PdfOptions& options) {
    options.*entry.field = ReadShortKey(ini, section, entry.key, options.*entry.field);
}

} // namespace

PdfOptions ReadPdfOptions(const IniFile& ini, const std::string& section) {
    PdfOptions o;
    ReadShort(ini, section, {"glnMeasurement", &PdfOptions::glnMeasurement}, o);

    o.bOverrideFontSettings = ReadBoolKey(ini, section, "bOverrideFontSettings", o.bOverrideFontSettings);
    ReadLongs(ini, section, kFontLongs, o);
    o.sPdxFontName = ReadTextKey(ini, section, "sPdxFontName", o.sPdxFontName);

    o.bOverridePageSettings = ReadBoolKey(ini, section, "bOverridePageSettings", o.bOverridePageSettings);
    ReadLongs(ini, section, kPageLongs, o);
    ReadShort(ini, section, {"lPdxStyleSheetOption", &PdfOptions::lPdxStyleSheetOption}, o);
    o.sPdxStyleSheetFile = ReadTextKey(ini, section, "sPdxStyleSheetFile", o.sPdxStyleSheetFile);
    o.bPdxPortrait = ReadBoolKey(ini, section, "bPdxPortrait", o.bPdxPortrait);

    o.bOverrideParagraphSettings =
        ReadBoolKey(ini, section, "bOverrideParagraphSettings", o.bOverrideParagraphSettings);
    ReadLongs(ini, section, kParagraphLongs, o);

    o.bOverridePDFSettings = ReadBoolKey(ini, section, "bOverridePDFSettings", o.bOverridePDFSettings);
    o.sPdxPDFUserPassword = ReadTextKey(ini, section, "sPdxPDFUserPassword", o.sPdxPDFUserPassword);
    o.sPdxPDFMasterPassword = ReadTextKey(ini, section, "sPdxPDFMasterPassword", o.sPdxPDFMasterPassword);
    ReadShort(ini, section, {"lDocAccessPermissions", &PdfOptions::lDocAccessPermissions}, o);

    o.bOverrideImageSettings = ReadBoolKey(ini, section, "bOverrideImageSettings", o.bOverrideImageSettings);
    ReadShort(ini, section, {"lImageComparessionQuality", &PdfOptions::lImageComparessionQuality}, o);
    o.lImageMaxResolution = ReadLongKey(ini, section, "lImageMaxResolution", o.lImageMaxResolution);
    return o;
}

void AddPdfGroupChanges(const PdfOptions& o, const std::string& section, std::vector<IniChange>& changes) {
    SectionWriter w(section);
    w.Bool("bOverrideFontSettings", o.bOverrideFontSettings);
    if (o.bOverrideFontSettings) {
        WriteLongs(o, kFontLongs, w);
        w.Text("sPdxFontName", o.sPdxFontName);
    }
    w.Bool("bOverridePageSettings", o.bOverridePageSettings);
    if (o.bOverridePageSettings) {
        WriteLongs(o, kPageLongs, w);
        w.Long("lPdxStyleSheetOption", o.lPdxStyleSheetOption);
        w.Text("sPdxStyleSheetFile", o.sPdxStyleSheetFile);
        w.Bool("bPdxPortrait", o.bPdxPortrait);
    }
    w.Bool("bOverrideParagraphSettings", o.bOverrideParagraphSettings);
    if (o.bOverrideParagraphSettings)
        WriteLongs(o, kParagraphLongs, w);
    w.Bool("bOverridePDFSettings", o.bOverridePDFSettings);
    if (o.bOverridePDFSettings) {
        w.Text("sPdxPDFUserPassword", o.sPdxPDFUserPassword);
        w.Text("sPdxPDFMasterPassword", o.sPdxPDFMasterPassword);
        w.Long("lDocAccessPermissions", o.lDocAccessPermissions);
    }
    w.Bool("bOverrideImageSettings", o.bOverrideImageSettings);
    if (o.bOverrideImageSettings) {
        w.Long("lImageComparessionQuality", o.lImageComparessionQuality);
        w.Long("lImageMaxResolution", o.lImageMaxResolution);
    }
    changes.insert(changes.end(), w.Changes().begin(), w.Changes().end());
}

void AddPdfOptionsChanges(const PdfOptions& o, const std::string& section, std::vector<IniChange>& changes) {
    changes.push_back({section, "glnMeasurement", std::to_string(o.glnMeasurement)});
    AddPdfGroupChanges(o, section, changes);
}

} // namespace slidemill
