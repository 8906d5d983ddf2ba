#include "run/Validation.h"

#include "core/FileTypes.h"
#include "core/Prompt.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::FakeComponent;
using test::ReadWholeFile;
using test::TempFolder;

struct Question {
    std::string text;
    PromptButtons buttons;
    PromptIcon icon;
};

// Answers from a script and remembers what it was asked.
class ScriptedPrompt : public Prompt {
public:
    std::deque<PromptAnswer> answers;
    std::vector<Question> asked;

    PromptAnswer Ask(const std::string& text, const std::string&, PromptButtons buttons,
                     PromptIcon icon) override {
        asked.push_back({text, buttons, icon});
        if (answers.empty())
            return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::OK;
        PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string PickFile(FileDialogRequest&) override { return {}; }
};

class RecordingEditor : public TaskEditorFocus {
public:
    std::vector<TaskEditorField> focused;
    std::string targetText;
    void FocusField(TaskEditorField field) override { focused.push_back(field); }
    void SetTargetFileText(const std::string& path) override { targetText = path; }
};

class ValidationTest : public ::testing::Test {
protected:
    TempFolder dir{"validation"};
    FakeComponent component;

    clsConversionOptions Conversion(const std::string& source, const std::string& target, int32_t type = 32) {
        clsConversionOptions task;
        task.sOriginalFile = source;
        task.sTargetFile = target;
        task.lTargetFileType = type;
        return task;
    }
    clsConversionOptions Special(int32_t process, const std::string& source, const std::string& target,
                                 int32_t type = 1) {
        clsConversionOptions task;
        task.sActionToDo = "S" + std::to_string(process);
        task.lSpecialProcess = process;
        task.lConversionMethod = kMethodSpecial;
        task.sOriginalFile = source;
        task.sTargetFile = target;
        task.lOriginalFileType = type;
        return task;
    }
    int32_t Verdict(clsConversionOptions task) {
        ValidateTask(task, &component);
        return task.lErr;
    }
};

TEST_F(ValidationTest, FileExistsOnlyForExistingFilesNeverFoldersOrPatterns) {
    const std::string file = dir.file("in/a.pptx");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists("  " + file + "  "));
    EXPECT_FALSE(FileExists(dir.str() + "in"));
    EXPECT_FALSE(FileExists(dir.str() + "in/*.pptx"));
    EXPECT_FALSE(FileExists(dir.str() + "in/?.pptx"));
    EXPECT_FALSE(FileExists(dir.str() + "in/b.pptx"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(file + "/"));
    EXPECT_FALSE(FileExists(std::string(100000, 'a')));
}

TEST_F(ValidationTest, SingleFileConversionCreatesMissingTargetFolders) {
    clsConversionOptions task = Conversion(dir.file("in/a.pptx"), dir.str() + "new/sub/a.pdf");
    task.bDoSubfolders = task.bSaveInOriginalFolder = true;
    EXPECT_EQ(ValidateTask(task, &component), 0);
    EXPECT_EQ(task.lErr, 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "new/sub"));
    // Both flags only mean something for a set of files.
    EXPECT_FALSE(task.bDoSubfolders);
    EXPECT_FALSE(task.bSaveInOriginalFolder);
}

TEST_F(ValidationTest, ConversionVerdicts) {
    const std::string source = dir.file("in/a.pptx");
    const std::string out = dir.folder("out");
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/missing.pptx", out + "/a.pdf")), kInvalidSourceFile);
    EXPECT_EQ(Verdict(Conversion("", out + "/a.pdf")), kInvalidSourceFile);
    EXPECT_EQ(Verdict(Conversion(source, out + "/*.pdf")), kInvalidTargetHasWildcard);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/*.pptx", out + "/x.pdf")), kInvalidTargetNeedsWildcard);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "nowhere/*.pptx", out + "/*.pdf")), kInvalidSourceFolder);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/*.pptx", out + "/*.pdf")), 0);
    EXPECT_EQ(Verdict(Conversion(source, out + "/a.xyz", 999)), kInvalidTargetType);
    EXPECT_EQ(Verdict(Conversion(source, out + "/a.pdf", kNoFileType)), kInvalidTargetType);
    EXPECT_EQ(Verdict(Conversion(source, out + "/a.pdf", kTargetPdfWithOptions)), 0);
    // A file where a folder should be: the folder cannot be made.
    const std::string blocker = dir.file("blocker");
    EXPECT_EQ(Verdict(Conversion(source, blocker + "/sub/a.pdf")), kInvalidTargetFolder);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/*.pptx", blocker + "/sub/*.pdf")),
              kInvalidTargetFolderForWildcard);
}

TEST_F(ValidationTest, NamePatternsAreAcceptedWildcardFoldersAreNot) {
    dir.file("in/Q3 sales.pptx");
    const std::string out = dir.str() + "out";
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/Q3*.pptx", out + "/*.pdf")), 0);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/Q? sales.pptx", out + "/*.pdf")), 0);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/Q3*.pptx", out + "/x.pdf")), kInvalidTargetNeedsWildcard);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "nowhere/Q3*.pptx", out + "/*.pdf")), kInvalidSourceFolder);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "i*/Q3*.pptx", out + "/*.pdf")), kInvalidWildcardInFolder);
    EXPECT_EQ(Verdict(Conversion(dir.str() + "in/Q3*.pptx", out + "/*/x.pdf")), kInvalidWildcardInFolder);

    clsConversionOptions task = Conversion(dir.str() + "in/*/Q3.pptx", out + "/*.pdf");
    task.lErr = kInvalidWildcardInFolder;
    EXPECT_NE(ValidationMessage(task).find(dir.str() + "in/*/Q3.pptx"), std::string::npos);
    EXPECT_NE(ValidationMessage(task).find("wildcard (* or ?) in a folder name"), std::string::npos);
    task.lErr = kInvalidSourceFolder;
    task.sOriginalFile = dir.str() + "nowhere/Q3*.pptx";
    EXPECT_EQ(ValidationMessage(task), "Original Folder\n" + dir.str() + "nowhere/\ndoes not exist.");

    // The text processes and the append process read the same patterns.
    dir.file("in/Q3 notes.txt");
    EXPECT_EQ(Verdict(Special(kSpecialRemoveEmptyLines, dir.str() + "in/Q3*.txt", out + "/*.txt")), 0);
    EXPECT_EQ(Verdict(Special(kSpecialSearchReplace, dir.str() + "i?/*.txt", out + "/*.txt")),
              kInvalidWildcardInFolder);
    EXPECT_EQ(Verdict(Special(kSpecialAppend, dir.str() + "in/Q3*.txt", dir.str() + "all.txt")), 0);
}

TEST_F(ValidationTest, WithoutComponentNoComponentTypeIsValid) {
    clsConversionOptions task = Conversion(dir.file("in/a.pptx"), dir.str() + "a.pdf");
    ValidateTask(task, nullptr);
    EXPECT_EQ(task.lErr, kInvalidTargetType);
}

TEST_F(ValidationTest, NamedJobFileDecidesAlone) {
    clsConversionOptions task = Conversion("", "", kNoFileType);
    task.sCLBatchJobFile = dir.file("jobs/x.MJB");
    EXPECT_EQ(Verdict(task), 0);
    task.sCLBatchJobFile = dir.str() + "jobs/missing.MJB";
    EXPECT_EQ(Verdict(task), kInvalidJobFile);
    clsConversionOptions special = Special(kSpecialAppend, "", "");
    special.sCLBatchJobFile = dir.str() + "jobs/missing.MJB";
    EXPECT_EQ(Verdict(special), kInvalidJobFile);
}

TEST_F(ValidationTest, FileProcessesDoNotCreateFolders) {
    const std::string source = dir.file("in/a.txt");
    EXPECT_EQ(Verdict(Special(kSpecialRemoveEmptyLines, source, dir.str() + "new/sub/a.txt")),
              kInvalidTargetFolder);
    EXPECT_FALSE(fs::exists(dir.path() / "new"));
    EXPECT_EQ(Verdict(Special(kSpecialSearchReplace, dir.str() + "in/*.txt", dir.str() + "new/*.txt")),
              kInvalidTargetFolderForWildcard);
    EXPECT_FALSE(fs::exists(dir.path() / "new"));
    EXPECT_EQ(Verdict(Special(kSpecialRemoveEmptyLines, dir.str() + "in/*.txt", dir.str() + "in/x.txt")),
              kInvalidTargetNeedsWildcard);
    EXPECT_EQ(Verdict(Special(kSpecialRemoveEmptyLines, dir.str() + "no/*.txt", dir.str() + "in/*.txt")),
              kInvalidSourceFolder);
    EXPECT_EQ(Verdict(Special(kSpecialRemoveEmptyLines, source, dir.str() + "in/*.txt")),
              kInvalidTargetHasWildcard);
    EXPECT_EQ(Verdict(Special(kSpecialRemoveEmptyLines, dir.str() + "in/b.txt", dir.str() + "in/c.txt")),
              kInvalidSourceFile);
    EXPECT_EQ(Verdict(Special(kSpecialRemoveEmptyLines, source, dir.str() + "in/c.txt")), 0);
}

TEST_F(ValidationTest, AppendRules) {
    const std::string source = dir.file("in/a.txt");
    EXPECT_EQ(Verdict(Special(kSpecialAppend, source, dir.str() + "*.txt")), kInvalidAppendTargetWildcard);
    EXPECT_EQ(Verdict(Special(kSpecialAppend, source, source)), kInvalidAppendOntoItself);
    // The same file under another spelling of its path.
    EXPECT_EQ(Verdict(Special(kSpecialAppend, source, dir.str() + "in/../in/a.txt")),
              kInvalidAppendOntoItself);
    EXPECT_EQ(Verdict(Special(kSpecialAppend, source, dir.folder("folder"))), kInvalidAppendTargetFolder);
    EXPECT_EQ(Verdict(Special(kSpecialAppend, source, dir.str() + "all.txt", 3)), kInvalidSpecialFileType);
    EXPECT_EQ(Verdict(Special(kSpecialAppend, source, dir.str() + "all.txt", 9)), 0);
}

TEST_F(ValidationTest, SpecialProcessKindsAndTypes) {
    const std::string source = dir.file("in/a.txt");
    clsConversionOptions replace = Special(kSpecialSearchReplace, source, dir.str() + "b.txt", 7);
    EXPECT_EQ(Verdict(replace), kInvalidEmptyFindString) << "an empty find string wins over a bad type";
    replace.sFindString = "x";
    EXPECT_EQ(Verdict(replace), kInvalidSpecialFileType);
    replace.lOriginalFileType = 4;
    ValidateTask(replace, &component);
    EXPECT_EQ(replace.lErr, 0);
    EXPECT_EQ(replace.lTargetFileType, 4);

    EXPECT_EQ(Verdict(Special(42, source, dir.str() + "b.txt")), kInvalidSpecialProcess);
    EXPECT_EQ(Verdict(Special(kSpecialLaunch, "/usr/bin/*", "")), kInvalidSpecialFileType);
    EXPECT_EQ(Verdict(Special(kSpecialLaunch, "/bin/true", "/proc/nowhere/x")), 0)
        << "a launch has no output folder to check";
}

TEST_F(ValidationTest, UnwritableOutputFolderReplacesOtherVerdicts) {
    clsConversionOptions task = Conversion(dir.file("in/a.pptx"), "/proc/slidemill-out/a.pdf");
    EXPECT_EQ(ValidateTask(task, &component), 1);
    EXPECT_EQ(task.lErr, kInvalidOutputFolder);
    const std::string message = ValidationMessage(task);
    EXPECT_EQ(message.rfind("Output Folder: ", 0), 0u) << message;
    EXPECT_NE(message.find("system folder"), std::string::npos) << message;
    EXPECT_NE(message.find("\n/proc/slidemill-out/a.pdf"), std::string::npos) << message;

    // With targets beside the sources it is the source folder that must be writeable.
    clsConversionOptions beside = Conversion(dir.str() + "in/*.pptx", dir.folder("out") + "/*.pdf");
    beside.bSaveInOriginalFolder = true;
    EXPECT_EQ(ValidateTask(beside, &component), 0);
    EXPECT_EQ(beside.lErr, 0);
}

TEST_F(ValidationTest, TokensAreExpandedForTheChecksAndKeptInTheTask) {
    const std::string home = std::getenv("HOME");
    fs::create_directories(home + "/in");
    std::ofstream(home + "/in/a.pptx") << "x";
    clsConversionOptions task = Conversion("%USERPROFILE%/in/a.pptx", "%userprofile%/out/a.pdf");
    task.sLogFile = "%USERPROFILE%/run.log";
    EXPECT_EQ(ValidateTask(task, &component), 0);
    EXPECT_EQ(task.lErr, 0);
    EXPECT_TRUE(fs::is_directory(home + "/out"));
    EXPECT_EQ(task.sOriginalFile, "%USERPROFILE%/in/a.pptx");
    EXPECT_EQ(task.sTargetFile, "%userprofile%/out/a.pdf");
    EXPECT_EQ(task.sLogFile, "%USERPROFILE%/run.log");
}

TEST_F(ValidationTest, CommandLineMessages) {
    clsConversionOptions task = Conversion(dir.str() + "in/*.pptx", dir.str() + "out/x.pdf");
    task.lErr = kInvalidSourceFolder;
    EXPECT_EQ(ValidationMessage(task), "Original Folder\n" + dir.str() + "in/\ndoes not exist.");
    task.lErr = kInvalidTargetNeedsWildcard;
    EXPECT_EQ(ValidationMessage(task).rfind("'Target File' must have wild card (*) since Original file has a "
                                            "wildcard.\nFor example: ",
                                            0),
              0u);
    task.lErr = kInvalidTargetFolder;
    EXPECT_EQ(ValidationMessage(task), "Output Folder\n" + dir.str() + "out\ndoes not exist.");
    task.lErr = kInvalidTargetHasWildcard;
    EXPECT_EQ(ValidationMessage(task),
              "Target File\n" + dir.str() +
                  "out/x.pdf\ncannot have a wildcard (*) in it unless the Original file does.");
    task.lErr = kInvalidTargetType;
    EXPECT_EQ(ValidationMessage(task).find("Invalid Target File type specified (/C# switch).\n\nIf you"), 0u);
    task.lErr = kInvalidJobFile;
    EXPECT_EQ(ValidationMessage(task),
              "Conversion Job File (*.MJB) specified in the command line (/J) does not exist.");
    task.lErr = -99;
    EXPECT_EQ(ValidationMessage(task), "");
}

TEST_F(ValidationTest, CommandLineReportGoesToTaskAndLog) {
    clsConversionOptions task = Conversion(dir.str() + "missing.pptx", dir.str() + "a.pdf");
    task.sLogFile = dir.str() + "run.log";
    task.bVerbose = true;
    ValidateTask(task, &component);
    ScriptedPrompt prompt;
    ReportCommandLineError(task, &prompt);
    const std::string expected = "Original File\n" + dir.str() + "missing.pptx\ndoes not exist.";
    EXPECT_EQ(task.sErr, expected);
    EXPECT_EQ(ReadWholeFile(task.sLogFile), expected + "\n");
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, expected);
}

TEST_F(ValidationTest, InteractiveMissingTargetFolderCanBeCreated) {
    const std::string source = dir.file("in/a.txt");
    clsConversionOptions task = Special(kSpecialRemoveEmptyLines, source, dir.str() + "new/sub/a.txt");
    ValidateTask(task, &component);
    ASSERT_EQ(task.lErr, kInvalidTargetFolder);

    ScriptedPrompt refuse;
    RecordingEditor editor;
    EXPECT_FALSE(ReportValidationErrorInteractive(editor, task, refuse));
    ASSERT_EQ(refuse.asked.size(), 1u);
    EXPECT_EQ(refuse.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_NE(refuse.asked[0].text.find(dir.str() + "new/sub"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "new"));
    EXPECT_EQ(editor.focused, std::vector<TaskEditorField>{TaskEditorField::TargetFile});

    ScriptedPrompt accept;
    accept.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(ReportValidationErrorInteractive(editor, task, accept));
    EXPECT_TRUE(fs::is_directory(dir.path() / "new/sub"));
}

TEST_F(ValidationTest, InteractiveFolderThatCannotBeCreatedIsRefused) {
    const std::string blocker = dir.file("blocker");
    clsConversionOptions task = Special(kSpecialRemoveEmptyLines, dir.file("a.txt"), blocker + "/sub/a.txt");
    ValidateTask(task, &component);
    ASSERT_EQ(task.lErr, kInvalidTargetFolder);
    ScriptedPrompt prompt;
    prompt.answers = {PromptAnswer::Yes};
    RecordingEditor editor;
    EXPECT_FALSE(ReportValidationErrorInteractive(editor, task, prompt));
    EXPECT_EQ(prompt.asked.size(), 2u);
}

TEST_F(ValidationTest, InteractiveSourceAndRefusals) {
    RecordingEditor editor;
    clsConversionOptions missing = Conversion(dir.str() + "gone.pptx", dir.str() + "a.pdf");
    ValidateTask(missing, &component);
    ScriptedPrompt yes;
    yes.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(ReportValidationErrorInteractive(editor, missing, yes));
    EXPECT_NE(yes.asked[0].text.find("Add anyway?"), std::string::npos);

    clsConversionOptions empty = Conversion("", dir.str() + "a.pdf");
    ValidateTask(empty, &component);
    ScriptedPrompt ok;
    EXPECT_FALSE(ReportValidationErrorInteractive(editor, empty, ok));
    EXPECT_EQ(ok.asked[0].text, "Unable to add/update: \n\nOriginal File has not been specified.");
    EXPECT_EQ(ok.asked[0].buttons, PromptButtons::OK);

    clsConversionOptions self = Special(kSpecialAppend, dir.file("a.txt"), dir.str() + "a.txt");
    ValidateTask(self, &component);
    ScriptedPrompt same;
    EXPECT_FALSE(ReportValidationErrorInteractive(editor, self, same));
    EXPECT_EQ(same.asked[0].text,
              "Original and Target File are the same. Cannot concatenate a file onto itself");

    clsConversionOptions pattern = Conversion(dir.file("b.pptx"), dir.str() + "*.pdf");
    ValidateTask(pattern, &component);
    ScriptedPrompt blank;
    EXPECT_FALSE(ReportValidationErrorInteractive(editor, pattern, blank));
    EXPECT_EQ(blank.asked[0].text,
              "Target File\n\n" + dir.str() +
                  "*.pdf\n\ncannot have a wildcard (*) in it unless the Original file does.");

    clsConversionOptions job = Conversion("", "");
    job.sCLBatchJobFile = dir.str() + "none.MJB";
    ValidateTask(job, &component);
    ScriptedPrompt other;
    EXPECT_FALSE(ReportValidationErrorInteractive(editor, job, other));
    EXPECT_EQ(other.asked[0].text, "Unable to add/update: \n\n");
}

TEST_F(ValidationTest, InteractiveRecommendedFolderKeepsTheTargetName) {
    clsConversionOptions task = Conversion(dir.file("in/a.pptx"), "/proc/slidemill-out/*.pdf");
    task.sOriginalFile = dir.str() + "in/*.pptx";
    ValidateTask(task, &component);
    ASSERT_EQ(task.lErr, kInvalidOutputFolder);
    RecordingEditor editor;
    ScriptedPrompt cancel;
    cancel.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(ReportValidationErrorInteractive(editor, task, cancel));
    EXPECT_EQ(task.sTargetFile, "/proc/slidemill-out/*.pdf");
    EXPECT_EQ(cancel.asked[0].buttons, PromptButtons::OKCancel);

    ScriptedPrompt ok;
    ok.answers = {PromptAnswer::OK};
    EXPECT_TRUE(ReportValidationErrorInteractive(editor, task, ok));
    const std::string documents = std::getenv("XDG_DOCUMENTS_DIR");
    EXPECT_EQ(task.sTargetFile, documents + "/slidemill-out/*.pdf");
    EXPECT_EQ(editor.targetText, task.sTargetFile);
}

} // namespace
} // namespace slidemill
