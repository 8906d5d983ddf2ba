#include "core/PickerRules.h"

#include "core/Translate.h"
#include "settings/Paths.h"

#include <algorithm>
#include <cctype>

namespace slidemill {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string WithCase(std::string text, int (*change)(int)) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [change](unsigned char c) { return static_cast<char>(change(c)); });
    return text;
}

bool IsFile(const std::string& path) {
    return !path.empty() && PathExists(path) && !FolderExists(path);
}

} // namespace

std::string OriginalFileFilter() {
    return "All files(*.*)|*.*|"
           "PowerPoint Presentations (*.ppt,*.pptx,*.pps,*.pot,*.htm,*.html,*.mht,*.mhtml)|"
           "*.PPT;*.PPTX;*.PPS;*.PPSX;*.POT;*.POTX;*.POTM;*.HTM;*.HTML;*.MHT;*.MHTML|"
           "Presentations and Shows (*.ppt,*.pptx,*.pps)|*.PPT;*.PPTX;*.PPS;*.PPSX|"
           "Web Pages HTML (*.htm,*.html,*.mht,*.mhtml)|*.htm;*.html;*.mht;*.mhtml|"
           "Design Templates (*.pot,*.potx)|*.pot;*.potx|"
           "Outlines(*.txt,*.rtf,*.doc,*.wpd,*.wps)|*.txt;*.rtf;*.doc;*.wpd;*.wps";
}

std::string TargetFileFilter() {
    return "Rich Text Format (*.RTF)|*.RTF|"
           "Text (*.txt)|*.TXT|"
           "HTML (*.htm)|*.HTM;*.HTML;*.MHT|"
           "TIFF (*.tif)|*.TIF;*.TIFF|"
           "JPEG (*.jpg)|*.JPG;*.JPEG|"
           "CompuServe GIF (*.gif)|*.GIF|"
           "Windows BMP (*.bmp)|*.BMP|"
           "Portable Network Graphics(*.png)|*.PNG|"
           "EMF (*.emf)|*.EMF|"
           "WMF (*.wmf)|*.WMF|"
           "PowerPoint (*.ppt *.pptx etc.) |*.PPT;*.PPTX;*.POTM;*.POTX;*.PPTM;*.PPSM;*.PPSX|"
           "PDF (*.pdf)|*.PDF|"
           "PPS PowerPoint Show |*.PPS;*.PPSX|"
           "POT Design Template (*.pot)|*.pot|"
           "DOC Word Document (*.doc)|*.doc|"
           "XPS (*.xps) |*.xps|"
           "XML (*.xml)|*.xml|"
           "WMV (*.wmv)|*.wmv|"
           "ODP (*.odp)|*.odp|"
           "All Files (*.*)|*.*|";
}

std::string SpecialFileFilter() {
    return "MS Word (*.doc)|*.doc|Rich Text Format(*.RTF)|*.RTF|Text (*.TXT;*.C;*.cpp, etc.)|"
           "*.TXT;*.C;*.cpp;*.frm|HTML (*.htm;*.html)|*.htm;*.html";
}

std::string JobFileFilter() {
    return "Slidemill (*.MJB)|*.MJB";
}

std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter) {
    std::vector<FileFilterEntry> entries;
    const std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilterEntry entry;
        entry.text = Trim(parts[i]);
        for (const std::string& pattern : Split(parts[i + 1], ';')) {
            const std::string trimmed = Trim(pattern);
            if (!trimmed.empty())
                entry.patterns.push_back(trimmed);
        }
        if (!entry.text.empty() && !entry.patterns.empty())
            entries.push_back(std::move(entry));
    }
    return entries;
}

std::string CaseInsensitiveNameFilter(const FileFilterEntry& entry) {
    std::vector<std::string> patterns;
    const auto add = [&patterns](const std::string& pattern) {
        if (std::find(patterns.begin(), patterns.end(), pattern) == patterns.end())
            patterns.push_back(pattern);
    };
    for (const std::string& pattern : entry.patterns) {
        // Every name matches these, whatever its case or extension.
        if (pattern == "*.*" || pattern == "*") {
            add("*");
            continue;
        }
        add(WithCase(pattern, ::tolower));
        add(WithCase(pattern, ::toupper));
    }
    std::string text = entry.text + " (";
    for (std::size_t i = 0; i < patterns.size(); ++i)
        text += (i ? " " : "") + patterns[i];
    return text + ")";
}

int OriginalFilterIndex(int32_t originalType, int lastIndex) {
    return originalType >= 1 && originalType <= 6 ? originalType : lastIndex;
}

std::string FolderPickerStart(const std::string& fieldText) {
    std::string text = fieldText;
    std::string expanded = ExpandFolderTokens(text);
    std::replace(expanded.begin(), expanded.end(), '*', 'A');
    if (expanded.empty() || FolderExists(expanded))
        return expanded;
    return ParentFolderOf(expanded);
}

std::string FolderPickResult(const std::string& chosenFolder, const std::string& pattern) {
    std::string folder = chosenFolder.substr(0, chosenFolder.find('\0'));
    if (folder.empty())
        return {};
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return (folder == "/" ? folder : folder + "/") + pattern;
}

LaunchTarget ResolveLaunchTarget(const std::string& fieldText) {
    std::string text = fieldText;
    const std::string expanded = ExpandFolderTokens(text);
    if (IsFile(expanded))
        return {LaunchKind::OpenFile, expanded};
    const std::string folder = FolderExists(expanded) ? expanded : ParentFolderOf(expanded);
    if (!folder.empty() && FolderExists(folder))
        return {LaunchKind::OpenFolder, folder};
    return {LaunchKind::Missing, expanded};
}

std::string MissingLaunchTargetMessage(const std::string& path) {
    return Translate("File/Folder does not exist:") + "\n\n" + path;
}

std::string RemoveDoubleQuotes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '"')
            out += c;
    return out;
}

} // namespace slidemill
