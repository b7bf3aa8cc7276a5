#include "i18n/help.h"

#include "common/text.h"
#include "i18n/language.h"
#include "settings/registry.h"
#include "settings/system.h"
#include "ui/application.h"

#include <windows.h>
#include <shellapi.h>

namespace {

bool FileExists(const std::wstring& Path) {
    DWORD a = GetFileAttributesW(Path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr UINT HH_DISPLAY_TOPIC_COMMAND = 0;
using HtmlHelpW_t = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The HTML Help viewer lives in hhctrl.ocx, loaded on first use and kept for the viewer's windows.
HtmlHelpW_t HtmlHelpEntry() {
    static HtmlHelpW_t entry = [] {
        HMODULE m = LoadLibraryW(L"hhctrl.ocx");
        return m ? reinterpret_cast<HtmlHelpW_t>(GetProcAddress(m, "HtmlHelpW")) : nullptr;
    }();
    return entry;
}

}  // namespace

std::wstring Help_FileName() {
    const std::wstring folder = ProgramFolder + L"\\Translation\\";
    std::wstring file = folder + LanguageCode + L".chm";
    if (!FileExists(file)) {
        for (const auto& base : LanguageFiles)
            if (text::UpperAscii(base).find(L"EN-") != std::wstring::npos) file = folder + base + L".chm";
    }
    if (!FileExists(file)) file = folder + L"help.chm";
    return file;
}

void Open_Help(const std::string& Topic) {
    if (Is64BitWindows) FsRedirection_Enable();
    const std::wstring file = Help_FileName();
    if (FileExists(file)) {
        // The wide entry, so a program folder outside the ANSI code page still finds its help.
        if (auto help = HtmlHelpEntry()) {
            const std::wstring target = file + L"::/" + text::FromUtf8(Topic) + L".htm";
            help(nullptr, target.c_str(), HH_DISPLAY_TOPIC_COMMAND, 0);
        }
        return;
    }
    const std::wstring message = L"Unable to locate helpfile\r" + file + L"\rPlease reinstall application.";
    MessageBoxW(nullptr, message.c_str(), ui::Application.Title.c_str(), MB_OK | MB_ICONINFORMATION);
}

std::wstring LinkTarget_Address(const std::wstring& Target) {
    const std::wstring edition = Registry_ReadString(HKEY_LOCAL_MACHINE, PRODUCT_KEY, L"Edition");
    return std::wstring(LINKTARGET_BASE_ADDRESS) + L"/linktarget/?product=0085&version=1.00.00&edition=" + edition +
           L"&syslang=" + Locale_Code(GetUserDefaultLCID()) + L"&lang=" + Locale_Code(LCID(LanguageLCID)) +
           L"&target=" + Target;
}

void Open_LinkTarget(const std::wstring& Target) {
    const std::wstring address = LinkTarget_Address(Target);
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
}
