// A window-less label that shows a small HTML subset: <b>, <i>, <u>, <br>, <p align=...>,
// <a href=...> (clickable, raising OnAnchorClick), <font color=... face=... size=...>, and the
// entities &amp; &lt; &gt; &quot; &nbsp;. Other tags are ignored; line breaks in the source are
// blanks, as in HTML. Text wraps at the label's width (minus the margins).
#pragma once

#include "ui/controls.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

// One piece of text with its look, as the parser yields it.
struct THTMLRun {
    std::wstring Text;
    TFontStyles Style = 0;
    TColor Color = clDefault;  // clDefault: the label's font colour
    std::wstring Face;         // empty: the label's font
    int Height = 0;            // 0: the label's font height
    std::wstring Href;         // non-empty inside <a href=...>
    TAlignment Align = taLeftJustify;
    bool Break = false;  // a line break (no text)
};

// Splits markup into runs (adjacent text with the same look stays one run).
std::vector<THTMLRun> HTML_Parse(const std::wstring& Markup);
// Colour names and "#RRGGBB" / "$BBGGRR" notations; false when not understood.
bool HTML_ParseColor(const std::wstring& S, TColor& Color);

enum class TAutoSizeType { asVertical, asHorizontal, asBoth };
using enum TAutoSizeType;
using TAnchorClickEvent = std::function<void(TComponent* Sender, const std::wstring& Anchor)>;

class THTMLabel : public TGraphicControl {
public:
    explicit THTMLabel(TComponent* AOwner);
    std::wstring ClassName() const override { return L"THTMLabel"; }
    bool HasCaption() const override { return false; }

    // The markup as a list of lines (the list joins them with blanks).
    const std::vector<std::wstring>& HTMLLines() const { return FLines; }
    void SetHTMLLines(const std::vector<std::wstring>& Lines);
    // The whole markup as a line list's text: every line followed by CR LF; setting splits at
    // line breaks (a break at the very end starts no further line).
    std::wstring HTMLText() const;
    void SetHTMLText(const std::wstring& Text);

    TVerticalAlignment VAlignment() const { return FVAlign; }
    void SetVAlignment(TVerticalAlignment V);
    void SetMargins(int L, int T, int R, int B);
    RECT Margins() const { return FMargins; }
    TColor URLColor = clBlue;
    // AutoSizing fits the height (asVertical), the width (asHorizontal) or both to the text.
    bool AutoSizing = false;
    TAutoSizeType AutoSizeType = asVertical;

    TAnchorClickEvent OnAnchorClick;

    // The href of the link at a client point, or empty.
    std::wstring AnchorAt(int X, int Y);
    // Height the text needs at the current width.
    int TextHeight();

    void Paint(HDC DC) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    bool GetProperty(const std::wstring& PropName, std::wstring& Value) const override;
    bool SetProperty(const std::wstring& PropName, const std::wstring& Value) override;

protected:
    void FontChanged() override;
    void BoundsChanged() override;
    void AdjustSize() override;

private:
    struct TPiece {
        RECT R;
        std::wstring Text;
        size_t Run;
    };
    void Layout(HDC DC);
    void Changed();
    HFONT RunFont(const THTMLRun& Run);

    std::vector<std::wstring> FLines;
    std::vector<THTMLRun> FRuns;
    std::vector<TPiece> FPieces;
    bool FLaidOut = false;
    int FTextHeight = 0, FTextWidth = 0;
    TVerticalAlignment FVAlign = taAlignTop;
    RECT FMargins{0, 0, 0, 0};
    std::wstring FHotAnchor;
    TCursor FBaseCursor = crDefault;
    std::vector<std::pair<std::wstring, handles::UniqueGdi>> FFonts;
};

}  // namespace ui
