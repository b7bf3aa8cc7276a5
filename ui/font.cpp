#include "ui/font.h"

namespace ui {

TFont::TFont() = default;

TFont::TFont(const TFont& Other)
    : FName(Other.FName), FHeight(Other.FHeight), FStyle(Other.FStyle), FColor(Other.FColor) {}

TFont& TFont::operator=(const TFont& Other) {
    if (this != &Other && !SameAs(Other)) {
        FName = Other.FName;
        FHeight = Other.FHeight;
        FStyle = Other.FStyle;
        FColor = Other.FColor;
        Changed();
    }
    return *this;
}

bool TFont::SameAs(const TFont& o) const {
    return FName == o.FName && FHeight == o.FHeight && FStyle == o.FStyle && FColor == o.FColor;
}

void TFont::SetName(const std::wstring& Value) {
    if (Value == FName) return;
    FName = Value;
    Changed();
}
void TFont::SetHeight(int Value) {
    if (Value == FHeight) return;
    FHeight = Value;
    Changed();
}
int TFont::Size() const { return -MulDiv(FHeight, 72, 96); }
void TFont::SetSize(int Points) { SetHeight(-MulDiv(Points, 96, 72)); }
void TFont::SetStyle(TFontStyles Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}
void TFont::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTW lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
        lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
        FHandle.reset(CreateFontIndirectW(&lf));
    }
    return HFONT(FHandle.get());
}

void TFont::Changed() {
    FHandle.reset();
    if (OnChange) OnChange();
}

}  // namespace ui
