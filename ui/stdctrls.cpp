#include "ui/stdctrls.h"

#include "ui/forms.h"

#include <algorithm>

namespace ui {

// ---------------------------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 65;
    FHeight = 17;
    FAutoSize = true;
}

void TLabel::SetAlignment(TAlignment V) {
    FAlignment = V;
    Invalidate();
}
void TLabel::SetLayout(TVerticalAlignment V) {
    FLayout = V;
    Invalidate();
}
void TLabel::SetWordWrap(bool V) {
    FWordWrap = V;
    AdjustSize();
    Invalidate();
}

UINT TLabel::DrawFlags() const {
    UINT f = FWordWrap ? DT_WORDBREAK : 0;
    if (!ShowAccelChar) f |= DT_NOPREFIX;
    if (FAlignment == taRightJustify) f |= DT_RIGHT;
    if (FAlignment == taCenter) f |= DT_CENTER;
    return f;
}

void TLabel::AdjustSize() {
    if (!FAutoSize) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
    std::wstring s = FCaption.empty() ? L" " : FCaption;
    DrawTextW(dc, s.c_str(), int(s.size()), &r, (DrawFlags() & ~(DT_RIGHT | DT_CENTER)) | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int w = FWordWrap ? FWidth : r.right, h = r.bottom;
    // Right-aligned labels keep their right edge when they grow (as designers expect).
    int l = FLeft;
    if (!FWordWrap && FAlignment == taRightJustify) l = FLeft + FWidth - w;
    SetBounds(l, FTop, w, h);
}

void TLabel::Paint(HDC DC) {
    RECT r{0, 0, FWidth, FHeight};
    if (!FTransparent) paint::Fill(DC, r, Color());
    UINT f = DrawFlags();
    if (FLayout != taAlignTop) {
        RECT m = r;
        HGDIOBJ old = SelectObject(DC, FFont.Handle());
        DrawTextW(DC, FCaption.c_str(), int(FCaption.size()), &m, f | DT_CALCRECT);
        SelectObject(DC, old);
        int h = m.bottom - m.top;
        r.top = FLayout == taVerticalCenter ? (FHeight - h) / 2 : FHeight - h;
    }
    paint::Text(DC, FCaption, r, FFont, f, FEnabled ? clDefault : clGrayText);
}

bool TLabel::GetProperty(const std::wstring& PropName, std::wstring& Value) const {
    if (PropName == L"AutoSize") {
        Value = FAutoSize ? L"True" : L"False";
        return true;
    }
    return TGraphicControl::GetProperty(PropName, Value);
}

bool TLabel::SetProperty(const std::wstring& PropName, const std::wstring& Value) {
    if (PropName == L"AutoSize") {
        SetAutoSize(Value == L"True");
        return true;
    }
    return TGraphicControl::SetProperty(PropName, Value);
}

// ---------------------------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 75;
    FHeight = 25;
    TabStop = true;
}

void TButton::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    P.WinClass = L"BUTTON";
    P.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    P.ExStyle &= ~WS_EX_CONTROLPARENT;
}

void TButton::Click() {
    // The form learns the result first, so a click handler may still change it.
    if (ModalResult != mrNone)
        if (TForm* f = ParentForm()) f->ModalResult = ModalResult;
    TWinControl::Click();
}

bool TButton::Reflect(UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Msg == WM_COMMAND && HIWORD(WParam) == BN_CLICKED) {
        Click();
        Result = 0;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 97;
    FHeight = 17;
    TabStop = true;
}

void TCheckBox::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    P.WinClass = L"BUTTON";
    // Not the automatic kind: the state changes only through SetChecked, so code and user
    // changes take the same path and both raise OnClick.
    P.Style |= BS_CHECKBOX;
    P.ExStyle &= ~WS_EX_CONTROLPARENT;
}

void TCheckBox::InitWnd() { SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0); }

void TCheckBox::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    if (FHandle) SendMessageW(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

bool TCheckBox::Reflect(UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Msg == WM_COMMAND && HIWORD(WParam) == BN_CLICKED) {
        SetChecked(!FChecked);
        Result = 0;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TComponent(AOwner), TWinControl(AOwner) {
    FWidth = 113;
    FHeight = 17;
    TabStop = true;
}

void TRadioButton::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    P.WinClass = L"BUTTON";
    P.Style |= BS_RADIOBUTTON;
    P.ExStyle &= ~WS_EX_CONTROLPARENT;
}

void TRadioButton::InitWnd() {
    SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    if (FHandle) SendMessageW(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (Value) {
        // One checked button per parent.
        if (FParent)
            for (int i = 0; i < FParent->ControlCount(); ++i)
                if (auto* r = dynamic_cast<TRadioButton*>(FParent->Controls(i)); r && r != this)
                    r->SetChecked(false);
        Click();
    }
}

bool TRadioButton::Reflect(UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Msg == WM_COMMAND && HIWORD(WParam) == BN_CLICKED) {
        SetChecked(true);
        Result = 0;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 185;
    FHeight = 105;
}

void TGroupBox::AdjustClientRect(RECT& R) {
    R.top += paint::TextExtent(FFont, L"0").cy;
    InflateRect(&R, -2, -2);
}

void TGroupBox::Paint(HDC DC) {
    SIZE ts = paint::TextExtent(FFont, FCaption.empty() ? L"0" : FCaption);
    RECT frame{0, ts.cy / 2, FWidth, FHeight};
    DrawEdge(DC, &frame, EDGE_ETCHED, BF_RECT);
    if (!FCaption.empty()) {
        RECT t{8, 0, 8 + ts.cx + 4, ts.cy};
        paint::Fill(DC, t, Color());
        t.left += 2;
        paint::Text(DC, FCaption, t, FFont, DT_SINGLELINE | DT_NOPREFIX,
                    FEnabled ? clDefault : clGrayText);
    }
}

// ---------------------------------------------------------------------------------------------
// TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 185;
    FHeight = 41;
    Background.OnChange = [this] { Invalidate(); };
}

void TPanel::PaintBackground(HDC DC, const RECT& R) {
    if (!Background.Empty()) {
        if (BackgroundStretch) {
            Background.StretchDraw(DC, R);
        } else {
            paint::Fill(DC, R, Color());
            for (int y = 0; y < R.bottom; y += Background.Height())
                for (int x = 0; x < R.right; x += Background.Width()) Background.Draw(DC, x, y);
        }
        return;
    }
    if (GradientTo != clNone) {
        paint::Gradient(DC, R, Color(), GradientTo, GradientVertical);
        return;
    }
    TCustomControl::PaintBackground(DC, R);
}

void TPanel::AdjustClientRect(RECT& R) {
    int edge = (BevelOuter != bvNone ? 1 : 0) + (BevelInner != bvNone ? 1 : 0);
    InflateRect(&R, -edge, -edge);
}

void TPanel::Paint(HDC DC) {
    RECT r{0, 0, FWidth, FHeight};
    auto edge = [&](TBevelCut cut, bool outer) {
        if (cut == bvNone) return;
        if (cut == bvSpace) {
            InflateRect(&r, -1, -1);
            return;
        }
        UINT e = cut == bvRaised ? (outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER)
                                 : (outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER);
        DrawEdge(DC, &r, e, BF_RECT | BF_ADJUST);
    };
    edge(BevelOuter, true);
    edge(BevelInner, false);
    if (ShowCaption && !FCaption.empty())
        paint::Text(DC, FCaption, r, FFont, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---------------------------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 50;
    FHeight = 50;
}

void TBevel::Paint(HDC DC) {
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (Style == TBevelStyle::bsRaised) std::swap(dark, light);
    auto line = [&](int x1, int y1, int x2, int y2, COLORREF c) {
        HPEN p = CreatePen(PS_SOLID, 1, c);
        HGDIOBJ o = SelectObject(DC, p);
        MoveToEx(DC, x1, y1, nullptr);
        LineTo(DC, x2, y2);
        SelectObject(DC, o);
        DeleteObject(p);
    };
    int w = FWidth, h = FHeight;
    switch (Shape) {
        case TBevelShape::bsBox:
        case TBevelShape::bsFrame:
            line(0, 0, w - 1, 0, dark);
            line(0, 0, 0, h - 1, dark);
            line(w - 1, 0, w - 1, h, light);
            line(0, h - 1, w, h - 1, light);
            break;
        case TBevelShape::bsTopLine:
            line(0, 0, w, 0, dark);
            line(0, 1, w, 1, light);
            break;
        case TBevelShape::bsBottomLine:
            line(0, h - 2, w, h - 2, dark);
            line(0, h - 1, w, h - 1, light);
            break;
        case TBevelShape::bsLeftLine:
            line(0, 0, 0, h, dark);
            line(1, 0, 1, h, light);
            break;
        case TBevelShape::bsRightLine:
            line(w - 2, 0, w - 2, h, dark);
            line(w - 1, 0, w - 1, h, light);
            break;
        case TBevelShape::bsSpacer:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 105;
    FHeight = 105;
    FPicture.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    FTransparentCopy.Clear();
    AdjustSize();
    Invalidate();
}

void TImage::SetStretch(bool V) {
    FStretch = V;
    Invalidate();
}
void TImage::SetCenter(bool V) {
    FCenter = V;
    Invalidate();
}
void TImage::SetTransparent(bool V) {
    FTransparentPic = V;
    FTransparentCopy.Clear();
    Invalidate();
}

void TImage::AdjustSize() {
    if (FAutoSize && !FPicture.Empty()) SetBounds(FLeft, FTop, FPicture.Width(), FPicture.Height());
}

void TImage::Paint(HDC DC) {
    if (FPicture.Empty()) return;
    const TPicture* pic = &FPicture;
    if (FTransparentPic) {
        // Pictures without alpha: the bottom-left pixel's colour is the see-through colour.
        if (FTransparentCopy.Empty()) {
            FTransparentCopy = FPicture;
            GdiFlush();
            uint32_t p = FTransparentCopy.Bits()[size_t(FPicture.Height() - 1) * FPicture.Width()];
            if ((p >> 24) == 0xFF)
                FTransparentCopy.MakeColorTransparent(RGB((p >> 16) & 255, (p >> 8) & 255, p & 255));
        }
        pic = &FTransparentCopy;
    }
    int pw = pic->Width(), ph = pic->Height();
    RECT r{0, 0, pw, ph};
    if (FStretch) {
        r = RECT{0, 0, FWidth, FHeight};
        if (Proportional && pw > 0 && ph > 0) {
            double s = std::min(double(FWidth) / pw, double(FHeight) / ph);
            int w = int(pw * s), h = int(ph * s);
            r = RECT{0, 0, w, h};
        }
    }
    if (FCenter) OffsetRect(&r, (FWidth - (r.right - r.left)) / 2, (FHeight - (r.bottom - r.top)) / 2);
    pic->StretchDraw(DC, r);
}

bool TImage::GetProperty(const std::wstring& PropName, std::wstring& Value) const {
    if (PropName == L"AutoSize") {
        Value = FAutoSize ? L"True" : L"False";
        return true;
    }
    return TGraphicControl::GetProperty(PropName, Value);
}

// ---------------------------------------------------------------------------------------------
// TListBox

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 121;
    FHeight = 97;
    TabStop = true;
    FParentColor = false;
    FColor = clWindow;
}

void TListBox::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    P.WinClass = L"LISTBOX";
    P.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER;
    if (Style == lbOwnerDrawFixed) P.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    P.ExStyle &= ~WS_EX_CONTROLPARENT;
}

void TListBox::InitWnd() {
    if (Style == lbOwnerDrawFixed) SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, ItemHeight);
    for (auto& s : FItems) SendMessageW(FHandle, LB_ADDSTRING, 0, LPARAM(s.c_str()));
    SendMessageW(FHandle, LB_SETCURSEL, WPARAM(FItemIndex), 0);
}

void TListBox::SaveWndState() { FItemIndex = ItemIndex(); }

void TListBox::AddItem(const std::wstring& Text) {
    FItems.push_back(Text);
    if (FHandle) SendMessageW(FHandle, LB_ADDSTRING, 0, LPARAM(Text.c_str()));
}

void TListBox::Clear() {
    FItems.clear();
    FItemIndex = -1;
    if (FHandle) SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
}

int TListBox::ItemIndex() const {
    if (FHandle) return int(SendMessageW(FHandle, LB_GETCURSEL, 0, 0));
    return FItemIndex;
}

void TListBox::SetItemIndex(int Index) {
    if (Index < -1 || Index >= Count()) Index = -1;
    int old = ItemIndex();
    FItemIndex = Index;
    if (FHandle) SendMessageW(FHandle, LB_SETCURSEL, WPARAM(Index), 0);
    if (old != Index && OnChange) OnChange(this);
}

bool TListBox::Reflect(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
    if (Msg == WM_COMMAND && HIWORD(WParam) == LBN_SELCHANGE) {
        FItemIndex = ItemIndex();
        if (OnChange) OnChange(this);
        Result = 0;
        return true;
    }
    if (Msg == WM_COMMAND && HIWORD(WParam) == LBN_DBLCLK) {
        DblClick();
        return true;
    }
    if (Msg == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(LParam)->itemHeight = UINT(ItemHeight);
        Result = TRUE;
        return true;
    }
    if (Msg == WM_DRAWITEM) {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(LParam);
        if (int(d->itemID) < 0) return false;
        bool sel = d->itemState & ODS_SELECTED;
        // The row's background in the selection colour or the list's own, as the handler
        // expects to find it.
        paint::Fill(d->hDC, d->rcItem, sel ? clHighlight : Color());
        SetTextColor(d->hDC, ColorToRGB(sel ? clHighlightText : FFont.Color()));
        SetBkMode(d->hDC, TRANSPARENT);
        SelectObject(d->hDC, FFont.Handle());
        if (OnDrawItem) {
            OnDrawItem(this, int(d->itemID), d->rcItem, d->hDC, d->itemState);
        } else if (int(d->itemID) < Count()) {
            RECT r = d->rcItem;
            r.left += 2;
            DrawTextW(d->hDC, FItems[d->itemID].c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        Result = TRUE;
        return true;
    }
    return false;
}

}  // namespace ui
