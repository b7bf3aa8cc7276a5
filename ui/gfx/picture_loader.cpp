#include "ui/gfx/picture_loader.h"

#include "ui/gfx/bitmap32.h"

#include <atomic>

namespace ui {

bool Gfx_LoadPicture(const std::wstring& FileName, TPicture& Picture) {
    TBitmap32 image;
    if (!image.LoadFromFile(FileName)) return false;
    HBITMAP dib = image.CreateHBITMAP();
    if (!dib) return false;
    Picture.TakeBitmap(dib);
    return !Picture.Empty();
}

void Gfx_InstallPictureLoader() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    TPicture::LoadHook = Gfx_LoadPicture;
}

}  // namespace ui
