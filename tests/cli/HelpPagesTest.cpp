// The command-line help page is written by hand: it must keep up with the switches the program
// lists for /?.
#include "cli/CommandLine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

namespace slidemill {
namespace {

TEST(HelpPages, TheCommandLinePageExplainsAndShowsEverySwitch) {
    const std::string page = test::ReadWholeFile(std::string(SLIDEMILL_HELP_PAGES) + "/command-line.html");
    ASSERT_FALSE(page.empty());
    std::set<std::string> switches;
    std::istringstream table(CommandLineSwitchTable());
    const std::regex entry(R"(^  (/\S))");
    for (std::string line; std::getline(table, line);) {
        std::smatch found;
        if (std::regex_search(line, found, entry))
            switches.insert(found[1]);
    }
    ASSERT_GE(switches.size(), 15u) << "the switch table changed its layout";
    for (const std::string& name : switches) {
        // Its own row (the switch in the first column) and at least one example that uses it.
        const std::string row = "<tr><td><code>" + name;
        EXPECT_NE(page.find(row), std::string::npos) << name << " has no row";
        // As a word of its own: after a space or a tag, before a space, a line end or a tag.
        std::size_t uses = 0;
        for (std::size_t at = page.find(name); at != std::string::npos; at = page.find(name, at + 1)) {
            const char before = at > 0 ? page[at - 1] : ' ';
            const char after = at + name.size() < page.size() ? page[at + name.size()] : '\n';
            if ((before == ' ' || before == '>') && (after == ' ' || after == '\n' || after == '<'))
                ++uses;
        }
        EXPECT_GE(uses, 2u) << name << " has no example";
    }
    for (const char* code :
         {"<td class=\"code\">0</td>", "<td class=\"code\">1</td>", "<td class=\"code\">2</td>"})
        EXPECT_NE(page.find(code), std::string::npos) << "exit code " << code;
}

} // namespace
} // namespace slidemill
