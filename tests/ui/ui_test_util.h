// Helpers of the windowing tests: run code from a timer while a modal loop runs, paint a control
// into a bitmap and read its pixels.
#pragma once

#include "ui/controls.h"
#include "ui/picture.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>

// Runs Fn once, Ms milliseconds from now, from the message loop (a thread timer).
inline void After(UINT Ms, std::function<void()> Fn) {
    static std::map<UINT_PTR, std::function<void()>> pending;
    UINT_PTR id = SetTimer(nullptr, 0, Ms, [](HWND, UINT, UINT_PTR Id, DWORD) {
        KillTimer(nullptr, Id);
        auto it = pending.find(Id);
        if (it == pending.end()) return;
        auto fn = std::move(it->second);
        pending.erase(it);
        fn();
    });
    pending[id] = std::move(Fn);
}

inline std::string text_of(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// The control painted on a white 32-bit bitmap, as its parent would paint it.
struct TSnapshot {
    ui::TPicture Pic;
    uint32_t At(int X, int Y) const { return Pic.Bits()[size_t(Y) * Pic.Width() + X] & 0xFFFFFF; }
    static int R(uint32_t p) { return (p >> 16) & 255; }
    static int G(uint32_t p) { return (p >> 8) & 255; }
    static int B(uint32_t p) { return p & 255; }
};

inline TSnapshot Snapshot(ui::TControl& C) {
    TSnapshot s;
    s.Pic.CreateBlank(C.Width(), C.Height());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, s.Pic.Bitmap());
    RECT r{0, 0, C.Width(), C.Height()};
    FillRect(dc, &r, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, C.Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    C.Paint(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    GdiFlush();
    return s;
}
