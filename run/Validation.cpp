#include "run/Validation.h"

#include "core/FileTypes.h"
#include "core/Prompt.h"
#include "core/Translate.h"
#include "run/TextLog.h"
#include "run/WildcardPath.h"
#include "settings/PathText.h"
#include "settings/Paths.h"

#include <filesystem>

namespace slidemill {

using pathtext::TrimSpaces;

namespace {

// Messages are read in Linux logs and terminals, where a carriage return only gets in the way.
constexpr const char* kBreak = "\n";
constexpr const char* kBlankLine = "\n\n";

// A source names a set of files with "*" or "?" in its file name; a target names one file per
// source file with the "*" that stands for each source's name.
bool HasTargetWildcard(const std::string& path) {
    return path.find('*') != std::string::npos;
}

bool IsAllowedSpecialType(int32_t type) {
    switch (type) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 6:
    case 9:
        return true;
    default:
        return false;
    }
}

// The folder a target goes to, created when missing. False when it still does not exist.
bool EnsureTargetFolder(const std::string& target) {
    const std::string folder = ParentFolderOf(target);
    if (folder.empty())
        return false;
    if (!FolderExists(folder))
        CreateFolderTree(folder);
    return FolderExists(folder);
}

int32_t JobFileVerdict(const clsConversionOptions& task) {
    return FileExists(task.sCLBatchJobFile) ? 0 : kInvalidJobFile;
}

int32_t ConversionVerdict(clsConversionOptions& task, ConversionComponent* component) {
    if (!task.sCLBatchJobFile.empty())
        return JobFileVerdict(task);
    if (!HasNameWildcard(task.sOriginalFile)) {
        // Subfolders and saving beside the source only mean something for a set of files.
        task.bDoSubfolders = false;
        task.bSaveInOriginalFolder = false;
        if (!FileExists(task.sOriginalFile))
            return kInvalidSourceFile;
        if (HasTargetWildcard(task.sTargetFile))
            return kInvalidTargetHasWildcard;
        if (!EnsureTargetFolder(task.sTargetFile))
            return kInvalidTargetFolder;
    } else {
        if (HasWildcardInFolder(task.sOriginalFile) || HasWildcardInFolder(task.sTargetFile))
            return kInvalidWildcardInFolder;
        if (!FolderExists(WildcardFolderOf(task.sOriginalFile)))
            return kInvalidSourceFolder;
        if (!HasTargetWildcard(task.sTargetFile))
            return kInvalidTargetNeedsWildcard;
        if (!EnsureTargetFolder(task.sTargetFile))
            return kInvalidTargetFolderForWildcard;
    }
    if (TypeCodeToText(task.lTargetFileType, false, task.lConversionMethod, component).empty())
        return kInvalidTargetType;
    return 0;
}

// The source/target checks of the processes that work file by file; no folder is created.
int32_t FileProcessVerdict(clsConversionOptions& task) {
    if (!HasNameWildcard(task.sOriginalFile)) {
        task.bDoSubfolders = false;
        task.bSaveInOriginalFolder = false;
        if (!FileExists(task.sOriginalFile))
            return kInvalidSourceFile;
        if (HasTargetWildcard(task.sTargetFile))
            return kInvalidTargetHasWildcard;
        if (!FolderExists(ParentFolderOf(task.sTargetFile)))
            return kInvalidTargetFolder;
        return 0;
    }
    if (HasWildcardInFolder(task.sOriginalFile) || HasWildcardInFolder(task.sTargetFile))
        return kInvalidWildcardInFolder;
    if (!FolderExists(WildcardFolderOf(task.sOriginalFile)))
        return kInvalidSourceFolder;
    if (!HasTargetWildcard(task.sTargetFile))
        return kInvalidTargetNeedsWildcard;
    if (!FolderExists(WildcardFolderOf(task.sTargetFile)))
        return kInvalidTargetFolderForWildcard;
    return 0;
}

int32_t SpecialVerdict(clsConversionOptions& task) {
    if (!task.sCLBatchJobFile.empty())
        return JobFileVerdict(task);
    switch (task.lSpecialProcess) {
    case kSpecialLaunch:
        if (HasNameWildcard(task.sOriginalFile))
            return kInvalidSpecialFileType;
        break;
    case kSpecialAppend:
        if (HasNameWildcard(task.sTargetFile))
            return kInvalidAppendTargetWildcard;
        if (HasWildcardInFolder(task.sOriginalFile))
            return kInvalidWildcardInFolder;
        if (IsSameFile(task.sTargetFile, task.sOriginalFile))
            return kInvalidAppendOntoItself;
        if (FolderExists(task.sTargetFile))
            return kInvalidAppendTargetFolder;
        break;
    case kSpecialRemoveEmptyLines:
    case kSpecialSearchReplace:
        if (int32_t verdict = FileProcessVerdict(task))
            return verdict;
        break;
    default:
        break;
    }
    // A special process writes the kind of file it reads.
    task.lTargetFileType = task.lOriginalFileType;
    switch (task.lSpecialProcess) {
    case kSpecialAppend:
    case kSpecialRemoveEmptyLines:
        return IsAllowedSpecialType(task.lOriginalFileType) ? 0 : kInvalidSpecialFileType;
    case kSpecialSearchReplace:
        if (task.sFindString.empty())
            return kInvalidEmptyFindString;
        return IsAllowedSpecialType(task.lOriginalFileType) ? 0 : kInvalidSpecialFileType;
    case kSpecialLaunch:
        return 0;
    default:
        return kInvalidSpecialProcess;
    }
}

std::string Expanded(std::string path) {
    return ExpandFolderTokens(path);
}

// The folder a target (or a wildcard pattern) writes into, judged by the output-folder check.
std::string OutputFolderOf(const std::string& expandedTarget) {
    const std::string folder = ParentFolderOf(expandedTarget);
    return folder.empty() ? expandedTarget : folder;
}

std::string OutputFolderMessage(const clsConversionOptions& task) {
    std::string suggested;
    std::string message;
    CheckOutputFolder(OutputFolderOf(Expanded(task.sTargetFile)), suggested, message);
    return message;
}

// A message's line breaks as blank lines, the way message boxes separate their parts.
std::string WithBlankLines(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n')
            result += kBlankLine;
        else
            result += c;
    }
    return result;
}

TaskEditorField FieldOfVerdict(const clsConversionOptions& task) {
    switch (task.lErr) {
    case kInvalidSourceFolder:
    case kInvalidSourceFile:
        return TaskEditorField::OriginalFile;
    case kInvalidTargetType:
        return TaskEditorField::TargetType;
    case kInvalidSpecialProcess:
        return TaskEditorField::SpecialProcess;
    case kInvalidSpecialFileType:
        return task.lSpecialProcess == kSpecialLaunch ? TaskEditorField::OriginalFile
                                                      : TaskEditorField::SpecialFileType;
    case kInvalidEmptyFindString:
        return TaskEditorField::FindString;
    case kInvalidJobFile:
        return TaskEditorField::None;
    default:
        return TaskEditorField::TargetFile;
    }
}

PromptAnswer Refuse(Prompt& prompt, const std::string& text) {
    return prompt.Ask(text, Translate("Error"), PromptButtons::OK, PromptIcon::Critical);
}

bool OfferFolderCreation(Prompt& prompt, const std::string& folder, const std::string& question) {
    const std::string text =
        Translate("Target Folder") + kBlankLine + folder + kBlankLine + Translate(question);
    if (prompt.Ask(text, Translate("Error"), PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
        return false;
    CreateFolderTree(folder);
    if (FolderExists(folder))
        return true;
    // Accepting a task whose folder could not be made would only move the failure to the run.
    Refuse(prompt, Translate("Target Folder") + kBlankLine + folder + kBlankLine +
                       Translate("could not be created."));
    return false;
}

bool OfferRecommendedFolder(TaskEditorFocus& editor, clsConversionOptions& task, Prompt& prompt) {
    const std::string target = Expanded(task.sTargetFile);
    std::string suggested;
    std::string message;
    const int status = CheckOutputFolder(OutputFolderOf(target), suggested, message);
    std::string text = Translate(message) + kBlankLine + target;
    if (status == kOutputFolderNotWritable) {
        Refuse(prompt, text);
        return false;
    }
    text += kBlankLine + Translate("Do you want to use the recommended output folder path below instead") +
            ":" + kBlankLine + suggested;
    if (prompt.Ask(text, Translate("Error"), PromptButtons::OKCancel, PromptIcon::Exclamation) !=
        PromptAnswer::OK)
        return false;
    // The file name (or wildcard) the user typed moves with the folder into the recommended one.
    const std::string name = target.substr(OutputFolderOf(target).size());
    std::string folder = suggested;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    task.sTargetFile = name.empty() ? folder : folder + (name.front() == '/' ? "" : "/") + name;
    editor.SetTargetFileText(task.sTargetFile);
    return true;
}

} // namespace

bool FileExists(const std::string& path) {
    const std::string trimmed = TrimSpaces(path);
    if (trimmed.empty() || trimmed.find_first_of("*?") != std::string::npos)
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(trimmed, ec);
}

int32_t ValidateConversionTask(clsConversionOptions& task, ConversionComponent* component) {
    task.lErr = ConversionVerdict(task, component);
    return 0;
}

int32_t ValidateSpecialTask(clsConversionOptions& task) {
    task.lErr = SpecialVerdict(task);
    return 0;
}

int32_t ValidateTask(clsConversionOptions& task, ConversionComponent* component) {
    const std::string target = task.sTargetFile;
    const std::string original = task.sOriginalFile;
    const std::string logFile = task.sLogFile;
    const std::string logAsJob = task.sLogAsConversionJobFile;
    const std::string currentJob = task.sCurrentBatchJobFile;
    task.sTargetFile = ExpandFolderTokens(task.sTargetFile);
    task.sOriginalFile = ExpandFolderTokens(task.sOriginalFile);
    task.sLogFile = ExpandFolderTokens(task.sLogFile);
    task.sLogAsConversionJobFile = ExpandFolderTokens(task.sLogAsConversionJobFile);
    task.sCurrentBatchJobFile = ExpandFolderTokens(task.sCurrentBatchJobFile);
    const std::string expandedTarget = task.sTargetFile;
    const std::string expandedOriginal = task.sOriginalFile;

    const bool special = IsSpecialAction(task.sActionToDo);
    const bool launch = special && task.lSpecialProcess == kSpecialLaunch;
    if (special)
        ValidateSpecialTask(task);
    else
        ValidateConversionTask(task, component);

    int32_t result = 0;
    if (!launch) {
        const std::string checked =
            TrimSpaces(task.bSaveInOriginalFolder ? task.sOriginalFile : task.sTargetFile);
        if (!checked.empty() && !IsFolderWritable(OutputFolderOf(checked))) {
            task.lErr = kInvalidOutputFolder;
            result = 1;
        }
    }

    if (TrimSpaces(task.sTargetFile) == expandedTarget)
        task.sTargetFile = target;
    if (TrimSpaces(task.sOriginalFile) == expandedOriginal)
        task.sOriginalFile = original;
    task.sLogFile = logFile;
    task.sLogAsConversionJobFile = logAsJob;
    task.sCurrentBatchJobFile = currentJob;
    return result;
}

std::string ValidationMessage(const clsConversionOptions& task) {
    switch (task.lErr) {
    case kInvalidSourceFolder:
        return Translate("Original Folder") + kBreak + WildcardFolderOf(Expanded(task.sOriginalFile)) +
               kBreak + Translate("does not exist.");
    case kInvalidWildcardInFolder: {
        const bool inSource = HasWildcardInFolder(Expanded(task.sOriginalFile));
        return Translate(inSource ? "Original File" : "Target File") + kBreak +
               (inSource ? task.sOriginalFile : task.sTargetFile) + kBreak +
               Translate("has a wildcard (* or ?) in a folder name. Wildcards work only in the file name, "
                         "for example '/home/me/MyFiles/Q3*.pptx'; add /R to include subfolders.");
    }
    case kInvalidTargetNeedsWildcard:
        return Translate("'Target File' must have wild card (*) since Original file has a wildcard.") +
               kBreak + Translate("For example: '/home/me/MyFiles/*.PDF'");
    case kInvalidTargetFolderForWildcard:
    case kInvalidTargetFolder:
        return Translate("Output Folder") + kBreak + ParentFolderOf(Expanded(task.sTargetFile)) + kBreak +
               Translate("does not exist.");
    case kInvalidSourceFile:
        return Translate("Original File") + kBreak + task.sOriginalFile + kBreak +
               Translate("does not exist.");
    case kInvalidTargetHasWildcard:
        return Translate("Target File") + kBreak + task.sTargetFile + kBreak +
               Translate("cannot have a wildcard (*) in it unless the Original file does.");
    case kInvalidTargetType:
        return Translate("Invalid Target File type specified (/C# switch).") + "\n\n" +
               Translate(
                   "If you are not using the built in 'Slidemill' conversion, use the correct target type "
                   "lookup table");
    case kInvalidJobFile:
        return Translate("Conversion Job File (*.MJB) specified in the command line (/J) does not exist.");
    case kInvalidSpecialProcess:
        return Translate("Invalid Special Process Identifier specified");
    case kInvalidSpecialFileType:
        return Translate("Invalid original file type for the Special Process specified.");
    case kInvalidAppendTargetWildcard:
        return Translate("Target File") + kBreak + task.sTargetFile + kBreak +
               Translate("cannot have a wildcard (*) for this special process");
    case kInvalidAppendOntoItself:
        return Translate("Cannot concatenate a file with itself.");
    case kInvalidAppendTargetFolder:
        return Translate("Target must be a specific file. Not a folder.");
    case kInvalidEmptyFindString:
        return Translate("String to find and replace is empty.");
    case kInvalidOutputFolder:
        return Translate("Output Folder") + ": " + Translate(OutputFolderMessage(task)) + kBreak +
               Expanded(task.sTargetFile);
    default:
        return {};
    }
}

void ReportCommandLineError(clsConversionOptions& task, Prompt* prompt) {
    task.sErr = ValidationMessage(task);
    AppendToLogFile(task.sErr, task.sLogFile, task.bVerbose, prompt);
}

bool ReportValidationErrorInteractive(TaskEditorFocus& editor, clsConversionOptions& task, Prompt& prompt) {
    const std::string unable = Translate("Unable to add/update: ");
    const std::string notSpecified =
        Translate("Target file not specified. Use a wildcard to specify whole folder.");
    bool accepted = false;
    switch (task.lErr) {
    case 0:
        return true;
    case kInvalidOutputFolder:
        accepted = OfferRecommendedFolder(editor, task, prompt);
        break;
    case kInvalidEmptyFindString:
    case kInvalidAppendTargetFolder:
    case kInvalidSpecialFileType:
    case kInvalidSpecialProcess:
        Refuse(prompt, ValidationMessage(task));
        break;
    case kInvalidAppendOntoItself:
        Refuse(prompt,
               Translate("Original and Target File are the same. Cannot concatenate a file onto itself"));
        break;
    case kInvalidTargetType:
        Refuse(prompt, Translate("Invalid Target File type specified"));
        break;
    case kInvalidAppendTargetWildcard:
    case kInvalidTargetHasWildcard:
    case kInvalidTargetNeedsWildcard:
    case kInvalidSourceFolder:
    case kInvalidWildcardInFolder:
        Refuse(prompt, WithBlankLines(ValidationMessage(task)));
        break;
    case kInvalidTargetFolder: {
        const std::string folder = ParentFolderOf(Expanded(task.sTargetFile));
        if (folder.empty())
            Refuse(prompt, notSpecified);
        else
            accepted = OfferFolderCreation(prompt, folder, N_("does not exist.  Create it?"));
        break;
    }
    case kInvalidTargetFolderForWildcard: {
        const std::string folder = TrimSpaces(WildcardFolderOf(Expanded(task.sTargetFile)));
        if (folder.empty())
            Refuse(prompt, notSpecified);
        else
            accepted = OfferFolderCreation(prompt, folder, N_("does not exist. Create it?"));
        break;
    }
    case kInvalidSourceFile:
        if (TrimSpaces(task.sOriginalFile).empty()) {
            Refuse(prompt, unable + kBlankLine + Translate("Original File has not been specified."));
        } else {
            const std::string text = unable + kBlankLine + Translate("Original File") + kBlankLine +
                                     task.sOriginalFile + kBlankLine + Translate("does not exist.") + "\n\n" +
                                     Translate("Add anyway?");
            accepted = prompt.Ask(text, Translate("Error"), PromptButtons::YesNo, PromptIcon::Question) ==
                       PromptAnswer::Yes;
        }
        break;
    default:
        Refuse(prompt, unable + kBlankLine);
        break;
    }
    if (!accepted) {
        const TaskEditorField field = FieldOfVerdict(task);
        if (field != TaskEditorField::None)
            editor.FocusField(field);
    }
    return accepted;
}

} // namespace slidemill
