#include "ui/gfx/resample.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;

namespace {

// Every pixel a valid premultiplied value (colour never above alpha).
void ExpectValidPremultiplied(const TBitmap32& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            TColor32 p = b.Pixel(x, y);
            ASSERT_LE(RedOf(p), AlphaOf(p)) << x << "," << y;
            ASSERT_LE(GreenOf(p), AlphaOf(p)) << x << "," << y;
            ASSERT_LE(BlueOf(p), AlphaOf(p)) << x << "," << y;
        }
}

TEST(LanczosTest, KernelValues) {
    EXPECT_DOUBLE_EQ(Lanczos3(0), 1.0);
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(Lanczos3(i), 0.0, 1e-12);  // zero at whole numbers
    EXPECT_NEAR(Lanczos3(0.5), 0.6079271, 1e-6);  // sinc(1/2) * sinc(1/6) = (2/pi) * (3/pi)
    EXPECT_NEAR(Lanczos3(-0.5), Lanczos3(0.5), 1e-15);
    EXPECT_NEAR(Lanczos3(1.5), -0.1350949, 1e-6);
    EXPECT_EQ(Lanczos3(3.0), 0.0);
    EXPECT_EQ(Lanczos3(7.5), 0.0);
}

TEST(LanczosTest, ConstantImageStaysConstant) {
    const TColor32 colours[] = {Color32(200, 100, 50), Color32(0, 60, 0, 60), 0};
    const SIZE sizes[][2] = {{{37, 23}, {16, 16}}, {{16, 16}, {50, 41}}, {{64, 64}, {32, 32}}, {{5, 5}, {1, 1}}};
    for (TColor32 c : colours)
        for (const auto& s : sizes) {
            TBitmap32 src(s[0].cx, s[0].cy), dst(s[1].cx, s[1].cy);
            src.Clear(c);
            Resample_Lanczos(src, dst);
            for (int y = 0; y < dst.Height(); ++y)
                for (int x = 0; x < dst.Width(); ++x)
                    ASSERT_EQ(dst.Pixel(x, y), c) << std::hex << c << std::dec << " at " << x << "," << y << " "
                                                  << s[0].cx << "->" << s[1].cx;
        }
}

TEST(LanczosTest, SameSizeGivesTheSamePixels) {
    TBitmap32 src(13, 7), dst(13, 7);
    uint32_t seed = 12345;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            seed = seed * 1103515245 + 12345;
            src.SetPixel(x, y, Color32_Premultiply(seed | 0x01000000));
        }
    Resample_Lanczos(src, dst);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(dst.Pixel(x, y), src.Pixel(x, y)) << x << "," << y;
}

TEST(LanczosTest, HalvingAnImpulseGivesTheKernelWeights) {
    // One white column (x = 7) in 16 black ones, halved to 8. Destination pixel i is centred on
    // source position 2i + 0.5 and, shrinking, reads the kernel at half the distance:
    // for i = 3 the source pixels 1..12 lie at -5.5..5.5, weights L3(d / 2), and pixel 7 at
    // +0.5 has L3(0.25) = 0.8901 of a total 1.9939: 255 * 0.4464 = 113.8.
    TBitmap32 src(16, 2), dst(8, 2);
    src.Clear(Color32(0, 0, 0));
    for (int y = 0; y < 2; ++y) src.SetPixel(7, y, Color32(255, 255, 255));
    Resample_Lanczos(src, dst);
    // Exact values 0, 3.8, -17.0, 113.8, 34.6, -8.7, 0.9, 0 (negative lobes clamp to 0).
    const int expected[8] = {0, 4, 0, 114, 35, 0, 1, 0};
    for (int x = 0; x < 8; ++x) {
        EXPECT_NEAR(RedOf(dst.Pixel(x, 0)), expected[x], 1) << "x " << x;
        EXPECT_EQ(AlphaOf(dst.Pixel(x, 1)), 255) << "x " << x;
    }
    // A step from black to white: 0.9, -3.9, 13.7, 241.3, 258.9 (clamped), 254.1, 255.
    TBitmap32 step(16, 1), half(8, 1);
    step.Clear(Color32(0, 0, 0));
    step.FillRect(RECT{8, 0, 16, 1}, Color32(255, 255, 255));
    Resample_Lanczos(step, half);
    const int stepExpected[8] = {0, 1, 0, 14, 241, 255, 254, 255};
    for (int x = 0; x < 8; ++x) EXPECT_NEAR(GreenOf(half.Pixel(x, 0)), stepExpected[x], 1) << "x " << x;
}

TEST(LanczosTest, TransparentColourDoesNotBleedAndOvershootIsClamped) {
    // Left half transparent "red" (premultiplied: nothing), right half opaque green. Resampling
    // straight colours would smear red into the edge; premultiplied there is none.
    TBitmap32 src(16, 16), dst(7, 7);
    src.FillRect(RECT{8, 0, 16, 16}, Color32(0, 255, 0));
    Resample_Lanczos(src, dst);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(RedOf(dst.Pixel(x, y)), 0) << x << "," << y;
    ExpectValidPremultiplied(dst);
    // Enlarging a hard edge rings; the results stay in range and premultiplied.
    TBitmap32 big(45, 45);
    Resample_Lanczos(src, big);
    ExpectValidPremultiplied(big);
    EXPECT_EQ(big.Pixel(0, 0), 0u);
    EXPECT_EQ(big.Pixel(44, 44), Color32(0, 255, 0));
}

TEST(LanczosTest, SourceRectangleReadsOnlyInsideAndTargetRectangleWritesOnlyThere) {
    // A strip of two 8 x 8 pictures: red, then blue.
    TBitmap32 strip(16, 8);
    strip.FillRect(RECT{0, 0, 8, 8}, Color32(255, 0, 0));
    strip.FillRect(RECT{8, 0, 16, 8}, Color32(0, 0, 255));
    TBitmap32 dst(12, 12);
    dst.Clear(Color32(1, 2, 3, 255));  // marks what must stay
    Resample_Lanczos(strip, RECT{8, 0, 16, 8}, dst, RECT{2, 2, 7, 7});
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            bool inside = x >= 2 && x < 7 && y >= 2 && y < 7;
            EXPECT_EQ(dst.Pixel(x, y), inside ? Color32(0, 0, 255) : Color32(1, 2, 3, 255)) << x << "," << y;
        }
    // A target rectangle partly outside the bitmap is clipped; the scale stays the rectangle's.
    TBitmap32 small(4, 4);
    Resample_Lanczos(strip, RECT{0, 0, 8, 8}, small, RECT{-4, -4, 4, 4});
    EXPECT_EQ(small.Pixel(3, 3), Color32(255, 0, 0));
    EXPECT_EQ(small.Pixel(0, 0), Color32(255, 0, 0));
}

}  // namespace
