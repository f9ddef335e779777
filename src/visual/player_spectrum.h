// The look the player gives its spectrum renderer at every switch-on: green bars with red peak
// marks, 35 pixels high at most, four wide, falling four pixels a frame.
#pragma once

#include "visual/spectrum.h"

namespace visual {

void ApplyPlayerLook(TSpectrum& spectrum);

} // namespace visual
