// How the knob draws itself. For now a plain disc of Color over the parent's background, the
// state ring and the direction mark; every pass already composes off screen and reaches the
// screen in one block copy, and each pass is entered from the same places as the full renderer.
#include "controls/knob/knob.h"

#include "controls/knob/ezline.h"
#include "platform/vcl/stdctrls.h"

#include <cmath>
#include <numbers>

using namespace vcl;

namespace {

constexpr TColor StateDisabled = 0x808080;
constexpr TColor StateActive = 0x000000;
constexpr TColor StateIdle = 0x3F3F3F;

} // namespace

void TKnob::Paint() {
    TBitmap frame(FDiameter, FDiameter, pf24bit);
    ComposeBody(frame, true);
    DrawStateRing(frame, false);
    DrawIndicator(frame);
    ShowFrame(frame);
}

void TKnob::Redraw() {
    TBitmap frame(FDiameter, FDiameter, pf24bit);
    ComposeBody(frame, false);
    DrawStateRing(frame, false);
    DrawIndicator(frame);
    ShowFrame(frame);
    Present();
}

void TKnob::RefreshState() {
    TBitmap frame(FDiameter, FDiameter, pf24bit);
    DrawStateRing(frame, true);
    DrawIndicator(frame);
    ShowFrame(frame);
    Present();
}

void TKnob::ShowFrame(const TBitmap& frame) {
    BitBlt(Canvas(), 0, 0, FDiameter, FDiameter, frame.Canvas(), 0, 0, SRCCOPY);
}

void TKnob::ComposeBody(TBitmap& frame, bool captureParent) {
    const int d = FDiameter;
    if (captureParent) {
        ParentBackground(frame);
        BitBlt(FFaceBitmap.Canvas(), 0, 0, d, d, frame.Canvas(), 0, 0, SRCCOPY);
    } else {
        BitBlt(frame.Canvas(), 0, 0, d, d, FFaceBitmap.Canvas(), 0, 0, SRCCOPY);
    }
    TCanvas& c = frame.Canvas();
    const TColor face = ColorToRGB(Color());
    c.Brush.Style = bsSolid;
    c.Brush.Color = face;
    c.Pen.Color = face;
    c.Pen.Width = 1;
    c.Pen.Style = psSolid;
    c.Pen.Mode = pmCopy;
    const int inset = FDrawBorder ? 3 : 1;
    c.Ellipse(inset, inset, d - inset, d - inset);
    BitBlt(FComposedBitmap.Canvas(), 0, 0, d, d, frame.Canvas(), 0, 0, SRCCOPY);
}

void TKnob::DrawStateRing(TBitmap& frame, bool fromComposed) {
    if (FPositionLabel)
        FPositionLabel->SetEnabled(Enabled());
    const int d = FDiameter;
    if (fromComposed)
        BitBlt(frame.Canvas(), 0, 0, d, d, FComposedBitmap.Canvas(), 0, 0, SRCCOPY);
    if (!FDrawBorder)
        return;
    TColor colour = StateIdle;
    if (!Enabled())
        colour = StateDisabled;
    else if (FDragging || (FShowFocusedState && Focused()))
        colour = StateActive;
    TCanvas& c = frame.Canvas();
    c.Brush.Style = bsClear;
    c.Pen.Color = colour;
    c.Pen.Width = 1;
    c.Pen.Style = psSolid;
    c.Pen.Mode = pmCopy;
    c.Ellipse(1, 1, d - 1, d - 1);
    c.Brush.Style = bsSolid;
}

void TKnob::DrawIndicator(TBitmap& frame) {
    const float r = FRadius;
    const float a = static_cast<float>(FAngle * std::numbers::pi / 180.0);
    const float cs = std::cos(a);
    const float sn = std::sin(a);
    float k = FDrawBorder ? 6.0f : 3.0f;
    if (FIndicatorType == itLine) {
        k += FLineWidth / 2.0f;
        const float outer = r - k;
        const float inner = r - k - FLineLength;
        FLineRenderer->Phase = 0.0;
        FLineRenderer->DrawLine(&frame, r + inner * cs, r - inner * sn, r + outer * cs,
                                r - outer * sn);
    } else {
        const float mr = FLineLength / 2.0f;
        const float dist = r - k - 1.0f - mr;
        const float cx = r + dist * cs;
        const float cy = r - dist * sn;
        TCanvas& c = frame.Canvas();
        const TColor mark = ColorToRGB(FLineColor);
        c.Brush.Style = bsSolid;
        c.Brush.Color = mark;
        c.Pen.Color = mark;
        c.Pen.Width = 1;
        c.Ellipse(static_cast<int>(std::lround(cx - mr)), static_cast<int>(std::lround(cy - mr)),
                  static_cast<int>(std::lround(cx + mr)) + 1,
                  static_cast<int>(std::lround(cy + mr)) + 1);
    }
}

void TKnob::BuildMask() {
    TCanvas& c = FMaskBitmap.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBlack;
    c.FillRect(Rect(0, 0, FMaskBitmap.Width(), FMaskBitmap.Height()));
    c.Pen.Width = 1;
    c.Pen.Style = psSolid;
    c.Pen.Mode = pmCopy;
    c.Pen.Color = clWhite;
    c.Brush.Color = clWhite;
    c.Ellipse(2, 2, Width() - 2, Height() - 2);
}

void TKnob::FillFace(TBitmap& target) {
    TCanvas& c = target.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = ColorToRGB(Color());
    c.FillRect(Rect(0, 0, ClientWidth(), ClientHeight()));
    if (FKnobImage->Empty())
        return;
    // Centre the picture per axis: a smaller picture sits in the middle, a larger one shows its
    // middle part.
    auto place = [](int targetSize, int pictureSize, int& dest, int& src, int& extent) {
        if (targetSize > pictureSize) {
            dest = (targetSize - pictureSize) / 2;
            src = 0;
            extent = pictureSize;
        } else {
            dest = 0;
            src = (pictureSize - targetSize) / 2;
            extent = targetSize;
        }
    };
    int dx, sx, w, dy, sy, h;
    place(target.Width(), FKnobImage->Width(), dx, sx, w);
    place(target.Height(), FKnobImage->Height(), dy, sy, h);
    BitBlt(c, dx, dy, w, h, FKnobImage->Canvas(), sx, sy, SRCCOPY);
    FFaceReady = true;
}
