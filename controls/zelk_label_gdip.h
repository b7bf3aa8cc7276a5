// A window-less label that draws its text with GDI+: anti-aliased or ClearType text at an opacity
// of its own, with an optional drop or emboss shadow, lines broken at "<BR>", shortened with
// "..." when it does not fit, and a width that follows the text. The frame window's header and
// the options dialog's navigation are made of them.
#pragma once

#include "ui/controls.h"
#include "ui/gfx/gdiplus_text.h"

#include <string>
#include <vector>

enum TAntiAliasingType { at_antialiasing, at_cleartype };

class TZelkLabelGDIP : public ui::TGraphicControl {
public:
    explicit TZelkLabelGDIP(ui::TComponent* AOwner);
    std::wstring ClassName() const override { return L"TZelkLabelGDIP"; }

    // Opacity of the text; only the low 8 bits count.
    int AlphaChannel() const { return FAlphaChannel; }
    void SetAlphaChannel(int Value);
    ui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(ui::TAlignment Value);
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool Value);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool Value);
    // Caption and SetCaption are the control's own: "<BR>" in any letter case starts a new line.
    bool Shadow() const { return FShadow; }
    void SetShadow(bool Value);
    bool ShadowEmboss() const { return FShadowEmboss; }
    void SetShadowEmboss(bool Value);
    int ShadowAlpha() const { return FShadowAlpha; }
    void SetShadowAlpha(int Value);
    ui::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(ui::TColor Value);
    TAntiAliasingType AntiAliasingType() const { return FAntiAliasingType; }
    void SetAntiAliasingType(TAntiAliasingType Value);
    // Only stored: it decides whether the mouse events are raised and does not change the look.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool MouseIsInside() const { return FMouseIsInside; }

    // The text as it is drawn: the caption, or its prefix followed by "..." when it is shortened.
    std::wstring DisplayText();
    // The lines of a text broken at "<BR>" (any letter case).
    static std::vector<std::wstring> SplitLines(const std::wstring& Text);

    // OnClick, OnMouseEnter, OnMouseLeave and OnMouseDown are the control's own events. OnMouseDown
    // is raised for a left press, with no shift keys and position 0, 0.
    void Paint(HDC DC) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(ui::TMouseButton Button, ui::TShiftState Shift, int X, int Y) override;

protected:
    void FontChanged() override;
    void TextChanged() override;

private:
    void MakeFontObjects();
    // Measures the caption and, with AutoWidth, takes its width. Without a parent window it is
    // left for the next paint.
    void MeasureWidth();
    float TextWidth(const std::wstring& Text);

    int FAlphaChannel = 255;
    ui::TAlignment FAlignment = ui::taLeftJustify;
    bool FAutoWidth = true;
    bool FEndEllipsis = false;
    bool FShadow = false;
    bool FShadowEmboss = false;
    int FShadowAlpha = 255;
    ui::TColor FShadowColor = ui::clBlack;
    bool FEnabled = true;
    ui::TGdipFont GDIP_Font;  // family and font, made from the control's font
    bool FFontMade = false;
    bool FMouseIsInside = false;
    TAntiAliasingType FAntiAliasingType = at_cleartype;
    bool FMeasurePending = true;
    int FMeasuredWidth = 0;
};
