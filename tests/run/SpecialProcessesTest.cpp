#include "run/SpecialProcesses.h"

#include "TestRunControl.h"
#include "core/FileTypes.h"
#include "run/ConversionStep.h"
#include "run/FileList.h"
#include "run/PdfStage.h"
#include "run/TargetClaims.h"
#include "support/FakeComponent.h"
#include "support/MemoryRichText.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace slidemill {
namespace {

namespace fs = std::filesystem;
using test::MemoryEngine;
using test::ReadWholeFile;
using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct LogRow {
    int32_t job = 0;
    clsConversionOptions task;
    bool exitCode = false;
};

class RecordingLog : public RunLog {
public:
    std::vector<LogRow> rows;
    void LogConversionError(int32_t lJobNumber, const clsConversionOptions& coBlock) override {
        rows.push_back({lJobNumber, coBlock, false});
    }
    void LogExitCode(int32_t lJobNumber, const clsConversionOptions& coBlock) override {
        rows.push_back({lJobNumber, coBlock, true});
    }
};

// Pauses the run when a chosen file of a list comes up, as a Pause pressed while it is worked on.
class PausingControl : public test::TestRunControl {
public:
    // The panel also shows the folders being listed.
    static bool IsFile(const std::string& text) { return text.rfind("Creating File List", 0) != 0; }

    std::function<void(const std::string&)> onFile;
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        TestRunControl::SetStatusText(panel, text);
        if (panel == StatusPanel::CurrentFile && onFile && IsFile(text))
            onFile(text);
    }
};

class SpecialProcessesTest : public ::testing::Test {
protected:
    TempFolder t;
    test::FakeComponent component;
    PausingControl control;
    RecordingLog log;
    UnavailablePdfStage pdf;
    ConversionContext context{component, control, log, pdf};

    static clsConversionOptions Task(int32_t process, const std::string& source, const std::string& target,
                                     int32_t type = 1) {
        clsConversionOptions task;
        task.sActionToDo = "S" + std::to_string(process);
        task.lSpecialProcess = process;
        task.lConversionMethod = kMethodSpecial;
        task.sOriginalFile = source;
        task.sTargetFile = target;
        task.lOriginalFileType = type;
        task.lTargetFileType = type;
        return task;
    }

    // The files of a list in the order the walk took them.
    std::vector<std::string> Walked() const {
        std::vector<std::string> files;
        for (const std::string& text : control.TextsOf(StatusPanel::CurrentFile))
            if (PausingControl::IsFile(text))
                files.push_back(text);
        return files;
    }
};

TEST_F(SpecialProcessesTest, WildcardAppendCollectsInWalkOrderAndSkipsTheTargetEvenUnderAnotherName) {
    t.file("in/a.txt", "A\n");
    t.file("in/b.txt", "B\n");
    t.file("in/c.log", "not listed\n");
    const std::string target = t.file("in/all.txt", "start\n");
    // The same file again, reached through a hard link with a different name and case.
    fs::create_hard_link(target, t.path() / "in/ALIAS.txt");

    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialAppend, t.str() + "in/*.txt", target);
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 4, task), 0);

    EXPECT_THAT(log.rows, IsEmpty());
    EXPECT_EQ(task.lErr, 0);
    std::string expected = "start\n";
    for (const std::string& file : Walked()) {
        if (fs::path(file).filename() == "a.txt")
            expected += "A\n";
        else if (fs::path(file).filename() == "b.txt")
            expected += "B\n";
    }
    EXPECT_EQ(Walked().size(), 4u);
    EXPECT_EQ(ReadWholeFile(target), expected);
    EXPECT_FALSE(context.bFileListCutShort);
}

TEST_F(SpecialProcessesTest, SingleAppendOntoItselfIsRefusedAndLogged) {
    const std::string file = t.file("in/a.txt", "keep me\n");
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialAppend, file, file);
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 2, task), -6);
    EXPECT_EQ(task.sErr, "Source and Target File are the same.");
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_EQ(log.rows[0].job, 2);
    EXPECT_EQ(log.rows[0].task.lErr, -6);
    EXPECT_EQ(ReadWholeFile(file), "keep me\n");
}

TEST_F(SpecialProcessesTest, RemoveEmptyLinesMirrorsTheTreeUnderTheTargetRoot) {
    t.file("in/x.txt", "one\n\n \t\ntwo\n");
    t.file("in/sub/deep/y.txt", "\r\nthree\r\n\r\n");
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialRemoveEmptyLines, t.str() + "in/*.txt", t.str() + "out/*.txt");
    task.bDoSubfolders = true;
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), 0);

    EXPECT_THAT(log.rows, IsEmpty());
    EXPECT_EQ(ReadWholeFile(t.path() / "out/x.TXT"), "one\ntwo\n");
    EXPECT_EQ(ReadWholeFile(t.path() / "out/sub/deep/y.TXT"), "three\r\n");
    // The sources are untouched.
    EXPECT_EQ(ReadWholeFile(t.path() / "in/x.txt"), "one\n\n \t\ntwo\n");
    EXPECT_THAT(control.TextsOf(StatusPanel::State), ::testing::Contains(" 100.0 Percent Complete "));
}

TEST_F(SpecialProcessesTest, ListTargetsNeverLandOnAnotherSourceOfTheList) {
    // Beside the sources: each .md would be written as the .TXT of the same name.
    const std::string md = t.file("in/notes.md", "md\n\nnotes\n");
    const std::string txt = t.file("in/notes.TXT", "txt\n\n\nkept\n");
    // Names that differ only in case are two files: a.txt would land on a.TXT.
    const std::string lower = t.file("in/a.txt", "lower\n\n");
    const std::string upper = t.file("in/a.TXT", "upper\n\n");
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialRemoveEmptyLines, t.str() + "in/*.*", t.str() + "in/*.txt");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), kErrTargetIsOtherSource);

    EXPECT_EQ(ReadWholeFile(md), "md\n\nnotes\n");
    EXPECT_EQ(ReadWholeFile(lower), "lower\n\n");
    // The .TXT files themselves are cleaned in place, each from its own text.
    EXPECT_EQ(ReadWholeFile(txt), "txt\nkept\n");
    EXPECT_EQ(ReadWholeFile(upper), "upper\n");
    ASSERT_EQ(log.rows.size(), 2u);
    for (const LogRow& row : log.rows) {
        SCOPED_TRACE(row.task.sOriginalFile);
        EXPECT_TRUE(row.task.sOriginalFile == md || row.task.sOriginalFile == lower);
        EXPECT_EQ(row.task.lErr, kErrTargetIsOtherSource);
        EXPECT_THAT(row.task.sErr, HasSubstr(row.task.sOriginalFile + " -> " + row.task.sTargetFile));
    }
}

TEST_F(SpecialProcessesTest, TwoFilesOfOneTargetWriteItOnceAndAppendKeepsItsOneTarget) {
    t.file("in/r.md", "from md\n");
    t.file("in/r.csv", "from csv\n");
    std::vector<std::string> files;
    clsConversionOptions listing = Task(kSpecialSearchReplace, t.str() + "in/*.*", t.str() + "out/*.txt");
    ASSERT_TRUE(BuildFileList(listing, files, control));
    ASSERT_EQ(files.size(), 2u);
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialSearchReplace, t.str() + "in/*.*", t.str() + "out/*.txt");
    task.sFindString = "from";
    task.sReplaceString = "by";
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), kErrTargetClaimed);
    const std::string firstText = ReadWholeFile(files[0]);
    EXPECT_EQ(ReadWholeFile(t.path() / "out/r.TXT"), "by" + firstText.substr(4));
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_EQ(log.rows[0].task.sOriginalFile, files[1]);
    EXPECT_THAT(log.rows[0].task.sErr, HasSubstr(files[0]));

    // Appending collects every file into one target: that is no collision.
    clsConversionOptions append = Task(kSpecialAppend, t.str() + "in/*.*", t.str() + "all.txt");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 2, append), 0);
    EXPECT_EQ(ReadWholeFile(t.path() / "all.txt"), ReadWholeFile(files[0]) + ReadWholeFile(files[1]));
}

TEST_F(SpecialProcessesTest, ListTargetsTakeTheTypeExtensionWhateverMethodTheRecordCarries) {
    t.file("in/a.md", "a\n\nb\n");
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialRemoveEmptyLines, t.str() + "in/*.*", t.str() + "out/*.txt");
    task.lConversionMethod = kMethodComponent; // as a record reused from a conversion task
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), 0);
    EXPECT_EQ(ReadWholeFile(t.path() / "out/a.TXT"), "a\nb\n");
    EXPECT_FALSE(fs::exists(t.path() / "out/a."));
}

TEST_F(SpecialProcessesTest, NamePatternsListOnlyTheMatchingFiles) {
    t.file("in/q1.txt", "1\n\n");
    t.file("in/q2.txt", "2\n\n");
    t.file("in/q10.txt", "10\n\n");
    t.file("in/other.txt", "x\n\n");
    SpecialProcesses special;
    // "?" alone makes a set of files too.
    clsConversionOptions task = Task(kSpecialRemoveEmptyLines, t.str() + "in/Q?.txt", t.str() + "out/*.txt");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), 0);
    EXPECT_THAT(log.rows, IsEmpty());
    EXPECT_EQ(ReadWholeFile(t.path() / "out/q1.TXT"), "1\n");
    EXPECT_EQ(ReadWholeFile(t.path() / "out/q2.TXT"), "2\n");
    EXPECT_FALSE(fs::exists(t.path() / "out/q10.TXT"));
    EXPECT_FALSE(fs::exists(t.path() / "out/other.TXT"));

    const std::string all = t.str() + "all.txt";
    clsConversionOptions append = Task(kSpecialAppend, t.str() + "in/q1*.txt", all);
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 2, append), 0);
    const std::string joined = ReadWholeFile(all);
    EXPECT_TRUE(joined == "1\n\n10\n\n" || joined == "10\n\n1\n\n") << joined;
}

TEST_F(SpecialProcessesTest, SearchAndReplaceOnOneFileReportsSuccess) {
    const std::string source = t.file("in/pets.txt", "Cat, cat and CAT;\naaa\n");
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialSearchReplace, source, t.str() + "out.txt");
    task.sFindString = "cat";
    task.sReplaceString = "dog";
    task.bCaseSensitive = false;
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), 0);
    EXPECT_EQ(ReadWholeFile(t.path() / "out.txt"), "dog, dog and dog;\naaa\n");
    EXPECT_EQ(task.sErr, "Successfully Processed.");
    EXPECT_THAT(log.rows, IsEmpty());

    clsConversionOptions overlap = Task(kSpecialSearchReplace, source, t.str() + "out2.txt");
    overlap.sFindString = "aa";
    overlap.sReplaceString = "x";
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, overlap), 0);
    EXPECT_EQ(ReadWholeFile(t.path() / "out2.txt"), "Cat, cat and CAT;\nax\n");
}

TEST_F(SpecialProcessesTest, LaunchLogsTheExitCodeOrTheFailureToStart) {
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialLaunch, "/bin/sh", "-c 'sleep 0.3; exit 3'");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 7, task), 0);
    EXPECT_EQ(task.lCommandLineExitCode, 3);
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_TRUE(log.rows[0].exitCode);
    EXPECT_EQ(log.rows[0].job, 7);
    EXPECT_EQ(log.rows[0].task.lCommandLineExitCode, 3);
    // The clock keeps moving while the program runs.
    EXPECT_GE(control.TextsOf(StatusPanel::Elapsed).size(), 3u);

    log.rows.clear();
    clsConversionOptions missing = Task(kSpecialLaunch, t.str() + "no-such-program", "");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 8, missing), -10);
    EXPECT_EQ(missing.sErr, "Unable to launch application.");
    EXPECT_EQ(missing.lCommandLineExitCode, 0);
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_FALSE(log.rows[0].exitCode);
    EXPECT_EQ(log.rows[0].task.lErr, -10);
}

TEST_F(SpecialProcessesTest, PauseInsideAListKeepsWhereToResumeAndTheResumedWalkFinishes) {
    for (const char* name : {"a", "b", "c", "d", "e"})
        t.file(std::string("in/") + name + ".txt", std::string(name) + "\n\n");
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialRemoveEmptyLines, t.str() + "in/*.txt", t.str() + "out/*.txt");
    int seen = 0;
    control.onFile = [&](const std::string&) {
        if (++seen == 3)
            control.running = false;
    };
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), 0);
    const std::vector<std::string> first = Walked();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_TRUE(context.bFileListCutShort);
    EXPECT_EQ(context.lResumeFileIndex, 3);
    // The file under way when the Pause came was finished; the later ones were not started.
    int written = 0;
    for (const auto& entry : fs::directory_iterator(t.path() / "out")) {
        (void)entry;
        ++written;
    }
    EXPECT_EQ(written, 3);

    control.onFile = nullptr;
    control.running = true;
    control.texts.clear();
    context.bFileListCutShort = false;
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), 0);
    const std::vector<std::string> second = Walked();
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0], first[2]);
    EXPECT_FALSE(context.bFileListCutShort);
    EXPECT_EQ(context.lResumeFileIndex, 0);
    for (const char* name : {"a", "b", "c", "d", "e"})
        EXPECT_EQ(ReadWholeFile(t.path() / "out" / (std::string(name) + ".TXT")), std::string(name) + "\n");
    EXPECT_THAT(log.rows, IsEmpty());
}

TEST_F(SpecialProcessesTest, PauseEarlyInAListStartsItOverAndAFinishedListLeavesNoPosition) {
    for (const char* name : {"a", "b", "c"})
        t.file(std::string("in/") + name + ".txt", "x\n");
    SpecialProcesses special;
    clsConversionOptions task = Task(kSpecialSearchReplace, t.str() + "in/*.txt", t.str() + "out/*.txt");
    task.sFindString = "x";
    control.onFile = [&](const std::string&) { control.running = false; };
    special.PerformBlockSpecialized(context, log, 1, task);
    EXPECT_TRUE(context.bFileListCutShort);
    EXPECT_EQ(context.lResumeFileIndex, 0);

    // A Pause during the last file: the list is complete, nothing to resume.
    context.bFileListCutShort = false;
    control.running = true;
    int seen = 0;
    control.onFile = [&](const std::string&) {
        if (++seen == 3)
            control.running = false;
    };
    special.PerformBlockSpecialized(context, log, 1, task);
    EXPECT_FALSE(context.bFileListCutShort);
    EXPECT_EQ(context.lResumeFileIndex, 0);
}

TEST_F(SpecialProcessesTest, MissingSourceFailsTheTaskBeforeAnyFile) {
    SpecialProcesses special;
    const std::string missing = t.str() + "in/none.txt";
    clsConversionOptions task = Task(kSpecialRemoveEmptyLines, missing, t.str() + "out.txt");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 3, task), kErrFileList);
    EXPECT_EQ(task.sErr, "File: " + missing + " does not exist");
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_EQ(log.rows[0].task.lErr, kErrFileList);
    EXPECT_FALSE(fs::exists(t.path() / "out.txt"));

    clsConversionOptions folder = Task(kSpecialAppend, t.str() + "gone/*.txt", t.str() + "all.txt");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 4, folder), kErrFileList);
    EXPECT_THAT(folder.sErr, StartsWith("Folder: "));
    EXPECT_EQ(log.rows.size(), 2u);
}

TEST_F(SpecialProcessesTest, RichFilesWithoutAnEngineFailOneByOneAndTheWalkGoesOn) {
    t.file("in/a.rtf", "{\\rtf1 a}");
    t.file("in/b.rtf", "{\\rtf1 b}");
    SpecialProcesses special;
    for (int32_t type : {4, 5, 9}) {
        log.rows.clear();
        const std::string ext = type == 4 ? "htm" : type == 5 ? "rtf" : "doc";
        t.file("in/a." + ext, "a");
        t.file("in/b." + ext, "b");
        clsConversionOptions task =
            Task(kSpecialRemoveEmptyLines, t.str() + "in/*." + ext, t.str() + "out/*." + ext, type);
        EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), -3) << type;
        ASSERT_EQ(log.rows.size(), 2u) << type;
        for (const LogRow& row : log.rows) {
            EXPECT_EQ(row.task.lErr, -3);
            EXPECT_THAT(row.task.sErr, HasSubstr("Unable to open original file"));
            EXPECT_THAT(row.task.sErr, HasSubstr("No rich-text engine"));
            EXPECT_THAT(row.task.sErr, HasSubstr(row.task.sOriginalFile));
        }
        EXPECT_EQ(task.lErr, -3);
        EXPECT_EQ(task.sErr, log.rows[1].task.sErr);
    }
}

TEST_F(SpecialProcessesTest, RichFilesGoThroughTheEngineAndASuccessWithoutTargetIsMinusSeven) {
    t.file("in/a.rtf", "one\n\ntwo\n");
    MemoryEngine engine;
    SpecialProcesses special(&engine);
    clsConversionOptions task = Task(kSpecialRemoveEmptyLines, t.str() + "in/a.rtf", t.str() + "out.rtf", 5);
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), 0);
    EXPECT_EQ(ReadWholeFile(t.path() / "out.rtf"), "one\ntwo\n");
    EXPECT_THAT(engine.opened, ElementsAre(t.str() + "in/a.rtf"));

    engine.writeFiles = false;
    clsConversionOptions lost = Task(kSpecialRemoveEmptyLines, t.str() + "in/a.rtf", t.str() + "lost.rtf", 5);
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 2, lost), -7);
    EXPECT_EQ(lost.sErr, "Unable to create Target File.");
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_EQ(log.rows[0].task.lErr, -7);
}

TEST_F(SpecialProcessesTest, UnknownProcessFailsInsteadOfPassing) {
    const std::string file = t.file("in/a.txt");
    SpecialProcesses special;
    clsConversionOptions task = Task(57, file, t.str() + "b.txt");
    EXPECT_EQ(special.PerformBlockSpecialized(context, log, 1, task), kErrUnknownSpecialProcess);
    EXPECT_THAT(task.sErr, HasSubstr("S57"));
    EXPECT_EQ(log.rows.size(), 1u);
    EXPECT_FALSE(fs::exists(t.path() / "b.txt"));
}

} // namespace
} // namespace slidemill
