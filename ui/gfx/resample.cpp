#include "ui/gfx/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {

namespace {

constexpr double Radius = 3.0;
constexpr double Pi = 3.14159265358979323846;

double Sinc(double x) {
    if (x == 0.0) return 1.0;
    x *= Pi;
    return std::sin(x) / x;
}

// Weights of the source pixels First, First + 1, ... for one destination pixel.
struct Contribution {
    int First = 0;
    std::vector<float> Weights;
};

// One axis: destination pixels 0..DstLen-1 cover the source span SrcLo..SrcHi (exclusive);
// source samples are clamped to ClampLo..ClampHi (exclusive, not empty).
std::vector<Contribution> BuildMap(double SrcLo, double SrcHi, int ClampLo, int ClampHi, int DstLen) {
    std::vector<Contribution> map(DstLen);
    double scale = DstLen / (SrcHi - SrcLo);
    // Shrinking widens the kernel so that every source pixel is taken into account.
    double filterScale = std::min(scale, 1.0);
    double support = Radius / filterScale;
    for (int i = 0; i < DstLen; ++i) {
        double center = SrcLo + (i + 0.5) / scale - 0.5;
        int left = int(std::floor(center - support));
        int right = int(std::ceil(center + support));
        int first = std::clamp(left, ClampLo, ClampHi - 1);
        int last = std::clamp(right, ClampLo, ClampHi - 1);
        std::vector<double> w(last - first + 1, 0.0);
        double sum = 0;
        for (int j = left; j <= right; ++j) {
            double k = Lanczos3((j - center) * filterScale);
            if (k == 0.0) continue;
            w[std::clamp(j, ClampLo, ClampHi - 1) - first] += k;
            sum += k;
        }
        Contribution& c = map[i];
        c.First = first;
        c.Weights.resize(w.size());
        if (sum == 0.0) {  // cannot happen with this kernel; keep the nearest pixel to be safe
            int nearest = std::clamp(int(std::lround(center)), ClampLo, ClampHi - 1);
            c.Weights[nearest - first] = 1.0f;
        } else {
            for (size_t k = 0; k < w.size(); ++k) c.Weights[k] = float(w[k] / sum);
        }
    }
    return map;
}

uint32_t ToByte(float v) {
    long r = std::lround(v);
    return uint32_t(std::clamp<long>(r, 0, 255));
}

}  // namespace

double Lanczos3(double x) {
    if (x < 0) x = -x;
    if (x >= Radius) return 0.0;
    return Sinc(x) * Sinc(x / Radius);
}

void Resample_Lanczos(const TBitmap32& Src, TBitmap32& Dst) {
    Resample_Lanczos(Src, RECT{0, 0, Src.Width(), Src.Height()}, Dst, RECT{0, 0, Dst.Width(), Dst.Height()});
}

void Resample_Lanczos(const TBitmap32& Src, const RECT& SrcRect, TBitmap32& Dst, const RECT& DstRect) {
    if (Src.Empty() || Dst.Empty()) return;
    if (&Src == &Dst) {  // the passes would read what they already wrote
        TBitmap32 copy(Src);
        Resample_Lanczos(copy, SrcRect, Dst, DstRect);
        return;
    }
    if (SrcRect.right <= SrcRect.left || SrcRect.bottom <= SrcRect.top) return;
    if (DstRect.right <= DstRect.left || DstRect.bottom <= DstRect.top) return;
    // Samples come from the part of SrcRect that lies inside Src.
    int cl = std::max<LONG>(0, SrcRect.left), ct = std::max<LONG>(0, SrcRect.top);
    int cr = std::min<LONG>(Src.Width(), SrcRect.right), cb = std::min<LONG>(Src.Height(), SrcRect.bottom);
    if (cl >= cr || ct >= cb) return;
    int dw = DstRect.right - DstRect.left, dh = DstRect.bottom - DstRect.top;
    // Destination pixels actually written (DstRect clipped to Dst), relative to DstRect.
    int x0 = std::max<LONG>(0, -DstRect.left), y0 = std::max<LONG>(0, -DstRect.top);
    int x1 = std::min<LONG>(dw, Dst.Width() - DstRect.left), y1 = std::min<LONG>(dh, Dst.Height() - DstRect.top);
    if (x0 >= x1 || y0 >= y1) return;

    auto mapX = BuildMap(SrcRect.left, SrcRect.right, cl, cr, dw);
    auto mapY = BuildMap(SrcRect.top, SrcRect.bottom, ct, cb, dh);

    // Rows of the source that the vertical pass needs.
    int rowLo = cb, rowHi = ct;
    for (int y = y0; y < y1; ++y) {
        rowLo = std::min(rowLo, mapY[y].First);
        rowHi = std::max(rowHi, mapY[y].First + int(mapY[y].Weights.size()));
    }
    int cols = x1 - x0;
    // Horizontal pass into float rows: 4 channels (B, G, R, A) per destination column.
    std::vector<float> tmp(size_t(rowHi - rowLo) * cols * 4, 0.0f);
    const TColor32* srcBits = Src.Bits();
    TColor32* dstBits = Dst.Bits();
    for (int sy = rowLo; sy < rowHi; ++sy) {
        const TColor32* srow = srcBits + size_t(sy) * Src.Width();
        float* trow = tmp.data() + size_t(sy - rowLo) * cols * 4;
        for (int x = x0; x < x1; ++x) {
            const Contribution& c = mapX[x];
            float b = 0, g = 0, r = 0, a = 0;
            for (size_t k = 0; k < c.Weights.size(); ++k) {
                TColor32 p = srow[c.First + k];
                float w = c.Weights[k];
                b += w * BlueOf(p);
                g += w * GreenOf(p);
                r += w * RedOf(p);
                a += w * AlphaOf(p);
            }
            float* t = trow + size_t(x - x0) * 4;
            t[0] = b;
            t[1] = g;
            t[2] = r;
            t[3] = a;
        }
    }
    // Vertical pass into the destination.
    for (int y = y0; y < y1; ++y) {
        const Contribution& c = mapY[y];
        TColor32* drow = dstBits + size_t(DstRect.top + y) * Dst.Width() + DstRect.left;
        for (int x = x0; x < x1; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (size_t k = 0; k < c.Weights.size(); ++k) {
                const float* t = tmp.data() + (size_t(c.First + int(k) - rowLo) * cols + (x - x0)) * 4;
                float w = c.Weights[k];
                for (int ch = 0; ch < 4; ++ch) acc[ch] += w * t[ch];
            }
            // The kernel's negative lobes can overshoot: clamp, and keep colour within alpha so
            // the pixel stays a valid premultiplied value.
            uint32_t a = ToByte(acc[3]);
            uint32_t r = std::min(ToByte(acc[2]), a), g = std::min(ToByte(acc[1]), a), b = std::min(ToByte(acc[0]), a);
            drow[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
}

}  // namespace ui
