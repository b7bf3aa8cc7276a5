// 32-bit bitmaps with per-pixel alpha: the pictures of skins, icon stripes, image lists and
// buttons. Pixels are premultiplied BGRA (what AlphaBlend and GDI+'s PARGB format expect), top
// row first, held in a DIB section; the bitmap's own memory DC (made when first asked for) lets
// GDI draw into it as well.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// One pixel as a 32-bit value 0xAARRGGBB (memory order B, G, R, A). TBitmap32 stores them
// premultiplied: every colour channel is at most the alpha.
using TColor32 = uint32_t;

constexpr TColor32 Color32(uint8_t R, uint8_t G, uint8_t B, uint8_t A = 255) {
    return (TColor32(A) << 24) | (TColor32(R) << 16) | (TColor32(G) << 8) | TColor32(B);
}
constexpr uint8_t AlphaOf(TColor32 c) { return uint8_t(c >> 24); }
constexpr uint8_t RedOf(TColor32 c) { return uint8_t(c >> 16); }
constexpr uint8_t GreenOf(TColor32 c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(TColor32 c) { return uint8_t(c); }

// x * y / 255, rounded to nearest, for x, y in 0..255.
constexpr uint32_t MulDiv255(uint32_t x, uint32_t y) {
    uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}
// Straight (unassociated) colour to premultiplied and back.
TColor32 Color32_Premultiply(TColor32 straight);
TColor32 Color32_Unpremultiply(TColor32 premultiplied);
// A GDI COLORREF as an opaque pixel.
constexpr TColor32 Color32_FromColorRef(COLORREF c, uint8_t A = 255) {
    return Color32(GetRValue(c), GetGValue(c), GetBValue(c), A);
}
// Grey value of a colour, weighted for the eye's sensitivity: (61 R + 174 G + 21 B) div 256.
constexpr uint8_t Color32_Gray(TColor32 c) {
    return uint8_t((61u * RedOf(c) + 174u * GreenOf(c) + 21u * BlueOf(c)) >> 8);
}

class TBitmap32 {
public:
    TBitmap32() = default;
    TBitmap32(int AWidth, int AHeight);  // transparent
    ~TBitmap32();
    TBitmap32(const TBitmap32& other);  // deep copy
    TBitmap32& operator=(const TBitmap32& other);
    TBitmap32(TBitmap32&& other) noexcept;
    TBitmap32& operator=(TBitmap32&& other) noexcept;

    // Resizes to AWidth x AHeight, all pixels transparent black. Zero or negative sizes give an
    // empty bitmap. False (and an empty bitmap) when the system refuses the memory.
    bool SetSize(int AWidth, int AHeight);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FBits == nullptr; }

    // Pixel memory, FWidth pixels per row, no padding. Flushes pending GDI drawing first.
    TColor32* Bits();
    const TColor32* Bits() const;
    TColor32* ScanLine(int y) { return Bits() + size_t(y) * FWidth; }
    const TColor32* ScanLine(int y) const { return Bits() + size_t(y) * FWidth; }
    // Premultiplied pixel; outside the bitmap reads 0 and writes nothing.
    TColor32 Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor32 premultiplied);

    // Sets every pixel (or those of Rect, clipped) to the premultiplied colour, without blending.
    void Clear(TColor32 premultiplied = 0);
    void FillRect(const RECT& Rect, TColor32 premultiplied);
    // Sets every pixel's alpha to A, treating the colour as opaque (for pictures drawn with GDI,
    // which leaves alpha at 0).
    void ResetAlpha(uint8_t A = 255);

    // The memory DC with the bitmap selected (null when empty), for GDI and GDI+ drawing. Made on
    // first use: image lists hold many bitmaps that are only ever blended, and each DC costs a
    // GDI object.
    HDC DC() const;
    HBITMAP Handle() const { return FBitmap; }

    // Loads PNG (any PNG that WIC decodes, alpha kept) or BMP (24-bit and other depths opaque;
    // 32-bit with its alpha, or opaque when every alpha byte is 0, as many programs write them).
    // False on a missing, unreadable or damaged file; the bitmap is then unchanged.
    bool LoadFromFile(const std::wstring& FileName);
    bool LoadFromStream(IStream* Stream);
    bool LoadFromMemory(const void* Data, size_t Size);
    // Writes a PNG with straight (unpremultiplied) RGBA, 8 bits a channel.
    bool SaveToPngFile(const std::wstring& FileName) const;
    bool SaveToPngMemory(std::vector<uint8_t>& Out) const;

    // Draws onto a device context with per-pixel alpha and a master alpha (0..255): at a point,
    // stretched into Dest, or a source rectangle of this bitmap stretched into Dest.
    bool DrawTo(HDC Dest, int X, int Y, uint8_t MasterAlpha = 255) const;
    bool DrawTo(HDC Dest, const RECT& DestRect, uint8_t MasterAlpha = 255) const;
    bool DrawTo(HDC Dest, const RECT& DestRect, const RECT& SrcRect, uint8_t MasterAlpha = 255) const;

    // Blends Src (or its rectangle SrcRect) onto this bitmap with its top left corner at (X, Y):
    // source-over on premultiplied pixels, the source's alpha scaled by MasterAlpha. Clipped to
    // both bitmaps.
    void Draw(int X, int Y, const TBitmap32& Src, uint8_t MasterAlpha = 255);
    void Draw(int X, int Y, const RECT& SrcRect, const TBitmap32& Src, uint8_t MasterAlpha = 255);

    // A copy in grey with the same alpha (for disabled pictures).
    TBitmap32 GrayScale() const;

    // New system objects holding a copy of the pixels; the caller owns them (DeleteObject,
    // DestroyIcon). The HBITMAP is a premultiplied 32-bit top-down DIB section.
    HBITMAP CreateHBITMAP() const;
    HICON CreateIcon() const;

private:
    void Release();
    bool Adopt(int AWidth, int AHeight, const TColor32* Pixels);

    int FWidth = 0;
    int FHeight = 0;
    TColor32* FBits = nullptr;
    HBITMAP FBitmap = nullptr;
    mutable HDC FDC = nullptr;
    mutable HGDIOBJ FOldBitmap = nullptr;
};

}  // namespace ui
