// Anti-aliased filled discs and rings drawn straight into a frame's pixel rows (24-bit; 32-bit
// frames keep their alpha bytes), each clipped to the frame and touching only the pixels within
// reach of its shape. Colours go through ColorToRGB first.
#pragma once

#include "platform/vcl/core/graphics.h"

#include <cstdint>

namespace knob {

struct TRGB {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    bool operator==(const TRGB&) const = default;
};

// alpha/255 of the foreground over the background, per channel, rounded halves to even.
TRGB BlendPixel(std::uint8_t bgR, std::uint8_t bgG, std::uint8_t bgB, std::uint8_t fgR,
                std::uint8_t fgG, std::uint8_t fgB, int alpha);

// Direction of pixel (x, y) seen from (CX, CY) in whole degrees counter-clockwise from the
// right, up being 90; 0..360 (360 just below the horizontal on the right, far out).
int PixelAngle(float CX, float CY, int x, int y);

// Disc of `radius` whose edge fades linearly over `edge` pixels centred on the radius.
void FillDiscAA(vcl::TBitmap& frame, vcl::TColor colour, float CX, float CY, double radius,
                double edge);

// Ring of `width` centred on `radius`; both edges fade over `softness` (at most `width`).
void DrawRingAA(vcl::TBitmap& frame, vcl::TColor colour, float CX, float CY, double radius,
                double width, double softness);

// Ring as DrawRingAA whose colour is colour1 for the directions Lo..Hi, colour2 opposite them,
// blended linearly between. The knob passes 0 <= Lo < 180 and Hi = Lo + 90.
void DrawShadedRing(vcl::TBitmap& frame, vcl::TColor colour1, float CX, float CY, double radius,
                    double width, double softness, vcl::TColor colour2, int Lo, int Hi);

} // namespace knob
