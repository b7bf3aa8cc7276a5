// The control base classes.
//
// TControl: anything placed on a parent at a pixel position (geometry, visibility, enabling,
// alignment and anchors, font, colour, hint, cursor, popup menu, click and mouse events).
// TGraphicControl: a window-less control; its parent paints it (Paint) and hands it the mouse.
// TWinControl: a control with a window of its own, created lazily when first needed. It is the
// one window base of the layer: our own window class passes `this` through lpCreateParams,
// attaches it on WM_NCCREATE and detaches on WM_NCDESTROY; system controls (buttons, list views)
// are subclassed right after creation. No exception leaves a window procedure. A parent reflects
// WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLOR* to the child control they
// concern (Reflect), so each control handles its own notifications.
#pragma once

#include "ui/component.h"
#include "ui/font.h"
#include "ui/types.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class TWinControl;
class TPopupMenu;
class TForm;

class TControl : public virtual TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    std::wstring ClassName() const override { return L"TControl"; }

    // Geometry in the parent's client pixels.
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int V) { SetBounds(V, FTop, FWidth, FHeight); }
    void SetTop(int V) { SetBounds(FLeft, V, FWidth, FHeight); }
    void SetWidth(int V) { SetBounds(FLeft, FTop, V, FHeight); }
    void SetHeight(int V) { SetBounds(FLeft, FTop, FWidth, V); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    RECT ClientRect() const { return RECT{0, 0, ClientWidth(), ClientHeight()}; }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    // The form this control is placed on (the outermost one when forms are hosted in panels).
    TForm* ParentForm() const;

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents (and the outermost window exists and is shown).
    bool Showing() const;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont = Value; }
    // True while the control uses its parent's font (the default); changing Font clears it.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    // The background colour; the parent's while ParentColor is on (the default for controls;
    // forms have their own). Setting a colour switches ParentColor off.
    TColor Color() const;
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    // Transparent controls let their parent's background show through.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    std::wstring Hint;
    bool ShowHint = false;
    TCursor Cursor = crDefault;
    TPopupMenu* PopupMenu = nullptr;

    // The text the control shows; not every control shows one (see HasCaption).
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& Value);
    virtual bool HasCaption() const { return true; }

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Raises the click (as a user's click does).
    virtual void Click();
    void Invalidate();
    // Paints pending invalid areas now.
    void Update();
    void Repaint() {
        Invalidate();
        Update();
    }
    void BringToFront();
    void SendToBack();
    POINT ClientToScreen(POINT P) const;
    POINT ScreenToClient(POINT P) const;
    // Offset of this control's client area inside the nearest window (itself when windowed).
    POINT WindowOrigin() const;
    bool MouseInside() const { return FMouseInside; }

    bool GetProperty(const std::wstring& PropName, std::wstring& Value) const override;
    bool SetProperty(const std::wstring& PropName, const std::wstring& Value) override;

    // Called by the parent window (graphic controls) or the control's own window.
    virtual void Paint(HDC DC) {}
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void DblClick();
    virtual bool IsWindowed() const { return false; }
    // Whether the layer turns a press and release of the left button into Click (the system's
    // own controls report their clicks themselves).
    virtual bool ClickOnMouseUp() const { return true; }

protected:
    virtual void FontChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void TextChanged() {
        AdjustSize();
        Invalidate();
    }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void VisibleChanged();
    virtual void BoundsChanged() {}
    // Sizes the control to its content when AutoSize is on.
    virtual void AdjustSize() {}
    // The parent font or colour changed.
    virtual void ParentFontChanged();
    friend class TWinControl;

    void UpdateAnchorRules();

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    bool FAutoSize = false;
    bool FTransparent = false;
    bool FMouseInside = false;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    // Distances kept by the anchors: to the parent's right and bottom edge, and for a control
    // anchored to neither side, its centre as a share of the parent's size.
    int FAnchorRight = 0, FAnchorBottom = 0;
    double FAnchorCentreX = 0, FAnchorCentreY = 0;
    TFont FFont;
    bool FParentFont = true;
    bool FFontFromParent = false;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    std::wstring FCaption;
};

// A control painted by its parent, with no window of its own.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
    std::wstring ClassName() const override { return L"TGraphicControl"; }
};

struct TCreateParams {
    std::wstring WinClass;  // empty: the layer's own window class
    std::wstring Caption;
    DWORD Style = 0, ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    bool OwnClassDblClicks = true;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    std::wstring ClassName() const override { return L"TWinControl"; }
    bool IsWindowed() const override { return true; }

    // The window, created (with the parent's window first) when first asked for.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys and recreates the window (style changes that need a new window).
    void RecreateWnd();
    void DestroyHandle();
    // The control that owns a window of the layer, or null.
    static TWinControl* FromHandle(HWND Wnd);

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int Index) const { return FControls[Index]; }
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientSize(int W, int H);
    // The topmost visible child control under a client point (graphic controls only when
    // AllowWindowed is false), or null.
    TControl* ControlAtPos(POINT P, bool AllowWindowed = false, bool AllowDisabled = false) const;

    bool TabStop = false;
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool DoubleBuffered = true;

    TKeyEvent OnKeyDown, OnKeyUp;
    TNotifyEvent OnEnter, OnExit;

    // Places aligned and anchored children anew (after a size change).
    void Realign();

    // A parent hands a message about this control to it. Return true when handled.
    virtual bool Reflect(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) { return false; }
    // The brush a child gets for its background (WM_CTLCOLOR* for children of this control).
    HBRUSH BackgroundBrush();

    // Sends the message to the window procedure as the system would (tests drive controls so).
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    // The control's message handler. Code that hooks a window (a view that watches its frame's
    // messages) keeps the current one, installs its own and passes messages on to the kept one;
    // it puts the kept one back when done. Empty means the control's own WndProc.
    using TWndMethod = std::function<LRESULT(UINT Msg, WPARAM WParam, LPARAM LParam)>;
    TWndMethod WindowProc() {
        if (FWindowProc) return FWindowProc;
        return [this](UINT m, WPARAM w, LPARAM l) { return WndProc(m, w, l); };
    }
    void SetWindowProc(TWndMethod Proc) { FWindowProc = std::move(Proc); }

protected:
    friend class TControl;
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    // After the window exists: put the control's state into it (text, items, check state).
    virtual void InitWnd() {}
    // Before the window goes: take any state the window alone holds.
    virtual void SaveWndState() {}
    virtual LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT DefaultHandler(UINT Msg, WPARAM WParam, LPARAM LParam);
    // Paints the background and then Paint; the children are painted after this.
    virtual void PaintWindow(HDC DC);
    // Fills the background (colour, or the parent's background when transparent).
    virtual void PaintBackground(HDC DC, const RECT& R);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void Resize();
    virtual void AlignControls(RECT& R);
    // The part of the client area that aligned children share (a panel leaves its bevels out).
    virtual void AdjustClientRect(RECT& R) {}
    void FontChanged() override;
    void ColorChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;
    void BoundsChanged() override;

    void InsertControl(TControl* C);
    void RemoveControl(TControl* C);
    void CreateChildHandles();
    void PaintControls(HDC DC, const RECT& Clip);
    // Mouse routing to window-less children.
    void RouteMouse(UINT Msg, WPARAM WParam, LPARAM LParam);
    void SetMouseControl(TControl* C);
    void ChildGone(TControl* C);

    HWND FHandle = nullptr;
    bool FSubclassed = false;  // a system control's window, subclassed
    bool FRecreating = false;
    bool FAligning = false;
    std::vector<TControl*> FControls;
    TControl* FMouseControl = nullptr;    // the child (or this) the mouse is over
    TControl* FCaptureControl = nullptr;  // the child that got the button press
    TMouseButton FCaptureButton = mbLeft;
    bool FTrackingLeave = false;
    handles::UniqueGdi FBrush;  // background brush for children
    TColor FBrushColor = clNone;
    int FCtlId = 0;
    TWndMethod FWindowProc;

private:
    static LRESULT CALLBACK StaticWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    static LRESULT CALLBACK SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                         UINT_PTR Id, DWORD_PTR Ref);
    LRESULT SafeWndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
    void Attach(HWND Wnd);
    void Detach();
    void DoPaint();
};

// A windowed control of the layer's own class that paints itself (panels and the like).
class TCustomControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::wstring ClassName() const override { return L"TCustomControl"; }
};

// Helpers for painting.
namespace paint {
// Fills R with a vertical (or horizontal) gradient from From to To.
void Gradient(HDC DC, const RECT& R, TColor From, TColor To, bool Vertical = true);
void Fill(HDC DC, const RECT& R, TColor Color);
void Frame(HDC DC, const RECT& R, TColor Color);
// Text with the font (colour included), transparent background; Flags as for DrawTextW.
void Text(HDC DC, const std::wstring& S, RECT R, const TFont& Font, UINT Flags,
          TColor Color = clDefault);
SIZE TextExtent(const TFont& Font, const std::wstring& S);
}  // namespace paint

}  // namespace ui
