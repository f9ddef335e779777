// How the knob draws itself: every pass composes a whole Diameter-square frame off screen and
// reaches the screen in one block copy, so the control never shows a half-drawn state. The body
// (face and disc cut-out) is composed here; the rings and the mark are in knob_render_rings.cpp.
#include "controls/knob/knob.h"

#include "controls/knob/disc_ring.h"
#include "controls/knob/knob_render_style.h"
#include "controls/knob/rotate_aa.h"

#include <memory>

using namespace vcl;
using knob::TFaceMode;

namespace {

TFaceMode ModeOf(bool transparent, const TBitmap& image) {
    return knob::FaceModeOf(transparent, image.Empty());
}

void Copy(TBitmap& dest, const TBitmap& src, int side) {
    BitBlt(dest.Canvas(), 0, 0, side, side, src.Canvas(), 0, 0, SRCCOPY);
}

// A disc filling the box (2, 2)-(w-2, h-2), in `disc` on `field`: the mask and its complement
// are drawn by this one routine so that they can never disagree about a pixel.
void DrawDiscMask(TBitmap& target, int w, int h, TColor field, TColor disc) {
    TCanvas& c = target.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = field;
    c.FillRect(Rect(0, 0, target.Width(), target.Height()));
    c.Pen.Width = 1;
    c.Pen.Style = psSolid;
    c.Pen.Mode = pmCopy;
    c.Pen.Color = disc;
    c.Brush.Color = disc;
    c.Ellipse(2, 2, w - 2, h - 2);
}

} // namespace

void TKnob::Paint() {
    TBitmap frame(FDiameter, FDiameter, pf24bit);
    ComposeBody(frame, true);
    if (FDrawBorder)
        DrawBevel(frame);
    DrawStateRing(frame, false);
    DrawIndicator(frame);
    ShowFrame(frame);
}

void TKnob::Redraw() {
    TBitmap frame(FDiameter, FDiameter, pf24bit);
    ComposeBody(frame, false);
    if (FDrawBorder)
        DrawBevel(frame);
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
    const float r = FRadius;
    const TFaceMode mode = ModeOf(FTransparent, *FKnobImage);
    if (captureParent)
        CaptureParentBackground(frame);

    if (mode == TFaceMode::Plain) {
        if (captureParent)
            Copy(FFaceBitmap, frame, d);
        else
            Copy(frame, FFaceBitmap, d);
        knob::FillDiscAA(frame, Color(), r, r, FDrawBorder ? r - 3.5 : r - 1.5, 1.4);
    } else {
        if (captureParent)
            BuildOutsideBitmap(frame, FOutsideBitmap);
        if (mode == TFaceMode::Transparent) {
            if (captureParent)
                Copy(FFaceBitmap, frame, d);
        } else if (!FFaceReady) {
            FillFace(FFaceBitmap);
        }

        TBitmap body(d, d, pf24bit);
        std::unique_ptr<TBitmap> turned;
        if (FRotateImage) {
            // 0 at Min and growing with the value; a positive angle turns clockwise on screen,
            // the way the mark moves.
            turned =
                knob::RotateBitmapAA(FFaceBitmap, 240.0 - FAngle, clWhite, false, false, true, 1.0);
        }
        if (turned) {
            // The turned picture is as large as its bounding box; its middle is the face.
            BitBlt(body.Canvas(), 0, 0, d, d, turned->Canvas(), (turned->Width() - d) / 2,
                   (turned->Height() - d) / 2, SRCCOPY);
        } else {
            // Not turning, or nothing to turn: the face as it stands.
            Copy(body, FFaceBitmap, d);
        }
        // Face inside the disc, black outside; then the background fills exactly the black.
        BitBlt(body.Canvas(), 0, 0, d, d, FMaskBitmap.Canvas(), 0, 0, SRCAND);
        BitBlt(body.Canvas(), 0, 0, d, d, FOutsideBitmap.Canvas(), 0, 0, SRCPAINT);
        Copy(frame, body, d);
    }

    if (!FDrawBorder)
        Copy(FComposedBitmap, frame, d);
}

void TKnob::CaptureParentBackground(TBitmap& frame) {
    if (!Parent())
        return;
    // Composed from what the window shows around the knob, without asking anything to paint
    // the knob itself, so capturing cannot come back here.
    TBitmap under;
    ParentBackground(under);
    BitBlt(frame.Canvas(), 0, 0, frame.Width(), frame.Height(), under.Canvas(), 0, 0, SRCCOPY);
}

void TKnob::BuildMask() {
    DrawDiscMask(FMaskBitmap, Width(), Height(), clBlack, clWhite);
}

void TKnob::BuildOutsideBitmap(const TBitmap& source, TBitmap& target) {
    TBitmap hole(FDiameter, FDiameter, pf24bit);
    DrawDiscMask(hole, Width(), Height(), clWhite, clBlack);
    BitBlt(target.Canvas(), 0, 0, Width(), Height(), source.Canvas(), 0, 0, SRCCOPY);
    BitBlt(target.Canvas(), 0, 0, Width(), Height(), hole.Canvas(), 0, 0, SRCAND);
}

void TKnob::FillFace(TBitmap& target) {
    TCanvas& c = target.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = ColorToRGB(Color());
    c.FillRect(Rect(0, 0, ClientWidth(), ClientHeight()));
    if (FKnobImage->Empty())
        return;
    // Per axis: a smaller picture sits in the middle, a larger one shows its middle part.
    struct Span {
        int dest, src, extent;
    };
    auto place = [](int targetSize, int pictureSize) {
        if (targetSize > pictureSize)
            return Span{(targetSize - pictureSize) / 2, 0, pictureSize};
        return Span{0, (pictureSize - targetSize) / 2, targetSize};
    };
    const Span x = place(target.Width(), FKnobImage->Width());
    const Span y = place(target.Height(), FKnobImage->Height());
    BitBlt(c, x.dest, y.dest, x.extent, y.extent, FKnobImage->Canvas(), x.src, y.src, SRCCOPY);
    FFaceReady = true;
}
