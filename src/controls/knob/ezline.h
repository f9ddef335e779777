// TEZLine: one straight segment at a time, with soft edges, round ends, fractional widths, the
// platform pen's sixteen modes blended by coverage, dash patterns that can run on from segment
// to segment, and an overall opacity. With anti-aliasing off the platform canvas draws instead.
#pragma once

#include "platform/vcl/core/graphics.h"

namespace knob {

class TEZLine {
public:
    // Create: the defaults below.
    TEZLine() = default;

    // Per-pixel outputs of the last evaluated pixel.
    double Along = 0;  // distance along the line from the caller's first end point
    double Across = 0; // signed perpendicular offset from the line
    double Param = 0;  // projection parameter, 0 at the first ordered end point, 1 at the second

    // Segment being drawn, after ordering.
    double SegLength = 0;
    double SegLengthSq = 0;
    double NegDY = 0;
    double DY = 0;
    double DX = 0;

    // Settings. Negative colours name system colours and are resolved through GetSysColor.
    vcl::TColor Color = 0x000000FF;
    double Width = 2.0;
    bool AntiAlias = true;
    vcl::TPenStyle Style = vcl::psSolid;
    vcl::TPenMode Mode = vcl::pmCopy;
    double Opacity = 1.0;
    double Phase = 0.0;
    bool EndCuts = true; // kept for callers; drawing ignores it

    // Stores every argument in the field of the same name; validates and draws nothing.
    void Configure(vcl::TColor AColor, bool AAntiAlias, double AWidth, double AOpacity,
                   double APhase, bool AEndCuts, vcl::TPenStyle AStyle, vcl::TPenMode AMode);

    // Draws (X1, Y1)-(X2, Y2) into a 24-bit bitmap (32-bit ones keep their alpha bytes) and
    // returns Phase plus the segment's length, or just Phase without a bitmap to draw into.
    // Store the result in Phase to run a dash pattern on into the next segment.
    double DrawLine(vcl::TBitmap* Bitmap, float X1, float Y1, float X2, float Y2);

private:
    double AntiAliasedPass(vcl::TBitmap& Bitmap, float X1, float Y1, float X2, float Y2);
    // Sets Along, Across and Param for pixel (c, r) and returns its distance from the capsule's
    // spine; the end points are the ordered ones.
    double Evaluate(double c, double r, double X1, double Y1, double X2, double Y2, bool exchanged);
};

} // namespace knob
