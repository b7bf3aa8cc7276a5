// A flat, window-less text button: a caption with an optional picture (glyph) or image-list image
// to its left, a further picture at a fixed place, a hover font, a one-pixel shadow and a width
// that follows the text. The frame window's buttons and the options dialog's navigation use it.
#pragma once

#include "ui/controls.h"
#include "ui/picture.h"

#include <string>

class TZelkUnicodeSTButton : public ui::TGraphicControl {
public:
    explicit TZelkUnicodeSTButton(ui::TComponent* AOwner);
    std::wstring ClassName() const override { return L"TZelkUnicodeSTButton"; }

    // Pictures and fonts: the setters copy the given object (null copies nothing) and repaint.
    const ui::TPicture& GlyphRightSide() const { return FRightSideGlyph; }
    void SetGlyphRightSide(const ui::TPicture* Value);
    const ui::TPicture& Glyph() const { return FGlyph; }
    void SetGlyph(const ui::TPicture* Value);
    using ui::TControl::SetFont;
    void SetFont(const ui::TFont* Value);
    ui::TFont& FontHOT() { return FFontHOT; }
    const ui::TFont& FontHOT() const { return FFontHOT; }
    void SetFontHOT(const ui::TFont* Value);
    // These repaint.
    ui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(ui::TAlignment Value);
    bool Shadow() const { return FShadow; }
    void SetShadow(bool Value);
    ui::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(ui::TColor Value);
    // These (and Caption) are only stored; whoever changes them repaints when done.
    int GlyphRightSide_OffsetX() const { return FGlyphRightSide_OffsetX; }
    void SetGlyphRightSide_OffsetX(int Value) { FGlyphRightSide_OffsetX = Value; }
    int GlyphRightSide_OffsetY() const { return FGlyphRightSide_OffsetY; }
    void SetGlyphRightSide_OffsetY(int Value) { FGlyphRightSide_OffsetY = Value; }
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool Value) { FAutoWidth = Value; }
    ui::TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(ui::TCustomImageList* Value) { FImageList = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool MouseIsInside() const { return FMouseIsInside; }

    // Where the last paint put the caption (its top left corner), for whoever lays out around it.
    POINT TextPos() const { return FTextPos; }

    // OnClick, OnMouseEnter, OnMouseLeave and OnMouseUp are the control's own events; OnMouseUp is
    // raised only while the button is enabled.
    void Paint(HDC DC) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseUp(ui::TMouseButton Button, ui::TShiftState Shift, int X, int Y) override;

protected:
    void TextChanged() override {}

private:
    bool HasImage() const { return FImageList && FImageIndex != -1; }

    ui::TPicture FRightSideGlyph;
    int FGlyphRightSide_OffsetX = 0;
    int FGlyphRightSide_OffsetY = 0;
    ui::TPicture FGlyph;
    ui::TFont FFontHOT;
    bool FAutoWidth = true;
    ui::TAlignment FAlignment = ui::taLeftJustify;
    bool FShadow = false;
    ui::TColor FShadowColor = ui::clBlack;
    int FImageIndex = -1;
    ui::TCustomImageList* FImageList = nullptr;
    bool FMouseIsInside = false;
    POINT FTextPos{0, 0};
};
