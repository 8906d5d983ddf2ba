#include "ui/PdxAdvancedOptionsDialog.h"

#include "DialogPages.h"
#include "support/ScriptedPrompt.h"
#include "ui/FontDialog.h"
#include "ui/ParagraphDialog.h"
#include "ui/PdxPageDialog.h"
#include "ui/PdxPdfOptionsDialog.h"

#include <QApplication>
#include <QSpinBox>
#include <QTimer>

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

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
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

    // Clicks a change button; work runs on the dialog it opens (of type D), which must close.
    template <class D> void ChangeWith(const char* button, const std::function<void(D&)>& work) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* open = qobject_cast<D*>(modal);
            if (!open) {
                ADD_FAILURE() << button << " opened no dialog of the expected kind";
                if (modal && modal != dialog.get())
                    modal->close();
                return;
            }
            seen = true;
            work(*open);
            if (open->isVisible()) {
                ADD_FAILURE() << "the dialog of " << button << " was left open";
                open->reject();
            }
        });
        Get<QPushButton>(button)->click();
        EXPECT_TRUE(seen) << button;
    }
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

TEST_F(PdxAdvancedOptionsDialogTest, ParagraphAndFontEditsReachTheFieldsOnlyOnApply) {
    mother.bOverrideParagraphSettings = true;
    mother.bOverrideFontSettings = true;
    mother.lPdxAlignment = 0;
    mother.lPdxFontSize = 12;
    const PdfOptions before = mother;
    for (const bool apply : {false, true}) {
        Open();
        dialog->show();
        ChangeWith<ParagraphDialog>("cmdChangeParagraphSettings", [](ParagraphDialog& open) {
            open.findChild<QComboBox*>("cboAlignment")->setCurrentIndex(2);
            open.findChild<QPushButton*>("cmdOk")->click();
        });
        ChangeWith<FontDialog>("cmdChangeFontSettings", [](FontDialog& open) {
            open.findChild<QSpinBox*>("spnFontSize")->setValue(18);
            open.findChild<QPushButton*>("cmdOk")->click();
        });
        EXPECT_EQ(dialog->Working().lPdxAlignment, 2);
        EXPECT_EQ(dialog->Working().lPdxFontSize, 18);
        EXPECT_EQ(mother, before) << "nothing reaches the fields before Apply";
        EXPECT_EQ(dialog->focusWidget(), Get<QWidget>("cmdChangeFontSettings"));
        if (!apply) {
            Get<QPushButton>("cmdCancel")->click();
            EXPECT_EQ(mother, before);
            continue;
        }
        Get<QPushButton>("cmdApply")->click();
        EXPECT_EQ(mother.lPdxAlignment, 2);
        EXPECT_EQ(mother.lPdxFontSize, 18);
    }
}

TEST_F(PdxAdvancedOptionsDialogTest, AGroupSwitchedOffOnApplyKeepsItsStoredValues) {
    mother.bOverrideFontSettings = true;
    mother.lPdxFontSize = 12;
    Open();
    dialog->show();
    ChangeWith<FontDialog>("cmdChangeFontSettings", [](FontDialog& open) {
        open.findChild<QSpinBox*>("spnFontSize")->setValue(30);
        open.findChild<QPushButton*>("cmdOk")->click();
    });
    Box("chkOverrideFontSettings")->click();
    Get<QPushButton>("cmdApply")->click();
    EXPECT_FALSE(mother.bOverrideFontSettings);
    EXPECT_EQ(mother.lPdxFontSize, 12);
}

TEST_F(PdxAdvancedOptionsDialogTest, PageAndPasswordDialogsStoreIntoTheFieldsThemselves) {
    mother.bOverridePageSettings = true;
    mother.bOverridePDFSettings = true;
    mother.bPdxPortrait = true;
    Open();
    dialog->show();
    ChangeWith<PdxPageDialog>("cmdChangePageSettings", [](PdxPageDialog& open) {
        open.findChild<QRadioButton*>("optLandscape")->click();
        open.findChild<QPushButton*>("cmdApply")->click();
    });
    EXPECT_FALSE(mother.bPdxPortrait);
    EXPECT_EQ(dialog->focusWidget(), Get<QWidget>("cmdChangePageSettings"));
    ChangeWith<PdxPdfOptionsDialog>("cmdChangePDFSettings", [](PdxPdfOptionsDialog& open) {
        open.findChild<QCheckBox*>("chkOpenPassword")->click();
        open.findChild<QLineEdit*>("txtOpenPassword")->setText("sesame");
        open.findChild<QPushButton*>("cmdOk")->click();
    });
    EXPECT_EQ(mother.sPdxPDFUserPassword, "sesame");
    // The outer dialog's Cancel does not take back what those dialogs stored.
    Get<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(mother.bPdxPortrait);
    EXPECT_EQ(mother.sPdxPDFUserPassword, "sesame");
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


// Visible texts whose control is narrower than the text needs, as "name: text".
std::vector<std::string> ClippedTexts(QWidget& page) {
    std::vector<std::string> clipped;
    for (QWidget* w : page.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        if (!text.isEmpty() && w->width() < w->sizeHint().width())
            clipped.push_back(w->objectName().toStdString() + ": " + text.toStdString());
    }
    return clipped;
}

TEST(AdvancedOptionsDialogs, EveryPageOfBothDialogsShowsItsTextsWhole) {
    PdfOptions o;
    o.bOverridePageSettings = o.bOverrideParagraphSettings = o.bOverrideFontSettings = true;
    o.bOverridePDFSettings = o.bOverrideImageSettings = true;
    test::ScriptedPrompt prompt;
    PdxAdvancedOptionsDialog pdx(o, prompt);
    CheckEveryPage(pdx, *pdx.findChild<QTabWidget*>("tabPdxOptions"));
}

} // namespace
} // namespace slidemill

namespace slidemill {

void CheckEveryPage(QDialog& dialog, QTabWidget& tabs) {
    dialog.show();
    for (int i = 0; i < tabs.count(); ++i) {
        tabs.setCurrentIndex(i);
        QApplication::processEvents();
        const auto clipped = ClippedTexts(dialog);
        EXPECT_TRUE(clipped.empty()) << dialog.objectName().toStdString() << " page " << i << ": "
                                     << clipped.front();
        if (const char* grabs = std::getenv("SLIDEMILL_DIALOG_GRAB"))
            dialog.grab().save(QString("%1/%2-%3.png").arg(grabs, dialog.objectName()).arg(i));
    }
    dialog.hide();
}

} // namespace slidemill
