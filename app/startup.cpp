#include "app/startup.h"

#include "app/window_startup.h"
#include "common/text.h"
#include "i18n/language.h"
#include "settings/registry.h"
#include "settings/system.h"
#include "shell_integration/context_menu.h"
#include "ui/application.h"

#include <windows.h>

namespace {

// Shown before the language is loaded, so never translated.
constexpr const wchar_t* TEXT_NEEDS_XP = L"This software requires Windows XP or higher!";
constexpr const wchar_t* TEXT_NEEDS_ADMIN =
    L"This software requires full administrator-rights! Please start this software as Administrator.";
constexpr const wchar_t* TEXT_NEEDS_UAC =
    L"This software requires full administrator-rights! Please enable \"User Account Control\" (UAC) and start "
    L"this software as Administrator.";

void ShowStartError(const wchar_t* Text) {
    MessageBoxW(nullptr, Text, ui::Application.Title.c_str(), MB_OK | MB_ICONERROR);
}

DWORD WindowsMajorVersion() {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&v)) return 0;
#pragma GCC diagnostic pop
    return v.dwMajorVersion;
}

// The rights the program needs to write its machine-wide settings and the shell registration.
bool CheckRights() {
    if (!Is_Administrator()) {
        ShowStartError(TEXT_NEEDS_ADMIN);
        return false;
    }
    // Administrators without elevation cannot write below HKEY_LOCAL_MACHINE: try it.
    if (!Registry_WriteDWord(HKEY_LOCAL_MACHINE, OPTIONS_KEY, L"CheckRights", 1)) {
        ShowStartError(TEXT_NEEDS_UAC);
        return false;
    }
    Registry_DeleteValue(HKEY_LOCAL_MACHINE, OPTIONS_KEY, L"CheckRights");
    return true;
}

// The switches that only change the shell registration and end the program.
bool RunContextSwitch(const std::wstring& First) {
    if (text::EqualsIgnoreCaseAscii(First, L"-REMOVECONTEXT")) {
        Context_Unregister();
        RecycleVerb_Unregister();
        return true;
    }
    if (text::EqualsIgnoreCaseAscii(First, L"-SETUPCONTEXT")) {
        Context_Register();
        Context_WriteCaptions();  // newly created verb keys get their captions
        return true;
    }
    return false;
}

}  // namespace

int Blanko_Start(const std::vector<std::wstring>& Arguments) {
    // One instance at a time. The mutex is held until the process ends. A mutex of another
    // session that we may not open means the same.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, SINGLE_INSTANCE_MUTEX);
    const DWORD mutexError = GetLastError();
    if ((mutex && mutexError == ERROR_ALREADY_EXISTS) || (!mutex && mutexError == ERROR_ACCESS_DENIED)) return 0;

    Init_SharedValues();
    // The application object: the main form's button is on the taskbar and controls that show
    // the hand-point cursor get the system's hand cursor (both built into the layer).
    ui::Application.Title = L"Corvane Blanko";
    // Hints stay up long enough to read the longer option texts.
    ui::Application.HintHidePause = 10000;

    const DWORD major = WindowsMajorVersion();
    if (major < 5) {
        ShowStartError(TEXT_NEEDS_XP);
        return 0;
    }
    if (major >= 6 && !CheckRights()) return 0;

    Init_Language();
    Context_WriteProgramPaths();
    Load_Language(ProgramFolder + L"\\translation", LanguageCode);
    Context_WriteCaptions();

    const std::wstring first = Arguments.empty() ? std::wstring() : Arguments.front();
    if (RunContextSwitch(first)) {
        ui::Application.Terminate();
        return 0;
    }

    WindowStartup_Run(Arguments);
    return 0;
}
