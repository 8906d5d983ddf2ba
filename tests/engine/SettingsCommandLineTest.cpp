// The built program, run from the command line with the real office, when the settings file
// cannot be read.
#include "EngineTestSupport.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// "PDF - with options" takes its passwords and permissions from the settings file. A run that
// cannot read that file must not write an unprotected PDF and call it a success: it says why on
// standard error and in the log, and the file fails. A plain PDF does not depend on those
// settings and still converts.
TEST(SettingsCommandLine, AnUnreadableSettingsFileFailsPdfWithOptionsAndSaysWhy) {
    SLIDEMILL_REQUIRE_CORPUS();
    TempFolder t("unreadable-settings");
    const std::string settings = t.str() + "config/Lumenware, Inc/Slidemill/SLML_SearchHistory.INI";
    // A folder in its place: unreadable for every user, root included.
    fs::create_directories(settings);
    const std::string source = t.str() + "in/deck.pptx";
    fs::create_directories(t.path() / "in");
    fs::copy_file(GoodFile("pptx_tbl-cell.pptx"), source);
    const std::string log = t.str() + "run.log";
    const auto run = [&](int32_t format, const std::string& target, const std::string& output) {
        const std::string command = "XDG_CONFIG_HOME=" + Quoted(t.str() + "config") + " " +
                                    Quoted(SLIDEMILL_PROGRAM) + " /S " + Quoted(source) + " /T " +
                                    Quoted(target) + " /C " + std::to_string(format) + " /L " + Quoted(log) +
                                    " >" + Quoted(output) + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    const int protectedStatus = run(300, t.str() + "out/protected.pdf", t.str() + "protected.txt");
    const std::string said = ReadWholeFile(t.path() / "protected.txt");
    const std::string logText = ReadWholeFile(log);
    EXPECT_EQ(protectedStatus, 1) << said << logText;
    EXPECT_FALSE(fs::exists(t.str() + "out/protected.pdf"));
    for (const std::string& text : {said, logText}) {
        EXPECT_NE(text.find("the settings file " + settings + " cannot be read (it is a folder)"),
                  std::string::npos)
            << text;
    }
    EXPECT_NE(logText.find("security settings are unknown"), std::string::npos) << logText;

    const int plainStatus = run(32, t.str() + "out/plain.pdf", t.str() + "plain.txt");
    EXPECT_EQ(plainStatus, 0) << ReadWholeFile(t.path() / "plain.txt") << ReadWholeFile(log);
    EXPECT_EQ(PdfPageCount(t.str() + "out/plain.pdf"), 3);
}

} // namespace
} // namespace slidemill::test
