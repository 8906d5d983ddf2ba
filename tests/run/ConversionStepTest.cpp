#include "run/ConversionStep.h"

#include "ConversionTask.h"
#include "TestRunControl.h"
#include "core/FileTypes.h"
#include "run/DeleteFileWithRetry.h"
#include "run/FailureSink.h"
#include "run/FileList.h"
#include "run/PdfStage.h"
#include "run/TargetClaims.h"
#include "support/FakeComponent.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace slidemill {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::TempFolder;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

class RecordingSink : public FailureSink {
public:
    std::vector<std::pair<int32_t, clsConversionOptions>> rows;
    void LogConversionError(int32_t lJobNumber, const clsConversionOptions& coBlock) override {
        rows.emplace_back(lJobNumber, coBlock);
    }
};

// Writes the PDF when told to succeed and remembers what it was given.
class RecordingPdfStage : public PdfStage {
public:
    int32_t result = 0;
    std::vector<clsConversionOptions> calls;
    std::vector<bool> intermediateExisted;
    int32_t ConvertRtfToPdf(clsConversionOptions& record) override {
        calls.push_back(record);
        intermediateExisted.push_back(fs::exists(record.sOriginalFile));
        if (result == 0)
            std::ofstream(record.sTargetFile) << "pdf";
        record.lErr = result;
        record.sErr = result == 0 ? "" : "stage failed";
        return result;
    }
};

class ConversionStep : public ::testing::Test {
protected:
    TempFolder t;
    test::FakeComponent component;
    test::TestRunControl control;
    RecordingSink sink;
    RecordingPdfStage pdf;
    ConversionContext context{component, control, sink, pdf};

    clsConversionOptions Task(const std::string& source, const std::string& target, int32_t type = 32) {
        return test::ConversionTask(t, source, target, type);
    }
    std::vector<std::string> Sources() const {
        std::vector<std::string> out;
        for (const auto& c : component.calls)
            out.push_back(c.SourceFile);
        return out;
    }
};

TEST_F(ConversionStep, ListMirrorsTreeAndConvertsEachFileWithAllSlides) {
    const auto x = t.file("in/x.ppt"), y = t.file("in/a/b/y.ppt");
    t.file("in/a/skip.txt");
    auto task = Task("in/*.ppt", "out/*.pdf");
    task.bDoSubfolders = true;
    task.bConvertAllSlides = false; // the task's slide range is not used for listed files
    task.lFromSlide = 2;
    task.lToSlide = 3;

    EXPECT_EQ(PerformBlockConversion(context, 4, task), 0);
    EXPECT_TRUE(sink.rows.empty());
    ASSERT_THAT(Sources(), UnorderedElementsAre(x, y));
    for (const auto& c : component.calls) {
        EXPECT_EQ(c.FromSlide, 0);
        EXPECT_EQ(c.ToSlide, 0);
        EXPECT_EQ(c.TargetFormat, 32);
    }
    EXPECT_TRUE(fs::exists(t.path() / "out" / "x.pdf"));
    EXPECT_TRUE(fs::exists(t.path() / "out" / "a" / "b" / "y.pdf"));
    EXPECT_FALSE(fs::exists(t.path() / "out" / "a" / "skip.pdf"));
    EXPECT_EQ(task.lErr, 0);
    EXPECT_THAT(control.TextsOf(StatusPanel::State), Contains(" 50.0 Percent Complete "));
    EXPECT_THAT(control.TextsOf(StatusPanel::State), Contains("50% Complete "));
    EXPECT_FALSE(control.TextsOf(StatusPanel::Elapsed).empty());
}

TEST_F(ConversionStep, ListBesideSource) {
    t.file("in/sub/x.ppt");
    auto task = Task("in/*.ppt", "elsewhere/*.pdf");
    task.bDoSubfolders = true;
    task.bSaveInOriginalFolder = true;
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_TRUE(fs::exists(t.path() / "in" / "sub" / "x.pdf"));
    EXPECT_FALSE(fs::exists(t.path() / "elsewhere" / "sub"));
}

TEST_F(ConversionStep, SingleFileUsesTaskRecordSettingsAndCreatesTargetFolder) {
    const auto source = t.file("in/deck.pptx");
    auto task = Task("in/deck.pptx", "out/new/deck.pdf");
    task.bConvertAllSlides = false;
    task.lFromSlide = 2;
    task.lToSlide = 5;
    task.bCreateFileForEachSlide = true;
    context.settings.bShowSlideAndShape = true;
    context.settings.bIncludeNotesOnly = true;

    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    ASSERT_EQ(component.calls.size(), 1u);
    const auto& c = component.calls[0];
    EXPECT_EQ(c.SourceFile, source);
    EXPECT_EQ(c.TargetFile, t.str() + "out/new/deck.pdf");
    EXPECT_EQ(c.FromSlide, 2);
    EXPECT_EQ(c.ToSlide, 5);
    EXPECT_TRUE(c.OneFilePerSlide);
    EXPECT_TRUE(c.ShowSlideAndShape);
    EXPECT_TRUE(c.NotesOnly);
    EXPECT_FALSE(c.IncludeNotesPage);
    EXPECT_EQ(context.sCurrentFile, source);
    EXPECT_TRUE(fs::exists(t.path() / "out" / "new" / "deck.pdf"));
}

TEST_F(ConversionStep, ATaskWhoseFilesCannotBeFlushedToTheDiskFails) {
    t.file("in/a.ppt");
    t.file("in/b.ppt");
    // The second file finds its target folder gone: the first file's PDF went with it, so the
    // task must not count as done even though that file converted.
    component.onConvert = [this](const ConversionProperties&) {
        if (component.calls.size() == 2)
            fs::rename(t.path() / "out", t.path() / "moved");
    };
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 2, task), kErrNotOnDisk);
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(sink.rows[0].second.sOriginalFile, component.calls[1].SourceFile);
    EXPECT_EQ(sink.rows[1].second.lErr, kErrNotOnDisk);
    EXPECT_THAT(sink.rows[1].second.sErr, HasSubstr("could not be written to the disk: " + t.str() + "out"));

    // With its folder in place the same task passes, and so does a single file.
    component.onConvert = nullptr;
    sink.rows.clear();
    auto again = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 2, again), 0);
    auto single = Task("in/a.ppt", "one/a.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 3, single), 0);
    EXPECT_TRUE(sink.rows.empty());
}

TEST_F(ConversionStep, UnreadableSubfolderIsLoggedAsAFailedFolder) {
    const auto good = t.file("in/a.ppt");
    t.file("in/locked/b.ppt");
    fs::permissions(t.path() / "in" / "locked", fs::perms::none);
    // The converting account writes its targets here.
    fs::permissions(t.folder("out"), fs::perms::all);
    const std::string outcome = test::AsUnprivilegedUser(
        [&] {
            auto task = Task("in/*.ppt", "out/*.pdf");
            task.bDoSubfolders = true;
            const int32_t result = PerformBlockConversion(context, 4, task);
            std::string out = "result " + std::to_string(result) + "\n";
            for (const auto& c : component.calls)
                out += "converted " + c.SourceFile + "\n";
            for (const auto& [job, row] : sink.rows)
                out += "logged " + std::to_string(job) + " " + std::to_string(row.lErr) + " " +
                       row.sOriginalFile + " -> " + row.sTargetFile + ": " + row.sErr + "\n";
            return out;
        },
        t.path());
    fs::permissions(t.path() / "in" / "locked", fs::perms::owner_all);
    EXPECT_EQ(outcome, "result " + std::to_string(kErrUnreadableFolder) + "\nconverted " + good +
                           "\nlogged 4 " + std::to_string(kErrUnreadableFolder) + " " + t.str() +
                           "in/locked/*.ppt -> " + t.str() + "out/locked/*.pdf: Folder: " + t.str() +
                           "in/locked/ cannot be read (Permission denied); its files were not converted\n");
}

TEST_F(ConversionStep, MissingSourceFailsTheTaskBeforeAnyFile) {
    auto task = Task("in/none.ppt", "out/none.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 7, task), kErrFileList);
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0].first, 7);
    EXPECT_EQ(sink.rows[0].second.sErr, "File: " + t.str() + "in/none.ppt does not exist");
    EXPECT_EQ(task.lErr, kErrFileList);

    t.file("in/abc/x.ppt");
    auto cut = Task("in/a*/x.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 8, cut), kErrFileList);
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_NE(sink.rows[1].second.sErr.find("wildcard (* or ?) in a folder name"), std::string::npos);
    EXPECT_TRUE(component.calls.empty());
}

TEST_F(ConversionStep, VersionCheck) {
    t.file("in/a.ppt");
    struct Case {
        const char* answer;
        int32_t expected;
    };
    for (const Case& c : {Case{"120", 0}, Case{"80", 0}, Case{"16.0", 0}, Case{"161", 0}, Case{" 15 ", 0},
                          Case{"LibreOffice 7.4.7.2", 0}, Case{"", 0}, Case{"165", kErrPowerPointVersion},
                          Case{"16.2", kErrPowerPointVersion}, Case{"17", kErrPowerPointVersion}}) {
        component.version = c.answer;
        component.calls.clear();
        auto task = Task("in/a.ppt", "out/a.pdf");
        EXPECT_EQ(PerformBlockConversion(context, 1, task), c.expected) << c.answer;
        if (c.expected == 0) {
            EXPECT_EQ(component.calls.size(), 1u) << c.answer;
        } else {
            EXPECT_TRUE(component.calls.empty()) << c.answer;
            EXPECT_EQ(task.sErr, std::string("Error 20: Version of MS PowerPoint (") + c.answer + ")");
        }
    }
}

TEST_F(ConversionStep, FailedFilesAreLoggedAndMinusOneStopsTheList) {
    for (int i = 0; i < 4; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    auto task = Task("in/*.ppt", "out/*.pdf");
    component.onConvert = [&](const ConversionProperties& p) {
        if (component.calls.size() == 2)
            component.failures[p.SourceFile] = {7, "cannot read"};
    };
    EXPECT_EQ(PerformBlockConversion(context, 3, task), 7);
    EXPECT_EQ(component.calls.size(), 4u) << "a failed file does not end the list";
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0].second.sOriginalFile, component.calls[1].SourceFile);
    EXPECT_EQ(sink.rows[0].second.sErr, "cannot read");
    EXPECT_EQ(sink.rows[0].second.lErr, 7);
    EXPECT_EQ(task.lErr, 7);

    component.calls.clear();
    component.failures.clear();
    sink.rows.clear();
    component.onConvert = [&](const ConversionProperties& p) {
        if (component.calls.size() == 2)
            component.failures[p.SourceFile] = {-1, "renderer gone"};
    };
    auto again = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 3, again), -1);
    EXPECT_EQ(component.calls.size(), 2u);
    EXPECT_EQ(sink.rows.size(), 1u);
}

TEST_F(ConversionStep, PdfWithOptionsGoesThroughRichTextAndLeavesNoIntermediate) {
    const auto source = t.file("in/a.ppt");
    context.settings.bPDFTextOnly = true;
    auto task = Task("in/a.ppt", "out/a.pdf", kTargetPdfWithOptions);
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].TargetFormat, kTargetRtfText);
    EXPECT_EQ(component.calls[0].TargetFile, t.str() + "out/a.pdf.rtf");
    ASSERT_EQ(pdf.calls.size(), 1u);
    EXPECT_EQ(pdf.calls[0].sOriginalFile, t.str() + "out/a.pdf.rtf");
    EXPECT_EQ(pdf.calls[0].lOriginalFileType, kRichTextRtf);
    EXPECT_EQ(pdf.calls[0].sTargetFile, t.str() + "out/a.pdf");
    EXPECT_EQ(pdf.calls[0].lTargetFileType, kRichTextPdf);
    EXPECT_TRUE(pdf.intermediateExisted[0]);
    EXPECT_TRUE(fs::exists(t.path() / "out" / "a.pdf"));
    EXPECT_FALSE(fs::exists(t.path() / "out" / "a.pdf.rtf"));
    EXPECT_EQ(task.sOriginalFile, source);
    EXPECT_EQ(task.lTargetFileType, kTargetPdfWithOptions);
    EXPECT_THAT(control.TextsOf(StatusPanel::State), Contains("Converting to PDF...."));
}

TEST_F(ConversionStep, PdfWithOptionsEveryListedFileStartsFromTheTaskTypes) {
    t.file("in/a.ppt");
    t.file("in/b.ppt");
    auto task = Task("in/*.ppt", "out/*.pdf", kTargetPdfWithOptions);
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    ASSERT_EQ(component.calls.size(), 2u);
    EXPECT_EQ(component.calls[0].TargetFormat, kTargetRtfPictures);
    EXPECT_EQ(component.calls[1].TargetFormat, kTargetRtfPictures);
    EXPECT_EQ(pdf.calls.size(), 2u);
    EXPECT_TRUE(fs::exists(t.path() / "out" / "a.pdf"));
    EXPECT_TRUE(fs::exists(t.path() / "out" / "b.pdf"));
    EXPECT_TRUE(fs::is_empty(t.path() / "out" / "a.pdf") == false);
    EXPECT_FALSE(fs::exists(t.path() / "out" / "a.pdf.rtf"));
    EXPECT_FALSE(fs::exists(t.path() / "out" / "b.pdf.rtf"));
}

TEST_F(ConversionStep, MissingPdfStageFailsHonestlyAndLogsTheTaskFiles) {
    const auto source = t.file("in/a.ppt");
    UnavailablePdfStage unavailable;
    ConversionContext real{component, control, sink, unavailable};
    real.settings.bDeleteOriginalFileAfterProcessing = true;
    auto task = Task("in/a.ppt", "out/a.pdf", kTargetPdfWithOptions);
    const int32_t r = PerformBlockConversion(real, 2, task);
    EXPECT_EQ(r, kPdfStageUnavailable);
    EXPECT_GT(r, 0);
    EXPECT_EQ(task.sErr, "PDF - with options: the PDF stage is not available yet");
    EXPECT_FALSE(fs::exists(t.path() / "out" / "a.pdf.rtf"));
    EXPECT_FALSE(fs::exists(t.path() / "out" / "a.pdf"));
    EXPECT_TRUE(fs::exists(source)) << "a failed file keeps its source";
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0].second.sOriginalFile, source);
    EXPECT_EQ(sink.rows[0].second.lTargetFileType, kTargetPdfWithOptions);

    // A failed first stage never reaches the PDF stage.
    component.failures[source] = {9, "broken deck"};
    auto second = Task("in/a.ppt", "out/a.pdf", kTargetPdfWithOptions);
    EXPECT_EQ(PerformBlockConversion(context, 2, second), 9);
    EXPECT_TRUE(pdf.calls.empty());
    EXPECT_EQ(second.sTargetFile, t.str() + "out/a.pdf");
}

TEST_F(ConversionStep, DeleteAfterProcessingOnlyAfterSuccessAndNeverTheTarget) {
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    const auto good = t.file("in/good.ppt"), bad = t.file("in/bad.ppt");
    component.failures[bad] = {5, "failed"};
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 5);
    EXPECT_FALSE(fs::exists(good));
    EXPECT_TRUE(fs::exists(bad));

    // Converting a file onto itself would replace it: the file fails and stays as it was.
    const auto same = t.file("keep/deck.pptx", "original");
    auto onto = Task("keep/*.pptx", "keep/*.pptx", 24);
    onto.bSaveInOriginalFolder = true;
    EXPECT_EQ(PerformBlockConversion(context, 2, onto), kErrTargetIsSource);
    EXPECT_EQ(ReadWholeFile(same), "original");
    EXPECT_EQ(component.calls.size(), 2u);
    EXPECT_EQ(sink.rows.back().second.sOriginalFile, same);
}

TEST_F(ConversionStep, TwoSourcesOfOneTargetConvertTheFirstAndKeepTheOther) {
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    t.file("in/deck.ppt", "three slides");
    t.file("in/deck.pptx", "seven slides");
    std::vector<std::string> files;
    auto listing = Task("in/*.*", "out/*.pdf");
    ASSERT_TRUE(BuildFileList(listing, files, control));
    ASSERT_EQ(files.size(), 2u);
    const std::string first = files[0], second = files[1];
    const std::string kept = ReadWholeFile(second);

    auto task = Task("in/*.*", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 3, task), kErrTargetClaimed);
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].SourceFile, first);
    EXPECT_THAT(ReadWholeFile(t.path() / "out" / "deck.pdf"), HasSubstr(first + " as"));
    EXPECT_FALSE(fs::exists(first)) << "the converted source goes as the settings ask";
    ASSERT_TRUE(fs::exists(second)) << "the source that was not converted is never deleted";
    EXPECT_EQ(ReadWholeFile(second), kept);
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0].first, 3);
    EXPECT_EQ(sink.rows[0].second.sOriginalFile, second);
    EXPECT_EQ(sink.rows[0].second.lErr, kErrTargetClaimed);
    EXPECT_THAT(sink.rows[0].second.sErr, HasSubstr(first));
    EXPECT_EQ(task.lErr, kErrTargetClaimed);

    // Moving instead of deleting: the refused source stays where it was.
    context.settings.bDeleteOriginalFileAfterProcessing = false;
    context.settings.bMoveOriginalFileAfterProcessing = true;
    context.settings.sMoveFileToFolder = t.str() + "done";
    t.file("in2/deck.ppt");
    t.file("in2/deck.pptx");
    auto moving = Task("in2/*.*", "out2/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 4, moving), kErrTargetClaimed);
    ASSERT_EQ(sink.rows.size(), 2u);
    const std::string refused = sink.rows[1].second.sOriginalFile;
    EXPECT_TRUE(fs::exists(refused));
    EXPECT_FALSE(fs::exists(t.path() / "done" / fs::path(refused).filename()));
    EXPECT_EQ(fs::exists(t.path() / "done" / "deck.ppt") + fs::exists(t.path() / "done" / "deck.pptx"), 1);
}

TEST_F(ConversionStep, AResumedListRefusesTheSameFilesAsAWholeRun) {
    t.file("in/deck.ppt");
    t.file("in/deck.pptx");
    t.file("in/zz.ppt");
    std::vector<std::string> files;
    auto listing = Task("in/*.*", "out/*.pdf");
    ASSERT_TRUE(BuildFileList(listing, files, control));
    ASSERT_EQ(files.size(), 3u);
    // Resume just after the first "deck": the other one still loses to it.
    const auto firstDeck = std::find_if(files.begin(), files.end(),
                                        [](const std::string& f) { return fs::path(f).stem() == "deck"; });
    const auto secondDeck = std::find_if(firstDeck + 1, files.end(),
                                         [](const std::string& f) { return fs::path(f).stem() == "deck"; });
    ASSERT_NE(secondDeck, files.end());
    context.lResumeFileIndex = static_cast<int32_t>(firstDeck - files.begin()) + 2;
    auto task = Task("in/*.*", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), kErrTargetClaimed);
    for (const auto& call : component.calls)
        EXPECT_NE(call.SourceFile, *secondDeck);
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0].second.sOriginalFile, *secondDeck);
}

TEST_F(ConversionStep, AListResumedAfterAPauseKeepsTheTargetsItGaveOut) {
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    t.file("in/deck.ppt", "three slides");
    t.file("in/deck.pptx", "seven slides");
    // The first deck converts (and its source goes), then the run is paused.
    component.onConvert = [&](const ConversionProperties&) { control.running = false; };
    auto task = Task("in/*.*", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    ASSERT_EQ(component.calls.size(), 1u);
    const std::string first = component.calls[0].SourceFile;
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(context.bFileListCutShort);

    // Built again, the list holds only the other deck: it must not replace the first one's
    // target, the only copy left of that deck.
    control.running = true;
    component.onConvert = nullptr;
    auto resumed = Task("in/*.*", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, resumed), kErrTargetClaimed);
    EXPECT_EQ(component.calls.size(), 1u);
    EXPECT_THAT(ReadWholeFile(t.path() / "out" / "deck.pdf"), HasSubstr(first + " as"));
    const std::string second =
        first == t.str() + "in/deck.ppt" ? t.str() + "in/deck.pptx" : t.str() + "in/deck.ppt";
    EXPECT_TRUE(fs::exists(second));
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_THAT(sink.rows[0].second.sErr, HasSubstr(first));
    EXPECT_TRUE(context.resumeClaims.empty()) << "a list that ran to its end leaves nothing behind";
}

TEST_F(ConversionStep, BesideTheSourceNeverOverwritesASiblingSource) {
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    const auto ppt = t.file("in/deck.ppt", "three slides");
    const auto pptx = t.file("in/deck.pptx", "seven slides");
    const auto other = t.file("in/other.ppt", "other");
    auto task = Task("in/*.*", "*.pptx", 24);
    task.bSaveInOriginalFolder = true;
    const int32_t result = PerformBlockConversion(context, 1, task);
    EXPECT_TRUE(result == kErrTargetIsOtherSource || result == kErrTargetIsSource) << result;
    EXPECT_EQ(ReadWholeFile(pptx), "seven slides");
    EXPECT_EQ(ReadWholeFile(ppt), "three slides") << "a refused source is kept";
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(component.calls[0].SourceFile, other);
    EXPECT_FALSE(fs::exists(other));
    ASSERT_EQ(sink.rows.size(), 2u);
    for (const auto& [job, row] : sink.rows) {
        if (row.sOriginalFile == ppt) {
            EXPECT_EQ(row.lErr, kErrTargetIsOtherSource);
            EXPECT_THAT(row.sErr, HasSubstr(ppt + " -> " + pptx));
        } else {
            EXPECT_EQ(row.sOriginalFile, pptx);
            EXPECT_EQ(row.lErr, kErrTargetIsSource);
            EXPECT_THAT(row.sErr, HasSubstr("Error 21"));
        }
    }
}

TEST_F(ConversionStep, MoveAfterProcessingKeepsTheRelativeFolder) {
    const auto top = t.file("in/top.ppt"), deep = t.file("in/a/b/deep.ppt");
    context.settings.bMoveOriginalFileAfterProcessing = true;
    context.settings.sMoveFileToFolder = t.str() + "done";
    auto task = Task("in/*.ppt", "out/*.pdf");
    task.bDoSubfolders = true;
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_EQ(context.settings.sMoveFileToFolder, t.str() + "done/");
    EXPECT_FALSE(fs::exists(top));
    EXPECT_FALSE(fs::exists(deep));
    EXPECT_TRUE(fs::exists(t.path() / "done" / "top.ppt"));
    EXPECT_TRUE(fs::exists(t.path() / "done" / "a" / "b" / "deep.ppt"));
}

TEST_F(ConversionStep, FailedMoveKeepsResultAndSource) {
    const auto source = t.file("in/a.ppt");
    t.file("blocker", "a file where the folder should be");
    context.settings.bMoveOriginalFileAfterProcessing = true;
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    context.settings.sMoveFileToFolder = t.str() + "blocker/";
    auto task = Task("in/a.ppt", "out/a.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_TRUE(sink.rows.empty());
    EXPECT_TRUE(fs::exists(source)) << "the file could not be moved, so it must not be deleted either";

    context.settings.sMoveFileToFolder.clear();
    auto again = Task("in/a.ppt", "out/a.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, again), 0);
    EXPECT_TRUE(fs::exists(source)) << "no move folder: nothing moved, nothing deleted";
}

TEST_F(ConversionStep, PauseKeepsResumePositionForTheNextList) {
    for (int i = 0; i < 5; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    component.onConvert = [&](const ConversionProperties&) {
        if (component.calls.size() == 3)
            control.running = false;
    };
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_EQ(component.calls.size(), 3u);
    EXPECT_EQ(context.lResumeFileIndex, 3) << "the file that was being converted runs again";
    EXPECT_TRUE(context.bFileListCutShort);

    control.running = true;
    component.onConvert = nullptr;
    auto resumed = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, resumed), 0);
    ASSERT_EQ(component.calls.size(), 6u);
    EXPECT_EQ(component.calls[3].SourceFile, component.calls[2].SourceFile);
    EXPECT_EQ(context.lResumeFileIndex, 0);

    // A later list starts at its first file again.
    auto later = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, later), 0);
    EXPECT_EQ(component.calls.size(), 11u);
}

TEST_F(ConversionStep, ResumeFindsItsPlaceWhenConvertedSourcesWereMovedAway) {
    for (int i = 0; i < 6; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    context.settings.bMoveOriginalFileAfterProcessing = true;
    context.settings.sMoveFileToFolder = t.str() + "done";
    component.onConvert = [&](const ConversionProperties&) {
        if (component.calls.size() == 4)
            control.running = false;
    };
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_EQ(context.lResumeFileIndex, 4);

    // Four files left the folder: the list built again has two, and both still need converting.
    control.running = true;
    component.onConvert = nullptr;
    auto resumed = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, resumed), 0);
    EXPECT_EQ(component.calls.size(), 6u);
    EXPECT_TRUE(fs::is_empty(t.path() / "in"));
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(fs::exists(t.str() + "out/f" + std::to_string(i) + ".pdf")) << i;
}

TEST_F(ConversionStep, PauseEarlyInTheListResumesFromTheStart) {
    for (int i = 0; i < 3; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    component.onConvert = [&](const ConversionProperties&) { control.running = false; };
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_EQ(component.calls.size(), 1u);
    EXPECT_EQ(context.lResumeFileIndex, 0);
}

TEST_F(ConversionStep, PauseDuringTheLastFileLeavesNoPosition) {
    for (int i = 0; i < 4; ++i)
        t.file("in/f" + std::to_string(i) + ".ppt");
    component.onConvert = [&](const ConversionProperties&) {
        if (component.calls.size() == 4)
            control.running = false;
    };
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_EQ(component.calls.size(), 4u);
    EXPECT_EQ(context.lResumeFileIndex, 0) << "the next list must not skip its first files";
    EXPECT_FALSE(context.bFileListCutShort);
}

TEST_F(ConversionStep, PausedBeforeTheTaskConvertsNothing) {
    t.file("in/a.ppt");
    control.running = false;
    context.lResumeFileIndex = 0;
    auto task = Task("in/*.ppt", "out/*.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), 0);
    EXPECT_TRUE(component.calls.empty());
    EXPECT_EQ(task.sErr, "Conversion Process paused.");
    EXPECT_EQ(task.lErr, 0);
}

TEST_F(ConversionStep, ComponentFaultIsAFailureNotASuccess) {
    const auto source = t.file("in/a.ppt");
    context.settings.bDeleteOriginalFileAfterProcessing = true;
    component.onConvert = [](const ConversionProperties&) { throw std::runtime_error("renderer crashed"); };
    auto task = Task("in/a.ppt", "out/a.pdf");
    EXPECT_EQ(PerformBlockConversion(context, 1, task), kErrComponentFault);
    EXPECT_EQ(task.sErr, "renderer crashed");
    EXPECT_TRUE(fs::exists(source));
    EXPECT_EQ(sink.rows.size(), 1u);
}

TEST(DeleteFileWithRetry, RemovesFilesOnlyAndTreatsMissingAsDone) {
    TempFolder t;
    const auto file = t.file("a.ppt");
    EXPECT_TRUE(DeleteFileWithRetry(file, 3, std::chrono::milliseconds(1)));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(DeleteFileWithRetry(file, 3, std::chrono::milliseconds(1)));
    const auto folder = t.folder("empty");
    EXPECT_FALSE(DeleteFileWithRetry(folder, 3, std::chrono::milliseconds(1)));
    EXPECT_TRUE(fs::is_directory(folder));
}

} // namespace
} // namespace slidemill
