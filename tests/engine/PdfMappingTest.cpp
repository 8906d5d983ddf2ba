// The pure mappings of the "PDF - with options" stage and the AES-256 securing of a PDF,
// checked with qpdf itself; no office involved.
#include "PdfTestTools.h"

#include "engine/PdfMapping.h"
#include "engine/PdfSecurity.h"
#include "engine/PdfWithOptions.h"
#include "platform/FileLock.h"
#include "platform/ReadBusy.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace slidemill::test {
namespace {

TEST(PdfMapping, TwipsBecomeHundredthsOfAMillimetre) {
    EXPECT_EQ(TwipsToHundredthMm(0), 0);
    EXPECT_EQ(TwipsToHundredthMm(1440), 2540);   // one inch
    EXPECT_EQ(TwipsToHundredthMm(567), 1000);    // one centimetre, rounded
    EXPECT_EQ(TwipsToHundredthMm(11906), 21001); // A4 width
    EXPECT_EQ(TwipsToHundredthMm(16837), 29699); // A4 height
    EXPECT_EQ(TwipsToHundredthMm(12240), 21590); // Letter width
    EXPECT_EQ(TwipsToHundredthMm(-720), -1270);  // a hanging first-line indent
}

TEST(PdfMapping, PermissionBitsFollowTheDialogChoices) {
    // Nothing granted.
    EXPECT_EQ(PermissionsFromBits(0), PdfPermissions{});

    PdfPermissions low;
    low.printing = PdfPrinting::LowResolution;
    EXPECT_EQ(PermissionsFromBits(0x80), low);
    // High resolution wins when both printing bits are present.
    EXPECT_EQ(PermissionsFromBits(0x40).printing, PdfPrinting::HighResolution);
    EXPECT_EQ(PermissionsFromBits(0xC0).printing, PdfPrinting::HighResolution);

    PdfPermissions any;
    any.modifyOther = any.annotateAndForm = any.fillForms = any.assemble = true;
    EXPECT_EQ(PermissionsFromBits(0x29), any);

    PdfPermissions commenting;
    commenting.annotateAndForm = commenting.fillForms = true;
    EXPECT_EQ(PermissionsFromBits(0x01), commenting);
    // Only part of 0x29 is the commenting choice, not "any except extracting pages".
    EXPECT_EQ(PermissionsFromBits(0x09), commenting);

    PdfPermissions filling;
    filling.fillForms = true;
    EXPECT_EQ(PermissionsFromBits(0x02), filling);

    PdfPermissions pages;
    pages.assemble = true;
    EXPECT_EQ(PermissionsFromBits(0x08), pages);

    PdfPermissions reader;
    reader.accessibility = true;
    EXPECT_EQ(PermissionsFromBits(0x04), reader);
    PdfPermissions copying;
    copying.extract = true;
    EXPECT_EQ(PermissionsFromBits(0x10), copying);

    // Everything the dialog can grant at once.
    const PdfPermissions all = PermissionsFromBits(0x40 | 0x29 | 0x04 | 0x10);
    EXPECT_EQ(all.printing, PdfPrinting::HighResolution);
    EXPECT_TRUE(all.modifyOther && all.annotateAndForm && all.fillForms && all.assemble);
    EXPECT_TRUE(all.accessibility && all.extract);
}

TEST(PdfMapping, ParagraphAndCharacterValuesBecomeTheOfficesValues) {
    // left, right, centre, justified → LEFT 0, RIGHT 1, CENTER 3, BLOCK 2
    EXPECT_EQ(WriterParagraphAdjust(0), 0);
    EXPECT_EQ(WriterParagraphAdjust(1), 1);
    EXPECT_EQ(WriterParagraphAdjust(2), 3);
    EXPECT_EQ(WriterParagraphAdjust(3), 2);
    EXPECT_EQ(WriterParagraphAdjust(42), 0);

    EXPECT_EQ(BgrToRgb(0x0000FF), 0xFF0000); // red
    EXPECT_EQ(BgrToRgb(0xFF0000), 0x0000FF); // blue
    EXPECT_EQ(BgrToRgb(0x123456), 0x563412);
    EXPECT_EQ(WriterBackColor(0x00FFFF), 0xFFFF00); // yellow highlight
    EXPECT_EQ(WriterBackColor(0), -1);
    EXPECT_EQ(WriterBackColor(static_cast<int32_t>(0x80000005u)), -1); // a system colour
    EXPECT_EQ(WriterBackColor(-1), -1);

    EXPECT_EQ(EscapementPercent(0, 12), 0);
    EXPECT_EQ(EscapementPercent(120, 12), 50);  // 6 pt up on a 12 pt font
    EXPECT_EQ(EscapementPercent(-60, 12), -25); // 3 pt down
    EXPECT_EQ(EscapementPercent(120, 0), 50);   // no size counts as 12 pt
    EXPECT_EQ(EscapementPercent(10000, 10), 100);
    EXPECT_EQ(EscapementPercent(-10000, 10), -100);

    EXPECT_EQ(WriterUnderline(0, 2), 0);
    EXPECT_EQ(WriterUnderline(1, 1), 1);
    EXPECT_EQ(WriterUnderline(-1, 2), 2);
    EXPECT_EQ(WriterUnderline(1, 3), 3);
    EXPECT_EQ(WriterUnderline(1, 4), 5);
    EXPECT_EQ(WriterUnderline(1, 5), 10);
    EXPECT_EQ(WriterUnderline(1, 99), 1);

    EXPECT_EQ(FrameSidesFromStyle(0), FrameSides{});
    EXPECT_EQ(FrameSidesFromStyle(1 | 8), (FrameSides{true, false, false, true, false}));
    EXPECT_EQ(FrameSidesFromStyle(16), (FrameSides{true, true, true, true, false}));
    EXPECT_EQ(FrameSidesFromStyle(16 | 32), (FrameSides{true, true, true, true, true}));
}

TEST(PdfMapping, ExportSettingsCarryOnlyEnforcedGroups) {
    PdfOptions o;
    o.sPdxPDFUserPassword = "user-secret";
    o.sPdxPDFMasterPassword = "owner-secret";
    o.lDocAccessPermissions = 0x90;
    o.lImageComparessionQuality = 40;
    o.lImageMaxResolution = 72;

    // Stored but not enforced: the PDF gets no password and the office's image defaults.
    PdfExportSettings off = ExportSettingsFor(o);
    EXPECT_TRUE(off.security.userPassword.empty());
    EXPECT_TRUE(off.security.ownerPassword.empty());
    EXPECT_FALSE(NeedsEncryption(off.security));
    EXPECT_EQ(off.imageQuality, 0);
    EXPECT_EQ(off.maxImageResolution, 0);

    o.bOverridePDFSettings = true;
    o.bOverrideImageSettings = true;
    PdfExportSettings on = ExportSettingsFor(o);
    EXPECT_EQ(on.security.userPassword, "user-secret");
    EXPECT_EQ(on.security.ownerPassword, "owner-secret");
    EXPECT_EQ(on.security.permissionBits, 0x90);
    EXPECT_TRUE(NeedsEncryption(on.security));
    EXPECT_EQ(on.imageQuality, 40);
    EXPECT_EQ(on.maxImageResolution, 72);
}

TEST(PdfSecurity, EncryptsWithAes256AndTheChosenPermissions) {
    TempFolder dir("secure");
    const std::string plain = MakeBlankPdf(dir.str() + "plain.pdf");
    ASSERT_TRUE(std::filesystem::exists(plain));

    // Both passwords, printing low resolution and copying only.
    const std::string both = dir.str() + "both.pdf";
    std::string error;
    ASSERT_TRUE(EncryptPdf(plain, both, {"open me", "owner pw", 0x80 | 0x10}, error)) << error;
    EXPECT_TRUE(PdfRequiresPassword(both));
    const std::string asUser = PdfEncryption(both, "open me");
    EXPECT_NE(asUser.find("R = 6"), std::string::npos) << asUser;
    EXPECT_NE(asUser.find("file encryption method: AESv3"), std::string::npos) << asUser;
    EXPECT_NE(asUser.find("Supplied password is user password"), std::string::npos) << asUser;
    EXPECT_NE(asUser.find("print low resolution: allowed"), std::string::npos);
    EXPECT_NE(asUser.find("print high resolution: not allowed"), std::string::npos);
    EXPECT_NE(asUser.find("extract for any purpose: allowed"), std::string::npos);
    // PDF 2.0 lets no document bar screen readers: with AES-256 text access is always granted.
    EXPECT_NE(asUser.find("extract for accessibility: allowed"), std::string::npos);
    EXPECT_NE(asUser.find("modify document assembly: not allowed"), std::string::npos);
    EXPECT_NE(asUser.find("modify annotations: not allowed"), std::string::npos);
    EXPECT_NE(asUser.find("modify other: not allowed"), std::string::npos);
    EXPECT_NE(PdfEncryption(both, "owner pw").find("Supplied password is owner password"), std::string::npos);
    EXPECT_NE(PdfEncryption(both, "guess").find("Incorrect password supplied"), std::string::npos);

    // Only a permissions password: anyone opens it, the restrictions hold.
    const std::string ownerOnly = dir.str() + "owner-only.pdf";
    ASSERT_TRUE(EncryptPdf(plain, ownerOnly, {"", "owner pw", 0x40 | 0x29 | 0x04}, error)) << error;
    EXPECT_TRUE(PdfIsEncrypted(ownerOnly));
    EXPECT_FALSE(PdfRequiresPassword(ownerOnly));
    const std::string open = PdfEncryption(ownerOnly, "");
    EXPECT_NE(open.find("print high resolution: allowed"), std::string::npos) << open;
    EXPECT_NE(open.find("modify document assembly: allowed"), std::string::npos);
    EXPECT_NE(open.find("modify other: allowed"), std::string::npos);
    EXPECT_NE(open.find("extract for accessibility: allowed"), std::string::npos);
    EXPECT_NE(open.find("extract for any purpose: not allowed"), std::string::npos);

    // Only an open password: no restriction that its reader could not lift anyway.
    const std::string userOnly = dir.str() + "user-only.pdf";
    ASSERT_TRUE(EncryptPdf(plain, userOnly, {"open me", "", 0}, error)) << error;
    EXPECT_TRUE(PdfRequiresPassword(userOnly));
    const std::string opened = PdfEncryption(userOnly, "open me");
    EXPECT_NE(opened.find("modify anything: allowed"), std::string::npos) << opened;
    EXPECT_NE(opened.find("print high resolution: allowed"), std::string::npos);
}

TEST(PdfSecurity, FailuresNameNoPasswordAndLeaveNoTarget) {
    TempFolder dir("secure-fail");
    std::string error;
    const std::string target = dir.str() + "out.pdf";
    EXPECT_FALSE(EncryptPdf(dir.str() + "missing.pdf", target, {"s3cret-user", "s3cret-owner", 0}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find("s3cret"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(target));

    const std::string notPdf = dir.file("not.pdf", "plain words, no PDF at all");
    EXPECT_FALSE(EncryptPdf(notPdf, target, {"s3cret-user", "", 0}, error));
    EXPECT_EQ(error.find("s3cret"), std::string::npos) << error;

    const std::string plain = MakeBlankPdf(dir.str() + "plain.pdf");
    EXPECT_FALSE(EncryptPdf(plain, plain, {"u", "o", 0}, error));
    EXPECT_FALSE(PdfIsEncrypted(plain));
}

TEST(ReadBusy, ALockedFileIsBusyUntilReleased) {
    TempFolder dir("busy");
    const std::string file = dir.file("in.rtf", "{\\rtf1 x}");
    EXPECT_FALSE(FileBusyForReading(file));
    EXPECT_FALSE(FileBusyForReading(dir.str() + "missing.rtf"));
    {
        FileLock lock;
        ASSERT_TRUE(lock.TryLock(file));
        EXPECT_TRUE(FileBusyForReading(file));
    }
    EXPECT_FALSE(FileBusyForReading(file));
}

} // namespace
} // namespace slidemill::test
