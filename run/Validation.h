#pragma once

#include "core/ConversionOptions.h"

#include <cstdint>
#include <string>

namespace slidemill {

class ConversionComponent;
class Prompt;

// Validation verdicts in lErr (a set of their own, apart from the run's result codes).
inline constexpr int32_t kInvalidSourceFolder = -1;
inline constexpr int32_t kInvalidTargetNeedsWildcard = -2;
inline constexpr int32_t kInvalidTargetFolderForWildcard = -3;
inline constexpr int32_t kInvalidSourceFile = -4;
inline constexpr int32_t kInvalidTargetHasWildcard = -5;
inline constexpr int32_t kInvalidTargetFolder = -6;
inline constexpr int32_t kInvalidTargetType = -7;
inline constexpr int32_t kInvalidJobFile = -8;
// A wildcard stands in a folder name of the source or target.
inline constexpr int32_t kInvalidWildcardInFolder = -9;
inline constexpr int32_t kInvalidSpecialProcess = -101;
inline constexpr int32_t kInvalidSpecialFileType = -102;
inline constexpr int32_t kInvalidAppendTargetWildcard = -103;
inline constexpr int32_t kInvalidAppendOntoItself = -104;
inline constexpr int32_t kInvalidAppendTargetFolder = -105;
inline constexpr int32_t kInvalidEmptyFindString = -110;
inline constexpr int32_t kInvalidOutputFolder = -1000000;

// Whether path (trimmed) names an existing file: never a folder, never a wildcard pattern;
// false for an empty path and whenever the lookup fails.
bool FileExists(const std::string& path);

// Checks a conversion task (or the job file it names) and sets lErr; creates a missing target
// folder. component answers which target types have an extension; null: none has. Returns 0.
int32_t ValidateConversionTask(clsConversionOptions& task, ConversionComponent* component);
// Checks a special-process or launch task (or the job file it names) and sets lErr; the target
// type becomes the source type. Returns 0.
int32_t ValidateSpecialTask(clsConversionOptions& task);
// The validator of both kinds on the task's expanded paths, then the check that the output
// folder can be written (not for launch tasks). Returns 1 when that last check failed, else 0;
// the verdict is in lErr. The task keeps its folder tokens unless validation changed a path.
int32_t ValidateTask(clsConversionOptions& task, ConversionComponent* component);

// The message of a validation verdict as the command line reports it ("" for 0 and unknown
// codes).
std::string ValidationMessage(const clsConversionOptions& task);
// Sets sErr to the message of lErr and appends it to the task's log file (in a box with
// bVerbose, when prompt is given).
void ReportCommandLineError(clsConversionOptions& task, Prompt* prompt = nullptr);

// The task editor's fields a validation message can point the user to.
enum class TaskEditorField {
    None,
    OriginalFile,
    TargetFile,
    TargetType,
    SpecialProcess,
    SpecialFileType,
    FindString
};

// What the interactive reporter needs from the task editor.
class TaskEditorFocus {
public:
    virtual ~TaskEditorFocus() = default;
    // Puts the input focus on field with its text selected.
    virtual void FocusField(TaskEditorField field) = 0;
    // Shows a target path the user accepted in place of the typed one.
    virtual void SetTargetFileText(const std::string& path) = 0;
};

// Explains the verdict in lErr to the user through prompt and points the editor at the field
// to fix. True when the task may be added anyway: the user accepted it, had the missing folder
// created, or took the recommended output folder (then sTargetFile is changed).
bool ReportValidationErrorInteractive(TaskEditorFocus& editor, clsConversionOptions& task, Prompt& prompt);

} // namespace slidemill
