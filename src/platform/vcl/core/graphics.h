// Raster graphics in the shape the program's drawing code expects from the platform: colours,
// bitmaps with row memory, and a canvas with a pen, a brush and the few GDI operations the
// renderers use. Pixels are exact and owned by us; Qt only shows finished frames.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vcl {

// 0x00BBGGRR; a top byte of 0xFF names a system colour by its low byte.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index));
}
inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);

// RGB of system colour `index` as 0x00BBGGRR; indices outside the table give 0.
std::uint32_t GetSysColor(std::int64_t index);
// A system colour turned into its current RGB value; plain colours pass through (low 3 bytes).
TColor ColorToRGB(TColor color);

inline constexpr std::uint8_t GetRValue(TColor c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
inline constexpr std::uint8_t GetGValue(TColor c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
inline constexpr std::uint8_t GetBValue(TColor c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}
inline constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum TPixelFormat : std::uint8_t { pfDevice, pf24bit, pf32bit };

enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};

enum TPenMode : std::uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

// Raster operations of BitBlt.
enum TRasterOp : std::uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086, // dest OR source
    SRCAND = 0x008800C6,   // dest AND source
    SRCINVERT = 0x00660046 // dest XOR source
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};
inline TRect Rect(int l, int t, int r, int b) {
    return TRect{l, t, r, b};
}

struct TPoint {
    int X = 0, Y = 0;
};

class TPen {
public:
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

class TBrush {
public:
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

class TBitmap;

// Draws into the pixels of one bitmap. Coordinates outside the bitmap are clipped.
class TCanvas {
public:
    explicit TCanvas(TBitmap& target) : FTarget(&target) {}

    TPen Pen;
    TBrush Brush;
    TPoint PenPos;

    TBitmap& Bitmap() const { return *FTarget; }

    void MoveTo(int x, int y) { PenPos = {x, y}; }
    // Draws from the pen position up to, but not including, (x, y) with the pen's colour, width,
    // style and mode; the pen position becomes (x, y).
    void LineTo(int x, int y);
    // Fills x1..x2-1 by y1..y2-1 with the brush and outlines it with the pen (if not psClear).
    void Rectangle(int x1, int y1, int x2, int y2);
    void FillRect(const TRect& r);
    // Ellipse inscribed in x1..x2-1 by y1..y2-1: filled with the brush, outlined with the pen.
    void Ellipse(int x1, int y1, int x2, int y2);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Copies src's rectangle `from` into this canvas's rectangle `to` (same size only).
    void CopyRect(const TRect& to, const TCanvas& src, const TRect& from);
    void Draw(int x, int y, const TBitmap& bitmap);

private:
    void PlotPen(int x, int y, std::uint32_t rgb);
    TBitmap* FTarget;
};

// A device-independent bitmap: rows top to bottom, each row padded to 4 bytes.
class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap();

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    void SetWidth(int w) { SetSize(w, FHeight); }
    void SetHeight(int h) { SetSize(FWidth, h); }
    // Keeps the overlapping pixels; new pixels are white (0xFF bytes), as a fresh GDI bitmap.
    void SetSize(int w, int h);
    void SetPixelFormat(TPixelFormat format);

    int BytesPerPixel() const { return FPixelFormat == pf24bit ? 3 : 4; }
    int RowStride() const { return FStride; }
    std::uint8_t* ScanLine(int y) { return FPixels.data() + static_cast<std::size_t>(y) * FStride; }
    const std::uint8_t* ScanLine(int y) const {
        return FPixels.data() + static_cast<std::size_t>(y) * FStride;
    }

    // Pixel as 0x00BBGGRR; out of range gives -1 (CLR_INVALID).
    TColor GetPixel(int x, int y) const;
    void PutPixel(int x, int y, TColor rgb);

    TCanvas& Canvas() { return *FCanvas; }
    const TCanvas& Canvas() const { return *FCanvas; }

private:
    void Reallocate(int w, int h, TPixelFormat format);
    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pf24bit;
    int FStride = 0;
    std::vector<std::uint8_t> FPixels;
    std::unique_ptr<TCanvas> FCanvas;
};

// Block transfer between canvases; clipped to both bitmaps.
void BitBlt(TCanvas& dest, int x, int y, int w, int h, const TCanvas& src, int sx, int sy,
            TRasterOp rop);

} // namespace vcl
