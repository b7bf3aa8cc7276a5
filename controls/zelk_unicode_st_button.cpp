#include "controls/zelk_unicode_st_button.h"

#include "ui/gfx/picture_loader.h"

#include <algorithm>
#include <cstdlib>

using namespace ui;

TZelkUnicodeSTButton::TZelkUnicodeSTButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    Gfx_InstallPictureLoader();
    FWidth = 88;
    FHeight = 25;
    FCaption = L"xxxxxx";
    Cursor = crHandPoint;
    // The button has fonts of its own; the parent's font does not replace them.
    FParentFont = false;
    FGlyph.OnChange = [this] { Invalidate(); };
    FRightSideGlyph.OnChange = [this] { Invalidate(); };
    FFontHOT.OnChange = [this] { Invalidate(); };
}

void TZelkUnicodeSTButton::SetGlyphRightSide(const TPicture* Value) {
    if (Value) FRightSideGlyph = *Value;
    Invalidate();
}
void TZelkUnicodeSTButton::SetGlyph(const TPicture* Value) {
    if (Value) FGlyph = *Value;
    Invalidate();
}
void TZelkUnicodeSTButton::SetFont(const TFont* Value) {
    if (Value) TControl::SetFont(*Value);
    Invalidate();
}
void TZelkUnicodeSTButton::SetFontHOT(const TFont* Value) {
    if (Value) FFontHOT = *Value;
    Invalidate();
}
void TZelkUnicodeSTButton::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}
void TZelkUnicodeSTButton::SetShadow(bool Value) {
    FShadow = Value;
    Invalidate();
}
void TZelkUnicodeSTButton::SetShadowColor(TColor Value) {
    FShadowColor = Value;
    Invalidate();
}

void TZelkUnicodeSTButton::Paint(HDC DC) {
    // The caption is measured in the font it is drawn in: the hover font while the mouse is over
    // the button.
    const TFont& font = FMouseIsInside ? FFontHOT : FFont;
    HGDIOBJ oldFont = SelectObject(DC, font.Handle());
    const int y = (FHeight - std::abs(FFont.Height())) / 2 - 2;
    SIZE extent{0, 0};
    GetTextExtentPoint32W(DC, FCaption.c_str(), int(FCaption.size()), &extent);
    const int textWidth = extent.cx + (FShadow ? 1 : 0);
    const int glyphWidth = FGlyph.Width();
    const bool image = HasImage();
    const int imageWidth = image ? FImageList->Width() : 0;
    if (FAutoWidth) SetWidth(textWidth + glyphWidth + 4);

    int x = 0;
    switch (FAlignment) {
        case taLeftJustify:
            x = glyphWidth + 4 + (image ? imageWidth + 4 : 0);
            break;
        case taRightJustify:
            x = FWidth - textWidth;
            break;
        case taCenter:
            x = std::max(0, (FWidth - textWidth) / 2 + glyphWidth / 2 + (image ? imageWidth / 2 : 0));
            break;
    }
    FTextPos = POINT{x, y};

    if (!FGlyph.Empty()) FGlyph.Draw(DC, x - glyphWidth - 4, (FHeight - FGlyph.Height()) / 2);
    if (image) FImageList->Draw(DC, x - imageWidth - 4, (FHeight - FImageList->Height()) / 2, FImageIndex, FEnabled);
    if (!FRightSideGlyph.Empty()) FRightSideGlyph.Draw(DC, FGlyphRightSide_OffsetX, FGlyphRightSide_OffsetY);

    if (!FCaption.empty()) {
        SetBkMode(DC, TRANSPARENT);
        if (FShadow) {
            SetTextColor(DC, ColorToRGB(FShadowColor));
            TextOutW(DC, x + 1, y + 1, FCaption.c_str(), int(FCaption.size()));
        }
        SetTextColor(DC, ColorToRGB(font.Color()));
        TextOutW(DC, x, y, FCaption.c_str(), int(FCaption.size()));
    }
    SelectObject(DC, oldFont);
}

void TZelkUnicodeSTButton::MouseEnter() {
    FMouseIsInside = true;
    if (!FEnabled) return;
    Invalidate();  // first: the handler may free the button
    if (OnMouseEnter) OnMouseEnter(this);
}

void TZelkUnicodeSTButton::MouseLeave() {
    FMouseIsInside = false;
    if (!FEnabled) return;
    Invalidate();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TZelkUnicodeSTButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FEnabled && OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
