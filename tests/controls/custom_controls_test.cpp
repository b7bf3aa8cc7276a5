// The label, text button and three-state image on a real form, driven by the mouse messages the
// system sends: what they draw (pixels read back), where the button puts its caption, which
// picture the image shows, and which mouse events each raises.
#include "controls/pellan_mouse_image_3state.h"
#include "controls/zelk_label_gdip.h"
#include "controls/zelk_unicode_st_button.h"

#include "../ui/ui_test_util.h"
#include "ui/advctrls.h"
#include "ui/forms.h"
#include "ui/gfx/png_image_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace ui;

namespace {

class CustomControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = CreateForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetClientSize(400, 300);
        Form->SetColor(clWhite);
        Form->HandleNeeded();
    }
    void TearDown() override { Form->Free(); }
    void Mouse(UINT Msg, int X, int Y, WPARAM Keys = 0) {
        SendMessageW(Form->Handle(), Msg, Keys, MAKELPARAM(X, Y));
    }
    TZelkLabelGDIP* Label(int W, int H, int FontHeight = -16) {
        auto* l = Place<TZelkLabelGDIP>(Form, L"ZelkLabelGDIP1", Form, 10, 10, W, H);
        l->Font().SetName(L"Tahoma");
        l->Font().SetHeight(FontHeight);
        l->Font().SetColor(clBlack);
        l->SetAutoWidth(false);
        l->SetBounds(10, 10, W, H);
        l->SetAntiAliasingType(at_antialiasing);
        return l;
    }
    TForm* Form = nullptr;
};

// Rows and columns with ink (anything clearly darker than the white background).
struct TInk {
    int Top = -1, Bottom = -1, Left = -1, Right = -1;
    int Darkest = 255;
};
TInk InkOf(const TSnapshot& S, RECT Area) {
    TInk ink;
    for (int y = Area.top; y < Area.bottom; ++y)
        for (int x = Area.left; x < Area.right; ++x) {
            int v = TSnapshot::G(S.At(x, y));
            ink.Darkest = std::min(ink.Darkest, v);
            if (v > 200) continue;
            if (ink.Top < 0) ink.Top = y;
            ink.Bottom = y;
            ink.Left = ink.Left < 0 ? x : std::min(ink.Left, x);
            ink.Right = std::max(ink.Right, x);
        }
    return ink;
}

TPicture Solid(int W, int H, uint32_t Argb) {
    TPicture p;
    p.CreateBlank(W, H);
    std::fill(p.Bits(), p.Bits() + W * H, Argb);
    return p;
}

TEST_F(CustomControlTest, ClassNamesAndStartValues) {
    auto* l = new TZelkLabelGDIP(Form);
    auto* b = new TZelkUnicodeSTButton(Form);
    auto* i = new TPellanMouseImage3State(Form);
    EXPECT_EQ(l->ClassName(), L"TZelkLabelGDIP");
    EXPECT_EQ(b->ClassName(), L"TZelkUnicodeSTButton");
    EXPECT_EQ(i->ClassName(), L"TPellanMouseImage3State");
    EXPECT_EQ(l->Width(), 100);
    EXPECT_EQ(l->Height(), 16);
    EXPECT_EQ(l->Caption(), L"xxxxxx");
    EXPECT_EQ(l->AlphaChannel(), 255);
    EXPECT_TRUE(l->AutoWidth());
    EXPECT_EQ(l->AntiAliasingType(), at_cleartype);
    EXPECT_EQ(b->Width(), 88);
    EXPECT_EQ(b->Height(), 25);
    EXPECT_EQ(b->Caption(), L"xxxxxx");
    EXPECT_EQ(b->Cursor, crHandPoint);
    EXPECT_EQ(b->ImageIndex(), -1);
    EXPECT_TRUE(i->Stretch());
    EXPECT_TRUE(i->Move_If_MousePressed());
}

TEST_F(CustomControlTest, LabelBreaksLinesAtBrInAnyCaseOneFontHeightApart) {
    for (const wchar_t* caption : {L"Ab<BR>Ab", L"Ab<br>Ab", L"Ab<bR>Ab"}) {
        auto* l = Label(100, 60);
        l->SetCaption(L"Ab");
        TInk one = InkOf(Snapshot(*l), RECT{0, 0, 100, 60});
        l->SetCaption(caption);
        TSnapshot s = Snapshot(*l);
        TInk first = InkOf(s, RECT{0, 0, 100, 16});
        TInk second = InkOf(s, RECT{0, 16, 100, 60});
        ASSERT_GE(first.Top, 0) << text_of(caption);
        ASSERT_GE(second.Top, 0) << text_of(caption);
        EXPECT_EQ(second.Top - first.Top, 16) << text_of(caption);
        EXPECT_EQ(second.Bottom - first.Bottom, 16) << text_of(caption);
        // The tag is not drawn: each line is as wide as the text alone.
        EXPECT_EQ(first.Left, one.Left);
        EXPECT_EQ(first.Right, one.Right) << text_of(caption);
        EXPECT_EQ(second.Right, one.Right) << text_of(caption);
        l->Free();
    }
}

TEST_F(CustomControlTest, LabelShortensWithEllipsisOnlyWhenTooWide) {
    struct Case {
        const wchar_t* Caption;
        bool EndEllipsis, AutoWidth, Shortened;
    } cases[] = {
        {L"Vernichtungsprotokoll", true, false, true},
        {L"Ab", true, false, false},                       // fits
        {L"Vernichtungsprotokoll", false, false, false},   // no ellipsis asked for
        {L"Vernichtungsprotokoll", true, true, false},     // auto width makes it fit
    };
    for (const Case& c : cases) {
        auto* l = Label(40, 16, -11);
        l->SetEndEllipsis(c.EndEllipsis);
        l->SetCaption(c.Caption);
        l->SetAutoWidth(c.AutoWidth);
        std::wstring shown = l->DisplayText();
        SCOPED_TRACE(text_of(c.Caption) + " -> " + text_of(shown));
        if (!c.Shortened) {
            EXPECT_EQ(shown, c.Caption);
        } else {
            ASSERT_GT(shown.size(), 3u);
            EXPECT_EQ(shown.substr(shown.size() - 3), L"...");
            std::wstring prefix = shown.substr(0, shown.size() - 3);
            EXPECT_EQ(std::wstring(c.Caption).substr(0, prefix.size()), prefix);
            // The longest prefix that fits: one character more would not.
            TGdipFont font(L"Tahoma", 11);
            EXPECT_LE(GdipText_Measure(shown, font).Width, 40.0f);
            std::wstring longer = std::wstring(c.Caption).substr(0, prefix.size() + 1) + L"...";
            EXPECT_GT(GdipText_Measure(longer, font).Width, 40.0f);
            EXPECT_GE(InkOf(Snapshot(*l), RECT{0, 0, 40, 16}).Top, 0);
        }
        l->Free();
    }
}

TEST_F(CustomControlTest, LabelDrawsAtItsAlphaChannel) {
    struct Case {
        int Alpha;
        int Expected;  // darkest pixel of black text over white
    } cases[] = {{255, 0}, {80, 255 - 80}, {80 + 256, 255 - 80}, {0, 255}};
    for (const Case& c : cases) {
        auto* l = Label(120, 60, -48);
        l->SetCaption(L"IlI");
        l->SetAlphaChannel(c.Alpha);
        TInk ink = InkOf(Snapshot(*l), RECT{0, 0, 120, 60});
        EXPECT_NEAR(ink.Darkest, c.Expected, 4) << c.Alpha;
        l->Free();
    }
}

TEST_F(CustomControlTest, LabelAlignsAndDrawsDropAndEmbossShadows) {
    auto* l = Label(200, 30, -20);
    l->SetCaption(L"Mitte");
    l->SetAlignment(taRightJustify);
    TInk right = InkOf(Snapshot(*l), RECT{0, 0, 200, 30});
    EXPECT_GE(right.Right, 200 - 6);
    EXPECT_GT(right.Left, 100);
    l->SetAlignment(taCenter);
    TInk centre = InkOf(Snapshot(*l), RECT{0, 0, 200, 30});
    EXPECT_NEAR((centre.Left + centre.Right) / 2.0, 100, 4);

    // Shadow in red, text in black: the drop shadow lies one pixel lower and further right, the
    // emboss one pixel higher and further left.
    l->SetAlignment(taLeftJustify);
    l->SetShadow(true);
    l->SetShadowColor(0x0000FF);
    struct Bounds {
        int Top = 99, Left = 999;
    };
    auto bounds = [&](bool Red) {
        TSnapshot s = Snapshot(*l);
        Bounds b;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 200; ++x) {
                uint32_t p = s.At(x, y);
                bool red = TSnapshot::R(p) > 200 && TSnapshot::G(p) < 80;
                bool black = TSnapshot::R(p) < 80 && TSnapshot::G(p) < 80;
                if (Red ? red : black) {
                    b.Top = std::min(b.Top, y);
                    b.Left = std::min(b.Left, x);
                }
            }
        return b;
    };
    for (bool emboss : {false, true}) {
        l->SetShadowEmboss(emboss);
        Bounds shadow = bounds(true), text = bounds(false);
        const int d = emboss ? -1 : 1;
        EXPECT_EQ(shadow.Top - text.Top, d) << emboss;
        EXPECT_EQ(shadow.Left - text.Left, d) << emboss;
    }
}

TEST_F(CustomControlTest, LabelTakesTheMeasuredWidthOnlyWithAParentWindow) {
    auto* l = new TZelkLabelGDIP(Form);
    l->Font().SetHeight(-11);
    l->SetCaption(L"Lösche Dateien");
    EXPECT_EQ(l->Width(), 100);  // no parent: not measured
    l->SetParent(Form);
    l->SetCaption(L"Lösche Dateien endgültig");
    TGdipFont font(l->Font().Name(), 11);
    const int measured = int(std::lround(GdipText_Measure(l->Caption(), font).Width));
    EXPECT_EQ(l->Width(), measured);
    l->SetShadow(true);
    EXPECT_EQ(l->Width(), measured + 1);
    l->SetAutoWidth(false);
    l->SetCaption(L"x");
    EXPECT_EQ(l->Width(), measured + 1);
}

TEST_F(CustomControlTest, ButtonPlacesCaptionGlyphAndImage) {
    auto* images = new TPngImageList(Form, 16);
    TBitmap32 blue(16, 16);
    blue.Clear(Color32(0, 0, 255));
    images->Add(blue);
    const TPicture glyph = Solid(10, 12, 0xFFFF0000);
    auto* b = Place<TZelkUnicodeSTButton>(Form, L"Button1", Form, 20, 20, 88, 25);
    b->SetCaption(L"Weiter");
    SIZE ext;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b->Font().Handle());
    GetTextExtentPoint32W(dc, L"Weiter", 6, &ext);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int tw = int(ext.cx);
    struct Case {
        TAlignment Align;
        bool AutoWidth, Glyph, Image;
        int Width, X;
    } cases[] = {
        {taRightJustify, true, false, false, tw + 4, 4},
        {taRightJustify, true, true, false, tw + 14, 14},
        {taLeftJustify, false, true, true, 88, 10 + 4 + 16 + 4},
        {taLeftJustify, false, false, false, 88, 4},
        {taCenter, false, true, true, 88, (88 - tw) / 2 + 5 + 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Align) * 100 + c.AutoWidth * 10 + c.Glyph);
        b->SetBounds(20, 20, 88, 25);
        b->SetAlignment(c.Align);
        b->SetAutoWidth(c.AutoWidth);
        TPicture none;
        if (c.Glyph)
            b->SetGlyph(&glyph);
        else
            b->SetGlyph(&none);
        b->SetImageList(c.Image ? images : nullptr);
        b->SetImageIndex(c.Image ? 0 : -1);
        Snapshot(*b);  // the first paint takes the width
        TSnapshot s = Snapshot(*b);
        EXPECT_EQ(b->Width(), c.Width);
        EXPECT_EQ(b->TextPos().x, c.X);
        EXPECT_EQ(b->TextPos().y, (25 - 11) / 2 - 2);
        TInk text = InkOf(s, RECT{c.X, 0, b->Width(), 25});
        EXPECT_NEAR(text.Left, c.X, 2);
        if (c.AutoWidth) {
            // The caption ends at the right edge (its ink a little short of its advance).
            EXPECT_EQ(c.X + tw, b->Width());
            EXPECT_GE(text.Right, b->Width() - 6);
        }
        // The glyph (red) left of the caption; the list image (blue) is drawn after it.
        const uint32_t glyphPx = s.At(c.X - 4 - 5, 12), imagePx = s.At(c.X - 4 - 16, 12);
        if (c.Glyph && !c.Image) {
            EXPECT_TRUE(TSnapshot::R(glyphPx) > 200 && TSnapshot::B(glyphPx) < 60);
        }
        if (c.Image) {
            EXPECT_TRUE(TSnapshot::B(imagePx) > 200 && TSnapshot::R(imagePx) < 60);
        }
    }
}

TEST_F(CustomControlTest, ButtonUsesTheHoverFontWhileTheMouseIsInside) {
    auto* b = Place<TZelkUnicodeSTButton>(Form, L"Button1", Form, 20, 20, 88, 25);
    b->SetAutoWidth(false);
    b->SetCaption(L"Optionen");
    b->Font().SetColor(clBlack);
    TFont hot;
    hot.SetColor(0x0000FF);  // red
    b->SetFontHOT(&hot);
    auto redText = [&] {
        TSnapshot s = Snapshot(*b);
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 88; ++x) {
                uint32_t p = s.At(x, y);
                if (TSnapshot::G(p) < 100) return TSnapshot::R(p) > 150;  // the first ink pixel
            }
        ADD_FAILURE() << "no text drawn";
        return false;
    };
    EXPECT_FALSE(redText());
    Mouse(WM_MOUSEMOVE, 30, 30);
    EXPECT_TRUE(b->MouseIsInside());
    EXPECT_TRUE(redText());
    Mouse(WM_MOUSEMOVE, 300, 200);
    EXPECT_FALSE(b->MouseIsInside());
    EXPECT_FALSE(redText());
}

TEST_F(CustomControlTest, ThreeStateImageShowsItsPicturesAndMovesWhilePressed) {
    auto* img = Place<TPellanMouseImage3State>(Form, L"Image_Close", Form, 100, 100, 20, 20);
    const uint32_t normal = 0xFF0000FF, highlight = 0xFF00FF00, pressed = 0xFFFF0000;
    img->SetPicture_Highlight(Solid(20, 20, highlight));
    img->SetPicture_Pressed(Solid(20, 20, pressed));
    img->SetPicture_Normal(Solid(20, 20, normal));
    auto shown = [&] { return img->Picture().Empty() ? 0u : img->Picture().Bits()[0]; };
    auto at = [&](int L, int T) { return img->Left() == L && img->Top() == T; };
    EXPECT_EQ(shown(), normal);  // shown as soon as it is set

    Mouse(WM_MOUSEMOVE, 110, 110);
    EXPECT_EQ(shown(), highlight);
    Mouse(WM_LBUTTONDOWN, 110, 110, MK_LBUTTON);
    EXPECT_EQ(shown(), pressed);
    EXPECT_TRUE(at(101, 101));
    Mouse(WM_LBUTTONUP, 110, 110);
    EXPECT_EQ(shown(), highlight);
    EXPECT_TRUE(at(100, 100));
    Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_EQ(shown(), normal);

    // Released outside: back in place, but the pressed picture stays until the mouse comes back
    // and leaves again.
    Mouse(WM_MOUSEMOVE, 110, 110);
    Mouse(WM_LBUTTONDOWN, 110, 110, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 300, 250, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 300, 250);
    EXPECT_EQ(shown(), pressed);
    EXPECT_TRUE(at(100, 100));
    Mouse(WM_MOUSEMOVE, 110, 110);
    EXPECT_EQ(shown(), highlight);
    Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_EQ(shown(), normal);

    // Without moving; and a handler of its own on OnMouseDown replaces the pressed step.
    img->SetMove_If_MousePressed(false);
    Mouse(WM_MOUSEMOVE, 110, 110);
    Mouse(WM_LBUTTONDOWN, 110, 110, MK_LBUTTON);
    EXPECT_TRUE(at(100, 100));
    EXPECT_EQ(shown(), pressed);
    Mouse(WM_LBUTTONUP, 110, 110);
    int downs = 0;
    img->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++downs; };
    img->SetMove_If_MousePressed(true);
    Mouse(WM_LBUTTONDOWN, 110, 110, MK_LBUTTON);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(shown(), highlight);
    EXPECT_TRUE(at(100, 100));
    Mouse(WM_LBUTTONUP, 110, 110);
    EXPECT_TRUE(at(100, 100));  // nothing to move back
}

TEST_F(CustomControlTest, PngImageListsServeTheLayersGlowButtonInColourAndDisabledInGrey) {
    for (int size : {16, 32}) {
        auto* list = new TPngImageList(Form, size);
        TBitmap32 red(48, 48);  // scaled to the list's size
        red.Clear(Color32(255, 0, 0));
        list->Add(red);
        auto* b = Place<TAdvGlowButton>(Form, L"AdvGlowButton1", Form, 0, 0, 60, 60);
        b->Images = list;  // the layer's image list interface
        b->ImageIndex = 0;
        b->SetTransparent(true);
        uint32_t p = Snapshot(*b).At(30, 30);  // the middle of the centred image
        EXPECT_TRUE(TSnapshot::R(p) > 240 && TSnapshot::G(p) < 20) << size;
        b->SetEnabled(false);
        p = Snapshot(*b).At(30, 30);
        EXPECT_LT(TSnapshot::R(p), 200) << size;
        EXPECT_NEAR(TSnapshot::R(p), TSnapshot::G(p), 4) << size;
        EXPECT_NEAR(TSnapshot::G(p), TSnapshot::B(p), 4) << size;
        b->Free();
        list->Free();
    }
}

TEST_F(CustomControlTest, MouseLeaveRaisedOnlyWhenAssigned) {
    using TMake = std::function<TControl*(TForm*)>;
    const TMake makers[] = {
        [](TForm* f) { return Place<TZelkLabelGDIP>(f, L"Label", f, 50, 50, 100, 16); },
        [](TForm* f) { return Place<TZelkUnicodeSTButton>(f, L"Button", f, 50, 50, 88, 25); },
        [](TForm* f) { return Place<TPellanMouseImage3State>(f, L"Image", f, 50, 50, 20, 20); },
    };
    for (const TMake& make : makers) {
        for (bool leaveOnly : {true, false}) {
            TControl* c = make(Form);
            SCOPED_TRACE(text_of(c->ClassName()) + (leaveOnly ? " leave only" : " enter only"));
            int enters = 0, leaves = 0;
            if (leaveOnly)
                c->OnMouseLeave = [&](TComponent* s) {
                    EXPECT_EQ(s, c);
                    ++leaves;
                };
            else
                c->OnMouseEnter = [&](TComponent*) { ++enters; };
            Mouse(WM_MOUSEMOVE, 55, 55);
            Mouse(WM_MOUSEMOVE, 300, 250);
            EXPECT_EQ(leaves, leaveOnly ? 1 : 0);
            EXPECT_EQ(enters, leaveOnly ? 0 : 1);
            c->Free();
        }
    }
}

TEST_F(CustomControlTest, LabelRaisesNothingWhileDisabledAndReportsAPlainLeftPress) {
    auto* l = Place<TZelkLabelGDIP>(Form, L"Label", Form, 50, 50, 100, 16);
    int events = 0;
    std::vector<int> downs;
    l->OnMouseEnter = [&](TComponent*) { ++events; };
    l->OnMouseLeave = [&](TComponent*) { ++events; };
    l->OnMouseDown = [&](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
        downs = {int(b), int(s), x, y};
    };
    Mouse(WM_MOUSEMOVE, 60, 55);
    Mouse(WM_LBUTTONDOWN, 60, 55, MK_LBUTTON | MK_SHIFT);
    Mouse(WM_LBUTTONUP, 60, 55);
    EXPECT_EQ(downs, (std::vector<int>{int(mbLeft), 0, 0, 0}));
    downs.clear();
    Mouse(WM_RBUTTONDOWN, 60, 55, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, 60, 55);
    EXPECT_TRUE(downs.empty());
    Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_EQ(events, 2);
    l->SetEnabled(false);
    Mouse(WM_MOUSEMOVE, 60, 55);
    EXPECT_TRUE(l->MouseIsInside());
    Mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_FALSE(l->MouseIsInside());
    EXPECT_EQ(events, 2);
}

}  // namespace
