#include "ui/gfx/bitmap32.h"

#include "common/handles.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace ui {

namespace {

// Larger pictures are refused rather than allocated: nothing this program shows comes near it,
// and a damaged header must not make us ask for gigabytes.
constexpr int MaxSide = 32768;
constexpr uint64_t MaxPixels = 64ull * 1024 * 1024;
constexpr uint64_t MaxFileSize = 512ull * 1024 * 1024;

bool SizeAcceptable(int w, int h) {
    return w > 0 && h > 0 && w <= MaxSide && h <= MaxSide && uint64_t(w) * uint64_t(h) <= MaxPixels;
}

BITMAPINFO TopDownInfo(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // negative: first row at the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

handles::ComPtr<IWICImagingFactory> CreateWicFactory() {
    handles::ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     factory.put_void());
    return factory;
}

// Little-endian reads from a byte buffer whose length the caller has checked.
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

enum class BmpResult { Decoded, NotHandled, Damaged };

// Our own reader for the uncompressed 24- and 32-bit BMPs that carry the skins' pictures. WIC
// would treat the fourth byte of a 32-bit BMP as padding; we keep it as alpha. Other depths and
// compressions are left to WIC.
BmpResult DecodeBmp(const uint8_t* data, size_t size, std::vector<TColor32>& pixels, int& w, int& h) {
    if (size < 14 + 40) return size >= 2 && data[0] == 'B' && data[1] == 'M' ? BmpResult::Damaged : BmpResult::NotHandled;
    if (data[0] != 'B' || data[1] != 'M') return BmpResult::NotHandled;
    uint32_t offBits = Get32(data + 10);
    const uint8_t* ih = data + 14;
    uint32_t headerSize = Get32(ih);
    if (headerSize < 40 || headerSize > size - 14) return headerSize == 12 ? BmpResult::NotHandled : BmpResult::Damaged;
    int32_t width = int32_t(Get32(ih + 4));
    int32_t height = int32_t(Get32(ih + 8));
    uint16_t bitCount = Get16(ih + 14);
    uint32_t compression = Get32(ih + 16);
    if (bitCount != 24 && bitCount != 32) return BmpResult::NotHandled;

    bool hasAlphaByte = bitCount == 32;
    if (compression == BI_BITFIELDS && bitCount == 32) {
        // Masks follow a 40-byte header, or sit inside the larger ones.
        size_t maskPos = 14 + 40;
        if (size < maskPos + 12) return BmpResult::Damaged;
        uint32_t r = Get32(data + maskPos), g = Get32(data + maskPos + 4), b = Get32(data + maskPos + 8);
        if (r != 0x00FF0000 || g != 0x0000FF00 || b != 0x000000FF) return BmpResult::NotHandled;
        if (headerSize >= 56) hasAlphaByte = Get32(data + maskPos + 12) == 0xFF000000u;
    } else if (compression != BI_RGB) {
        return BmpResult::NotHandled;
    }
    if (width <= 0 || height == 0 || height == INT32_MIN) return BmpResult::Damaged;
    bool topDown = height < 0;
    int absH = topDown ? -height : height;
    if (!SizeAcceptable(width, absH)) return BmpResult::Damaged;
    uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
    if (offBits > size || uint64_t(size - offBits) < stride * uint64_t(absH)) return BmpResult::Damaged;

    pixels.assign(size_t(width) * absH, 0);
    bool anyAlpha = false;
    for (int y = 0; y < absH; ++y) {
        const uint8_t* src = data + offBits + stride * uint64_t(topDown ? y : absH - 1 - y);
        TColor32* dst = pixels.data() + size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            if (bitCount == 24) {
                dst[x] = Color32(src[3 * x + 2], src[3 * x + 1], src[3 * x], 255);
            } else {
                uint8_t a = hasAlphaByte ? src[4 * x + 3] : 255;
                anyAlpha |= a != 0;
                dst[x] = Color32(src[4 * x + 2], src[4 * x + 1], src[4 * x], a);
            }
        }
    }
    // A 32-bit BMP whose alpha bytes are all 0 was written without alpha: show it opaque
    // instead of not at all.
    for (TColor32& p : pixels) {
        if (bitCount == 32 && !anyAlpha) p |= 0xFF000000u;
        p = Color32_Premultiply(p);
    }
    w = width;
    h = absH;
    return BmpResult::Decoded;
}

bool DecodeWithWic(const uint8_t* data, size_t size, std::vector<TColor32>& pixels, int& w, int& h) {
    if (size > 0xFFFFFFFFu) return false;
    handles::ScopedCoInit com;
    auto factory = CreateWicFactory();
    if (!factory) return false;
    handles::ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put()))) return false;
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), DWORD(size)))) return false;
    handles::ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())))
        return false;
    handles::ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
    handles::ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put()))) return false;
    if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return false;
    UINT cw = 0, ch = 0;
    if (FAILED(converter->GetSize(&cw, &ch)) || cw > UINT(MaxSide) || ch > UINT(MaxSide) ||
        !SizeAcceptable(int(cw), int(ch)))
        return false;
    try {
        pixels.assign(size_t(cw) * ch, 0);
    } catch (...) {
        return false;
    }
    if (FAILED(converter->CopyPixels(nullptr, cw * 4, UINT(pixels.size() * 4), reinterpret_cast<BYTE*>(pixels.data()))))
        return false;
    w = int(cw);
    h = int(ch);
    return true;
}

}  // namespace

TColor32 Color32_Premultiply(TColor32 c) {
    uint32_t a = AlphaOf(c);
    if (a == 255) return c;
    if (a == 0) return 0;
    return Color32(uint8_t(MulDiv255(RedOf(c), a)), uint8_t(MulDiv255(GreenOf(c), a)),
                   uint8_t(MulDiv255(BlueOf(c), a)), uint8_t(a));
}

TColor32 Color32_Unpremultiply(TColor32 c) {
    uint32_t a = AlphaOf(c);
    if (a == 255) return c;
    if (a == 0) return 0;
    auto un = [a](uint32_t v) { return uint8_t(std::min<uint32_t>(255, (v * 255 + a / 2) / a)); };
    return Color32(un(RedOf(c)), un(GreenOf(c)), un(BlueOf(c)), uint8_t(a));
}

TBitmap32::TBitmap32(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap32::~TBitmap32() { Release(); }

TBitmap32::TBitmap32(const TBitmap32& other) {
    if (!other.Empty()) Adopt(other.FWidth, other.FHeight, other.Bits());
}

TBitmap32& TBitmap32::operator=(const TBitmap32& other) {
    if (this == &other) return *this;
    if (other.Empty())
        Release();
    else
        Adopt(other.FWidth, other.FHeight, other.Bits());
    return *this;
}

TBitmap32::TBitmap32(TBitmap32&& other) noexcept
    : FWidth(std::exchange(other.FWidth, 0)),
      FHeight(std::exchange(other.FHeight, 0)),
      FBits(std::exchange(other.FBits, nullptr)),
      FBitmap(std::exchange(other.FBitmap, nullptr)),
      FDC(std::exchange(other.FDC, nullptr)),
      FOldBitmap(std::exchange(other.FOldBitmap, nullptr)) {}

TBitmap32& TBitmap32::operator=(TBitmap32&& other) noexcept {
    if (this != &other) {
        Release();
        FWidth = std::exchange(other.FWidth, 0);
        FHeight = std::exchange(other.FHeight, 0);
        FBits = std::exchange(other.FBits, nullptr);
        FBitmap = std::exchange(other.FBitmap, nullptr);
        FDC = std::exchange(other.FDC, nullptr);
        FOldBitmap = std::exchange(other.FOldBitmap, nullptr);
    }
    return *this;
}

void TBitmap32::Release() {
    if (FDC) {
        SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
    FDC = nullptr;
    FBitmap = nullptr;
    FOldBitmap = nullptr;
    FBits = nullptr;
    FWidth = FHeight = 0;
}

bool TBitmap32::SetSize(int AWidth, int AHeight) {
    Release();
    if (AWidth <= 0 || AHeight <= 0) return true;
    if (!SizeAcceptable(AWidth, AHeight)) return false;
    BITMAPINFO bi = TopDownInfo(AWidth, AHeight);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) {
        if (bmp) DeleteObject(bmp);
        return false;
    }
    FBitmap = bmp;
    FBits = static_cast<TColor32*>(bits);
    FWidth = AWidth;
    FHeight = AHeight;
    std::memset(FBits, 0, size_t(FWidth) * FHeight * 4);  // a fresh DIB is zeroed; be explicit
    return true;
}

bool TBitmap32::Adopt(int AWidth, int AHeight, const TColor32* Pixels) {
    std::vector<TColor32> copy(Pixels, Pixels + size_t(AWidth) * AHeight);  // Pixels may be ours
    if (!SetSize(AWidth, AHeight)) return false;
    std::memcpy(FBits, copy.data(), copy.size() * 4);
    return true;
}

HDC TBitmap32::DC() const {
    if (!FDC && FBitmap) {
        FDC = CreateCompatibleDC(nullptr);
        if (FDC) FOldBitmap = SelectObject(FDC, FBitmap);
    }
    return FDC;
}

TColor32* TBitmap32::Bits() {
    if (FBits) GdiFlush();
    return FBits;
}

const TColor32* TBitmap32::Bits() const {
    if (FBits) GdiFlush();
    return FBits;
}

TColor32 TBitmap32::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
    return Bits()[size_t(y) * FWidth + x];
}

void TBitmap32::SetPixel(int x, int y, TColor32 c) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    Bits()[size_t(y) * FWidth + x] = c;
}

void TBitmap32::Clear(TColor32 c) {
    if (Empty()) return;
    std::fill(Bits(), FBits + size_t(FWidth) * FHeight, c);
}

void TBitmap32::FillRect(const RECT& r, TColor32 c) {
    int l = std::max<LONG>(0, r.left), t = std::max<LONG>(0, r.top);
    int rr = std::min<LONG>(FWidth, r.right), b = std::min<LONG>(FHeight, r.bottom);
    if (l >= rr || t >= b) return;
    for (int y = t; y < b; ++y) std::fill(ScanLine(y) + l, ScanLine(y) + rr, c);
}

void TBitmap32::ResetAlpha(uint8_t A) {
    if (Empty()) return;
    TColor32* p = Bits();
    for (size_t i = 0, n = size_t(FWidth) * FHeight; i < n; ++i)
        p[i] = Color32_Premultiply((p[i] & 0x00FFFFFFu) | (TColor32(A) << 24));
}

bool TBitmap32::LoadFromMemory(const void* Data, size_t Size) {
    if (!Data || Size == 0) return false;
    const auto* bytes = static_cast<const uint8_t*>(Data);
    std::vector<TColor32> pixels;
    int w = 0, h = 0;
    try {
        switch (DecodeBmp(bytes, Size, pixels, w, h)) {
            case BmpResult::Decoded: break;
            case BmpResult::Damaged: return false;
            case BmpResult::NotHandled:
                if (!DecodeWithWic(bytes, Size, pixels, w, h)) return false;
                break;
        }
        return Adopt(w, h, pixels.data());
    } catch (...) {  // out of memory while decoding: a failed load, not a crash
        return false;
    }
}

bool TBitmap32::LoadFromFile(const std::wstring& FileName) {
    handles::UniqueFile file(CreateFileW(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || uint64_t(size.QuadPart) > MaxFileSize) return false;
    std::vector<uint8_t> data;
    try {
        data.resize(size_t(size.QuadPart));
    } catch (...) {
        return false;
    }
    size_t done = 0;
    while (done < data.size()) {
        DWORD chunk = DWORD(std::min<size_t>(data.size() - done, 1u << 24)), got = 0;
        if (!ReadFile(file.get(), data.data() + done, chunk, &got, nullptr) || got == 0) return false;
        done += got;
    }
    return LoadFromMemory(data.data(), data.size());
}

bool TBitmap32::LoadFromStream(IStream* Stream) {
    if (!Stream) return false;
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    for (;;) {
        ULONG got = 0;
        HRESULT hr = Stream->Read(buf, sizeof buf, &got);
        if (FAILED(hr)) return false;
        if (data.size() + got > MaxFileSize) return false;
        data.insert(data.end(), buf, buf + got);
        if (hr == S_FALSE || got == 0) break;
    }
    return LoadFromMemory(data.data(), data.size());
}

bool TBitmap32::SaveToPngMemory(std::vector<uint8_t>& Out) const {
    Out.clear();
    if (Empty()) return false;
    handles::ScopedCoInit com;
    auto factory = CreateWicFactory();
    if (!factory) return false;
    handles::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return false;
    handles::ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()))) return false;
    if (FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return false;
    handles::ComPtr<IWICBitmapFrameEncode> frame;
    handles::ComPtr<IPropertyBag2> props;
    if (FAILED(encoder->CreateNewFrame(frame.put(), props.put()))) return false;
    if (FAILED(frame->Initialize(props.get()))) return false;
    if (FAILED(frame->SetSize(UINT(FWidth), UINT(FHeight)))) return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) return false;
    std::vector<TColor32> straight(Bits(), Bits() + size_t(FWidth) * FHeight);
    for (TColor32& p : straight) p = Color32_Unpremultiply(p);
    if (FAILED(frame->WritePixels(UINT(FHeight), UINT(FWidth) * 4, UINT(straight.size() * 4),
                                  reinterpret_cast<BYTE*>(straight.data()))))
        return false;
    if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return false;
    HGLOBAL mem = nullptr;
    if (FAILED(GetHGlobalFromStream(stream.get(), &mem))) return false;
    STATSTG st{};
    if (FAILED(stream->Stat(&st, STATFLAG_NONAME))) return false;
    const void* p = GlobalLock(mem);
    if (!p) return false;
    Out.assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size_t(st.cbSize.QuadPart));
    GlobalUnlock(mem);
    return !Out.empty();
}

bool TBitmap32::SaveToPngFile(const std::wstring& FileName) const {
    std::vector<uint8_t> png;
    if (!SaveToPngMemory(png)) return false;
    handles::UniqueFile file(
        CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), png.data(), DWORD(png.size()), &written, nullptr) && written == png.size();
}

bool TBitmap32::DrawTo(HDC Dest, int X, int Y, uint8_t MasterAlpha) const {
    return DrawTo(Dest, RECT{X, Y, X + FWidth, Y + FHeight}, RECT{0, 0, FWidth, FHeight}, MasterAlpha);
}

bool TBitmap32::DrawTo(HDC Dest, const RECT& DestRect, uint8_t MasterAlpha) const {
    return DrawTo(Dest, DestRect, RECT{0, 0, FWidth, FHeight}, MasterAlpha);
}

bool TBitmap32::DrawTo(HDC Dest, const RECT& d, const RECT& s, uint8_t MasterAlpha) const {
    if (Empty() || !Dest) return false;
    // AlphaBlend refuses source rectangles that leave the bitmap.
    if (s.left < 0 || s.top < 0 || s.right > FWidth || s.bottom > FHeight || s.left >= s.right || s.top >= s.bottom)
        return false;
    if (d.right <= d.left || d.bottom <= d.top || MasterAlpha == 0) return true;
    HDC src = DC();
    if (!src) return false;
    GdiFlush();
    BLENDFUNCTION bf{AC_SRC_OVER, 0, MasterAlpha, AC_SRC_ALPHA};
    return AlphaBlend(Dest, d.left, d.top, d.right - d.left, d.bottom - d.top, src, s.left, s.top, s.right - s.left,
                      s.bottom - s.top, bf) != FALSE;
}

void TBitmap32::Draw(int X, int Y, const TBitmap32& Src, uint8_t MasterAlpha) {
    Draw(X, Y, RECT{0, 0, Src.FWidth, Src.FHeight}, Src, MasterAlpha);
}

void TBitmap32::Draw(int X, int Y, const RECT& SrcRect, const TBitmap32& Src, uint8_t MasterAlpha) {
    if (Empty() || Src.Empty() || MasterAlpha == 0) return;
    // Clip the source rectangle to the source, then the placed rectangle to this bitmap.
    int sl = std::max<LONG>(0, SrcRect.left), st = std::max<LONG>(0, SrcRect.top);
    int sr = std::min<LONG>(Src.FWidth, SrcRect.right), sb = std::min<LONG>(Src.FHeight, SrcRect.bottom);
    X += sl - SrcRect.left;
    Y += st - SrcRect.top;
    if (X < 0) { sl -= X; X = 0; }
    if (Y < 0) { st -= Y; Y = 0; }
    sr = std::min(sr, sl + (FWidth - X));
    sb = std::min(sb, st + (FHeight - Y));
    if (sl >= sr || st >= sb) return;
    // Reading and writing the same bitmap: work from a copy of the source rows.
    std::vector<TColor32> tmp;
    const TColor32* srcBits = Src.Bits();
    int srcStride = Src.FWidth;
    if (&Src == this) {
        tmp.assign(srcBits, srcBits + size_t(FWidth) * FHeight);
        srcBits = tmp.data();
    }
    TColor32* dstBits = Bits();
    for (int y = st; y < sb; ++y) {
        const TColor32* s = srcBits + size_t(y) * srcStride;
        TColor32* d = dstBits + size_t(Y + y - st) * FWidth + X - sl;
        for (int x = sl; x < sr; ++x) {
            TColor32 sp = s[x];
            uint32_t sa = AlphaOf(sp);
            if (sa == 0) continue;
            if (MasterAlpha == 255 && sa == 255) {
                d[x] = sp;
                continue;
            }
            uint32_t a = MulDiv255(sa, MasterAlpha), inv = 255 - a;
            TColor32 dp = d[x];
            auto ch = [&](int shift) {
                uint32_t v = MulDiv255((sp >> shift) & 0xFF, MasterAlpha) + MulDiv255((dp >> shift) & 0xFF, inv);
                return std::min<uint32_t>(v, 255) << shift;
            };
            uint32_t outA = std::min<uint32_t>(255, a + MulDiv255(AlphaOf(dp), inv));
            d[x] = (outA << 24) | ch(16) | ch(8) | ch(0);
        }
    }
}

TBitmap32 TBitmap32::GrayScale() const {
    TBitmap32 out(*this);
    if (out.Empty()) return out;
    TColor32* p = out.Bits();
    for (size_t i = 0, n = size_t(FWidth) * FHeight; i < n; ++i) {
        // Premultiplied channels stay premultiplied: the grey is a weighted sum of them.
        uint8_t g = Color32_Gray(p[i]);
        p[i] = (p[i] & 0xFF000000u) | (TColor32(g) << 16) | (TColor32(g) << 8) | g;
    }
    return out;
}

HBITMAP TBitmap32::CreateHBITMAP() const {
    if (Empty()) return nullptr;
    BITMAPINFO bi = TopDownInfo(FWidth, FHeight);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) {
        if (bmp) DeleteObject(bmp);
        return nullptr;
    }
    std::memcpy(bits, Bits(), size_t(FWidth) * FHeight * 4);
    return bmp;
}

HICON TBitmap32::CreateIcon() const {
    if (Empty()) return nullptr;
    // Icons take straight alpha; the mask is unused for 32-bit colour but must exist.
    BITMAPINFO bi = TopDownInfo(FWidth, FHeight);
    void* bits = nullptr;
    handles::UniqueGdi color(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!color || !bits) return nullptr;
    const TColor32* src = Bits();
    auto* dst = static_cast<TColor32*>(bits);
    for (size_t i = 0, n = size_t(FWidth) * FHeight; i < n; ++i) dst[i] = Color32_Unpremultiply(src[i]);
    std::vector<uint8_t> maskBits(size_t((FWidth + 15) / 16 * 2) * FHeight, 0);
    handles::UniqueGdi mask(CreateBitmap(FWidth, FHeight, 1, 1, maskBits.data()));
    if (!mask) return nullptr;
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = static_cast<HBITMAP>(color.get());
    ii.hbmMask = static_cast<HBITMAP>(mask.get());
    return CreateIconIndirect(&ii);
}

}  // namespace ui
