#include "controls/knob/rotate_aa.h"

#include "controls/knob/rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace knob {

namespace {

using detail::Round;
using detail::ToInt64;

// Round(x) limited to 0..255; not a number gives 0.
std::uint8_t ClampByte(double x) {
    const double r = Round(x);
    if (!(r > 0))
        return 0;
    if (r > 255)
        return 255;
    return static_cast<std::uint8_t>(r);
}

// Interior pixel without colour key: each channel is ClampByte of the four neighbours'
// channel times weight, summed in the order P00, P10, P01, P11; alpha likewise with UseAlpha,
// else 255.
void InteriorPixel(const std::uint8_t* const p[4], double w00, double w10, double w01, double w11,
                   bool useAlpha, std::uint8_t* out) {
#if defined(__SSE2__)
    // Two channels per register: every lane performs the scalar operations in the same order,
    // so the bytes are identical; this is the rotation's hottest loop.
    const __m128i zero = _mm_setzero_si128();
    auto load = [&](const std::uint8_t* q) {
        std::int32_t bytes;
        std::memcpy(&bytes, q, 4);
        const __m128i wide =
            _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero), zero);
        return std::pair{_mm_cvtepi32_pd(wide), _mm_cvtepi32_pd(_mm_srli_si128(wide, 8))};
    };
    const auto [bg00, ra00] = load(p[0]);
    const auto [bg10, ra10] = load(p[1]);
    const auto [bg01, ra01] = load(p[2]);
    const auto [bg11, ra11] = load(p[3]);
    const __m128d W00 = _mm_set1_pd(w00), W10 = _mm_set1_pd(w10), W01 = _mm_set1_pd(w01),
                  W11 = _mm_set1_pd(w11);
    auto weigh = [&](__m128d a, __m128d b, __m128d c, __m128d d) {
        __m128d sum = _mm_mul_pd(a, W00);
        sum = _mm_add_pd(sum, _mm_mul_pd(b, W10));
        sum = _mm_add_pd(sum, _mm_mul_pd(c, W01));
        sum = _mm_add_pd(sum, _mm_mul_pd(d, W11));
        // Round halves to even as Round does (the sums are far below 2^51), then limit.
        const __m128d shift = _mm_set1_pd(6755399441055744.0);
        const __m128d rounded = _mm_sub_pd(_mm_add_pd(sum, shift), shift);
        const __m128d limited =
            _mm_min_pd(_mm_max_pd(rounded, _mm_setzero_pd()), _mm_set1_pd(255.0));
        return _mm_cvttpd_epi32(limited);
    };
    const __m128i bgra =
        _mm_unpacklo_epi64(weigh(bg00, bg10, bg01, bg11), weigh(ra00, ra10, ra01, ra11));
    const std::int32_t packed =
        _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(bgra, zero), zero));
    std::memcpy(out, &packed, 4);
    if (!useAlpha)
        out[3] = 255;
#else
    for (int ch = 0; ch < 3; ++ch)
        out[ch] = ClampByte(p[0][ch] * w00 + p[1][ch] * w10 + p[2][ch] * w01 + p[3][ch] * w11);
    out[3] =
        useAlpha ? ClampByte(p[0][3] * w00 + p[1][3] * w10 + p[2][3] * w01 + p[3][3] * w11) : 255;
#endif
}

// The source's pixels as 4-byte blue, green, red, alpha, rows top first; 24-bit pixels read
// with alpha 0.
std::vector<std::uint8_t> CopyAs32Bit(const vcl::TBitmap& bitmap) {
    const int W = bitmap.Width();
    const int H = bitmap.Height();
    const int bpp = bitmap.BytesPerPixel();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(W) * H * 4);
    for (int y = 0; y < H; ++y) {
        const std::uint8_t* in = bitmap.ScanLine(y);
        std::uint8_t* out = pixels.data() + static_cast<std::size_t>(y) * W * 4;
        for (int x = 0; x < W; ++x, in += bpp, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = bpp == 4 ? in[3] : 0;
        }
    }
    return pixels;
}

struct Neighbour {
    std::int64_t X, Y;
    double W;
};

} // namespace

double ExactCos(double x) {
    const double q = Round(x / 30);
    const double offset = x / 30 - q;
    if (-1e-7 < offset && offset < 1e-7) {
        const double r = Round(x);
        const double n = r >= 0 ? std::fmod(r, 360) : 360 - std::fmod(-r, 360);
        if (n == 0 || n == 360)
            return 1;
        if (n == 30 || n == 330)
            return 0.866025403784439;
        if (n == 60 || n == 300)
            return 0.5;
        if (n == 90 || n == 270)
            return 0;
        if (n == 120 || n == 240)
            return -0.5;
        if (n == 150 || n == 210)
            return -0.866025403784439;
        if (n == 180)
            return -1;
        // Only angles too large to hold whole degrees exactly get here.
    }
    return std::cos(x * 3.14159265358979 / 180);
}

double TolerantCeil(double x) {
    const double t = std::trunc(x + 5e-10);
    if (std::fabs(x - t) < 1e-9)
        return t;
    return std::trunc(x + 1);
}

double NormalizeAngle(double Angle) {
    const double q = std::trunc(Angle / 360);
    if (Angle >= 0)
        return Angle - 360 * q;
    return Angle - 360 * (q - 1);
}

double LimitScale(double Scale, int Width, int Height) {
    const double least = (Height <= 5 || Width <= 5) ? 1.0 : 5.0 / std::min(Width, Height);
    if (!(Scale >= least))
        Scale = least;
    if (Scale < 0.1)
        Scale = 0.1;
    if (Scale > 10)
        Scale = 10;
    return Scale;
}

std::unique_ptr<vcl::TBitmap> RotateBitmapAA(const vcl::TBitmap& Bitmap, double Angle,
                                             vcl::TColor BackColor, bool ColorKey, bool UseAlpha,
                                             bool FillEdges, double Scale) {
    if (Bitmap.Empty())
        return nullptr;
    switch (Bitmap.PixelFormat()) {
    case vcl::pf24bit:
        UseAlpha = false;
        break;
    case vcl::pf32bit:
        break;
    default:
        return nullptr;
    }
    Angle = NormalizeAngle(Angle);
    const int W = Bitmap.Width();
    const int H = Bitmap.Height();
    Scale = LimitScale(Scale, W, H);

    try {
        const std::vector<std::uint8_t> source = CopyAs32Bit(Bitmap);

        // The centre of rotation is pixel (hw, hh), not the geometric centre.
        const double hw = W / 2;
        const double hh = H / 2;
        const double absScale = std::fabs(Scale);
        const double C1 = ExactCos(Angle) / absScale;
        const double S1 = ExactCos(Angle + 90) / absScale;
        const double c = absScale * ExactCos(Angle);
        const double s = absScale * ExactCos(Angle + 90);
        const double newW = TolerantCeil(2 * (hw * std::fabs(c) + hh * std::fabs(s)));
        const double newH = TolerantCeil(2 * (hw * std::fabs(s) + hh * std::fabs(c)));
        constexpr double kMaxSide = 1 << 24;
        if (!(newW >= 0 && newW <= kMaxSide && newH >= 0 && newH <= kMaxSide))
            return nullptr;
        const int NewW = static_cast<int>(newW);
        const int NewH = static_cast<int>(newH);
        const int OffX = (NewW - W) / 2;
        const int OffY = (NewH - H) / 2;

        auto result = std::make_unique<vcl::TBitmap>(NewW, NewH, vcl::pf32bit);
        if (result->Empty())
            return result; // nothing to compute, still a bitmap the caller can free

        const std::uint8_t backR = BackColor & 0xFF;
        const std::uint8_t backG = (BackColor >> 8) & 0xFF;
        const std::uint8_t backB = (BackColor >> 16) & 0xFF;
        const std::uint8_t back[3] = {backB, backG, backR};
        const bool fill = FillEdges && !ColorKey;
        auto pixelAt = [&](std::int64_t x, std::int64_t y) {
            return source.data() + (static_cast<std::size_t>(y) * W + x) * 4;
        };
        auto isKey = [&](const std::uint8_t* p) {
            return ColorKey && p[0] == backB && p[1] == backG && p[2] == backR;
        };

        // Column and row terms of the back-mapping, each the same product the per-pixel
        // formula would form.
        std::vector<double> colC(NewW), colS(NewW);
        for (int k = 0; k < NewW; ++k) {
            const double i = k - OffX;
            colC[k] = (i - hw) * C1;
            colS[k] = (i - hw) * S1;
        }

        for (int l = 0; l < NewH; ++l) {
            const double j = l - OffY;
            const double rowS = (j - hh) * S1;
            const double rowC = (j - hh) * C1;
            std::uint8_t* px = result->ScanLine(l);
            for (int k = 0; k < NewW; ++k, px += 4) {
                const double sx = hw + colC[k] - rowS;
                const double sy = hh + colS[k] + rowC;
                const double x0 = (-1 < sx && sx < 0) ? -1 : std::trunc(sx);
                const double y0 = (-1 < sy && sy < 0) ? -1 : std::trunc(sy);

                if (!(sx > -1 && sy > -1 && x0 + 1 <= W && y0 + 1 <= H)) {
                    if (ColorKey) {
                        px[0] = px[1] = px[2] = px[3] = 0;
                    } else {
                        px[0] = backB;
                        px[1] = backG;
                        px[2] = backR;
                        px[3] = 0;
                    }
                    continue;
                }

                const double fx = std::fabs(sx - x0);
                const double fy = std::fabs(sy - y0);
                const std::int64_t ix = static_cast<std::int64_t>(x0);
                const std::int64_t iy = static_cast<std::int64_t>(y0);
                const Neighbour n[4] = {{ix, iy, (1 - fx) * (1 - fy)},
                                        {ix + 1, iy, fx * (1 - fy)},
                                        {ix, iy + 1, (1 - fx) * fy},
                                        {ix + 1, iy + 1, fx * fy}};
                const bool interior = sx >= 0 && sy >= 0 && x0 + 1 < W && y0 + 1 < H;

                if (interior && !ColorKey) {
                    const std::uint8_t* p[4] = {pixelAt(ix, iy), pixelAt(ix + 1, iy),
                                                pixelAt(ix, iy + 1), pixelAt(ix + 1, iy + 1)};
                    InteriorPixel(p, n[0].W, n[1].W, n[2].W, n[3].W, UseAlpha, px);
                    continue;
                }

                double sum[3] = {0, 0, 0};
                double coverage = 0;
                double skipped = 0;
                for (const Neighbour& nb : n) {
                    if (nb.X < 0 || nb.X >= W || nb.Y < 0 || nb.Y >= H) {
                        if (fill) {
                            for (int ch = 0; ch < 3; ++ch)
                                sum[ch] += back[ch] * nb.W;
                        } else {
                            skipped += nb.W;
                        }
                        continue;
                    }
                    const std::uint8_t* p = pixelAt(nb.X, nb.Y);
                    if (isKey(p)) {
                        skipped += nb.W;
                        continue;
                    }
                    for (int ch = 0; ch < 3; ++ch)
                        sum[ch] += p[ch] * nb.W;
                    coverage += UseAlpha ? p[3] * nb.W / 255 : nb.W;
                }
                if (UseAlpha) {
                    for (int ch = 0; ch < 3; ++ch)
                        px[ch] = ClampByte(sum[ch]);
                } else {
                    // Renormalise so the remaining pixels keep their colour.
                    const double D = 1 - skipped + 0.0001;
                    for (int ch = 0; ch < 3; ++ch)
                        px[ch] = ClampByte(sum[ch] / D);
                }
                px[3] = (!interior && fill) ? 255 : ClampByte(coverage * 255);
            }
        }
        return result;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace knob
