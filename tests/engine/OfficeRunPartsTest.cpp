#include "engine/OfficeRunParts.h"
#include "EngineTestSupport.h"
#include "settings/IniFile.h"
#include "settings/MainWindowSettings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace slidemill {
namespace {

// The program's parts read the settings file at every ReadSettings, never at construction
// only: the conversion's view, the speed-or-memory choice and the stored "PDF - with options"
// values all follow a change made between two reads. Nothing here starts an office.
TEST(OfficeRunParts, EveryReadTakesUpTheSettingsFileAsItIsNow) {
    test::TempFolder t("parts");
    const std::string path = t.str() + "settings.ini";
    MainWindowSettings stored;
    stored.bDeleteOriginalFileAfterProcessing = true;
    stored.bPDFTextOnly = false;
    stored.mnuOptimizeForSpeed = false;
    {
        IniFile ini(path);
        ASSERT_TRUE(SaveMainWindowSettings(ini, stored, /*commandLineMode=*/false));
    }
    OfficeRunParts parts(test::TestEngineOptions(), path);
    ConversionSettings read = parts.ReadSettings();
    EXPECT_TRUE(read.bDeleteOriginalFileAfterProcessing);
    EXPECT_FALSE(read.bPDFTextOnly);
    EXPECT_FALSE(parts.Component().OptimizeForSpeed());
    ASSERT_NE(parts.RichText(), nullptr) << "the special processes need Writer";

    stored.bDeleteOriginalFileAfterProcessing = false;
    stored.bPDFTextOnly = true;
    stored.mnuOptimizeForSpeed = true;
    {
        IniFile ini(path);
        ASSERT_TRUE(SaveMainWindowSettings(ini, stored, /*commandLineMode=*/false));
    }
    read = parts.ReadSettings();
    EXPECT_FALSE(read.bDeleteOriginalFileAfterProcessing);
    EXPECT_TRUE(read.bPDFTextOnly);
    EXPECT_TRUE(parts.Component().OptimizeForSpeed());
}

// A missing settings file is a fresh profile: its defaults (which make "PDF - with options"
// from the slide outline), not a failure.
TEST(OfficeRunParts, MissingSettingsFileGivesTheDefaults) {
    test::TempFolder t("parts-none");
    OfficeRunParts parts(test::TestEngineOptions(), t.str() + "absent.ini");
    const ConversionSettings read = parts.ReadSettings();
    EXPECT_TRUE(read.bPDFTextOnly);
    EXPECT_FALSE(read.bDeleteOriginalFileAfterProcessing);
}

// The window hands its own values over after each read: they are what the user set, so a
// settings file that could not be read no longer blocks "PDF - with options".
TEST(OfficeRunParts, TheWindowsPdfOptionsCountAsRead) {
    test::TempFolder t("parts-window");
    const std::string path = t.str() + "settings.ini";
    std::filesystem::create_directories(path); // a folder: unreadable for every user
    OfficeRunParts parts(test::TestEngineOptions(), path);
    parts.ReadSettings();
    EXPECT_NE(parts.SettingsProblem(), "");
    PdfOptions window;
    window.bOverridePDFSettings = true;
    window.sPdxPDFUserPassword = "window";
    parts.UsePdfOptions(window);
    EXPECT_EQ(parts.SettingsProblem(), "");
    // The next read is the file's again.
    parts.ReadSettings();
    EXPECT_NE(parts.SettingsProblem(), "");
}

} // namespace
} // namespace slidemill
