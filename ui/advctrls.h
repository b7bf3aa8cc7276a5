// The pack controls: glow button, panel with gradient and picture, smooth panel, smooth label.
#pragma once

#include "ui/controls.h"
#include "ui/picture.h"
#include "ui/stdctrls.h"

#include <string>

namespace ui {

class TPopupMenu;

// Colours of a glow button's states. Each state has an upper half (From/To) and a lower
// "mirror" half (MirrorFrom/MirrorTo).
struct TGlowButtonAppearance {
    TColor ColorFrom = 0xF9F9F9, ColorTo = 0xF0F0F0, ColorMirrorFrom = 0xE8E8E8, ColorMirrorTo = 0xE0E0E0;
    TColor ColorHotFrom = 0xFFF4E6, ColorHotTo = 0xFCE6C9, ColorMirrorHotFrom = 0xFBD9A8, ColorMirrorHotTo = 0xF9E7C6;
    TColor ColorDownFrom = 0xF2D3A6, ColorDownTo = 0xEBC488, ColorMirrorDownFrom = 0xE4B165, ColorMirrorDownTo = 0xEFCC98;
    TColor ColorDisabledFrom = clNone, ColorDisabledTo = clNone;
    TColor BorderColor = clNone;  // clNone: no border in the normal state (a flat toolbar button)
    TColor BorderColorHot = 0xC59B5F, BorderColorDown = 0x9C7B4D;
    bool Rounded = true;
};

enum class TButtonLayout { blGlyphLeft, blGlyphTop, blGlyphRight, blGlyphBottom };
using enum TButtonLayout;

// A flat button that glows under the mouse: image (from an image list, or a picture) above or
// beside the caption, hot and pressed gradients, disabled look (grey image, grey text), and an
// optional drop-down menu.
class TAdvGlowButton : public TCustomControl {
public:
    explicit TAdvGlowButton(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TAdvGlowButton"; }

    TGlowButtonAppearance Appearance;
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    // Images for the disabled state; without them the normal image is drawn grey.
    TCustomImageList* DisabledImages = nullptr;
    TPicture Picture;  // used when no image list is set
    TButtonLayout Layout = blGlyphLeft;
    // With DropDownButton the button carries an arrow and opens DropDownMenu below itself: from
    // the arrow part when DropDownSplit, otherwise from the whole button.
    bool DropDownButton = false;
    bool DropDownSplit = true;
    TPopupMenu* DropDownMenu = nullptr;
    TNotifyEvent OnDropDown;
    int MarginTop = 2, MarginBottom = 2;
    bool ShowCaption = true;
    // Hot, pressed, as the button paints itself now.
    bool Hot() const { return FMouseInside; }
    bool Down() const { return FPressed; }

    void Paint(HDC DC) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Click() override;
    // Opens the drop-down menu below the button.
    void DoDropDown();
    // The part that opens the menu when the button is split (empty otherwise).
    RECT DropDownRect() const;

protected:
    void CreateParams(TCreateParams& P) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
    void EnabledChanged() override;
    // The parent always shows around the rounded corners; Transparent makes the normal state flat.
    void PaintBackground(HDC DC, const RECT& R) override;
    bool FPressed = false;
    bool FMenuClick = false;
};

// A panel with gradient and background picture, as the toolbar panel uses.
class TAdvPanel : public TPanel {
public:
    explicit TAdvPanel(TComponent* AOwner) : TPanel(AOwner) { BevelOuter = bvNone; }
    std::wstring ClassName() const override { return L"TAdvPanel"; }
};

struct TSmoothFill {
    TColor Color = clWhite, ColorTo = clSilver;
    bool GradientVertical = true;
    BYTE Opacity = 255, OpacityTo = 255;
    TColor BorderColor = clNone;
    int Rounding = 0;
};

// A panel filled with a (half transparent) gradient and rounded corners.
class TAdvSmoothPanel : public TCustomControl {
public:
    explicit TAdvSmoothPanel(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TAdvSmoothPanel"; }
    bool HasCaption() const override { return false; }
    TSmoothFill Fill;
    void Paint(HDC DC) override;

protected:
    void PaintBackground(HDC DC, const RECT& R) override;
};

struct TSmoothLabelCaption {
    std::wstring Text;
    TFont Font;
    TColor ColorStart = clDefault;  // clDefault: the font colour
    TColor ColorEnd = clNone;       // a vertical text gradient when set
    bool Shadow = false;
    TColor ShadowColor = clGray;
    int ShadowOffset = 1;
};

// A label whose caption is an object with its own font, text gradient and shadow.
class TAdvSmoothLabel : public TGraphicControl {
public:
    explicit TAdvSmoothLabel(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TAdvSmoothLabel"; }
    bool HasCaption() const override { return false; }
    TSmoothLabelCaption& SmoothCaption() { return FSmooth; }
    void SetText(const std::wstring& Text);
    const std::wstring& Text() const { return FSmooth.Text; }
    TAlignment Alignment = taLeftJustify;
    void Paint(HDC DC) override;

private:
    TSmoothLabelCaption FSmooth;
};

}  // namespace ui
