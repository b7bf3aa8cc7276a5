#include "ui/picture.h"

#include <algorithm>
#include <cstring>

namespace ui {

std::function<bool(const std::wstring&, TPicture&)> TPicture::LoadHook;

namespace {

HBITMAP NewDib(int W, int H, uint32_t** Bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = W;
    bi.bmiHeader.biHeight = -H;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    *Bits = b ? static_cast<uint32_t*>(p) : nullptr;
    return b;
}

void BlendOut(HDC DC, const RECT& Dst, HBITMAP Bmp, int W, int H, BYTE Alpha) {
    HDC mem = CreateCompatibleDC(DC);
    HGDIOBJ old = SelectObject(mem, Bmp);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
    AlphaBlend(DC, Dst.left, Dst.top, Dst.right - Dst.left, Dst.bottom - Dst.top, mem, 0, 0, W, H,
               bf);
    SelectObject(mem, old);
    DeleteDC(mem);
}

}  // namespace

TPicture::TPicture(const TPicture& Other) { *this = Other; }

TPicture& TPicture::operator=(const TPicture& Other) {
    if (this == &Other) return *this;
    FBitmap.reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
    if (!Other.Empty()) {
        CreateBlank(Other.FWidth, Other.FHeight);
        if (FBits) std::memcpy(FBits, Other.FBits, size_t(FWidth) * FHeight * 4);
    }
    Changed();
    return *this;
}

void TPicture::Clear() {
    if (Empty()) return;
    FBitmap.reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
    Changed();
}

void TPicture::CreateBlank(int W, int H) {
    FBitmap.reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
    if (W <= 0 || H <= 0) return;
    uint32_t* bits = nullptr;
    HBITMAP b = NewDib(W, H, &bits);
    if (!b) return;
    FBitmap.reset(b);
    FBits = bits;
    FWidth = W;
    FHeight = H;
    std::memset(FBits, 0, size_t(W) * H * 4);
}

void TPicture::TakeBitmap(HBITMAP Dib32) {
    DIBSECTION ds{};
    if (!Dib32 || GetObjectW(Dib32, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBitsPixel != 32) {
        if (Dib32) DeleteObject(Dib32);
        return;
    }
    FBitmap.reset(Dib32);
    FWidth = ds.dsBm.bmWidth;
    FHeight = std::abs(ds.dsBmih.biHeight);
    FBits = static_cast<uint32_t*>(ds.dsBm.bmBits);
    Changed();
}

bool TPicture::AssignBitmap(HBITMAP Source, bool HasAlpha) {
    BITMAP bm{};
    if (!Source || !GetObjectW(Source, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    TPicture tmp;
    tmp.CreateBlank(bm.bmWidth, bm.bmHeight);
    if (tmp.Empty()) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    int lines = GetDIBits(dc, Source, 0, bm.bmHeight, tmp.FBits, &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (lines != bm.bmHeight) return false;
    if (!HasAlpha || bm.bmBitsPixel != 32) {
        for (int i = 0; i < bm.bmWidth * bm.bmHeight; ++i) tmp.FBits[i] |= 0xFF000000u;
    }
    FBitmap = std::move(tmp.FBitmap);
    FBits = tmp.FBits;
    FWidth = tmp.FWidth;
    FHeight = tmp.FHeight;
    Changed();
    return true;
}

bool TPicture::AssignIcon(HICON Icon, int Size) {
    if (!Icon || Size <= 0) return false;
    TPicture tmp;
    tmp.CreateBlank(Size, Size);
    if (tmp.Empty()) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, tmp.Bitmap());
    DrawIconEx(dc, 0, 0, Icon, Size, Size, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    GdiFlush();
    // Icons without an alpha channel leave alpha 0 where they drew: treat those as opaque where
    // anything was drawn. With a real alpha channel the pixels are already premultiplied.
    bool anyAlpha = false;
    for (int i = 0; i < Size * Size; ++i)
        if (tmp.FBits[i] >> 24) anyAlpha = true;
    if (!anyAlpha)
        for (int i = 0; i < Size * Size; ++i)
            if (tmp.FBits[i]) tmp.FBits[i] |= 0xFF000000u;
    *this = tmp;
    return true;
}

bool TPicture::LoadFromFile(const std::wstring& FileName) {
    // The graphics library's loader (when installed) reads every format it knows, .bmp with its
    // alpha included; the plain .bmp reading below is for programs without it.
    if (LoadHook) return LoadHook(FileName, *this);
    std::wstring ext;
    if (auto dot = FileName.find_last_of(L'.'); dot != std::wstring::npos) ext = FileName.substr(dot);
    for (auto& ch : ext) ch = wchar_t(towlower(ch));
    if (ext == L".bmp") {
        handles::UniqueGdi b(LoadImageW(nullptr, FileName.c_str(), IMAGE_BITMAP, 0, 0,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (!b) return false;
        BITMAP bm{};
        GetObjectW(b.get(), sizeof(bm), &bm);
        return AssignBitmap(HBITMAP(b.get()), false);
    }
    return false;
}

void TPicture::MakeColorTransparent(COLORREF Color) {
    if (Empty()) return;
    GdiFlush();
    uint32_t key = (GetRValue(Color) << 16) | (GetGValue(Color) << 8) | GetBValue(Color);
    for (int i = 0; i < FWidth * FHeight; ++i)
        if ((FBits[i] & 0xFFFFFF) == key && (FBits[i] >> 24) == 0xFF) FBits[i] = 0;
    Changed();
}

void TPicture::Draw(HDC DC, int X, int Y, BYTE Alpha) const {
    if (Empty()) return;
    BlendOut(DC, RECT{X, Y, X + FWidth, Y + FHeight}, Bitmap(), FWidth, FHeight, Alpha);
}

void TPicture::StretchDraw(HDC DC, const RECT& R, BYTE Alpha) const {
    if (Empty() || R.right <= R.left || R.bottom <= R.top) return;
    BlendOut(DC, R, Bitmap(), FWidth, FHeight, Alpha);
}

void TPicture::DrawDisabled(HDC DC, int X, int Y) const {
    if (Empty()) return;
    TPicture grey(*this);
    GdiFlush();
    for (int i = 0; i < FWidth * FHeight; ++i) {
        uint32_t p = grey.FBits[i];
        uint32_t a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        uint32_t y = (r * 77 + g * 151 + b * 28) >> 8;  // premultiplied stays premultiplied
        grey.FBits[i] = (a << 24) | (y << 16) | (y << 8) | y;
    }
    grey.Draw(DC, X, Y, 128);
}

void TImageList::Draw(HDC DC, int X, int Y, int Index, bool Enabled) const {
    if (Index < 0 || Index >= Count()) return;
    const TPicture& p = FImages[Index];
    if (Enabled)
        p.Draw(DC, X, Y);
    else
        p.DrawDisabled(DC, X, Y);
}

int TImageList::Add(const TPicture& Picture) {
    FImages.push_back(Picture);
    return Count() - 1;
}

int TImageList::AddIcon(HICON Icon) {
    TPicture p;
    if (!p.AssignIcon(Icon, std::max(FWidth, FHeight))) return -1;
    return Add(p);
}

}  // namespace ui
