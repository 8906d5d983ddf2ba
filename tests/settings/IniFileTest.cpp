#include "settings/IniFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <thread>

using namespace slidemill;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;

namespace {

struct IniFileTest : ::testing::Test {
    TempFolder folder{"ini"};
    std::string path = folder.str() + "settings.ini";
};

} // namespace

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheFallback) {
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("frmMain", "txtSource", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInt("frmMain", "Count", 7), 7);
    folder.file("settings.ini", "[frmMain]\nother=1\n");
    EXPECT_EQ(ini.ReadString("frmMain", "txtSource", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("nosuch", "other", "dflt"), "dflt");
    EXPECT_FALSE(IniFile().Find("a", "b").has_value());
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndValuesAreRaw) {
    folder.file("settings.ini",
                "[FrmMain]\r\n  txtSource = C:\\a \"quoted\" %APPDATA%=x  \r\n;comment=1\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("frmmain", "TXTSOURCE", ""), "C:\\a \"quoted\" %APPDATA%=x");
    EXPECT_EQ(ini.ReadString("frmMain", ";comment", "none"), "none");
}

TEST_F(IniFileTest, ReadsAreCutAt499CharactersNeverInsideACharacter) {
    std::string longValue(498, 'a');
    longValue += "\xC3\xA9\xC3\xA9"; // 500 characters, the last two two bytes each
    folder.file("settings.ini", "[s]\nk=" + longValue + "\n");
    const std::string value = IniFile(path).ReadString("s", "k", "");
    EXPECT_EQ(value, std::string(498, 'a') + "\xC3\xA9");
}

TEST_F(IniFileTest, FirstOfDuplicateSectionsAndKeysWins) {
    folder.file("settings.ini", "[s]\nk=first\nk=second\nno equals sign here\n[S]\nk=third\nj=only\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("s", "k", ""), "first");
    EXPECT_EQ(ini.ReadString("s", "j", "missing"), "missing");
    EXPECT_EQ(ini.ReadString("s", "no equals sign here", "missing"), "missing");
}

TEST_F(IniFileTest, ReadIntTakesTheLeadingNumber) {
    folder.file("settings.ini", "[s]\na=42\nb=-7\nc=12abc\nd=text\ne=\nf=99999999999\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInt("s", "a", 0), 42);
    EXPECT_EQ(ini.ReadInt("s", "b", 0), -7);
    EXPECT_EQ(ini.ReadInt("s", "c", 0), 12);
    EXPECT_EQ(ini.ReadInt("s", "d", 5), 0);
    EXPECT_EQ(ini.ReadInt("s", "e", 5), 0);
    EXPECT_EQ(ini.ReadInt("s", "f", 0), INT32_MAX);
}

TEST_F(IniFileTest, WriteChangesOneLineAndKeepsEverythingElse) {
    const std::string original = "; my notes\r\n[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n";
    folder.file("settings.ini", original);
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("A", "X", "10"));
    EXPECT_EQ(ReadWholeFile(path), "; my notes\r\n[a]\r\nX=10\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
    ASSERT_TRUE(ini.WriteString("a", "new", "v"));
    EXPECT_EQ(ReadWholeFile(path), "; my notes\r\n[a]\r\nX=10\r\ny=2\r\nnew=v\r\n\r\n[b]\r\nz=3\r\n");
    ASSERT_TRUE(ini.WriteString("c", "k", "w"));
    EXPECT_EQ(ReadWholeFile(path),
              "; my notes\r\n[a]\r\nX=10\r\ny=2\r\nnew=v\r\n\r\n[b]\r\nz=3\r\n\r\n[c]\r\nk=w\r\n");
    EXPECT_EQ(ini.ReadString("b", "z", ""), "3");
}

TEST_F(IniFileTest, WriteToFileWithoutFinalNewlineAndDeletes) {
    folder.file("settings.ini", "[a]\nx=1");
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("a", "y", "2"));
    EXPECT_EQ(ReadWholeFile(path), "[a]\nx=1\ny=2\n");
    ASSERT_TRUE(ini.DeleteKey("a", "x"));
    EXPECT_EQ(ReadWholeFile(path), "[a]\ny=2\n");
    ASSERT_TRUE(ini.DeleteSection("A"));
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST_F(IniFileTest, ValueWithLineBreakCannotInjectKeys) {
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("s", "k", "safe\n[evil]\nk=1"));
    EXPECT_EQ(ini.ReadString("s", "k", ""), "safe");
    EXPECT_EQ(ini.ReadString("evil", "k", "none"), "none");
}

// The file can hold PDF passwords: it is made private, and a copy others could read (restored
// from a backup, made by hand) is closed to them the next time it is written. Bits that only
// take rights away are kept.
TEST_F(IniFileTest, NewFileIsPrivateAndAnOpenFileIsClosedWhenRewritten) {
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("s", "k", "v"));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    for (const mode_t open : {0644, 0666, 0640}) {
        ASSERT_EQ(chmod(path.c_str(), open), 0);
        ASSERT_TRUE(ini.WriteString("s", "k", "w" + std::to_string(open)));
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << std::oct << open;
    }
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_TRUE(ini.Apply({{"s", "a", "1"}, {"t", "b", std::nullopt}}));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(chmod(path.c_str(), 0400), 0);
    ASSERT_TRUE(ini.WriteString("s", "k", "read only"));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0400u);
}

TEST_F(IniFileTest, FailedWriteLeavesNoTraceAndReportsFalse) {
    IniFile ini(folder.str() + "missing-folder/settings.ini");
    EXPECT_FALSE(ini.WriteString("s", "k", "v"));
    EXPECT_FALSE(IniFile().WriteString("s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(IniFileTest, ConcurrentWritersAlwaysLeaveOneWholeFile) {
    // Two writers race on different keys; every intermediate file a reader sees must parse,
    // and nothing but the written keys may appear.
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("s", "base", "1"));
    std::atomic<bool> done{false};
    std::atomic<int> broken{0};
    std::thread reader([&] {
        while (!done) {
            const std::string text = ReadWholeFile(path);
            if (text.rfind("[s]\n", 0) != 0)
                ++broken;
        }
    });
    std::thread a([&] {
        for (int i = 0; i < 200; ++i)
            ini.WriteString("s", "a", std::to_string(i));
    });
    std::thread b([&] {
        for (int i = 0; i < 200; ++i)
            IniFile(path).WriteString("s", "b", std::to_string(i));
    });
    a.join();
    b.join();
    done = true;
    reader.join();
    EXPECT_EQ(broken.load(), 0);
    EXPECT_EQ(ini.ReadString("s", "base", ""), "1");
    // No temporary file is left beside the settings file.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 1);
}
