// Owning handle types: one small move-only wrapper per kind of system handle, each with an
// explicit invalid value, closed exactly once on every path (also when an exception unwinds).
// Closing preserves the thread's last error, so a caller can still read why the call it made
// before the clean-up failed.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <unknwn.h>

#include <utility>

namespace handles {

// Generic owner: Traits gives the handle type, its invalid value and how to close it.
template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle h) noexcept : FHandle(h) {}
    ~Unique() { reset(); }

    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : FHandle(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return FHandle; }
    bool valid() const noexcept { return FHandle != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without closing.
    Handle release() noexcept { return std::exchange(FHandle, Traits::Invalid()); }

    // Closes the owned handle (if any) and takes h.
    void reset(Handle h = Traits::Invalid()) noexcept {
        Handle old = std::exchange(FHandle, h);
        if (old != Traits::Invalid()) {
            DWORD err = GetLastError();
            Traits::Close(old);
            SetLastError(err);
        }
    }

    // For APIs that return a handle through an out parameter: closes what was owned first.
    Handle* put() noexcept {
        reset();
        return &FHandle;
    }

private:
    Handle FHandle = Traits::Invalid();
};

struct FileTraits {  // CreateFile: INVALID_HANDLE_VALUE means none
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { CloseHandle(h); }
};
struct KernelTraits {  // tokens, processes, threads, mutexes, events: null means none
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { CloseHandle(h); }
};
struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { FindClose(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { RegCloseKey(h); }
};
struct GdiTraits {  // bitmaps, fonts, brushes, pens, regions
    using Handle = HGDIOBJ;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DeleteObject(h); }
};
struct ModuleTraits {  // LoadLibrary
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { FreeLibrary(h); }
};
struct LocalMemTraits {  // LocalAlloc and buffers the system allocates for us
    using Handle = HLOCAL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { LocalFree(h); }
};
struct SidTraits {  // AllocateAndInitializeSid
    using Handle = PSID;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { FreeSid(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DestroyIcon(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DestroyMenu(h); }
};

using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<KernelTraits>;
using UniqueFind = Unique<FindTraits>;
using UniqueKey = Unique<RegKeyTraits>;
using UniqueGdi = Unique<GdiTraits>;
using UniqueModule = Unique<ModuleTraits>;
using UniqueLocal = Unique<LocalMemTraits>;
using UniqueSid = Unique<SidTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMenu = Unique<MenuTraits>;

// COM pointer: releases its interface once; copying adds a reference.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    explicit ComPtr(T* p) noexcept : FPtr(p) {}  // takes over a reference
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& o) noexcept : FPtr(o.FPtr) {
        if (FPtr) FPtr->AddRef();
    }
    ComPtr& operator=(const ComPtr& o) noexcept {
        if (this != &o) {
            if (o.FPtr) o.FPtr->AddRef();
            reset(o.FPtr);
        }
        return *this;
    }
    ComPtr(ComPtr&& o) noexcept : FPtr(std::exchange(o.FPtr, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) reset(std::exchange(o.FPtr, nullptr));
        return *this;
    }

    T* get() const noexcept { return FPtr; }
    T* operator->() const noexcept { return FPtr; }
    explicit operator bool() const noexcept { return FPtr != nullptr; }
    void reset(T* p = nullptr) noexcept {
        T* old = std::exchange(FPtr, p);
        if (old) old->Release();
    }
    T** put() noexcept {
        reset();
        return &FPtr;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

private:
    T* FPtr = nullptr;
};

// Restores the previously selected object of a device context when it goes out of scope.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) noexcept : FDC(dc), FOld(SelectObject(dc, obj)) {}
    ~ScopedSelect() {
        if (FOld) SelectObject(FDC, FOld);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// A window's device context from GetDC, released on scope exit.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND wnd) noexcept : FWnd(wnd), FDC(GetDC(wnd)) {}
    ~ScopedWindowDC() {
        if (FDC) ReleaseDC(FWnd, FDC);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC get() const noexcept { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// BeginPaint/EndPaint pair.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND wnd) noexcept : FWnd(wnd) { FDC = BeginPaint(wnd, &FPS); }
    ~ScopedPaint() { EndPaint(FWnd, &FPS); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC get() const noexcept { return FDC; }
    const PAINTSTRUCT& ps() const noexcept { return FPS; }

private:
    HWND FWnd;
    HDC FDC = nullptr;
    PAINTSTRUCT FPS{};
};

// CoInitialize/CoUninitialize for the lifetime of the object (only when initialising worked).
class ScopedCoInit {
public:
    explicit ScopedCoInit(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : FOk(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ~ScopedCoInit() {
        if (FOk) CoUninitialize();
    }
    ScopedCoInit(const ScopedCoInit&) = delete;
    ScopedCoInit& operator=(const ScopedCoInit&) = delete;
    bool ok() const noexcept { return FOk; }

private:
    bool FOk;
};

}  // namespace handles
