// Starts the real Blanko.exe, copied into a folder of the test's own, and looks at the registry
// it leaves behind. A window of the program (a message box) fails the test and is closed, so
// nothing can hang.
#include "tests/registry_snapshot.h"
#include "tests/test_files.h"
#include "tests/test_windows.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

const wchar_t* const OPTIONS = L"SOFTWARE\\Corvane\\Corvane Blanko\\Options";

struct RunResult {
    DWORD ExitCode = 0xFFFFFFFF;
    bool Finished = false;
    std::wstring WindowSeen;  // caption of the first window the program showed, if any
};

class BlankoProgram : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveRegistration();
        RawDeleteValue(OPTIONS, L"ForceLanguage_LCID");
        Exe = Dir / L"Blanko.exe";
        ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\Blanko.exe").c_str(), Exe.c_str(), FALSE));
    }
    void TearDown() override {
        RemoveRegistration();
        RawDeleteValue(OPTIONS, L"ForceLanguage_LCID");
    }

    // Copies the shipped translation files (or some of them) beside the program.
    void CopyTranslations(std::initializer_list<const wchar_t*> Files) {
        CreateDirectoryW((Dir / L"translation").c_str(), nullptr);
        for (const wchar_t* f : Files)
            ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\translation\\" + f).c_str(),
                                  (Dir.Path + L"\\translation\\" + f).c_str(), FALSE));
    }
    void ForceLanguage(const std::wstring& Base) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, OPTIONS, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                                  nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(k, L"ForceLanguage_LCID", 0, REG_SZ, reinterpret_cast<const BYTE*>(Base.c_str()),
                       DWORD((Base.size() + 1) * 2));
        RegCloseKey(k);
    }
    static void RawDeleteValue(const std::wstring& Key, const std::wstring& Name) {
        HKEY k;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Key.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &k) == ERROR_SUCCESS) {
            RegDeleteValueW(k, Name.c_str());
            RegCloseKey(k);
        }
    }

    RunResult Run(const std::wstring& Arguments) {
        RunResult r;
        std::wstring cmd = L"\"" + Exe + L"\"" + (Arguments.empty() ? L"" : L" " + Arguments);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(Exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, Dir.Path.c_str(), &si,
                            &pi)) {
            ADD_FAILURE() << "CreateProcess failed: " << GetLastError();
            return r;
        }
        for (int i = 0; i < 400; ++i) {  // 20 s at most
            if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) {
                r.Finished = true;
                break;
            }
            CloseWindowsOf(pi.dwProcessId, r);
        }
        if (!r.Finished) TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
        GetExitCodeProcess(pi.hProcess, &r.ExitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return r;
    }

    static void CloseWindowsOf(DWORD Pid, RunResult& r) {
        const HWND found = FindTopWindow(Pid);
        if (!found) return;
        wchar_t buf[512] = {};
        GetWindowTextW(found, buf, 512);
        if (r.WindowSeen.empty()) r.WindowSeen = std::wstring(L"window: ") + buf;
        PostMessageW(found, WM_COMMAND, IDOK, 0);
        PostMessageW(found, WM_CLOSE, 0, 0);
    }

    void ExpectQuietEnd(const RunResult& r) {
        EXPECT_TRUE(r.Finished);
        EXPECT_EQ(r.ExitCode, 0u);
        EXPECT_EQ(r.WindowSeen, L"");
    }

    std::map<std::wstring, std::wstring> Captions() {
        auto tree = Snapshot(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS);
        return tree[L""];
    }

    TestFolder Dir;
    std::wstring Exe;
};

TEST_F(BlankoProgram, SetupContextLeavesExactlyTheRegistration) {
    CopyTranslations({L"de-de.nlang3", L"en-us.nlang3", L"index.txt"});
    ForceLanguage(L"en-us");
    ExpectQuietEnd(Run(L"-SETUPCONTEXT"));

    for (const wchar_t* k : REG_ATTACH) EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, k), (RegistryTree{{L"", {}}})) << k;
    EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, REG_HANDLER),
              (RegistryTree{
                  {L"", {{L"", L"SZ:TidewellPivotel"}}},
                  {L"InProcServer32", {{L"", L"SZ:" + Dir.Path + L"\\Pivotel64.dll"}, {L"ThreadingModel", L"SZ:Apartment"}}},
              }));
    EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, REG_VERB),
              (RegistryTree{
                  {L"", {{L"", L"SZ:Destroy content with Corvane Blanko"}}},
                  {L"Command", {{L"", L"SZ:\"" + Dir.Path + L"\\Blanko.exe\" -CONTEXTBXRECYCLE"}}},
              }));
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS),
              (RegistryTree{{L"",
                             {
                                 {L"EXE", L"SZ:" + Exe},
                                 {L"EXE_BX", L"SZ:" + Dir.Path + L"\\BlankoContext.exe"},
                                 {L"CONTEXTMENU_DEFRAG", L"SZ:Defragment with Corvane Tidewell"},
                                 {L"CONTEXTMENU_DL", L"SZ:Analyse disk usage with Corvane Tidewell"},
                                 {L"CONTEXTMENU_SHREDDER", L"SZ:Destroy with Corvane Tidewell"},
                                 {L"CONTEXTMENU_ENCRYPT", L"SZ:Encrypt with Corvane Tidewell"},
                                 {L"CONTEXTMENU_DECRYPT", L"SZ:Decrypt with Corvane Tidewell"},
                                 {L"CONTEXTMENU_SPLIT", L"SZ:Split with Corvane Tidewell"},
                                 {L"CONTEXTMENU_JOIN", L"SZ:Join with Corvane Tidewell"},
                                 {L"CONTEXTMENU_RECYCLE_BX", L"SZ:Destroy content with Corvane Tidewell"},
                                 {L"CONTEXTMENU_RECYCLE_UNDELETE", L"SZ:Search for deleted files with Corvane Tidewell"},
                             }}}));
    // The rights probe is gone again; the forced language named a file that exists and stays.
    HKEY k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, OPTIONS, 0, KEY_READ | KEY_WOW64_64KEY, &k), ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExW(k, L"CheckRights", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(k, L"ForceLanguage_LCID", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(k);
}

TEST_F(BlankoProgram, RemoveContextKeepsTheHandlersValues) {
    CopyTranslations({L"de-de.nlang3", L"index.txt"});
    ExpectQuietEnd(Run(L"-SETUPCONTEXT"));
    ASSERT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
    HKEY k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &k),
              ERROR_SUCCESS);
    DWORD one = 1;
    RegSetValueExW(k, L"Hide_BX", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
    RegCloseKey(k);
    const RegistryTree before = Snapshot(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS);

    ExpectQuietEnd(Run(L"-removecontext"));
    for (const wchar_t* key : REG_ATTACH) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_VERB));
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS), before);
    EXPECT_EQ(before.at(L"").size(), 12u);  // EXE, EXE_BX, Hide_BX and the nine captions
}

TEST_F(BlankoProgram, SwitchesAreMatchedInAnyCaseAndOnlyAsFirstArgument) {
    ExpectQuietEnd(Run(L"-SetupContext"));
    EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
    RemoveRegistration();

    // A switch in second place is a normal start: the paths and captions are refreshed, nothing
    // is registered, and (until the windows exist) the program ends without a window.
    ExpectQuietEnd(Run(L"-NOVERSION -SETUPCONTEXT"));
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_VERB));
    EXPECT_EQ(Captions()[L"EXE"], L"SZ:" + Exe);

    RemoveRegistration();
    ExpectQuietEnd(Run(L""));
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
    EXPECT_EQ(Captions()[L"EXE"], L"SZ:" + Exe);
}

TEST_F(BlankoProgram, SecondInstanceEndsSilentlyWithoutTouchingAnything) {
    // This test process plays the running instance.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Corvane_Blanko1");
    ASSERT_NE(mutex, nullptr);
    ASSERT_NE(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    const RunResult r = Run(L"-SETUPCONTEXT");
    CloseHandle(mutex);

    ExpectQuietEnd(r);
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
    EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS));

    // Once the first instance is gone, the next start works.
    ExpectQuietEnd(Run(L"-SETUPCONTEXT"));
    EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
}

struct LanguageCase {
    const char* Label;
    std::vector<const wchar_t*> Files;  // translation files beside the program
    const wchar_t* Forced;              // forced language, or null
    const wchar_t* HeldOpen;            // a translation file another program holds, or null
    const wchar_t* Recycle;             // expected CONTEXTMENU_RECYCLE_BX
    const wchar_t* Shredder;            // expected CONTEXTMENU_SHREDDER
};
void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.Label; }

class BlankoLanguage : public BlankoProgram, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(BlankoLanguage, CaptionsFollowTheLanguageWhileTheVerbStaysEnglish) {
    const LanguageCase& c = GetParam();
    if (!c.Files.empty()) {
        CreateDirectoryW((Dir / L"translation").c_str(), nullptr);
        for (const wchar_t* f : c.Files)
            ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\translation\\" + f).c_str(),
                                  (Dir.Path + L"\\translation\\" + f).c_str(), FALSE));
    }
    if (c.Forced) ForceLanguage(c.Forced);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.HeldOpen) {
        held = CreateFileW((Dir.Path + L"\\translation\\" + c.HeldOpen).c_str(), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    const RunResult r = Run(L"-SETUPCONTEXT");
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    ExpectQuietEnd(r);
    auto captions = Captions();
    EXPECT_EQ(captions[L"CONTEXTMENU_RECYCLE_BX"], std::wstring(L"SZ:") + c.Recycle);
    EXPECT_EQ(captions[L"CONTEXTMENU_SHREDDER"], std::wstring(L"SZ:") + c.Shredder);
    EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, REG_VERB)[L""][L""], L"SZ:Destroy content with Corvane Blanko");
}

const wchar_t* const DE_RECYCLE = L"Inhalt vernichten mit Corvane Tidewell";
const wchar_t* const DE_SHREDDER = L"Vernichten mit Corvane Tidewell";
const wchar_t* const EN_RECYCLE = L"Destroy content with Corvane Tidewell";
const wchar_t* const EN_SHREDDER = L"Destroy with Corvane Tidewell";

INSTANTIATE_TEST_SUITE_P(
    Cases, BlankoLanguage,
    ::testing::Values(
        LanguageCase{"forced_german", {L"de-de.nlang3", L"en-us.nlang3", L"index.txt"}, L"de-de", nullptr, DE_RECYCLE,
                     DE_SHREDDER},
        LanguageCase{"forced_english", {L"de-de.nlang3", L"en-us.nlang3", L"index.txt"}, L"en-us", nullptr,
                     EN_RECYCLE, EN_SHREDDER},
        LanguageCase{"no_translation_folder_keeps_built_in_german", {}, nullptr, nullptr, DE_RECYCLE, DE_SHREDDER},
        LanguageCase{"no_index_keeps_built_in_german", {L"en-us.nlang3"}, L"en-us", nullptr, DE_RECYCLE,
                     DE_SHREDDER},
        LanguageCase{"unreadable_translation_keeps_built_in_german", {L"en-us.nlang3", L"index.txt"}, L"en-us",
                     L"en-us.nlang3", DE_RECYCLE, DE_SHREDDER},
        LanguageCase{"unreadable_index_keeps_built_in_german", {L"en-us.nlang3", L"index.txt"}, L"en-us",
                     L"index.txt", DE_RECYCLE, DE_SHREDDER}),
    [](const auto& info) { return std::string(info.param.Label); });

}  // namespace
