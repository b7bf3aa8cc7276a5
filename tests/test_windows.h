// Finding the top-level windows that a test's own or a started process shows.
#pragma once

#include <windows.h>

#include <string>

// The first top-level window of process Pid, of window class Class (any class when null),
// visible only when VisibleOnly is set; null when there is none.
inline HWND FindTopWindow(DWORD Pid, const wchar_t* Class = nullptr, bool VisibleOnly = true) {
    struct Find {
        DWORD Pid;
        const wchar_t* Class;
        bool VisibleOnly;
        HWND Found;
    } f{Pid, Class, VisibleOnly, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Find*>(p);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid != f->Pid || (f->VisibleOnly && !IsWindowVisible(w))) return TRUE;
            if (f->Class) {
                wchar_t cls[64] = {};
                GetClassNameW(w, cls, 64);
                if (std::wstring(cls) != f->Class) return TRUE;
            }
            f->Found = w;
            return FALSE;
        },
        LPARAM(&f));
    return f.Found;
}
