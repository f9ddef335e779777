#include "controls/knob/disc_ring.h"

#include "controls/knob/rounding.h"
#include "platform/vcl/core/dialogs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace knob {

namespace {

using detail::Round;
using detail::ToInt64;

double Sq(double x) {
    return x * x;
}

TRGB Resolve(vcl::TColor colour) {
    const vcl::TColor rgb = vcl::ColorToRGB(colour);
    return {vcl::GetRValue(rgb), vcl::GetGValue(rgb), vcl::GetBValue(rgb)};
}

TRGB Get(const std::uint8_t* p) {
    return {p[2], p[1], p[0]};
}

void Put(std::uint8_t* p, const TRGB& c) {
    p[0] = c.B;
    p[1] = c.G;
    p[2] = c.R;
}

TRGB Blend(const TRGB& bg, const TRGB& fg, int alpha) {
    return BlendPixel(bg.R, bg.G, bg.B, fg.R, fg.G, fg.B, alpha);
}

// Rounded halves to even and limited to 0..255; not a number has no alpha.
std::optional<int> AlphaByte(double value) {
    if (std::isnan(value))
        return std::nullopt;
    return static_cast<int>(std::clamp(Round(value), 0.0, 255.0));
}

// Alpha that rises from 0 to 255 as `distance` grows across a fade `softness` wide centred on 0.
std::optional<int> EdgeAlpha(double distance, double softness) {
    return AlphaByte((distance * 2 / softness) * 127.5 + 127.5);
}

// Pixels of the frame within `reach` of the centre; none if that cannot be computed.
struct Box {
    int X0 = 0, X1 = -1, Y0 = 0, Y1 = -1;
};

Box ClipBox(const vcl::TBitmap& frame, float CX, float CY, double reach) {
    const double left = std::floor(CX - reach);
    const double right = std::ceil(CX + reach);
    const double top = std::floor(CY - reach);
    const double bottom = std::ceil(CY + reach);
    if (std::isnan(left) || std::isnan(right) || std::isnan(top) || std::isnan(bottom))
        return {};
    const double x0 = std::max(left, 0.0);
    const double x1 = std::min(right, frame.Width() - 1.0);
    const double y0 = std::max(top, 0.0);
    const double y1 = std::min(bottom, frame.Height() - 1.0);
    if (x0 > x1 || y0 > y1)
        return {};
    return {static_cast<int>(x0), static_cast<int>(x1), static_cast<int>(y0), static_cast<int>(y1)};
}

// Calls fn(pixel, q, x, y) for every pixel of the box, q being its squared distance from the
// centre as a 32-bit float; the column terms are computed once. A ring passes its inner limit
// as `hole`: pixels well inside it (q certainly at or below it, after the float rounding of q)
// would be left unchanged, so each row skips them.
template <typename PixelFn>
void ForEachPixel(vcl::TBitmap& frame, float CX, float CY, const Box& box, PixelFn&& fn,
                  float hole = 0) {
    if (box.X0 > box.X1)
        return;
    std::vector<float> colSq(static_cast<std::size_t>(box.X1 - box.X0 + 1));
    for (int x = box.X0; x <= box.X1; ++x)
        colSq[x - box.X0] = static_cast<float>(Sq(x - double{CX}));
    const int bpp = frame.BytesPerPixel();
    for (int y = box.Y0; y <= box.Y1; ++y) {
        const double rowSq = Sq(y - double{CY});
        std::uint8_t* row = frame.ScanLine(y);
        auto run = [&](int from, int to) {
            std::uint8_t* p = row + from * bpp;
            for (int x = from; x <= to; ++x, p += bpp)
                fn(p, static_cast<float>(rowSq + colSq[x - box.X0]), x, y);
        };
        // Half-width of the skipped span: 0.1 % inside the hole and one pixel in from that, far
        // more than the relative error of q (below 1e-6).
        const double half = std::sqrt(0.999 * hole - rowSq) - 1;
        if (!(half >= 0)) {
            run(box.X0, box.X1);
            continue;
        }
        const double skipFrom = std::ceil(CX - half);
        const double skipTo = std::floor(CX + half);
        if (skipFrom > box.X1 || skipTo < box.X0) {
            run(box.X0, box.X1);
            continue;
        }
        run(box.X0, static_cast<int>(std::max<double>(skipFrom, box.X0)) - 1);
        run(static_cast<int>(std::min<double>(skipTo, box.X1)) + 1, box.X1);
    }
}

// Edges and squared limits shared by the plain and the shaded ring.
struct Ring {
    double F;   // softness, at most the width
    float O, I; // outer and inner edge
    float A, B, C, D;

    Ring(double radius, double width, double softness) {
        F = softness < width ? softness : width;
        O = static_cast<float>(radius + width / 2);
        I = static_cast<float>(radius - width / 2);
        A = static_cast<float>(Sq(I - F / 2));
        B = static_cast<float>(Sq(I + F / 2));
        C = static_cast<float>(Sq(O - F / 2));
        D = static_cast<float>(Sq(O + F / 2));
    }
    double Reach() const { return O + F / 2; }
};

} // namespace

TRGB BlendPixel(std::uint8_t bgR, std::uint8_t bgG, std::uint8_t bgB, std::uint8_t fgR,
                std::uint8_t fgG, std::uint8_t fgB, int alpha) {
    // alpha / 255 for every alpha, so edge pixels multiply instead of dividing.
    static const std::array<double, 256> kShare = [] {
        std::array<double, 256> share{};
        for (int a = 0; a < 256; ++a)
            share[a] = a / 255.0;
        return share;
    }();
    const bool inRange = alpha >= 0 && alpha <= 255;
    const double fgShare = inRange ? kShare[alpha] : alpha / 255.0;
    const double bgShare = inRange ? kShare[255 - alpha] : (255 - alpha) / 255.0;
    auto channel = [&](int bg, int fg) {
        const double v = Round(fgShare * fg + bgShare * bg);
        return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    };
    return {channel(bgR, fgR), channel(bgG, fgG), channel(bgB, fgB)};
}

int PixelAngle(float CX, float CY, int x, int y) {
    const double dx = x - double{CX};
    const double dy = double{CY} - y;
    if (dx == 0)
        return dy > 0 ? 90 : 270;
    if (dy == 0)
        return dx > 0 ? 0 : 180;
    const double degrees = std::atan(std::fabs(dy) / std::fabs(dx)) * (180 / std::numbers::pi);
    const int g = static_cast<int>(std::clamp<std::int64_t>(ToInt64(Round(degrees)), 0, 90));
    if (dx > 0 && dy > 0)
        return g;
    if (dx > 0 && dy < 0)
        return 360 - g;
    if (dx < 0 && dy > 0)
        return 180 - g;
    return 180 + g;
}

void FillDiscAA(vcl::TBitmap& frame, vcl::TColor colour, float CX, float CY, double radius,
                double edge) {
    const TRGB c = Resolve(colour);
    const double outer = radius + edge / 2;
    const double inner = radius - edge / 2;
    const float outerSq = static_cast<float>(outer * outer);
    const float innerSq = static_cast<float>(inner * inner);
    ForEachPixel(frame, CX, CY, ClipBox(frame, CX, CY, outer),
                 [&](std::uint8_t* p, float q, int, int) {
                     if (q < innerSq) {
                         Put(p, c);
                     } else if (q < outerSq) {
                         if (auto alpha = EdgeAlpha(radius - std::sqrt(q), edge))
                             Put(p, Blend(Get(p), c, *alpha));
                     }
                 });
}

void DrawRingAA(vcl::TBitmap& frame, vcl::TColor colour, float CX, float CY, double radius,
                double width, double softness) {
    const TRGB c = Resolve(colour);
    const Ring ring(radius, width, softness);
    ForEachPixel(
        frame, CX, CY, ClipBox(frame, CX, CY, ring.Reach()),
        [&](std::uint8_t* p, float q, int, int) {
            if (q <= ring.A || q >= ring.D)
                return;
            auto blend = [&](std::optional<int> alpha) {
                if (alpha)
                    Put(p, Blend(Get(p), c, *alpha));
            };
            if (q >= ring.C)
                blend(EdgeAlpha(ring.O - std::sqrt(q), ring.F));
            else if (q >= ring.B)
                Put(p, c);
            else
                blend(EdgeAlpha(std::sqrt(q) - ring.I, ring.F));
        },
        ring.A);
}

void DrawShadedRing(vcl::TBitmap& frame, vcl::TColor colour1, float CX, float CY, double radius,
                    double width, double softness, vcl::TColor colour2, int Lo, int Hi) {
    const TRGB c1 = Resolve(colour1);
    const TRGB c2 = Resolve(colour2);

    // Weight towards colour2 by whole degree: 0 over Lo..Hi, 1 opposite, linear in between.
    std::array<float, 360> T{};
    auto slot = [](std::int64_t n) {
        const std::int64_t m = n % 360;
        return static_cast<std::size_t>(m < 0 ? m + 360 : m);
    };
    const std::int64_t lo = Lo;
    const std::int64_t hi = Hi;
    // Only the last 360 passes of a loop decide the table, so longer spans start there.
    for (std::int64_t n = std::max(lo, hi - 359); n <= hi; ++n) {
        T[slot(n)] = 0;
        T[slot(n + 180)] = 1;
    }
    const float step = static_cast<float>(1.0 / static_cast<double>(lo + 180 - hi));
    const std::int64_t last = lo + 179;
    for (std::int64_t n = std::max(hi + 1, last - 359); n <= last; ++n) {
        T[slot(n)] = static_cast<float>(static_cast<double>(n - hi) * step);
        T[slot(n + 180)] = static_cast<float>(1.0 - T[slot(n)]);
    }

    // The ring's colour by direction, blended once per direction rather than per pixel.
    std::array<TRGB, 360> shades;
    for (std::size_t n = 0; n < shades.size(); ++n)
        shades[n] = Blend(c1, c2, AlphaByte(T[n] * 255.0).value_or(0));

    const Ring ring(radius, width, softness);
    std::optional<TRGB> lastEdge; // colour of the last edge blend that completed
    ForEachPixel(
        frame, CX, CY, ClipBox(frame, CX, CY, ring.Reach()),
        [&](std::uint8_t* p, float q, int x, int y) {
            if (q <= ring.A || q >= ring.D)
                return;
            const TRGB shade = shades[slot(PixelAngle(CX, CY, x, y))]; // 360 looks up as 0
            if (q >= ring.C) {
                if (auto alpha = EdgeAlpha(ring.O - std::sqrt(q), ring.F)) {
                    lastEdge = Blend(Get(p), shade, *alpha);
                    Put(p, *lastEdge);
                }
            } else if (q >= ring.B) {
                Put(p, shade);
            } else if (auto alpha = EdgeAlpha(std::sqrt(q) - ring.I, ring.F)) {
                lastEdge = Blend(Get(p), shade, *alpha);
                Put(p, *lastEdge);
            } else {
                // The one guarded step: report it and carry on with the next pixel.
                vcl::MessageBox(nullptr, "Error occured at internal code of TKnob", "Error",
                                vcl::MB_OK);
                if (lastEdge)
                    Put(p, *lastEdge);
            }
        },
        ring.A);
}

} // namespace knob
