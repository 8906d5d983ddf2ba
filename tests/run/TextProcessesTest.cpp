#include "run/TextProcesses.h"
#include "run/CharacterCodes.h"
#include "run/StreamReplace.h"
#include "run/TextFileOps.h"
#include "run/TextLayout.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <vector>

namespace fs = std::filesystem;
using namespace slidemill;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;

namespace {

const std::string kCopyright = "\xC2\xA9";

// The whole-text algorithm the streamed one must agree with: from the end backwards, each
// next occurrence ending at or before the start of the previous one.
std::string ReferenceReplace(const std::string& text, const std::string& find, const std::string& replacement,
                             bool caseSensitive) {
    const auto fold = [&](char c) { return caseSensitive ? c : static_cast<char>(FoldUnit(uint8_t(c), 1)); };
    std::vector<std::size_t> found; // last first
    for (std::size_t end = text.size(); find.size() && end >= find.size();) {
        std::size_t at = end - find.size() + 1;
        while (at-- > 0 && !std::equal(find.begin(), find.end(), text.begin() + at,
                                       [&](char a, char b) { return fold(a) == fold(b); })) {
        }
        if (at == std::string::npos)
            break;
        found.push_back(at);
        end = at;
    }
    std::string result;
    std::size_t copied = 0;
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        result.append(text, copied, *it - copied).append(replacement);
        copied = *it + find.size();
    }
    return result.append(text, copied);
}

// Hands out a string in pieces of random small sizes, as a slow reader would.
class PieceSource : public UnitSource {
public:
    PieceSource(std::string text, unsigned seed) : text_(std::move(text)), random_(seed) {}
    std::size_t Read(unsigned char* buffer, std::size_t length, bool&) override {
        std::size_t n = std::min<std::size_t>({length, text_.size() - at_, 1 + random_() % 9});
        std::copy_n(text_.data() + at_, n, buffer);
        at_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t at_ = 0;
    std::mt19937 random_;
};

class StringSink : public UnitSink {
public:
    bool Write(const unsigned char* data, std::size_t length) override {
        text.append(reinterpret_cast<const char*>(data), length);
        return true;
    }
    std::string text;
};

std::string RandomText(std::mt19937& random, std::size_t length, const std::string& alphabet) {
    std::string text(length, ' ');
    for (char& c : text)
        c = alphabet[random() % alphabet.size()];
    return text;
}

clsConversionOptions Task(const std::string& source, const std::string& target, int32_t type) {
    clsConversionOptions task;
    task.sActionToDo = "S";
    task.sOriginalFile = source;
    task.sTargetFile = target;
    task.lOriginalFileType = type;
    task.lTargetFileType = type;
    return task;
}

std::string Replaced(const TempFolder& dir, const std::string& text, const std::string& find,
                     const std::string& replacement, bool caseSensitive = true, int32_t type = 1) {
    const std::string source = dir.file("in.txt", text);
    const std::string target = (dir.path() / "out.txt").string();
    fs::remove(target);
    clsConversionOptions task = Task(source, target, type);
    task.sFindString = find;
    task.sReplaceString = replacement;
    task.bCaseSensitive = caseSensitive;
    EXPECT_EQ(SearchAndReplace(task), 0) << task.sErr;
    return fs::exists(target) ? ReadWholeFile(target) : "<no target>";
}

std::string Utf16(const std::string& utf8, bool bigEndian, bool mark = true) {
    const TextLayout layout{2, bigEndian, 0};
    return (mark ? EncodeForLayout("\xEF\xBB\xBF", layout) : "") + EncodeForLayout(utf8, layout);
}

int Shell(const std::string& command) {
    return std::system(("LC_ALL=C " + command).c_str());
}

} // namespace

TEST(CharacterCodes, CodesBetweenMarkersBecomeCharacters) {
    EXPECT_EQ(ExpandCharacterCodes("A" + kCopyright + "9" + kCopyright + "B"), "A\tB");
    EXPECT_EQ(ExpandCharacterCodes(kCopyright + "13" + kCopyright + kCopyright + "10" + kCopyright), "\r\n");
    EXPECT_EQ(ExpandCharacterCodes("x" + kCopyright + "233" + kCopyright), "x\xC3\xA9");
    EXPECT_EQ(ExpandCharacterCodes(kCopyright + "128512" + kCopyright), "\xF0\x9F\x98\x80");
    EXPECT_EQ(ExpandCharacterCodes(kCopyright + "0" + kCopyright), std::string(1, '\0'));
    EXPECT_EQ(ExpandCharacterCodes("plain text"), "plain text");
}

TEST(CharacterCodes, PiecesThatAreNoCodeStayAsTyped) {
    // An odd number of markers: the last one has no partner and stays with its text.
    EXPECT_EQ(ExpandCharacterCodes("a" + kCopyright + "9" + kCopyright + "b" + kCopyright + "c"),
              "a\tb" + kCopyright + "c");
    EXPECT_EQ(ExpandCharacterCodes(kCopyright), kCopyright);
    EXPECT_EQ(ExpandCharacterCodes(kCopyright + "x" + kCopyright + "!"), kCopyright + "x" + kCopyright + "!");
    EXPECT_EQ(ExpandCharacterCodes(kCopyright + kCopyright), kCopyright + kCopyright);
    EXPECT_EQ(ExpandCharacterCodes(kCopyright + "1114112" + kCopyright), kCopyright + "1114112" + kCopyright);
    EXPECT_EQ(ExpandCharacterCodes(kCopyright + "55296" + kCopyright), kCopyright + "55296" + kCopyright);
}

TEST(StreamReplace, AgreesWithTheWholeTextAlgorithmOnRandomInput) {
    std::mt19937 random(12345);
    const TextLayout bytes;
    for (int round = 0; round < 3000; ++round) {
        const std::string alphabet = round % 3 == 0 ? "ab" : (round % 3 == 1 ? "aAb" : "abc\n");
        const std::string text = RandomText(random, random() % 60, alphabet);
        const std::string find = RandomText(random, 1 + random() % 4, alphabet);
        const std::string replacement = RandomText(random, random() % 4, "xyz");
        const bool caseSensitive = round % 2 == 0;
        std::string key = find;
        if (!caseSensitive)
            FoldUnits(reinterpret_cast<const unsigned char*>(find.data()), find.size(), bytes,
                      reinterpret_cast<unsigned char*>(key.data()));
        const std::string expected = ReferenceReplace(text, find, replacement, caseSensitive);
        // Reading the text backwards and searching for the reversed find gives the result reversed.
        PieceSource backward(ReverseUnits(text, 1), round);
        StringSink sink;
        const std::size_t block = 1 + random() % 8;
        ReplaceInStream(backward, sink, ReverseUnits(key, 1), ReverseUnits(replacement, 1), bytes,
                        caseSensitive, {}, block);
        ASSERT_EQ(ReverseUnits(sink.text, 1), expected) << text << " / " << find << " block " << block;
        if (!CanOverlap(key, 1)) {
            PieceSource forward(text, round);
            StringSink forwardSink;
            ReplaceInStream(forward, forwardSink, key, replacement, bytes, caseSensitive, {}, block);
            ASSERT_EQ(forwardSink.text, expected) << text << " / " << find;
        }
    }
}

TEST(StreamReplace, UnitsOfTwoBytesMatchOnlyOnUnitBoundaries) {
    const TextLayout layout{2, false, 0};
    // "\x61\x62" as a unit is U+6261; the bytes 62 61 across two units are no match.
    const std::string text = std::string("\x61\x62\x61\x63", 4);
    PieceSource source(text, 1);
    StringSink sink;
    const auto counts = ReplaceInStream(source, sink, std::string("\x62\x61", 2), "ZZ", layout, true, {}, 2);
    EXPECT_EQ(counts.replacements, 0u);
    EXPECT_EQ(sink.text, text);
    EXPECT_TRUE(CanOverlap(std::string("ab", 2) + std::string("ab", 2), 2));
    EXPECT_FALSE(CanOverlap(std::string("\x61\x00\x61\x61", 4), 2));
}

TEST(SearchAndReplace, TakesOccurrencesFromTheEnd) {
    TempFolder dir;
    EXPECT_EQ(Replaced(dir, "abab", "ab", "x"), "xx");
    EXPECT_EQ(Replaced(dir, "aaa", "aa", "x"), "ax");
    EXPECT_EQ(Replaced(dir, "aaaa\naaa", "aa", "x"), "xx\nax");
    EXPECT_EQ(Replaced(dir, "a Cat, a CAT, a cat", "cat", "dog", false), "a dog, a dog, a dog");
    EXPECT_EQ(Replaced(dir, "a Cat, a cat", "cat", "dog", true), "a Cat, a dog");
    EXPECT_EQ(Replaced(dir, "one\r\ntwo\r\nthree\r\n",
                       kCopyright + "13" + kCopyright + kCopyright + "10" + kCopyright, " "),
              "one two three ");
    EXPECT_EQ(Replaced(dir, "nothing here", "zzz", "y"), "nothing here");
}

TEST(SearchAndReplace, EmptySourceOrFindWritesNothing) {
    TempFolder dir;
    EXPECT_EQ(Replaced(dir, "", "a", "b"), "<no target>");
    EXPECT_EQ(Replaced(dir, "abc", "", "b"), "<no target>");
    EXPECT_EQ(Replaced(dir, "\xFF\xFE", "a", "b", true, 6), "<no target>");
}

TEST(SearchAndReplace, KeepsEveryOtherByteOfBinaryAndBrokenText) {
    TempFolder dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    std::string expected = ReferenceReplace(binary, std::string("\x00\x01", 2), "!", true);
    EXPECT_EQ(Replaced(dir, binary, kCopyright + "0" + kCopyright + kCopyright + "1" + kCopyright, "!"),
              expected);
    // Invalid UTF-8, CR-only line ends and no final line end are left alone.
    const std::string broken = "caf\xC3 \xFF\xFE\rold\rold";
    EXPECT_EQ(Replaced(dir, broken, "old", "new"), "caf\xC3 \xFF\xFE\rnew\rnew");
}

TEST(SearchAndReplace, StreamsAcrossBlocksLikeTheWholeTextAlgorithm) {
    TempFolder dir;
    std::mt19937 random(7);
    // Larger than the read blocks, so occurrences straddle block boundaries in both directions.
    const std::string text = RandomText(random, (3 << 20) + 5, "aab");
    for (const std::string find : {"aa", "aba", "ab", "aab"}) {
        SCOPED_TRACE(find);
        EXPECT_EQ(Replaced(dir, text, find, "<>"), ReferenceReplace(text, find, "<>", true));
    }
    EXPECT_EQ(Replaced(dir, text, "AA", "-", false), ReferenceReplace(text, "aa", "-", true));
}

TEST(SearchAndReplace, MatchesSedByteForByte) {
    TempFolder dir;
    std::mt19937 random(99);
    std::string text;
    for (int line = 0; line < 20000; ++line)
        text +=
            RandomText(random, random() % 80, "the Cat sat on a mat\t\xC3\xA9") + (line % 3 ? "\n" : "\r\n");
    text += "no final line end with cat";
    const std::string source = dir.file("sed.txt", text);
    ASSERT_EQ(Shell("sed 's/cat/dog/g' '" + source + "' > '" + dir.str() + "sed.out'"), 0);
    EXPECT_EQ(Replaced(dir, text, "cat", "dog"), ReadWholeFile(dir.path() / "sed.out"));
    ASSERT_EQ(Shell("sed 's/cat/DOG/gI' '" + source + "' > '" + dir.str() + "sedi.out'"), 0);
    EXPECT_EQ(Replaced(dir, text, "CaT", "DOG", false), ReadWholeFile(dir.path() / "sedi.out"));
}

TEST(SearchAndReplace, LongLinesAreStreamed) {
    TempFolder dir;
    std::string line(10 << 20, 'x');
    line[5 << 20] = 'y';
    std::string expected = line;
    expected[5 << 20] = 'z';
    EXPECT_EQ(Replaced(dir, line + "\n", "y", "z"), expected + "\n");
}

TEST(SearchAndReplace, UnicodeTextKeepsItsEncoding) {
    TempFolder dir;
    for (const bool bigEndian : {false, true}) {
        const std::string text = Utf16("Caf\xC3\xA9 CAF\xC3\x89 caf\xC3\xA9\r\n", bigEndian);
        EXPECT_EQ(Replaced(dir, text, "caf\xC3\xA9", "tea", false, 6), Utf16("tea tea tea\r\n", bigEndian));
        EXPECT_EQ(Replaced(dir, text, "caf\xC3\xA9", "t" + kCopyright + "233" + kCopyright, true, 6),
                  Utf16("Caf\xC3\xA9 CAF\xC3\x89 t\xC3\xA9\r\n", bigEndian));
    }
    // Without a byte-order mark the text is little-endian UTF-16 and stays without a mark.
    EXPECT_EQ(Replaced(dir, Utf16("aaa", false, false), "aa", "x", true, 6), Utf16("ax", false, false));
    // An odd last byte is no character and is kept.
    EXPECT_EQ(Replaced(dir, Utf16("abab", false) + "!", "ab", "x", true, 6), Utf16("xx", false) + "!");
    // A UTF-8 file given as Unicode text is searched as UTF-8.
    EXPECT_EQ(Replaced(dir,
                       "\xEF\xBB\xBF"
                       "aaa",
                       "aa", "x", true, 6),
              "\xEF\xBB\xBF"
              "ax");
}

TEST(SearchAndReplace, SourceCanBeItsOwnTargetAndFailuresAreReported) {
    TempFolder dir;
    const std::string file = dir.file("same.txt", "old old");
    const std::string link = (dir.path() / "link.txt").string();
    fs::create_hard_link(file, link);
    clsConversionOptions task = Task(file, link, 1);
    task.sFindString = "old";
    task.sReplaceString = "new";
    EXPECT_EQ(SearchAndReplace(task), 0);
    EXPECT_EQ(ReadWholeFile(link), "new new");
    EXPECT_EQ(task.sErr, "Successfully Processed.");
    task.sOriginalFile = task.sTargetFile = file;
    EXPECT_EQ(SearchAndReplace(task), 0);
    EXPECT_EQ(ReadWholeFile(file), "new new");

    clsConversionOptions missing = Task(dir.str() + "missing.txt", dir.str() + "out.txt", 1);
    missing.sFindString = "a";
    EXPECT_EQ(SearchAndReplace(missing), -3);
    EXPECT_EQ(missing.sErr,
              " Unable to open original file. Check file format. Could be a sharing violation: (" +
                  dir.str() + "missing.txt)");
    clsConversionOptions folderSource = Task(dir.folder("sub"), dir.str() + "out.txt", 1);
    folderSource.sFindString = "a";
    EXPECT_EQ(SearchAndReplace(folderSource), -3);

    clsConversionOptions folderTarget = Task(file, dir.folder("sub"), 1);
    folderTarget.sFindString = "new";
    EXPECT_EQ(SearchAndReplace(folderTarget), -2);
    EXPECT_EQ(folderTarget.sErr, "Unable to open or save to target file.  Could be a sharing violation, or "
                                 "invalid file type: (" +
                                     dir.folder("sub") + ")");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3)
        << "no temporary file is left behind";
}

TEST(RemoveEmptyLines, DropsLinesOfBlanksAndKeepsTheRest) {
    TempFolder dir;
    const std::string source = dir.file("in.txt", "a\n\n \t\v\r\n\r\nb \r\n  c\n \t");
    clsConversionOptions task = Task(source, dir.str() + "out.txt", 1);
    EXPECT_EQ(RemoveEmptyLines(task), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "out.txt"), "a\nb \r\n  c\n");

    const auto filtered = [&](const std::string& text) {
        const std::string in = dir.file("x.txt", text);
        EXPECT_EQ(DeleteEmptyLinesFromTextFile(in, dir.str() + "y.txt"), 0);
        return ReadWholeFile(dir.path() / "y.txt");
    };
    EXPECT_EQ(filtered(""), "");
    EXPECT_EQ(filtered("last line\n\nwithout end"), "last line\nwithout end");
    EXPECT_EQ(filtered("cr\ronly\r\r"), "cr\ronly\r\r") << "lines end at line feeds only";
    EXPECT_EQ(filtered(std::string("\0\n\n", 3)), std::string("\0\n", 2));
    EXPECT_EQ(filtered("\xFF\xC3\n  \n"), "\xFF\xC3\n");
}

TEST(RemoveEmptyLines, BlankRunsAcrossBlocksAreDecidedCorrectly) {
    TempFolder dir;
    // A line of blanks longer than a read block, once followed by text and once by a line end,
    // and a 10 MB line of text.
    const std::string blanks((3 << 20) / 2, ' ');
    const std::string text = "start\n" + blanks + "x\n" + blanks + "\t\n" + std::string(10 << 20, 'y') +
                             "\n" + blanks + "\r\nend\n" + blanks;
    const std::string source = dir.file("big.txt", text);
    EXPECT_EQ(DeleteEmptyLinesFromTextFile(source, source), 0);
    EXPECT_EQ(ReadWholeFile(source), "start\n" + blanks + "x\n" + std::string(10 << 20, 'y') + "\nend\n");
}

TEST(RemoveEmptyLines, MatchesGrepByteForByte) {
    TempFolder dir;
    std::mt19937 random(5);
    std::string text;
    for (int line = 0; line < 30000; ++line)
        text += RandomText(random, random() % 6, " \t\r\v\r") +
                (random() % 3 ? RandomText(random, random() % 30, "ab \t\xC3") : "") + "\n";
    const std::string source = dir.file("in.txt", text);
    ASSERT_EQ(Shell("grep -v '^[[:space:]]*$' '" + source + "' > '" + dir.str() + "grep.out'"), 0);
    EXPECT_EQ(DeleteEmptyLinesFromTextFile(source, dir.str() + "ours.out"), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "ours.out"), ReadWholeFile(dir.path() / "grep.out"));
}

TEST(RemoveEmptyLines, UnicodeTextKeepsItsEncoding) {
    TempFolder dir;
    for (const bool bigEndian : {false, true}) {
        const std::string source = dir.file("u.txt", Utf16("one\r\n \t\r\n\r\nt\xC3\xA9o\n  ", bigEndian));
        clsConversionOptions task = Task(source, dir.str() + "u.out", 6);
        EXPECT_EQ(RemoveEmptyLines(task), 0);
        EXPECT_EQ(ReadWholeFile(dir.path() / "u.out"), Utf16("one\r\nt\xC3\xA9o\n", bigEndian));
    }
    // U+0A20 holds a line-feed byte but is no line feed.
    const std::string source = dir.file("v.txt", Utf16("\xE0\xA8\xA0\n\n", false));
    EXPECT_EQ(DeleteEmptyLinesFromTextFile(source, dir.str() + "v.out"), 0);
    clsConversionOptions task = Task(source, dir.str() + "v.out", 6);
    EXPECT_EQ(RemoveEmptyLines(task), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "v.out"), Utf16("\xE0\xA8\xA0\n", false));
}

TEST(AppendFile, AppendsAndCreatesTheTarget) {
    TempFolder dir;
    const std::string a = dir.file("a.txt", "first\n");
    const std::string b = dir.file("b.txt", "second");
    const std::string target = dir.str() + "new/folder/all.txt";
    clsConversionOptions task = Task(a, target, 1);
    EXPECT_EQ(AppendFile(task), 0);
    task.sOriginalFile = b;
    EXPECT_EQ(AppendFile(task), 0);
    EXPECT_EQ(ReadWholeFile(target), "first\nsecond");
    const std::string empty = dir.file("empty.txt", "");
    task.sOriginalFile = empty;
    EXPECT_EQ(AppendFile(task), 0);
    EXPECT_EQ(ReadWholeFile(target), "first\nsecond");
}

TEST(AppendFile, RefusesToAppendAFileOntoItself) {
    TempFolder dir;
    const std::string a = dir.file("a.txt", "text");
    fs::create_hard_link(a, dir.str() + "A.TXT");
    clsConversionOptions task = Task(a, dir.str() + "A.TXT", 1);
    EXPECT_EQ(AppendFile(task), -6);
    EXPECT_EQ(task.sErr, "Source and Target File are the same.");
    EXPECT_EQ(ConcatenateTwoTextFiles(a, a), -6);
    EXPECT_EQ(ReadWholeFile(a), "text");
}

TEST(AppendFile, FailuresLeaveTheTargetAsItWas) {
    TempFolder dir;
    const std::string target = dir.file("t.txt", "kept");
    EXPECT_EQ(ConcatenateTwoTextFiles(dir.str() + "missing", target), -3);
    EXPECT_EQ(ConcatenateTwoTextFiles(dir.folder("sub"), target), -3);
    EXPECT_EQ(ReadWholeFile(target), "kept");
    EXPECT_EQ(ConcatenateTwoTextFiles(target, dir.folder("sub")), -2);
}

TEST(AppendFile, UnicodeTextDropsTheMarkAndFollowsTheTargetByteOrder) {
    TempFolder dir;
    const std::string target = dir.file("t.txt", Utf16("A", false));
    const std::string big = dir.file("b.txt", Utf16("\xC3\xA9", true));
    clsConversionOptions task = Task(big, target, 6);
    EXPECT_EQ(AppendFile(task), 0);
    EXPECT_EQ(ReadWholeFile(target), Utf16("A\xC3\xA9", false));
    // Into a missing target the file is copied as it is, mark included.
    task.sTargetFile = dir.str() + "fresh.txt";
    EXPECT_EQ(AppendFile(task), 0);
    EXPECT_EQ(ReadWholeFile(task.sTargetFile), Utf16("\xC3\xA9", true));
    // UTF-8 onto UTF-16 would mix encodings in one file.
    task.sOriginalFile = dir.file("u8.txt", "\xEF\xBB\xBFx");
    task.sTargetFile = target;
    EXPECT_EQ(AppendFile(task), -3);
    EXPECT_EQ(ReadWholeFile(target), Utf16("A\xC3\xA9", false));
}

namespace {

// A rich-text engine in memory: each character carries a format letter, so tests can see
// whether formatting travels with the text. Files hold "text|formats".
class FakeDocument : public RichTextDocument {
public:
    std::u16string text;
    std::u16string formats;
    bool unreadable = false;
    std::u16string PlainText() override { return unreadable ? std::u16string() : text; }
    bool TextReadFailed() const override { return unreadable; }
    bool ReplaceRange(std::size_t start, std::size_t length, const std::u16string& with) override {
        const char16_t format = start < formats.size() ? formats[start] : u'n';
        text.replace(start, length, with);
        formats.replace(start, length, std::u16string(with.size(), format));
        return true;
    }
    bool AppendRangeTo(std::size_t start, std::size_t length, RichTextDocument& target) override {
        auto& other = static_cast<FakeDocument&>(target);
        other.text += text.substr(start, length);
        other.formats += formats.substr(start, length);
        return true;
    }
    bool AppendAllTo(RichTextDocument& target) override { return AppendRangeTo(0, text.size(), target); }
};

std::u16string Widen(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

std::string Narrow(const std::u16string& s) {
    return std::string(s.begin(), s.end());
}

class FakeEngine : public RichTextEngine {
public:
    std::unique_ptr<RichTextDocument> NewDocument() override { return std::make_unique<FakeDocument>(); }
    int OpenFile(const std::string& path, int32_t&, RichTextDocument& document, std::string& error) override {
        if (!fs::is_regular_file(path)) {
            error = "cannot load " + path;
            return -1234;
        }
        const std::string content = ReadWholeFile(path);
        const std::size_t bar = content.find('|');
        auto& doc = static_cast<FakeDocument&>(document);
        doc.unreadable = unreadable.count(path) != 0;
        doc.text = Widen(content.substr(0, bar));
        doc.formats =
            bar == std::string::npos ? std::u16string(doc.text.size(), u'n') : Widen(content.substr(bar + 1));
        return 0;
    }
    int FileSave(const std::string& path, int32_t, RichTextDocument& document, std::string&) override {
        ++saves;
        const auto& doc = static_cast<FakeDocument&>(document);
        std::ofstream(path) << Narrow(doc.text) << "|" << Narrow(doc.formats);
        return 0;
    }
    int saves = 0;
    std::set<std::string> unreadable; // files whose text the engine fails to read
};

} // namespace

TEST(RichTextProcesses, FormattingTravelsWithTheText) {
    TempFolder dir;
    FakeEngine engine;
    const std::string rtf = dir.file("a.rtf", "one\n \t\nTWO\n|bbbbsssiiii");
    clsConversionOptions lines = Task(rtf, dir.str() + "lines.rtf", 5);
    EXPECT_EQ(RemoveEmptyLines(lines, &engine), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "lines.rtf"), "one\nTWO\n|bbbbiiii");

    clsConversionOptions replace = Task(rtf, dir.str() + "replaced.rtf", 5);
    replace.sFindString = "two";
    replace.sReplaceString = "2";
    replace.bCaseSensitive = false;
    EXPECT_EQ(SearchAndReplace(replace, &engine), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "replaced.rtf"), "one\n \t\n2\n|bbbbsssii");

    const std::string doc = dir.file("b.doc", "aaa|xyz");
    clsConversionOptions overlap = Task(doc, dir.str() + "b2.doc", 9);
    overlap.sFindString = "aa";
    overlap.sReplaceString = "Q";
    EXPECT_EQ(SearchAndReplace(overlap, &engine), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "b2.doc"), "aQ|xy");

    clsConversionOptions append = Task(doc, dir.str() + "sub/all.doc", 9);
    EXPECT_EQ(AppendFile(append, &engine), 0);
    EXPECT_EQ(AppendFile(append, &engine), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "sub/all.doc"), "aaaaaa|xyzxyz");
}

TEST(RichTextProcesses, FailWithAClearMessageWithoutAnEngineOrSource) {
    TempFolder dir;
    const std::string html = dir.file("a.htm", "<p>x</p>");
    clsConversionOptions task = Task(html, dir.str() + "b.htm", 4);
    task.sFindString = "x";
    EXPECT_EQ(SearchAndReplace(task), -3);
    EXPECT_NE(task.sErr.find("No rich-text engine"), std::string::npos) << task.sErr;
    EXPECT_FALSE(fs::exists(dir.path() / "b.htm"));

    FakeEngine engine;
    clsConversionOptions missing = Task(dir.str() + "none.rtf", dir.str() + "b.rtf", 5);
    EXPECT_EQ(RemoveEmptyLines(missing, &engine), -3);
    EXPECT_NE(missing.sErr.find("cannot load"), std::string::npos);
    EXPECT_EQ(engine.saves, 0);

    clsConversionOptions unknown = Task(html, dir.str() + "b.xyz", 7);
    EXPECT_EQ(AppendFile(unknown, &engine), -3);

    // A text the engine could not read is not an empty document: both processes fail.
    const std::string rtf = dir.file("lost.rtf", "text|nnnn");
    engine.unreadable.insert(rtf);
    clsConversionOptions replace = Task(rtf, dir.str() + "lost-replaced.rtf", 5);
    replace.sFindString = "text";
    replace.sReplaceString = "word";
    EXPECT_EQ(SearchAndReplace(replace, &engine), -3);
    EXPECT_NE(replace.sErr.find("could not be read"), std::string::npos) << replace.sErr;
    clsConversionOptions lines = Task(rtf, dir.str() + "lost-lines.rtf", 5);
    EXPECT_EQ(RemoveEmptyLines(lines, &engine), -3);
    EXPECT_NE(lines.sErr.find("could not be read"), std::string::npos) << lines.sErr;
    EXPECT_EQ(engine.saves, 0);
}
