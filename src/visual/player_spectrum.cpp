#include "visual/player_spectrum.h"

namespace visual {

void ApplyPlayerLook(TSpectrum& spectrum) {
    spectrum.BarColor = 0x00FF00;
    spectrum.PeakColor = 0x0000FF;
    spectrum.MaxBarHeight = 35;
    spectrum.BarWidth = 4;
    spectrum.DrawStyle = 1;
    spectrum.BarFallOff = 4;
    spectrum.PeakFallOff = 1;
    spectrum.BinStep = 2;
    // BackgroundColor, ClearFrame, UseBackground and ShowPeaks keep their defaults.
}

} // namespace visual
