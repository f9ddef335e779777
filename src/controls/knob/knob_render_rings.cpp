// The knob's rings and direction mark, drawn over the composed body: the bevel (shaded to turn
// with the value on a plain face, a white rim around a picture), the state ring and the mark.
#include "controls/knob/disc_ring.h"
#include "controls/knob/ezline.h"
#include "controls/knob/knob.h"
#include "controls/knob/knob_render_style.h"
#include "platform/vcl/stdctrls.h"

#include <cmath>
#include <numbers>

using namespace vcl;
using knob::TFaceMode;

void TKnob::DrawBevel(TBitmap& frame) {
    if (!FDrawBorder)
        return;
    const float r = FRadius;
    if (knob::FaceModeOf(FTransparent, FKnobImage->Empty()) == TFaceMode::Plain) {
        const knob::TBevelShading s = knob::BevelShading(FAngle);
        knob::DrawShadedRing(frame, s.Colour1, r, r, r - 2.4, 1.8, 1.0, s.Colour2, s.Lo, s.Hi);
        knob::DrawRingAA(frame, knob::BevelInner, r, r, r - 3.8, 0.8, 0.8);
    } else {
        knob::DrawRingAA(frame, knob::RimColour, r, r, r - 2.5, 1.0, 1.0);
    }
    BitBlt(FComposedBitmap.Canvas(), 0, 0, FDiameter, FDiameter, frame.Canvas(), 0, 0, SRCCOPY);
}

void TKnob::DrawStateRing(TBitmap& frame, bool fromComposed) {
    if (FPositionLabel)
        FPositionLabel->SetEnabled(Enabled());
    if (fromComposed)
        BitBlt(frame.Canvas(), 0, 0, FDiameter, FDiameter, FComposedBitmap.Canvas(), 0, 0, SRCCOPY);
    if (!FDrawBorder)
        return;
    const TColor colour = knob::StateRingColour(Enabled(), FDragging, FShowFocusedState, Focused());
    knob::DrawRingAA(frame, colour, FRadius, FRadius, FRadius - 1.0, 1.0, 1.0);
}

void TKnob::DrawIndicator(TBitmap& frame) {
    const TFaceMode mode = knob::FaceModeOf(FTransparent, FKnobImage->Empty());
    // A plain face always shows where it points; only a picture may hide its mark.
    if (!FShowIndicator && mode != TFaceMode::Plain)
        return;
    const float r = FRadius;
    const float a = static_cast<float>(FAngle * std::numbers::pi / 180.0);
    const float c = static_cast<float>(std::cos(double{a}));
    const float s = static_cast<float>(std::sin(double{a}));
    float k = knob::IndicatorInset(FDrawBorder, mode);
    if (FIndicatorType == itLine) {
        k += FLineWidth / 2.0f;
        const float outer = r - k;
        const float inner = r - k - FLineLength;
        // Colour and width come from the renderer, kept in step by the property setters.
        FLineRenderer->Phase = 0.0;
        FLineRenderer->DrawLine(&frame, r + inner * c, r - inner * s, r + outer * c, r - outer * s);
    } else {
        const float markRadius = FLineLength / 2.0f;
        const float d = r - k - 1.0f - markRadius;
        knob::FillDiscAA(frame, FLineColor, r + d * c, r - d * s, markRadius, 1.6);
    }
}
