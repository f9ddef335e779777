// The knob's arithmetic, kept apart from the window so it can be reasoned about on its own:
// value <-> direction mapping, pointer direction, the press test, keys, squaring and the
// clamping of the mark's size. Angles are whole degrees counter-clockwise from "right", with the
// sweep running from 240 (Min, lower left) clockwise over the top to -60 (Max, lower right).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace knob {

inline constexpr int MinAngle = 240;
inline constexpr int MaxAngle = -60;
inline constexpr int Sweep = 300;

// Rounds to the nearest integer, halves to the even neighbour.
long long RoundHalfEven(double v);

// 300 / (max - min) as a 32-bit float; 0 when the range is empty, negative when reversed.
float DegreesPerUnit(int min, int max);

// Direction of `position`: 240 - round((position - min) * degreesPerUnit).
int PositionToAngle(int position, int min, float degreesPerUnit);

// Value under direction `angle`: round((240 - angle) / degreesPerUnit) + min, or min for an
// empty range. The result is kept inside the range so float error on huge ranges cannot
// overflow.
int AngleToPosition(int angle, int min, int max, float degreesPerUnit);

// Brings p into the range. In a reversed range (degreesPerUnit < 0) a value beyond either end
// goes to the opposite end, which is how the knob has always behaved there.
int ClampPosition(int p, int min, int max, float degreesPerUnit);

// Direction of the point (x, y) seen from the centre of a width x height control, with the
// bottom gap snapped to the nearer end of the sweep.
int PointerAngle(int x, int y, int width, int height);

// True when the pixel (x, y) lies inside the ellipse inscribed in (0, 0, width, height).
bool InsideInscribedEllipse(int x, int y, int width, int height);

// New side of the square control after a resize to width x height from side `diameter`: a
// growth in either direction takes the larger side, a shrink the smaller.
int SquaredSide(int diameter, int width, int height);

// The value a navigation key asks for, or nothing for other keys. Computed in 64 bits and
// saturated, so stepping past the ends of the int range clamps instead of wrapping.
std::optional<int> KeyTarget(unsigned short key, int position, int min, int max,
                             std::uint16_t pageSize);

// Stored values of the mark's size after a write of v.
float ClampLineLength(float v, float radius);
float ClampLineWidth(float v);

// "%d <caption>" formatted with v. The caption is user text, so it is never used as a format
// pattern: "%%" becomes "%" and any other '%' is kept literally.
std::string PositionLabelText(int v, const std::string& caption);

} // namespace knob
