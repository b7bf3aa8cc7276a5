#include "ui/application.h"

#include "ui/controls.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"

#include <commctrl.h>

namespace ui {

TApplication Application;

namespace {
constexpr UINT_PTR kHintShowTimer = 1, kHintHideTimer = 2;
}

TApplication::TApplication() : TComponent(nullptr) { Name = L"Application"; }

TApplication::~TApplication() {
    DestroyComponents();
    if (FHintWnd) DestroyWindow(FHintWnd);
    if (FUtilWnd) DestroyWindow(FUtilWnd);
}

void TApplication::Dispatch(MSG& Msg) {
    if (IsDialogKey(Msg)) return;
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            // Leave the quit message for the outer loop that owns the program's lifetime.
            PostQuitMessage(int(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

bool TApplication::HandleMessage() {
    MSG msg;
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        FTerminated = true;
        if (r == 0) PostQuitMessage(int(msg.wParam));
        return false;
    }
    Dispatch(msg);
    return true;
}

void TApplication::Run() {
    if (FMainForm && !FMainForm->Visible()) FMainForm->Show();
    MSG msg;
    while (!FTerminated) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        Dispatch(msg);
    }
    FTerminated = true;
}

void TApplication::Terminate() {
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
}

bool TApplication::IsDialogKey(MSG& Msg) {
    if (Msg.message != WM_KEYDOWN) return false;
    HWND root = GetAncestor(Msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(root));
    if (!form) return false;
    // Controls that want the key themselves get it.
    LRESULT code = SendMessageW(Msg.hwnd, WM_GETDLGCODE, Msg.wParam, LPARAM(&Msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    switch (Msg.wParam) {
        case VK_RETURN: {
            // The focused button answers Enter; otherwise the form's default button.
            TWinControl* focus = TWinControl::FromHandle(Msg.hwnd);
            TButton* b = dynamic_cast<TButton*>(focus);
            if (!b) b = form->DefaultButton();
            if (!b) return false;
            b->Click();
            return true;
        }
        case VK_ESCAPE: {
            TButton* b = form->CancelButton();
            if (!b) return false;
            b->Click();
            return true;
        }
        case VK_F1:
            form->Help();
            return true;
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) < 0) return false;
            return IsDialogMessageW(root, &Msg) != FALSE;
    }
    return false;
}

HCURSOR TApplication::HandCursor() {
    static HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    return hand ? hand : LoadCursorW(nullptr, IDC_ARROW);
}

HWND TApplication::UtilWindow() {
    if (!FUtilWnd) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = UtilWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BlankoUtilWindow";
        RegisterClassExW(&wc);
        FUtilWnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
    }
    return FUtilWnd;
}

LRESULT CALLBACK TApplication::UtilWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_TIMER) {
        KillTimer(Wnd, WParam);
        try {
            if (WParam == kHintShowTimer)
                Application.ShowHintNow();
            else
                Application.CancelHint();
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

void TApplication::MouseOverControl(TControl* Control) {
    if (Control == FHintControl) return;
    CancelHint();
    FHintControl = Control;
    if (!Control || Control->Hint.empty() || !ShowHint) return;
    bool show = Control->ShowHint;
    if (TForm* f = Control->ParentForm(); f && f->ShowHint) show = true;
    if (!show) return;
    SetTimer(UtilWindow(), kHintShowTimer, UINT(HintPause), nullptr);
}

void TApplication::ShowHintNow() {
    if (!FHintControl) return;
    if (!FHintWnd) {
        FHintWnd = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!FHintWnd) return;
        SendMessageW(FHintWnd, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    static std::wstring text;
    text = FHintControl->Hint;
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = UtilWindow();
    ti.uId = 1;
    ti.lpszText = text.data();
    SendMessageW(FHintWnd, TTM_DELTOOLW, 0, LPARAM(&ti));
    SendMessageW(FHintWnd, TTM_ADDTOOLW, 0, LPARAM(&ti));
    POINT p;
    GetCursorPos(&p);
    SendMessageW(FHintWnd, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y + 20));
    SendMessageW(FHintWnd, TTM_TRACKACTIVATE, TRUE, LPARAM(&ti));
    FHintShown = true;
    SetTimer(UtilWindow(), kHintHideTimer, UINT(HintHidePause), nullptr);
}

void TApplication::CancelHint() {
    if (FUtilWnd) {
        KillTimer(FUtilWnd, kHintShowTimer);
        KillTimer(FUtilWnd, kHintHideTimer);
    }
    if (FHintShown && FHintWnd) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.hwnd = FUtilWnd;
        ti.uId = 1;
        SendMessageW(FHintWnd, TTM_TRACKACTIVATE, FALSE, LPARAM(&ti));
    }
    FHintShown = false;
}

void TApplication::ControlGone(TControl* Control) {
    if (Control == FHintControl) {
        CancelHint();
        FHintControl = nullptr;
    }
}

void TApplication::FormGone(TForm* Form) {
    if (Form == FMainForm && Form) {
        // The main form keeps its role until it is really gone (see ~TForm).
    }
}

}  // namespace ui
