#include "controls/zelk_label_gdip.h"

#include "ui/application.h"
#include "ui/gfx/picture_loader.h"

#include <cmath>
#include <cstdlib>
#include <cwctype>

using namespace ui;

namespace {

bool IsLineBreakAt(const std::wstring& Text, size_t Pos) {
    static const wchar_t tag[] = L"<br>";
    if (Pos + 4 > Text.size()) return false;
    for (size_t i = 0; i < 4; ++i)
        if (wchar_t(std::towlower(Text[Pos + i])) != tag[i]) return false;
    return true;
}

TColor32 Argb(TColor Color, int Alpha) {
    COLORREF c = ColorToRGB(Color);
    return Color32(GetRValue(c), GetGValue(c), GetBValue(c), uint8_t(Alpha & 0xFF));
}

}  // namespace

TZelkLabelGDIP::TZelkLabelGDIP(TComponent* AOwner) : TGraphicControl(AOwner) {
    Gfx_InstallPictureLoader();
    FWidth = 100;
    FHeight = 16;
    FCaption = L"xxxxxx";
}

std::vector<std::wstring> TZelkLabelGDIP::SplitLines(const std::wstring& Text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t i = 0; i < Text.size();) {
        if (IsLineBreakAt(Text, i)) {
            lines.push_back(Text.substr(start, i - start));
            i += 4;
            start = i;
        } else {
            ++i;
        }
    }
    lines.push_back(Text.substr(start));
    return lines;
}

void TZelkLabelGDIP::MakeFontObjects() {
    // Fonts come with negative heights (the character height); a positive one is taken as the
    // same size rather than giving no text at all.
    int style = gfsRegular;
    if (FFont.Style() & fsBold) style |= gfsBold;
    if (FFont.Style() & fsUnderline) style |= gfsUnderline;
    GDIP_Font.Create(FFont.Name(), float(std::abs(FFont.Height())), style);
    FFontMade = true;
}

float TZelkLabelGDIP::TextWidth(const std::wstring& Text) {
    if (!FFontMade) MakeFontObjects();
    return GdipText_Measure(Text, GDIP_Font, TGdipRendering::AntiAlias).Width;
}

void TZelkLabelGDIP::MeasureWidth() {
    if (!FParent || !FParent->HandleAllocated()) {
        FMeasurePending = true;
        return;
    }
    FMeasurePending = false;
    if (!FFontMade) MakeFontObjects();
    TTextSize size = GdipText_Measure(FCaption, GDIP_Font, TGdipRendering::AntiAlias);
    int w = int(std::lround(size.Width)), h = int(std::lround(size.Height));
    if (FShadow) {
        ++w;
        ++h;
    }
    FMeasuredWidth = w;
    if (FAutoWidth && w > 0 && h > 0) SetWidth(w);
}

void TZelkLabelGDIP::FontChanged() {
    MakeFontObjects();
    MeasureWidth();
    Invalidate();
}

void TZelkLabelGDIP::TextChanged() {
    MeasureWidth();
    Invalidate();
}

void TZelkLabelGDIP::SetAlphaChannel(int Value) {
    FAlphaChannel = Value;
    Invalidate();
}
void TZelkLabelGDIP::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}
void TZelkLabelGDIP::SetAutoWidth(bool Value) {
    FAutoWidth = Value;
    MeasureWidth();
    Invalidate();
}
void TZelkLabelGDIP::SetEndEllipsis(bool Value) {
    FEndEllipsis = Value;
    Invalidate();
}
void TZelkLabelGDIP::SetShadow(bool Value) {
    FShadow = Value;
    MeasureWidth();
    Invalidate();
}
void TZelkLabelGDIP::SetShadowEmboss(bool Value) {
    FShadowEmboss = Value;
    MeasureWidth();
    Invalidate();
}
void TZelkLabelGDIP::SetShadowAlpha(int Value) {
    FShadowAlpha = Value;
    Invalidate();
}
void TZelkLabelGDIP::SetShadowColor(TColor Value) {
    FShadowColor = Value;
    Invalidate();
}
void TZelkLabelGDIP::SetAntiAliasingType(TAntiAliasingType Value) {
    FAntiAliasingType = Value;
    Invalidate();
}

std::wstring TZelkLabelGDIP::DisplayText() {
    if (FMeasurePending) MeasureWidth();
    std::wstring text = FCaption;
    if (!FEndEllipsis || FAutoWidth || FMeasuredWidth <= FWidth) return text;
    // Drop characters from the end until the rest and "..." fit (or nothing is left of it).
    std::wstring candidate;
    do {
        if (!text.empty()) text.pop_back();
        candidate = text + L"...";
    } while (candidate.size() > 3 && TextWidth(candidate) > float(FWidth));
    return candidate;
}

void TZelkLabelGDIP::Paint(HDC DC) {
    if (FCaption.empty()) return;
    std::wstring text = DisplayText();
    if (!FFontMade) MakeFontObjects();
    TGdipCanvas canvas(DC);
    if (!canvas.Valid()) return;
    canvas.SetRendering(FAntiAliasingType == at_antialiasing ? TGdipRendering::AntiAlias
                                                             : TGdipRendering::ClearTypeGridFit);
    const int lineHeight = std::abs(FFont.Height());
    const TColor32 textColor = Argb(FFont.Color(), FAlphaChannel);
    const TColor32 shadowColor = Argb(FShadowColor, FShadowAlpha);
    auto draw = [&](const std::wstring& line, int x, int y, TColor32 color) {
        if (FAlignment == taLeftJustify) {
            canvas.DrawText(line, GDIP_Font, float(x), float(y), color);
        } else {
            RECT layout{x, y, x + FWidth, y + FHeight};
            canvas.DrawText(line, GDIP_Font, layout, FAlignment == taRightJustify ? TGdipAlign::Far : TGdipAlign::Center,
                            color);
        }
    };
    std::vector<std::wstring> lines = SplitLines(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        int y = int(n) * lineHeight;
        if (FShadow && !FShadowEmboss) {
            draw(lines[n], 1, y + 1, shadowColor);
            draw(lines[n], 0, y, textColor);
        } else if (FShadow) {
            draw(lines[n], 0, y, shadowColor);
            draw(lines[n], 1, y + 1, textColor);
        } else {
            draw(lines[n], 0, y, textColor);
        }
    }
}

void TZelkLabelGDIP::MouseEnter() {
    FMouseIsInside = true;
    if (FEnabled && OnMouseEnter) {
        Invalidate();  // first: the handler may free the label
        OnMouseEnter(this);
    }
}

void TZelkLabelGDIP::MouseLeave() {
    FMouseIsInside = false;
    if (FEnabled && OnMouseLeave) {
        Invalidate();
        OnMouseLeave(this);
    }
}

void TZelkLabelGDIP::MouseDown(TMouseButton Button, TShiftState, int, int) {
    // Only a left press is reported, and always as a plain press at the top left corner.
    if (Button != mbLeft) return;
    Application.CancelHint();
    if (FEnabled && OnMouseDown) OnMouseDown(this, mbLeft, 0, 0, 0);
}
