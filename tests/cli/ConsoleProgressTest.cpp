#include "cli/ConsoleProgress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace slidemill {
namespace {

TEST(ConsoleProgress, OneLineWithTaskStateAndFileRewrittenInPlace) {
    std::ostringstream out;
    ConsoleProgress progress(out, true, 60);
    progress.SetStatusText(StatusPanel::TaskNumber, "2");
    progress.SetStatusText(StatusPanel::CurrentFile, "/data/in/a.pptx");
    progress.SetStatusText(StatusPanel::State, " 50.0 Percent Complete ");
    progress.SetStatusText(StatusPanel::Elapsed, "3.2");
    EXPECT_EQ(progress.Line(), "task 2: 50.0 Percent Complete  /data/in/a.pptx");
    progress.Finish();
    const std::string written = out.str();
    // Three redraws (the elapsed time draws nothing), each starting at the line's beginning,
    // and a final clear.
    EXPECT_EQ(written.rfind("\r\033[Ktask 2: 50.0 Percent Complete  /data/in/a.pptx\r\033[K"),
              written.size() -
                  std::string("\r\033[Ktask 2: 50.0 Percent Complete  /data/in/a.pptx\r\033[K").size());
    std::size_t redraws = 0;
    for (std::size_t at = written.find('\r'); at != std::string::npos; at = written.find('\r', at + 1))
        ++redraws;
    EXPECT_EQ(redraws, 4u);
}

TEST(ConsoleProgress, LongPathKeepsItsEndAndWholeCharacters) {
    std::ostringstream out;
    ConsoleProgress progress(out, true, 30);
    progress.SetStatusText(StatusPanel::CurrentFile,
                           "/very/long/folder/name/that/goes/on/\xC3\xA9t\xC3\xA9.pptx");
    const std::string line = progress.Line();
    EXPECT_LE(line.size(), 30u);
    EXPECT_EQ(line.rfind("...", 0), 0u);
    EXPECT_EQ(line.substr(line.size() - 10), "\xC3\xA9t\xC3\xA9.pptx");
}

TEST(ConsoleProgress, DisabledWritesNothing) {
    std::ostringstream out;
    ConsoleProgress progress(out, false);
    progress.SetStatusText(StatusPanel::CurrentFile, "/a.pptx");
    progress.Finish();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(progress.Line(), "/a.pptx");
}

} // namespace
} // namespace slidemill
