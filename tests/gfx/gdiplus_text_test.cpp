#include "ui/gfx/gdiplus_text.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ui;

namespace {

const TColor32 OpaqueBlack = 0xFF000000u;

// Pixels that carry text: on a transparent bitmap any alpha, on white anything clearly darker.
bool IsInk(TColor32 p, bool onWhite) { return onWhite ? (RedOf(p) < 200 || GreenOf(p) < 200 || BlueOf(p) < 200) : AlphaOf(p) > 0; }

struct Ink {
    int Count = 0;
    RECT Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};  // right and bottom inclusive
};

Ink FindInk(const TBitmap32& b, bool onWhite) {
    Ink ink;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (IsInk(b.Pixel(x, y), onWhite)) {
                ++ink.Count;
                ink.Box.left = std::min<LONG>(ink.Box.left, x);
                ink.Box.top = std::min<LONG>(ink.Box.top, y);
                ink.Box.right = std::max<LONG>(ink.Box.right, x);
                ink.Box.bottom = std::max<LONG>(ink.Box.bottom, y);
            }
    return ink;
}

TEST(GdipTextTest, DrawsOpaqueTextIntoABitmap) {
    TGdipFont font(L"Tahoma", 20);
    ASSERT_TRUE(font.Valid());
    TBitmap32 b(120, 40);
    {
        TGdipCanvas canvas(b);
        ASSERT_TRUE(canvas.Valid());
        ASSERT_TRUE(canvas.DrawText(L"Hello", font, 10, 5, OpaqueBlack));
    }
    Ink ink = FindInk(b, false);
    EXPECT_GT(ink.Count, 60);
    EXPECT_GE(ink.Box.left, 10);
    EXPECT_LT(ink.Box.left, 20);
    EXPECT_GE(ink.Box.top, 5);
    EXPECT_LT(ink.Box.bottom, 5 + 26);
    uint8_t maxAlpha = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) maxAlpha = std::max(maxAlpha, AlphaOf(b.Pixel(x, y)));
    EXPECT_GE(maxAlpha, 250);
    // Measuring from (0, 0) covers what was drawn.
    TTextSize size = GdipText_Measure(L"Hello", font);
    EXPECT_GE(10 + size.Width, ink.Box.right);
    EXPECT_GT(size.Height, 20.0f);
    EXPECT_LT(size.Height, 40.0f);
}

TEST(GdipTextTest, AlphaColourGivesPartialCoverage) {
    // Thick strokes so that fully covered pixels exist.
    TGdipFont font(L"Tahoma", 40, gfsBold);
    ASSERT_TRUE(font.Valid());
    const TColor32 black80 = 0x50000000u;  // alpha 80
    // Into a transparent bitmap: the alpha channel holds the coverage.
    TBitmap32 b(120, 60);
    {
        TGdipCanvas canvas(b);
        ASSERT_TRUE(canvas.DrawText(L"IHI", font, 2, 2, black80));
    }
    uint8_t maxAlpha = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) maxAlpha = std::max(maxAlpha, AlphaOf(b.Pixel(x, y)));
    EXPECT_NEAR(maxAlpha, 80, 3);
    // Onto an opaque white device context: the darkest pixel is 255 - 80.
    TBitmap32 w(120, 60);
    w.Clear(Color32(255, 255, 255));
    {
        TGdipCanvas canvas(w.DC());
        ASSERT_TRUE(canvas.Valid());
        ASSERT_TRUE(canvas.DrawText(L"IHI", font, 2, 2, black80));
    }
    int darkest = 255;
    for (int y = 0; y < w.Height(); ++y)
        for (int x = 0; x < w.Width(); ++x) darkest = std::min<int>(darkest, GreenOf(w.Pixel(x, y)));
    EXPECT_NEAR(darkest, 175, 4);
}

TEST(GdipTextTest, LinesAtFontHeightSpacing) {
    const int lineHeight = 16;
    TGdipFont font(L"Tahoma", float(lineHeight));
    TBitmap32 b(60, 60);
    {
        TGdipCanvas canvas(b);
        for (int n = 0; n < 2; ++n) canvas.DrawText(L"HH", font, 0, float(n * lineHeight), OpaqueBlack);
    }
    // Rows with ink fall into two runs; the second starts one line height below the first.
    std::vector<int> runStarts;
    bool inRun = false;
    for (int y = 0; y < b.Height(); ++y) {
        bool any = false;
        for (int x = 0; x < b.Width(); ++x) any |= AlphaOf(b.Pixel(x, y)) > 0;
        if (any && !inRun) runStarts.push_back(y);
        inRun = any;
    }
    ASSERT_EQ(runStarts.size(), 2u);
    EXPECT_EQ(runStarts[1] - runStarts[0], lineHeight);
}

TEST(GdipTextTest, AntiAliasedAndClearTypeBothDraw) {
    TGdipFont font(L"Tahoma", 13);
    for (TGdipRendering r : {TGdipRendering::AntiAlias, TGdipRendering::ClearTypeGridFit}) {
        SCOPED_TRACE(r == TGdipRendering::AntiAlias ? "anti-aliased" : "ClearType");
        TBitmap32 onWhite(100, 20);
        onWhite.Clear(Color32(255, 255, 255));
        {
            TGdipCanvas canvas(onWhite.DC());
            canvas.SetRendering(r);
            ASSERT_TRUE(canvas.DrawText(L"Options", font, 0, 0, OpaqueBlack));
        }
        EXPECT_GT(FindInk(onWhite, true).Count, 40);
        TBitmap32 clear(100, 20);
        {
            TGdipCanvas canvas(clear);
            canvas.SetRendering(r);
            ASSERT_TRUE(canvas.DrawText(L"Options", font, 0, 0, OpaqueBlack));
        }
        EXPECT_GT(FindInk(clear, false).Count, 40);
    }
}

TEST(GdipTextTest, LayoutRectangleAlignment) {
    TGdipFont font(L"Tahoma", 16);
    const RECT layout{0, 0, 200, 30};
    struct Case {
        TGdipAlign Align;
        const char* Name;
    } cases[] = {{TGdipAlign::Near, "near"}, {TGdipAlign::Center, "centre"}, {TGdipAlign::Far, "far"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TBitmap32 b(200, 30);
        {
            TGdipCanvas canvas(b);
            ASSERT_TRUE(canvas.DrawText(L"Wipe", font, layout, c.Align, OpaqueBlack));
        }
        Ink ink = FindInk(b, false);
        ASSERT_GT(ink.Count, 20);
        int mid = (ink.Box.left + ink.Box.right) / 2;
        switch (c.Align) {
            case TGdipAlign::Near: EXPECT_LT(ink.Box.left, 8); break;
            case TGdipAlign::Center: EXPECT_NEAR(mid, 100, 6); break;
            case TGdipAlign::Far: EXPECT_GT(ink.Box.right, 188); break;
        }
        EXPECT_LT(ink.Box.right, 200);
    }
}

TEST(GdipTextTest, MeasuringFollowsTextAndStyle) {
    TGdipFont regular(L"Tahoma", 13), bold(L"Tahoma", 13, gfsBold);
    TTextSize one = GdipText_Measure(L"Wipe files", regular);
    TTextSize two = GdipText_Measure(L"Wipe filesWipe files", regular);
    EXPECT_GT(one.Width, 30.0f);
    EXPECT_GT(two.Width, one.Width * 1.6f);
    EXPECT_GT(GdipText_Measure(L"Wipe files", bold).Width, one.Width);
    TTextSize empty = GdipText_Measure(L"", regular);
    EXPECT_EQ(empty.Width, 0.0f);
    // The canvas on a device context measures the same as the private surface.
    TBitmap32 b(10, 10);
    TGdipCanvas canvas(b.DC());
    EXPECT_NEAR(canvas.MeasureText(L"Wipe files", regular).Width, one.Width, 1.0f);
}

TEST(GdipTextTest, UnknownFamilyFallsBackAndBadFontsFailQuietly) {
    TGdipFont font(L"No Such Family Blanko", 16);
    ASSERT_TRUE(font.Valid());
    EXPECT_FALSE(font.FamilyName().empty());
    EXPECT_NE(font.FamilyName(), L"No Such Family Blanko");
    TBitmap32 b(80, 24);
    {
        TGdipCanvas canvas(b);
        EXPECT_TRUE(canvas.DrawText(L"Text", font, 0, 0, OpaqueBlack));
    }
    EXPECT_GT(FindInk(b, false).Count, 20);

    // The families the prefix substitutes are usable as well.
    EXPECT_TRUE(TGdipFont(L"Segoe UI", 12).Valid());
    EXPECT_TRUE(TGdipFont(L"Arial", 12, gfsBold | gfsUnderline).Valid());

    TGdipFont zero(L"Tahoma", 0);
    EXPECT_FALSE(zero.Valid());
    TGdipCanvas canvas(b);
    EXPECT_FALSE(canvas.DrawText(L"x", zero, 0, 0, OpaqueBlack));
    EXPECT_EQ(canvas.MeasureText(L"x", zero).Width, 0.0f);
    TBitmap32 empty;
    TGdipCanvas none(empty);
    EXPECT_FALSE(none.Valid());
    EXPECT_FALSE(none.DrawText(L"x", font, 0, 0, OpaqueBlack));
}

}  // namespace
