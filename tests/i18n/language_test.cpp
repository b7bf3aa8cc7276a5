#include "i18n/language.h"

#include "i18n/messages.h"
#include "settings/registry.h"
#include "tests/settings/test_keys.h"
#include "tests/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <tuple>

namespace {

std::string Nlang(const std::vector<std::wstring>& Lines) {
    std::string s = "\xFF\xFE";
    for (const auto& l : Lines) s += Utf16Le(l + L"\r\n");
    return s;
}

void Touch(const std::wstring& File) { WriteBytes(File, Nlang({L"MESSAGES.MESSAGE_ASKER_YES=x"})); }

TEST(LanguageCodes, TableAndLocaleNames) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"en", 9},       {L"en-us", 1033}, {L"de", 1031},    {L"de-at", 3079}, {L"nl", 1043},
        {L"nl-nl", 1043}, {L"pt", 2070},    {L"pt-br", 1046}, {L"ka-ge", 1079}, {L"ge", 1079},
        {L"kk-kz", 1087}, {L"es-pr", 20490}, {L"af", 1078},   {L"ka", 0},       {L"EN-US", 0},
        {L"", 0},         {L"de-de", 0},
    };
    for (const auto& [code, lcid] : cases) EXPECT_EQ(CodeToLCID(code), lcid) << std::wstring(code).size();

    EXPECT_EQ(LCIDToCode(1031), L"de-de");
    EXPECT_EQ(LCIDToCode(0x0C07), L"de-at");
    EXPECT_EQ(LCIDToCode(1033), L"en-us");
    EXPECT_NE(GetLanguageName(1031).find(L"German"), std::wstring::npos);
    EXPECT_EQ(Locale_Code(1031), L"de-de");
}

class LanguageScan : public ::testing::Test {
protected:
    TestFolder Dir;
    // The three lists as sorted rows: the folder search order is the file system's.
    std::vector<std::tuple<std::wstring, std::wstring, std::wstring>> Rows() const {
        std::vector<std::tuple<std::wstring, std::wstring, std::wstring>> rows;
        for (size_t i = 0; i < LanguageFiles.size(); ++i)
            rows.emplace_back(LanguageFiles[i], LanguageLCIDs[i], LanguageCodes[i]);
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(LanguageScan, FileNamesMapToCodesAndLocales) {
    for (const wchar_t* name : {L"en-us.nlang3", L"1031.nlang3", L"x_de-at.nlang3", L"de-xx.nlang3", L"ka.nlang3",
                                L"FR.backup.nlang3", L"zz-zz.nlang3", L"ge.nlang3", L"readme.txt"})
        Touch(Dir / name);
    CreateDirectoryW((Dir / L"en-gb.nlang3").c_str(), nullptr);  // a folder is never a language

    LanguageFiles = {L"stale"};
    Find_nLangFiles(Dir.Path + L"\\");
    using Row = std::tuple<std::wstring, std::wstring, std::wstring>;
    EXPECT_EQ(Rows(), (std::vector<Row>{Row{L"1031", L"1031", L"de-de"}, Row{L"de-xx", L"1031", L"de-xx"},
                                        Row{L"en-us", L"1033", L"en-us"}, Row{L"fr", L"1036", L"fr"},
                                        Row{L"ge", L"1079", L"ge"}, Row{L"x_de-at", L"3079", L"de-at"}}));

    Find_nLangFiles(Dir / L"missing");
    EXPECT_TRUE(LanguageFiles.empty());
    EXPECT_TRUE(LanguageCodes.empty());
    EXPECT_TRUE(LanguageLCIDs.empty());
}

struct Choice {
    const char* Label;
    std::vector<std::wstring> Files;  // base names of the translation files
    LCID User;
    LANGID System;
    const wchar_t* Forced;  // null: no forced value
    std::wstring Code;
    int LCID;
    bool ForcedKept;
};
void PrintTo(const Choice& c, std::ostream* os) { *os << c.Label; }

class LanguageChoice : public RegistryTest, public ::testing::WithParamInterface<Choice> {
protected:
    TestFolder Dir;
};

TEST_P(LanguageChoice, FollowsForcedValueUserLocaleAndDefaults) {
    const Choice& c = GetParam();
    for (const auto& f : c.Files) Touch(Dir / (f + L".nlang3"));
    if (c.Forced) {
        ASSERT_TRUE(Registry_WriteString(HKEY_LOCAL_MACHINE, Key, FORCE_LANGUAGE_VALUE, c.Forced));
    }

    TLanguageSystem sys;
    sys.TranslationFolder = Dir.Path;
    sys.UserLCID = c.User;
    sys.SystemLangID = c.System;
    sys.OptionsRoot = HKEY_LOCAL_MACHINE;
    sys.OptionsKey = Key;
    LanguageCode = L"stale";
    LanguageLCID = 99;
    Init_LanguageFor(sys);

    EXPECT_EQ(LanguageCode, c.Code);
    EXPECT_EQ(LanguageLCID, c.LCID);
    if (c.Forced) {
        EXPECT_EQ(Registry_ValueExists(HKEY_LOCAL_MACHINE, Key, FORCE_LANGUAGE_VALUE), c.ForcedKept);
    }
}

const std::vector<std::wstring> DE_EN = {L"de-de", L"en-us"};
constexpr LCID EN_US = 0x0409, FR_FR = 0x040C, DE_DE = 0x0407, DE_AT = 0x0C07, DE_CH = 0x0807;

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageChoice,
    ::testing::Values(
        Choice{"english_user", DE_EN, EN_US, EN_US, nullptr, L"en-us", 1033, false},
        Choice{"german_user", DE_EN, DE_DE, EN_US, nullptr, L"de-de", 1031, false},
        Choice{"french_user_gets_english", DE_EN, FR_FR, FR_FR, nullptr, L"en-us", 1033, false},
        Choice{"austrian_user_on_english_system", DE_EN, DE_AT, EN_US, nullptr, L"en-us", 1033, false},
        Choice{"austrian_user_on_austrian_system", DE_EN, DE_AT, DE_AT, nullptr, L"de-de", 1031, false},
        Choice{"english_user_on_swiss_system", DE_EN, EN_US, DE_CH, nullptr, L"en-us", 1033, false},
        Choice{"french_user_on_swiss_system", DE_EN, FR_FR, DE_CH, nullptr, L"de-de", 1031, false},
        Choice{"swiss_system_with_plain_de_file", {L"de", L"en-us"}, FR_FR, DE_CH, nullptr, L"de", 1031, false},
        Choice{"austrian_user_and_language_alone", {L"de", L"en-us"}, DE_AT, EN_US, nullptr, L"de", 1031, false},
        Choice{"forced_letter_case_ignored", DE_EN, EN_US, EN_US, L"DE-DE", L"de-de", 1031, true},
        Choice{"forced_file_gone_is_forgotten", DE_EN, DE_DE, EN_US, L"fr-fr", L"de-de", 1031, false},
        Choice{"forced_empty_is_forgotten", DE_EN, EN_US, EN_US, L"", L"en-us", 1033, false},
        Choice{"no_english_file", {L"de-de"}, FR_FR, FR_FR, nullptr, L"", 0, false},
        Choice{"no_files", {}, DE_DE, DE_DE, nullptr, L"", 0, false},
        Choice{"numbered_file", {L"1031", L"en-us"}, DE_DE, EN_US, nullptr, L"1031", 1031, false},
        Choice{"british_english", {L"de-de", L"en-gb"}, FR_FR, FR_FR, nullptr, L"en-gb", 2057, false}),
    [](const auto& info) { return std::string(info.param.Label); });

// The message table after loading translations. Each test starts from the built-in texts.
class MessageTable : public ::testing::Test {
protected:
    void SetUp() override {
        Lang_ResetShared();
        Messages_ResetToBuiltIn();
    }
    void TearDown() override {
        Lang_ResetShared();
        Messages_ResetToBuiltIn();
    }
    std::vector<std::wstring> Current() const {
        std::vector<std::wstring> v;
        for (const auto& m : Messages_Table()) v.push_back(*m.Variable);
        return v;
    }
    std::vector<std::wstring> BuiltIn() const {
        std::vector<std::wstring> v;
        for (const auto& m : Messages_Table()) v.push_back(m.BuiltIn);
        return v;
    }
    TestFolder Dir;
};

TEST_F(MessageTable, HoldsTheBuiltInGermanTextsUntilATranslationIsLoaded) {
    EXPECT_EQ(Messages_Table().size(), 35u);
    EXPECT_EQ(MESSAGE_ASKER_YES, L"Ja");
    EXPECT_EQ(MESSAGE_BX_RESULT_ALLDONE,
              L"Der Vorgang wurde vollst\u00e4ndig und ohne Fehler beendet.\r\n%1 Datei(en) wurden unwiderruflich "
              L"vernichtet.");
    EXPECT_EQ(MESSAGE_CONTEXTMENU_SHREDDER_RECYCLE, L"Inhalt vernichten mit Corvane Tidewell");
}

TEST_F(MessageTable, FullTranslationSetsEveryMessageOncePerProcess) {
    std::vector<std::wstring> lines = {L"MESSAGES.MESSAGE_TRANSLATOR_NAME=Tester"};
    std::vector<std::wstring> expected;
    for (const auto& m : Messages_Table()) {
        lines.push_back(std::wstring(L"messages.") + m.Key + L"=T:" + m.Key + L"%CRLFend");
        expected.push_back(std::wstring(L"T:") + m.Key + L"\r\nend");
    }
    WriteBytes(Dir / L"xx-yy.nlang3", Nlang(lines));
    WriteBytes(Dir / L"index.txt", "MESSAGES.MESSAGE_ABORT=TEXT,0,1.00.00\r\n");

    Load_Language(Dir.Path, L"xx-yy");
    ASSERT_NE(Lang_Shared(), nullptr);
    EXPECT_EQ(Current(), expected);
    EXPECT_EQ(Lang_Shared()->Index.size(), 1u);

    // A second load replaces the store's lines, but the table is filled only once.
    WriteBytes(Dir / L"zz-zz.nlang3", Nlang({L"MESSAGES.MESSAGE_ABORT=other"}));
    Load_Language(Dir.Path, L"zz-zz");
    EXPECT_EQ(Lang_Shared()->Translation, std::vector<std::wstring>{L"MESSAGES.MESSAGE_ABORT=other"});
    EXPECT_EQ(Current(), expected);
}

TEST_F(MessageTable, PartialTranslationLeavesTheOtherMessagesEmpty) {
    WriteBytes(Dir / L"xx-yy.nlang3", Nlang({L"MESSAGES.MESSAGE_ASKER_YES=Yes", L"MESSAGES.MESSAGE_ASKER_NO=",
                                             L"Form_BX.Label_Time1=Time"}));
    WriteBytes(Dir / L"index.txt", "");
    Load_Language(Dir.Path, L"xx-yy");
    for (const auto& m : Messages_Table()) {
        if (m.Variable == &MESSAGE_ASKER_YES) {
            EXPECT_EQ(*m.Variable, L"Yes");
        } else {
            EXPECT_EQ(*m.Variable, L"") << m.Key;
        }
    }
    EXPECT_EQ(Lang_Shared()->MissingItemsInTranslation, 34u);
}

TEST_F(MessageTable, MissingOrUnreadableFilesKeepTheBuiltInTexts) {
    WriteBytes(Dir / L"xx-yy.nlang3", Nlang({L"MESSAGES.MESSAGE_ASKER_YES=Yes"}));

    Load_Language(Dir.Path, L"xx-yy");  // index.txt missing
    EXPECT_EQ(Lang_Shared(), nullptr);
    Load_Language(Dir.Path, L"");  // no language chosen
    Load_Language(Dir.Path, L"fr-fr");
    EXPECT_EQ(Lang_Shared(), nullptr);
    EXPECT_EQ(Current(), BuiltIn());

    WriteBytes(Dir / L"index.txt", "");
    for (const wchar_t* held : {L"xx-yy.nlang3", L"index.txt"}) {
        HANDLE h = CreateFileW((Dir / held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        Load_Language(Dir.Path, L"xx-yy");
        CloseHandle(h);
        EXPECT_EQ(Lang_Shared(), nullptr);
        EXPECT_EQ(Current(), BuiltIn());
    }

    Load_Language(Dir.Path, L"xx-yy");  // now both can be read
    EXPECT_EQ(MESSAGE_ASKER_YES, L"Yes");
}

// The translation files that ship beside the program.
TEST_F(MessageTable, ShippedTranslationsCoverEveryMessage) {
    const std::wstring folder = BuildBinFolder() + L"\\translation";
    TLang de, en;
    ASSERT_EQ(de.Load_Translation(folder + L"\\de-de.nlang3", folder + L"\\index.txt").TranslationFile,
              TFileRead::Read);
    ASSERT_EQ(en.Load_Translation(folder + L"\\en-us.nlang3", folder + L"\\index.txt").TranslationFile,
              TFileRead::Read);
    EXPECT_EQ(ReadBytes(folder + L"\\en-us.nlang3").substr(0, 2), "\xFF\xFE");

    for (const auto& m : Messages_Table()) {
        EXPECT_EQ(de.Get_StringW(MESSAGES_SECTION, m.Key), m.BuiltIn) << m.Key;
        const std::wstring english = en.Get_StringW(MESSAGES_SECTION, m.Key);
        EXPECT_FALSE(english.empty()) << m.Key;
        EXPECT_EQ(english.find(L"%1") != std::wstring::npos, std::wstring(m.BuiltIn).find(L"%1") != std::wstring::npos)
            << m.Key;
        EXPECT_EQ(english.find(L"%2") != std::wstring::npos, std::wstring(m.BuiltIn).find(L"%2") != std::wstring::npos)
            << m.Key;
        bool html = false;
        int width = -1;
        std::wstring version;
        ASSERT_EQ(en.Read_FromIndex(MESSAGES_SECTION, m.Key, html, width, version), TIndexRead::Found) << m.Key;
        EXPECT_EQ(html, std::wstring(m.Key).rfind(L"MESSAGEHTML_", 0) == 0) << m.Key;
    }
    EXPECT_FALSE(de.Get_StringW(MESSAGES_SECTION, MESSAGE_TRANSLATOR_NAME_KEY).empty());
    EXPECT_FALSE(en.Get_StringW(MESSAGES_SECTION, MESSAGE_TRANSLATOR_NAME_KEY).empty());
    EXPECT_EQ(en.Get_StringW(MESSAGES_SECTION, L"MESSAGE_ASKER_YES"), L"Yes");
    for (const wchar_t* chm : {L"de-de.chm", L"en-us.chm", L"help.chm"})
        EXPECT_EQ(ReadBytes(folder + L"\\" + chm).substr(0, 4), "ITSF") << chm;
}

}  // namespace

namespace {

// Writes below the real options key; the i18n tests run under the product key's lock.
TEST(LanguageChoiceStore, SavedChoiceIsTheForcedLanguageOfTheNextStart) {
    TestFolder dir;
    for (const wchar_t* f : {L"de-de.nlang3", L"en-us.nlang3"}) Touch(dir / f);
    ASSERT_TRUE(Save_LanguageChoice(L"de-de"));
    EXPECT_EQ(Registry_ReadString(HKEY_LOCAL_MACHINE, OPTIONS_KEY, FORCE_LANGUAGE_VALUE), L"de-de");

    TLanguageSystem sys;
    sys.TranslationFolder = dir.Path;
    sys.UserLCID = 0x0409;
    sys.SystemLangID = 0x0409;
    sys.OptionsKey = OPTIONS_KEY;
    Init_LanguageFor(sys);
    EXPECT_EQ(LanguageCode, L"de-de");
    EXPECT_EQ(LanguageLCID, 1031);
    Registry_DeleteValue(HKEY_LOCAL_MACHINE, OPTIONS_KEY, FORCE_LANGUAGE_VALUE);
}

}  // namespace
