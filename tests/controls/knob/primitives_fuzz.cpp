// Random arguments for the drawing primitives: sizes 0..64, coordinates far outside, extreme
// widths, angles and scales, infinities and NaNs. Built with AddressSanitizer and UBSan, so any
// access outside a bitmap or undefined conversion fails the run; the tests themselves check the
// row padding and the source picture stay untouched.
#include "controls/knob/disc_ring.h"
#include "controls/knob/ezline.h"
#include "controls/knob/rotate_aa.h"
#include "platform/vcl/core/dialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using namespace knob;
using namespace vcl;

constexpr std::uint8_t kPad = 0xA5;

class KnobPrimitivesFuzz : public ::testing::Test {
protected:
    std::mt19937 rng{12345};

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool Chance(int percent) { return Int(0, 99) < percent; }

    // Mostly ordinary values, sometimes far out or not a number at all.
    double Value(double lo, double hi) {
        switch (Int(0, 19)) {
        case 0:
            return std::numeric_limits<double>::infinity();
        case 1:
            return -std::numeric_limits<double>::infinity();
        case 2:
            return std::numeric_limits<double>::quiet_NaN();
        case 3:
            return std::uniform_real_distribution<double>(-1e7, 1e7)(rng);
        case 4:
            return Chance(50) ? 1e30 : -1e30;
        case 5:
            return Int(-200, 200);
        default:
            return std::uniform_real_distribution<double>(lo, hi)(rng);
        }
    }

    TBitmap Picture() {
        const TPixelFormat format = Chance(70) ? pf24bit : pf32bit;
        TBitmap bmp(Int(0, 64), Int(0, 64), format);
        const int used = bmp.Width() * bmp.BytesPerPixel();
        for (int y = 0; y < bmp.Height(); ++y) {
            std::uint8_t* row = bmp.ScanLine(y);
            for (int i = 0; i < bmp.RowStride(); ++i)
                row[i] = i < used ? static_cast<std::uint8_t>(rng()) : kPad;
        }
        return bmp;
    }

    static void ExpectPaddingIntact(const TBitmap& bmp) {
        const int used = bmp.Width() * bmp.BytesPerPixel();
        for (int y = 0; y < bmp.Height(); ++y)
            for (int i = used; i < bmp.RowStride(); ++i)
                ASSERT_EQ(bmp.ScanLine(y)[i], kPad) << "row " << y;
    }
};

TEST_F(KnobPrimitivesFuzz, LineRenderer) {
    for (int n = 0; n < 4000; ++n) {
        TBitmap bmp = Picture();
        TEZLine line;
        const bool antiAlias = Chance(85);
        // The platform pen walks every step of its line: keep its lines and pens moderate.
        const double reach = antiAlias ? 80 : 150;
        line.Configure(static_cast<TColor>(rng()), antiAlias,
                       antiAlias ? Value(-1, 12) : std::uniform_real_distribution<>(-2, 9)(rng),
                       Chance(80) ? 1.0 : Value(-0.5, 1.5), Value(-50, 50), Chance(50),
                       static_cast<TPenStyle>(Int(0, 8)), static_cast<TPenMode>(Int(0, 17)));
        auto coord = [&] {
            return antiAlias ? static_cast<float>(Value(-reach, reach))
                             : std::uniform_real_distribution<float>(-reach, reach)(rng);
        };
        const float x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
        line.DrawLine(Chance(3) ? nullptr : &bmp, x1, y1, x2, y2);
        ExpectPaddingIntact(bmp);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(KnobPrimitivesFuzz, Rotation) {
    for (int n = 0; n < 1000; ++n) {
        const TBitmap source = Picture();
        const TBitmap copy = source;
        const double scale =
            Chance(80) ? std::uniform_real_distribution<>(-3, 3)(rng) : Value(-20, 20);
        const double angle = Value(-720, 720);
        auto result = RotateBitmapAA(source, angle, static_cast<TColor>(rng()), Chance(30),
                                     Chance(30), Chance(50), scale);
        if (result) {
            EXPECT_EQ(result->PixelFormat(), pf32bit);
            ExpectPaddingIntact(*result);
        } else {
            EXPECT_TRUE(source.Empty() || !std::isfinite(angle)) << angle;
        }
        ExpectPaddingIntact(source);
        for (int y = 0; y < source.Height(); ++y)
            for (int x = 0; x < source.Width(); ++x)
                ASSERT_EQ(source.GetPixel(x, y), copy.GetPixel(x, y));
        if (HasFatalFailure())
            return;
    }
}

TEST_F(KnobPrimitivesFuzz, DiscsAndRings) {
    DialogRecorder recorder; // undefined geometry may report the guarded blend
    for (int n = 0; n < 3000; ++n) {
        TBitmap frame = Picture();
        const float cx = static_cast<float>(Value(-40, 100));
        const float cy = static_cast<float>(Value(-40, 100));
        switch (Int(0, 3)) {
        case 0:
            FillDiscAA(frame, static_cast<TColor>(rng()), cx, cy, Value(-5, 60), Value(-2, 5));
            break;
        case 1:
            DrawRingAA(frame, static_cast<TColor>(rng()), cx, cy, Value(-5, 60), Value(-2, 8),
                       Value(-2, 5));
            break;
        case 2:
            DrawShadedRing(frame, static_cast<TColor>(rng()), cx, cy, Value(-5, 60), Value(-2, 8),
                           Value(-2, 5), static_cast<TColor>(rng()),
                           Chance(80) ? Int(0, 179) : Int(-100000, 100000),
                           Chance(80) ? Int(90, 269) : Int(-100000, 100000));
            break;
        default:
            EXPECT_GE(PixelAngle(cx, cy, Int(-1000, 1000), Int(-1000, 1000)), 0);
            break;
        }
        ExpectPaddingIntact(frame);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
