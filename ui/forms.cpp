#include "ui/forms.h"

#include "ui/application.h"
#include "ui/stdctrls.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {
constexpr UINT WM_APP_RELEASE = WM_APP + 0x2B1;

struct TModalWindows {
    HWND Self;
    std::vector<HWND> Disabled;
};

BOOL CALLBACK CollectEnabledWindow(HWND W, LPARAM LParam) {
    auto* c = reinterpret_cast<TModalWindows*>(LParam);
    if (W != c->Self && IsWindowVisible(W) && IsWindowEnabled(W)) c->Disabled.push_back(W);
    return TRUE;
}

void CollectButtons(const TWinControl* W, std::vector<TButton*>& Out) {
    for (int i = 0; i < W->ControlCount(); ++i) {
        TControl* c = W->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c)) Out.push_back(b);
        if (auto* w = dynamic_cast<TWinControl*>(c); w && !dynamic_cast<TForm*>(c))
            CollectButtons(w, Out);
    }
}
}  // namespace

RECT Screen_WorkArea() {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FColor = clBtnFace;
    FWidth = 320;
    FHeight = 240;
    TabStop = false;
    if (AOwner == &Application && !Application.MainForm()) Application.SetMainForm(this);
}

TForm::~TForm() {
    if (Application.MainForm() == this) Application.SetMainForm(nullptr);
    Application.FormGone(this);
}

void TForm::AfterConstruction() {
    if (FCreated) return;
    FCreated = true;
    if (OnCreate) OnCreate(this);
}

void TForm::BeforeDestruction() {
    FDestroying = true;
    if (OnDestroy) OnDestroy(this);
    Application.FormGone(this);
}

void TForm::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle) return;
    // Keep the client area when the frame changes, as a designer expects.
    int cw = ClientWidth(), ch = ClientHeight();
    FBorderStyle = Value;
    RecreateWnd();
    SetClientSize(cw, ch);
}

void TForm::SetBorderIcons(TBorderIcons Value) {
    if (Value == FBorderIcons) return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle Value) {
    if (Value == FFormStyle) return;
    FFormStyle = Value;
    if (FHandle)
        SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    if (FParent) {
        // Hosted in another form's panel: a plain child window.
        P.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (FVisible ? WS_VISIBLE : 0);
        if (FBorderStyle != bsNone) P.Style |= WS_BORDER;
        P.ExStyle = WS_EX_CONTROLPARENT;
        return;
    }
    P.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    P.ExStyle = WS_EX_CONTROLPARENT;
    switch (FBorderStyle) {
        case bsNone: P.Style |= WS_POPUP; break;
        case bsSingle: P.Style |= WS_CAPTION | WS_BORDER; break;
        case bsSizeable: P.Style |= WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog:
            P.Style |= WS_CAPTION | DS_MODALFRAME;
            P.ExStyle |= WS_EX_DLGMODALFRAME;
            break;
        case bsToolWindow:
            P.Style |= WS_CAPTION;
            P.ExStyle |= WS_EX_TOOLWINDOW;
            break;
    }
    if (FBorderIcons & biSystemMenu) {
        P.Style |= WS_SYSMENU;
        bool frameButtons = FBorderStyle == bsSingle || FBorderStyle == bsSizeable || FBorderStyle == bsNone;
        if (frameButtons && (FBorderIcons & biMinimize)) P.Style |= WS_MINIMIZEBOX;
        if (frameButtons && (FBorderIcons & biMaximize)) P.Style |= WS_MAXIMIZEBOX;
        if (FBorderStyle == bsDialog && (FBorderIcons & biHelp)) P.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (FFormStyle == fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
    TForm* main = Application.MainForm();
    if (main == this || !main) {
        P.ExStyle |= WS_EX_APPWINDOW;
    } else {
        // Owned by the main form: no taskbar button of its own, always above the main form.
        P.WndParent = main->Handle();
    }
}

void TForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (FHandle && !FParent) {
        if (FWindowState == wsMaximized && FVisible) ShowWindow(FHandle, SW_SHOWMAXIMIZED);
    }
}

TWindowState TForm::WindowState() const {
    if (FHandle && !FParent) {
        if (IsIconic(FHandle)) return wsMinimized;
        if (IsZoomed(FHandle)) return wsMaximized;
        if (IsWindowVisible(FHandle)) return wsNormal;
    }
    return FWindowState;
}

void TForm::SetWindowState(TWindowState Value) {
    FWindowState = Value;
    if (FHandle && !FParent && IsWindowVisible(FHandle))
        ShowWindow(FHandle, Value == wsMaximized   ? SW_MAXIMIZE
                            : Value == wsMinimized ? SW_MINIMIZE
                                                   : SW_RESTORE);
}

void TForm::PlaceOnFirstShow() {
    if (FPlaced || FParent) return;
    FPlaced = true;
    RECT area = Screen_WorkArea();
    TForm* main = Application.MainForm();
    RECT centreOn = area;
    bool centre = false;
    if (Position == poScreenCenter) {
        centre = true;
    } else if (Position == poMainFormCenter || Position == poOwnerFormCenter) {
        centre = true;
        TForm* ref = main;
        if (Position == poOwnerFormCenter)
            if (auto* o = dynamic_cast<TForm*>(Owner())) ref = o;
        if (ref && ref != this && ref->HandleAllocated() && IsWindowVisible(ref->FHandle))
            GetWindowRect(ref->FHandle, &centreOn);
    }
    if (!centre) return;
    int l = centreOn.left + ((centreOn.right - centreOn.left) - FWidth) / 2;
    int t = centreOn.top + ((centreOn.bottom - centreOn.top) - FHeight) / 2;
    // Keep the caption reachable on the screen.
    l = std::max<int>(area.left, std::min<int>(l, area.right - FWidth));
    t = std::max<int>(area.top, std::min<int>(t, area.bottom - FHeight));
    SetBounds(l, t, FWidth, FHeight);
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::VisibleChanged() {
    if (FParent) {
        if (FVisible) DoShow();
        TWinControl::VisibleChanged();
        if (!FVisible && OnHide) OnHide(this);
        return;
    }
    if (FVisible) {
        Handle();
        if (!FHandle) return;
        PlaceOnFirstShow();
        DoShow();
        if (!FVisible) return;  // the show handler hid the form again
        ShowWindow(FHandle, FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                            : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                          : SW_SHOW);
        if (FActiveControl && FActiveControl->CanFocus()) FActiveControl->SetFocus();
        UpdateWindow(FHandle);
    } else {
        if (OnHide) OnHide(this);
        if (FHandle) ShowWindow(FHandle, SW_HIDE);
    }
}

void TForm::SetActiveControl(TWinControl* Control) {
    FActiveControl = Control;
    if (Control && FHandle && IsWindowVisible(FHandle) && Control->CanFocus()) Control->SetFocus();
}

TButton* TForm::DefaultButton() const {
    std::vector<TButton*> all;
    CollectButtons(this, all);
    for (TButton* b : all)
        if (b->Default && b->Visible() && b->Enabled()) return b;
    return nullptr;
}

TButton* TForm::CancelButton() const {
    std::vector<TButton*> all;
    CollectButtons(this, all);
    for (TButton* b : all)
        if (b->Cancel && b->Visible() && b->Enabled()) return b;
    return nullptr;
}

void TForm::Help() {
    bool callHelp = true;
    if (OnHelp) OnHelp(HELP_CONTEXT, 0, callHelp);
}

void TForm::BringToFront() {
    if (FParent) {
        TControl::BringToFront();
        return;
    }
    if (!FHandle) return;
    if (IsIconic(FHandle)) ShowWindow(FHandle, SW_RESTORE);
    SetForegroundWindow(FHandle);
    BringWindowToTop(FHandle);
}

bool TForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TForm::Close() {
    if (FModal) {
        // The modal loop asks the close query and ends the showing.
        ModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = (Application.MainForm() == this) ? caFree : caHide;
    DoClose(action);
    switch (action) {
        case caNone: return;
        case caMinimize:
            if (FHandle) ShowWindow(FHandle, SW_MINIMIZE);
            return;
        case caHide:
            Hide();
            break;
        case caFree:
            if (Application.MainForm() != this) Release();
            break;
    }
    if (Application.MainForm() == this) {
        Hide();
        Application.Terminate();
    }
}

bool TForm::CloseModal() {
    if (!CloseQuery()) {
        ModalResult = mrNone;
        return false;
    }
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) {
        ModalResult = mrNone;
        return false;
    }
    return true;
}

void TForm::Release() {
    if (FHandle)
        PostMessageW(FHandle, WM_APP_RELEASE, 0, 0);
    else
        Free();
}

int TForm::ShowModal() {
    if (FModal || FVisible) return mrCancel;
    if (GetCapture()) ReleaseCapture();
    HWND previous = GetActiveWindow();
    Handle();
    // Every other enabled, visible top-level window of this thread waits for us.
    TModalWindows ctx{FHandle, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, LPARAM(&ctx));
    for (HWND w : ctx.Disabled) EnableWindow(w, FALSE);
    FModal = true;
    ModalResult = mrNone;
    Show();
    if (FHandle) SetForegroundWindow(FHandle);
    while (true) {
        if (Application.Terminated()) {
            ModalResult = mrCancel;
            break;
        }
        if (ModalResult != mrNone) {
            if (CloseModal()) break;
            continue;
        }
        if (!FHandle || !FVisible) {
            // Hidden or destroyed from outside: the showing is over.
            ModalResult = mrCancel;
            break;
        }
        if (!Application.HandleMessage()) {
            ModalResult = mrCancel;
            break;
        }
    }
    for (HWND w : ctx.Disabled)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    int result = ModalResult;
    FModal = false;
    Hide();
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return result;
}

LRESULT TForm::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_APP_RELEASE:
            Free();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* mm = reinterpret_cast<MINMAXINFO*>(LParam);
            if (Constraints.MinWidth > 0) mm->ptMinTrackSize.x = Constraints.MinWidth;
            if (Constraints.MinHeight > 0) mm->ptMinTrackSize.y = Constraints.MinHeight;
            if (Constraints.MaxWidth > 0) mm->ptMaxTrackSize.x = Constraints.MaxWidth;
            if (Constraints.MaxHeight > 0) mm->ptMaxTrackSize.y = Constraints.MaxHeight;
            return 0;
        }
        case WM_SIZE:
            if (!FParent) {
                if (WParam == SIZE_MAXIMIZED) FWindowState = wsMaximized;
                else if (WParam == SIZE_MINIMIZED) FWindowState = wsMinimized;
                else if (WParam == SIZE_RESTORED) FWindowState = wsNormal;
            }
            if (WParam != SIZE_MINIMIZED) {
                Realign();
                Resize();
            }
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(WParam) != WA_INACTIVE) {
                if (OnActivate) OnActivate(this);
                if (FActiveControl && FActiveControl->CanFocus() && !FActiveControl->Focused())
                    FActiveControl->SetFocus();
            } else if (OnDeactivate) {
                OnDeactivate(this);
            }
            break;
        case WM_HELP:
            Help();
            return TRUE;
        case WM_SETFOCUS:
            if (FActiveControl && FActiveControl->CanFocus()) {
                FActiveControl->SetFocus();
                return 0;
            }
            break;
    }
    return TWinControl::WndProc(Msg, WParam, LParam);
}

}  // namespace ui
