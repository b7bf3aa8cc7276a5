// Pictures and image lists as the controls see them. A picture holds one 32-bit top-down DIB with
// premultiplied alpha and draws it with per-pixel alpha. Loading .bmp files is built in; other
// formats (PNG) come through LoadHook, which the graphics library sets. Image lists are an
// interface with a simple implementation holding pictures; the PNG image list of the graphics
// library implements the same interface.
#pragma once

#include "common/handles.h"
#include "ui/component.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture& Other);
    TPicture& operator=(const TPicture& Other);  // Assign: deep copy, then OnChange

    bool Empty() const { return !FBitmap; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void Clear();

    // A blank, fully transparent picture of the given size.
    void CreateBlank(int W, int H);
    // Copies any bitmap. HasAlpha: the source is a 32-bit bitmap whose alpha (premultiplied) counts;
    // otherwise every pixel becomes opaque.
    bool AssignBitmap(HBITMAP Source, bool HasAlpha);
    // Takes over a 32-bit top-down DIB section with premultiplied alpha.
    void TakeBitmap(HBITMAP Dib32);
    // Copies an icon (with its alpha or mask).
    bool AssignIcon(HICON Icon, int Size);
    // Through LoadHook when set (the graphics library's PNG and BMP loader), else .bmp files only.
    // False (picture unchanged) on failure.
    bool LoadFromFile(const std::wstring& FileName);
    static std::function<bool(const std::wstring& FileName, TPicture& Picture)> LoadHook;

    HBITMAP Bitmap() const { return HBITMAP(FBitmap.get()); }
    // Premultiplied BGRA pixels, top-down, Width()*Height() of them; null when empty.
    uint32_t* Bits() const { return FBits; }
    // Calls OnChange after pixels were edited through Bits().
    void Changed() {
        if (OnChange) OnChange();
    }

    // Every pixel of this colour becomes fully transparent (pictures without alpha).
    void MakeColorTransparent(COLORREF Color);

    void Draw(HDC DC, int X, int Y, BYTE Alpha = 255) const;
    void StretchDraw(HDC DC, const RECT& R, BYTE Alpha = 255) const;
    // Grey and half transparent: the look of a disabled image.
    void DrawDisabled(HDC DC, int X, int Y) const;

    std::function<void()> OnChange;

private:
    handles::UniqueGdi FBitmap;
    uint32_t* FBits = nullptr;
    int FWidth = 0, FHeight = 0;
};

// What a control needs of an image list.
class TCustomImageList : public TComponent {
public:
    using TComponent::TComponent;
    std::wstring ClassName() const override { return L"TCustomImageList"; }
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int Count() const = 0;
    virtual void Draw(HDC DC, int X, int Y, int Index, bool Enabled = true) const = 0;
};

// An image list that keeps a picture per image.
class TImageList : public TCustomImageList {
public:
    TImageList(TComponent* AOwner, int W = 16, int H = 16)
        : TCustomImageList(AOwner), FWidth(W), FHeight(H) {}
    std::wstring ClassName() const override { return L"TImageList"; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    int Count() const override { return int(FImages.size()); }
    void Draw(HDC DC, int X, int Y, int Index, bool Enabled = true) const override;
    int Add(const TPicture& Picture);  // index of the new image
    int AddIcon(HICON Icon);
    void Clear() { FImages.clear(); }
    const TPicture& Image(int Index) const { return FImages[Index]; }

private:
    int FWidth, FHeight;
    std::vector<TPicture> FImages;
};

}  // namespace ui
