#include "engine/PdfSecurity.h"

#include "engine/PdfMapping.h"

// Only qpdf's current interface is used: no compatibility pointer types.
#define POINTERHOLDER_TRANSITION 4

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace slidemill {

bool NeedsEncryption(const PdfSecurity& security) {
    return !security.userPassword.empty() || !security.ownerPassword.empty();
}

bool EncryptPdf(const std::string& source, const std::string& target, const PdfSecurity& security,
                std::string& error) {
    error.clear();
    if (source == target) {
        error = "the encrypted copy cannot replace its source in place";
        return false;
    }
    const bool restricted = !security.ownerPassword.empty();
    const PdfPermissions p =
        restricted ? PermissionsFromBits(security.permissionBits) : PermissionsFromBits(0xFF);
    const std::string& owner = restricted ? security.ownerPassword : security.userPassword;
    qpdf_r3_print_e printing = qpdf_r3p_none;
    if (p.printing == PdfPrinting::HighResolution)
        printing = qpdf_r3p_full;
    else if (p.printing == PdfPrinting::LowResolution)
        printing = qpdf_r3p_low;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(source.c_str());
        QPDFWriter writer(pdf, target.c_str());
        // Fresh keys and ids for every file: two files with the same passwords share nothing.
        writer.setStaticID(false);
        writer.setR6EncryptionParameters(security.userPassword.c_str(), owner.c_str(), p.accessibility,
                                         p.extract, p.assemble, p.annotateAndForm, p.fillForms, p.modifyOther,
                                         printing, true);
        writer.write();
    } catch (const std::exception& e) {
        // qpdf's messages name files and objects, never the passwords it was given.
        error = e.what();
        return false;
    }
    return true;
}

} // namespace slidemill
