#include "core/FileTypes.h"
#include "core/ConversionOptions.h"
#include "settings/IniFile.h"

#include "support/FakeComponent.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace slidemill;

TEST(ConversionOptions, FreshRecordHasTheDocumentedDefaults) {
    const clsConversionOptions record;
    EXPECT_EQ(record.sActionToDo, "C");
    EXPECT_EQ(record.lOriginalFileType, -12345678);
    EXPECT_EQ(record.lTargetFileType, -12345678);
    EXPECT_EQ(record.lConversionMethod, 2);
    EXPECT_TRUE(record.bCaseSensitive);
    EXPECT_TRUE(record.bConvertAllSlides);
    EXPECT_EQ(record.lCommandLineThreadPriority, 32);
    EXPECT_EQ(record.lCommandLineWindowState, 1);
    EXPECT_EQ(record.lCommandLineWaitTime, -1);
    EXPECT_FALSE(record.bDoSubfolders || record.bSaveInOriginalFolder || record.bCreateFileForEachSlide);
    EXPECT_EQ(record.lErr, 0);
    EXPECT_TRUE(record.sErr.empty() && record.sSubFolder.empty() && record.sOriginalFile.empty());
}

TEST(ActionKinds, LetterIsSearchedConversionFirst) {
    EXPECT_TRUE(IsConversionAction("C"));
    EXPECT_FALSE(IsSpecialAction("C"));
    EXPECT_TRUE(IsSpecialAction("S56"));
    EXPECT_FALSE(IsConversionAction("S56"));
    EXPECT_FALSE(IsSpecialAction(""));
}

TEST(TypeCodeToText, PerMethod) {
    test::FakeComponent component;
    EXPECT_EQ(TypeCodeToText(300, true, kMethodComponent, &component), "pdf");
    EXPECT_EQ(TypeCodeToText(32, false, kMethodComponent, &component), "pdf");
    EXPECT_EQ(TypeCodeToText(24, true, kMethodComponent, &component), "*.pptx");
    EXPECT_EQ(TypeCodeToText(999, false, kMethodComponent, &component), "");
    EXPECT_EQ(TypeCodeToText(32, false, kMethodComponent, nullptr), "");
    EXPECT_EQ(TypeCodeToText(6, true, kMethodSpecial, nullptr), "*.TXT");
    EXPECT_EQ(TypeCodeToText(1, false, kMethodSpecial, nullptr), "TXT");
    EXPECT_EQ(TypeCodeToText(7, false, kMethodSpecial, nullptr), "");
    EXPECT_EQ(TypeCodeToText(7, true, kMethodSpecial, nullptr), "");
    EXPECT_EQ(TypeCodeToText(32, false, kMethodWord, &component), "");
    EXPECT_EQ(TypeCodeToText(32, false, kMethodFromPdf, &component), "");
}

TEST(SpecialTypeExtension, CoversListedAndHiddenCodes) {
    const std::pair<int, const char*> expected[] = {{1, "TXT"},  {2, "TXT"}, {4, "HTM"},  {5, "RTF"},
                                                    {6, "TXT"},  {9, "DOC"}, {10, "XML"}, {11, "CSS"},
                                                    {12, "PDF"}, {3, ""}};
    for (const auto& [code, extension] : expected)
        EXPECT_EQ(SpecialTypeExtension(code), extension) << code;
}

TEST(TargetList, ComponentFormatsFollowPdfWithOptions) {
    test::FakeComponent component;
    component.formats = {
        {5, "Design template", "pot"}, {32, "PDF", "pdf"}, {106, "RTF with pictures", "rtf"}};
    const TypeList list = ComponentTargetList(component);
    ASSERT_EQ(list.entries.size(), 4u);
    EXPECT_EQ(list.entries[0], (TypeListEntry{"[300] PDF - with options", 300}));
    EXPECT_EQ(list.entries[1], (TypeListEntry{"[005] Design template", 5}));
    EXPECT_EQ(list.entries[2], (TypeListEntry{"[032] PDF", 32}));
    EXPECT_EQ(list.entries[3], (TypeListEntry{"[106] RTF with pictures", 106}));
    EXPECT_EQ(list.selected, 1);
}

TEST(TargetList, NoComponentFormatsAsksToInstall) {
    test::FakeComponent component;
    component.formats.clear();
    const TypeList list = ComponentTargetList(component);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].value, 300);
    EXPECT_EQ(list.entries[1], (TypeListEntry{"!! Please install MS PowerPoint !!", 0}));
    EXPECT_EQ(list.selected, 0);
}

TEST(EditorLists, OrderValuesAndDefaultSelection) {
    const TypeList special = SpecialProcessList();
    ASSERT_EQ(special.entries.size(), 5u);
    EXPECT_EQ(special.entries[1].text, "[55] Remove Empty Lines");
    EXPECT_EQ(special.entries[4], (TypeListEntry{"I NEED SOMETHING NOT LISTED!!!!!!!", -1}));
    EXPECT_EQ(special.selected, 0);

    const TypeList original = OriginalTypeList();
    ASSERT_EQ(original.entries.size(), 6u);
    EXPECT_EQ(original.entries[original.selected].value, 3);

    const TypeList types = SpecialProcessTypeList();
    std::vector<int32_t> values;
    for (const auto& e : types.entries)
        values.push_back(e.value);
    EXPECT_EQ(values, (std::vector<int32_t>{1, 9, 4, 5, 6}));

    EXPECT_EQ(PdfTargetList().entries[0], (TypeListEntry{"[3] As DOC (RTF)", 3}));
}

TEST(WordTargetList, AddsTheSettingsFileEntries) {
    test::TempFolder folder("types");
    const std::string path =
        folder.file("s.ini", "[WordConvertType]\nCount=2\n"
                             "[1WordConvertType]\nConstant=17\nsDescription=PDF via Word\n"
                             "[2wordconverttype]\nsDescription=No constant\n");
    const TypeList list = WordTargetList(IniFile(path));
    ASSERT_EQ(list.entries.size(), 12u);
    EXPECT_EQ(list.entries[0], (TypeListEntry{"[0] Word Doc (doc)", 0}));
    EXPECT_EQ(list.entries[9], (TypeListEntry{"[?] OTHER CONVERSION TYPES", -1}));
    EXPECT_EQ(list.entries[10], (TypeListEntry{"[17] PDF via Word", 17}));
    EXPECT_EQ(list.entries[11], (TypeListEntry{"[0] No constant", 0}));

    EXPECT_EQ(WordTargetList(IniFile(folder.str() + "none.ini")).entries.size(), 10u);
}
