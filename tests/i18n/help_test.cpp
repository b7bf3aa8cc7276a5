#include "i18n/help.h"

#include "i18n/language.h"
#include "settings/registry.h"
#include "settings/system.h"
#include "tests/test_files.h"
#include "tests/test_windows.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

namespace {

// Help files are looked up below ProgramFolder: each test points it at a folder of its own.
class HelpFiles : public ::testing::Test {
protected:
    void SetUp() override {
        SavedFolder = ProgramFolder;
        ProgramFolder = Dir.Path;
        CreateDirectoryW((Dir / L"Translation").c_str(), nullptr);
    }
    void TearDown() override {
        ProgramFolder = SavedFolder;
        LanguageCode.clear();
        LanguageFiles.clear();
    }
    std::wstring Chm(const std::wstring& Base) { return Dir.Path + L"\\Translation\\" + Base + L".chm"; }
    void Make(const std::wstring& Base) { WriteBytes(Chm(Base), "ITSF"); }

    TestFolder Dir;
    std::wstring SavedFolder;
};

struct HelpCase {
    const char* Label;
    std::wstring Language;
    std::vector<std::wstring> Available;  // base names of the available translations
    std::vector<std::wstring> Present;    // help files that exist
    std::wstring Expected;                // base name of the file chosen
};
void PrintTo(const HelpCase& c, std::ostream* os) { *os << c.Label; }

class HelpFallback : public HelpFiles, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(HelpFallback, ChoosesLanguageThenEnglishThenGeneralFile) {
    const HelpCase& c = GetParam();
    for (const auto& f : c.Present) Make(f);
    LanguageCode = c.Language;
    LanguageFiles = c.Available;
    EXPECT_EQ(Help_FileName(), Chm(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelpFallback,
    ::testing::Values(
        HelpCase{"own_language", L"de-de", {L"de-de", L"en-us"}, {L"de-de", L"en-us", L"help"}, L"de-de"},
        HelpCase{"english_instead", L"fr-fr", {L"fr-fr", L"en-us"}, {L"en-us", L"help"}, L"en-us"},
        HelpCase{"last_english_wins_even_if_missing", L"fr-fr", {L"en-us", L"de-de", L"en-gb"},
                 {L"en-us", L"help"}, L"help"},
        HelpCase{"last_english_present", L"fr-fr", {L"en-us", L"x_en-gb"}, {L"x_en-gb"}, L"x_en-gb"},
        HelpCase{"general_file", L"fr-fr", {L"fr-fr"}, {L"help"}, L"help"},
        HelpCase{"nothing_at_all_names_the_general_file", L"", {}, {}, L"help"}),
    [](const auto& info) { return std::string(info.param.Label); });

// Finds the message box of this process, hands back its text and closes it.
class BoxAnswerer {
public:
    BoxAnswerer()
        : FThread([this] {
              for (int i = 0; i < 200 && !FDone; ++i) {
                  const HWND box = FindTopWindow(GetCurrentProcessId(), L"#32770");
                  if (box) {
                      wchar_t buf[1024] = {};
                      GetWindowTextW(box, buf, 1024);
                      Caption = buf;
                      GetDlgItemTextW(box, 0xFFFF, buf, 1024);
                      Text = buf;
                      PostMessageW(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  Sleep(50);
              }
          }) {}
    ~BoxAnswerer() {
        FDone = true;
        FThread.join();
    }
    std::wstring Caption, Text;

private:
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

TEST_F(HelpFiles, WithoutAnyHelpFileAMessageNamesTheGeneralFile) {
    LanguageCode = L"fr-fr";
    std::wstring caption, text;
    {
        BoxAnswerer answer;
        Open_Help("main");
        Sleep(100);
        caption = answer.Caption;
        text = answer.Text;
    }
    EXPECT_EQ(caption, L"Corvane Blanko");
    EXPECT_EQ(text, L"Unable to locate helpfile\r" + Chm(L"help") + L"\rPlease reinstall application.");
}

// The address sent to the link-target service. Reads the product key's "Edition", shared with
// the other tests that hold the same lock.
TEST(LinkTarget, AddressCarriesEditionAndBothLanguageCodes) {
    Registry_DeleteValue(HKEY_LOCAL_MACHINE, PRODUCT_KEY, L"Edition");
    LanguageLCID = 1031;
    const std::wstring sys = Locale_Code(GetUserDefaultLCID());
    EXPECT_EQ(LinkTarget_Address(L"translation"),
              std::wstring(LINKTARGET_BASE_ADDRESS) +
                  L"/linktarget/?product=0085&version=1.00.00&edition=&syslang=" + sys +
                  L"&lang=de-de&target=translation");

    ASSERT_TRUE(Registry_WriteString(HKEY_LOCAL_MACHINE, PRODUCT_KEY, L"Edition", L"Home Plus"));
    LanguageLCID = 0;  // no language chosen: the code has no parts
    EXPECT_EQ(LinkTarget_Address(L"a b&c"),
              std::wstring(LINKTARGET_BASE_ADDRESS) +
                  L"/linktarget/?product=0085&version=1.00.00&edition=Home Plus&syslang=" + sys +
                  L"&lang=" + Locale_Code(0) + L"&target=a b&c");
    Registry_DeleteValue(HKEY_LOCAL_MACHINE, PRODUCT_KEY, L"Edition");
    EXPECT_FALSE(sys.empty());
    EXPECT_NE(sys.find(L'-'), std::wstring::npos);
}

}  // namespace

namespace {

HWND FindOwnWindowOfClass(const wchar_t* Class) {
    return FindTopWindow(GetCurrentProcessId(), Class, false);
}

// The shipped English help opens in the HTML Help viewer when the current language has none.
TEST_F(HelpFiles, EnglishHelpOpensInTheViewer) {
    ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\translation\\en-us.chm").c_str(), Chm(L"en-us").c_str(), FALSE));
    LanguageCode = L"fr-fr";
    LanguageFiles = {L"fr-fr", L"en-us"};
    Open_Help("main");
    HWND viewer = nullptr;
    for (int i = 0; i < 100 && !viewer; ++i) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        viewer = FindOwnWindowOfClass(L"HH Parent");
        if (!viewer) Sleep(20);
    }
    ASSERT_NE(viewer, nullptr);
    wchar_t title[256] = {};
    GetWindowTextW(viewer, title, 256);
    EXPECT_EQ(std::wstring(title), L"Corvane Blanko - Help");
    DestroyWindow(viewer);
}

}  // namespace
