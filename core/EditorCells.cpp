#include "core/EditorCells.h"

#include "core/OptionsCell.h"
#include "core/TaskGrid.h"
#include "core/Translate.h"

#include <vector>

namespace slidemill {

namespace {

bool IsCurrentTaskRow(const Grid& grid) {
    return IsTaskRow(grid, grid.Row()) && grid.Cell(grid.Row(), kColNumber) != kNewTaskMark;
}

// The editor reads slide numbers more loosely than a run: a piece that does not parse leaves
// the field as it was.
void ReadSlidePieces(std::string_view cell, int32_t& from, int32_t& to) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t at; (at = cell.find(',', start)) != std::string_view::npos; start = at + 1)
        pieces.push_back(cell.substr(start, at - start));
    pieces.push_back(cell.substr(start));
    if (pieces.size() > 1)
        ParseCellNumber(pieces[1], from);
    if (pieces.size() > 2)
        ParseCellNumber(pieces[2], to);
}

} // namespace

clsConversionOptions EditorToRecord(const EditorState& editor) {
    clsConversionOptions record;
    if (editor.sActionToDo.find('S') != std::string::npos) {
        record.lConversionMethod = kMethodSpecial;
        record.lSpecialProcess = editor.lSpecialProcess;
        record.sActionToDo = "S" + std::to_string(editor.lSpecialProcess);
        record.bCaseSensitive = editor.bCaseSensitive;
        record.sFindString = editor.sFindString;
        record.sReplaceString = editor.sReplaceString;
        record.lCommandLineThreadPriority = editor.lCommandLineThreadPriority;
        record.lCommandLineWindowState = editor.lCommandLineWindowState;
        record.lCommandLineWaitTime = editor.lCommandLineWaitTime;
        if (IsLaunchCode(editor.lSpecialProcess)) {
            record.sOriginalFile = editor.sApplicationName;
            record.sTargetFile = editor.sCommandLineArguments;
            record.lOriginalFileType = 0;
            record.lTargetFileType = 0;
        } else {
            record.sOriginalFile = editor.sOriginalFileSpecialized;
            record.sTargetFile = editor.sTargetFileSpecialized;
            record.lOriginalFileType = editor.lSpecialFileType;
            record.lTargetFileType = editor.lSpecialFileType;
            record.bDoSubfolders = editor.bDoSubfoldersSpecialized;
            record.bSaveInOriginalFolder = editor.bSaveInOriginalFolderSpecialized;
        }
        return record;
    }
    record.sActionToDo = "C";
    record.lConversionMethod = editor.lConversionMethod;
    record.sOriginalFile = editor.sOriginalFile;
    record.sTargetFile = editor.sTargetFile;
    record.lOriginalFileType = editor.lOriginalFileType;
    record.lTargetFileType = editor.lTargetFileType;
    record.bDoSubfolders = editor.bDoSubfolders;
    record.bSaveInOriginalFolder = editor.bSaveInOriginalFolder;
    record.bConvertAllSlides = editor.bConvertAllSlides;
    record.bCreateFileForEachSlide = editor.bCreateFileForEachSlide;
    record.lFromSlide = editor.lFromSlide;
    record.lToSlide = editor.lToSlide;
    return record;
}

bool UpdateGridFromGUI_ConversionItem(const EditorState& editor, Grid& grid, ConversionComponent* component) {
    if (!IsCurrentTaskRow(grid))
        return false;
    EditorState conversion = editor;
    conversion.sActionToDo = "C";
    const clsConversionOptions record = EditorToRecord(conversion);
    const int row = grid.Row();
    grid.SetCell(row, kColOptions, BuildOptionsCell(record));
    grid.SetCell(row, kColAction, "C");
    grid.SetCell(row, kColOriginal, record.sOriginalFile);
    grid.SetCell(row, kColOriginalType, std::to_string(record.lOriginalFileType));
    grid.SetCell(row, kColOriginalTypeText, OriginalTypeText(record, component));
    grid.SetCell(row, kColTarget, record.sTargetFile);
    grid.SetCell(row, kColTargetType, std::to_string(record.lTargetFileType));
    grid.SetCell(row, kColTargetTypeText, TargetTypeText(record, component));
    return true;
}

bool UpdateGridFromGUI_SpecializedItem(const EditorState& editor, Grid& grid) {
    if (!IsCurrentTaskRow(grid))
        return false;
    EditorState special = editor;
    special.sActionToDo = "S";
    const clsConversionOptions record = EditorToRecord(special);
    const int row = grid.Row();
    std::string options;
    std::string typeText;
    if (IsLaunchCode(record.lSpecialProcess)) {
        options = LaunchOptionsCell(record.lCommandLineThreadPriority, record.lCommandLineWindowState,
                                    record.lCommandLineWaitTime);
    } else {
        if (record.bDoSubfolders)
            options += 'R';
        if (record.bSaveInOriginalFolder)
            options += 'G';
        if (record.bCaseSensitive)
            options += 'D';
        if (record.lSpecialProcess == kSpecialSearchReplace)
            options += FindReplaceTail(record.sFindString, record.sReplaceString);
        typeText = TypeCodeToText(record.lOriginalFileType, false, kMethodSpecial, nullptr);
    }
    grid.SetCell(row, kColOptions, options);
    grid.SetCell(row, kColAction, record.sActionToDo);
    grid.SetCell(row, kColOriginal, record.sOriginalFile);
    grid.SetCell(row, kColOriginalType, std::to_string(record.lOriginalFileType));
    grid.SetCell(row, kColOriginalTypeText, typeText);
    grid.SetCell(row, kColTarget, record.sTargetFile);
    grid.SetCell(row, kColTargetType, std::to_string(record.lTargetFileType));
    grid.SetCell(row, kColTargetTypeText, typeText);
    return true;
}

std::string SlideRangeDescription(bool allSlides, int32_t from, int32_t to, bool filePerSlide) {
    std::string text;
    if (allSlides)
        text = Translate("Convert all slides. ");
    else
        text = Translate("Convert FROM Slide") + " " + std::to_string(from) + " " + Translate("TO Slide") +
               " " + std::to_string(to) + ". ";
    return text + (filePerSlide ? Translate("Create file for each slide.") : Translate("Create one file."));
}

bool UpdateGUI_ConversionItemViaCellContents(const Grid& grid, EditorState& editor) {
    if (!IsCurrentTaskRow(grid))
        return false;
    const int row = grid.Row();
    const std::string_view cell = grid.Cell(row, kColOptions);
    editor.sActionToDo = "C";
    editor.bDoSubfolders = HasOptionLetter(cell, 'R');
    editor.bSaveInOriginalFolder = HasOptionLetter(cell, 'G');
    editor.bTargetFileFrameVisible = !editor.bSaveInOriginalFolder;
    editor.lConversionMethod = HasOptionLetter(cell, 'M')   ? kMethodWord
                               : HasOptionLetter(cell, 'P') ? kMethodFromPdf
                                                            : kMethodComponent;
    editor.bOriginalTypeListVisible = editor.lConversionMethod == kMethodComponent;
    editor.bCreateFileForEachSlide = cell.find('C') != std::string_view::npos;
    editor.bConvertAllSlides = cell.find('A') != std::string_view::npos;
    ReadSlidePieces(cell, editor.lFromSlide, editor.lToSlide);
    editor.sSlideDescription = SlideRangeDescription(editor.bConvertAllSlides, editor.lFromSlide,
                                                     editor.lToSlide, editor.bCreateFileForEachSlide);
    editor.sOriginalFile = std::string(grid.Cell(row, kColOriginal));
    editor.sTargetFile = std::string(grid.Cell(row, kColTarget));
    ParseCellNumber(grid.Cell(row, kColOriginalType), editor.lOriginalFileType);
    ParseCellNumber(grid.Cell(row, kColTargetType), editor.lTargetFileType);
    return true;
}

bool UpdateGUI_SpecializedItemViaCellContents(const Grid& grid, EditorState& editor) {
    if (!IsCurrentTaskRow(grid))
        return false;
    const int row = grid.Row();
    const std::string action(grid.Cell(row, kColAction));
    clsConversionOptions record;
    record.sFindString = editor.sFindString;
    record.sReplaceString = editor.sReplaceString;
    record.lCommandLineThreadPriority = editor.lCommandLineThreadPriority;
    record.lCommandLineWindowState = editor.lCommandLineWindowState;
    record.lCommandLineWaitTime = editor.lCommandLineWaitTime;
    std::string digits;
    for (char ch : action)
        if (ch != 'S')
            digits += ch;
    int32_t code = editor.lSpecialProcess;
    ParseCellNumber(digits, code);
    record.lSpecialProcess = code;
    ReadOptionsCell(grid.Cell(row, kColOptions), action, record, nullptr);

    editor.sActionToDo = "S";
    editor.lSpecialProcess = code;
    editor.bCaseSensitive = record.bCaseSensitive;
    editor.sFindString = record.sFindString;
    editor.sReplaceString = record.sReplaceString;
    editor.lCommandLineThreadPriority = record.lCommandLineThreadPriority;
    editor.lCommandLineWindowState = record.lCommandLineWindowState;
    editor.lCommandLineWaitTime = record.lCommandLineWaitTime;
    if (IsLaunchCode(code)) {
        editor.sApplicationName = std::string(grid.Cell(row, kColOriginal));
        editor.sCommandLineArguments = std::string(grid.Cell(row, kColTarget));
        return true;
    }
    editor.sOriginalFileSpecialized = std::string(grid.Cell(row, kColOriginal));
    editor.sTargetFileSpecialized = std::string(grid.Cell(row, kColTarget));
    editor.bDoSubfoldersSpecialized = record.bDoSubfolders;
    editor.bSaveInOriginalFolderSpecialized = record.bSaveInOriginalFolder;
    ParseCellNumber(grid.Cell(row, kColOriginalType), editor.lSpecialFileType);
    return true;
}

bool UpdateGUI_ViaCellContents(const Grid& grid, EditorState& editor) {
    if (IsConversionAction(std::string(grid.Cell(grid.Row(), kColAction))))
        return UpdateGUI_ConversionItemViaCellContents(grid, editor);
    return UpdateGUI_SpecializedItemViaCellContents(grid, editor);
}

} // namespace slidemill
