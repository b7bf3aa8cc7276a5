#include "ui/htmlabel.h"

#include "common/text.h"

#include <algorithm>
#include <cwctype>
#include <map>

namespace ui {

namespace {

bool SameLook(const THTMLRun& a, const THTMLRun& b) {
    return !a.Break && !b.Break && a.Style == b.Style && a.Color == b.Color && a.Face == b.Face &&
           a.Height == b.Height && a.Href == b.Href && a.Align == b.Align;
}

struct TTag {
    std::wstring Name;
    bool Closing = false;
    std::map<std::wstring, std::wstring> Attrs;
};

TTag ParseTag(const std::wstring& s) {
    TTag t;
    size_t i = 0, n = s.size();
    auto skip = [&] {
        while (i < n && iswspace(s[i])) ++i;
    };
    skip();
    if (i < n && s[i] == L'/') {
        t.Closing = true;
        ++i;
    }
    while (i < n && (iswalnum(s[i]))) t.Name += wchar_t(towlower(s[i++]));
    while (i < n) {
        skip();
        std::wstring key;
        while (i < n && !iswspace(s[i]) && s[i] != L'=' && s[i] != L'/') key += wchar_t(towlower(s[i++]));
        if (key.empty()) {
            ++i;
            continue;
        }
        skip();
        std::wstring val;
        if (i < n && s[i] == L'=') {
            ++i;
            skip();
            if (i < n && (s[i] == L'"' || s[i] == L'\'')) {
                wchar_t q = s[i++];
                while (i < n && s[i] != q) val += s[i++];
                ++i;
            } else {
                while (i < n && !iswspace(s[i])) val += s[i++];
            }
        }
        t.Attrs[key] = val;
    }
    return t;
}

}  // namespace

bool HTML_ParseColor(const std::wstring& S, TColor& Color) {
    std::wstring s = text::LowerAscii(S);
    static const std::map<std::wstring, TColor> names = {
        {L"black", clBlack}, {L"white", clWhite}, {L"red", clRed}, {L"green", clGreen},
        {L"blue", clBlue}, {L"navy", clNavy}, {L"maroon", clMaroon}, {L"gray", clGray},
        {L"grey", clGray}, {L"silver", clSilver}, {L"yellow", clYellow},
        {L"lime", 0x00FF00}, {L"olive", 0x008080}, {L"purple", 0x800080}, {L"teal", 0x808000},
        {L"fuchsia", 0xFF00FF}, {L"aqua", 0xFFFF00}};
    std::wstring key = s.rfind(L"cl", 0) == 0 ? s.substr(2) : s;
    if (auto it = names.find(key); it != names.end()) {
        Color = it->second;
        return true;
    }
    auto hex = [](const std::wstring& h, uint32_t& v) {
        if (h.size() != 6) return false;
        v = 0;
        for (wchar_t c : h) {
            if (!iswxdigit(c)) return false;
            v = v * 16 + uint32_t(iswdigit(c) ? c - L'0' : towlower(c) - L'a' + 10);
        }
        return true;
    };
    uint32_t v;
    if (s.size() == 7 && s[0] == L'#' && hex(s.substr(1), v)) {  // #RRGGBB
        Color = RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
        return true;
    }
    if (s.size() == 7 && s[0] == L'$' && hex(s.substr(1), v)) {  // $BBGGRR
        Color = v;
        return true;
    }
    return false;
}

std::vector<THTMLRun> HTML_Parse(const std::wstring& M) {
    std::vector<THTMLRun> runs;
    THTMLRun cur;
    struct TFontState {
        TColor Color;
        std::wstring Face;
        int Height;
    };
    std::vector<TFontState> fonts;
    bool lastSpace = true;  // collapse blanks, and none at the start of a line
    auto flush = [&] {
        if (cur.Text.empty()) return;
        if (!runs.empty() && SameLook(runs.back(), cur))
            runs.back().Text += cur.Text;
        else
            runs.push_back(cur);
        cur.Text.clear();
    };
    auto lineBreak = [&] {
        flush();
        THTMLRun b;
        b.Break = true;
        b.Align = cur.Align;
        runs.push_back(b);
        lastSpace = true;
    };
    auto atLineStart = [&] { return cur.Text.empty() && (runs.empty() || runs.back().Break); };
    size_t i = 0, n = M.size();
    while (i < n) {
        wchar_t c = M[i];
        if (c == L'<') {
            size_t end = M.find(L'>', i);
            if (end != std::wstring::npos) {
                TTag t = ParseTag(M.substr(i + 1, end - i - 1));
                i = end + 1;
                TFontStyles bit = t.Name == L"b" ? fsBold : t.Name == L"i" ? fsItalic
                                : t.Name == L"u" ? fsUnderline : t.Name == L"s" ? fsStrikeOut : 0;
                if (bit) {
                    flush();
                    cur.Style = t.Closing ? (cur.Style & ~bit) : (cur.Style | bit);
                } else if (t.Name == L"br") {
                    lineBreak();
                } else if (t.Name == L"p") {
                    if (!atLineStart()) lineBreak();
                    flush();
                    cur.Align = taLeftJustify;
                    if (!t.Closing) {
                        std::wstring a = text::LowerAscii(t.Attrs[L"align"]);
                        if (a == L"center") cur.Align = taCenter;
                        if (a == L"right") cur.Align = taRightJustify;
                    }
                } else if (t.Name == L"a") {
                    flush();
                    cur.Href = t.Closing ? L"" : t.Attrs[L"href"];
                } else if (t.Name == L"font") {
                    flush();
                    if (t.Closing) {
                        if (!fonts.empty()) {
                            cur.Color = fonts.back().Color;
                            cur.Face = fonts.back().Face;
                            cur.Height = fonts.back().Height;
                            fonts.pop_back();
                        }
                    } else {
                        fonts.push_back({cur.Color, cur.Face, cur.Height});
                        TColor col;
                        if (t.Attrs.count(L"color") && HTML_ParseColor(t.Attrs[L"color"], col)) cur.Color = col;
                        if (t.Attrs.count(L"face")) cur.Face = t.Attrs[L"face"];
                        if (t.Attrs.count(L"size")) {
                            int pt = _wtoi(t.Attrs[L"size"].c_str());
                            if (pt > 0) cur.Height = -MulDiv(pt, 96, 72);
                        }
                    }
                }
                continue;
            }
        }
        if (c == L'&') {
            size_t semi = M.find(L';', i);
            if (semi != std::wstring::npos && semi - i <= 8) {
                std::wstring e = text::LowerAscii(M.substr(i + 1, semi - i - 1));
                wchar_t out = 0;
                if (e == L"amp") out = L'&';
                else if (e == L"lt") out = L'<';
                else if (e == L"gt") out = L'>';
                else if (e == L"quot") out = L'"';
                else if (e == L"nbsp") out = 0xA0;
                if (out) {
                    cur.Text += out;
                    lastSpace = false;
                    i = semi + 1;
                    continue;
                }
            }
        }
        if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
            if (!lastSpace) cur.Text += L' ';
            lastSpace = true;
            ++i;
            continue;
        }
        cur.Text += c;
        lastSpace = false;
        ++i;
    }
    flush();
    return runs;
}

THTMLabel::THTMLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 100;
    FHeight = 20;
}

void THTMLabel::Changed() {
    FLaidOut = false;
    AdjustSize();
    Invalidate();
}

void THTMLabel::SetHTMLLines(const std::vector<std::wstring>& Lines) {
    FLines = Lines;
    std::wstring all;
    for (size_t i = 0; i < FLines.size(); ++i) all += (i ? L" " : L"") + FLines[i];
    FRuns = HTML_Parse(all);
    Changed();
}

std::wstring THTMLabel::HTMLText() const {
    std::wstring s;
    for (const auto& l : FLines) s += l + L"\r\n";
    return s;
}

void THTMLabel::SetHTMLText(const std::wstring& Text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t i = 0; i <= Text.size(); ++i) {
        if (i == Text.size() || Text[i] == L'\n' || Text[i] == L'\r') {
            if (i < Text.size() || start < Text.size()) lines.push_back(Text.substr(start, i - start));
            if (i + 1 < Text.size() && Text[i] == L'\r' && Text[i + 1] == L'\n') ++i;
            start = i + 1;
        }
    }
    SetHTMLLines(lines);
}

void THTMLabel::SetVAlignment(TVerticalAlignment V) {
    FVAlign = V;
    Changed();
}

void THTMLabel::SetMargins(int L, int T, int R, int B) {
    FMargins = RECT{L, T, R, B};
    Changed();
}

void THTMLabel::FontChanged() {
    FFonts.clear();
    Changed();
}

void THTMLabel::BoundsChanged() { FLaidOut = false; }

HFONT THTMLabel::RunFont(const THTMLRun& Run) {
    TFontStyles st = Run.Style | (Run.Href.empty() ? 0 : fsUnderline);
    std::wstring face = Run.Face.empty() ? FFont.Name() : Run.Face;
    int h = Run.Height ? Run.Height : FFont.Height();
    std::wstring key = face + L"|" + std::to_wstring(h) + L"|" + std::to_wstring(st | FFont.Style());
    for (auto& [k, f] : FFonts)
        if (k == key) return HFONT(f.get());
    TFont f(FFont);
    f.SetName(face);
    f.SetHeight(h);
    f.SetStyle(st | FFont.Style());
    LOGFONTW lf{};
    GetObjectW(f.Handle(), sizeof(lf), &lf);
    FFonts.emplace_back(key, handles::UniqueGdi(CreateFontIndirectW(&lf)));
    return HFONT(FFonts.back().second.get());
}

void THTMLabel::Layout(HDC DC) {
    FPieces.clear();
    bool wrap = !(AutoSizing && AutoSizeType != asVertical);
    int avail = std::max(1, int(FWidth - FMargins.left - FMargins.right));
    struct TItem {
        int X, W, Ascent, Height;
        std::wstring Text;
        size_t Run;
        bool Space;
    };
    struct TLine {
        std::vector<TItem> Items;
        int Width = 0, Ascent = 0, Height = 0;
        TAlignment Align = taLeftJustify;
    };
    std::vector<TLine> lines(1);
    TEXTMETRICW tm;
    HGDIOBJ old = SelectObject(DC, FFont.Handle());
    GetTextMetricsW(DC, &tm);
    const int baseHeight = tm.tmHeight, baseAscent = tm.tmAscent;
    bool alignSet = false;
    auto endLine = [&](TAlignment nextAlign) {
        TLine& l = lines.back();
        while (!l.Items.empty() && l.Items.back().Space) {
            l.Width -= l.Items.back().W;
            l.Items.pop_back();
        }
        if (l.Items.empty()) {
            l.Height = baseHeight;
            l.Ascent = baseAscent;
        }
        lines.emplace_back();
        lines.back().Align = nextAlign;
        alignSet = false;
    };
    for (size_t r = 0; r < FRuns.size(); ++r) {
        const THTMLRun& run = FRuns[r];
        if (run.Break) {
            if (!alignSet) lines.back().Align = run.Align;
            endLine(run.Align);
            continue;
        }
        if (!alignSet) {
            lines.back().Align = run.Align;
            alignSet = true;
        }
        SelectObject(DC, RunFont(run));
        GetTextMetricsW(DC, &tm);
        size_t i = 0;
        while (i < run.Text.size()) {
            bool space = run.Text[i] == L' ';
            size_t j = i;
            while (j < run.Text.size() && (run.Text[j] == L' ') == space) ++j;
            std::wstring tok = run.Text.substr(i, j - i);
            i = j;
            SIZE sz;
            GetTextExtentPoint32W(DC, tok.c_str(), int(tok.size()), &sz);
            TLine* l = &lines.back();
            if (space && l->Items.empty()) continue;  // no blanks at a line's start
            if (!space && wrap && !l->Items.empty() && l->Width + sz.cx > avail) {
                endLine(run.Align);
                l = &lines.back();
                l->Align = run.Align;
                alignSet = true;
            }
            l->Items.push_back({l->Width, int(sz.cx), int(tm.tmAscent), int(tm.tmHeight), tok, r, space});
            l->Width += sz.cx;
            l->Ascent = std::max(l->Ascent, int(tm.tmAscent));
            l->Height = std::max(l->Height, int(tm.tmHeight));
        }
    }
    endLine(taLeftJustify);
    lines.pop_back();
    if (!lines.empty() && lines.back().Items.empty() && lines.size() > 1) lines.pop_back();
    SelectObject(DC, old);
    int total = 0, widest = 0;
    for (auto& l : lines) {
        total += l.Height;
        widest = std::max(widest, l.Width);
    }
    FTextHeight = total;
    FTextWidth = widest;
    int areaH = FHeight - FMargins.top - FMargins.bottom;
    int y = FMargins.top;
    if (FVAlign == taVerticalCenter) y += (areaH - total) / 2;
    if (FVAlign == taAlignBottom) y += areaH - total;
    for (auto& l : lines) {
        int x = FMargins.left;
        if (l.Align == taCenter) x += (avail - l.Width) / 2;
        if (l.Align == taRightJustify) x += avail - l.Width;
        for (auto& it : l.Items) {
            int top = y + l.Ascent - it.Ascent;
            RECT pr{x + it.X, top, x + it.X + it.W, top + it.Height};
            // Words of one run on one line are drawn as one text, as a plain label would.
            if (!FPieces.empty() && FPieces.back().Run == it.Run && FPieces.back().R.top == pr.top &&
                FPieces.back().R.right == pr.left) {
                FPieces.back().Text += it.Text;
                FPieces.back().R.right = pr.right;
            } else {
                FPieces.push_back({pr, it.Text, it.Run});
            }
        }
        y += l.Height;
    }
    FLaidOut = true;
}

int THTMLabel::TextHeight() {
    HDC dc = GetDC(nullptr);
    Layout(dc);
    ReleaseDC(nullptr, dc);
    return FTextHeight;
}

void THTMLabel::AdjustSize() {
    if (!AutoSizing) return;
    HDC dc = GetDC(nullptr);
    Layout(dc);
    ReleaseDC(nullptr, dc);
    int w = FWidth, h = FHeight;
    if (AutoSizeType != asVertical) w = FTextWidth + FMargins.left + FMargins.right;
    if (AutoSizeType != asHorizontal) h = FTextHeight + FMargins.top + FMargins.bottom;
    SetBounds(FLeft, FTop, w, h);
    FLaidOut = false;
}

void THTMLabel::Paint(HDC DC) {
    if (!FTransparent) paint::Fill(DC, RECT{0, 0, FWidth, FHeight}, Color());
    Layout(DC);
    SetBkMode(DC, TRANSPARENT);
    for (const TPiece& p : FPieces) {
        const THTMLRun& run = FRuns[p.Run];
        TColor c = !run.Href.empty() ? URLColor : (run.Color == clDefault ? FFont.Color() : run.Color);
        if (!FEnabled) c = clGrayText;
        HGDIOBJ old = SelectObject(DC, RunFont(run));
        SetTextColor(DC, ColorToRGB(c));
        TextOutW(DC, p.R.left, p.R.top, p.Text.c_str(), int(p.Text.size()));
        SelectObject(DC, old);
    }
}

std::wstring THTMLabel::AnchorAt(int X, int Y) {
    if (!FLaidOut) {
        HDC dc = GetDC(nullptr);
        Layout(dc);
        ReleaseDC(nullptr, dc);
    }
    for (const TPiece& p : FPieces)
        if (X >= p.R.left && X < p.R.right && Y >= p.R.top && Y < p.R.bottom) return FRuns[p.Run].Href;
    return {};
}

void THTMLabel::MouseMove(TShiftState Shift, int X, int Y) {
    std::wstring a = AnchorAt(X, Y);
    if (a != FHotAnchor) {
        if (FHotAnchor.empty()) FBaseCursor = Cursor;
        FHotAnchor = a;
        Cursor = a.empty() ? FBaseCursor : crHandPoint;
        if (HCURSOR h = CursorHandle(Cursor == crDefault ? crArrow : Cursor)) SetCursor(h);
    }
    TGraphicControl::MouseMove(Shift, X, Y);
}

void THTMLabel::MouseLeave() {
    if (!FHotAnchor.empty()) Cursor = FBaseCursor;
    FHotAnchor.clear();
    TGraphicControl::MouseLeave();
}

void THTMLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    std::wstring a = AnchorAt(X, Y);
    if (!a.empty() && OnAnchorClick) OnAnchorClick(this, a);
}

bool THTMLabel::GetProperty(const std::wstring& PropName, std::wstring& Value) const {
    if (PropName == L"HTMLText") {
        Value = HTMLText();
        return true;
    }
    if (PropName == L"AutoSizing") {
        Value = AutoSizing ? L"True" : L"False";
        return true;
    }
    if (PropName == L"AutoSizeType") {
        Value = AutoSizeType == asVertical ? L"asVertical" : AutoSizeType == asHorizontal ? L"asHorizontal" : L"asBoth";
        return true;
    }
    return TGraphicControl::GetProperty(PropName, Value);
}

bool THTMLabel::SetProperty(const std::wstring& PropName, const std::wstring& Value) {
    if (PropName == L"HTMLText") {
        SetHTMLText(Value);
        return true;
    }
    return TGraphicControl::SetProperty(PropName, Value);
}

}  // namespace ui
