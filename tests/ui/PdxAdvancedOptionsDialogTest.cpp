#include "ui/PdxAdvancedOptionsDialog.h"

#include "support/ScriptedPrompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace slidemill {
namespace {

class PdxAdvancedOptionsDialogTest : public ::testing::Test {
protected:
    PdfOptions mother;
    test::ScriptedPrompt prompt;
    std::unique_ptr<PdxAdvancedOptionsDialog> dialog;

    void TearDown() override { prompt.Finish(); }
    void Open() { dialog = std::make_unique<PdxAdvancedOptionsDialog>(mother, prompt); }
    template <class T> T* Get(const char* name) {
        T* child = dialog->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            ADD_FAILURE() << "the dialog has no " << name;
        return child;
    }
    QCheckBox* Box(const char* name) { return Get<QCheckBox>(name); }
    bool Hidden(const char* name) { return Get<QWidget>(name)->isHidden(); }
    QTabWidget* Tabs() { return Get<QTabWidget>("tabPdxOptions"); }
};

TEST_F(PdxAdvancedOptionsDialogTest, ThePagesTheirCaptionsAndTheStoredChoices) {
    mother.bOverrideParagraphSettings = true;
    mother.bOverridePDFSettings = true;
    mother.bOverrideImageSettings = true;
    mother.lImageComparessionQuality = 85;
    mother.lImageMaxResolution = 150;
    mother.glnMeasurement = 2;
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Advanced Options");
    EXPECT_EQ(Get<QLabel>("lblHeading")->text(), "The target file can be modfied by changing the settings below:");
    ASSERT_EQ(Tabs()->count(), 5);
    EXPECT_EQ(Tabs()->tabText(0), "Page And Document Settings");
    EXPECT_EQ(Tabs()->tabText(1), "Paragraph Formatting");
    EXPECT_EQ(Tabs()->tabText(2), "Font");
    EXPECT_EQ(Tabs()->tabText(3), "PDF Options");
    EXPECT_EQ(Tabs()->tabText(4), "Image Quality");
    EXPECT_EQ(Tabs()->currentIndex(), 0);

    EXPECT_FALSE(Box("chkOverridePageSettings")->isChecked());
    EXPECT_TRUE(Box("chkOverrideParagraphSettings")->isChecked());
    EXPECT_FALSE(Box("chkOverrideFontSettings")->isChecked());
    EXPECT_TRUE(Box("chkOverridePDFSettings")->isChecked());
    EXPECT_TRUE(Box("chkOverrideImageSettings")->isChecked());
    EXPECT_EQ(Box("chkOverridePageSettings")->text(), "Enforce &Page And Document Settings");
    EXPECT_EQ(Box("chkOverrideFontSettings")->text(), "Enforce &Font");
    EXPECT_TRUE(Hidden("cmdChangePageSettings"));
    EXPECT_FALSE(Hidden("cmdChangeParagraphSettings"));
    EXPECT_TRUE(Hidden("cmdChangeFontSettings"));
    EXPECT_FALSE(Hidden("cmdChangePDFSettings"));
    EXPECT_FALSE(Hidden("fraImageSettings"));

    auto* quality = Get<QComboBox>("cboImageCompressionQuality");
    ASSERT_EQ(quality->count(), 101);
    for (int i = 0; i <= 100; ++i)
        ASSERT_EQ(quality->itemText(i), QString::number(i));
    EXPECT_EQ(quality->currentIndex(), 85);
    EXPECT_EQ(Get<QLineEdit>("txtImageMaxResolution")->text(), "150");
    EXPECT_TRUE(Get<QRadioButton>("optUnitsMetric")->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("optUnitsEnglish")->isChecked());
}

TEST_F(PdxAdvancedOptionsDialogTest, EachChangeButtonShowsOnlyWhileItsGroupIsEnforced) {
    Open();
    const std::pair<const char*, const char*> groups[] = {
        {"chkOverridePageSettings", "cmdChangePageSettings"},
        {"chkOverrideParagraphSettings", "cmdChangeParagraphSettings"},
        {"chkOverrideFontSettings", "cmdChangeFontSettings"},
        {"chkOverridePDFSettings", "cmdChangePDFSettings"},
        {"chkOverrideImageSettings", "fraImageSettings"},
    };
    for (const auto& [box, shown] : groups) {
        EXPECT_TRUE(Hidden(shown)) << shown;
        Box(box)->click();
        EXPECT_FALSE(Hidden(shown)) << shown;
        Box(box)->click();
        EXPECT_TRUE(Hidden(shown)) << shown;
    }
}

TEST_F(PdxAdvancedOptionsDialogTest, ApplyStoresTheFlagsAndTheImageQuality) {
    Open();
    for (const char* box : {"chkOverridePageSettings", "chkOverrideParagraphSettings", "chkOverrideFontSettings",
                            "chkOverridePDFSettings", "chkOverrideImageSettings"})
        Box(box)->click();
    Get<QComboBox>("cboImageCompressionQuality")->setCurrentIndex(42);
    Get<QLineEdit>("txtImageMaxResolution")->setText("96");
    Get<QPushButton>("cmdApply")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(mother.bOverridePageSettings);
    EXPECT_TRUE(mother.bOverrideParagraphSettings);
    EXPECT_TRUE(mother.bOverrideFontSettings);
    EXPECT_TRUE(mother.bOverridePDFSettings);
    EXPECT_TRUE(mother.bOverrideImageSettings);
    EXPECT_EQ(mother.lImageComparessionQuality, 42);
    EXPECT_EQ(mother.lImageMaxResolution, 96);
    // Nothing edited the paragraph or font values: enforcing them keeps what was stored.
    EXPECT_EQ(mother.sPdxFontName, PdfOptions{}.sPdxFontName);
    EXPECT_EQ(mother.lPdxIndentL, PdfOptions{}.lPdxIndentL);

    // Switching everything off again keeps the values for later.
    Open();
    for (const char* box : {"chkOverridePageSettings", "chkOverrideParagraphSettings", "chkOverrideFontSettings",
                            "chkOverridePDFSettings", "chkOverrideImageSettings"})
        Box(box)->click();
    Get<QComboBox>("cboImageCompressionQuality")->setCurrentIndex(7);
    Get<QPushButton>("cmdApply")->click();
    EXPECT_FALSE(mother.bOverridePageSettings);
    EXPECT_FALSE(mother.bOverrideImageSettings);
    EXPECT_EQ(mother.lImageComparessionQuality, 42) << "the image values are read only while enforced";
}

TEST_F(PdxAdvancedOptionsDialogTest, AResolutionThatIsNoNumberLeavesTheStoredOne) {
    mother.bOverrideImageSettings = true;
    mother.lImageMaxResolution = 220;
    Open();
    Get<QLineEdit>("txtImageMaxResolution")->setText("high");
    Get<QComboBox>("cboImageCompressionQuality")->setCurrentIndex(0);
    Get<QPushButton>("cmdApply")->click();
    EXPECT_EQ(mother.lImageMaxResolution, 220);
    EXPECT_EQ(mother.lImageComparessionQuality, 0);
}

TEST_F(PdxAdvancedOptionsDialogTest, TheUnitTakesEffectAtOnceAndCancelStoresNothingElse) {
    for (const bool escape : {false, true}) {
        mother = PdfOptions{};
        Open();
        EXPECT_TRUE(Get<QRadioButton>("optUnitsEnglish")->isChecked());
        Get<QRadioButton>("optUnitsMetric")->click();
        EXPECT_EQ(mother.glnMeasurement, 2);
        EXPECT_EQ(dialog->Working().glnMeasurement, 2) << "the paragraph lengths follow the unit";
        Box("chkOverrideFontSettings")->click();
        Box("chkOverrideImageSettings")->click();
        Get<QComboBox>("cboImageCompressionQuality")->setCurrentIndex(30);
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            Get<QPushButton>("cmdCancel")->click();
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        PdfOptions expected;
        expected.glnMeasurement = 2;
        EXPECT_EQ(mother, expected) << (escape ? "escape" : "cancel");
    }
    Open();
    Get<QRadioButton>("optUnitsEnglish")->click();
    EXPECT_EQ(mother.glnMeasurement, 1);
}

TEST_F(PdxAdvancedOptionsDialogTest, CtrlTabCyclesTheFivePages) {
    Open();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(dialog.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Tabs()->currentIndex(), 4);
    QTest::keyClick(dialog.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    QTest::keyClick(dialog.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Tabs()->currentIndex(), 1);
}

} // namespace
} // namespace slidemill
