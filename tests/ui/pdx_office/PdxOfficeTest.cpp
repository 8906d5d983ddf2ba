// The options dialogs against the real engine: values set through each dialog's controls go
// through the window's run of a "PDF - with options" task and show in the produced PDF.
#include "../../engine/EngineTestSupport.h"
#include "../../engine/PdfTestTools.h"

#include "core/FileTypes.h"
#include "core/RunControl.h"
#include "engine/OfficeRunParts.h"
#include "run/MainWindowModel.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "ui/FontDialog.h"
#include "ui/PdxPageDialog.h"
#include "ui/PdxPdfOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace slidemill {
namespace {

namespace fs = std::filesystem;

class QuietView : public MainWindowView {
public:
    void EditorChanged() override {}
    void CommandStatesChanged(const CommandStates&) override {}
    void JobCaptionChanged(const std::string&) override {}
    void RecentListsChanged() override {}
    void FocusTaskGrid() override {}
    void FocusEditorField(TaskEditorField) override {}
    bool LogPageSelected() const override { return false; }
    bool WindowVisible() const override { return true; }
    void OpenExternally(const std::string&) override {}
};

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

TEST(PdxOffice, DialogValuesShowInTheProducedPdf) {
    SLIDEMILL_REQUIRE_CORPUS();
    test::TempFolder t("pdx-office");
    const std::string deck = t.str() + "in/deck.pptx";
    fs::create_directories(t.path() / "in");
    fs::copy_file(test::GoodFile("poi_SampleShow.pptx"), deck);
    const std::string pdf = t.str() + "out/deck.pdf";

    OfficeRunParts parts(test::TestEngineOptions(), t.str() + "absent.ini");
    test::ScriptedPrompt prompt;
    RunStatus status;
    QuietView view;
    MainWindowModel model(parts, prompt, NullRunControl(), status, view, t.str() + "slidemill.ini");
    model.Load();
    // The slides' text, not pictures of them: the font shows only on text.
    model.Settings().bPDFTextOnly = true;
    PdfOptions& pdx = model.Settings().pdx;
    pdx.glnMeasurement = 2;

    // Page: A5 landscape with 1.5 cm margins on the left and 1 cm elsewhere.
    pdx.bOverridePageSettings = true;
    {
        PdxPageDialog page(pdx);
        auto& paper = Control<QComboBox>(page, "cboPaperSize");
        paper.setCurrentIndex(1);
        emit paper.activated(1);
        Control<QRadioButton>(page, "optLandscape").setChecked(true);
        Type(page, "txtMarginLeft", "1.5");
        Type(page, "txtMarginTop", "1");
        Type(page, "txtMarginRight", "1");
        Type(page, "txtMarginBottom", "1");
        Control<QPushButton>(page, "cmdApply").click();
        ASSERT_EQ(page.result(), QDialog::Accepted);
    }
    // Font: DejaVu Serif, 16 pt, bold.
    pdx.bOverrideFontSettings = true;
    {
        FontDialog font(pdx);
        Control<QComboBox>(font, "cboFontName").setCurrentText("DejaVu Serif");
        Control<QSpinBox>(font, "spnFontSize").setValue(16);
        Control<QCheckBox>(font, "chkBold").setChecked(true);
        Control<QComboBox>(font, "cboBaseLine").setCurrentIndex(0);
        Control<QLineEdit>(font, "txtForeColor").setText("#000000");
        Control<QPushButton>(font, "cmdOk").click();
        ASSERT_EQ(font.result(), QDialog::Accepted);
    }
    // Security: an open password, a permissions password, high-resolution printing and page
    // assembly allowed, copying not.
    pdx.bOverridePDFSettings = true;
    {
        PdxPdfOptionsDialog security(pdx, prompt);
        Control<QCheckBox>(security, "chkOpenPassword").click();
        Control<QLineEdit>(security, "txtOpenPassword").setText("reader pass");
        Control<QCheckBox>(security, "chkPermissionsPassword").click();
        Control<QLineEdit>(security, "txtPermissionsPassword").setText("owner pass");
        Control<QComboBox>(security, "cboPrinting").setCurrentIndex(2);
        Control<QComboBox>(security, "cboChangesAllowed").setCurrentIndex(1);
        Control<QPushButton>(security, "cmdOk").click();
        ASSERT_EQ(security.result(), QDialog::Accepted);
    }

    model.ActionChosen("C");
    model.MethodChosen(kMethodComponent);
    model.PathEdited(EditorPathField::Original, deck);
    model.PathEdited(EditorPathField::Target, pdf);
    model.TargetTypeChosen(kTargetPdfWithOptions);
    ASSERT_TRUE(model.AddTask());
    // Nothing was saved: the values reach the run from the window alone.
    ASSERT_FALSE(fs::exists(t.str() + "absent.ini"));
    EXPECT_EQ(model.Begin(), RunEnd::Completed);
    ASSERT_TRUE(fs::exists(pdf)) << "no PDF";

    EXPECT_TRUE(test::PdfRequiresPassword(pdf));
    const std::string security = test::PdfEncryption(pdf, "owner pass");
    EXPECT_NE(security.find("Supplied password is owner password"), std::string::npos) << security;
    EXPECT_NE(security.find("print high resolution: allowed"), std::string::npos) << security;
    EXPECT_NE(security.find("modify document assembly: allowed"), std::string::npos) << security;
    EXPECT_NE(security.find("extract for any purpose: not allowed"), std::string::npos) << security;
    EXPECT_NE(security.find("modify anything: not allowed"), std::string::npos) << security;
    EXPECT_NE(test::PdfEncryption(pdf, "reader pass").find("Supplied password is user password"),
              std::string::npos);

    double width = 0, height = 0;
    ASSERT_TRUE(test::PdfPageSize(pdf, width, height, "reader pass"));
    // A5 landscape: 210 × 148.5 mm as the page dialog stores it in centimetres.
    EXPECT_NEAR(width, 595.3, 1.5);
    EXPECT_NEAR(height, 420.9, 1.5);
    const std::string fonts = test::PdfFonts(pdf, "reader pass");
    EXPECT_NE(fonts.find("DejaVuSerif-Bold"), std::string::npos) << fonts;
    prompt.Finish();
    parts.ShutDown();
}

} // namespace
} // namespace slidemill
