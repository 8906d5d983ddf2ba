#include "run/TargetClaims.h"

#include "core/FileTypes.h"
#include "run/ListTargetNamer.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace slidemill {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using ::testing::HasSubstr;

std::vector<int32_t> Refusals(const TargetClaims& claims, std::size_t count) {
    std::vector<int32_t> codes;
    for (std::size_t i = 1; i <= count; ++i)
        codes.push_back(claims.Refusal(static_cast<int32_t>(i)));
    return codes;
}

TEST(TargetClaims, FirstFileInListOrderGetsATargetAndLaterOnesAreRefused) {
    TempFolder t;
    const std::string a = t.file("in/deck.ppt"), b = t.file("in/deck.pptx"), c = t.file("in/other.ppt");
    const std::string d = t.file("in/deck.odp");
    const std::string target = t.str() + "out/deck.pdf";
    // The same target spelled another way is still the same target.
    const TargetClaims claims({a, b, c, d},
                              {target, target, t.str() + "out/other.pdf", t.str() + "out/../out/./deck.pdf"});
    EXPECT_EQ(Refusals(claims, 4), (std::vector<int32_t>{0, kErrTargetClaimed, 0, kErrTargetClaimed}));
    EXPECT_EQ(claims.Holder(2), a);
    EXPECT_EQ(claims.Holder(4), a);
    EXPECT_EQ(claims.Holder(1), "");

    // An output of an earlier run is no source of the list: it is claimed like a new one.
    t.file("out/deck.pdf", "earlier run");
    const TargetClaims again({b, a}, {target, target});
    EXPECT_EQ(Refusals(again, 2), (std::vector<int32_t>{0, kErrTargetClaimed}));
    EXPECT_EQ(again.Holder(2), b);
    // Indexes outside the list refuse nothing.
    EXPECT_EQ(again.Refusal(0), 0);
    EXPECT_EQ(again.Refusal(3), 0);
}

TEST(TargetClaims, ATargetThatIsAnotherListedFileIsRefusedButItsOwnSourceIsLeftToTheCaller) {
    TempFolder t;
    const std::string ppt = t.file("in/deck.ppt"), pptx = t.file("in/deck.pptx");
    // deck.pptx comes later in the list: it must not be replaced before it is read.
    const TargetClaims claims({ppt, pptx}, {pptx, pptx});
    EXPECT_EQ(Refusals(claims, 2), (std::vector<int32_t>{kErrTargetIsOtherSource, 0}));
    EXPECT_EQ(claims.Holder(1), pptx);

    // Nor after it was read: the order of the list does not matter for a source.
    const TargetClaims reversed({pptx, ppt}, {pptx, pptx});
    EXPECT_EQ(Refusals(reversed, 2), (std::vector<int32_t>{0, kErrTargetIsOtherSource}));
}

TEST(TargetClaims, FilesAreComparedByIdentityNotByName) {
    TempFolder t;
    const std::string lower = t.file("in/a.txt"), upper = t.file("in/a.TXT");
    // Two names that differ in case are two files here.
    const TargetClaims cases({lower, upper}, {upper, upper});
    EXPECT_EQ(Refusals(cases, 2), (std::vector<int32_t>{kErrTargetIsOtherSource, 0}));
    EXPECT_EQ(cases.Holder(1), upper);

    // A link to a listed file is that file.
    const std::string notes = t.file("in/notes.txt");
    const std::string other = t.file("in/notes.md");
    fs::create_symlink(notes, t.path() / "link.txt");
    const TargetClaims linked({notes, other}, {t.str() + "out/notes.TXT", t.str() + "link.txt"});
    EXPECT_EQ(Refusals(linked, 2), (std::vector<int32_t>{0, kErrTargetIsOtherSource}));

    // Two targets not yet written, reached through a linked folder, are one target.
    t.folder("out");
    fs::create_directory_symlink(t.path() / "out", t.path() / "alias");
    const TargetClaims folders({notes, other}, {t.str() + "out/n.TXT", t.str() + "alias/n.TXT"});
    EXPECT_EQ(Refusals(folders, 2), (std::vector<int32_t>{0, kErrTargetClaimed}));
}

TEST(TargetClaims, RefusingFailsTheRecordWithAMessageNamingBothFiles) {
    TempFolder t;
    const std::string a = t.file("in/deck.ppt"), b = t.file("in/deck.pptx");
    const std::string target = t.str() + "out/deck.pdf";
    const TargetClaims claims({a, b}, {target, target});

    clsConversionOptions first;
    first.sOriginalFile = a;
    first.sTargetFile = target;
    EXPECT_EQ(claims.Refuse(1, first), 0);
    EXPECT_EQ(first.lErr, 0);
    EXPECT_EQ(first.sErr, "");

    clsConversionOptions second;
    second.sOriginalFile = b;
    second.sTargetFile = target;
    EXPECT_EQ(claims.Refuse(2, second), kErrTargetClaimed);
    EXPECT_EQ(second.lErr, kErrTargetClaimed);
    EXPECT_THAT(second.sErr, HasSubstr("Error 23"));
    EXPECT_THAT(second.sErr, HasSubstr(b + " -> " + target));
    EXPECT_THAT(second.sErr, HasSubstr("It is written from: " + a));

    const TargetClaims onto({a, b}, {b, ""});
    clsConversionOptions over;
    over.sOriginalFile = a;
    over.sTargetFile = b;
    EXPECT_EQ(onto.Refuse(1, over), kErrTargetIsOtherSource);
    EXPECT_THAT(over.sErr, HasSubstr("Error 24"));
    EXPECT_THAT(over.sErr, HasSubstr(a + " -> " + b));
    // A file without a target claims nothing.
    EXPECT_EQ(onto.Refusal(2), 0);
}

TEST(TargetClaims, TargetsGivenOutBeforeAPauseStayWithTheirFiles) {
    TempFolder t;
    const std::string a = t.file("in/a.ppt"), b = t.file("in/b.ppt"), c = t.file("in/c.ppt");
    const std::string ta = t.str() + "out/a.pdf", tb = t.str() + "out/b.pdf";
    const TargetClaims before({a, b, c}, {ta, tb, ta});
    // Paused at the third file: the first two had their targets, the third was refused.
    const TargetClaims::Claims kept = before.ClaimedBefore(4);
    EXPECT_EQ(kept, (TargetClaims::Claims{{ta, a}, {tb, b}}));
    EXPECT_EQ(before.ClaimedBefore(2), (TargetClaims::Claims{{ta, a}}));

    // a.ppt is gone (deleted after converting); b.ppt runs again and keeps its target; a new
    // file naming a's target is refused in favour of a.ppt.
    t.file("out/a.pdf", "a converted");
    fs::remove(a);
    const std::string d = t.file("in/a.pptx");
    const TargetClaims resumed({b, d, c}, {tb, ta, t.str() + "out/c.pdf"}, kept);
    EXPECT_EQ(Refusals(resumed, 3), (std::vector<int32_t>{0, kErrTargetClaimed, 0}));
    EXPECT_EQ(resumed.Holder(2), a);
    EXPECT_EQ(resumed.ClaimedBefore(4).size(), 4u) << "the earlier claims are carried on";
}

TEST(ListTargetNamer, SpecialProcessTargetsTakeTheirOwnExtensionWhateverMethodTheRecordCarries) {
    // As read from a job file: the record still holds the conversion method it had before.
    clsConversionOptions task;
    task.sActionToDo = "S55";
    task.lSpecialProcess = kSpecialRemoveEmptyLines;
    task.lConversionMethod = kMethodComponent;
    task.sOriginalFile = "/in/*.*";
    task.sTargetFile = "/out/*.txt";
    task.lOriginalFileType = 1;
    task.lTargetFileType = 1;
    const ListTargetNamer namer(task, nullptr);
    EXPECT_EQ(namer.TargetOf("/in/a.md"), "/out/a.TXT");
    task.lTargetFileType = 5;
    EXPECT_EQ(ListTargetNamer(task, nullptr).TargetOf("/in/sub/b.rtf"), "/out/sub/b.RTF");
}

} // namespace
} // namespace slidemill
