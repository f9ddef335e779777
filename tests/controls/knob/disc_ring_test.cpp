#include "controls/knob/disc_ring.h"

#include "platform/vcl/core/dialogs.h"

#include <gtest/gtest.h>

#include "bitmap_helpers.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

using namespace knob;
using namespace vcl;
using knob::test::Filled;
using knob::test::Red;

TEST(DiscRing, BlendPixelWeighsForegroundByAlpha) {
    struct Case {
        int alpha;
        TRGB bg, fg, out;
    } cases[] = {
        {255, {10, 20, 30}, {200, 100, 50}, {200, 100, 50}},
        {0, {10, 20, 30}, {200, 100, 50}, {10, 20, 30}},
        {128, {0, 0, 0}, {255, 255, 255}, {128, 128, 128}},
        {191, {219, 0, 0}, {239, 239, 239}, {234, 179, 179}},
        {85, {223, 223, 223}, {127, 127, 127}, {191, 191, 191}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendPixel(c.bg.R, c.bg.G, c.bg.B, c.fg.R, c.fg.G, c.fg.B, c.alpha), c.out)
            << c.alpha;
}

TEST(DiscRing, PixelAngleCountsCounterClockwiseFromTheRight) {
    struct Case {
        float cx, cy;
        int x, y, angle;
    } cases[] = {{10, 10, 10, 5, 90},  {10, 10, 10, 15, 270}, {10, 10, 5, 10, 180},
                 {10, 10, 15, 10, 0},  {10, 10, 13, 7, 45},   {10, 10, 7, 7, 135},
                 {10, 10, 7, 13, 225}, {10, 10, 13, 13, 315}, {10, 10, 10, 10, 270},
                 {10, 10, 20, 9, 6},   {0, 0, 100, 0, 0},     {0, 0.4f, 100, 1, 360},
                 {0, 0, -100, 1, 181}, {0, 0, -100, -1, 179}, {0.5f, 0, 0, -100, 90}};
    for (const Case& c : cases)
        EXPECT_EQ(PixelAngle(c.cx, c.cy, c.x, c.y), c.angle) << c.x << "," << c.y;
}

TEST(DiscRing, DiscIsSolidInsideAndFadesOverTheEdge) {
    // White on black: a pixel's red is its alpha.
    TBitmap frame = Filled(40, 40, clBlack);
    FillDiscAA(frame, clWhite, 20, 20, 10, 1.4);
    EXPECT_EQ(Red(frame, 30, 20), 128) << "distance 10: 127.5 rounds to even";
    EXPECT_EQ(Red(frame, 26, 28), 128) << "distance 10 on a diagonal";
    int previous = 256;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const double d = std::hypot(x - 20.0, y - 20.0);
            if (d < 9.3) {
                ASSERT_EQ(Red(frame, x, y), 255) << x << "," << y;
            } else if (d >= 10.7) {
                ASSERT_EQ(Red(frame, x, y), 0) << x << "," << y;
            }
        }
    }
    for (int x = 29; x <= 31; ++x) { // 9, 10, 11 from the centre: falling
        EXPECT_LT(Red(frame, x, 20), previous);
        previous = Red(frame, x, 20);
    }
    EXPECT_EQ(Red(frame, 29, 20), 255);
    EXPECT_EQ(Red(frame, 31, 20), 0);
    // Linear fall: alpha at distance d is 127.5 + (10 - d) * 2 / 1.4 * 127.5.
    EXPECT_EQ(Red(frame, 27, 27), static_cast<int>(std::nearbyint(
                                      127.5 + (10 - std::hypot(7.0, 7.0)) * 2 / 1.4 * 127.5)));
}

TEST(DiscRing, StateRingRisesAndFallsWithoutASolidBand) {
    // Radius 9, width and softness 1: alpha 0 at 8, 255 at 9, 0 at 10.
    TBitmap frame = Filled(40, 40, clBlack);
    DrawRingAA(frame, clWhite, 20, 20, 9, 1, 1);
    struct Case {
        int x, y, alpha;
    } cases[] = {{28, 20, 0}, {29, 20, 255}, {30, 20, 0}, {20, 11, 255}, {20, 12, 0}, {20, 20, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(Red(frame, c.x, c.y), c.alpha) << c.x << "," << c.y;

    TBitmap half = Filled(40, 40, clBlack);
    DrawRingAA(half, clWhite, 20.5f, 20, 9, 1, 1);
    EXPECT_EQ(Red(half, 29, 20), 128) << "distance 8.5";
    EXPECT_EQ(Red(half, 30, 20), 128) << "distance 9.5";
    EXPECT_EQ(Red(half, 28, 20), 0);

    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const double d = std::hypot(x - 20.0, y - 20.0);
            const double expected = 255 * std::max(0.0, 1 - std::fabs(d - 9));
            ASSERT_NEAR(Red(frame, x, y), expected, 0.5 + 1e-3) << x << "," << y;
        }
    }
}

TEST(DiscRing, RingHasSolidBandBetweenItsEdges) {
    TBitmap frame = Filled(40, 40, clBlack);
    DrawRingAA(frame, RGB(10, 200, 30), 20, 20, 10, 4, 1); // edges at 8 and 12, fades 1 wide
    EXPECT_EQ(frame.GetPixel(30, 20), RGB(10, 200, 30));
    EXPECT_EQ(frame.GetPixel(20, 29), RGB(10, 200, 30));
    EXPECT_EQ(frame.GetPixel(31, 20), RGB(10, 200, 30));
    EXPECT_EQ(frame.GetPixel(32, 20), RGB(5, 100, 15)) << "outer edge at half strength";
    EXPECT_EQ(frame.GetPixel(28, 20), RGB(5, 100, 15)) << "inner edge at half strength";
    EXPECT_EQ(frame.GetPixel(33, 20), clBlack);
    EXPECT_EQ(frame.GetPixel(27, 20), clBlack);
    EXPECT_EQ(frame.GetPixel(20, 20), clBlack);
    // Softness above the width is cut to the width.
    TBitmap a = Filled(40, 40, clBlack), b = Filled(40, 40, clBlack);
    DrawRingAA(a, clWhite, 20, 20, 10, 2, 5);
    DrawRingAA(b, clWhite, 20, 20, 10, 2, 2);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y));
}

TEST(DiscRing, KnobFaceEdgeUnderTheInnerBevelRing) {
    // A 100-pixel plain knob with a border: face radius 46.5, inner ring 46.2 wide 0.8.
    TBitmap frame = Filled(100, 100, clBlack);
    FillDiscAA(frame, clRed, 50, 50, 46.5, 1.4);
    EXPECT_EQ(frame.GetPixel(50, 50), clRed);
    EXPECT_EQ(frame.GetPixel(50, 6), clRed);
    EXPECT_EQ(frame.GetPixel(50, 4), RGB(219, 0, 0));
    DrawRingAA(frame, 0xEFEFEF, 50, 50, 46.2, 0.8, 0.8);
    EXPECT_EQ(frame.GetPixel(50, 4), RGB(234, 179, 179)) << "inner edge alpha 191";
}

TEST(DiscRing, ShadedRingTurnsWithTheWeightTable) {
    // The knob at mid-range: light grey 120..210 degrees, dark grey opposite.
    TBitmap frame = Filled(100, 100, clBlack);
    DrawShadedRing(frame, 0xDFDFDF, 50, 50, 47.6, 1.8, 1.0, 0x7F7F7F, 120, 210);
    struct Case {
        int x, y, grey;
    } cases[] = {{2, 50, 223}, {50, 2, 191}, {98, 50, 127}, {50, 98, 159}};
    for (const Case& c : cases)
        EXPECT_EQ(frame.GetPixel(c.x, c.y), RGB(c.grey, c.grey, c.grey)) << c.x << "," << c.y;
}

TEST(DiscRing, ShadedRingBlendsLinearlyBetweenBands) {
    // Black over 0..90, white over 180..270, blends of 90 degrees between.
    TBitmap frame = Filled(60, 60, RGB(1, 2, 3));
    DrawShadedRing(frame, clBlack, 30, 30, 20, 4, 1, clWhite, 0, 90);
    struct Case {
        int x, y, grey;
    } cases[] = {{50, 30, 0},   {30, 10, 0},   {10, 30, 255}, {30, 50, 255},
                 {16, 16, 128}, {44, 44, 128}, {44, 16, 0},   {16, 44, 255}};
    for (const Case& c : cases)
        EXPECT_EQ(frame.GetPixel(c.x, c.y), RGB(c.grey, c.grey, c.grey)) << c.x << "," << c.y;
}

TEST(DiscRing, ShadedRingLooksUpDirection360AsZero) {
    // Far enough out a pixel just below the horizontal on the right reads 360 degrees; it must
    // take the colour of direction 0 (black), not that of 359 (weight 1/90) or memory beyond.
    const float c = 120.0f;
    TBitmap frame = Filled(240, 240, RGB(9, 9, 9));
    DrawShadedRing(frame, clBlack, c, c, 117, 3, 1, clWhite, 0, 90);
    int checked = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 240; ++x) {
            const double d = std::hypot(x - c, y - c);
            if (PixelAngle(c, c, x, y) == 360 && d > 116.5 && d < 117.5) {
                EXPECT_EQ(frame.GetPixel(x, y), clBlack) << x << "," << y;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(DiscRing, ShapesAreClippedToTheFrame) {
    // The same shape drawn into a small frame and into a window of a large one must agree.
    const std::function<void(TBitmap&, float, float)> shapes[] = {
        [](TBitmap& f, float x, float y) { FillDiscAA(f, RGB(200, 10, 90), x, y, 12.3, 1.4); },
        [](TBitmap& f, float x, float y) { DrawRingAA(f, RGB(20, 210, 90), x, y, 11, 2.5, 1); },
        [](TBitmap& f, float x, float y) {
            DrawShadedRing(f, clBlack, x, y, 11, 2.5, 1, clWhite, 40, 130);
        },
    };
    const float centres[][2] = {{-3, 5}, {17.5f, -6}, {10, 10}, {25, 14}, {-20, 8}};
    for (const auto& shape : shapes) {
        for (const auto& centre : centres) {
            TBitmap big = Filled(100, 100, RGB(60, 70, 80));
            TBitmap small = Filled(20, 16, RGB(60, 70, 80));
            shape(big, centre[0] + 40, centre[1] + 30);
            shape(small, centre[0], centre[1]);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 20; ++x)
                    ASSERT_EQ(small.GetPixel(x, y), big.GetPixel(x + 40, y + 30))
                        << centre[0] << "," << centre[1] << " at " << x << "," << y;
        }
    }
}

TEST(DiscRing, ColoursGoThroughColorToRGB) {
    TBitmap frame = Filled(20, 20, clBlack);
    FillDiscAA(frame, clActiveCaption, 10, 10, 5, 1);
    EXPECT_EQ(frame.GetPixel(10, 10), ColorToRGB(clActiveCaption));
    EXPECT_NE(frame.GetPixel(10, 10), clBlack);
}

TEST(DiscRing, ThirtyTwoBitFramesKeepTheirAlpha) {
    TBitmap frame(20, 20, pf32bit);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            frame.ScanLine(y)[x * 4 + 3] = 0x42;
    FillDiscAA(frame, clRed, 10, 10, 6, 1.4);
    DrawRingAA(frame, clBlue, 10, 10, 8, 1, 1);
    DrawShadedRing(frame, clBlack, 10, 10, 4, 2, 1, clWhite, 0, 90);
    EXPECT_EQ(frame.GetPixel(10, 2), clBlue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(frame.ScanLine(y)[x * 4 + 3], 0x42);
}

TEST(DiscRing, FailedInnerEdgeBlendIsReportedAndDrawingGoesOn) {
    // An infinite radius and width leave the inner edge's alpha undefined for every pixel.
    const double inf = std::numeric_limits<double>::infinity();
    DialogRecorder recorder;
    TBitmap frame = Filled(2, 2, RGB(5, 6, 7));
    DrawShadedRing(frame, clBlack, 1, 1, inf, inf, 1, clWhite, 0, 90);
    ASSERT_EQ(recorder.Shown.size(), 4u);
    for (const MessageBoxRequest& box : recorder.Shown) {
        EXPECT_EQ(box.Text, "Error occured at internal code of TKnob");
        EXPECT_EQ(box.Caption, "Error");
        EXPECT_EQ(box.Flags, MB_OK);
        EXPECT_EQ(box.Owner, nullptr);
    }
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(frame.GetPixel(x, y), RGB(5, 6, 7)) << "no edge blend completed";

    // The plain ring has no guard and reports nothing.
    DrawRingAA(frame, clBlack, 1, 1, inf, inf, 1);
    EXPECT_EQ(recorder.Shown.size(), 4u);
}

TEST(DiscRing, UndefinedGeometryDrawsNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const float fnan = std::numeric_limits<float>::quiet_NaN();
    DialogRecorder recorder;
    TBitmap frame = Filled(10, 10, RGB(5, 6, 7));
    FillDiscAA(frame, clWhite, fnan, 5, 3, 1);
    FillDiscAA(frame, clWhite, 5, 5, nan, 1);
    DrawRingAA(frame, clWhite, 5, fnan, 3, 1, 1);
    DrawShadedRing(frame, clWhite, 5, 5, 3, nan, 1, clBlack, 0, 90);
    DrawShadedRing(frame, clWhite, fnan, 5, 3, 1, 1, clBlack, 0, 90);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(frame.GetPixel(x, y), RGB(5, 6, 7));
    EXPECT_TRUE(recorder.Shown.empty());
}

} // namespace
