#include "ui/gfx/png_image_list.h"
#include "ui/gfx/picture_loader.h"

#include "gfx_test_util.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

TBitmap32 Solid(int size, TColor32 c) {
    TBitmap32 b(size, size);
    b.Clear(c);
    return b;
}

TEST(PngImageListTest, AddsAtTheListSize) {
    TPngImageList list(nullptr, 16);
    EXPECT_EQ(list.ClassName(), L"TPngImageList");
    EXPECT_EQ(list.Count(), 0);
    TBitmap32 exact = Solid(16, Color32(255, 0, 0));
    exact.SetPixel(3, 4, Color32(0, 0, 0, 0));
    EXPECT_EQ(list.Add(exact), 0);
    EXPECT_EQ(list.Add(Solid(32, Color32(0, 0, 255))), 1);  // resampled to 16
    EXPECT_EQ(list.Add(TBitmap32()), -1);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Image(0)->Pixel(3, 4), 0u);  // same size: stored as given
    ASSERT_EQ(list.Image(1)->Width(), 16);
    EXPECT_EQ(list.Image(1)->Pixel(8, 8), Color32(0, 0, 255));
    EXPECT_EQ(list.Image(2), nullptr);
    EXPECT_EQ(list.Image(-1), nullptr);

    gfxtest::TempFolder dir;
    ASSERT_TRUE(Solid(24, Color32(0, 200, 0)).SaveToPngFile(dir.File(L"green.png")));
    EXPECT_EQ(list.AddFromFile(dir.File(L"green.png")), 2);
    EXPECT_EQ(list.Image(2)->Pixel(0, 0), Color32(0, 200, 0));
    EXPECT_EQ(list.AddFromFile(dir.File(L"missing.png")), -1);
    EXPECT_EQ(list.Count(), 3);

    list.Delete(0);
    EXPECT_EQ(list.Image(0)->Pixel(8, 8), Color32(0, 0, 255));
    list.SetSize(32, 32);  // images no longer fit: emptied
    EXPECT_EQ(list.Count(), 0);
}

TEST(PngImageListTest, DrawsEnabledInColourAndDisabledInGrey) {
    TPngImageList list(nullptr, 16);
    TBitmap32 icon = Solid(16, Color32(255, 0, 0));
    icon.FillRect(RECT{8, 0, 16, 16}, Color32(0, 0, 0, 0));  // right half transparent
    list.Add(icon);
    struct Case {
        bool Enabled;
        bool Blend;
        TColor32 Left;      // over white
        TColor32 OnBitmap;  // onto a transparent 32-bit bitmap
    } cases[] = {
        {true, false, Color32(255, 0, 0), Color32(255, 0, 0)},
        {false, false, Color32(60, 60, 60), Color32(60, 60, 60)},         // grey of pure red
        {false, true, Color32(157, 157, 157), Color32(30, 30, 30, 128)},  // grey at half opacity
    };
    for (const Case& c : cases) {
        list.DisabledAlpha = c.Blend ? 128 : 255;
        TBitmap32 target(20, 20);
        target.Clear(Color32(255, 255, 255));
        list.Draw(target.DC(), 2, 2, 0, c.Enabled);
        EXPECT_NEAR(RedOf(target.Pixel(4, 4)), RedOf(c.Left), 2) << c.Enabled << c.Blend;
        EXPECT_NEAR(GreenOf(target.Pixel(4, 4)), GreenOf(c.Left), 2) << c.Enabled << c.Blend;
        EXPECT_EQ(target.Pixel(14, 4) & 0xFFFFFF, 0xFFFFFFu);  // transparent half shows white
        EXPECT_EQ(target.Pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);

        TBitmap32 onBitmap(20, 20);
        ASSERT_TRUE(list.Draw(onBitmap, 2, 2, 0, c.Enabled));
        EXPECT_EQ(onBitmap.Pixel(4, 4), c.OnBitmap);
        EXPECT_EQ(onBitmap.Pixel(14, 4), 0u);
    }
    // Indexes outside the list draw nothing.
    TBitmap32 target(20, 20);
    target.Clear(Color32(255, 255, 255));
    list.Draw(target.DC(), 0, 0, 1);
    list.Draw(target.DC(), 0, 0, -1);
    EXPECT_EQ(target.Pixel(4, 4), Color32(255, 255, 255));
}

TEST(PngImageListTest, OwnedNamedAndChangeNotifiedOncePerUpdate) {
    auto* owner = new TComponent(nullptr);
    auto* list = new TPngImageList(owner, 32);
    list->Name = L"PngImageList32";
    EXPECT_EQ(owner->FindComponent(L"PngImageList32"), list);
    int changes = 0;
    list->OnChange = [&](TPngImageList* sender) {
        EXPECT_EQ(sender, list);
        ++changes;
    };
    list->Add(Solid(32, Color32(1, 1, 1)));
    EXPECT_EQ(changes, 1);
    list->BeginUpdate();
    for (int i = 0; i < 5; ++i) list->Add(Solid(16, Color32(2, 2, 2)));
    EXPECT_EQ(changes, 1);
    list->EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(list->Count(), 6);
    delete owner;  // frees the list
}

TEST(PictureLoaderTest, PicturesLoadPngWithAlphaAndRefuseDamagedFiles) {
    gfxtest::TempFolder dir;
    Gfx_InstallPictureLoader();
    TBitmap32 image(4, 3);
    image.Clear(Color32(0, 0, 255));
    image.SetPixel(1, 1, Color32(128, 0, 0, 128));  // half transparent red, premultiplied
    ASSERT_TRUE(image.SaveToPngFile(dir.File(L"a.png")));
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    ASSERT_TRUE(picture.LoadFromFile(dir.File(L"a.png")));
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(picture.Width(), 4);
    ASSERT_EQ(picture.Height(), 3);
    EXPECT_EQ(picture.Bits()[0], Color32(0, 0, 255));  // top row first
    EXPECT_NEAR(int(AlphaOf(picture.Bits()[4 + 1])), 128, 1);
    EXPECT_NEAR(int(RedOf(picture.Bits()[4 + 1])), 128, 1);

    // A damaged or missing file leaves the picture as it was.
    HANDLE h = CreateFileW(dir.File(L"bad.png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, "\x89PNG\r\n\x1a\nbroken", 15, &written, nullptr);
    CloseHandle(h);
    for (const wchar_t* name : {L"bad.png", L"missing.png", L"missing.bmp"}) {
        EXPECT_FALSE(picture.LoadFromFile(dir.File(name)));
        EXPECT_EQ(picture.Width(), 4);
        EXPECT_EQ(picture.Bits()[0], Color32(0, 0, 255));
    }
    EXPECT_EQ(changes, 1);
}

}  // namespace
