#include "ui/advctrls.h"

#include "ui/menus.h"

#include <algorithm>

namespace ui {

namespace {

// Clips to a rounded rectangle (in the DC's logical coordinates) until RestoreDC.
void ClipRounded(HDC DC, const RECT& R, int Radius) {
    POINT org;
    GetViewportOrgEx(DC, &org);
    HRGN rgn = CreateRoundRectRgn(R.left + org.x, R.top + org.y, R.right + org.x + 1,
                                  R.bottom + org.y + 1, Radius, Radius);
    ExtSelectClipRgn(DC, rgn, RGN_AND);
    DeleteObject(rgn);
}

void RoundFrame(HDC DC, const RECT& R, int Radius, TColor Color) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(Color));
    HGDIOBJ op = SelectObject(DC, pen);
    HGDIOBJ ob = SelectObject(DC, GetStockObject(NULL_BRUSH));
    if (Radius > 0)
        RoundRect(DC, R.left, R.top, R.right, R.bottom, Radius, Radius);
    else
        Rectangle(DC, R.left, R.top, R.right, R.bottom);
    SelectObject(DC, ob);
    SelectObject(DC, op);
    DeleteObject(pen);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TAdvGlowButton

TAdvGlowButton::TAdvGlowButton(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 100;
    FHeight = 32;
    TabStop = true;
    Picture.OnChange = [this] { Invalidate(); };
}

void TAdvGlowButton::CreateParams(TCreateParams& P) {
    TCustomControl::CreateParams(P);
    P.ExStyle &= ~WS_EX_CONTROLPARENT;
}

void TAdvGlowButton::PaintBackground(HDC DC, const RECT& R) {
    bool t = FTransparent;
    FTransparent = true;
    TCustomControl::PaintBackground(DC, R);
    FTransparent = t;
}

RECT TAdvGlowButton::DropDownRect() const {
    if (!DropDownButton) return RECT{0, 0, 0, 0};
    if (Layout == blGlyphTop) return RECT{0, FHeight - 14, FWidth, FHeight};
    return RECT{FWidth - 14, 0, FWidth, FHeight};
}

void TAdvGlowButton::Paint(HDC DC) {
    const TGlowButtonAppearance& a = Appearance;
    RECT r{0, 0, FWidth, FHeight};
    bool down = FPressed && FMouseInside && FEnabled;
    bool hot = FMouseInside && FEnabled && !down;
    int radius = a.Rounded ? 6 : 0;
    TColor from = a.ColorFrom, to = a.ColorTo, mfrom = a.ColorMirrorFrom, mto = a.ColorMirrorTo, border = a.BorderColor;
    bool fill = !FTransparent;
    if (down) {
        from = a.ColorDownFrom, to = a.ColorDownTo, mfrom = a.ColorMirrorDownFrom, mto = a.ColorMirrorDownTo;
        border = a.BorderColorDown;
        fill = true;
    } else if (hot) {
        from = a.ColorHotFrom, to = a.ColorHotTo, mfrom = a.ColorMirrorHotFrom, mto = a.ColorMirrorHotTo;
        border = a.BorderColorHot;
        fill = true;
    } else if (!FEnabled && a.ColorDisabledFrom != clNone) {
        from = mfrom = a.ColorDisabledFrom;
        to = mto = a.ColorDisabledTo == clNone ? a.ColorDisabledFrom : a.ColorDisabledTo;
    }
    if (fill) {
        int saved = SaveDC(DC);
        if (radius) ClipRounded(DC, r, radius);
        RECT top{0, 0, FWidth, FHeight / 2}, bottom{0, FHeight / 2, FWidth, FHeight};
        paint::Gradient(DC, top, from, to);
        paint::Gradient(DC, bottom, mfrom, mto);
        RestoreDC(DC, saved);
    }
    if (fill && border != clNone) RoundFrame(DC, RECT{0, 0, FWidth, FHeight}, radius, border);
    if (Focused()) {
        RECT f{3, 3, FWidth - 3, FHeight - 3};
        DrawFocusRect(DC, &f);
    }

    // Content: image and caption.
    int iw = 0, ih = 0;
    if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) {
        iw = Images->Width();
        ih = Images->Height();
    } else if (!Picture.Empty()) {
        iw = Picture.Width();
        ih = Picture.Height();
    }
    RECT area{2, MarginTop, FWidth - 2, FHeight - MarginBottom};
    if (DropDownButton) {
        RECT dd = DropDownRect();
        if (Layout == blGlyphTop)
            area.bottom = std::min(area.bottom, dd.top + 2);
        else
            area.right = dd.left;
    }
    std::wstring cap = ShowCaption ? FCaption : L"";
    SIZE ts = cap.empty() ? SIZE{0, 0} : paint::TextExtent(FFont, cap);
    int ix = 0, iy = 0;
    RECT tr = area;
    int off = down ? 1 : 0;
    if (Layout == blGlyphTop) {
        int total = ih + (ts.cy ? ts.cy + 2 : 0);
        iy = area.top + std::max(0, int((area.bottom - area.top - total) / 2));
        ix = (area.left + area.right - iw) / 2;
        tr.top = iy + ih + (ih ? 2 : 0);
    } else {
        int total = iw + (ts.cx ? ts.cx + 4 : 0);
        ix = area.left + std::max(2, int((area.right - area.left - total) / 2));
        iy = (area.top + area.bottom - ih) / 2;
        tr.left = ix + iw + (iw ? 4 : 0);
    }
    if (iw) {
        if (Images && ImageIndex >= 0) {
            if (!FEnabled && DisabledImages && ImageIndex < DisabledImages->Count())
                DisabledImages->Draw(DC, ix + off, iy + off, ImageIndex, true);
            else
                Images->Draw(DC, ix + off, iy + off, ImageIndex, FEnabled);
        } else if (FEnabled) {
            Picture.Draw(DC, ix + off, iy + off);
        } else {
            Picture.DrawDisabled(DC, ix + off, iy + off);
        }
    }
    if (!cap.empty()) {
        OffsetRect(&tr, off, off);
        UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | (Layout == blGlyphTop ? DT_CENTER | DT_TOP : DT_LEFT | DT_VCENTER);
        paint::Text(DC, cap, tr, FFont, flags, FEnabled ? clDefault : clGrayText);
    }
    if (DropDownButton) {
        RECT dd = DropDownRect();
        int cx = (dd.left + dd.right) / 2 + off, cy = (dd.top + dd.bottom) / 2 + off;
        POINT tri[3] = {{cx - 3, cy - 1}, {cx + 4, cy - 1}, {cx, cy + 3}};
        HBRUSH b = CreateSolidBrush(ColorToRGB(FEnabled ? FFont.Color() : clGrayText));
        HPEN p = CreatePen(PS_SOLID, 1, ColorToRGB(FEnabled ? FFont.Color() : clGrayText));
        HGDIOBJ ob = SelectObject(DC, b), op = SelectObject(DC, p);
        Polygon(DC, tri, 3);
        SelectObject(DC, ob);
        SelectObject(DC, op);
        DeleteObject(b);
        DeleteObject(p);
        if (DropDownSplit && (hot || down) && border != clNone) {
            HPEN sp = CreatePen(PS_SOLID, 1, ColorToRGB(border));
            HGDIOBJ o = SelectObject(DC, sp);
            if (Layout == blGlyphTop) {
                MoveToEx(DC, 2, dd.top, nullptr);
                LineTo(DC, FWidth - 2, dd.top);
            } else {
                MoveToEx(DC, dd.left, 2, nullptr);
                LineTo(DC, dd.left, FHeight - 2);
            }
            SelectObject(DC, o);
            DeleteObject(sp);
        }
    }
}

void TAdvGlowButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !FEnabled) return;
    FPressed = true;
    FMenuClick = false;
    Repaint();
    RECT dd = DropDownRect();
    if (DropDownButton && (!DropDownSplit || (X >= dd.left && X < dd.right && Y >= dd.top && Y < dd.bottom))) {
        // The menu opens on the press, as menu buttons do; the release that ends in the menu is
        // no click of the button.
        FMenuClick = true;
        DoDropDown();
        FPressed = false;
        Invalidate();
    }
}

void TAdvGlowButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FPressed = false;
    Invalidate();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TAdvGlowButton::Click() {
    if (FMenuClick) {
        FMenuClick = false;
        return;
    }
    TCustomControl::Click();
}

void TAdvGlowButton::DoDropDown() {
    if (OnDropDown) OnDropDown(this);
    if (!DropDownMenu) return;
    POINT p = ClientToScreen(POINT{0, FHeight});
    DropDownMenu->PopupComponent = this;
    DropDownMenu->Popup(p.x, p.y);
}

void TAdvGlowButton::MouseEnter() {
    Invalidate();
    TCustomControl::MouseEnter();
}

void TAdvGlowButton::MouseLeave() {
    Invalidate();
    TCustomControl::MouseLeave();
}

void TAdvGlowButton::EnabledChanged() {
    FPressed = false;
    TCustomControl::EnabledChanged();
}

void TAdvGlowButton::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE && FEnabled) {
        Key = 0;
        if (DropDownButton && !DropDownSplit)
            DoDropDown();
        else
            Click();
    }
}

LRESULT TAdvGlowButton::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_SETFOCUS || Msg == WM_KILLFOCUS) Invalidate();
    return TCustomControl::WndProc(Msg, WParam, LParam);
}

// ---------------------------------------------------------------------------------------------
// TAdvSmoothPanel

TAdvSmoothPanel::TAdvSmoothPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 200;
    FHeight = 100;
}

void TAdvSmoothPanel::PaintBackground(HDC DC, const RECT& R) {
    bool seeThrough = Fill.Opacity < 255 || Fill.OpacityTo < 255 || Fill.Rounding > 0;
    if (seeThrough && FParent) {
        bool t = FTransparent;
        FTransparent = true;
        TCustomControl::PaintBackground(DC, R);
        FTransparent = t;
    }
    int w = R.right - R.left, h = R.bottom - R.top;
    if (w <= 0 || h <= 0) return;
    // The fill as a 32-bit picture with per-pixel alpha: colour and opacity both run from the
    // start to the end value.
    TPicture pic;
    pic.CreateBlank(w, h);
    if (pic.Empty()) return;
    COLORREF a = ColorToRGB(Fill.Color), b = ColorToRGB(Fill.ColorTo == clNone ? Fill.Color : Fill.ColorTo);
    uint32_t* px = pic.Bits();
    int steps = Fill.GradientVertical ? h : w;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int i = Fill.GradientVertical ? y : x;
            double t = steps > 1 ? double(i) / (steps - 1) : 0;
            auto mix = [t](int p, int q) { return int(p + (q - p) * t + 0.5); };
            int al = mix(Fill.Opacity, Fill.OpacityTo);
            int rr = mix(GetRValue(a), GetRValue(b)) * al / 255;
            int gg = mix(GetGValue(a), GetGValue(b)) * al / 255;
            int bb = mix(GetBValue(a), GetBValue(b)) * al / 255;
            px[size_t(y) * w + x] = (uint32_t(al) << 24) | (rr << 16) | (gg << 8) | bb;
        }
    int saved = SaveDC(DC);
    if (Fill.Rounding > 0) ClipRounded(DC, R, Fill.Rounding * 2);
    pic.Draw(DC, R.left, R.top);
    RestoreDC(DC, saved);
}

void TAdvSmoothPanel::Paint(HDC DC) {
    if (Fill.BorderColor != clNone)
        RoundFrame(DC, RECT{0, 0, FWidth, FHeight}, Fill.Rounding * 2, Fill.BorderColor);
}

// ---------------------------------------------------------------------------------------------
// TAdvSmoothLabel

TAdvSmoothLabel::TAdvSmoothLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 150;
    FHeight = 30;
    FSmooth.Font.SetHeight(-16);
    FSmooth.Font.OnChange = [this] { Invalidate(); };
}

void TAdvSmoothLabel::SetText(const std::wstring& Text) {
    FSmooth.Text = Text;
    Invalidate();
}

void TAdvSmoothLabel::Paint(HDC DC) {
    RECT r{0, 0, FWidth, FHeight};
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                 (Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    if (FSmooth.Shadow) {
        RECT s = r;
        OffsetRect(&s, FSmooth.ShadowOffset, FSmooth.ShadowOffset);
        paint::Text(DC, FSmooth.Text, s, FSmooth.Font, flags, FSmooth.ShadowColor);
    }
    TColor c = FSmooth.ColorStart == clDefault ? FSmooth.Font.Color() : FSmooth.ColorStart;
    if (!FEnabled) c = clGrayText;
    if (FSmooth.ColorEnd == clNone || !FEnabled) {
        paint::Text(DC, FSmooth.Text, r, FSmooth.Font, flags, c);
        return;
    }
    // A vertical gradient through the letters: the text as a clip path over a gradient fill.
    int saved = SaveDC(DC);
    SelectObject(DC, FSmooth.Font.Handle());
    SetBkMode(DC, TRANSPARENT);
    BeginPath(DC);
    DrawTextW(DC, FSmooth.Text.c_str(), -1, &r, flags);
    EndPath(DC);
    SelectClipPath(DC, RGN_AND);
    paint::Gradient(DC, r, c, FSmooth.ColorEnd);
    RestoreDC(DC, saved);
}

}  // namespace ui
