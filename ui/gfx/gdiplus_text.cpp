#include "ui/gfx/gdiplus_text.h"

// GDI+'s headers expect min/max macros that NOMINMAX removes.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <mutex>
#include <utility>

namespace ui {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

std::mutex GdiPlusLock;
ULONG_PTR GdiPlusToken = 0;
bool GdiPlusRunning = false;

// Name of the family that stands in for one the system lacks, found once while GDI+ runs.
std::wstring FallbackFamilyName;

bool CreateFamily(const std::wstring& Name, GpFontFamily** Family) {
    *Family = nullptr;
    if (Name.empty()) return false;
    return GdipCreateFontFamilyFromName(Name.c_str(), nullptr, Family) == Ok && *Family;
}

std::wstring FamilyNameOf(GpFontFamily* Family) {
    WCHAR name[LF_FACESIZE] = {};
    if (GdipGetFamilyName(Family, name, LANG_NEUTRAL) != Ok) return {};
    return name;
}

// The generic sans-serif family, or the first of a few common ones. The generic family object
// belongs to GDI+ on Windows (it must not be deleted), so only its name is kept and our own family
// is created from that name.
std::wstring FindFallbackFamily() {
    std::lock_guard<std::mutex> lock(GdiPlusLock);
    if (!FallbackFamilyName.empty()) return FallbackFamilyName;
    GpFontFamily* generic = nullptr;
    if (GdipGetGenericFontFamilySansSerif(&generic) == Ok && generic) FallbackFamilyName = FamilyNameOf(generic);
    if (FallbackFamilyName.empty()) {
        for (const wchar_t* name : {L"Tahoma", L"Liberation Sans", L"DejaVu Sans", L"Arial", L"Verdana"}) {
            GpFontFamily* f = nullptr;
            if (CreateFamily(name, &f)) {
                FallbackFamilyName = FamilyNameOf(f);
                GdipDeleteFontFamily(f);
                if (!FallbackFamilyName.empty()) break;
            }
        }
    }
    return FallbackFamilyName;
}

GpStringFormat* CreateFormat(TGdipAlign Align) {
    GpStringFormat* format = nullptr;
    if (GdipCreateStringFormat(0, LANG_NEUTRAL, &format) != Ok) return nullptr;
    StringAlignment a = Align == TGdipAlign::Far      ? StringAlignmentFar
                        : Align == TGdipAlign::Center ? StringAlignmentCenter
                                                      : StringAlignmentNear;
    GdipSetStringFormatAlign(format, a);
    GdipSetStringFormatLineAlign(format, StringAlignmentNear);
    return format;
}

}  // namespace

bool GdiPlus_Startup() {
    std::lock_guard<std::mutex> lock(GdiPlusLock);
    if (GdiPlusRunning) return true;
    GdiplusStartupInput input;
    GdiPlusRunning = GdiplusStartup(&GdiPlusToken, &input, nullptr) == Ok;
    return GdiPlusRunning;
}

void GdiPlus_Shutdown() {
    std::lock_guard<std::mutex> lock(GdiPlusLock);
    if (!GdiPlusRunning) return;
    GdiplusShutdown(GdiPlusToken);
    GdiPlusRunning = false;
    GdiPlusToken = 0;
    FallbackFamilyName.clear();
}

// --- TGdipFont ---

TGdipFont::TGdipFont(const std::wstring& Family, float PixelSize, int Style) { Create(Family, PixelSize, Style); }

TGdipFont::~TGdipFont() { Reset(); }

TGdipFont::TGdipFont(TGdipFont&& o) noexcept
    : FFamily(std::exchange(o.FFamily, nullptr)),
      FFont(std::exchange(o.FFont, nullptr)),
      FFamilyName(std::move(o.FFamilyName)),
      FPixelSize(o.FPixelSize),
      FStyle(o.FStyle) {}

TGdipFont& TGdipFont::operator=(TGdipFont&& o) noexcept {
    if (this != &o) {
        Reset();
        FFamily = std::exchange(o.FFamily, nullptr);
        FFont = std::exchange(o.FFont, nullptr);
        FFamilyName = std::move(o.FFamilyName);
        FPixelSize = o.FPixelSize;
        FStyle = o.FStyle;
    }
    return *this;
}

void TGdipFont::Reset() {
    if (FFont) GdipDeleteFont(FFont);
    if (FFamily) GdipDeleteFontFamily(FFamily);
    FFont = nullptr;
    FFamily = nullptr;
    FFamilyName.clear();
}

bool TGdipFont::Create(const std::wstring& Family, float PixelSize, int Style) {
    Reset();
    FPixelSize = PixelSize;
    FStyle = Style & (gfsBold | gfsItalic | gfsUnderline);
    if (!GdiPlus_Startup() || !(PixelSize > 0)) return false;
    GpFontFamily* family = nullptr;
    if (!CreateFamily(Family, &family) && !CreateFamily(FindFallbackFamily(), &family)) return false;
    GpFont* font = nullptr;
    if (GdipCreateFont(family, PixelSize, FStyle, UnitPixel, &font) != Ok || !font) {
        // Some families lack the requested style (no bold face): take the regular one.
        if (GdipCreateFont(family, PixelSize, FontStyleRegular, UnitPixel, &font) != Ok || !font) {
            GdipDeleteFontFamily(family);
            return false;
        }
    }
    FFamily = family;
    FFont = font;
    FFamilyName = FamilyNameOf(family);
    return true;
}

// --- TGdipCanvas ---

TGdipCanvas::TGdipCanvas(HDC DC) {
    if (!DC || !GdiPlus_Startup()) return;
    GpGraphics* g = nullptr;
    if (GdipCreateFromHDC(DC, &g) == Ok) FGraphics = g;
    SetRendering(TGdipRendering::AntiAlias);
}

TGdipCanvas::TGdipCanvas(TBitmap32& Bitmap) {
    if (Bitmap.Empty() || !GdiPlus_Startup()) return;
    // GDI+ works on our pixel memory directly: same layout, premultiplied ARGB, top row first.
    GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromScan0(Bitmap.Width(), Bitmap.Height(), Bitmap.Width() * 4, PixelFormat32bppPARGB,
                                  reinterpret_cast<BYTE*>(Bitmap.Bits()), &image) != Ok)
        return;
    GpGraphics* g = nullptr;
    if (GdipGetImageGraphicsContext(image, &g) != Ok) {
        GdipDisposeImage(image);
        return;
    }
    FImage = image;
    FGraphics = g;
    SetRendering(TGdipRendering::AntiAlias);
}

TGdipCanvas::~TGdipCanvas() {
    if (FGraphics) GdipDeleteGraphics(FGraphics);  // flushes pending drawing into the target
    if (FImage) GdipDisposeImage(FImage);
}

void TGdipCanvas::SetRendering(TGdipRendering Rendering) {
    if (!FGraphics) return;
    GdipSetTextRenderingHint(FGraphics, Rendering == TGdipRendering::ClearTypeGridFit
                                            ? TextRenderingHintClearTypeGridFit
                                            : TextRenderingHintAntiAlias);
}

bool TGdipCanvas::DrawText(const std::wstring& Text, const TGdipFont& Font, float X, float Y, TColor32 Argb) {
    if (!FGraphics || !Font.Valid()) return false;
    if (Text.empty()) return true;
    GpSolidFill* brush = nullptr;
    if (GdipCreateSolidFill(ARGB(Argb), &brush) != Ok) return false;
    RectF origin(X, Y, 0, 0);  // zero size: a point, no clipping and no wrapping
    bool ok = GdipDrawString(FGraphics, Text.c_str(), INT(Text.size()), Font.Handle(), &origin, nullptr, brush) == Ok;
    GdipDeleteBrush(brush);
    return ok;
}

bool TGdipCanvas::DrawText(const std::wstring& Text, const TGdipFont& Font, const RECT& Layout, TGdipAlign Align,
                           TColor32 Argb) {
    if (!FGraphics || !Font.Valid()) return false;
    if (Text.empty()) return true;
    GpStringFormat* format = CreateFormat(Align);
    if (!format) return false;
    GpSolidFill* brush = nullptr;
    bool ok = false;
    if (GdipCreateSolidFill(ARGB(Argb), &brush) == Ok) {
        RectF rect(REAL(Layout.left), REAL(Layout.top), REAL(Layout.right - Layout.left),
                   REAL(Layout.bottom - Layout.top));
        ok = GdipDrawString(FGraphics, Text.c_str(), INT(Text.size()), Font.Handle(), &rect, format, brush) == Ok;
        GdipDeleteBrush(brush);
    }
    GdipDeleteStringFormat(format);
    return ok;
}

TTextSize TGdipCanvas::MeasureText(const std::wstring& Text, const TGdipFont& Font) {
    TTextSize size;
    if (!FGraphics || !Font.Valid() || Text.empty()) return size;
    RectF origin(0, 0, 0, 0), box;
    INT chars = 0, lines = 0;
    if (GdipMeasureString(FGraphics, Text.c_str(), INT(Text.size()), Font.Handle(), &origin, nullptr, &box, &chars,
                          &lines) == Ok) {
        size.Width = box.Width;
        size.Height = box.Height;
    }
    return size;
}

TTextSize GdipText_Measure(const std::wstring& Text, const TGdipFont& Font, TGdipRendering Rendering) {
    TBitmap32 scratch(1, 1);
    TGdipCanvas canvas(scratch);
    canvas.SetRendering(Rendering);
    return canvas.MeasureText(Text, Font);
}

}  // namespace ui
