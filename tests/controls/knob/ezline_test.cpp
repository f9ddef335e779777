#include "controls/knob/ezline.h"

#include <gtest/gtest.h>

#include "bitmap_helpers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using knob::TEZLine;
using namespace vcl;
using knob::test::Filled;
using knob::test::Red;

// White over black at alpha a comes out as (255 * a) >> 8.
int WhiteAt(int alpha) {
    return (255 * alpha) >> 8;
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return false;
    return true;
}

TEZLine WhitePen(double width = 2.0) {
    TEZLine line;
    line.Configure(clWhite, true, width, 1.0, 0.0, true, psSolid, pmCopy);
    return line;
}

TEST(EZLine, CreateDefaultsAndConfigureStoresEverything) {
    TEZLine line;
    EXPECT_EQ(line.Color, 0x0000FF);
    EXPECT_EQ(line.Width, 2.0);
    EXPECT_TRUE(line.AntiAlias);
    EXPECT_EQ(line.Style, psSolid);
    EXPECT_EQ(line.Mode, pmCopy);
    EXPECT_EQ(line.Opacity, 1.0);
    EXPECT_EQ(line.Phase, 0.0);
    EXPECT_TRUE(line.EndCuts);
    EXPECT_EQ(line.SegLength, 0.0);

    line.Configure(clLime, false, -3.5, 7.0, 2.25, false, psDashDot, pmXor);
    EXPECT_EQ(line.Color, clLime);
    EXPECT_FALSE(line.AntiAlias);
    EXPECT_EQ(line.Width, -3.5);
    EXPECT_EQ(line.Opacity, 7.0);
    EXPECT_EQ(line.Phase, 2.25);
    EXPECT_FALSE(line.EndCuts);
    EXPECT_EQ(line.Style, psDashDot);
    EXPECT_EQ(line.Mode, pmXor);
}

TEST(EZLine, FullCoverageStillDividesBy256) {
    TBitmap bmp = Filled(40, 40, clBlack);
    TEZLine line = WhitePen();
    line.DrawLine(&bmp, 5, 10, 30, 10);
    EXPECT_EQ(bmp.GetPixel(15, 10), RGB(254, 254, 254));
}

TEST(EZLine, HorizontalSegmentHasSoftSidesAndRoundEnds) {
    TBitmap bmp = Filled(40, 40, clBlack);
    TEZLine line = WhitePen();
    line.DrawLine(&bmp, 10, 20, 30, 20);
    for (int x = 10; x <= 30; ++x) {
        EXPECT_EQ(Red(bmp, x, 20), WhiteAt(255)) << x;
        EXPECT_EQ(Red(bmp, x, 19), WhiteAt(180)) << x;
        EXPECT_EQ(Red(bmp, x, 21), WhiteAt(180)) << x;
        EXPECT_EQ(Red(bmp, x, 18), 0) << x;
        EXPECT_EQ(Red(bmp, x, 22), 0) << x;
    }
    for (int x : {9, 31}) {
        EXPECT_EQ(Red(bmp, x, 20), WhiteAt(180)) << x;
        EXPECT_EQ(Red(bmp, x, 19), WhiteAt(77)) << x;
        EXPECT_EQ(Red(bmp, x, 21), WhiteAt(77)) << x;
    }
    EXPECT_EQ(Red(bmp, 8, 20), 0);
    EXPECT_EQ(Red(bmp, 32, 20), 0);
}

TEST(EZLine, CoverageFallsWithDistanceAsTheCurveSays) {
    // Width 2: distance 0.5 or less 255, 0.75 229, 1.0 180, 1.25 118, 1.5 58, 1.75 15, 2.0 0.
    struct Case {
        float lineY;
        int row;
        int coverage;
    } cases[] = {{20.0f, 20, 255},  {20.5f, 20, 255}, {20.25f, 21, 229}, {20.0f, 21, 180},
                 {20.25f, 19, 118}, {20.5f, 22, 58},  {20.25f, 22, 15},  {20.0f, 22, 0}};
    for (const Case& c : cases) {
        TBitmap bmp = Filled(40, 40, clBlack);
        TEZLine line = WhitePen();
        line.DrawLine(&bmp, 5, c.lineY, 35, c.lineY);
        EXPECT_EQ(Red(bmp, 20, c.row), WhiteAt(c.coverage)) << c.lineY << " row " << c.row;
    }
}

TEST(EZLine, SolidIgnoresDirectionButDotsStartAtTheFirstPoint) {
    auto draw = [](TPenStyle style, float x1, float x2) {
        TBitmap bmp = Filled(40, 40, clBlack);
        TEZLine line = WhitePen();
        line.Style = style;
        line.DrawLine(&bmp, x1, 20, x2, 20);
        return bmp;
    };
    EXPECT_TRUE(SamePixels(draw(psSolid, 10, 30), draw(psSolid, 30, 10)));
    const TBitmap forward = draw(psDot, 10, 30);
    const TBitmap backward = draw(psDot, 30, 10);
    EXPECT_FALSE(SamePixels(forward, backward));
    // The pattern is 0 where it starts: sin(0).
    EXPECT_EQ(Red(forward, 10, 20), 0);
    EXPECT_EQ(Red(backward, 30, 20), 0);
    EXPECT_EQ(Red(forward, 30, 20), Red(backward, 10, 20));
}

TEST(EZLine, DashPatternsFollowTheDistanceAlongTheLine) {
    // A horizontal line drawn from x = 0: pixel c on it lies `c` pixels along, at full coverage.
    struct Case {
        TPenStyle style;
        double phase;
        int column;
        int alpha;
    } cases[] = {
        {psSolid, 0, 5, 255},       {psInsideFrame, 0, 5, 255}, {psClear, 0, 5, 0},
        {psDot, 0, 1, 255},         {psDot, 0, 3, 71},          {psDot, 0, 4, 0},
        {psDot, 3, 1, 0},           {psDash, 0, 1, 61},         {psDash, 0, 6, 255},
        {psDash, 0, 12, 0},         {psDashDot, 0, 4, 255},     {psDashDot, 0, 10, 0},
        {psDashDot, 0, 13, 107},    {psDashDotDot, 0, 2, 255},  {psDashDotDot, 0, 14, 0},
        {psDashDotDot, 0, 15, 107}, {TPenStyle(9), 0, 5, 0},
    };
    for (const Case& c : cases) {
        TBitmap bmp = Filled(70, 20, clBlack);
        TEZLine line = WhitePen();
        line.Style = c.style;
        line.Phase = c.phase;
        line.DrawLine(&bmp, 0, 10, 60, 10);
        EXPECT_EQ(Red(bmp, c.column, 10), WhiteAt(c.alpha))
            << int(c.style) << " phase " << c.phase << " column " << c.column;
    }
}

TEST(EZLine, ReturnsPhasePlusLengthAndNeverChangesPhase) {
    for (bool antiAlias : {true, false}) {
        for (double phase : {0.0, 2.5}) {
            TBitmap bmp = Filled(10, 10, clBlack);
            TEZLine line = WhitePen();
            line.AntiAlias = antiAlias;
            line.Phase = phase;
            EXPECT_DOUBLE_EQ(line.DrawLine(&bmp, 0, 0, 3, 4), 5 + phase);
            EXPECT_EQ(line.Phase, phase);
        }
    }
    TEZLine line = WhitePen();
    line.Phase = 1.25;
    EXPECT_EQ(line.DrawLine(nullptr, 0, 0, 3, 4), 1.25);
    TBitmap empty;
    EXPECT_EQ(line.DrawLine(&empty, 0, 0, 3, 4), 1.25);
    TBitmap bmp = Filled(10, 10, clBlack);
    line.Width = 0.005; // too thin to draw, still measured
    EXPECT_DOUBLE_EQ(line.DrawLine(&bmp, 0, 0, 3, 4), 6.25);
}

TEST(EZLine, ThinWidthsLowerThePeak) {
    TBitmap bmp = Filled(40, 40, clBlack);
    TEZLine line = WhitePen(0.5);
    line.DrawLine(&bmp, 5, 10, 33, 24); // passes through pixel centres
    int peak = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            peak = std::max(peak, Red(bmp, x, y));
    EXPECT_EQ(peak, WhiteAt(180)) << "a pixel on the centre line reaches 180, none 255";
}

TEST(EZLine, CasesThatDrawNothing) {
    std::mt19937 rng(7);
    TBitmap noise(30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            noise.PutPixel(x, y, static_cast<TColor>(rng() & 0xFFFFFF));
    struct Case {
        const char* name;
        double width;
        TPenMode mode;
        float x1, y1, x2, y2;
    } cases[] = {
        {"width 0.005", 0.005, pmCopy, 2, 3, 25, 20},
        {"pmNop", 4.0, pmNop, 2, 3, 25, 20},
        {"mode beyond the table", 4.0, TPenMode(16), 2, 3, 25, 20},
        // M = Round(2 / 2 + 2) = 3: both ends further left than that.
        {"left of the bitmap", 2.0, pmCopy, -3.5f, 3, -40, 20},
        {"below the bitmap", 2.0, pmCopy, 5, 33, 9, 80},
    };
    for (const Case& c : cases) {
        TBitmap bmp = noise;
        TEZLine line = WhitePen(c.width);
        line.Mode = c.mode;
        line.Opacity = 0.7;
        line.Style = psDash;
        line.DrawLine(&bmp, c.x1, c.y1, c.x2, c.y2);
        EXPECT_TRUE(SamePixels(bmp, noise)) << c.name;
    }
}

TEST(EZLine, QuickRejectionSkipsTheSegmentSetup) {
    TBitmap bmp = Filled(30, 30, clBlack);
    TEZLine line = WhitePen();
    line.DrawLine(&bmp, -3.5f, 3, -40, 20);
    EXPECT_EQ(line.SegLength, 0.0);
    line.DrawLine(&bmp, -2.5f, 3, -40, 20); // within the margin: set up, though nothing shows
    EXPECT_GT(line.SegLength, 0.0);
}

TEST(EZLine, ModesCombinePenAndPixelPerChannel) {
    // Pen 0x5A over pixel 0xC3 in every channel, on the centre line (alpha 255) and one pixel
    // off it (alpha 180): (v * a + q * (255 - a)) >> 8.
    const int p = 0x5A, q = 0xC3;
    struct Case {
        TPenMode mode;
        int v;
    } cases[] = {{pmBlack, 0},       {pmWhite, 255},       {pmNot, 60},
                 {pmCopy, 90},       {pmNotCopy, 165},     {pmMergePenNot, 126},
                 {pmMaskPenNot, 24}, {pmMergeNotPen, 231}, {pmMaskNotPen, 129},
                 {pmMerge, 219},     {pmNotMerge, 36},     {pmMask, 66},
                 {pmNotMask, 189},   {pmXor, 153},         {pmNotXor, 102}};
    for (const Case& c : cases) {
        TBitmap bmp = Filled(40, 40, RGB(q, q, q));
        TEZLine line = WhitePen();
        line.Color = RGB(p, p, p);
        line.Mode = c.mode;
        line.DrawLine(&bmp, 5, 20, 35, 20);
        EXPECT_EQ(bmp.GetPixel(20, 20), RGB((c.v * 255) >> 8, (c.v * 255) >> 8, (c.v * 255) >> 8))
            << int(c.mode);
        const int edge = (c.v * 180 + q * 75) >> 8;
        EXPECT_EQ(bmp.GetPixel(20, 21), RGB(edge, edge, edge)) << int(c.mode);
    }
}

TEST(EZLine, ChannelsKeepTheirOwnPenValues) {
    TBitmap bmp = Filled(20, 20, clBlack);
    TEZLine line = WhitePen();
    line.Color = RGB(200, 100, 50);
    line.DrawLine(&bmp, 2, 10, 18, 10);
    EXPECT_EQ(bmp.GetPixel(10, 10), RGB((200 * 255) >> 8, (100 * 255) >> 8, (50 * 255) >> 8));
}

TEST(EZLine, OpacityScalesAlphaRoundingDown) {
    TBitmap bmp = Filled(40, 40, clBlack);
    TEZLine line = WhitePen();
    line.Opacity = 0.5; // 127.5 rounds down to 127
    line.DrawLine(&bmp, 5, 20, 35, 20);
    EXPECT_EQ(Red(bmp, 20, 20), WhiteAt(127));
}

TEST(EZLine, NegativeColoursResolveThroughTheSystemTable) {
    struct Case {
        TColor color;
        TColor background;
        TColor centre;
    } cases[] = {
        // 0x7F000002 lies outside the table: the active caption colour draws black.
        {clActiveCaption, clWhite, RGB(0, 0, 0)},
        // Top bit only: index 5, the window colour, white.
        {static_cast<TColor>(0x80000005u), clBlack, RGB(254, 254, 254)},
    };
    for (const Case& c : cases) {
        TBitmap bmp = Filled(20, 20, c.background);
        TEZLine line = WhitePen();
        line.Color = c.color;
        line.DrawLine(&bmp, 2, 10, 18, 10);
        EXPECT_EQ(bmp.GetPixel(10, 10), c.centre) << std::hex << c.color;
    }
}

TEST(EZLine, WithoutAntiAliasingThePlatformPenDraws) {
    TBitmap bmp = Filled(30, 30, clBlack);
    TEZLine line = WhitePen(2.7);
    line.AntiAlias = false;
    line.Color = clRed;
    line.Style = psSolid;
    line.Mode = pmXor;
    line.DrawLine(&bmp, 3.5f, 4.4f, 24.6f, 20.5f);
    EXPECT_EQ(bmp.Canvas().Pen.Width, 2);
    EXPECT_EQ(bmp.Canvas().Pen.Color, clRed);
    EXPECT_EQ(bmp.Canvas().Pen.Mode, pmXor);

    TBitmap expected = Filled(30, 30, clBlack);
    TCanvas& c = expected.Canvas();
    c.Pen.Width = 2;
    c.Pen.Color = clRed;
    c.Pen.Mode = pmXor;
    c.MoveTo(4, 4); // halves go to the even neighbour
    c.LineTo(25, 20);
    EXPECT_TRUE(SamePixels(bmp, expected));
}

// Every pixel evaluated against the capsule, without the scan box or the skipping rules.
TBitmap Reference(int w, int h, float x1, float y1, float x2, float y2, double width) {
    TBitmap bmp = Filled(w, h, clBlack);
    const double wk = width >= 1 ? width : 2 * width - 1;
    const double we = wk + 2;
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    const double len2 = dx * dx + dy * dy;
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const double t = std::clamp(((c - x1) * dx + (r - y1) * dy) / len2, 0.0, 1.0);
            const double d = std::hypot(c - (x1 + t * dx), r - (y1 + t * dy));
            const double e = we - 2 * d;
            int coverage = 0;
            if (e >= 3)
                coverage = 255;
            else if (e >= 0)
                coverage = int(std::floor(255 * std::pow(std::sin(e / 2), 2)));
            if (coverage > 0)
                bmp.PutPixel(c, r, RGB(WhiteAt(coverage), WhiteAt(coverage), WhiteAt(coverage)));
        }
    }
    return bmp;
}

TEST(EZLine, ScanningWithSkipsMatchesEvaluatingEveryPixel) {
    // Random segments in every direction, partly outside the bitmap, on bitmaps large and small:
    // the scan box and the skipping may only leave out pixels that the line does not reach.
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> coord(-12.0f, 52.0f);
    std::uniform_real_distribution<double> width(0.6, 6.0);
    const int sizes[][2] = {{40, 40}, {41, 23}, {5, 40}, {40, 3}, {2, 2}};
    for (int i = 0; i < 300; ++i) {
        const int w = sizes[i % 5][0], h = sizes[i % 5][1];
        const float x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        const double wd = width(rng);
        TBitmap bmp = Filled(w, h, clBlack);
        TEZLine line = WhitePen(wd);
        line.DrawLine(&bmp, x1, y1, x2, y2);
        ASSERT_TRUE(SamePixels(bmp, Reference(w, h, x1, y1, x2, y2, wd)))
            << w << "x" << h << " (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") width "
            << wd;
    }
}

TEST(EZLine, ThirtyTwoBitTargetsKeepTheirAlpha) {
    TBitmap bmp(20, 20, pf32bit);
    for (int y = 0; y < 20; ++y) {
        std::uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < 20; ++x)
            p[x * 4 + 0] = p[x * 4 + 1] = p[x * 4 + 2] = 0, p[x * 4 + 3] = 0x42;
    }
    TEZLine line = WhitePen();
    line.DrawLine(&bmp, 2, 10, 18, 10);
    EXPECT_EQ(bmp.GetPixel(10, 10), RGB(254, 254, 254));
    EXPECT_EQ(bmp.GetPixel(10, 11), RGB(WhiteAt(180), WhiteAt(180), WhiteAt(180)));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(bmp.ScanLine(y)[x * 4 + 3], 0x42);
}

} // namespace
