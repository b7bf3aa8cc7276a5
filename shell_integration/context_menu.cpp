#include "shell_integration/context_menu.h"

#include "i18n/messages.h"
#include "settings/registry.h"
#include "settings/system.h"

#include <windows.h>

#include <vector>

namespace {

const std::wstring HANDLER_KEY = std::wstring(L"CLSID\\") + HANDLER_CLSID;
const std::wstring RECYCLE_SHELL = std::wstring(L"CLSID\\") + RECYCLEBIN_CLSID + L"\\shell\\";

// The shell objects the handler attaches to, in the order of registration and removal.
std::vector<std::wstring> HandlerAttachKeys() {
    std::vector<std::wstring> keys;
    for (const wchar_t* kind : {L"Drive", L"Folder", L"*"})
        keys.push_back(std::wstring(kind) + L"\\shellex\\ContextMenuHandlers\\" + HANDLER_CLSID);
    return keys;
}

std::wstring RunningProgramFile() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

}  // namespace

std::wstring Context_HandlerLibrary() {
    return ProgramFolder + (Is64BitWindows ? L"\\Pivotel64.dll" : L"\\Pivotel32.dll");
}

void Context_WriteProgramPaths() {
    Registry_WriteString(HKEY_LOCAL_MACHINE, CONTEXTMENUS_KEY, L"EXE", RunningProgramFile());
    Registry_WriteString(HKEY_LOCAL_MACHINE, CONTEXTMENUS_KEY, L"EXE_BX", ProgramFolder + L"\\BlankoContext.exe");
}

void Context_Register() {
    for (const auto& key : HandlerAttachKeys()) Registry_CreateKey(HKEY_CLASSES_ROOT, key);
    Registry_WriteString(HKEY_CLASSES_ROOT, HANDLER_KEY, L"", L"TidewellPivotel");
    const std::wstring server = HANDLER_KEY + L"\\InProcServer32";
    Registry_WriteString(HKEY_CLASSES_ROOT, server, L"", Context_HandlerLibrary());
    Registry_WriteString(HKEY_CLASSES_ROOT, server, L"ThreadingModel", L"Apartment");
    RecycleVerb_Register();
}

void Context_Unregister() {
    for (const auto& key : HandlerAttachKeys()) Registry_DeleteKey(HKEY_CLASSES_ROOT, key);
    Registry_DeleteKey(HKEY_CLASSES_ROOT, HANDLER_KEY);
    RecycleVerb_Unregister();
}

bool Context_IsRegistered() { return Registry_KeyExists(HKEY_CLASSES_ROOT, HANDLER_KEY); }

void RecycleVerb_Register() {
    Registry_WriteString(HKEY_CLASSES_ROOT, RECYCLE_VERB_KEY, L"", RECYCLE_VERB_CAPTION);
    Registry_WriteString(HKEY_CLASSES_ROOT, std::wstring(RECYCLE_VERB_KEY) + L"\\Command", L"",
                         L"\"" + ProgramFolder + L"\\Blanko.exe\" -CONTEXTBXRECYCLE");
}

void RecycleVerb_Unregister() { Registry_DeleteKey(HKEY_CLASSES_ROOT, RECYCLE_VERB_KEY); }

void Context_WriteCaptions() {
    const struct {
        const wchar_t* Value;
        const std::wstring& Text;
    } captions[] = {
        {L"CONTEXTMENU_DEFRAG", MESSAGE_CONTEXTMENU_DEFRAG_QS8},
        {L"CONTEXTMENU_DL", MESSAGE_CONTEXTMENU_DL_QS8},
        {L"CONTEXTMENU_SHREDDER", MESSAGE_CONTEXTMENU_SHREDDER_QS8},
        {L"CONTEXTMENU_ENCRYPT", MESSAGE_CONTEXTMENU_ENCRYPT_QS8},
        {L"CONTEXTMENU_DECRYPT", MESSAGE_CONTEXTMENU_DECRYPT_QS8},
        {L"CONTEXTMENU_SPLIT", MESSAGE_CONTEXTMENU_SPLIT_QS8},
        {L"CONTEXTMENU_JOIN", MESSAGE_CONTEXTMENU_JOIN_QS8},
        {L"CONTEXTMENU_RECYCLE_BX", MESSAGE_CONTEXTMENU_SHREDDER_RECYCLE},
        {L"CONTEXTMENU_RECYCLE_UNDELETE", MESSAGE_CONTEXTMENU_REVIVO_RECYCLE},
    };
    for (const auto& c : captions) Registry_WriteString(HKEY_LOCAL_MACHINE, CONTEXTMENUS_KEY, c.Value, c.Text);

    const std::wstring blankoVerb = RECYCLE_SHELL + L"QS_Blanko";
    if (Registry_KeyExists(HKEY_CLASSES_ROOT, blankoVerb))
        Registry_WriteString(HKEY_CLASSES_ROOT, blankoVerb, L"", MESSAGE_CONTEXTMENU_SHREDDER_RECYCLE);
    const std::wstring revivoVerb = RECYCLE_SHELL + L"QS_Revivo";
    if (Registry_KeyExists(HKEY_CLASSES_ROOT, revivoVerb))
        Registry_WriteString(HKEY_CLASSES_ROOT, revivoVerb, L"", MESSAGE_CONTEXTMENU_REVIVO_RECYCLE);
}
