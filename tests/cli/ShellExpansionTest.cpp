#include "cli/ShellExpansion.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace slidemill {
namespace {

using test::TempFolder;

TEST(ShellExpansion, SeveralExistingPathsAfterAValueSwitchAreAnExpandedPattern) {
    TempFolder t;
    const std::string a = t.file("in/a.pptx"), b = t.file("in/b.pptx"), c = t.file("in/c.pptx");
    const std::string problem =
        ShellExpandedWildcardProblem({"/S", a, b, c, "/T", t.str() + "out/*.pdf", "/C", "32"});
    EXPECT_NE(problem.find("/S was followed by 3 paths (" + a + ", " + b + ", " + c + ")"), std::string::npos)
        << problem;
    EXPECT_NE(problem.find("/S \"" + t.str() + "in/*.pptx\""), std::string::npos) << problem;

    // The same for the target, lower-case switch, and mixed extensions.
    const std::string x = t.file("out/x.pdf"), y = t.file("out/y.PDF");
    const std::string target =
        ShellExpandedWildcardProblem({"/S", t.str() + "in/*.pptx", "/t", x, y, "/C", "32"});
    EXPECT_NE(target.find("/t was followed by 2 paths"), std::string::npos) << target;
    EXPECT_NE(target.find("/t \"" + t.str() + "out/*.*\""), std::string::npos) << target;
}

TEST(ShellExpansion, OrdinaryLinesAreLeftAlone) {
    TempFolder t;
    const std::string a = t.file("in/a.pptx");
    t.file("in/b.pptx");
    // A quoted pattern arrives whole.
    EXPECT_EQ(
        ShellExpandedWildcardProblem({"/S", t.str() + "in/*.pptx", "/T", t.str() + "out/*.pdf", "/C", "32"}),
        "");
    // One path followed by switches.
    EXPECT_EQ(ShellExpandedWildcardProblem({"/S", a, "/R", "/T", t.str() + "out/a.pdf", "/C", "32"}), "");
    // An unquoted name with spaces arrives as words that are not paths.
    EXPECT_EQ(ShellExpandedWildcardProblem({"/S", t.str() + "My", "Deck.pptx", "/C", "32"}), "");
    // A switch that takes no value, followed by existing files, is not a value.
    EXPECT_EQ(ShellExpandedWildcardProblem({"/R", a, t.str() + "in/b.pptx"}), "");
    EXPECT_EQ(ShellExpandedWildcardProblem({}), "");
}

} // namespace
} // namespace slidemill
