// The rich-text engine on Writer: loading and saving by format code, the automatic switch
// between RTF and Word, the busy-file wait, and the text operations the special processes use.
#include "EngineTestSupport.h"
#include "PdfTestTools.h"

#include "engine/WriterRichText.h"
#include "platform/FileLock.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

const std::string kRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 First paragraph\\par "
    "Second \\b bold\\b0  paragraph\\par Third paragraph\\par}";

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

TEST(WriterRichText, LoadsAndSavesByFormatCode) {
    WriterRichTextEngine engine(SharedEngine());
    TempFolder dir("rich-codes");
    const std::string rtf = dir.file("in.rtf", kRtf);
    auto document = engine.NewDocument();
    int32_t code = 5;
    std::string error;
    ASSERT_EQ(engine.OpenFile(rtf, code, *document, error), 0) << error;
    EXPECT_EQ(code, 5);
    EXPECT_TRUE(error.empty());
    const std::string text = Utf8(document->PlainText());
    EXPECT_FALSE(document->TextReadFailed());
    EXPECT_NE(text.find("First paragraph\nSecond bold paragraph\nThird paragraph"), std::string::npos)
        << text;

    struct Case {
        int32_t code;
        const char* name;
        bool reload;
    };
    const std::vector<Case> cases{{1, "out.txt", true},   {4, "out.html", true},  {5, "out.rtf", true},
                                  {6, "out16.txt", true}, {9, "out.doc", true},   {10, "out.fodt", true},
                                  {13, "out.docx", true}, {12, "out.pdf", false}, {14, "outa.pdf", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = dir.str() + c.name;
        ASSERT_EQ(engine.FileSave(target, c.code, *document, error), 0) << error;
        ASSERT_GT(fs::file_size(target), 0u);
        if (!c.reload)
            continue;
        auto again = engine.NewDocument();
        int32_t reloadCode = c.code;
        ASSERT_EQ(engine.OpenFile(target, reloadCode, *again, error), 0) << error;
        EXPECT_EQ(reloadCode, c.code);
        EXPECT_NE(Utf8(again->PlainText()).find("Second bold paragraph"), std::string::npos);
    }
    EXPECT_EQ(ReadWholeFile(dir.str() + "out.txt").rfind("First paragraph\nSecond bold paragraph\n", 0), 0u)
        << ReadWholeFile(dir.str() + "out.txt");
    const std::string utf16 = ReadWholeFile(dir.str() + "out16.txt");
    ASSERT_GE(utf16.size(), 4u);
    EXPECT_EQ(utf16.substr(0, 4), std::string("\xFF\xFE"
                                              "F\0",
                                              4)); // UTF-16 with its byte-order mark
    EXPECT_NE(PdfPlainText(dir.str() + "out.pdf").find("Second bold paragraph"), std::string::npos);
    EXPECT_NE(RunTool({"pdfinfo", "-meta", dir.str() + "outa.pdf"}).output.find("pdfaid"), std::string::npos);

    // Code 3 skips a 30-byte header before the text.
    const std::string headed = dir.file("headed.txt", std::string(30, 'H') + "Payload line\nSecond line\n");
    auto plain = engine.NewDocument();
    code = 3;
    ASSERT_EQ(engine.OpenFile(headed, code, *plain, error), 0) << error;
    EXPECT_EQ(Utf8(plain->PlainText()).rfind("Payload line\nSecond line", 0), 0u) << Utf8(plain->PlainText());

    // Only the finished files are left: no staging names, no copies.
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
        ++files;
    }
    EXPECT_EQ(files, cases.size() + 2);
}

TEST(WriterRichText, WrongCodesMissingAndBusyFilesAreReportedByNumberAndText) {
    WriterRichTextEngine engine(SharedEngine());
    TempFolder dir("rich-errors");
    const std::string rtf = dir.file("real-rtf.doc", kRtf);
    std::string error;
    auto document = engine.NewDocument();

    // An RTF file given as Word loads after the switch, and the code says what it really is.
    int32_t code = 9;
    ASSERT_EQ(engine.OpenFile(rtf, code, *document, error), 0) << error;
    EXPECT_EQ(code, 5);
    const std::string doc = dir.str() + "real-word.rtf";
    ASSERT_EQ(engine.FileSave(doc, 9, *document, error), 0) << error;
    code = 5;
    auto word = engine.NewDocument();
    ASSERT_EQ(engine.OpenFile(doc, code, *word, error), 0) << error;
    EXPECT_EQ(code, 9);
    EXPECT_NE(Utf8(word->PlainText()).find("Third paragraph"), std::string::npos);

    // Neither RTF nor Word.
    const std::string junk = dir.file("junk.rtf", "this is neither RTF nor a Word file");
    code = 5;
    EXPECT_EQ(engine.OpenFile(junk, code, *document, error), kRichTextInvalidType);
    EXPECT_EQ(code, 5);
    EXPECT_EQ(error, "Invalid File Type or password specified for the Input File:  " + junk);

    code = 7;
    EXPECT_EQ(engine.OpenFile(rtf, code, *document, error), kRichTextUnknownType);
    EXPECT_EQ(error, "Unknown File Type");
    for (int32_t unknown : {7, 2, 0, 99}) {
        EXPECT_EQ(engine.FileSave(dir.str() + "x.out", unknown, *document, error), kRichTextUnknownType);
        EXPECT_EQ(error, "Unknown File Type");
    }
    EXPECT_EQ(engine.FileSave(dir.str() + "x.css", 11, *document, error), kRichTextCssNotSupported);
    EXPECT_NE(error.find(dir.str() + "x.css"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir.str() + "x.out"));
    EXPECT_FALSE(fs::exists(dir.str() + "x.css"));

    // A missing file, with the separator of a window run and of a command-line run.
    const std::string missing = dir.str() + "missing.rtf";
    code = 5;
    EXPECT_EQ(engine.OpenFile(missing, code, *document, error), kRichTextLoadFailed);
    EXPECT_EQ(error,
              "File Load Error. Could be sharing violation or Invalid File Type specified for the Original "
              "File:  " +
                  missing);
    engine.SetCommandLineMode(true);
    engine.OpenFile(missing, code, *document, error);
    engine.SetCommandLineMode(false);
    EXPECT_NE(error.find("File:\n\n" + missing), std::string::npos) << error;

    // A locked file is waited for, then given up.
    const std::string locked = dir.file("locked.rtf", kRtf);
    {
        FileLock lock;
        ASSERT_TRUE(lock.TryLock(locked));
        engine.SetBusyWait(5, 30);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(engine.OpenFile(locked, code, *document, error), kRichTextFileBusy);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(4 * 30));
        EXPECT_EQ(error, "File Load Error 70\r\r" + locked + "\r\rPermission denied");
    }
    // ... and loads once the writer lets go within the attempts.
    {
        auto lock = std::make_unique<FileLock>();
        ASSERT_TRUE(lock->TryLock(locked));
        engine.SetBusyWait(100, 20);
        std::thread release([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            lock.reset();
        });
        EXPECT_EQ(engine.OpenFile(locked, code, *document, error), 0) << error;
        release.join();
        EXPECT_NE(Utf8(document->PlainText()).find("First paragraph"), std::string::npos);
    }

    // A target that cannot be written fails and names the file.
    const std::string blocker = dir.file("blocker", "a file where a folder should be");
    const std::string unwritable = blocker + "/out.rtf";
    EXPECT_NE(engine.FileSave(unwritable, 5, *document, error), 0);
    EXPECT_NE(error.find(unwritable), std::string::npos) << error;
}

TEST(WriterRichText, TextOperationsCarryFormattingBetweenDocuments) {
    WriterRichTextEngine engine(SharedEngine());
    TempFolder dir("rich-ops");
    const std::string rtf = dir.file("in.rtf", kRtf);
    std::string error;
    auto source = engine.NewDocument();
    int32_t code = 5;
    ASSERT_EQ(engine.OpenFile(rtf, code, *source, error), 0) << error;
    const std::u16string text = source->PlainText();
    const std::size_t bold = text.find(u"bold");
    ASSERT_NE(bold, std::u16string::npos);

    // The replacement takes the formatting of what it replaces.
    ASSERT_TRUE(source->ReplaceRange(bold, 4, u"strong"));
    EXPECT_NE(Utf8(source->PlainText()).find("Second strong paragraph"), std::string::npos);
    ASSERT_EQ(engine.FileSave(dir.str() + "replaced.html", 4, *source, error), 0) << error;
    EXPECT_NE(ReadWholeFile(dir.str() + "replaced.html").find("<b>strong</b>"), std::string::npos);

    // One paragraph, with its end, into a new document.
    const std::u16string now = source->PlainText();
    const std::size_t second = now.find(u"Second");
    const std::size_t end = now.find(u'\n', second);
    auto lines = engine.NewDocument();
    ASSERT_TRUE(source->AppendRangeTo(second, end + 1 - second, *lines));
    const std::string copied = Utf8(lines->PlainText());
    EXPECT_NE(copied.find("Second strong paragraph"), std::string::npos) << copied;
    EXPECT_EQ(copied.find("First"), std::string::npos) << copied;
    EXPECT_EQ(copied.find("Third"), std::string::npos) << copied;
    ASSERT_EQ(engine.FileSave(dir.str() + "lines.html", 4, *lines, error), 0) << error;
    EXPECT_NE(ReadWholeFile(dir.str() + "lines.html").find("<b>strong</b>"), std::string::npos);

    // A whole document after another one.
    auto target = engine.NewDocument();
    code = 5;
    ASSERT_EQ(engine.OpenFile(rtf, code, *target, error), 0) << error;
    ASSERT_TRUE(source->AppendAllTo(*target));
    const std::string joined = Utf8(target->PlainText());
    EXPECT_LT(joined.find("Second bold paragraph"), joined.find("Second strong paragraph")) << joined;
    EXPECT_NE(joined.find("Second strong paragraph"), std::string::npos) << joined;

    // A document cannot be appended to itself.
    EXPECT_FALSE(source->AppendAllTo(*source));
}

} // namespace
} // namespace slidemill::test
