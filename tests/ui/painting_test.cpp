// What the controls draw, read back from the pixels: images (auto size, stretch, centre,
// transparency, alpha), the glow button's disabled image, panel gradients and pictures.
#include "ui_test_util.h"

#include "ui/advctrls.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

// A W x H picture of one colour (premultiplied BGRA), with an optional frame of another colour.
TPicture Solid(int W, int H, uint32_t Argb, uint32_t FrameArgb = 0, int Frame = 0) {
    TPicture p;
    p.CreateBlank(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            bool edge = x < Frame || y < Frame || x >= W - Frame || y >= H - Frame;
            p.Bits()[y * W + x] = edge ? FrameArgb : Argb;
        }
    return p;
}

bool IsRed(uint32_t p) { return TSnapshot::R(p) > 200 && TSnapshot::G(p) < 60 && TSnapshot::B(p) < 60; }
bool IsWhite(uint32_t p) { return p == 0xFFFFFF; }

// The window of a windowed control painted into a bitmap (background, own painting, children).
TSnapshot PrintClient(TWinControl& C) {
    TSnapshot s;
    s.Pic.CreateBlank(C.Width(), C.Height());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, s.Pic.Bitmap());
    SendMessageW(C.Handle(), WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
    SelectObject(dc, old);
    DeleteDC(dc);
    GdiFlush();
    return s;
}

class PaintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = CreateForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetClientSize(300, 200);
    }
    void TearDown() override { Form->Free(); }
    TForm* Form = nullptr;
};

TEST_F(PaintingTest, ImageSizesStretchesCentresAndSeesThrough) {
    auto* img = Place<TImage>(Form, L"Image1", Form, 0, 0, 40, 40);
    img->Picture() = Solid(10, 10, 0xFFFF0000);
    // Plain: drawn at the top left in its own size.
    TSnapshot s = Snapshot(*img);
    EXPECT_TRUE(IsRed(s.At(5, 5)));
    EXPECT_TRUE(IsWhite(s.At(20, 20)));
    // Stretched over the whole control.
    img->SetStretch(true);
    s = Snapshot(*img);
    EXPECT_TRUE(IsRed(s.At(35, 35)));
    // Centred.
    img->SetStretch(false);
    img->SetCenter(true);
    s = Snapshot(*img);
    EXPECT_TRUE(IsWhite(s.At(5, 5)));
    EXPECT_TRUE(IsRed(s.At(20, 20)));
    // Auto size takes the picture's size.
    img->SetCenter(false);
    img->SetAutoSize(true);
    EXPECT_EQ(img->Width(), 10);
    EXPECT_EQ(img->Height(), 10);
    // Transparent: the bottom-left colour (a green frame here) lets the background through.
    img->Picture() = Solid(10, 10, 0xFFFF0000, 0xFF00FF00, 2);
    img->SetTransparent(true);
    s = Snapshot(*img);
    EXPECT_TRUE(IsWhite(s.At(0, 0)));
    EXPECT_TRUE(IsRed(s.At(5, 5)));
    // A picture with alpha is blended: half-transparent red over white is pink.
    img->SetTransparent(false);
    img->Picture() = Solid(10, 10, 0x80800000);  // premultiplied: red 128 at alpha 128
    s = Snapshot(*img);
    uint32_t p = s.At(5, 5);
    EXPECT_NEAR(TSnapshot::R(p), 255, 2);
    EXPECT_NEAR(TSnapshot::G(p), 127, 3);
}

TEST_F(PaintingTest, GlowButtonDrawsItsImageGreyWhileDisabled) {
    auto* list = new TImageList(Form, 16, 16);
    list->Add(Solid(16, 16, 0xFFFF0000));
    auto* b = Place<TAdvGlowButton>(Form, L"AdvGlowButton1", Form, 0, 0, 60, 40);
    b->Images = list;
    b->ImageIndex = 0;
    b->SetTransparent(true);
    auto imagePixel = [&] {
        TSnapshot s = Snapshot(*b);
        return s.At(30, 20);  // the middle of the image, which is centred without a caption
    };
    EXPECT_TRUE(IsRed(imagePixel()));
    b->SetEnabled(false);
    uint32_t g = imagePixel();
    EXPECT_FALSE(IsRed(g));
    EXPECT_NEAR(TSnapshot::R(g), TSnapshot::G(g), 4);
    EXPECT_NEAR(TSnapshot::G(g), TSnapshot::B(g), 4);
}

TEST_F(PaintingTest, PanelsPaintGradientsAndPictures) {
    auto* panel = Place<TPanel>(Form, L"AdvPanel_ControlBar", Form, 0, 0, 200, 70);
    panel->BevelOuter = bvNone;
    panel->SetColor(RGB(255, 0, 0));
    panel->GradientTo = RGB(0, 0, 255);
    Form->Show();
    TSnapshot s = PrintClient(*panel);
    EXPECT_GT(TSnapshot::R(s.At(100, 1)), 240);
    EXPECT_GT(TSnapshot::B(s.At(100, 68)), 240);
    // A background picture wins over the colours, stretched over the panel.
    panel->Background = Solid(4, 4, 0xFF00FF00);
    s = PrintClient(*panel);
    EXPECT_GT(TSnapshot::G(s.At(150, 60)), 240);
    EXPECT_LT(TSnapshot::R(s.At(150, 60)), 20);
    // Window-less children are painted over it.
    auto* img = Place<TImage>(Form, L"Image1", panel, 10, 10, 10, 10);
    img->Picture() = Solid(10, 10, 0xFFFF0000);
    s = PrintClient(*panel);
    EXPECT_TRUE(IsRed(s.At(15, 15)));
}

TEST_F(PaintingTest, SmoothPanelBlendsItsFillOverTheParent) {
    Form->SetColor(clWhite);
    auto* sp = Place<TAdvSmoothPanel>(Form, L"AdvSmoothPanel_InfoBar", Form, 0, 0, 100, 92);
    sp->Fill.Color = RGB(0, 0, 0);
    sp->Fill.ColorTo = RGB(0, 0, 0);
    sp->Fill.Opacity = 255;
    sp->Fill.OpacityTo = 0;
    Form->Show();
    TSnapshot s = PrintClient(*sp);
    EXPECT_LT(TSnapshot::R(s.At(50, 0)), 10);    // opaque black at the top
    EXPECT_GT(TSnapshot::R(s.At(50, 91)), 245);  // the white form shows through at the bottom
    EXPECT_NEAR(TSnapshot::R(s.At(50, 46)), 127, 8);
}

}  // namespace
