// Text drawn with GDI+: anti-aliased or ClearType text with an alpha colour, used by the GDI+
// label and by the pictures that carry captions (navigation buttons). GDI+ is started once per
// process on first use; the program ends it with GdiPlus_Shutdown after its last GDI+ object.
#pragma once

#include "ui/gfx/bitmap32.h"

#include <windows.h>

#include <string>

namespace Gdiplus {
class GpFontFamily;
class GpFont;
class GpGraphics;
class GpBitmap;
}  // namespace Gdiplus

namespace ui {

// Starts GDI+ unless it runs already; safe from any thread. False when GDI+ cannot start.
bool GdiPlus_Startup();
// Ends GDI+ when it runs. Every font and canvas must be gone by then; a later use starts it again.
void GdiPlus_Shutdown();

enum class TGdipRendering { AntiAlias, ClearTypeGridFit };
enum class TGdipAlign { Near, Center, Far };
enum TGdipFontStyle : int { gfsRegular = 0, gfsBold = 1, gfsItalic = 2, gfsUnderline = 4 };

// A font family and a font of it, sized in pixels (the em height, what a GDI font with a
// negative height of the same number gives). A family the system lacks is replaced by the
// generic sans-serif family (GDI+ does no font substitution of its own), so drawing never fails
// for an unknown name.
class TGdipFont {
public:
    TGdipFont() = default;
    TGdipFont(const std::wstring& Family, float PixelSize, int Style = gfsRegular);
    ~TGdipFont();
    TGdipFont(const TGdipFont&) = delete;
    TGdipFont& operator=(const TGdipFont&) = delete;
    TGdipFont(TGdipFont&& other) noexcept;
    TGdipFont& operator=(TGdipFont&& other) noexcept;

    // Replaces the font; false (and an invalid font) when no family at all could be found.
    bool Create(const std::wstring& Family, float PixelSize, int Style = gfsRegular);
    void Reset();
    bool Valid() const { return FFont != nullptr; }
    // The family in use, after any replacement.
    const std::wstring& FamilyName() const { return FFamilyName; }
    float PixelSize() const { return FPixelSize; }
    int Style() const { return FStyle; }
    Gdiplus::GpFont* Handle() const { return FFont; }
    Gdiplus::GpFontFamily* Family() const { return FFamily; }

private:
    Gdiplus::GpFontFamily* FFamily = nullptr;
    Gdiplus::GpFont* FFont = nullptr;
    std::wstring FFamilyName;
    float FPixelSize = 0;
    int FStyle = 0;
};

struct TTextSize {
    float Width = 0;
    float Height = 0;
};

// A GDI+ drawing surface: a device context (GDI+ blends with what is there) or a 32-bit bitmap
// (text is composited into its premultiplied pixels, alpha included).
class TGdipCanvas {
public:
    explicit TGdipCanvas(HDC DC);
    explicit TGdipCanvas(TBitmap32& Bitmap);
    ~TGdipCanvas();
    TGdipCanvas(const TGdipCanvas&) = delete;
    TGdipCanvas& operator=(const TGdipCanvas&) = delete;

    bool Valid() const { return FGraphics != nullptr; }
    // Anti-aliased at creation.
    void SetRendering(TGdipRendering Rendering);

    // Colour is straight ARGB (0xAARRGGBB, not premultiplied): alpha is the text's opacity.
    // At a point: the text's layout box starts at (X, Y).
    bool DrawText(const std::wstring& Text, const TGdipFont& Font, float X, float Y, TColor32 Argb);
    // Into a layout rectangle, aligned horizontally near (left), centre or far (right); lines
    // start at the rectangle's top.
    bool DrawText(const std::wstring& Text, const TGdipFont& Font, const RECT& Layout, TGdipAlign Align,
                  TColor32 Argb);
    // The text's bounding box as GDI+ measures it from point (0, 0) with the current rendering.
    TTextSize MeasureText(const std::wstring& Text, const TGdipFont& Font);

private:
    Gdiplus::GpGraphics* FGraphics = nullptr;
    Gdiplus::GpBitmap* FImage = nullptr;
};

// Measures on a private surface, for controls that have no device context at hand.
TTextSize GdipText_Measure(const std::wstring& Text, const TGdipFont& Font,
                           TGdipRendering Rendering = TGdipRendering::AntiAlias);

}  // namespace ui
