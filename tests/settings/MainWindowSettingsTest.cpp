#include "settings/MainWindowSettings.h"
#include "settings/FramePlacement.h"
#include "settings/IniFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace slidemill;
using slidemill::test::ReadWholeFile;
using slidemill::test::TempFolder;

namespace {

struct MainWindowSettingsTest : ::testing::Test {
    TempFolder folder{"main-settings"};
    std::string path = folder.str() + "SLML_SearchHistory.INI";
    IniFile ini{path};

    MainWindowSettings ReadWith(const std::string& frmMainLines, bool commandLineMode = false) {
        folder.file("SLML_SearchHistory.INI", "[frmMain]\n" + frmMainLines);
        return ReadMainWindowSettings(ini, commandLineMode);
    }

    // Every value differs from its default, every override is on.
    static MainWindowSettings Changed() {
        MainWindowSettings s;
        s.chkPersistRunning = 0;
        s.bConvertAllSlides = false;
        s.lFromSlide = 3;
        s.lToSlide = 9;
        s.bCreateFileForEachSlide = true;
        s.bPDFTextOnly = false;
        s.bShowSlideAndShape = true;
        s.bIncludeNotesPage = true;
        s.bIncludeNotesOnly = true;
        s.pdx.glnMeasurement = 2;
        s.pdx.bOverrideFontSettings = true;
        s.pdx.lPdxBaseLine = 4;
        s.pdx.lPdxFontBold = 1;
        s.pdx.lPdxFontSize = 14;
        s.pdx.lPdxForeColor = 0xFF00;
        s.pdx.sPdxFontName = "DejaVu Sans";
        s.pdx.bOverridePageSettings = true;
        s.pdx.lPdxPageMarginL = 720;
        s.pdx.lPdxPageMarginB = 567;
        s.pdx.lPdxPageWidth = 11906;
        s.pdx.lPdxPageHeight = 16837;
        s.pdx.lPdxStyleSheetOption = 3;
        s.pdx.sPdxStyleSheetFile = "/styles/a b.css";
        s.pdx.bPdxPortrait = false;
        s.pdx.bOverrideParagraphSettings = true;
        s.pdx.lPdxAlignment = 3;
        s.pdx.lPdxLineSpacingT = 240;
        s.pdx.lPdxIndentFL = -360;
        s.pdx.bOverridePDFSettings = true;
        s.pdx.sPdxPDFUserPassword = "open sesame";
        s.pdx.sPdxPDFMasterPassword = "p=w;[x]";
        s.pdx.lDocAccessPermissions = 0x80 | 0x08 | 0x10;
        s.pdx.bOverrideImageSettings = true;
        s.pdx.lImageComparessionQuality = 75;
        s.pdx.lImageMaxResolution = 150;
        s.bDeleteOriginalFileAfterProcessing = true;
        s.bMoveOriginalFileAfterProcessing = true;
        s.sMoveFileToFolder = "/done/";
        s.mnuOptimizeForSpeed = false;
        s.fgLogColWidths[6] = 5000;
        s.fgToDoColWidths[9] = 100;
        s.lConversionMethod = 1;
        s.sActionToDo = "S56";
        s.cbSpecialProcessesListIndex = 4;
        s.cbCommandLineWindowStateListIndex = 2;
        s.cbCommandLineThreadPriorityListIndex = 0;
        s.txtCommandLineWaitTimeInSeconds = "30";
        s.cbFileTypeTargetListIndex = 7;
        s.cbFileTypeOriginalListIndex = 0;
        s.cbDoSubfolders = 1;
        s.cbDoSubfoldersSpecialized = 1;
        s.cbCaseSensitive = 0;
        s.cbFileTypeOriginalSpecializedListIndex = 5;
        return s;
    }
};

} // namespace

TEST_F(MainWindowSettingsTest, FreshProfileGivesTheBuiltInDefaults) {
    const MainWindowSettings s = ReadMainWindowSettings(ini, false);
    EXPECT_TRUE(s.bConvertAllSlides);
    EXPECT_EQ(s.lFromSlide, 1);
    EXPECT_EQ(s.lToSlide, 2);
    EXPECT_TRUE(s.bPDFTextOnly);
    EXPECT_EQ(s.pdx.sPdxFontName, "Courier New");
    EXPECT_EQ(s.pdx.lPdxPageMarginL, 1440);
    EXPECT_EQ(s.pdx.lPdxPageMarginB, 1440);
    EXPECT_EQ(s.pdx.lPdxPageWidth, 12240);
    EXPECT_EQ(s.pdx.lPdxPageHeight, 15840);
    EXPECT_EQ(s.pdx.lImageMaxResolution, 300);
    EXPECT_EQ(s.pdx.glnMeasurement, 1);
    EXPECT_EQ(s.sActionToDo, "C");
    EXPECT_EQ(s.cbFileTypeOriginalListIndex, 2);
    EXPECT_EQ(s.txtCommandLineWaitTimeInSeconds, "-1");
    EXPECT_EQ(s.cbCaseSensitive, 1);
    EXPECT_TRUE(s.mnuOptimizeForSpeed);
    EXPECT_EQ(s.fgLogColWidths, (GridColumnWidths{0, 450, 615, 0, 0, 0, 3875, 0, 555, 615}));
    EXPECT_EQ(s.fgToDoColWidths, (GridColumnWidths{0, 450, 540, 3000, 0, 675, 3000, 0, 690, 660}));
    EXPECT_EQ(s, MainWindowSettings{});
    const auto placement = ReadFramePlacement(ini, false);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(*placement, (FramePlacement{0, 150, 150, 13000, 9405}));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(MainWindowSettingsTest, FlagsIgnoreCaseExceptTheMemoryMode) {
    auto s = ReadWith("bCreateFileForEachSlide=true\nbPDFTextOnly=yes\nbIncludeNotesPage=True\n"
                      "mnuOptimizeForSpeed=True\n");
    EXPECT_TRUE(s.bCreateFileForEachSlide);
    EXPECT_FALSE(s.bPDFTextOnly);
    EXPECT_TRUE(s.bIncludeNotesPage);
    EXPECT_FALSE(s.mnuOptimizeForSpeed);
    EXPECT_TRUE(ReadWith("mnuOptimizeForSpeed=TRUE\n").mnuOptimizeForSpeed);
    EXPECT_FALSE(ReadWith("mnuOptimizeForSpeed=true\n").mnuOptimizeForSpeed);
}

TEST_F(MainWindowSettingsTest, NumbersHoldingTextFallBackToTheirDefaults) {
    const auto s = ReadWith("lFromSlide=abc\nlToSlide=12abc\nlPdxPageWidth= 11906 \nlPdxIndentL=-720\n"
                            "glnMeasurement=70000\nlImageComparessionQuality=\nlImageMaxResolution=1e3\n"
                            "lConversionMethod=99999999999\ntxtCommandLineWaitTimeInSeconds=soon\n"
                            "cbCaseSensitive=+0\n");
    EXPECT_EQ(s.lFromSlide, 1);
    EXPECT_EQ(s.lToSlide, 2);
    EXPECT_EQ(s.pdx.lPdxPageWidth, 11906);
    EXPECT_EQ(s.pdx.lPdxIndentL, -720);
    EXPECT_EQ(s.pdx.glnMeasurement, 1);
    EXPECT_EQ(s.pdx.lImageComparessionQuality, 0);
    EXPECT_EQ(s.pdx.lImageMaxResolution, 300);
    EXPECT_EQ(s.lConversionMethod, 2);
    EXPECT_EQ(s.txtCommandLineWaitTimeInSeconds, "-1");
    EXPECT_EQ(s.cbCaseSensitive, 0);
}

TEST_F(MainWindowSettingsTest, DamagedFileStillReads) {
    // Not UTF-8, duplicate sections and keys, lines without "=", an overlong value.
    folder.file("SLML_SearchHistory.INI", std::string("\xFF\xFE garbage\n[frmMain]\nno equals here\n"
                                                      "lFromSlide=5\nlFromSlide=6\nsMoveFileToFolder=") +
                                              std::string(700, 'd') +
                                              "\n[FRMMAIN]\nlToSlide=8\n"
                                              "sPdxFontName=\xC0\xC1\n");
    const auto s = ReadMainWindowSettings(ini, false);
    EXPECT_EQ(s.lFromSlide, 5);
    EXPECT_EQ(s.lToSlide, 2);
    EXPECT_EQ(s.sMoveFileToFolder, std::string(499, 'd'));
    EXPECT_EQ(s.pdx.sPdxFontName, "Courier New");
}

TEST_F(MainWindowSettingsTest, EverythingRoundTripsWhenTheOverridesAreOn) {
    const MainWindowSettings changed = Changed();
    ASSERT_TRUE(SaveMainWindowSettings(ini, changed, false));
    EXPECT_EQ(ReadMainWindowSettings(ini, false), changed);
    // The scheduler's own key is read, never written by the main window.
    EXPECT_FALSE(ini.Find("frmScheduler", "chkPersistRunning").has_value());
    IniFile(path).WriteString("frmScheduler", "chkPersistRunning", "1");
    EXPECT_EQ(ReadMainWindowSettings(ini, false).chkPersistRunning, 1);
}

TEST_F(MainWindowSettingsTest, OverrideOffWritesOnlyTheFlagAndKeepsStoredValues) {
    MainWindowSettings s = Changed();
    ASSERT_TRUE(SaveMainWindowSettings(ini, s, false));
    s.pdx.bOverrideFontSettings = false;
    s.pdx.sPdxFontName = "Times";
    s.pdx.lPdxFontSize = 99;
    s.pdx.bOverridePDFSettings = false;
    s.pdx.sPdxPDFUserPassword = "";
    ASSERT_TRUE(SaveMainWindowSettings(ini, s, false));
    EXPECT_EQ(ini.ReadString("frmMain", "bOverrideFontSettings", ""), "FALSE");
    EXPECT_EQ(ini.ReadString("frmMain", "sPdxFontName", ""), "DejaVu Sans");
    const auto back = ReadMainWindowSettings(ini, false);
    EXPECT_FALSE(back.pdx.bOverrideFontSettings);
    EXPECT_EQ(back.pdx.sPdxFontName, "DejaVu Sans");
    EXPECT_EQ(back.pdx.lPdxFontSize, 14);
    EXPECT_EQ(back.pdx.sPdxPDFUserPassword, "open sesame");
    EXPECT_TRUE(back.pdx.bOverridePageSettings);
}

TEST_F(MainWindowSettingsTest, FreshSaveWritesKeysInSaveOrderAndSkipsGroupsThatAreOff) {
    ASSERT_TRUE(SaveMainWindowSettings(ini, MainWindowSettings{}, false));
    const std::string text = ReadWholeFile(path);
    const auto at = [&](const std::string& line) { return text.find("\n" + line + "\n"); };
    ASSERT_EQ(text.rfind("[frmMain]\nmnuOptimizeForSpeed=TRUE\nfgLog.ColWidth(1)=450\n", 0), 0u);
    EXPECT_LT(at("fgToDo.ColWidth(9)=660"), at("cbFileTypeOriginal.ListIndex=2"));
    EXPECT_LT(at("txtCommandLineWaitTimeInSeconds=-1"), at("sActionToDO=C"));
    EXPECT_LT(at("sMoveFileToFolder="), at("bConvertAllSlides=TRUE"));
    EXPECT_LT(at("bIncludeNotesOnly=FALSE"), at("glnMeasurement=1"));
    EXPECT_LT(at("glnMeasurement=1"), at("bOverrideFontSettings=FALSE"));
    EXPECT_NE(at("bOverrideImageSettings=FALSE"), std::string::npos);
    EXPECT_EQ(text.find("lPdx"), std::string::npos);
    EXPECT_EQ(text.find("Password"), std::string::npos);
    EXPECT_EQ(text.find("fgLog.ColWidth(3)"), std::string::npos);
}

TEST_F(MainWindowSettingsTest, CommandLineModeReadsNoWindowKeysAndWritesNothing) {
    folder.file("SLML_SearchHistory.INI", "[frmMain]\r\nfgLog.ColWidth(6)=9999\r\nlFromSlide=4\r\n"
                                          "[frmMainMDI]\r\nWindowState=2\r\n");
    const std::string before = ReadWholeFile(path);
    const auto s = ReadMainWindowSettings(ini, true);
    EXPECT_EQ(s.fgLogColWidths[6], 3875);
    EXPECT_EQ(s.lFromSlide, 4);
    EXPECT_FALSE(ReadFramePlacement(ini, true).has_value());

    EXPECT_TRUE(SaveMainWindowSettings(ini, Changed(), true));
    EXPECT_TRUE(SaveFramePlacement(ini, FramePlacement{0, 1, 2, 3, 4}, true));
    EXPECT_EQ(ReadWholeFile(path), before);
    // The same saves outside command-line mode do change it.
    EXPECT_EQ(ReadMainWindowSettings(ini, false).fgLogColWidths[6], 9999);
    ASSERT_TRUE(SaveMainWindowSettings(ini, Changed(), false));
    EXPECT_NE(ReadWholeFile(path), before);
}

TEST_F(MainWindowSettingsTest, SavingWithoutASettingsFileFailsQuietly) {
    IniFile none;
    EXPECT_FALSE(SaveMainWindowSettings(none, Changed(), false));
    EXPECT_EQ(ReadMainWindowSettings(none, false), MainWindowSettings{});
    IniFile missingFolder(folder.str() + "gone/SLML_SearchHistory.INI");
    EXPECT_FALSE(SaveMainWindowSettings(missingFolder, Changed(), false));
    EXPECT_FALSE(SaveFramePlacement(missingFolder, FramePlacement{}, false));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(MainWindowSettingsTest, StoredListPositionsAreCheckedAgainstTheirCombo) {
    // Target type: a position past the last item keeps the combo where it is.
    EXPECT_EQ(TargetTypePosition(4, 5, 2), 4);
    EXPECT_EQ(TargetTypePosition(5, 5, 2), 2);
    EXPECT_EQ(TargetTypePosition(-3, 5, 2), 2);
    EXPECT_EQ(TargetTypePosition(0, 0, -1), -1);
    // Specialised original type: past the last item selects the first.
    EXPECT_EQ(SpecializedOriginalTypePosition(2, 3), 2);
    EXPECT_EQ(SpecializedOriginalTypePosition(3, 3), 0);
    EXPECT_EQ(SpecializedOriginalTypePosition(-1, 3), 0);
    EXPECT_EQ(StoredListPosition(6, 6, 1), 1);
    EXPECT_EQ(StoredListPosition(5, 6, 1), 5);
}

TEST_F(MainWindowSettingsTest, ConversionReadsTheStoredOptions) {
    const auto s = ReadWith("bShowSlideAndShape=TRUE\nbIncludeNotesOnly=TRUE\nbPDFTextOnly=FALSE\n"
                            "bMoveOriginalFileAfterProcessing=TRUE\nsMoveFileToFolder=/done\n"
                            "bDeleteOriginalFileAfterProcessing=FALSE\n");
    const ConversionSettings c = ToConversionSettings(s);
    EXPECT_TRUE(c.bShowSlideAndShape);
    EXPECT_FALSE(c.bIncludeNotesPage);
    EXPECT_TRUE(c.bIncludeNotesOnly);
    EXPECT_FALSE(c.bPDFTextOnly);
    EXPECT_TRUE(c.bMoveOriginalFileAfterProcessing);
    EXPECT_EQ(c.sMoveFileToFolder, "/done");
    EXPECT_FALSE(c.bDeleteOriginalFileAfterProcessing);
}

TEST_F(MainWindowSettingsTest, MaximisedWindowKeepsItsLastNormalPlacement) {
    ASSERT_TRUE(SaveFramePlacement(ini, FramePlacement{0, 300, 400, 10000, 8000}, false));
    ASSERT_TRUE(SaveFramePlacement(ini, FramePlacement{2, -60, -60, 20000, 15000}, false));
    const auto back = ReadFramePlacement(ini, false);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, (FramePlacement{2, 300, 400, 10000, 8000}));
    EXPECT_FALSE(PlacementAppliesGeometry(*back));
    EXPECT_TRUE(PlacementAppliesGeometry(FramePlacement{}));
    EXPECT_FALSE(PlacementAppliesGeometry(FramePlacement{1, 0, 0, 1, 1}));
}

TEST_F(MainWindowSettingsTest, OddWindowStatesReadAsNormalAndOffScreenWindowsRecover) {
    folder.file("SLML_SearchHistory.INI", "[frmMainMDI]\nWindowState=7\nLeft=x\nTop=120000\n");
    const auto p = ReadFramePlacement(ini, false);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->WindowState, 0);
    EXPECT_EQ(p->Left, 150);
    EXPECT_TRUE(PlacementNeedsRecovery(*p));
    EXPECT_FALSE(PlacementNeedsRecovery(FramePlacement{0, 0, 99000, 1, 1}));
    EXPECT_FALSE(PlacementNeedsRecovery(FramePlacement{2, 0, 120000, 1, 1}));
}
