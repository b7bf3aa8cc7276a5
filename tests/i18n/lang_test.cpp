#include "i18n/lang.h"

#include "tests/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

std::string Ansi(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

class LangFiles : public ::testing::Test {
protected:
    TestFolder Dir;
};

TEST_F(LangFiles, SavedFilesHaveTheirExactBytesAndReadBackTheSame) {
    TLang lang;
    lang.Translation = {L"MESSAGES.MESSAGE_YES=Ja", L"", L"; a remark without equals sign",
                        L"Form_BX.Label=Zur\u00fcck%CRLF\u20ac", L""};
    lang.Index = {L"MESSAGES.MESSAGE_YES=TEXT,0,1.00.00", L"# remark", L"Form_BX.Label=TEXT,88,1.00.00"};
    ASSERT_TRUE(lang.Save_Translation(Dir / L"de-de.nlang3", Dir / L"index.txt"));

    std::string expected = "\xFF\xFE";
    for (const auto& line : lang.Translation) expected += Utf16Le(line + L"\r\n");
    const std::string written = ReadBytes(Dir / L"de-de.nlang3");
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.substr(written.size() - 4), std::string("\x0D\x00\x0A\x00", 4));

    EXPECT_EQ(ReadBytes(Dir / L"index.txt"),
              "MESSAGES.MESSAGE_YES=TEXT,0,1.00.00\r\n# remark\r\nForm_BX.Label=TEXT,88,1.00.00\r\n");
    EXPECT_FALSE(FileExistsW(Dir / L"index.txt.new~"));

    TLang again;
    auto r = again.Load_Translation(Dir / L"de-de.nlang3", Dir / L"index.txt");
    EXPECT_EQ(r.TranslationFile, TFileRead::Read);
    EXPECT_EQ(r.IndexFile, TFileRead::Read);
    EXPECT_EQ(again.Translation, lang.Translation);
    EXPECT_EQ(again.Index, lang.Index);
}

TEST_F(LangFiles, IndexIsWrittenInTheAnsiCodePage) {
    TLang lang;
    lang.Index = {L"Form_BX.Label=TEXT,0,Gr\u00f6\u00dfe"};
    ASSERT_TRUE(lang.Save_Translation(Dir / L"x.nlang3", Dir / L"index.txt"));
    EXPECT_EQ(ReadBytes(Dir / L"index.txt"), Ansi(lang.Index[0]) + "\r\n");
    TLang again;
    again.Load_Translation(Dir / L"x.nlang3", Dir / L"index.txt");
    EXPECT_EQ(again.Index, lang.Index);
}

struct Encoded {
    const char* Label;
    std::string Bytes;
    std::vector<std::wstring> Lines;
};
void PrintTo(const Encoded& e, std::ostream* os) { *os << e.Label; }

class LangEncodings : public LangFiles, public ::testing::WithParamInterface<Encoded> {};

TEST_P(LangEncodings, AreDetectedFromTheByteOrderMark) {
    WriteBytes(Dir / L"t.nlang3", GetParam().Bytes);
    std::vector<std::wstring> lines;
    ASSERT_EQ(Lines_ReadFile(Dir / L"t.nlang3", lines), TFileRead::Read);
    EXPECT_EQ(lines, GetParam().Lines);
}

std::string Utf16Be(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) {
        s += char((c >> 8) & 0xFF);
        s += char(c & 0xFF);
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Files, LangEncodings,
    ::testing::Values(
        Encoded{"utf16le", "\xFF\xFE" + Utf16Le(L"a=\u00e4\u20ac\r\nb=2\r\n"), {L"a=\u00e4\u20ac", L"b=2"}},
        Encoded{"utf16be", "\xFE\xFF" + Utf16Be(L"a=\u00e4\u20ac\r\nb=2\r\n"), {L"a=\u00e4\u20ac", L"b=2"}},
        Encoded{"utf8", "\xEF\xBB\xBF" "a=\xC3\xA4\xE2\x82\xAC\r\nb=2\r\n", {L"a=\u00e4\u20ac", L"b=2"}},
        Encoded{"ansi", Ansi(L"a=\u00e4") + "\r\nb=2\r\n", {L"a=\u00e4", L"b=2"}},
        Encoded{"cr_lf_and_mixed_line_ends", "a\rb\nc\r\n\r\nd", {L"a", L"b", L"c", L"", L"d"}},
        Encoded{"blank_last_line_kept", "a\r\n\r\n", {L"a", L""}},
        Encoded{"empty_file", "", {}},
        Encoded{"only_the_mark", "\xFF\xFE", {}},
        Encoded{"utf16_odd_byte_dropped", "\xFF\xFE" + Utf16Le(L"a=1") + "\x41", {L"a=1"}}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(LangFiles, MissingAndUnreadableFilesLeaveTheListsAsTheyWere) {
    TLang lang;
    lang.Translation = {L"old=1"};
    lang.Index = {L"old=TEXT,0,1"};
    WriteBytes(Dir / L"new.nlang3", "\xFF\xFE" + Utf16Le(L"new=2\r\n"));

    // A new translation while the index file is missing keeps the index lines loaded before.
    auto r = lang.Load_Translation(Dir / L"new.nlang3", Dir / L"index.txt");
    EXPECT_EQ(r.IndexFile, TFileRead::Missing);
    EXPECT_EQ(lang.Translation, std::vector<std::wstring>{L"new=2"});
    EXPECT_EQ(lang.Index, std::vector<std::wstring>{L"old=TEXT,0,1"});

    // A file that another program holds without sharing is skipped like a missing one.
    WriteBytes(Dir / L"index.txt", "idx=TEXT,0,1\r\n");
    HANDLE held = CreateFileW((Dir / L"new.nlang3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    lang.Translation = {L"kept=1"};
    r = lang.Load_Translation(Dir / L"new.nlang3", Dir / L"index.txt");
    CloseHandle(held);
    EXPECT_EQ(r.TranslationFile, TFileRead::Unreadable);
    EXPECT_EQ(r.IndexFile, TFileRead::Read);
    EXPECT_EQ(lang.Translation, std::vector<std::wstring>{L"kept=1"});
    EXPECT_EQ(lang.Index, std::vector<std::wstring>{L"idx=TEXT,0,1"});

    // A folder carrying the file's name counts as missing.
    CreateDirectoryW((Dir / L"folder.nlang3").c_str(), nullptr);
    std::vector<std::wstring> lines{L"x"};
    EXPECT_EQ(Lines_ReadFile(Dir / L"folder.nlang3", lines), TFileRead::Missing);
    EXPECT_EQ(lines, std::vector<std::wstring>{L"x"});
}

TEST_F(LangFiles, FailedIndexWriteKeepsTheTranslationFileUnwritten) {
    TLang lang;
    lang.Translation = {L"a=1"};
    lang.Index = {L"a=TEXT,0,1"};
    WriteBytes(Dir / L"t.nlang3", "previous");
    EXPECT_FALSE(lang.Save_Translation(Dir / L"t.nlang3", Dir / L"no such folder\\index.txt"));
    EXPECT_EQ(ReadBytes(Dir / L"t.nlang3"), "previous");

    // A target held open keeps its previous contents and reports the failure.
    WriteBytes(Dir / L"index.txt", "old index");
    HANDLE held = CreateFileW((Dir / L"index.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(lang.Save_Translation(Dir / L"t.nlang3", Dir / L"index.txt"));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(Dir / L"index.txt"), "old index");
    EXPECT_EQ(ReadBytes(Dir / L"t.nlang3"), "previous");
}

TEST(LangLookup, KeysIgnoreCaseAndTextsKeepEverythingAfterTheFirstEqualsSign) {
    TLang lang;
    lang.Translation = {L"; MESSAGES.MESSAGE_YES remark",
                        L"MESSAGES.MESSAGE_YES=Ja",
                        L"MESSAGES.MESSAGE_EQ=a=b=c",
                        L"MESSAGES.MESSAGE_TWO=first%crlfsecond%CrLfthird",
                        L"MESSAGES.MESSAGE_EMPTY=",
                        L"MESSAGES.MESSAGE_DUP=one",
                        L"MESSAGES.MESSAGE_DUP=two"};
    EXPECT_EQ(lang.Get_StringW(L"MESSAGES", L"message_yes"), L"Ja");
    EXPECT_EQ(lang.Get_StringW(L"messages", L"MESSAGE_EQ"), L"a=b=c");
    EXPECT_EQ(lang.Get_StringW(L"MESSAGES", L"MESSAGE_TWO"), L"first\r\nsecond\r\nthird");
    EXPECT_EQ(lang.Get_StringW(L"MESSAGES", L"MESSAGE_DUP"), L"one");
    EXPECT_EQ(lang.GetStringWIndex(L"MESSAGES", L"MESSAGE_DUP"), 5);
    EXPECT_EQ(lang.GetStringWIndex(L"MESSAGES", L"MESSAGE_NONE"), -1);
    EXPECT_EQ(lang.MissingItemsInTranslation, 0u);

    // An empty text counts as missing, exactly like an absent entry; each look-up counts once.
    EXPECT_EQ(lang.Get_StringW(L"MESSAGES", L"MESSAGE_EMPTY"), L"");
    EXPECT_EQ(lang.MissingItemsInTranslation, 1u);
    EXPECT_EQ(lang.Get_StringW(L"MESSAGES", L"MESSAGE_NONE", true), L"");
    EXPECT_EQ(lang.MissingItemsInTranslation, 2u);
}

TEST(LangLookup, AddReplacesTheFirstEntryInPlaceOrAppends) {
    TLang lang;
    lang.Translation = {L"x", L"form_bx.button=one", L"Form_BX.Button=two"};
    lang.Add_StringW(L"Form_BX", L"Button", L"line 1\r\nline 2");
    lang.Add_StringW(L"Form_BX", L"Other", L"new");
    EXPECT_EQ(lang.Translation, (std::vector<std::wstring>{L"x", L"Form_BX.Button=line 1%CRLFline 2",
                                                            L"Form_BX.Button=two", L"Form_BX.Other=new"}));
    EXPECT_EQ(lang.Get_StringW(L"Form_BX", L"Button"), L"line 1\r\nline 2");
}

struct IndexCase {
    const char* Label;
    std::wstring Value;
    TIndexRead Result;
    bool Html;
    int Width;
    std::wstring Version;
};
void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.Label; }

class LangIndex : public ::testing::TestWithParam<IndexCase> {};

TEST_P(LangIndex, EntriesAreParsedOrRejectedWithoutTouchingTheOutputs) {
    const IndexCase& c = GetParam();
    TLang lang;
    lang.Index = {L"other=TEXT,1,x", L"Form_Options.Button_Ok=" + c.Value};
    bool html = true;
    int width = -77;
    std::wstring version = L"unchanged";
    EXPECT_EQ(lang.Read_FromIndex(L"form_options", L"Button_Ok", html, width, version), c.Result);
    EXPECT_EQ(html, c.Html);
    EXPECT_EQ(width, c.Width);
    EXPECT_EQ(version, c.Version);
}

const bool KEPT_HTML = true;
const int KEPT_WIDTH = -77;
const wchar_t* const KEPT_VERSION = L"unchanged";

INSTANTIATE_TEST_SUITE_P(
    Values, LangIndex,
    ::testing::Values(
        IndexCase{"text", L"TEXT,120,1.00.00", TIndexRead::Found, false, 120, L"1.00.00"},
        IndexCase{"html", L"HTML,0,1.00.00", TIndexRead::Found, true, 0, L"1.00.00"},
        IndexCase{"lower_case_html_is_text", L"html,5,1.00.00", TIndexRead::Found, false, 5, L"1.00.00"},
        IndexCase{"negative_width", L"TEXT,-5,2.0", TIndexRead::Found, false, -5, L"2.0"},
        IndexCase{"version_with_commas", L"TEXT,1,a,b", TIndexRead::Found, false, 1, L"a,b"},
        IndexCase{"fifth_character_unchecked", L"TEXTx7,v", TIndexRead::Found, false, 7, L"v"},
        IndexCase{"width_not_a_number", L"TEXT,wide,1.00.00", TIndexRead::BadWidth, KEPT_HTML, KEPT_WIDTH, KEPT_VERSION},
        IndexCase{"width_empty", L"TEXT,,1.00.00", TIndexRead::BadWidth, KEPT_HTML, KEPT_WIDTH, KEPT_VERSION},
        IndexCase{"width_hexadecimal", L"TEXT,$10,1", TIndexRead::BadWidth, KEPT_HTML, KEPT_WIDTH, KEPT_VERSION},
        IndexCase{"width_too_large", L"TEXT,99999999999,1", TIndexRead::BadWidth, KEPT_HTML, KEPT_WIDTH, KEPT_VERSION},
        IndexCase{"no_second_comma", L"TEXT,120", TIndexRead::BadWidth, KEPT_HTML, KEPT_WIDTH, KEPT_VERSION},
        IndexCase{"shorter_than_five", L"HTML", TIndexRead::BadWidth, KEPT_HTML, KEPT_WIDTH, KEPT_VERSION}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(LangIndexWrite, KindWidthAndVersionAreWrittenAndReplacedInPlace) {
    TLang lang;
    lang.Index = {L"MESSAGES.MESSAGEHTML_X=TEXT,9,0.9", L"tail"};
    lang.Save_ToIndex(L"MESSAGES", L"MESSAGEHTML_X", false, 0, L"1.00.00");  // the key name makes it HTML
    lang.Save_ToIndex(L"Form_BX", L"Label", false, -12, L"1.00.00");
    lang.Save_ToIndex(L"Form_BX", L"Html", true, 300, L"1.00.00");
    lang.Save_ToIndex(L"MESSAGES", L"messagehtml_lower", false, 1, L"1");  // exact letter case only
    EXPECT_EQ(lang.Index, (std::vector<std::wstring>{
                              L"MESSAGES.MESSAGEHTML_X=HTML,0,1.00.00", L"tail", L"Form_BX.Label=TEXT,-12,1.00.00",
                              L"Form_BX.Html=HTML,300,1.00.00", L"MESSAGES.messagehtml_lower=TEXT,1,1"}));

    bool html = false;
    int width = 1;
    std::wstring version;
    ASSERT_EQ(lang.Read_FromIndex(L"MESSAGES", L"MESSAGEHTML_X", html, width, version), TIndexRead::Found);
    EXPECT_TRUE(html);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(version, L"1.00.00");
    EXPECT_EQ(lang.Read_FromIndex(L"MESSAGES", L"NOT_THERE", html, width, version), TIndexRead::Missing);
}

}  // namespace
