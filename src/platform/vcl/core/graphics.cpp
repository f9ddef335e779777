#include "platform/vcl/core/graphics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vcl {

namespace {

// The classic light theme's system colours, indices 0..30, as 0x00BBGGRR.
constexpr std::uint32_t kSysColors[] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xD77800, 0xF0F0F0};

std::uint32_t Rop2(TPenMode mode, std::uint32_t pen, std::uint32_t dst) {
    switch (mode) {
    case pmBlack:
        return 0;
    case pmWhite:
        return 0xFFFFFF;
    case pmNop:
        return dst;
    case pmNot:
        return ~dst;
    case pmCopy:
        return pen;
    case pmNotCopy:
        return ~pen;
    case pmMergePenNot:
        return pen | ~dst;
    case pmMaskPenNot:
        return pen & ~dst;
    case pmMergeNotPen:
        return ~pen | dst;
    case pmMaskNotPen:
        return ~pen & dst;
    case pmMerge:
        return pen | dst;
    case pmNotMerge:
        return ~(pen | dst);
    case pmMask:
        return pen & dst;
    case pmNotMask:
        return ~(pen & dst);
    case pmXor:
        return pen ^ dst;
    case pmNotXor:
        return ~(pen ^ dst);
    }
    return dst;
}

// On/off runs of the platform's cosmetic dashed pens, in pixels.
bool DashOn(TPenStyle style, int step) {
    auto in = [step](std::initializer_list<int> runs) {
        int period = 0;
        for (int r : runs)
            period += r;
        int pos = step % period;
        bool on = true;
        for (int r : runs) {
            if (pos < r)
                return on;
            pos -= r;
            on = !on;
        }
        return on;
    };
    switch (style) {
    case psDash:
        return in({18, 6});
    case psDot:
        return in({3, 3});
    case psDashDot:
        return in({9, 6, 3, 6});
    case psDashDotDot:
        return in({9, 3, 3, 3, 3, 3});
    case psClear:
        return false;
    default:
        return true;
    }
}

} // namespace

std::uint32_t GetSysColor(std::int64_t index) {
    if (index < 0 || index >= static_cast<std::int64_t>(std::size(kSysColors)))
        return 0;
    return kSysColors[index];
}

TColor ColorToRGB(TColor color) {
    if (static_cast<std::uint32_t>(color) >> 24 == 0xFF)
        return static_cast<TColor>(GetSysColor(color & 0xFF));
    return color & 0xFFFFFF;
}

// ---------------------------------------------------------------------------------------------

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
    Reallocate(width, height, format);
}

TBitmap::TBitmap(const TBitmap& other)
    : FWidth(other.FWidth), FHeight(other.FHeight), FPixelFormat(other.FPixelFormat),
      FStride(other.FStride), FPixels(other.FPixels), FCanvas(std::make_unique<TCanvas>(*this)) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) {
        FWidth = other.FWidth;
        FHeight = other.FHeight;
        FPixelFormat = other.FPixelFormat;
        FStride = other.FStride;
        FPixels = other.FPixels;
    }
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Reallocate(int w, int h, TPixelFormat format) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (format == pfDevice)
        format = pf24bit;
    const int bpp = format == pf24bit ? 3 : 4;
    const int stride = (w * bpp + 3) & ~3;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * h, 0xFF);
    const int keepW = std::min(w, FWidth);
    const int keepH = std::min(h, FHeight);
    for (int y = 0; y < keepH; ++y) {
        for (int x = 0; x < keepW; ++x) {
            const TColor c = GetPixel(x, y);
            std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * stride + x * bpp;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            if (bpp == 4)
                p[3] = FPixelFormat == pf32bit ? ScanLine(y)[x * 4 + 3] : 0xFF;
        }
    }
    FWidth = w;
    FHeight = h;
    FPixelFormat = format;
    FStride = stride;
    FPixels = std::move(pixels);
}

void TBitmap::SetSize(int w, int h) {
    if (w != FWidth || h != FHeight)
        Reallocate(w, h, FPixelFormat);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == pfDevice)
        format = pf24bit;
    if (format != FPixelFormat)
        Reallocate(FWidth, FHeight, format);
}

TColor TBitmap::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return -1;
    const std::uint8_t* p = ScanLine(y) + x * BytesPerPixel();
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::PutPixel(int x, int y, TColor rgb) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return;
    std::uint8_t* p = ScanLine(y) + x * BytesPerPixel();
    p[0] = GetBValue(rgb);
    p[1] = GetGValue(rgb);
    p[2] = GetRValue(rgb);
}

// ---------------------------------------------------------------------------------------------

void TCanvas::PlotPen(int x, int y, std::uint32_t rgb) {
    const int w = std::max(Pen.Width, 1);
    if (w == 1 && Pen.Mode == pmCopy) {
        FTarget->PutPixel(x, y, static_cast<TColor>(rgb));
        return;
    }
    const int x0 = x - (w - 1) / 2;
    const int y0 = y - (w - 1) / 2;
    for (int dy = 0; dy < w; ++dy) {
        for (int dx = 0; dx < w; ++dx) {
            if (w > 2) {
                // Wide pens are round, as the platform's geometric pens with round ends.
                const double cx = dx - (w - 1) / 2.0;
                const double cy = dy - (w - 1) / 2.0;
                if (cx * cx + cy * cy > (w / 2.0) * (w / 2.0))
                    continue;
            }
            const TColor dst = FTarget->GetPixel(x0 + dx, y0 + dy);
            if (dst < 0)
                continue;
            FTarget->PutPixel(x0 + dx, y0 + dy,
                              static_cast<TColor>(
                                  Rop2(Pen.Mode, rgb, static_cast<std::uint32_t>(dst)) & 0xFFFFFF));
        }
    }
}

void TCanvas::LineTo(int x, int y) {
    const int x0 = PenPos.X;
    const int y0 = PenPos.Y;
    PenPos = {x, y};
    if (Pen.Style == psClear)
        return;
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(Pen.Color));
    const int dx = std::abs(x - x0);
    const int dy = std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1;
    const int sy = y0 < y ? 1 : -1;
    int err = dx - dy;
    int cx = x0;
    int cy = y0;
    int step = 0;
    // Bresenham; the end point itself is left out, as the platform does.
    while (cx != x || cy != y) {
        if (Pen.Width > 1 || DashOn(Pen.Style, step))
            PlotPen(cx, cy, rgb);
        ++step;
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            cx += sx;
        }
        if (e2 < dx) {
            err += dx;
            cy += sy;
        }
    }
}

void TCanvas::FillRect(const TRect& r) {
    if (Brush.Style == bsClear)
        return;
    const TColor c = ColorToRGB(Brush.Color);
    const int l = std::max(r.Left, 0), t = std::max(r.Top, 0);
    const int rr = std::min(r.Right, FTarget->Width()), b = std::min(r.Bottom, FTarget->Height());
    if (l >= rr || t >= b)
        return;
    // Fill the first row pixel by pixel, then copy it: fills run every frame of the spectrum.
    const int bpp = FTarget->BytesPerPixel();
    std::uint8_t* first = FTarget->ScanLine(t) + l * bpp;
    for (int x = l; x < rr; ++x)
        FTarget->PutPixel(x, t, c);
    const std::size_t bytes = static_cast<std::size_t>(rr - l) * bpp;
    for (int y = t + 1; y < b; ++y)
        std::memcpy(FTarget->ScanLine(y) + l * bpp, first, bytes);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (Pen.Style == psClear) {
        // Without an outline the platform fills one pixel less on the right and at the bottom.
        FillRect(Rect(x1, y1, x2 - 1, y2 - 1));
        return;
    }
    FillRect(Rect(x1, y1, x2, y2));
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    const auto pen = static_cast<std::uint32_t>(ColorToRGB(Pen.Color));
    const int saved = Pen.Width;
    Pen.Width = 1;
    // Only the visible part of the outline is walked, so huge rectangles stay cheap.
    for (int x = std::max(x1, 0); x < std::min(x2, FTarget->Width()); ++x) {
        PlotPen(x, y1, pen);
        if (y2 - 1 != y1)
            PlotPen(x, y2 - 1, pen);
    }
    for (int y = std::max(y1 + 1, 0); y < std::min(y2 - 1, FTarget->Height()); ++y) {
        PlotPen(x1, y, pen);
        if (x2 - 1 != x1)
            PlotPen(x2 - 1, y, pen);
    }
    Pen.Width = saved;
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    if (rx <= 0 || ry <= 0)
        return;
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    auto inside = [&](int x, int y) {
        const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    const TColor brush = ColorToRGB(Brush.Color);
    const TColor pen = ColorToRGB(Pen.Color);
    const bool outline = Pen.Style != psClear;
    for (int y = std::max(y1, 0); y < std::min(y2, FTarget->Height()); ++y) {
        for (int x = std::max(x1, 0); x < std::min(x2, FTarget->Width()); ++x) {
            if (!inside(x, y))
                continue;
            const bool edge =
                !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge && outline)
                FTarget->PutPixel(x, y, pen);
            else if (Brush.Style != bsClear)
                FTarget->PutPixel(x, y, brush);
        }
    }
}

TColor TCanvas::Pixel(int x, int y) const {
    return FTarget->GetPixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    FTarget->PutPixel(x, y, ColorToRGB(color));
}

void TCanvas::CopyRect(const TRect& to, const TCanvas& src, const TRect& from) {
    BitBlt(*this, to.Left, to.Top, std::min(to.Width(), from.Width()),
           std::min(to.Height(), from.Height()), src, from.Left, from.Top, SRCCOPY);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    BitBlt(*this, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas(), 0, 0, SRCCOPY);
}

void BitBlt(TCanvas& dest, int x, int y, int w, int h, const TCanvas& src, int sx, int sy,
            TRasterOp rop) {
    TBitmap& d = dest.Bitmap();
    const TBitmap& s = src.Bitmap();
    // Clip against the source and the destination together.
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    if (x < 0) {
        sx -= x;
        w += x;
        x = 0;
    }
    if (y < 0) {
        sy -= y;
        h += y;
        y = 0;
    }
    w = std::min({w, d.Width() - x, s.Width() - sx});
    h = std::min({h, d.Height() - y, s.Height() - sy});
    if (w <= 0 || h <= 0)
        return;
    const int dbpp = d.BytesPerPixel(), sbpp = s.BytesPerPixel();
    for (int row = 0; row < h; ++row) {
        std::uint8_t* dp = d.ScanLine(y + row) + x * dbpp;
        const std::uint8_t* sp = s.ScanLine(sy + row) + sx * sbpp;
        if (rop == SRCCOPY && dbpp == sbpp && &d != &s) {
            std::memcpy(dp, sp, static_cast<std::size_t>(w) * dbpp);
            continue;
        }
        for (int i = 0; i < w; ++i, dp += dbpp, sp += sbpp) {
            const int n = std::min(dbpp, sbpp);
            for (int c = 0; c < n; ++c) {
                switch (rop) {
                case SRCCOPY:
                    dp[c] = sp[c];
                    break;
                case SRCPAINT:
                    dp[c] |= sp[c];
                    break;
                case SRCAND:
                    dp[c] &= sp[c];
                    break;
                case SRCINVERT:
                    dp[c] ^= sp[c];
                    break;
                }
            }
            if (dbpp == 4 && sbpp == 3 && rop == SRCCOPY)
                dp[3] = 0;
        }
    }
}

} // namespace vcl
