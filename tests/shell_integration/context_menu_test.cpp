#include "shell_integration/context_menu.h"

#include "i18n/messages.h"
#include "settings/registry.h"
#include "settings/system.h"
#include "tests/registry_snapshot.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// These tests write the machine-wide registration itself; CTest runs them under a lock shared
// with every other test that does.
class ContextMenu : public ::testing::Test {
protected:
    void SetUp() override {
        SavedFolder = ProgramFolder;
        ProgramFolder = L"C:\\Program Files\\Corvane Blanko Test";
        RemoveRegistration();
        Messages_ResetToBuiltIn();
    }
    void TearDown() override {
        RemoveRegistration();
        Messages_ResetToBuiltIn();
        ProgramFolder = SavedFolder;
    }
    std::wstring SavedFolder;
};

TEST_F(ContextMenu, RegisterWritesExactlyTheHandlerAndVerbKeys) {
    EXPECT_FALSE(Context_IsRegistered());
    Context_Register();
    EXPECT_TRUE(Context_IsRegistered());

    for (const wchar_t* k : REG_ATTACH)
        EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, k), (RegistryTree{{L"", {}}}));
    EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, REG_HANDLER),
              (RegistryTree{
                  {L"", {{L"", L"SZ:TidewellPivotel"}}},
                  {L"InProcServer32",
                   {{L"", L"SZ:C:\\Program Files\\Corvane Blanko Test\\Pivotel64.dll"},
                    {L"ThreadingModel", L"SZ:Apartment"}}},
              }));
    EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, REG_VERB),
              (RegistryTree{
                  {L"", {{L"", L"SZ:Destroy content with Corvane Blanko"}}},
                  {L"Command",
                   {{L"", L"SZ:\"C:\\Program Files\\Corvane Blanko Test\\Blanko.exe\" -CONTEXTBXRECYCLE"}}},
              }));
    // Registering alone writes nothing below the product key.
    EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS));
}

TEST_F(ContextMenu, HandlerLibraryFollowsTheWindowsBitness) {
    const bool saved = Is64BitWindows;
    Is64BitWindows = false;
    EXPECT_EQ(Context_HandlerLibrary(), L"C:\\Program Files\\Corvane Blanko Test\\Pivotel32.dll");
    Is64BitWindows = true;
    EXPECT_EQ(Context_HandlerLibrary(), L"C:\\Program Files\\Corvane Blanko Test\\Pivotel64.dll");
    Is64BitWindows = saved;
}

TEST_F(ContextMenu, UnregisterRemovesHandlerAndVerbButKeepsTheHandlersValues) {
    Context_WriteProgramPaths();
    Context_WriteCaptions();
    ASSERT_TRUE(Registry_WriteDWord(HKEY_LOCAL_MACHINE, CONTEXTMENUS_KEY, L"Hide_BX", 1));
    Context_Register();
    const RegistryTree values = Snapshot(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS);

    Context_Unregister();
    EXPECT_FALSE(Context_IsRegistered());
    for (const wchar_t* k : REG_ATTACH) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, k)) << k;
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_HANDLER));
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_VERB));
    // The parents belong to the system and stay.
    EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, L"Folder\\shellex\\ContextMenuHandlers"));
    EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell"));
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS), values);
    EXPECT_EQ(values.at(L"").at(L"Hide_BX"), L"DWORD:1");

    // Removing what is not there does nothing and does not fail.
    Context_Unregister();
    RecycleVerb_Unregister();
    EXPECT_FALSE(Context_IsRegistered());
}

TEST_F(ContextMenu, VerbAloneComesAndGoes) {
    RecycleVerb_Register();
    EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, REG_VERB));
    EXPECT_FALSE(Context_IsRegistered());
    RecycleVerb_Unregister();
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_VERB));
}

TEST_F(ContextMenu, ProgramPathsAndCaptionsInTheCurrentLanguage) {
    Context_WriteProgramPaths();
    MESSAGE_CONTEXTMENU_SHREDDER_RECYCLE = L"Destroy content with Corvane Tidewell";
    MESSAGE_CONTEXTMENU_SPLIT_QS8.clear();  // an empty message writes an empty value
    Context_WriteCaptions();

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS),
              (RegistryTree{{L"",
                             {
                                 {L"EXE", std::wstring(L"SZ:") + self},
                                 {L"EXE_BX", L"SZ:C:\\Program Files\\Corvane Blanko Test\\BlankoContext.exe"},
                                 {L"CONTEXTMENU_DEFRAG", L"SZ:Defragmentieren mit Corvane Tidewell"},
                                 {L"CONTEXTMENU_DL", L"SZ:Analysiere Speicherbelegung mit Corvane Tidewell"},
                                 {L"CONTEXTMENU_SHREDDER", L"SZ:Vernichten mit Corvane Tidewell"},
                                 {L"CONTEXTMENU_ENCRYPT", L"SZ:Verschl\u00fcsseln mit Corvane Tidewell"},
                                 {L"CONTEXTMENU_DECRYPT", L"SZ:Entschl\u00fcsseln mit Corvane Tidewell"},
                                 {L"CONTEXTMENU_SPLIT", L"SZ:"},
                                 {L"CONTEXTMENU_JOIN", L"SZ:Zusammenf\u00fcgen mit Corvane Tidewell"},
                                 {L"CONTEXTMENU_RECYCLE_BX", L"SZ:Destroy content with Corvane Tidewell"},
                                 {L"CONTEXTMENU_RECYCLE_UNDELETE",
                                  L"SZ:Nach gel\u00f6schten Dateien suchen mit Corvane Tidewell"},
                             }}}));
    // The suite's own recycle-bin verbs are never created here.
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_QS_BLANKO));
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, REG_QS_REVIVO));
}

TEST_F(ContextMenu, SuiteVerbsThatExistGetTheirCaptions) {
    ASSERT_TRUE(Registry_CreateKey(HKEY_CLASSES_ROOT, REG_QS_BLANKO));
    ASSERT_TRUE(Registry_CreateKey(HKEY_CLASSES_ROOT, REG_QS_REVIVO));
    Context_WriteCaptions();
    EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, REG_QS_BLANKO),
              (RegistryTree{{L"", {{L"", L"SZ:Inhalt vernichten mit Corvane Tidewell"}}}}));
    EXPECT_EQ(Snapshot(HKEY_CLASSES_ROOT, REG_QS_REVIVO),
              (RegistryTree{{L"", {{L"", L"SZ:Nach gel\u00f6schten Dateien suchen mit Corvane Tidewell"}}}}));
}

}  // namespace
