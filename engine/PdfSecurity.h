#pragma once

#include <cstdint>
#include <string>

namespace slidemill {

// The passwords and permission bits a produced PDF is secured with.
struct PdfSecurity {
    std::string userPassword;  // needed to open the document; empty: anyone may open it
    std::string ownerPassword; // lifts the restrictions; empty: nothing is restricted
    int32_t permissionBits = 0;
};

// True when the PDF has to be encrypted at all: without any password there is nothing a reader
// could be asked for.
bool NeedsEncryption(const PdfSecurity& security);

// Copies the PDF at source to target (a different path) encrypted with AES-256 (revision 6).
// Without an owner password the user password also opens the document as its owner, so no
// restriction is written that any reader of the file could lift anyway. Text access for screen
// readers is always granted: the current PDF standard, which AES-256 belongs to, no longer lets
// a document refuse it. False with a reason
// when source cannot be read or target cannot be written; the reason never holds a password.
bool EncryptPdf(const std::string& source, const std::string& target, const PdfSecurity& security,
                std::string& error);

} // namespace slidemill
