#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidemill {

// The permissions of a secured PDF as the security dialog shows them, and the permission bits
// they are stored as (lDocAccessPermissions).

// Indexes of the printing list: "None", "Low Resolution", "High Resolution".
enum class PrintingChoice { None = 0, LowResolution = 1, HighResolution = 2 };
// Indexes of the changes list, in its order.
enum class ChangesChoice {
    None = 0,
    InsertingDeletingRotating = 1,
    FillingForms = 2,
    CommentingFillingForms = 3,
    AnyExceptExtracting = 4,
};

struct PermissionChoices {
    PrintingChoice printing = PrintingChoice::None;
    ChangesChoice changes = ChangesChoice::None;
    bool screenReaders = false; // 0x04
    bool copying = false;       // 0x10
    bool operator==(const PermissionChoices&) const = default;
};

// The list texts, untranslated, in index order.
const std::vector<std::string>& PrintingChoiceTexts();
const std::vector<std::string>& ChangesChoiceTexts();

// Printing: 0x40 high before 0x80 low. Changes: all of 0x29 before 0x01, 0x02 and 0x08.
PermissionChoices ChoicesFromBits(int32_t bits);
// The sum of the printing bit, the changes bits and the two check-box bits.
int16_t BitsFromChoices(const PermissionChoices& choices);

// The first thing wrong with the password entries, as the untranslated warning text; "" when
// they may be stored. A password counts only while its option is checked.
std::string PasswordProblem(bool openChecked, const std::string& openPassword, bool permissionsChecked,
                            const std::string& permissionsPassword);

} // namespace slidemill
