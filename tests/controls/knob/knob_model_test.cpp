// The knob's arithmetic on its own: cases that are awkward to reach through the window
// (rounding ties, huge ranges, NaN sizes, captions with percent signs).
#include "controls/knob/knob_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace knob;

TEST(KnobModel, RoundsHalvesToEven) {
    struct Case {
        double in;
        long long out;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {-2.6, -3}};
    for (auto c : cases)
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(KnobModel, PositionAndAngleMapBothWays) {
    struct Case {
        int min, max, position, angle;
    } cases[] = {
        {0, 100, 0, 240},  {0, 100, 100, -60}, {0, 100, 50, 90},    {0, 100, 10, 210},
        {0, 127, 10, 216}, {0, 127, 127, -60}, {100, 0, 50, 90},    {100, 0, 100, 240},
        {100, 0, 0, -60},  {-50, 50, 0, 90},   {-50, 50, -50, 240},
    };
    for (auto c : cases) {
        float dpu = DegreesPerUnit(c.min, c.max);
        EXPECT_EQ(PositionToAngle(c.position, c.min, dpu), c.angle)
            << c.min << ".." << c.max << " at " << c.position;
        EXPECT_EQ(AngleToPosition(c.angle, c.min, c.max, dpu), c.position)
            << c.min << ".." << c.max << " at " << c.angle;
    }
    EXPECT_EQ(DegreesPerUnit(5, 5), 0.0f);
    EXPECT_EQ(AngleToPosition(-60, 5, 5, 0.0f), 5);
}

TEST(KnobModel, RangeWiderThanIntStaysOrdered) {
    const int lo = std::numeric_limits<int>::min();
    const int hi = std::numeric_limits<int>::max();
    float dpu = DegreesPerUnit(lo, hi);
    EXPECT_GT(dpu, 0.0f);
    EXPECT_EQ(PositionToAngle(lo, lo, dpu), 240);
    EXPECT_EQ(PositionToAngle(hi, lo, dpu), -60);
    EXPECT_EQ(AngleToPosition(-60, lo, hi, dpu), hi);
    EXPECT_EQ(AngleToPosition(240, lo, hi, dpu), lo);
    EXPECT_EQ(KeyTarget(38, hi, lo, hi, 10), hi);
    EXPECT_EQ(KeyTarget(34, lo, lo, hi, 10), lo);
}

TEST(KnobModel, PointerDirectionOnA100PixelKnob) {
    struct Case {
        int x, y, angle;
    } cases[] = {
        {50, 0, 90},                     // straight above
        {50, 50, 90},                    // the centre counts as above
        {50, 99, 240},                   // straight below: Min
        {51, 99, -60},                   // just right of straight below: Max
        {49, 99, 240},                   // just left of it: Min
        {99, 50, 0},                     // right
        {0, 50, 180},                    // left
        {100, 0, 45},                    // upper right
        {0, 0, 135},                     // upper left
        {0, 100, 225},                   // lower left, still on the sweep
        {-50, 150, 225},                 // far outside, same direction rule
        {100, 100, -45}, {60, 100, -60}, // gap, right half
        {40, 100, 240},                  // gap, left half
    };
    for (auto c : cases)
        EXPECT_EQ(PointerAngle(c.x, c.y, 100, 100), c.angle) << c.x << "," << c.y;
}

TEST(KnobModel, InscribedEllipseExcludesTheCorners) {
    struct Case {
        int x, y, w, h;
        bool inside;
    } cases[] = {
        {20, 20, 40, 40, true},  {0, 20, 40, 40, true},   {39, 20, 40, 40, true},
        {20, 0, 40, 40, true},   {0, 0, 40, 40, false},   {39, 39, 40, 40, false},
        {5, 5, 40, 40, false},   {7, 7, 40, 40, true},    {-1, 20, 40, 40, false},
        {40, 20, 40, 40, false}, {50, 10, 100, 20, true}, {50, 0, 100, 20, true},
        {5, 2, 100, 20, false},  {0, 0, 0, 0, false},
    };
    for (auto c : cases)
        EXPECT_EQ(InsideInscribedEllipse(c.x, c.y, c.w, c.h), c.inside)
            << c.x << "," << c.y << " in " << c.w << "x" << c.h;
}

TEST(KnobModel, SquaringComparesEachSideWithThePreviousOne) {
    struct Case {
        int diameter, w, h, side;
    } cases[] = {
        {40, 100, 60, 100}, {40, 60, 100, 100}, {40, 30, 50, 50},
        {40, 30, 35, 30},   {40, 40, 40, 40},   {40, 40, 20, 20},
    };
    for (auto c : cases)
        EXPECT_EQ(SquaredSide(c.diameter, c.w, c.h), c.side) << c.w << "x" << c.h;
}

TEST(KnobModel, MarkSizeClamps) {
    struct Case {
        float v, radius, length;
    } lengths[] = {{50, 20, 11}, {2, 20, 3}, {3, 20, 3}, {7.5f, 20, 7.5f},
                   {11, 20, 11}, {5, 10, 1}, {4, 50, 4}};
    for (auto c : lengths)
        EXPECT_EQ(ClampLineLength(c.v, c.radius), c.length) << c.v;
    EXPECT_EQ(ClampLineLength(std::nanf(""), 50), 3.0f);

    struct WCase {
        float v, width;
    } widths[] = {{0.5f, 1}, {12, 8}, {8, 8}, {1, 1}, {2.5f, 2.5f}, {-3, 1}};
    for (auto c : widths)
        EXPECT_EQ(ClampLineWidth(c.v), c.width) << c.v;
    EXPECT_EQ(ClampLineWidth(std::nanf("")), 1.0f);
}

TEST(KnobModel, LabelTextNeverTreatsTheCaptionAsAPattern) {
    struct Case {
        int v;
        const char* caption;
        const char* text;
    } cases[] = {
        {10, "Knob1", "10 Knob1"}, {-3, "", "-3 "},        {50, "%%", "50 %"},
        {7, "%s%d%n", "7 %s%d%n"}, {0, "a%%b%", "0 a%b%"}, {1, "Громкость", "1 Громкость"},
    };
    for (auto c : cases)
        EXPECT_EQ(PositionLabelText(c.v, c.caption), c.text) << c.caption;
}

} // namespace
