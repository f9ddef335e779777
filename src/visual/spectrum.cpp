#include "visual/spectrum.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace visual {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t SaturateInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp(v, kInt32Min, kInt32Max));
}

// Drawing coordinates are computed wide and pulled into a range far outside any bitmap, so
// extreme offsets or sizes neither overflow the canvas arithmetic nor change a visible pixel
// of the axis-aligned shapes drawn here.
constexpr std::int64_t kCoordLimit = std::int64_t{1} << 28;

int Coord(std::int64_t v) {
    return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

} // namespace

TSpectrum::TSpectrum(std::int32_t width, std::int32_t height)
    : BackBuffer(width, height), BackgroundBitmap(width, height) {
    // Start both pictures in the background colour rather than a fresh bitmap's white, so a
    // frame drawn without clearing, or over an untouched background, looks empty.
    for (vcl::TBitmap* bitmap : {&BackBuffer, &BackgroundBitmap}) {
        vcl::TCanvas& canvas = bitmap->Canvas();
        canvas.Brush.Color = BackgroundColor;
        canvas.FillRect(vcl::Rect(0, 0, bitmap->Width(), bitmap->Height()));
    }
}

std::int32_t TSpectrum::BandHeight(TFFTData data, int band) const {
    // A step outside the buffer reads silence instead of memory beyond it.
    const std::int64_t bin = FirstBin + std::int64_t{band} * BinStep;
    if (bin < 0 || bin >= static_cast<std::int64_t>(data.size()))
        return 0;
    const float s = std::fabs(data[static_cast<std::size_t>(bin)]);
    const double scaled = static_cast<double>(s) * HeightScale;
    // Saturate rather than wrap; a NaN magnitude counts as silence.
    std::int32_t h = 0;
    if (scaled >= static_cast<double>(kInt32Max))
        h = static_cast<std::int32_t>(kInt32Max);
    else if (scaled > 0.0)
        h = static_cast<std::int32_t>(scaled);
    return std::min(h, MaxBarHeight);
}

void TSpectrum::UpdateBand(int band, std::int32_t h) {
    std::int32_t& peak = PeakHeights[band];
    std::int32_t& bar = BarHeights[band];
    peak = h < peak ? SaturateInt32(std::int64_t{peak} - PeakFallOff) : h;
    bar = h < bar ? SaturateInt32(std::int64_t{bar} - BarFallOff) : h;
    peak = std::max(peak, 0);
    bar = std::max(bar, 0);
}

void TSpectrum::DrawLineBand(int band, std::int64_t X, std::int64_t bottom) {
    vcl::TCanvas& canvas = BackBuffer.Canvas();
    const int x = Coord(X + band);
    canvas.MoveTo(x, Coord(bottom));
    canvas.LineTo(x, Coord(bottom - BarHeights[band]));
    if (ShowPeaks)
        canvas.SetPixel(x, Coord(bottom - PeakHeights[band]), BarColor);
}

void TSpectrum::DrawBarBand(int band, std::int64_t X, std::int64_t bottom) {
    vcl::TCanvas& canvas = BackBuffer.Canvas();
    const std::int64_t left = X + std::int64_t{band} * (std::int64_t{BarWidth} + 1);
    const std::int64_t right = left + BarWidth;
    if (ShowPeaks) {
        const int top = Coord(bottom - PeakHeights[band]);
        canvas.Pen.Color = PeakColor;
        canvas.MoveTo(Coord(left), top);
        canvas.LineTo(Coord(right), top);
    }
    canvas.Pen.Color = BarColor;
    canvas.Brush.Color = BarColor;
    canvas.Rectangle(Coord(left), Coord(bottom - BarHeights[band]), Coord(right), Coord(bottom));
}

void TSpectrum::Draw(vcl::TCanvas& target, TFFTData data, std::int32_t X, std::int32_t Y) {
    vcl::TCanvas& canvas = BackBuffer.Canvas();
    const int w = BackBuffer.Width();
    const int h = BackBuffer.Height();

    if (ClearFrame) {
        canvas.Pen.Color = BackgroundColor;
        canvas.Brush.Color = BackgroundColor;
        canvas.Rectangle(0, 0, w, h);
        if (UseBackground) {
            const vcl::TRect whole =
                vcl::Rect(0, 0, BackgroundBitmap.Width(), BackgroundBitmap.Height());
            canvas.CopyRect(whole, BackgroundBitmap.Canvas(), whole);
        }
    }

    canvas.Pen.Color = BarColor;
    const std::int64_t bottom = std::int64_t{Y} + h;
    for (int band = 0; band < BandCount; ++band) {
        UpdateBand(band, BandHeight(data, band));
        if (DrawStyle == 0)
            DrawLineBand(band, X, bottom);
        else if (DrawStyle == 1)
            DrawBarBand(band, X, bottom);
    }

    vcl::BitBlt(target, 0, 0, w, h, canvas, 0, 0, vcl::SRCCOPY);
}

} // namespace visual
