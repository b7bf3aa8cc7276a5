// A list of same-sized 32-bit alpha images (16 or 32 pixels square in this program) that buttons,
// menus and lists draw their icons from. It is the layer's image list (TCustomImageList), so glow
// buttons, menus, list views and tab sets take it directly; a component, so a form can own and
// name it.
#pragma once

#include "ui/picture.h"
#include "ui/gfx/bitmap32.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class TPngImageList : public TCustomImageList {
public:
    explicit TPngImageList(TComponent* AOwner = nullptr, int ASize = 16);
    std::wstring ClassName() const override { return L"TPngImageList"; }

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // Changes the image size; the list is emptied, as its images no longer fit.
    void SetSize(int AWidth, int AHeight);

    int Count() const override { return int(FImages.size()); }
    // Adds a copy of Image, resampled (Lanczos) to the list's size when its size differs.
    // Returns the new index, or -1 for an empty image.
    int Add(const TBitmap32& Image);
    // Loads a PNG or BMP file and adds it; -1 when the file cannot be read.
    int AddFromFile(const std::wstring& FileName);
    void Replace(int Index, const TBitmap32& Image);
    void Delete(int Index);
    void Clear();
    // The stored image, or null for an index outside the list.
    const TBitmap32* Image(int Index) const;

    // Draws image Index with its alpha at (X, Y). A disabled image is drawn in grey (when
    // DisabledGrayscale) and at DisabledAlpha opacity. An index outside the list draws nothing.
    void Draw(HDC DC, int X, int Y, int Index, bool Enabled = true) const override;
    // Draws onto a 32-bit bitmap instead (blended).
    bool Draw(TBitmap32& Target, int X, int Y, int Index, bool Enabled = true) const;

    bool DisabledGrayscale = true;
    uint8_t DisabledAlpha = 255;

    // Changes are announced through OnChange, once per outermost BeginUpdate/EndUpdate pair.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    std::function<void(TPngImageList* Sender)> OnChange;

private:
    void Changed();
    const TBitmap32& DisabledImage(int Index) const;

    int FWidth;
    int FHeight;
    std::vector<TBitmap32> FImages;
    mutable std::vector<TBitmap32> FGrayImages;  // made on first disabled draw
    int FUpdateCount = 0;
    bool FChangedWhileUpdating = false;
};

}  // namespace ui
