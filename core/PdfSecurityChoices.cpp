#include "core/PdfSecurityChoices.h"
#include "settings/TranslatableText.h"

namespace slidemill {

const std::vector<std::string>& PrintingChoiceTexts() {
    static const std::vector<std::string> texts = {N_("None"), N_("Low Resolution"), N_("High Resolution")};
    return texts;
}

const std::vector<std::string>& ChangesChoiceTexts() {
    static const std::vector<std::string> texts = {
        N_("None"),
        N_("Inserting, deleting and rotating pages"),
        N_("Filling in form fields and signing"),
        N_("Commenting, filling in form fields and signing"),
        N_("Any except extracting pages"),
    };
    return texts;
}

PermissionChoices ChoicesFromBits(int32_t bits) {
    PermissionChoices c;
    if (bits & 0x40)
        c.printing = PrintingChoice::HighResolution;
    else if (bits & 0x80)
        c.printing = PrintingChoice::LowResolution;

    if ((bits & 0x29) == 0x29)
        c.changes = ChangesChoice::AnyExceptExtracting;
    else if (bits & 0x01)
        c.changes = ChangesChoice::CommentingFillingForms;
    else if (bits & 0x02)
        c.changes = ChangesChoice::FillingForms;
    else if (bits & 0x08)
        c.changes = ChangesChoice::InsertingDeletingRotating;

    c.screenReaders = (bits & 0x04) != 0;
    c.copying = (bits & 0x10) != 0;
    return c;
}

int16_t BitsFromChoices(const PermissionChoices& c) {
    int bits = 0;
    switch (c.printing) {
    case PrintingChoice::HighResolution:
        bits |= 0x40;
        break;
    case PrintingChoice::LowResolution:
        bits |= 0x80;
        break;
    case PrintingChoice::None:
        break;
    }
    switch (c.changes) {
    case ChangesChoice::AnyExceptExtracting:
        bits |= 0x29;
        break;
    case ChangesChoice::CommentingFillingForms:
        bits |= 0x01;
        break;
    case ChangesChoice::FillingForms:
        bits |= 0x02;
        break;
    case ChangesChoice::InsertingDeletingRotating:
        bits |= 0x08;
        break;
    case ChangesChoice::None:
        break;
    }
    if (c.screenReaders)
        bits |= 0x04;
    if (c.copying)
        bits |= 0x10;
    return static_cast<int16_t>(bits);
}

std::string PasswordProblem(bool openChecked, const std::string& openPassword, bool permissionsChecked,
                            const std::string& permissionsPassword) {
    if (permissionsChecked && permissionsPassword.empty())
        return N_("The 'Use a password to restrict printing and editing of the document and its security "
               "settings option' is selected, but the Permissions Password field is empty. Please enter a "
               "password or deselect the security option.");
    if (openChecked && openPassword.empty())
        return N_("The 'Require a password to open the document' option is selected, but the Document Open "
               "Password field is empty. Please enter a password or deselect the security option.");
    if (openChecked && permissionsChecked && openPassword == permissionsPassword)
        return N_("The Document Open and Permissions passwords cannot be the same. Please enter a different "
               "password in either the Document Open Password field or the Permission Password field.");
    return {};
}

} // namespace slidemill
