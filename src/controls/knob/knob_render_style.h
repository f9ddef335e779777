// The knob's look as plain numbers: which face it has, how its bevel is shaded for a direction,
// the colour of its state ring and how far the mark sits from the edge. Kept apart from the
// drawing so each rule can be checked on its own.
#pragma once

#include "platform/vcl/core/graphics.h"

namespace knob {

enum class TFaceMode { Plain, Picture, Transparent };

// Decided afresh at every pass: transparency wins over a picture.
constexpr TFaceMode FaceModeOf(bool transparent, bool imageEmpty) {
    if (transparent)
        return TFaceMode::Transparent;
    return imageEmpty ? TFaceMode::Plain : TFaceMode::Picture;
}

inline constexpr vcl::TColor BevelLight = 0xDFDFDF;
inline constexpr vcl::TColor BevelDark = 0x7F7F7F;
inline constexpr vcl::TColor BevelInner = 0xEFEFEF;
inline constexpr vcl::TColor RimColour = 0xFFFFFF;

// Arguments of the shaded ring for the knob's direction: light grey over theta+30..theta+120,
// dark grey opposite, so the shading turns with the value. Lo stays within 0..180 as the ring
// expects, which is why the colour pair swaps between the bands of directions.
struct TBevelShading {
    vcl::TColor Colour1;
    vcl::TColor Colour2;
    int Lo;
    int Hi;
};

constexpr TBevelShading BevelShading(int theta) {
    // Values only ever point between -60 and 240; anything else is folded into -60..300, the
    // directions of the bottom gap taking the first row, whose Lo still stays below 180.
    if (theta < -60 || theta >= 300)
        theta = ((theta + 60) % 360 + 360) % 360 - 60;
    if (theta >= 150)
        return {BevelDark, BevelLight, theta - 150, theta - 60};
    if (theta >= -30)
        return {BevelLight, BevelDark, theta + 30, theta + 120};
    return {BevelDark, BevelLight, theta + 210, theta + 300};
}

inline constexpr vcl::TColor StateDisabled = 0x808080;
inline constexpr vcl::TColor StateActive = 0x000000;
inline constexpr vcl::TColor StateIdle = 0x3F3F3F;

constexpr vcl::TColor StateRingColour(bool enabled, bool dragging, bool showFocusedState,
                                      bool focused) {
    if (!enabled)
        return StateDisabled;
    if (dragging || (showFocusedState && focused))
        return StateActive;
    return StateIdle;
}

// Distance of the mark from the knob's edge before the mark's own size is counted: clear of the
// bevel and state ring when they are drawn, of the face's soft edge otherwise.
constexpr float IndicatorInset(bool drawBorder, TFaceMode mode) {
    if (!drawBorder)
        return 3.0f;
    return mode == TFaceMode::Plain ? 6.0f : 5.0f;
}

} // namespace knob
