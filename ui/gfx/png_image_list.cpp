#include "ui/gfx/png_image_list.h"

#include "ui/gfx/picture_loader.h"
#include "ui/gfx/resample.h"

namespace ui {

TPngImageList::TPngImageList(TComponent* AOwner, int ASize)
    : TCustomImageList(AOwner), FWidth(ASize), FHeight(ASize) {
    Gfx_InstallPictureLoader();
}

void TPngImageList::SetSize(int AWidth, int AHeight) {
    if (AWidth == FWidth && AHeight == FHeight) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FImages.clear();
    FGrayImages.clear();
    Changed();
}

int TPngImageList::Add(const TBitmap32& Image) {
    if (Image.Empty() || FWidth <= 0 || FHeight <= 0) return -1;
    if (Image.Width() == FWidth && Image.Height() == FHeight) {
        FImages.push_back(Image);
    } else {
        TBitmap32 scaled(FWidth, FHeight);
        Resample_Lanczos(Image, scaled);
        FImages.push_back(std::move(scaled));
    }
    FGrayImages.resize(FImages.size());
    Changed();
    return Count() - 1;
}

int TPngImageList::AddFromFile(const std::wstring& FileName) {
    TBitmap32 image;
    if (!image.LoadFromFile(FileName)) return -1;
    return Add(image);
}

void TPngImageList::Replace(int Index, const TBitmap32& Image) {
    if (Index < 0 || Index >= Count() || Image.Empty()) return;
    TBitmap32 scaled(FWidth, FHeight);
    if (Image.Width() == FWidth && Image.Height() == FHeight)
        scaled = Image;
    else
        Resample_Lanczos(Image, scaled);
    FImages[Index] = std::move(scaled);
    FGrayImages[Index] = TBitmap32();
    Changed();
}

void TPngImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FImages.erase(FImages.begin() + Index);
    FGrayImages.erase(FGrayImages.begin() + Index);
    Changed();
}

void TPngImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    FGrayImages.clear();
    Changed();
}

const TBitmap32* TPngImageList::Image(int Index) const {
    if (Index < 0 || Index >= Count()) return nullptr;
    return &FImages[Index];
}

const TBitmap32& TPngImageList::DisabledImage(int Index) const {
    if (!DisabledGrayscale) return FImages[Index];
    if (FGrayImages[Index].Empty()) FGrayImages[Index] = FImages[Index].GrayScale();
    return FGrayImages[Index];
}

void TPngImageList::Draw(HDC DC, int X, int Y, int Index, bool Enabled) const {
    if (Index < 0 || Index >= Count()) return;
    if (Enabled)
        FImages[Index].DrawTo(DC, X, Y);
    else
        DisabledImage(Index).DrawTo(DC, X, Y, DisabledAlpha);
}

bool TPngImageList::Draw(TBitmap32& Target, int X, int Y, int Index, bool Enabled) const {
    if (Index < 0 || Index >= Count()) return false;
    if (Enabled)
        Target.Draw(X, Y, FImages[Index]);
    else
        Target.Draw(X, Y, DisabledImage(Index), DisabledAlpha);
    return true;
}

void TPngImageList::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0 && FChangedWhileUpdating) {
        FChangedWhileUpdating = false;
        if (OnChange) OnChange(this);
    }
}

void TPngImageList::Changed() {
    if (FUpdateCount > 0) {
        FChangedWhileUpdating = true;
        return;
    }
    if (OnChange) OnChange(this);
}

}  // namespace ui
