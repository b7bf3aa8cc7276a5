// Lets the layer's pictures load PNG (and BMP with its alpha) through the graphics library: the
// layer itself only knows plain .bmp files and asks TPicture::LoadHook for anything else. The
// programs call Gfx_InstallPictureLoader once at start; the graphics library's own components
// (PNG image lists, the custom controls) call it as well, so a picture loads the same whichever
// of them came first.
#pragma once

#include "ui/picture.h"

#include <string>

namespace ui {

// Sets TPicture::LoadHook (once; later calls do nothing).
void Gfx_InstallPictureLoader();
// Loads a PNG or BMP file into Picture (alpha kept, premultiplied). False, with the picture
// unchanged, on a missing, unreadable or damaged file.
bool Gfx_LoadPicture(const std::wstring& FileName, TPicture& Picture);

}  // namespace ui
