#include "ui/controls.h"

#include "ui/application.h"
#include "ui/forms.h"
#include "ui/menus.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {

const wchar_t kWindowClass[] = L"BlankoWindow";
const wchar_t kControlProp[] = L"Blanko.Control";
int NextCtlId = 1000;

bool ContainsPoint(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

TMouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return mbRight;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return mbMiddle;
        default: return mbLeft;
    }
}

}  // namespace

HCURSOR CursorHandle(TCursor c) {
    LPCWSTR id = nullptr;
    switch (c) {
        case crDefault: return nullptr;
        case crArrow: id = IDC_ARROW; break;
        case crCross: id = IDC_CROSS; break;
        case crIBeam: id = IDC_IBEAM; break;
        case crSizeNESW: id = IDC_SIZENESW; break;
        case crSizeNS: id = IDC_SIZENS; break;
        case crSizeNWSE: id = IDC_SIZENWSE; break;
        case crSizeWE: id = IDC_SIZEWE; break;
        case crHourGlass: id = IDC_WAIT; break;
        case crNo: id = IDC_NO; break;
        case crHandPoint: return Application.HandCursor();
        case crSizeAll: id = IDC_SIZEALL; break;
    }
    return id ? LoadCursorW(nullptr, id) : nullptr;
}

TShiftState ShiftStateFromKeys(WPARAM mk) {
    TShiftState s = 0;
    if (mk & MK_SHIFT) s |= ssShift;
    if (mk & MK_CONTROL) s |= ssCtrl;
    if (mk & MK_LBUTTON) s |= ssLeft;
    if (mk & MK_RBUTTON) s |= ssRight;
    if (mk & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    AttachOwner(AOwner);
    FFont.OnChange = [this] {
        if (!FFontFromParent) FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (FParent) FParent->RemoveControl(this);
    Application.ControlGone(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    if (!IsWindowed()) Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!IsWindowed()) Invalidate();
    if (FParent && !FParent->FAligning) {
        UpdateAnchorRules();
        if (FAlign != alNone) FParent->Realign();
    }
    BoundsChanged();
}

void TControl::UpdateAnchorRules() {
    if (!FParent) return;
    int pw = FParent->ClientWidth(), ph = FParent->ClientHeight();
    FAnchorRight = pw - (FLeft + FWidth);
    FAnchorBottom = ph - (FTop + FHeight);
    FAnchorCentreX = pw > 0 ? (FLeft + FWidth / 2.0) / pw : 0;
    FAnchorCentreY = ph > 0 ? (FTop + FHeight / 2.0) / ph : 0;
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) return;
    if (FParent) FParent->RemoveControl(this);
    FParent = AParent;
    if (FParent) {
        FParent->InsertControl(this);
        UpdateAnchorRules();
        ParentFontChanged();
    }
}

TForm* TControl::ParentForm() const {
    TForm* found = nullptr;
    for (const TControl* c = this; c; c = c->FParent)
        if (auto* f = dynamic_cast<TForm*>(const_cast<TControl*>(c))) found = f;
    return found;
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    if (!Value) Invalidate();
    FVisible = Value;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    Invalidate();
    if (FParent) {
        if (!FVisible) FParent->ChildGone(this);
        FParent->Realign();
    }
}

bool TControl::Showing() const {
    if (!FVisible) return false;
    if (FParent) return FParent->Showing();
    if (IsWindowed()) {
        auto* w = static_cast<const TWinControl*>(this);
        return w->HandleAllocated() && IsWindowVisible(w->FHandle);
    }
    return false;
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    if (!Value && FParent) FParent->ChildGone(this);
    EnabledChanged();
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    if (FParent) FParent->Realign();
}

void TControl::SetAnchors(TAnchors Value) {
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::SetParentFont(bool Value) {
    FParentFont = Value;
    if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (FParentFont && FParent) {
        FFontFromParent = true;
        FFont = FParent->FFont;
        FFontFromParent = false;
    }
}

void TControl::FontChanged() {
    AdjustSize();
    Invalidate();
}

TColor TControl::Color() const {
    return (FParentColor && FParent) ? FParent->Color() : FColor;
}

void TControl::SetColor(TColor Value) {
    if (Value == FColor && !FParentColor) return;
    FColor = Value;
    FParentColor = false;
    ColorChanged();
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor) return;
    FParentColor = Value;
    ColorChanged();
}

void TControl::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    Invalidate();
}

void TControl::SetCaption(const std::wstring& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    TextChanged();
}

void TControl::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustSize();
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::Invalidate() {
    if (IsWindowed()) {
        auto* w = static_cast<TWinControl*>(this);
        if (w->FHandle) InvalidateRect(w->FHandle, nullptr, FALSE);
        return;
    }
    // Graphic controls live in their (windowed) parent's client area.
    if (!FParent || !FParent->FHandle) return;
    RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    InvalidateRect(FParent->FHandle, &r, FALSE);
}

void TControl::Update() {
    const TControl* c = this;
    while (c && !c->IsWindowed()) c = c->FParent;
    if (c && static_cast<const TWinControl*>(c)->FHandle)
        UpdateWindow(static_cast<const TWinControl*>(c)->FHandle);
}

POINT TControl::WindowOrigin() const {
    if (IsWindowed()) return POINT{0, 0};
    POINT o{FLeft, FTop};
    if (FParent) {
        POINT p = FParent->WindowOrigin();
        o.x += p.x;
        o.y += p.y;
    }
    return o;
}

POINT TControl::ClientToScreen(POINT P) const {
    if (IsWindowed()) {
        auto* w = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
        ::ClientToScreen(w->Handle(), &P);
        return P;
    }
    if (!FParent) return P;
    return FParent->ClientToScreen(POINT{P.x + FLeft, P.y + FTop});
}

POINT TControl::ScreenToClient(POINT P) const {
    if (IsWindowed()) {
        auto* w = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
        ::ScreenToClient(w->Handle(), &P);
        return P;
    }
    if (!FParent) return P;
    POINT q = FParent->ScreenToClient(P);
    return POINT{q.x - FLeft, q.y - FTop};
}

void TControl::BringToFront() {
    if (FParent) {
        auto& v = FParent->FControls;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        v.push_back(this);
    }
    if (IsWindowed() && static_cast<TWinControl*>(this)->FHandle)
        SetWindowPos(static_cast<TWinControl*>(this)->FHandle, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (FParent) {
        auto& v = FParent->FControls;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        v.insert(v.begin(), this);
    }
    if (IsWindowed() && static_cast<TWinControl*>(this)->FHandle)
        SetWindowPos(static_cast<TWinControl*>(this)->FHandle, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (FParent) FParent->Invalidate();
}

bool TControl::GetProperty(const std::wstring& PropName, std::wstring& Value) const {
    if (PropName == L"Width") {
        Value = std::to_wstring(FWidth);
        return true;
    }
    if (PropName == L"Caption" && HasCaption()) {
        Value = FCaption;
        return true;
    }
    return false;
}

bool TControl::SetProperty(const std::wstring& PropName, const std::wstring& Value) {
    if (PropName == L"Width") {
        try {
            SetWidth(std::stoi(Value));
        } catch (...) {
            return false;
        }
        return true;
    }
    if (PropName == L"Caption" && HasCaption()) {
        SetCaption(Value);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    // Leave the parent first, so that nothing reaches this half-destroyed control through it.
    if (FParent) FParent->RemoveControl(this);
    FParent = nullptr;
    // Children owned elsewhere lose their parent here; their windows go with ours.
    for (TControl* c : FControls) c->FParent = nullptr;
    FControls.clear();
    DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND Wnd) {
    return Wnd ? static_cast<TWinControl*>(GetPropW(Wnd, kControlProp)) : nullptr;
}

void TWinControl::CreateParams(TCreateParams& P) {
    P.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (FParent) P.Style |= WS_CHILD;
    if (FVisible) P.Style |= WS_VISIBLE;
    if (!FEnabled) P.Style |= WS_DISABLED;
    if (TabStop) P.Style |= WS_TABSTOP;
    P.ExStyle = WS_EX_CONTROLPARENT;
    P.X = FLeft;
    P.Y = FTop;
    P.Width = FWidth;
    P.Height = FHeight;
    P.Caption = FCaption;
    if (FParent) {
        POINT o = FParent->WindowOrigin();
        P.X += o.x;
        P.Y += o.y;
    }
}

HWND TWinControl::Handle() {
    if (!FHandle) CreateWnd();
    return FHandle;
}

void TWinControl::CreateWnd() {
    if (FHandle) return;
    HWND parentWnd = nullptr;
    if (FParent) {
        // The nearest windowed parent (graphic controls cannot hold windows, so that is FParent).
        parentWnd = FParent->Handle();
        if (FHandle) return;  // the parent created our window with its children
        if (!parentWnd) return;
    }
    TCreateParams p;
    CreateParams(p);
    if (FParent) p.WndParent = parentWnd;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HMENU id = nullptr;
    if (p.Style & WS_CHILD) {
        if (!FCtlId) FCtlId = NextCtlId++;
        id = HMENU(INT_PTR(FCtlId));
    }
    if (p.WinClass.empty()) {
        static ATOM atom = 0;
        if (!atom) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = StaticWndProc;
            wc.hInstance = inst;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
            wc.lpszClassName = kWindowClass;
            atom = RegisterClassExW(&wc);
        }
        FSubclassed = false;
        HWND w = CreateWindowExW(p.ExStyle, kWindowClass, p.Caption.c_str(), p.Style, p.X, p.Y,
                                 p.Width, p.Height, p.WndParent, id, inst, this);
        if (!w) return;
    } else {
        HWND w = CreateWindowExW(p.ExStyle, p.WinClass.c_str(), p.Caption.c_str(), p.Style, p.X,
                                 p.Y, p.Width, p.Height, p.WndParent, id, inst, nullptr);
        if (!w) return;
        FSubclassed = true;
        Attach(w);
        SetWindowSubclass(w, SubclassProc, 1, DWORD_PTR(this));
    }
    SendMessageW(FHandle, WM_SETFONT, WPARAM(FFont.Handle()), FALSE);
    InitWnd();
    CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
    for (TControl* c : std::vector<TControl*>(FControls))
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->CreateWnd();
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    // Children keep what only their windows hold before the windows go.
    std::vector<TWinControl*> stack{this};
    while (!stack.empty()) {
        TWinControl* w = stack.back();
        stack.pop_back();
        if (w->FHandle) w->SaveWndState();
        for (TControl* c : w->FControls)
            if (c->IsWindowed()) stack.push_back(static_cast<TWinControl*>(c));
    }
    DestroyWindow(FHandle);
    if (FHandle) Detach();
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    FRecreating = true;
    DestroyHandle();
    FRecreating = false;
    if (!FParent || FParent->HandleAllocated()) CreateWnd();
}

void TWinControl::Attach(HWND Wnd) {
    FHandle = Wnd;
    SetPropW(Wnd, kControlProp, this);
}

void TWinControl::Detach() {
    if (FHandle) RemovePropW(FHandle, kControlProp);
    FHandle = nullptr;
    FMouseControl = nullptr;
    FCaptureControl = nullptr;
    FTrackingLeave = false;
    FMouseInside = false;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWinControl* self = nullptr;
    if (Msg == WM_NCCREATE) {
        self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
        if (self) self->Attach(Wnd);
    } else {
        self = FromHandle(Wnd);
    }
    if (!self) return DefWindowProcW(Wnd, Msg, WParam, LParam);
    if (Msg == WM_NCDESTROY) {
        self->SafeWndProc(Msg, WParam, LParam);
        self->Detach();
        return DefWindowProcW(Wnd, Msg, WParam, LParam);
    }
    return self->SafeWndProc(Msg, WParam, LParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                           UINT_PTR, DWORD_PTR Ref) {
    auto* self = reinterpret_cast<TWinControl*>(Ref);
    if (Msg == WM_NCDESTROY) {
        RemoveWindowSubclass(Wnd, SubclassProc, 1);
        if (self->FHandle == Wnd) self->Detach();
        return DefSubclassProc(Wnd, Msg, WParam, LParam);
    }
    if (self->FHandle != Wnd) return DefSubclassProc(Wnd, Msg, WParam, LParam);
    return self->SafeWndProc(Msg, WParam, LParam);
}

LRESULT TWinControl::SafeWndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
    // An exception must not unwind through the system's code that called us.
    try {
        if (FWindowProc && Msg != WM_NCDESTROY) return FWindowProc(Msg, WParam, LParam);
        return WndProc(Msg, WParam, LParam);
    } catch (...) {
        try {
            return DefaultHandler(Msg, WParam, LParam);
        } catch (...) {
            return 0;
        }
    }
}

LRESULT TWinControl::DefaultHandler(UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (!FHandle) return 0;
    if (FSubclassed) return DefSubclassProc(FHandle, Msg, WParam, LParam);
    return DefWindowProcW(FHandle, Msg, WParam, LParam);
}

LRESULT TWinControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    return SendMessageW(Handle(), Msg, WParam, LParam);
}

HBRUSH TWinControl::BackgroundBrush() {
    TColor c = Color();
    for (TControl* p = this; p && p->FTransparent && p->FParent; p = p->FParent) c = p->FParent->Color();
    if (!FBrush || FBrushColor != c) {
        FBrush.reset(CreateSolidBrush(ColorToRGB(c)));
        FBrushColor = c;
    }
    return HBRUSH(FBrush.get());
}

void TWinControl::DoPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    RECT r = ps.rcPaint;
    RECT cr;
    GetClientRect(FHandle, &cr);
    if (DoubleBuffered && r.right > r.left && r.bottom > r.top) {
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = CreateCompatibleBitmap(dc, r.right - r.left, r.bottom - r.top);
        HGDIOBJ old = SelectObject(mem, bmp);
        SetViewportOrgEx(mem, -r.left, -r.top, nullptr);
        IntersectClipRect(mem, r.left, r.top, r.right, r.bottom);
        PaintWindow(mem);
        PaintControls(mem, r);
        SetViewportOrgEx(mem, 0, 0, nullptr);
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
    } else {
        PaintWindow(dc);
        PaintControls(dc, r);
    }
    EndPaint(FHandle, &ps);
}

void TWinControl::PaintBackground(HDC DC, const RECT& R) {
    if (FTransparent && FParent) {
        // Let the parent paint what lies behind us, shifted into our coordinates.
        POINT org;
        GetViewportOrgEx(DC, &org);
        SetViewportOrgEx(DC, org.x - FLeft, org.y - FTop, nullptr);
        FParent->PaintWindow(DC);
        SetViewportOrgEx(DC, org.x, org.y, nullptr);
        return;
    }
    paint::Fill(DC, R, Color());
}

void TWinControl::PaintWindow(HDC DC) {
    RECT cr{0, 0, ClientWidth(), ClientHeight()};
    PaintBackground(DC, cr);
    Paint(DC);
}

void TWinControl::PaintControls(HDC DC, const RECT& Clip) {
    for (TControl* c : FControls) {
        if (c->IsWindowed() || !c->FVisible) continue;
        RECT b = c->BoundsRect(), x;
        if (!IntersectRect(&x, &b, &Clip)) continue;
        int saved = SaveDC(DC);
        IntersectClipRect(DC, b.left, b.top, b.right, b.bottom);
        POINT org;
        GetViewportOrgEx(DC, &org);
        SetViewportOrgEx(DC, org.x + b.left, org.y + b.top, nullptr);
        SelectObject(DC, c->FFont.Handle());
        SetBkMode(DC, TRANSPARENT);
        c->Paint(DC);
        RestoreDC(DC, saved);
    }
}

TControl* TWinControl::ControlAtPos(POINT P, bool AllowWindowed, bool AllowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!c->FVisible || (!AllowWindowed && c->IsWindowed())) continue;
        if (!AllowDisabled && !c->FEnabled) continue;
        if (ContainsPoint(c->BoundsRect(), P)) return c;
    }
    return nullptr;
}

void TWinControl::SetMouseControl(TControl* C) {
    if (C == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = C;
    if (old) {
        old->FMouseInside = false;
        old->MouseLeave();
    }
    if (C && C == FMouseControl) {
        C->FMouseInside = true;
        C->MouseEnter();
    }
    Application.MouseOverControl(FMouseControl);
}

void TWinControl::ChildGone(TControl* C) {
    if (FMouseControl == C) FMouseControl = nullptr;
    if (FCaptureControl == C) FCaptureControl = nullptr;
}

void TWinControl::RouteMouse(UINT Msg, WPARAM WParam, LPARAM LParam) {
    POINT p{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
    TShiftState shift = ShiftStateFromKeys(WParam);
    auto local = [&](TControl* c) {
        return c == this ? p : POINT{p.x - c->FLeft, p.y - c->FTop};
    };
    TControl* hit = FSubclassed ? nullptr : ControlAtPos(p);
    if (!hit) hit = this;
    switch (Msg) {
        case WM_MOUSEMOVE: {
            if (!FTrackingLeave) {
                TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
                FTrackingLeave = TrackMouseEvent(&t) != FALSE;
            }
            if (!FCaptureControl) SetMouseControl(hit);
            TControl* target = FCaptureControl ? FCaptureControl : hit;
            POINT q = local(target);
            target->MouseMove(shift, q.x, q.y);
            break;
        }
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
            bool dbl = Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK;
            Application.CancelHint();
            if (!FSubclassed) {
                if (TabStop && CanFocus() && GetFocus() != FHandle) SetFocus();
                SetCapture(FHandle);
            }
            FCaptureControl = hit;
            FCaptureButton = ButtonOf(Msg);
            POINT q = local(hit);
            if (dbl) {
                shift |= ssDouble;
                hit->DblClick();
            }
            if (FCaptureControl) hit->MouseDown(FCaptureButton, shift, q.x, q.y);
            break;
        }
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
            TMouseButton b = ButtonOf(Msg);
            TControl* target = FCaptureControl ? FCaptureControl : hit;
            bool pressedHere = FCaptureControl == target && FCaptureButton == b;
            FCaptureControl = nullptr;
            if (!FSubclassed && GetCapture() == FHandle) ReleaseCapture();
            POINT q = local(target);
            RECT inside{0, 0, target->FWidth, target->FHeight};
            bool click = pressedHere && b == mbLeft && ContainsPoint(inside, q) &&
                         target->ClickOnMouseUp() && !(target == this && FSubclassed);
            RECT cr;
            GetClientRect(FHandle, &cr);
            SetMouseControl(ContainsPoint(cr, p) ? hit : nullptr);
            target->MouseUp(b, shift, q.x, q.y);
            if (click && target->FEnabled) target->Click();
            break;
        }
    }
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
        case WM_PAINT:
            if (FSubclassed) break;
            DoPaint();
            return 0;
        case WM_ERASEBKGND:
            if (FSubclassed) break;
            return 1;
        case WM_PRINTCLIENT:
            if (FSubclassed) break;
            PaintWindow(HDC(WParam));
            PaintControls(HDC(WParam), RECT{0, 0, ClientWidth(), ClientHeight()});
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        {
            // A click handler may free this control (and its form): touch nothing afterwards.
            bool subclassed = FSubclassed;
            RouteMouse(Msg, WParam, LParam);
            if (!subclassed) return 0;
            break;
        }
        case WM_MOUSELEAVE:
            FTrackingLeave = false;
            if (!FCaptureControl) SetMouseControl(nullptr);
            if (FSubclassed) break;
            return 0;
        case WM_CAPTURECHANGED:
            if (HWND(LParam) != FHandle) FCaptureControl = nullptr;
            break;
        case WM_SETCURSOR:
            if (HWND(WParam) == FHandle && LOWORD(LParam) == HTCLIENT) {
                POINT p;
                GetCursorPos(&p);
                ::ScreenToClient(FHandle, &p);
                TControl* c = FSubclassed ? nullptr : ControlAtPos(p, false, true);
                TCursor cur = c ? c->Cursor : crDefault;
                if (cur == crDefault) cur = Cursor;
                if (HCURSOR h = CursorHandle(cur)) {
                    SetCursor(h);
                    return TRUE;
                }
            }
            break;
        case WM_CONTEXTMENU: {
            POINT sp{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
            TControl* c = this;
            if (sp.x == -1 && sp.y == -1) {
                RECT wr;
                GetWindowRect(FHandle, &wr);
                sp = POINT{wr.left + 4, wr.top + 4};
            } else if (!FSubclassed) {
                POINT cp = sp;
                ::ScreenToClient(FHandle, &cp);
                if (TControl* g = ControlAtPos(cp, false, true)) c = g;
            }
            TPopupMenu* m = c->PopupMenu ? c->PopupMenu : PopupMenu;
            if (m) {
                m->PopupComponent = c;
                m->Popup(sp.x, sp.y);
                return 0;
            }
            break;
        }
        case WM_COMMAND:
            if (LParam) {
                if (TWinControl* c = FromHandle(HWND(LParam)); c && c != this) {
                    LRESULT r = 0;
                    if (c->Reflect(Msg, WParam, LParam, r)) return r;
                }
            }
            break;
        case WM_NOTIFY: {
            auto* h = reinterpret_cast<NMHDR*>(LParam);
            if (TWinControl* c = FromHandle(h->hwndFrom); c && c != this) {
                LRESULT r = 0;
                if (c->Reflect(Msg, WParam, LParam, r)) return r;
            }
            break;
        }
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(LParam);
            if (d->CtlType == ODT_MENU) {
                if (TMenuItem::DrawMenuItem(*d)) return TRUE;
                break;
            }
            if (TWinControl* c = FromHandle(d->hwndItem); c && c != this) {
                LRESULT r = 0;
                if (c->Reflect(Msg, WParam, LParam, r)) return r;
            }
            break;
        }
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(LParam);
            if (m->CtlType == ODT_MENU) {
                if (TMenuItem::MeasureMenuItem(*m)) return TRUE;
                break;
            }
            if (TWinControl* c = FromHandle(GetDlgItem(FHandle, int(m->CtlID))); c && c != this) {
                LRESULT r = 0;
                if (c->Reflect(Msg, WParam, LParam, r)) return r;
            }
            break;
        }
        case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            if (TWinControl* c = FromHandle(HWND(LParam)); c && c != this) {
                LRESULT r = 0;
                if (c->Reflect(Msg, WParam, LParam, r)) return r;
                // The child draws on its own (or its parent's) colour, text in its font colour.
                HDC dc = HDC(WParam);
                SetTextColor(dc, ColorToRGB(c->FEnabled ? c->FFont.Color() : clGrayText));
                SetBkColor(dc, ColorToRGB(c->Color()));
                SetBkMode(dc, TRANSPARENT);
                return LRESULT(c->BackgroundBrush());
            }
            break;
        }
        case WM_WINDOWPOSCHANGED: {
            auto* wp = reinterpret_cast<WINDOWPOS*>(LParam);
            if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) {
                RECT r;
                GetWindowRect(FHandle, &r);
                if (HWND pw = GetParent(FHandle); pw && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
                    MapWindowPoints(nullptr, pw, reinterpret_cast<POINT*>(&r), 2);
                POINT o = FParent ? FParent->WindowOrigin() : POINT{0, 0};
                int l = r.left - o.x, t = r.top - o.y, w = r.right - r.left, h = r.bottom - r.top;
                if (!IsIconic(FHandle) && (l != FLeft || t != FTop || w != FWidth || h != FHeight)) {
                    FLeft = l;
                    FTop = t;
                    FWidth = w;
                    FHeight = h;
                    if (FParent && !FParent->FAligning) UpdateAnchorRules();
                    BoundsChanged();
                }
            }
            break;
        }
        case WM_SIZE:
            if (WParam != SIZE_MINIMIZED) {
                Realign();
                Resize();
            }
            break;
        case WM_KEYDOWN: case WM_SYSKEYDOWN: {
            WORD key = WORD(WParam);
            KeyDown(key, KeyboardShiftState());
            if (!key) return 0;
            break;
        }
        case WM_KEYUP: case WM_SYSKEYUP: {
            WORD key = WORD(WParam);
            KeyUp(key, KeyboardShiftState());
            if (!key) return 0;
            break;
        }
        case WM_SETFOCUS:
            if (OnEnter) OnEnter(this);
            break;
        case WM_KILLFOCUS:
            if (OnExit) OnExit(this);
            break;
    }
    return DefaultHandler(Msg, WParam, LParam);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::Resize() {
    if (OnResize) OnResize(this);
}

int TWinControl::ClientWidth() const {
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return r.right;
    }
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style & ~WS_VISIBLE, FALSE, p.ExStyle);
    return std::max(0, FWidth - int(r.right - r.left));
}

int TWinControl::ClientHeight() const {
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return r.bottom;
    }
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style & ~WS_VISIBLE, FALSE, p.ExStyle);
    return std::max(0, FHeight - int(r.bottom - r.top));
}

void TWinControl::SetClientSize(int W, int H) {
    int dx = FWidth - ClientWidth(), dy = FHeight - ClientHeight();
    SetBounds(FLeft, FTop, W + dx, H + dy);
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible || !c->FEnabled) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (HWND h = Handle()) ::SetFocus(h);
}

void TWinControl::InsertControl(TControl* C) {
    FControls.push_back(C);
    if (C->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(C);
        if (w->FHandle)
            w->RecreateWnd();
        else if (FHandle)
            w->CreateWnd();
    } else {
        C->Invalidate();
    }
    if (C->FAlign != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* C) {
    C->Invalidate();
    ChildGone(C);
    Application.ControlGone(C);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), C), FControls.end());
    if (C->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(C);
        // A window cannot outlive its parent's: without a parent it goes until shown again.
        if (w->FHandle && !FRecreating) {
            C->FParent = nullptr;
            w->DestroyHandle();
        }
    }
    if (C->FAlign != alNone) Realign();
}

void TWinControl::Realign() {
    if (FAligning) return;
    RECT r{0, 0, ClientWidth(), ClientHeight()};
    AdjustClientRect(r);
    FAligning = true;
    AlignControls(r);
    FAligning = false;
}

void TWinControl::AlignControls(RECT& R) {
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order) {
        for (TControl* c : std::vector<TControl*>(FControls)) {
            if (c->FAlign != a || !c->FVisible) continue;
            int w = R.right - R.left, h = R.bottom - R.top;
            switch (a) {
                case alTop:
                    c->SetBounds(R.left, R.top, w, c->FHeight);
                    R.top += c->FHeight;
                    break;
                case alBottom:
                    c->SetBounds(R.left, R.bottom - c->FHeight, w, c->FHeight);
                    R.bottom -= c->FHeight;
                    break;
                case alLeft:
                    c->SetBounds(R.left, R.top, c->FWidth, h);
                    R.left += c->FWidth;
                    break;
                case alRight:
                    c->SetBounds(R.right - c->FWidth, R.top, c->FWidth, h);
                    R.right -= c->FWidth;
                    break;
                default:
                    c->SetBounds(R.left, R.top, w, h);
                    break;
            }
        }
    }
    // Anchored children keep their distances to the edges they are anchored to.
    int pw = ClientWidth(), ph = ClientHeight();
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (c->FAlign != alNone) continue;
        TAnchors a = c->FAnchors;
        if (a == (akLeft | akTop)) continue;
        int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
        if ((a & akLeft) && (a & akRight))
            w = pw - l - c->FAnchorRight;
        else if (a & akRight)
            l = pw - w - c->FAnchorRight;
        else if (!(a & akLeft))
            l = int(c->FAnchorCentreX * pw - w / 2.0 + 0.5);
        if ((a & akTop) && (a & akBottom))
            h = ph - t - c->FAnchorBottom;
        else if (a & akBottom)
            t = ph - h - c->FAnchorBottom;
        else if (!(a & akTop))
            t = int(c->FAnchorCentreY * ph - h / 2.0 + 0.5);
        c->SetBounds(l, t, w, h);
    }
}

void TWinControl::FontChanged() {
    if (FHandle) SendMessageW(FHandle, WM_SETFONT, WPARAM(FFont.Handle()), TRUE);
    for (TControl* c : FControls) c->ParentFontChanged();
    TControl::FontChanged();
}

void TWinControl::ColorChanged() {
    Invalidate();
    for (TControl* c : FControls) c->Invalidate();
}

void TWinControl::VisibleChanged() {
    if (FHandle) {
        ShowWindow(FHandle, FVisible ? SW_SHOWNA : SW_HIDE);
    } else if (FVisible && FParent && FParent->HandleAllocated()) {
        CreateWnd();
    }
    if (FParent) {
        if (!FVisible) FParent->ChildGone(this);
        FParent->Realign();
    }
}

void TWinControl::EnabledChanged() {
    if (FHandle) EnableWindow(FHandle, FEnabled);
    Invalidate();
}

void TWinControl::TextChanged() {
    if (FHandle) SetWindowTextW(FHandle, FCaption.c_str());
    AdjustSize();
    Invalidate();
}

void TWinControl::BoundsChanged() {
    if (FHandle) {
        POINT o = FParent ? FParent->WindowOrigin() : POINT{0, 0};
        RECT r;
        GetWindowRect(FHandle, &r);
        if (HWND pw = GetParent(FHandle); pw && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(nullptr, pw, reinterpret_cast<POINT*>(&r), 2);
        if (r.left != FLeft + o.x || r.top != FTop + o.y || r.right - r.left != FWidth ||
            r.bottom - r.top != FHeight)
            SetWindowPos(FHandle, nullptr, FLeft + o.x, FTop + o.y, FWidth, FHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Without a window no size message comes: place the children now.
    if (!FHandle) {
        Realign();
        Resize();
    }
}

// ---------------------------------------------------------------------------------------------

namespace paint {

void Fill(HDC DC, const RECT& R, TColor Color) {
    if (Color == clNone) return;
    SetBkColor(DC, ColorToRGB(Color));
    ExtTextOutW(DC, 0, 0, ETO_OPAQUE, &R, nullptr, 0, nullptr);
}

void Frame(HDC DC, const RECT& R, TColor Color) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(Color));
    FrameRect(DC, &R, b);
    DeleteObject(b);
}

void Gradient(HDC DC, const RECT& R, TColor From, TColor To, bool Vertical) {
    if (R.right <= R.left || R.bottom <= R.top) return;
    COLORREF a = ColorToRGB(From), b = ColorToRGB(To);
    TRIVERTEX v[2] = {};
    v[0].x = R.left;
    v[0].y = R.top;
    v[0].Red = COLOR16(GetRValue(a) << 8);
    v[0].Green = COLOR16(GetGValue(a) << 8);
    v[0].Blue = COLOR16(GetBValue(a) << 8);
    v[1].x = R.right;
    v[1].y = R.bottom;
    v[1].Red = COLOR16(GetRValue(b) << 8);
    v[1].Green = COLOR16(GetGValue(b) << 8);
    v[1].Blue = COLOR16(GetBValue(b) << 8);
    GRADIENT_RECT g{0, 1};
    GradientFill(DC, v, 2, &g, 1, Vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void Text(HDC DC, const std::wstring& S, RECT R, const TFont& Font, UINT Flags, TColor Color) {
    HGDIOBJ old = SelectObject(DC, Font.Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Color == clDefault ? Font.Color() : Color));
    DrawTextW(DC, S.c_str(), int(S.size()), &R, Flags);
    SelectObject(DC, old);
}

SIZE TextExtent(const TFont& Font, const std::wstring& S) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font.Handle());
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, S.c_str(), int(S.size()), &sz);
    if (S.empty()) {
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        sz.cy = tm.tmHeight;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return sz;
}

}  // namespace paint

}  // namespace ui
