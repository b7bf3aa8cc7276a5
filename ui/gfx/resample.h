// Lanczos (windowed sinc, radius 3) resampling of 32-bit alpha bitmaps: icons are scaled from the
// stripe and image lists adapt pictures of other sizes with it.
#pragma once

#include "ui/gfx/bitmap32.h"

namespace ui {

// The kernel: sinc(x) * sinc(x / 3) for |x| < 3, else 0 (sinc(x) = sin(pi x) / (pi x)).
double Lanczos3(double x);

// Scales all of Src into all of Dst (Dst keeps its size). Works on the premultiplied pixels, so
// colours of transparent pixels do not bleed into their neighbours; samples beyond the source's
// edge repeat the edge pixel, and results are clamped to 0..255 with colour never above alpha.
// An empty Src or Dst does nothing.
void Resample_Lanczos(const TBitmap32& Src, TBitmap32& Dst);
// Scales the rectangle SrcRect of Src into the rectangle DstRect of Dst, replacing the pixels
// there; the rest of Dst is untouched. Samples are taken only from inside SrcRect (clamped to its
// edges), so neighbouring pictures of a strip never bleed in. SrcRect is clipped to Src, DstRect
// to Dst (the scale stays the one of the rectangles as given).
void Resample_Lanczos(const TBitmap32& Src, const RECT& SrcRect, TBitmap32& Dst, const RECT& DstRect);

}  // namespace ui
