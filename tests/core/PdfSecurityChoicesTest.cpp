#include "core/PdfSecurityChoices.h"

#include <gtest/gtest.h>

using namespace slidemill;

TEST(PermissionBits, PrintingPrefersHighResolution) {
    EXPECT_EQ(ChoicesFromBits(0x40).printing, PrintingChoice::HighResolution);
    EXPECT_EQ(ChoicesFromBits(0xC0).printing, PrintingChoice::HighResolution);
    EXPECT_EQ(ChoicesFromBits(0x80).printing, PrintingChoice::LowResolution);
    EXPECT_EQ(ChoicesFromBits(0x3F).printing, PrintingChoice::None);
}

TEST(PermissionBits, ChangesReadInTheListsPriority) {
    EXPECT_EQ(ChoicesFromBits(0x29).changes, ChangesChoice::AnyExceptExtracting);
    EXPECT_EQ(ChoicesFromBits(0x2F).changes, ChangesChoice::AnyExceptExtracting);
    EXPECT_EQ(ChoicesFromBits(0x09).changes, ChangesChoice::CommentingFillingForms);
    EXPECT_EQ(ChoicesFromBits(0x0A).changes, ChangesChoice::FillingForms);
    EXPECT_EQ(ChoicesFromBits(0x08).changes, ChangesChoice::InsertingDeletingRotating);
    EXPECT_EQ(ChoicesFromBits(0x20).changes, ChangesChoice::None);
    EXPECT_EQ(ChoicesFromBits(0xD4).changes, ChangesChoice::None);
}

TEST(PermissionBits, CheckBoxesFollowTheirOwnBits) {
    EXPECT_TRUE(ChoicesFromBits(0x04).screenReaders);
    EXPECT_FALSE(ChoicesFromBits(0x04).copying);
    EXPECT_TRUE(ChoicesFromBits(0x10).copying);
    EXPECT_FALSE(ChoicesFromBits(0x10).screenReaders);
}

TEST(PermissionBits, StoredAsTheSumOfTheChoices) {
    PermissionChoices c;
    EXPECT_EQ(BitsFromChoices(c), 0);
    c.printing = PrintingChoice::LowResolution;
    c.changes = ChangesChoice::AnyExceptExtracting;
    c.screenReaders = true;
    c.copying = true;
    EXPECT_EQ(BitsFromChoices(c), 0x80 + 0x29 + 0x04 + 0x10);
    c.printing = PrintingChoice::HighResolution;
    c.changes = ChangesChoice::FillingForms;
    c.copying = false;
    EXPECT_EQ(BitsFromChoices(c), 0x40 + 0x02 + 0x04);
}

TEST(PermissionBits, EveryCombinationOfChoicesRoundTrips) {
    for (int printing = 0; printing < 3; ++printing) {
        for (int changes = 0; changes < 5; ++changes) {
            for (int boxes = 0; boxes < 4; ++boxes) {
                PermissionChoices c;
                c.printing = static_cast<PrintingChoice>(printing);
                c.changes = static_cast<ChangesChoice>(changes);
                c.screenReaders = (boxes & 1) != 0;
                c.copying = (boxes & 2) != 0;
                EXPECT_EQ(ChoicesFromBits(BitsFromChoices(c)), c)
                    << "printing " << printing << " changes " << changes << " boxes " << boxes;
            }
        }
    }
}

TEST(PermissionBits, ListTextsInIndexOrder) {
    ASSERT_EQ(PrintingChoiceTexts().size(), 3u);
    EXPECT_EQ(PrintingChoiceTexts()[2], "High Resolution");
    ASSERT_EQ(ChangesChoiceTexts().size(), 5u);
    EXPECT_EQ(ChangesChoiceTexts()[1], "Inserting, deleting and rotating pages");
    EXPECT_EQ(ChangesChoiceTexts()[4], "Any except extracting pages");
}

TEST(PasswordChecks, FirstFailureWinsInOrder) {
    const std::string permissionsEmpty = PasswordProblem(true, "", true, "");
    EXPECT_EQ(permissionsEmpty.rfind("The 'Use a password to restrict printing", 0), 0u) << permissionsEmpty;
    EXPECT_NE(permissionsEmpty.find("the Permissions Password field is empty"), std::string::npos);

    const std::string openEmpty = PasswordProblem(true, "", true, "owner");
    EXPECT_EQ(openEmpty,
              "The 'Require a password to open the document' option is selected, but the Document Open "
              "Password field is empty. Please enter a password or deselect the security option.");

    EXPECT_EQ(PasswordProblem(true, "same", true, "same"),
              "The Document Open and Permissions passwords cannot be the same. Please enter a different "
              "password in either the Document Open Password field or the Permission Password field.");
}

TEST(PasswordChecks, UncheckedOptionsAndDifferentPasswordsPass) {
    EXPECT_EQ(PasswordProblem(false, "", false, ""), "");
    EXPECT_EQ(PasswordProblem(true, "open", true, "owner"), "");
    EXPECT_EQ(PasswordProblem(true, "same", false, "same"), "");
    EXPECT_EQ(PasswordProblem(false, "", true, "owner"), "");
}
