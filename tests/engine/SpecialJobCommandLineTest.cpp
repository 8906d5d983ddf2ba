// A job mixing every special process on plain, Unicode, RTF, HTML and Word files, plus a launch,
// saved as a job file and run by the built program from the command line with the real office.
#include "EngineTestSupport.h"

#include "core/FileTypes.h"
#include "core/JobFile.h"
#include "core/TaskGrid.h"
#include "engine/WriterRichText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

clsConversionOptions Special(int32_t process, int32_t type, const std::string& source,
                             const std::string& target) {
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

clsConversionOptions Replace(int32_t type, const std::string& source, const std::string& target) {
    clsConversionOptions task = Special(kSpecialSearchReplace, type, source, target);
    task.sFindString = "cat";
    task.sReplaceString = "dog";
    return task;
}

std::string Utf16WithMark(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

TEST(SpecialJobCommandLine, EveryProcessOnEveryTextTypeRunsFromAJobFile) {
    TempFolder t("special-cli");
    t.file("in/parts/part1.txt", "one\n");
    t.file("in/parts/part2.txt", "two\n");
    t.file("in/gaps.txt", "a\n\n \t\nb\n");
    t.file("in/wide.txt", Utf16WithMark(u"the cat sat\r\n"));
    const std::string rtf = t.file("in/story.rtf", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 The "
                                                   "{\\b cat} sat on the mat.\\par}");
    t.file("in/page.htm", "<html><body><p>The <b>cat</b> sat.</p></body></html>\n");

    // A Word file made from the RTF by the same engine the program uses.
    WriterRichTextEngine writer(SharedEngine());
    {
        auto document = writer.NewDocument();
        int32_t code = 5;
        std::string error;
        ASSERT_EQ(writer.OpenFile(rtf, code, *document, error), 0) << error;
        ASSERT_EQ(writer.FileSave(t.str() + "in/letter.doc", 9, *document, error), 0) << error;
    }

    Grid tasks{kTaskGridCols};
    InitTaskGrid(tasks);
    const std::string out = t.str() + "out/";
    AppendTaskRow(Special(kSpecialAppend, 1, t.str() + "in/parts/*.txt", out + "joined.txt"), tasks, nullptr);
    AppendTaskRow(Special(kSpecialRemoveEmptyLines, 1, t.str() + "in/gaps.txt", out + "gaps.txt"), tasks,
                  nullptr);
    AppendTaskRow(Replace(6, t.str() + "in/wide.txt", out + "wide.txt"), tasks, nullptr);
    AppendTaskRow(Replace(5, rtf, out + "story.rtf"), tasks, nullptr);
    AppendTaskRow(Replace(4, t.str() + "in/page.htm", out + "page.htm"), tasks, nullptr);
    AppendTaskRow(Replace(9, t.str() + "in/letter.doc", out + "letter.doc"), tasks, nullptr);
    AppendTaskRow(Special(kSpecialLaunch, 1, "/bin/sh", "-c 'exit 3'"), tasks, nullptr);
    const std::string job = t.str() + "mixed.MJB";
    ASSERT_TRUE(WriteJobFile(job, tasks));
    fs::create_directories(out);

    const std::string log = t.str() + "run.log";
    const std::string command = Quoted(SLIDEMILL_PROGRAM) + " /J " + Quoted(job) + " /L " + Quoted(log) +
                                " >" + Quoted(t.str() + "stdout") + " 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << command;
    const std::string logText = ReadWholeFile(log);
    // A launched program's exit code is logged, but is no failure of the run.
    EXPECT_EQ(WEXITSTATUS(status), 0) << logText << ReadWholeFile(t.path() / "stdout");
    EXPECT_NE(logText.find("Job # 7  Exit Code: 3"), std::string::npos) << logText;
    EXPECT_EQ(logText.find("Job # 1 "), std::string::npos) << logText;

    EXPECT_EQ(ReadWholeFile(out + "joined.txt"), "one\ntwo\n");
    EXPECT_EQ(ReadWholeFile(out + "gaps.txt"), "a\nb\n");
    EXPECT_EQ(ReadWholeFile(out + "wide.txt"), Utf16WithMark(u"the dog sat\r\n"));

    const std::string story = ReadWholeFile(out + "story.rtf");
    EXPECT_NE(story.find("dog"), std::string::npos);
    EXPECT_EQ(story.find("cat"), std::string::npos);
    EXPECT_NE(story.find("\\b"), std::string::npos) << "the bold word lost its formatting";
    const std::string page = ReadWholeFile(out + "page.htm");
    EXPECT_NE(page.find("dog"), std::string::npos) << page;
    EXPECT_TRUE(page.find("<b>") != std::string::npos || page.find("<B>") != std::string::npos) << page;

    auto letter = writer.NewDocument();
    int32_t code = 9;
    std::string error;
    ASSERT_EQ(writer.OpenFile(out + "letter.doc", code, *letter, error), 0) << error;
    const std::u16string text = letter->PlainText();
    EXPECT_NE(text.find(u"The dog sat on the mat."), std::u16string::npos);
}

} // namespace
} // namespace slidemill::test
