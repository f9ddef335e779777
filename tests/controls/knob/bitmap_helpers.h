// Small pictures for the drawing primitives' tests.
#pragma once

#include "platform/vcl/core/graphics.h"

namespace knob::test {

// A picture of one colour.
inline vcl::TBitmap Filled(int w, int h, vcl::TColor c, vcl::TPixelFormat format = vcl::pf24bit) {
    vcl::TBitmap bmp(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.PutPixel(x, y, c);
    return bmp;
}

// Red channel of a pixel; the tests draw grey on grey unless they say otherwise.
inline int Red(const vcl::TBitmap& bmp, int x, int y) {
    return vcl::GetRValue(bmp.GetPixel(x, y));
}

} // namespace knob::test
