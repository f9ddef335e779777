#include "controls/knob/ezline.h"

#include "controls/knob/rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace knob {

namespace {

using detail::Round;
using detail::ToInt64;

// Round(x - 0.499999999999999): a floor that leaves exact integers unchanged and lets values
// within 1e-15 below the next integer round up. Written with an exact floor because a double
// cannot hold the subtraction near 255 (255 - 0.499999999999999 becomes the tie 254.5).
double RoundDown(double x) {
    const double nearest = Round(x);
    const double floor = nearest > x ? nearest - 1 : nearest;
    return x - floor > 0.999999999999999 ? floor + 1 : floor;
}

double Sq(double x) {
    return x * x;
}

double Clamp(double v, double lo, double hi) {
    if (v < lo)
        return lo;
    if (v > hi)
        return hi;
    return v;
}

double Distance(double c, double r, double x, double y) {
    return std::sqrt(Sq(c - x) + Sq(r - y));
}

// Coverage 0..255 for effective width We at D, twice the distance from the spine.
int Coverage(double We, double D) {
    const double e = We - D;
    if (e >= 3)
        return 255;
    if (e < 0)
        return 0;
    const double s = std::sin(e / 2);
    return static_cast<int>(ToInt64(RoundDown(255 * (s * s))));
}

// Dash pattern strength 0..1 at x pixels along the line.
double Pattern(vcl::TPenStyle style, double x) {
    switch (style) {
    case vcl::psSolid:
    case vcl::psInsideFrame:
        return 1;
    case vcl::psDash:
        return Clamp(std::fabs(3 * std::sin(x / 4)) - 0.5, 0, 1);
    case vcl::psDot:
        return Clamp(2 * std::sin(x), 0, 1);
    case vcl::psDashDot: {
        double b = 3 * std::sin(x / 3);
        if (b > 1)
            b = 1;
        if (b > 0)
            return b;
        const double dot = std::sin(x);
        return dot > 0 ? dot : 0;
    }
    case vcl::psDashDotDot: {
        double b = 3 * std::sin(x / 4);
        if (b > 1)
            b = 1;
        if (b > 0)
            return b;
        const double dot = std::sin(x - 2);
        return dot > 0 ? dot : 0;
    }
    default:
        return 0;
    }
}

// One channel: pen p over pixel q by the pen mode, weighted by alpha a. The shift divides by
// 256, so even full coverage leaves 255 at 254.
std::uint8_t Combine(vcl::TPenMode mode, int p, int q, int a) {
    int v = 0;
    switch (mode) {
    case vcl::pmBlack:
        v = 0;
        break;
    case vcl::pmWhite:
        v = 255;
        break;
    case vcl::pmNot:
        v = 255 - q;
        break;
    case vcl::pmCopy:
        v = p;
        break;
    case vcl::pmNotCopy:
        v = 255 - p;
        break;
    case vcl::pmMergePenNot:
        v = p | (255 - q);
        break;
    case vcl::pmMaskPenNot:
        v = p & (255 - q);
        break;
    case vcl::pmMergeNotPen:
        v = (255 - p) | q;
        break;
    case vcl::pmMaskNotPen:
        v = (255 - p) & q;
        break;
    case vcl::pmMerge:
        v = p | q;
        break;
    case vcl::pmNotMerge:
        v = 255 - (p | q);
        break;
    case vcl::pmMask:
        v = p & q;
        break;
    case vcl::pmNotMask:
        v = 255 - (p & q);
        break;
    case vcl::pmXor:
        v = p ^ q;
        break;
    case vcl::pmNotXor:
        v = 255 - (p ^ q);
        break;
    default: // pmNop and values beyond the enumeration
        return static_cast<std::uint8_t>(q);
    }
    return static_cast<std::uint8_t>((v * a + q * (255 - a)) >> 8);
}

// The platform's coordinate range; keeps the canvas's integer arithmetic defined for any input.
int CanvasInt(double v) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 27;
    return static_cast<int>(std::clamp(ToInt64(v), -kLimit, kLimit));
}

} // namespace

void TEZLine::Configure(vcl::TColor AColor, bool AAntiAlias, double AWidth, double AOpacity,
                        double APhase, bool AEndCuts, vcl::TPenStyle AStyle, vcl::TPenMode AMode) {
    Color = AColor;
    AntiAlias = AAntiAlias;
    Width = AWidth;
    Opacity = AOpacity;
    Phase = APhase;
    EndCuts = AEndCuts;
    Style = AStyle;
    Mode = AMode;
}

double TEZLine::DrawLine(vcl::TBitmap* Bitmap, float X1, float Y1, float X2, float Y2) {
    double result = Phase;
    if (Bitmap == nullptr || Bitmap->Empty())
        return result;
    // No canvas lock: drawing happens on the GUI thread only.
    result = AntiAliasedPass(*Bitmap, X1, Y1, X2, Y2);
    if (!AntiAlias) {
        vcl::TCanvas& canvas = Bitmap->Canvas();
        canvas.Pen.Width = CanvasInt(RoundDown(Width));
        canvas.Pen.Color = Color;
        canvas.Pen.Style = Style;
        canvas.Pen.Mode = Mode;
        canvas.MoveTo(CanvasInt(Round(X1)), CanvasInt(Round(Y1)));
        canvas.LineTo(CanvasInt(Round(X2)), CanvasInt(Round(Y2)));
    }
    return result;
}

double TEZLine::Evaluate(double c, double r, double X1, double Y1, double X2, double Y2,
                         bool exchanged) {
    double d = 0;
    if (SegLength == 0) {
        Param = 0;
        Across = 0;
        d = Distance(c, r, X1, Y1);
    } else {
        Param = ((Y1 - r) * NegDY - (X1 - c) * DX) / SegLengthSq;
        const double S = ((Y1 - r) * DX - (X1 - c) * DY) / SegLengthSq;
        Across = S * SegLength;
        if (Param >= 0 && Param <= 1)
            d = std::fabs(S * SegLength);
        else if (Param > 1)
            d = Distance(c, r, X2, Y2);
        else
            d = Distance(c, r, X1, Y1);
    }
    Along = exchanged ? SegLength * (1 - Param) : SegLength * Param;
    return d;
}

double TEZLine::AntiAliasedPass(vcl::TBitmap& Bitmap, float X1, float Y1, float X2, float Y2) {
    // Doubles hold the 32-bit end points exactly; arithmetic on them is in double precision.
    double x1 = X1, y1 = Y1, x2 = X2, y2 = Y2;
    const double offset = Phase;
    const double result = std::sqrt(Sq(x2 - x1) + Sq(y2 - y1)) + offset;

    if (!AntiAlias)
        return result;
    if (!(Width >= 0.01)) // not a number counts as too thin
        return result;
    const double Wk = Width >= 1 ? Width : 2 * Width - 1;

    const int W = Bitmap.Width();
    const int H = Bitmap.Height();
    const double M = Round(Wk / 2 + 2);
    if ((x1 >= W + M && x2 >= W + M) || (x1 < -M && x2 < -M) || (y1 >= H + M && y2 >= H + M) ||
        (y1 < -M && y2 < -M))
        return result;

    const std::uint32_t pen =
        Color < 0 ? vcl::GetSysColor(Color & 0x7FFFFFFF) : static_cast<std::uint32_t>(Color);
    const int penR = pen & 0xFF;
    const int penG = (pen >> 8) & 0xFF;
    const int penB = (pen >> 16) & 0xFF;

    // Top end first; a horizontal segment runs right to left. A point counts as exchanged.
    const bool exchanged = y1 > y2 || (y1 == y2 && x1 <= x2);
    if (exchanged) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }

    const double We = Wk + 2;
    const float HalfW = static_cast<float>(We / 2 + 1);

    SegLength = std::sqrt(Sq(x2 - x1) + Sq(y2 - y1));
    SegLengthSq = SegLength * SegLength;
    NegDY = y1 - y2;
    DY = y2 - y1;
    DX = x2 - x1;

    const float XA = static_cast<float>(Clamp(x1, HalfW, W - 1 - double{HalfW}));
    const float XB = static_cast<float>(Clamp(x2, HalfW, W - 1 - double{HalfW}));
    const float YA = static_cast<float>(Clamp(y1, HalfW, H - 1 - double{HalfW}));
    const float YB = static_cast<float>(Clamp(y2, HalfW, H - 1 - double{HalfW}));

    const bool leftToRight = DX * DY >= 0 && DY != 0;
    const std::int64_t rowFirst = ToInt64(Round(double{YA} - HalfW));
    const std::int64_t rowEnd = ToInt64(Round(double{YB} + HalfW + 1));
    std::int64_t start = 0;
    std::int64_t colEnd = 0;
    if (leftToRight) {
        start = ToInt64(Round(double{XA} - HalfW));
        colEnd = ToInt64(Round(double{XB} + HalfW + 1));
    } else {
        start = ToInt64(Round(double{XA} + HalfW));
        colEnd = ToInt64(Round(double{XB} - HalfW - 1));
    }

    const double halfWe = We / 2;
    const int bpp = Bitmap.BytesPerPixel();
    // Draws pixel (c, r) and applies the skipping rules; false ends the row.
    auto visit = [&](std::int64_t c, std::int64_t r, std::uint8_t* row) {
        const double d =
            Evaluate(static_cast<double>(c), static_cast<double>(r), x1, y1, x2, y2, exchanged);
        const int coverage = Coverage(We, 2 * d);
        const auto alpha = static_cast<std::uint8_t>(
            ToInt64(RoundDown(Pattern(Style, Along + offset) * coverage * Opacity)));
        if (alpha != 0) {
            std::uint8_t* p = row + c * bpp;
            p[0] = Combine(Mode, penB, p[0], alpha);
            p[1] = Combine(Mode, penG, p[1], alpha);
            p[2] = Combine(Mode, penR, p[2], alpha);
        }
        if (leftToRight) {
            if (Across < 1 - halfWe)
                start = c;
            if (Across > halfWe)
                return false;
        } else {
            if (Across > halfWe - 1)
                start = c;
            if (Across < -halfWe)
                return false;
        }
        return true;
    };

    // The loops visit their first row and first column before testing the end. Clipping them to
    // the bitmap changes nothing while the bitmap is wider and higher than the line's box; for
    // smaller bitmaps it keeps every access inside.
    auto scanRow = [&](std::int64_t r) {
        std::uint8_t* row = Bitmap.ScanLine(static_cast<int>(r));
        const std::int64_t first = start;
        if (first >= 0 && first < W && !visit(first, r, row))
            return;
        if (leftToRight) {
            const std::int64_t last = std::min<std::int64_t>(colEnd, W);
            for (std::int64_t c = std::max<std::int64_t>(first + 1, 0); c < last; ++c)
                if (!visit(c, r, row))
                    return;
        } else {
            const std::int64_t last = std::max<std::int64_t>(colEnd, -1);
            for (std::int64_t c = std::min<std::int64_t>(first - 1, W - 1); c > last; --c)
                if (!visit(c, r, row))
                    return;
        }
    };
    if (rowFirst >= 0 && rowFirst < H)
        scanRow(rowFirst);
    const std::int64_t rowLast = std::min<std::int64_t>(rowEnd, H);
    for (std::int64_t r = std::max<std::int64_t>(rowFirst + 1, 0); r < rowLast; ++r)
        scanRow(r);
    return result;
}

} // namespace knob
