#include "ui/gfx/bitmap32.h"

#include "gfx_test_util.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <fstream>
#include <vector>

using namespace ui;

namespace {

// 2 x 2 RGBA PNG: red opaque, green alpha 128 / blue alpha 0, white alpha 64.
const uint8_t PngRgba2x2[] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x15, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xf0, 0x1f, 0x08, 0x1b, 0x18, 0xc0, 0xf4, 0xff, 0xff, 0x0e, 0x00, 0x3f, 0x18, 0x07, 0xba, 0x92, 0xa4, 0x5f, 0x25, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
// 3 x 1 RGB PNG without alpha: (10,20,30), (200,100,50), white.
const uint8_t PngRgb3x1[] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x94, 0x82, 0x83, 0xe3, 0x00, 0x00, 0x00, 0x12, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xe0, 0x12, 0x91, 0x3b, 0x91, 0x62, 0xf4, 0xff, 0xff, 0x7f, 0x00, 0x0f, 0x3c, 0x04, 0x98, 0x41, 0xb9, 0xff, 0xb2, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

void WriteFile(const std::wstring& path, const void* data, size_t size) {
    std::ofstream f(path.c_str(), std::ios::binary);
    f.write(static_cast<const char*>(data), std::streamsize(size));
}

void Put16(std::vector<uint8_t>& b, uint16_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); }

// A BMP file: Pixels as straight 0xAARRGGBB, row 0 at the top; bottom-up unless TopDown.
std::vector<uint8_t> MakeBmp(int w, int h, int bits, const std::vector<TColor32>& pixels, bool topDown = false) {
    int stride = ((w * bits + 31) / 32) * 4;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, uint32_t(14 + 40 + stride * h));
    Put32(b, 0);
    Put32(b, 14 + 40);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(topDown ? -h : h));
    Put16(b, 1);
    Put16(b, uint16_t(bits));
    Put32(b, BI_RGB);
    Put32(b, uint32_t(stride * h));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int row = 0; row < h; ++row) {
        int y = topDown ? row : h - 1 - row;
        size_t start = b.size();
        for (int x = 0; x < w; ++x) {
            TColor32 p = pixels[size_t(y) * w + x];
            b.push_back(BlueOf(p));
            b.push_back(GreenOf(p));
            b.push_back(RedOf(p));
            if (bits == 32) b.push_back(AlphaOf(p));
        }
        while (b.size() - start < size_t(stride)) b.push_back(0);
    }
    return b;
}

TEST(Bitmap32Test, SizeClearFillAndPixelsOutside) {
    TBitmap32 b;
    EXPECT_TRUE(b.Empty());
    ASSERT_TRUE(b.SetSize(5, 4));
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 4);
    EXPECT_NE(b.DC(), nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), 0u);
    b.Clear(Color32(1, 2, 3, 255));
    b.FillRect(RECT{3, 2, 99, 99}, Color32(9, 9, 9, 9));  // clipped to the bitmap
    EXPECT_EQ(b.Pixel(2, 2), Color32(1, 2, 3, 255));
    EXPECT_EQ(b.Pixel(3, 2), Color32(9, 9, 9, 9));
    EXPECT_EQ(b.Pixel(4, 3), Color32(9, 9, 9, 9));
    b.SetPixel(-1, 0, 0x12345678);  // outside: nothing happens
    EXPECT_EQ(b.Pixel(-1, 0), 0u);
    EXPECT_EQ(b.Pixel(5, 0), 0u);
    // Resizing clears to transparent.
    ASSERT_TRUE(b.SetSize(2, 2));
    EXPECT_EQ(b.Pixel(1, 1), 0u);
    // Copies are deep.
    b.SetPixel(0, 0, Color32(4, 5, 6, 255));
    TBitmap32 c(b);
    c.SetPixel(0, 0, 0);
    EXPECT_EQ(b.Pixel(0, 0), Color32(4, 5, 6, 255));
    b.SetSize(0, 3);
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap32Test, GdiDrawingLandsInThePixels) {
    TBitmap32 b(4, 4);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{0, 0, 2, 2};
    ::FillRect(b.DC(), &r, red);
    DeleteObject(red);
    // GDI leaves alpha 0; ResetAlpha makes the drawing opaque.
    EXPECT_EQ(b.Pixel(0, 0) & 0x00FFFFFFu, 0x00FF0000u);
    b.ResetAlpha();
    EXPECT_EQ(b.Pixel(1, 1), Color32(255, 0, 0));
    EXPECT_EQ(b.Pixel(3, 3), Color32(0, 0, 0));
}

TEST(Bitmap32Test, PremultiplyRoundTrip) {
    EXPECT_EQ(Color32_Premultiply(Color32(255, 128, 0, 128)), Color32(128, 64, 0, 128));
    EXPECT_EQ(Color32_Premultiply(Color32(200, 100, 50, 0)), 0u);
    EXPECT_EQ(Color32_Premultiply(Color32(200, 100, 50, 255)), Color32(200, 100, 50, 255));
    EXPECT_EQ(Color32_Unpremultiply(Color32(128, 64, 0, 128)), Color32(255, 128, 0, 128));
    EXPECT_EQ(Color32_Unpremultiply(0), 0u);
}

TEST(Bitmap32Test, LoadsPngPremultipliedFromFileMemoryAndStream) {
    gfxtest::TempFolder dir;
    WriteFile(dir.File(L"rgba.png"), PngRgba2x2, sizeof PngRgba2x2);
    WriteFile(dir.File(L"rgb.png"), PngRgb3x1, sizeof PngRgb3x1);

    TBitmap32 a;
    ASSERT_TRUE(a.LoadFromFile(dir.File(L"rgba.png")));
    ASSERT_EQ(a.Width(), 2);
    ASSERT_EQ(a.Height(), 2);
    EXPECT_EQ(a.Pixel(0, 0), Color32(255, 0, 0, 255));
    EXPECT_EQ(a.Pixel(1, 0), Color32(0, 128, 0, 128));
    EXPECT_EQ(a.Pixel(0, 1), 0u);
    EXPECT_EQ(a.Pixel(1, 1), Color32(64, 64, 64, 64));

    TBitmap32 m;
    ASSERT_TRUE(m.LoadFromMemory(PngRgb3x1, sizeof PngRgb3x1));
    ASSERT_EQ(m.Width(), 3);
    EXPECT_EQ(m.Pixel(0, 0), Color32(10, 20, 30, 255));  // no alpha in the file: opaque
    EXPECT_EQ(m.Pixel(1, 0), Color32(200, 100, 50, 255));
    EXPECT_EQ(m.Pixel(2, 0), Color32(255, 255, 255, 255));

    IStream* stream = SHCreateMemStream(PngRgba2x2, sizeof PngRgba2x2);
    ASSERT_NE(stream, nullptr);
    TBitmap32 s;
    EXPECT_TRUE(s.LoadFromStream(stream));
    stream->Release();
    EXPECT_EQ(s.Pixel(1, 1), Color32(64, 64, 64, 64));
}

TEST(Bitmap32Test, LoadsBmp24Opaque32WithAlpha) {
    gfxtest::TempFolder dir;
    // 3 x 2 so that 24-bit rows need padding; straight colours.
    std::vector<TColor32> px = {Color32(255, 0, 0, 10),  Color32(0, 255, 0, 128), Color32(0, 0, 255, 255),
                                Color32(10, 20, 30, 0),  Color32(200, 100, 50, 64), Color32(255, 255, 255, 255)};
    struct Case {
        const wchar_t* Name;
        int Bits;
        bool TopDown;
        bool KeepsAlpha;
    } cases[] = {
        {L"rgb24.bmp", 24, false, false},
        {L"rgb24_topdown.bmp", 24, true, false},
        {L"argb32.bmp", 32, false, true},
        {L"argb32_topdown.bmp", 32, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "file " << std::string(c.Name, c.Name + wcslen(c.Name)));
        auto bytes = MakeBmp(3, 2, c.Bits, px, c.TopDown);
        WriteFile(dir.File(c.Name), bytes.data(), bytes.size());
        TBitmap32 b;
        ASSERT_TRUE(b.LoadFromFile(dir.File(c.Name)));
        ASSERT_EQ(b.Width(), 3);
        ASSERT_EQ(b.Height(), 2);
        for (int i = 0; i < 6; ++i) {
            TColor32 expected = c.KeepsAlpha ? Color32_Premultiply(px[i]) : (px[i] | 0xFF000000u);
            EXPECT_EQ(b.Pixel(i % 3, i / 3), expected) << "pixel " << i;
        }
    }
    // A 32-bit BMP whose alpha bytes are all 0 was written without alpha: it loads opaque.
    std::vector<TColor32> noAlpha = {Color32(1, 2, 3, 0), Color32(40, 50, 60, 0)};
    auto bytes = MakeBmp(2, 1, 32, noAlpha);
    TBitmap32 b;
    ASSERT_TRUE(b.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(b.Pixel(0, 0), Color32(1, 2, 3, 255));
    EXPECT_EQ(b.Pixel(1, 0), Color32(40, 50, 60, 255));
}

TEST(Bitmap32Test, BadInputFailsAndLeavesTheBitmapAlone) {
    gfxtest::TempFolder dir;
    TBitmap32 b(1, 1);
    b.SetPixel(0, 0, Color32(7, 7, 7));
    auto bmp = MakeBmp(4, 4, 24, std::vector<TColor32>(16, Color32(1, 1, 1)));
    std::vector<std::vector<uint8_t>> bad = {
        {},
        {'B', 'M', 0, 0},
        std::vector<uint8_t>(bmp.begin(), bmp.end() - 10),                                   // truncated pixels
        std::vector<uint8_t>(PngRgba2x2, PngRgba2x2 + 40),                                   // truncated PNG
        std::vector<uint8_t>{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'},  // no image at all
    };
    // A BMP that claims a gigantic size.
    auto huge = bmp;
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x0F;
    bad.push_back(huge);
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_FALSE(b.LoadFromMemory(bad[i].data(), bad[i].size())) << "case " << i;
        std::wstring file = dir.File(L"bad" + std::to_wstring(i) + L".png");
        WriteFile(file, bad[i].data(), bad[i].size());
        EXPECT_FALSE(b.LoadFromFile(file)) << "case " << i;
    }
    EXPECT_FALSE(b.LoadFromFile(dir.File(L"missing.png")));
    ASSERT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Pixel(0, 0), Color32(7, 7, 7));
}

TEST(Bitmap32Test, PngSaveRoundTrip) {
    gfxtest::TempFolder dir;
    TBitmap32 b(3, 2);
    b.SetPixel(0, 0, Color32(255, 0, 0));
    b.SetPixel(1, 0, Color32(0, 100, 0, 100));
    b.SetPixel(2, 1, Color32(30, 30, 60, 60));
    ASSERT_TRUE(b.SaveToPngFile(dir.File(L"out.png")));
    TBitmap32 r;
    ASSERT_TRUE(r.LoadFromFile(dir.File(L"out.png")));
    ASSERT_EQ(r.Width(), 3);
    ASSERT_EQ(r.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(r.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

TEST(Bitmap32Test, BlendWithMasterAlpha) {
    const TColor32 blue = Color32(0, 0, 255);
    struct Case {
        TColor32 Dst, Src;
        uint8_t Master;
        TColor32 Expected;
    } cases[] = {
        {blue, Color32(255, 0, 0), 255, Color32(255, 0, 0)},            // opaque source replaces
        {blue, Color32(255, 0, 0), 128, Color32(128, 0, 127)},          // half of each
        {blue, Color32(255, 0, 0), 0, blue},                            // master 0: nothing
        {Color32(255, 255, 255), Color32(100, 0, 0, 100), 255, Color32(255, 155, 155)},  // 100/255 red over white
        {0, Color32(100, 0, 0, 100), 255, Color32(100, 0, 0, 100)},     // onto transparent: the source
        {0, Color32(100, 0, 0, 100), 51, Color32(20, 0, 0, 20)},        // ... scaled by 51/255
        {Color32(0, 0, 128, 128), Color32(0, 128, 0, 128), 255, Color32(0, 128, 64, 192)},  // two halves
    };
    for (const Case& c : cases) {
        TBitmap32 d(1, 1), s(1, 1);
        d.SetPixel(0, 0, c.Dst);
        s.SetPixel(0, 0, c.Src);
        d.Draw(0, 0, s, c.Master);
        EXPECT_EQ(d.Pixel(0, 0), c.Expected) << std::hex << "dst " << c.Dst << " src " << c.Src << std::dec
                                             << " master " << int(c.Master);
    }
}

TEST(Bitmap32Test, BlendClipsAndTakesASourceRectangle) {
    TBitmap32 src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.SetPixel(x, y, Color32(uint8_t(x * 10 + y), 0, 0));
    TBitmap32 dst(3, 3);
    dst.Draw(-2, -1, src);  // only the lower right part lands
    EXPECT_EQ(dst.Pixel(0, 0), Color32(21, 0, 0));
    EXPECT_EQ(dst.Pixel(1, 2), Color32(33, 0, 0));
    EXPECT_EQ(dst.Pixel(2, 0), 0u);
    EXPECT_EQ(dst.Pixel(0, 2), Color32(23, 0, 0));
    EXPECT_EQ(dst.Pixel(2, 2), 0u);

    TBitmap32 dst2(3, 3);
    dst2.Draw(1, 1, RECT{2, 1, 4, 3}, src);
    EXPECT_EQ(dst2.Pixel(0, 0), 0u);
    EXPECT_EQ(dst2.Pixel(1, 1), Color32(21, 0, 0));
    EXPECT_EQ(dst2.Pixel(2, 2), Color32(32, 0, 0));
}

TEST(Bitmap32Test, DrawToDeviceContextWithAlpha) {
    TBitmap32 black(2, 2);
    black.Clear(Color32(0, 0, 0, 128));  // half-transparent black
    struct Case {
        uint8_t Master;
        int Expected;  // resulting grey on white
    } cases[] = {{255, 127}, {128, 191}, {0, 255}};
    for (const Case& c : cases) {
        TBitmap32 target(4, 4);
        target.Clear(Color32(255, 255, 255));
        ASSERT_TRUE(black.DrawTo(target.DC(), 1, 1, c.Master));
        EXPECT_NEAR(RedOf(target.Pixel(1, 1)), c.Expected, 2) << "master " << int(c.Master);
        EXPECT_NEAR(BlueOf(target.Pixel(2, 2)), c.Expected, 2);
        EXPECT_EQ(target.Pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(target.Pixel(3, 3) & 0xFFFFFF, 0xFFFFFFu);
    }
    // Stretched over 4 x 4.
    TBitmap32 target(6, 6);
    target.Clear(Color32(255, 255, 255));
    TBitmap32 red(2, 2);
    red.Clear(Color32(255, 0, 0));
    ASSERT_TRUE(red.DrawTo(target.DC(), RECT{1, 1, 5, 5}));
    EXPECT_EQ(target.Pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(target.Pixel(4, 4) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(target.Pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_FALSE(red.DrawTo(target.DC(), RECT{0, 0, 2, 2}, RECT{1, 1, 3, 3}));  // source beyond the bitmap
}

TEST(Bitmap32Test, GrayScaleKeepsAlpha) {
    TBitmap32 b(4, 1);
    b.SetPixel(0, 0, Color32(255, 0, 0));
    b.SetPixel(1, 0, Color32(255, 255, 255));
    b.SetPixel(2, 0, Color32(0, 128, 0, 128));
    b.SetPixel(3, 0, 0);
    TBitmap32 g = b.GrayScale();
    EXPECT_EQ(g.Pixel(0, 0), Color32(60, 60, 60));  // (61 * 255) div 256
    EXPECT_EQ(g.Pixel(1, 0), Color32(255, 255, 255));
    EXPECT_EQ(g.Pixel(2, 0), Color32(87, 87, 87, 128));
    EXPECT_EQ(g.Pixel(3, 0), 0u);
    EXPECT_EQ(b.Pixel(0, 0), Color32(255, 0, 0));  // the original is unchanged
}

TEST(Bitmap32Test, SystemHandles) {
    TBitmap32 b(3, 2);
    b.Clear(Color32(0, 0, 128, 128));
    HBITMAP h = b.CreateHBITMAP();
    ASSERT_NE(h, nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(h, sizeof ds, &ds), int(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, 3);
    EXPECT_EQ(ds.dsBm.bmHeight, 2);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(static_cast<uint32_t*>(ds.dsBm.bmBits)[0], Color32(0, 0, 128, 128));
    DeleteObject(h);

    HICON icon = b.CreateIcon();
    ASSERT_NE(icon, nullptr);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    BITMAP bm{};
    GetObjectW(ii.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    DestroyIcon(icon);
    EXPECT_EQ(TBitmap32().CreateIcon(), nullptr);
}

}  // namespace
