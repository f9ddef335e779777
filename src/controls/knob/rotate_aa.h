// RotateBitmapAA: turns a 24- or 32-bit picture by any angle, optionally scaled, into a new
// 32-bit picture the size of the turned picture's bounding box. Each result pixel blends the four
// nearest source pixels bilinearly; the border is blended with a background colour or faded out
// through alpha, and one colour can be made transparent.
#pragma once

#include "platform/vcl/core/graphics.h"

#include <memory>

namespace knob {

// Cosine of x degrees, exact at whole multiples of 30 so quarter turns move pixels without blur.
double ExactCos(double x);

// Ceiling that ignores an excess of less than 1e-9 above an integer.
double TolerantCeil(double x);

// Angle brought into 0 up to but excluding 360; a negative whole multiple of 360 gives 360.
double NormalizeAngle(double Angle);

// Scale limited so the result is at least 5 pixels across and between 0.1 and 10 times the source;
// pictures of 5 pixels or less in either direction are never reduced.
double LimitScale(double Scale, int Width, int Height);

// Turns Bitmap clockwise (as seen on screen) by Angle degrees. BackColor (its low three bytes)
// fills the result outside the picture and, with FillEdges, the border; with ColorKey it names
// the transparent colour instead. UseAlpha applies to 32-bit sources only. Returns nothing for an
// empty source or one that is neither pf24bit nor pf32bit; the caller owns the result.
std::unique_ptr<vcl::TBitmap> RotateBitmapAA(const vcl::TBitmap& Bitmap, double Angle,
                                             vcl::TColor BackColor, bool ColorKey, bool UseAlpha,
                                             bool FillEdges, double Scale);

} // namespace knob
