// The page, password, paragraph and font dialogs, driven through their controls.
#include "support/ScriptedPrompt.h"
#include "ui/FontDialog.h"
#include "ui/ParagraphDialog.h"
#include "ui/PdxPageDialog.h"
#include "ui/PdxPdfOptionsDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace slidemill {
namespace {

// The named control, or a failed test (not a crash) when the dialog has none.
template <typename T> T& Control(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

void Type(QWidget& dialog, const char* box, const char* text) {
    auto& edit = Control<QLineEdit>(dialog, box);
    edit.setText(QString::fromLatin1(text));
    emit edit.editingFinished();
}

void Pick(QWidget& dialog, const char* list, int index) {
    auto& combo = Control<QComboBox>(dialog, list);
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

QString Text(QWidget& dialog, const char* box) {
    return Control<QLineEdit>(dialog, box).text();
}

// exec() with a click on the named button once the dialog runs.
int ExecClicking(QDialog& dialog, const char* button) {
    QTimer::singleShot(0, &dialog, [&dialog, button] { Control<QPushButton>(dialog, button).click(); });
    return dialog.exec();
}

// ---- Page Setup ----

TEST(PdxPageDialog, LoadsLengthsInCentimetresAndFindsThePaper) {
    PdfOptions o;
    o.glnMeasurement = 2;
    o.lPdxPageWidth = 16837;
    o.lPdxPageHeight = 11906;
    o.bPdxPortrait = false;
    o.lPdxPageMarginL = 567;
    PdxPageDialog dialog(o);
    EXPECT_EQ(dialog.windowTitle(), "Page Setup");
    EXPECT_EQ(Control<QComboBox>(dialog, "cboPaperSize").currentText(), "A4");
    EXPECT_EQ(Control<QComboBox>(dialog, "cboPaperSize").count(), 6);
    EXPECT_EQ(Text(dialog, "txtWidth"), "29.69");
    EXPECT_EQ(Text(dialog, "txtHeight"), "21.00");
    EXPECT_EQ(Text(dialog, "txtMarginLeft"), "1.00");
    EXPECT_EQ(Control<QLabel>(dialog, "txtMarginLeftUnit").text(), "cm");
    EXPECT_TRUE(Control<QRadioButton>(dialog, "optLandscape").isChecked());
    EXPECT_TRUE(Control<QLabel>(dialog, "lblInvalid").isHidden());

    o.glnMeasurement = 1;
    PdxPageDialog inches(o);
    EXPECT_EQ(Control<QLabel>(inches, "txtWidthUnit").text(), "inch");
}

TEST(PdxPageDialog, TypedSizesReMatchThePaperList) {
    PdfOptions o;
    o.glnMeasurement = 2;
    PdxPageDialog dialog(o);
    auto& paper = Control<QComboBox>(dialog, "cboPaperSize");
    EXPECT_EQ(paper.currentText(), "Letter");
    Type(dialog, "txtWidth", "21.00");
    Type(dialog, "txtHeight", "29.70");
    EXPECT_EQ(paper.currentText(), "A4");
    Type(dialog, "txtWidth", "21.5");
    EXPECT_EQ(paper.currentText(), "User Defined");
    // Typed the wrong way round it is still the same paper.
    Type(dialog, "txtWidth", "29.7");
    Type(dialog, "txtHeight", "21");
    EXPECT_EQ(paper.currentText(), "A4");
}

TEST(PdxPageDialog, PickingPaperWritesItsSizeInTheChosenOrientation) {
    PdfOptions o;
    o.lPdxPageWidth = 11906;
    o.lPdxPageHeight = 16837;
    PdxPageDialog dialog(o);
    Control<QRadioButton>(dialog, "optLandscape").setChecked(true);
    EXPECT_EQ(Text(dialog, "txtWidth"), "11.69"); // the A4 sides swapped on choosing landscape
    EXPECT_EQ(Text(dialog, "txtHeight"), "8.27");
    Pick(dialog, "cboPaperSize", 3);
    EXPECT_EQ(Text(dialog, "txtWidth"), "11.00");
    EXPECT_EQ(Text(dialog, "txtHeight"), "8.50");
    Control<QRadioButton>(dialog, "optPortrait").setChecked(true);
    EXPECT_EQ(Text(dialog, "txtWidth"), "8.50");
    EXPECT_EQ(Text(dialog, "txtHeight"), "11.00");
    // "User Defined" keeps what is there.
    Pick(dialog, "cboPaperSize", 5);
    EXPECT_EQ(Text(dialog, "txtWidth"), "8.50");
}

TEST(PdxPageDialog, StylesheetFileOnlyForTheSavingOptions) {
    PdfOptions o;
    o.lPdxStyleSheetOption = 3;
    o.sPdxStyleSheetFile = "/tmp/site.css";
    PdxPageDialog dialog(o);
    EXPECT_TRUE(Control<QRadioButton>(dialog, "optStyleSheet3").isChecked());
    EXPECT_EQ(Text(dialog, "txtStyleSheetFile"), "/tmp/site.css");
    EXPECT_TRUE(Control<QLineEdit>(dialog, "txtStyleSheetFile").isEnabled());
    Control<QRadioButton>(dialog, "optStyleSheet1").click();
    EXPECT_FALSE(Control<QLineEdit>(dialog, "txtStyleSheetFile").isEnabled());
    EXPECT_FALSE(Control<QLabel>(dialog, "lblStyleSheetFile").isEnabled());
    Control<QRadioButton>(dialog, "optStyleSheet2").click();
    EXPECT_TRUE(Control<QLabel>(dialog, "lblStyleSheetFile").isEnabled());
}

TEST(PdxPageDialog, ApplyStoresEverythingAndCancelNothing) {
    PdfOptions o;
    o.glnMeasurement = 2;
    const PdfOptions before = o;
    {
        PdxPageDialog dialog(o);
        Pick(dialog, "cboPaperSize", 1);
        Control<QRadioButton>(dialog, "optLandscape").setChecked(true);
        Type(dialog, "txtMarginTop", "2");
        Control<QRadioButton>(dialog, "optStyleSheet0").click();
        EXPECT_EQ(ExecClicking(dialog, "cmdCancel"), QDialog::Rejected);
    }
    EXPECT_EQ(o, before);

    PdxPageDialog dialog(o);
    Pick(dialog, "cboPaperSize", 1);
    Control<QRadioButton>(dialog, "optLandscape").setChecked(true);
    Type(dialog, "txtMarginLeft", "1.5");
    Type(dialog, "txtMarginTop", "2");
    Type(dialog, "txtMarginRight", "not a length");
    Type(dialog, "txtMarginBottom", "0.5");
    Control<QRadioButton>(dialog, "optStyleSheet2").click();
    Control<QLineEdit>(dialog, "txtStyleSheetFile").setText("style.css");
    EXPECT_EQ(ExecClicking(dialog, "cmdApply"), QDialog::Accepted);
    EXPECT_EQ(o.lPdxPageWidth, 11907); // 21.00 cm
    EXPECT_EQ(o.lPdxPageHeight, 8420); // 14.85 cm
    EXPECT_FALSE(o.bPdxPortrait);
    EXPECT_EQ(o.lPdxPageMarginL, 851);
    EXPECT_EQ(o.lPdxPageMarginT, 1134);
    EXPECT_EQ(o.lPdxPageMarginR, 0);
    EXPECT_EQ(o.lPdxPageMarginB, 284);
    EXPECT_EQ(o.lPdxStyleSheetOption, 2);
    EXPECT_EQ(o.sPdxStyleSheetFile, "style.css");
}

// ---- PDF Export Password Security Settings ----

TEST(PdxPdfOptionsDialog, LoadsPasswordsPermissionsAndEnabling) {
    PdfOptions o;
    o.sPdxPDFMasterPassword = "owner";
    o.lDocAccessPermissions = 0x40 | 0x08 | 0x10;
    test::ScriptedPrompt prompt;
    PdxPdfOptionsDialog dialog(o, prompt);
    EXPECT_EQ(dialog.windowTitle(), "PDF Export Password Security Settings");
    EXPECT_FALSE(Control<QCheckBox>(dialog, "chkOpenPassword").isChecked());
    EXPECT_FALSE(Control<QLineEdit>(dialog, "txtOpenPassword").isEnabled());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "chkPermissionsPassword").isChecked());
    EXPECT_EQ(Text(dialog, "txtPermissionsPassword"), "owner");
    EXPECT_EQ(Control<QLineEdit>(dialog, "txtPermissionsPassword").echoMode(), QLineEdit::Password);
    EXPECT_EQ(Control<QLineEdit>(dialog, "txtOpenPassword").echoMode(), QLineEdit::Password);
    EXPECT_EQ(Control<QComboBox>(dialog, "cboPrinting").currentText(), "High Resolution");
    EXPECT_EQ(Control<QComboBox>(dialog, "cboChangesAllowed").currentText(),
              "Inserting, deleting and rotating pages");
    EXPECT_FALSE(Control<QCheckBox>(dialog, "chkScreenReaders").isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "chkCopying").isChecked());
    EXPECT_TRUE(Control<QComboBox>(dialog, "cboPrinting").isEnabled());

    Control<QCheckBox>(dialog, "chkPermissionsPassword").click();
    EXPECT_EQ(Text(dialog, "txtPermissionsPassword"), "");
    EXPECT_FALSE(Control<QLineEdit>(dialog, "txtPermissionsPassword").isEnabled());
    EXPECT_FALSE(Control<QComboBox>(dialog, "cboPrinting").isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "chkCopying").isEnabled());
    Control<QCheckBox>(dialog, "chkOpenPassword").click();
    EXPECT_TRUE(Control<QLineEdit>(dialog, "txtOpenPassword").isEnabled());
}

TEST(PdxPdfOptionsDialog, OkWarnsInOrderAndStaysOpenStoringNothing) {
    PdfOptions o;
    const PdfOptions before = o;
    test::ScriptedPrompt prompt;
    PdxPdfOptionsDialog dialog(o, prompt);
    dialog.show();
    Control<QCheckBox>(dialog, "chkOpenPassword").click();
    Control<QCheckBox>(dialog, "chkPermissionsPassword").click();

    prompt.Answer(PromptAnswer::OK);
    Control<QPushButton>(dialog, "cmdOk").click();
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_NE(prompt.questions[0].text.find("Permissions Password field is empty"), std::string::npos);
    EXPECT_EQ(prompt.questions[0].buttons, PromptButtons::OK);

    Control<QLineEdit>(dialog, "txtPermissionsPassword").setText("same");
    prompt.Answer(PromptAnswer::OK);
    Control<QPushButton>(dialog, "cmdOk").click();
    ASSERT_EQ(prompt.questions.size(), 2u);
    EXPECT_NE(prompt.questions[1].text.find("Document Open Password field is empty"), std::string::npos);

    Control<QLineEdit>(dialog, "txtOpenPassword").setText("same");
    prompt.Answer(PromptAnswer::OK);
    Control<QPushButton>(dialog, "cmdOk").click();
    ASSERT_EQ(prompt.questions.size(), 3u);
    EXPECT_EQ(prompt.questions[2].text,
              "The Document Open and Permissions passwords cannot be the same. Please enter a different "
              "password in either the Document Open Password field or the Permission Password field.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(o, before);
    prompt.Finish();
}

TEST(PdxPdfOptionsDialog, SavedChoicesComeBackOnReopening) {
    PdfOptions o;
    test::ScriptedPrompt prompt;
    {
        PdxPdfOptionsDialog dialog(o, prompt);
        Control<QCheckBox>(dialog, "chkOpenPassword").click();
        Control<QLineEdit>(dialog, "txtOpenPassword").setText("reader");
        Control<QCheckBox>(dialog, "chkPermissionsPassword").click();
        Control<QLineEdit>(dialog, "txtPermissionsPassword").setText("owner");
        Control<QComboBox>(dialog, "cboPrinting").setCurrentIndex(1);
        Control<QComboBox>(dialog, "cboChangesAllowed").setCurrentIndex(1);
        Control<QCheckBox>(dialog, "chkScreenReaders").click();
        EXPECT_EQ(ExecClicking(dialog, "cmdOk"), QDialog::Accepted);
    }
    EXPECT_EQ(o.sPdxPDFUserPassword, "reader");
    EXPECT_EQ(o.sPdxPDFMasterPassword, "owner");
    EXPECT_EQ(o.lDocAccessPermissions, 0x80 | 0x08 | 0x04);

    PdxPdfOptionsDialog again(o, prompt);
    EXPECT_EQ(Control<QComboBox>(again, "cboPrinting").currentText(), "Low Resolution");
    EXPECT_EQ(Control<QComboBox>(again, "cboChangesAllowed").currentText(),
              "Inserting, deleting and rotating pages");
    EXPECT_TRUE(Control<QCheckBox>(again, "chkScreenReaders").isChecked());
    // Unchecking both options stores no passwords at all.
    Control<QCheckBox>(again, "chkOpenPassword").click();
    Control<QCheckBox>(again, "chkPermissionsPassword").click();
    EXPECT_EQ(ExecClicking(again, "cmdOk"), QDialog::Accepted);
    EXPECT_EQ(o.sPdxPDFUserPassword, "");
    EXPECT_EQ(o.sPdxPDFMasterPassword, "");
    prompt.Finish();
}

// ---- Paragraph ----

TEST(ParagraphDialog, ShowsStoredValuesInTheUnit) {
    PdfOptions o;
    o.glnMeasurement = 2;
    o.lPdxAlignment = 3;
    o.lPdxIndentL = 567;
    o.lPdxIndentFL = -284;
    o.lPdxLineSpacing = 150;
    o.lPdxFrameStyle = 16 | 32;
    ParagraphDialog dialog(o);
    EXPECT_EQ(Control<QComboBox>(dialog, "cboAlignment").currentText(), "Justified");
    EXPECT_EQ(Text(dialog, "txtIndentLeft"), "1.00");
    EXPECT_EQ(Text(dialog, "txtIndentFirstLine"), "-0.50");
    EXPECT_EQ(Control<QComboBox>(dialog, "cboLineSpacing").currentIndex(), 1);
    EXPECT_EQ(Control<QSpinBox>(dialog, "spnLineSpacingPercent").value(), 150);
    EXPECT_TRUE(Control<QSpinBox>(dialog, "spnLineSpacingPercent").isEnabled());
    EXPECT_FALSE(Control<QLineEdit>(dialog, "txtLineSpacingExact").isEnabled());
    for (const char* side :
         {"chkFrameLeft", "chkFrameRight", "chkFrameTop", "chkFrameBottom", "chkFrameDouble"})
        EXPECT_TRUE(Control<QCheckBox>(dialog, side).isChecked()) << side;
}

TEST(ParagraphDialog, OkStoresWhatTheDocumentIsGiven) {
    PdfOptions o;
    o.lPdxLineSpacing = 150;
    ParagraphDialog dialog(o);
    Control<QComboBox>(dialog, "cboAlignment").setCurrentIndex(2);
    Type(dialog, "txtIndentLeft", "0.5");
    Type(dialog, "txtIndentRight", "0.25");
    Type(dialog, "txtIndentFirstLine", "-0.25");
    Type(dialog, "txtSpaceBefore", "-1");
    Type(dialog, "txtSpaceAfter", "0.1");
    Control<QComboBox>(dialog, "cboLineSpacing").setCurrentIndex(2);
    EXPECT_TRUE(Control<QLineEdit>(dialog, "txtLineSpacingExact").isEnabled());
    Type(dialog, "txtLineSpacingExact", "0.25");
    Control<QCheckBox>(dialog, "chkFrameLeft").setChecked(true);
    Control<QCheckBox>(dialog, "chkFrameBottom").setChecked(true);
    Type(dialog, "txtFrameLineWidth", "0.02");
    Type(dialog, "txtFrameDistance", "0.1");
    EXPECT_EQ(ExecClicking(dialog, "cmdOk"), QDialog::Accepted);
    EXPECT_EQ(o.lPdxAlignment, 2);
    EXPECT_EQ(o.lPdxIndentL, 720);
    EXPECT_EQ(o.lPdxIndentR, 360);
    EXPECT_EQ(o.lPdxIndentFL, -360);
    EXPECT_EQ(o.lPdxIndentT, 0); // no negative space above
    EXPECT_EQ(o.lPdxIndentB, 144);
    EXPECT_EQ(o.lPdxLineSpacingT, 360);
    EXPECT_EQ(o.lPdxLineSpacing, 0);
    EXPECT_EQ(o.lPdxFrameStyle, 1 | 8);
    EXPECT_EQ(o.lPdxFrameLineWidth, 29);
    EXPECT_EQ(o.lPdxFrameDistance, 144);
}

TEST(ParagraphDialog, ProportionalAndUnchangedSpacingAndCancel) {
    PdfOptions o;
    o.lPdxLineSpacingT = 300;
    {
        ParagraphDialog dialog(o);
        EXPECT_EQ(Control<QComboBox>(dialog, "cboLineSpacing").currentIndex(), 2);
        Control<QComboBox>(dialog, "cboLineSpacing").setCurrentIndex(1);
        Control<QSpinBox>(dialog, "spnLineSpacingPercent").setValue(200);
        EXPECT_EQ(ExecClicking(dialog, "cmdCancel"), QDialog::Rejected);
    }
    EXPECT_EQ(o.lPdxLineSpacingT, 300);
    {
        ParagraphDialog dialog(o);
        Control<QComboBox>(dialog, "cboLineSpacing").setCurrentIndex(1);
        Control<QSpinBox>(dialog, "spnLineSpacingPercent").setValue(200);
        EXPECT_EQ(ExecClicking(dialog, "cmdOk"), QDialog::Accepted);
    }
    EXPECT_EQ(o.lPdxLineSpacing, 200);
    EXPECT_EQ(o.lPdxLineSpacingT, 0);
    ParagraphDialog dialog(o);
    Control<QComboBox>(dialog, "cboLineSpacing").setCurrentIndex(0);
    EXPECT_EQ(ExecClicking(dialog, "cmdOk"), QDialog::Accepted);
    EXPECT_EQ(o.lPdxLineSpacing, 0);
    EXPECT_EQ(o.lPdxLineSpacingT, 0);
}

// ---- Font ----

TEST(FontDialog, ShowsStoredCharacterValues) {
    PdfOptions o;
    o.sPdxFontName = "No Such Family";
    o.lPdxFontSize = 14;
    o.lPdxFontBold = -1;
    o.lPdxFontUnderline = 1;
    o.lPdxFontUnderlineStyle = 4;
    o.lPdxBaseLine = -60;
    o.lPdxForeColor = 0x0000FF;
    o.lPdxTextBkColor = 0;
    FontDialog dialog(o);
    EXPECT_EQ(Control<QComboBox>(dialog, "cboFontName").currentText(), "No Such Family");
    EXPECT_GT(Control<QComboBox>(dialog, "cboFontName").count(), 0); // the installed families
    EXPECT_EQ(Control<QSpinBox>(dialog, "spnFontSize").value(), 14);
    EXPECT_TRUE(Control<QCheckBox>(dialog, "chkBold").isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "chkItalic").isChecked());
    EXPECT_EQ(Control<QComboBox>(dialog, "cboUnderlineStyle").currentText(), "Dashed");
    EXPECT_TRUE(Control<QComboBox>(dialog, "cboUnderlineStyle").isEnabled());
    EXPECT_EQ(Control<QComboBox>(dialog, "cboBaseLine").currentText(), "Subscript");
    EXPECT_DOUBLE_EQ(Control<QDoubleSpinBox>(dialog, "spnBaseLineOffset").value(), 3.0);
    EXPECT_EQ(Text(dialog, "txtForeColor"), "#FF0000");
    EXPECT_FALSE(Control<QCheckBox>(dialog, "chkBackColor").isChecked());
    EXPECT_FALSE(Control<QLineEdit>(dialog, "txtBackColor").isEnabled());
}

TEST(FontDialog, OkStoresWhatTheDocumentIsGiven) {
    PdfOptions o;
    FontDialog dialog(o);
    Control<QComboBox>(dialog, "cboFontName").setCurrentText("DejaVu Serif");
    Control<QSpinBox>(dialog, "spnFontSize").setValue(18);
    Control<QCheckBox>(dialog, "chkBold").setChecked(true);
    Control<QCheckBox>(dialog, "chkItalic").setChecked(true);
    Control<QCheckBox>(dialog, "chkStrikethru").setChecked(true);
    Control<QCheckBox>(dialog, "chkUnderline").setChecked(true);
    Control<QComboBox>(dialog, "cboUnderlineStyle").setCurrentIndex(1);
    Control<QComboBox>(dialog, "cboBaseLine").setCurrentIndex(0);
    Control<QDoubleSpinBox>(dialog, "spnBaseLineOffset").setValue(0);
    Control<QComboBox>(dialog, "cboBaseLine").setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(Control<QDoubleSpinBox>(dialog, "spnBaseLineOffset").value(), 6.0); // a third of 18 pt
    Control<QLineEdit>(dialog, "txtForeColor").setText("#336699");
    Control<QCheckBox>(dialog, "chkBackColor").setChecked(true);
    Control<QLineEdit>(dialog, "txtBackColor").setText("#FFFF00");
    EXPECT_EQ(ExecClicking(dialog, "cmdOk"), QDialog::Accepted);
    EXPECT_EQ(o.sPdxFontName, "DejaVu Serif");
    EXPECT_EQ(o.lPdxFontSize, 18);
    EXPECT_EQ(o.lPdxFontBold, 1);
    EXPECT_EQ(o.lPdxFontItalic, 1);
    EXPECT_EQ(o.lPdxFontStrikethru, 1);
    EXPECT_EQ(o.lPdxFontUnderline, 1);
    EXPECT_EQ(o.lPdxFontUnderlineStyle, 2);
    EXPECT_EQ(o.lPdxBaseLine, 120);
    EXPECT_EQ(o.lPdxForeColor, 0x996633);
    EXPECT_EQ(o.lPdxTextBkColor, 0x00FFFF);
}

TEST(FontDialog, AMistypedColourHoldsOkAndNoHighlightStoresZero) {
    PdfOptions o;
    o.lPdxTextBkColor = 0x00FF00;
    o.lPdxBaseLine = 40;
    FontDialog dialog(o);
    auto& ok = Control<QPushButton>(dialog, "cmdOk");
    EXPECT_TRUE(Control<QCheckBox>(dialog, "chkBackColor").isChecked());
    Control<QLineEdit>(dialog, "txtForeColor").setText("#12345");
    EXPECT_FALSE(ok.isEnabled());
    Control<QLineEdit>(dialog, "txtForeColor").setText("#123456");
    EXPECT_TRUE(ok.isEnabled());
    Control<QLineEdit>(dialog, "txtBackColor").setText("yellow");
    EXPECT_FALSE(ok.isEnabled());
    Control<QCheckBox>(dialog, "chkBackColor").setChecked(false); // a box that counts no more
    EXPECT_TRUE(ok.isEnabled());
    Control<QComboBox>(dialog, "cboBaseLine").setCurrentIndex(0);
    EXPECT_EQ(ExecClicking(dialog, "cmdOk"), QDialog::Accepted);
    EXPECT_EQ(o.lPdxTextBkColor, 0);
    EXPECT_EQ(o.lPdxBaseLine, 0);
    EXPECT_EQ(o.lPdxForeColor, 0x563412);
}

TEST(FontDialog, CancelStoresNothing) {
    PdfOptions o;
    const PdfOptions before = o;
    FontDialog dialog(o);
    Control<QCheckBox>(dialog, "chkBold").setChecked(true);
    Control<QSpinBox>(dialog, "spnFontSize").setValue(30);
    EXPECT_EQ(ExecClicking(dialog, "cmdCancel"), QDialog::Rejected);
    EXPECT_EQ(o, before);
}

// ---- All four on screen ----

// Texts whose control is narrower than the text needs, as "name: text", and labels that show
// their mnemonic's ampersand.
std::vector<std::string> Clipped(QWidget& dialog) {
    std::vector<std::string> clipped;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        if (!text.isEmpty() && w->width() < w->sizeHint().width())
            clipped.push_back(w->objectName().toStdString() + ": " + text.toStdString());
        // A mnemonic with nothing to go to shows its ampersand.
        if (auto* label = qobject_cast<QLabel*>(w); label && label->text().contains('&') && !label->buddy())
            clipped.push_back("no buddy: " + label->text().toStdString());
    }
    return clipped;
}

TEST(PdxDialogs, EveryTextFitsAndEveryMnemonicLeadsSomewhere) {
    PdfOptions o;
    o.glnMeasurement = 2;
    test::ScriptedPrompt prompt;
    PdxPageDialog page(o);
    PdxPdfOptionsDialog security(o, prompt);
    ParagraphDialog paragraph(o);
    FontDialog font(o);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&page, &security, &paragraph, &font}) {
        dialog->show();
        QApplication::processEvents();
        const auto clipped = Clipped(*dialog);
        EXPECT_TRUE(clipped.empty()) << dialog->objectName().toStdString() << ": " << clipped.front();
        // SLIDEMILL_DIALOG_GRAB names a folder that receives a picture of each dialog.
        if (const char* grabs = std::getenv("SLIDEMILL_DIALOG_GRAB"))
            dialog->grab().save(QString("%1/%2.png").arg(grabs, dialog->objectName()));
        dialog->hide();
    }
}

} // namespace
} // namespace slidemill
