#include "settings/system.h"

#include "common/handles.h"

#include <vector>

#ifdef _WIN64
bool Is64BitWindows = true;
#else
bool Is64BitWindows = false;
#endif
std::wstring ProgramFolder;
std::wstring WindowsFolder;

namespace {

template <typename Fn>
Fn Kernel32Proc(const char* name) {
    HMODULE k = GetModuleHandleW(L"kernel32");
    return k ? reinterpret_cast<Fn>(GetProcAddress(k, name)) : nullptr;
}

std::wstring ModuleFolder() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            std::wstring path(buf.data(), n);
            size_t slash = path.find_last_of(L'\\');
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        }
        buf.resize(buf.size() * 2);
    }
}

}  // namespace

void Registry_InitSystemEntries();  // registry.cpp

void Init_SharedValues() {
#ifdef _WIN64
    Is64BitWindows = true;
#else
    Is64BitWindows = Is_Wow64();
#endif
    ProgramFolder = ModuleFolder();
    wchar_t win[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryW(win, MAX_PATH + 1);
    WindowsFolder = (n > 0 && n <= MAX_PATH) ? std::wstring(win, n) : std::wstring();
    Registry_InitSystemEntries();
}

bool Is_Wow64() {
    using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto fn = Kernel32Proc<Fn>("IsWow64Process");
    if (!fn) return false;
    BOOL wow = FALSE;
    return fn(GetCurrentProcess(), &wow) && wow;
}

bool Is_Administrator() {
    handles::UniqueHandle token;
    // The thread's own token when it impersonates, checked against the process's own context.
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
        if (GetLastError() != ERROR_NO_TOKEN) return false;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    }

    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    handles::UniqueSid admins;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                  0, 0, 0, 0, admins.put()))
        return false;

    DWORD size = 0;
    if (GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return false;
    std::vector<BYTE> buf(size);
    if (!GetTokenInformation(token.get(), TokenGroups, buf.data(), size, &size)) return false;

    // Enabled and deny-only groups count alike: membership is what matters here.
    auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buf.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if (EqualSid(groups->Groups[i].Sid, admins.get())) return true;
    return false;
}

bool FsRedirection_Disable(PVOID& OldValue) {
    using Fn = BOOL(WINAPI*)(PVOID*);
    auto fn = Kernel32Proc<Fn>("Wow64DisableWow64FsRedirection");
    return fn && fn(&OldValue);
}

bool FsRedirection_Revert(PVOID OldValue) {
    using Fn = BOOL(WINAPI*)(PVOID);
    auto fn = Kernel32Proc<Fn>("Wow64RevertWow64FsRedirection");
    return fn && fn(OldValue);
}

bool FsRedirection_Enable() {
    using Fn = BOOLEAN(WINAPI*)(BOOLEAN);
    auto fn = Kernel32Proc<Fn>("Wow64EnableWow64FsRedirection");
    return fn && fn(TRUE);
}
