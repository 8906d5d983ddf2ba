// The engine's pieces that need no office: its format table, messages, output staging and
// watchdog.
#include "engine/EngineFormats.h"
#include "engine/EngineOptions.h"
#include "engine/EngineTexts.h"
#include "engine/LibreOfficeComponent.h"
#include "engine/OutputStaging.h"
#include "engine/PackageContentType.h"
#include "engine/ProtectedFileCheck.h"
#include "engine/Watchdog.h"
#include "engine/WriterRichText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

TEST(EngineFormatTable, OffersPowerPointNumbersWithExtensionsAndFolderFlags) {
    LibreOfficeComponent engine;
    const int32_t count = engine.FormatCount();
    ASSERT_EQ(count, static_cast<int32_t>(EngineFormats().size()));
    std::set<int32_t> codes;
    for (int32_t i = 1; i <= count; ++i) {
        int32_t code = 0;
        std::string description;
        ASSERT_TRUE(engine.GetFormat(i, code, description));
        EXPECT_FALSE(description.empty());
        EXPECT_TRUE(codes.insert(code).second) << "code " << code << " twice";
        EXPECT_FALSE(engine.GetExtension(code, false).empty());
    }
    int32_t code = 0;
    std::string description;
    EXPECT_FALSE(engine.GetFormat(0, code, description));
    EXPECT_FALSE(engine.GetFormat(count + 1, code, description));

    const std::map<int32_t, std::string> expected{
        {1, "ppt"},   {5, "pot"},  {7, "pps"},  {12, "html"}, {15, "wmf"},  {16, "gif"},  {17, "jpg"},
        {18, "png"},  {19, "bmp"}, {21, "tif"}, {23, "emf"},  {24, "pptx"}, {25, "pptm"}, {26, "potx"},
        {28, "ppsx"}, {32, "pdf"}, {35, "odp"}, {6, "rtf"},   {106, "rtf"}};
    for (const auto& [c, extension] : expected) {
        EXPECT_TRUE(codes.count(c)) << c;
        EXPECT_EQ(engine.GetExtension(c, false), extension);
        EXPECT_EQ(engine.GetExtension(c, true), "*." + extension);
    }
    EXPECT_EQ(engine.GetExtension(9999, true), "");

    for (int32_t picture : {15, 16, 17, 18, 19, 21, 23, 101})
        EXPECT_FALSE(engine.SupportsSingleFileOutput(picture)) << picture;
    for (int32_t document : {1, 24, 32, 35, 6, 106})
        EXPECT_TRUE(engine.SupportsSingleFileOutput(document)) << document;
    EXPECT_FALSE(engine.SupportsSingleFileOutput(9999));
    EXPECT_TRUE(engine.PowerPointVersionAtLeast2010());
}

TEST(EngineFormatTable, MissingOfficeMeansNoFormats) {
    EngineOptions options;
    options.officeProgram = "/nonexistent/soffice.bin";
    LibreOfficeComponent engine(options);
    EXPECT_EQ(engine.FormatCount(), 0);
    int32_t code = 0;
    std::string description;
    EXPECT_FALSE(engine.GetFormat(1, code, description));
}

// The layout of error texts comes from the options the component was made with; a file that
// does not exist is reported before any office is needed.
TEST(EngineMessages, CommandLineModeComesFromTheEngineOptions) {
    const std::string missing = "/nonexistent/folder/missing.rtf";
    for (const bool commandLine : {false, true}) {
        EngineOptions options;
        options.officeProgram = "/nonexistent/soffice.bin";
        options.commandLineMode = commandLine;
        LibreOfficeComponent office(options);
        WriterRichTextEngine engine(office);
        auto document = engine.NewDocument();
        int32_t code = 5;
        std::string error;
        EXPECT_EQ(engine.OpenFile(missing, code, *document, error), kRichTextLoadFailed);
        const std::string expectedEnd = (commandLine ? ":\n\n" : ":  ") + missing;
        EXPECT_TRUE(error.ends_with(expectedEnd)) << "command line " << commandLine << ": " << error;
    }
}

TEST(EngineMessages, TextsAreOfferedByNegativeIndexAndNameTheFile) {
    LibreOfficeComponent engine;
    ASSERT_GT(engine.TextCount(), 5);
    std::set<std::string> texts;
    for (int32_t i = 1; i <= engine.TextCount(); ++i) {
        const std::string text = engine.GetText(-i);
        EXPECT_FALSE(text.empty()) << i;
        EXPECT_TRUE(texts.insert(text).second) << text;
    }
    EXPECT_EQ(engine.GetText(0), "");
    EXPECT_EQ(engine.GetText(1), "");
    EXPECT_EQ(engine.GetText(-engine.TextCount() - 1), "");

    const std::string message = EngineMessage(kEnginePasswordProtected, "/in/a.pptx", "detail");
    EXPECT_EQ(message, "The file is password-protected: /in/a.pptx (detail)");
    EXPECT_EQ(EngineMessage(kEngineSourceMissing, "/x.ppt"), "Source file not found: /x.ppt");
    // Every fixed part of a message is among the translatable texts.
    for (EngineResult r :
         {kEngineSourceMissing, kEngineCannotLoad, kEnginePasswordProtected, kEngineNotAPresentation,
          kEngineSlideRangeOutside, kEngineTargetNotWritable, kEngineTimedOut, kEngineOfficeCrashed,
          kEngineUnsupportedFormat, kEngineExportFailed}) {
        const std::string fixed = EngineMessage(r, "");
        EXPECT_TRUE(texts.count(fixed)) << fixed;
    }
}

TEST(OutputStaging, AFileAppearsOnlyWhenCompleteAndNonEmpty) {
    TempFolder folder("staging");
    const std::string target = folder.str() + "sub/dir/out.pdf";
    {
        StagedFile staged;
        std::string error;
        ASSERT_TRUE(staged.Prepare(target, error)) << error;
        // In a hidden folder beside the target, on the same file system.
        const fs::path hidden = fs::path(staged.TempPath()).parent_path();
        EXPECT_EQ(hidden.parent_path(), fs::path(target).parent_path());
        EXPECT_EQ(hidden.filename().string()[0], '.');
        EXPECT_FALSE(fs::exists(target));
        // Nothing written: no success.
        EXPECT_FALSE(staged.Commit(error));
        std::ofstream(staged.TempPath()); // an empty file is no success either
        EXPECT_FALSE(staged.Commit(error));
        EXPECT_FALSE(fs::exists(target));
        // What the office leaves beside its output goes with the folder.
        std::ofstream(hidden / "lu1234.tmp") << "scratch";
    }
    // The abandoned temporary files are gone.
    EXPECT_TRUE(fs::is_empty(folder.str() + "sub/dir"));

    // An existing target is replaced only by a complete file.
    std::ofstream(target) << "old";
    {
        StagedFile staged;
        std::string error;
        ASSERT_TRUE(staged.Prepare(target, error));
        std::ofstream(staged.TempPath()) << "new contents";
        std::ofstream(fs::path(staged.TempPath()).parent_path() / ".~lock.out.pdf#") << "lock";
        EXPECT_EQ(ReadWholeFile(target), "old");
        ASSERT_TRUE(staged.Commit(error)) << error;
    }
    EXPECT_EQ(ReadWholeFile(target), "new contents");
    EXPECT_EQ(fs::directory_iterator(folder.str() + "sub/dir")->path().filename(), "out.pdf");

    StagedFile refused;
    std::string error;
    EXPECT_FALSE(refused.Prepare("/proc/slidemill-no/out.pdf", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(refused.Prepare(folder.str() + "sub", error)); // a folder is there
}

TEST(OutputStaging, AFolderOfSlidesReplacesTheOldOneOnlyWhenComplete) {
    TempFolder folder("stagedfolder");
    const std::string target = PerSlideFolderOf(folder.str() + "deck.png");
    EXPECT_EQ(target, folder.str() + "deck");
    folder.file("deck/Slide9.png", "old");
    {
        StagedFolder staged;
        std::string error;
        ASSERT_TRUE(staged.Prepare(target, error)) << error;
        std::ofstream(staged.TempPath() + "/Slide1.png") << "one";
        std::ofstream(staged.TempPath() + "/Slide2.png"); // empty: a failed picture
        EXPECT_FALSE(staged.Commit(error));
    }
    EXPECT_EQ(ReadWholeFile(target + "/Slide9.png"), "old");
    {
        StagedFolder staged;
        std::string error;
        ASSERT_TRUE(staged.Prepare(target, error));
        EXPECT_FALSE(staged.Commit(error)); // no files at all
        std::ofstream(staged.TempPath() + "/Slide1.png") << "one";
        ASSERT_TRUE(staged.Commit(error)) << error;
    }
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder.path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"deck"});
    EXPECT_FALSE(fs::exists(target + "/Slide9.png"));
    EXPECT_EQ(ReadWholeFile(target + "/Slide1.png"), "one");

    // A file where the folder should go is not replaced.
    folder.file("taken", "keep");
    StagedFolder staged;
    std::string error;
    EXPECT_FALSE(staged.Prepare(folder.str() + "taken", error));
    EXPECT_EQ(ReadWholeFile(folder.str() + "taken"), "keep");
}

TEST(Watchdog, FiresOnlyWhenTheDeadlinePasses) {
    Watchdog watchdog;
    std::atomic<int> fired{0};
    watchdog.Arm(50, [&] { ++fired; });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(watchdog.Disarm());
    EXPECT_EQ(fired, 1);

    watchdog.Arm(5000, [&] { ++fired; });
    EXPECT_FALSE(watchdog.Disarm());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(watchdog.Expired());

    // Re-arming replaces the earlier deadline.
    watchdog.Arm(20, [&] { fired += 10; });
    watchdog.Arm(5000, [&] { fired += 100; });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(watchdog.Disarm());
    EXPECT_EQ(fired, 1);
}

} // namespace
} // namespace slidemill::test

namespace slidemill::test {
namespace {

TEST(ProtectedFileCheck, RecognisesEncryptedCompoundFilesOnly) {
    TempFolder folder("sniff");
    const std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    const auto utf16 = [](const std::string& s) {
        std::string out;
        for (char c : s)
            out += std::string{c, '\0'};
        return out;
    };
    const std::string padding(600, 'x');
    EXPECT_TRUE(
        LooksPasswordProtected(folder.file("a.pptx", compound + padding + utf16("EncryptedPackage"))));
    EXPECT_TRUE(LooksPasswordProtected(folder.file("b.ppt", compound + padding + utf16("EncryptedSummary"))));
    EXPECT_TRUE(LooksPasswordProtected(folder.file("c.ppt", compound + padding + "\xDF\xC4\xD1\xF3")));
    // A plain compound file, the unencrypted token, and markers outside a compound file.
    EXPECT_FALSE(LooksPasswordProtected(folder.file("d.ppt", compound + padding + utf16("Current User"))));
    EXPECT_FALSE(LooksPasswordProtected(folder.file("e.ppt", compound + padding + "\x5F\xC0\x91\xE3")));
    EXPECT_FALSE(LooksPasswordProtected(folder.file("f.pptx", "PK\x03\x04" + utf16("EncryptedPackage"))));
    // The name as plain text is not a stream name.
    EXPECT_FALSE(LooksPasswordProtected(folder.file("g.ppt", compound + "EncryptedPackage")));
    EXPECT_FALSE(LooksPasswordProtected(folder.str() + "missing.ppt"));
    EXPECT_FALSE(LooksPasswordProtected(folder.file("empty.ppt", "")));
}

TEST(PackageContentType, LeavesFilesThatAreNoPresentationPackageAsTheyWere) {
    TempFolder t("package");
    const std::string text = t.file("notes.ppsx", "not a package at all");
    std::string error;
    EXPECT_FALSE(MarkPackageAsShow(text, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadWholeFile(text), "not a package at all");
    EXPECT_FALSE(MarkPackageAsShow(t.str() + "missing.ppsx", error));
    EXPECT_FALSE(fs::exists(t.str() + "missing.ppsx"));
    // Nothing is left beside the files.
    EXPECT_EQ(std::distance(fs::directory_iterator(t.path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace slidemill::test
