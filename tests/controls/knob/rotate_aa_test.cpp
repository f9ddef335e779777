#include "controls/knob/rotate_aa.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>

namespace {

using namespace knob;
using namespace vcl;

struct Px {
    int B, G, R, A;
    bool operator==(const Px&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Px& p) {
    return os << "(b" << p.B << " g" << p.G << " r" << p.R << " a" << p.A << ")";
}

Px At(const TBitmap& bmp, int x, int y) {
    const std::uint8_t* p = bmp.ScanLine(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

TBitmap Uniform(int w, int h, TColor c, TPixelFormat format = pf24bit, int alpha = 0) {
    TBitmap bmp(w, h, format);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bmp.PutPixel(x, y, c);
            if (format == pf32bit)
                bmp.ScanLine(y)[x * 4 + 3] = static_cast<std::uint8_t>(alpha);
        }
    }
    return bmp;
}

// Every pixel a colour of its own, so a result pixel tells which source pixel it copies.
TBitmap Labelled(int w, int h) {
    TBitmap bmp(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.PutPixel(x, y, RGB(x, y, 77));
    return bmp;
}

TEST(RotateAA, ExactCosAtMultiplesOfThirtyDegrees) {
    struct Case {
        double angle, cosine;
    } cases[] = {{0, 1},
                 {30, 0.866025403784439},
                 {60, 0.5},
                 {90, 0},
                 {120, -0.5},
                 {150, -0.866025403784439},
                 {180, -1},
                 {270, 0},
                 {360, 1},
                 {-30, 0.866025403784439},
                 {390, 0.866025403784439},
                 {-360, 1},
                 {-90, 0},
                 {30.000001, 0.866025403784439}, // within the tolerance
                 {45, std::cos(45 * 3.14159265358979 / 180)},
                 {30.00001, std::cos(30.00001 * 3.14159265358979 / 180)}};
    for (const Case& c : cases)
        EXPECT_EQ(ExactCos(c.angle), c.cosine) << c.angle;
}

TEST(RotateAA, TolerantCeilingIgnoresTinyExcess) {
    struct Case {
        double in, out;
    } cases[] = {{40.0000000005, 40}, {39.9999999996, 40}, {40.3, 41}, {40, 40}, {0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(TolerantCeil(c.in), c.out) << c.in;
}

TEST(RotateAA, AnglesAndScalesAreBroughtIntoRange) {
    struct AngleCase {
        double in, out;
    } angles[] = {{-90, 270}, {450, 90}, {-360, 360}, {720, 0}, {359.5, 359.5}, {-730, 350}};
    for (const AngleCase& c : angles)
        EXPECT_DOUBLE_EQ(NormalizeAngle(c.in), c.out) << c.in;

    struct ScaleCase {
        double scale;
        int w, h;
        double out;
    } scales[] = {{0.01, 40, 40, 0.125},
                  {20, 40, 40, 10},
                  {0.5, 5, 40, 1.0},
                  {0.5, 40, 5, 1.0},
                  {0.01, 100, 200, 0.1},
                  {-2, 40, 40, 0.125},
                  {std::numeric_limits<double>::quiet_NaN(), 40, 40, 0.125},
                  {1.5, 40, 40, 1.5}};
    for (const ScaleCase& c : scales)
        EXPECT_DOUBLE_EQ(LimitScale(c.scale, c.w, c.h), c.out) << c.scale << " " << c.w;
}

TEST(RotateAA, ZeroDegreesKeepsEvenPicturesExactly) {
    const TBitmap source = Labelled(40, 20);
    for (bool fill : {true, false}) {
        auto result = RotateBitmapAA(source, 0, clWhite, false, false, fill, 1.0);
        ASSERT_TRUE(result);
        ASSERT_EQ(result->Width(), 40);
        ASSERT_EQ(result->Height(), 20);
        EXPECT_EQ(result->PixelFormat(), pf32bit);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(At(*result, x, y), (Px{77, y, x, 255})) << x << "," << y;
    }
}

TEST(RotateAA, OddSizesLoseTheirLastColumnAndRow) {
    const TBitmap source = Labelled(41, 21);
    auto result = RotateBitmapAA(source, 0, clWhite, false, false, true, 1.0);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->Width(), 40);
    ASSERT_EQ(result->Height(), 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(At(*result, x, y), (Px{77, y, x, 255})) << x << "," << y;
}

TEST(RotateAA, QuarterTurnMovesPixelsClockwise) {
    const TBitmap source = Labelled(40, 20);
    auto result = RotateBitmapAA(source, 90, RGB(1, 2, 3), false, false, true, 1.0);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->Width(), 20);
    ASSERT_EQ(result->Height(), 40);
    for (int y = 0; y < 40; ++y)
        EXPECT_EQ(At(*result, 0, y), (Px{3, 2, 1, 0})) << y;
    EXPECT_EQ(At(*result, 1, 0), (Px{77, 19, 0, 255}));
    for (int y = 0; y < 40; ++y)
        for (int x = 1; x < 20; ++x)
            ASSERT_NE(At(*result, x, y).G, 0) << "source row 0 shows at " << x << "," << y;
}

TEST(RotateAA, QuarterAndHalfTurnsCopyPixelsWithoutBlur) {
    for (int angle : {90, 180, 270}) {
        for (auto [w, h] : {std::pair{40, 20}, {21, 13}, {8, 9}}) {
            const TBitmap source = Labelled(w, h);
            for (bool fill : {true, false}) {
                auto result =
                    RotateBitmapAA(source, angle, RGB(250, 251, 252), false, false, fill, 1.0);
                ASSERT_TRUE(result);
                int copies = 0;
                for (int y = 0; y < result->Height(); ++y) {
                    for (int x = 0; x < result->Width(); ++x) {
                        const Px p = At(*result, x, y);
                        if (p.A == 0) {
                            ASSERT_EQ(p, (Px{252, 251, 250, 0}));
                            continue;
                        }
                        ASSERT_EQ(p.A, 255);
                        ASSERT_TRUE(p.B == 77 && p.R < w && p.G < h)
                            << angle << " " << w << "x" << h << " at " << x << "," << y << " " << p;
                        ++copies;
                    }
                }
                EXPECT_GT(copies, (w - 2) * (h - 2)) << angle << " " << w << "x" << h;
            }
        }
    }
}

TEST(RotateAA, FortyFiveDegreesBlendsTheBorder) {
    const TBitmap grey = Uniform(40, 40, RGB(200, 200, 200));
    struct Case {
        bool fill;
        TColor back;
        Px first, second;
    } cases[] = {
        {false, clWhite, {200, 200, 200, 51}, {200, 200, 200, 232}},
        {true, clWhite, {244, 244, 244, 255}, {205, 205, 205, 255}},
        {true, clBlack, {40, 40, 40, 255}, {182, 182, 182, 255}},
    };
    for (const Case& c : cases) {
        auto result = RotateBitmapAA(grey, 45, c.back, false, false, c.fill, 1.0);
        ASSERT_TRUE(result);
        ASSERT_EQ(result->Width(), 57);
        ASSERT_EQ(result->Height(), 57);
        EXPECT_EQ(At(*result, 0, 0).A, 0) << "corner lies outside";
        EXPECT_EQ(At(*result, 0, 28), c.first) << c.fill << " " << c.back;
        EXPECT_EQ(At(*result, 1, 28), c.second) << c.fill << " " << c.back;
    }
}

TEST(RotateAA, FadedBorderKeepsItsColourUpToTheSmallOffset) {
    // Without the fill the border colour is divided by the covered weight plus 0.0001: a pixel
    // covered about 1.2 % by a white picture comes out 253 with alpha 3, not 255.
    auto result = RotateBitmapAA(Uniform(40, 40, clWhite), 10, clBlack, false, false, false, 1.0);
    ASSERT_TRUE(result);
    EXPECT_EQ(At(*result, 44, 19), (Px{253, 253, 253, 3}));
}

TEST(RotateAA, ColourKeyMakesKeyedAreasTransparent) {
    TBitmap source = Uniform(40, 40, clWhite);
    for (int y = 15; y < 25; ++y)
        for (int x = 15; x < 25; ++x)
            source.PutPixel(x, y, clBlack);
    auto result = RotateBitmapAA(source, 45, clWhite, true, false, true, 1.0);
    ASSERT_TRUE(result);
    std::map<int, int> alphas; // alpha -> count on row 28
    for (int y = 0; y < result->Height(); ++y) {
        for (int x = 0; x < result->Width(); ++x) {
            const Px p = At(*result, x, y);
            ASSERT_EQ(p.B, 0);
            ASSERT_EQ(p.G, 0);
            ASSERT_EQ(p.R, 0);
            if (y == 28)
                ++alphas[p.A];
        }
    }
    EXPECT_EQ(alphas.count(13), 1u);
    EXPECT_EQ(alphas.count(193), 1u);
    EXPECT_GT(alphas[255], 0) << "the square's inside stays opaque";
    EXPECT_GT(alphas[0], 0) << "the white around it goes";
    EXPECT_EQ(At(*result, 28, 28), (Px{0, 0, 0, 255}));
    EXPECT_EQ(At(*result, 5, 28), (Px{0, 0, 0, 0}));
}

TEST(RotateAA, ColourKeyOutsideIsAllZero) {
    auto result = RotateBitmapAA(Uniform(10, 10, clRed), 30, clWhite, true, false, true, 1.0);
    ASSERT_TRUE(result);
    EXPECT_EQ(At(*result, 0, 0), (Px{0, 0, 0, 0}));
}

TEST(RotateAA, ScaleLimitsShapeTheResult) {
    const TBitmap source = Labelled(40, 40);
    auto tiny = RotateBitmapAA(source, 0, clWhite, false, false, false, 0.01);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->Width(), 5);
    EXPECT_EQ(tiny->Height(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(At(*tiny, 0, i).A, 0) << i;
        EXPECT_EQ(At(*tiny, i, 0).A, 0) << i;
    }
    EXPECT_EQ(At(*tiny, 1, 1).A, 255);

    const TBitmap small = Labelled(10, 10);
    auto big = RotateBitmapAA(small, 37, clWhite, false, false, true, 20);
    auto ten = RotateBitmapAA(small, 37, clWhite, false, false, true, 10);
    ASSERT_TRUE(big && ten);
    ASSERT_EQ(big->Width(), ten->Width());
    ASSERT_EQ(big->Height(), ten->Height());
    for (int y = 0; y < big->Height(); ++y)
        for (int x = 0; x < big->Width(); ++x)
            ASSERT_EQ(At(*big, x, y), At(*ten, x, y));

    auto narrow = RotateBitmapAA(Labelled(5, 40), 0, clWhite, false, false, true, 0.5);
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->Width(), 4);
    EXPECT_EQ(narrow->Height(), 40);
}

TEST(RotateAA, EquivalentAnglesGiveTheSamePicture) {
    const TBitmap source = Labelled(12, 8);
    struct Case {
        double a, b;
    } cases[] = {{-90, 270}, {450, 90}, {-360, 0}, {-323, 37}};
    for (const Case& c : cases) {
        auto x = RotateBitmapAA(source, c.a, clWhite, false, false, true, 1.0);
        auto y = RotateBitmapAA(source, c.b, clWhite, false, false, true, 1.0);
        ASSERT_TRUE(x && y);
        ASSERT_EQ(x->Width(), y->Width());
        ASSERT_EQ(x->Height(), y->Height());
        for (int j = 0; j < x->Height(); ++j)
            for (int i = 0; i < x->Width(); ++i)
                ASSERT_EQ(At(*x, i, j), At(*y, i, j)) << c.a;
    }
}

TEST(RotateAA, SourceAlphaTakesPartOnlyFor32BitPictures) {
    const TBitmap rgba = Uniform(20, 20, RGB(10, 20, 30), pf32bit, 100);
    auto withAlpha = RotateBitmapAA(rgba, 0, clWhite, false, true, false, 1.0);
    ASSERT_TRUE(withAlpha);
    EXPECT_EQ(At(*withAlpha, 5, 5), (Px{30, 20, 10, 100}));
    auto withoutAlpha = RotateBitmapAA(rgba, 0, clWhite, false, false, false, 1.0);
    EXPECT_EQ(At(*withoutAlpha, 5, 5), (Px{30, 20, 10, 255}));

    const TBitmap rgb = Uniform(20, 20, RGB(10, 20, 30));
    auto ignored = RotateBitmapAA(rgb, 0, clWhite, false, true, false, 1.0);
    ASSERT_TRUE(ignored);
    EXPECT_EQ(At(*ignored, 5, 5), (Px{30, 20, 10, 255}));
}

TEST(RotateAA, UseAlphaWeightsBorderColourByCoverage) {
    // Half-transparent source, fill off: border colours are not renormalised.
    const TBitmap rgba = Uniform(40, 40, RGB(200, 200, 200), pf32bit, 255);
    auto result = RotateBitmapAA(rgba, 45, clWhite, false, true, false, 1.0);
    ASSERT_TRUE(result);
    const Px edge = At(*result, 0, 28);
    EXPECT_EQ(edge.A, 51);
    EXPECT_EQ(edge.R, 40) << "200 weighted by a coverage of 0.2";
}

TEST(RotateAA, NothingForEmptySources) {
    EXPECT_FALSE(RotateBitmapAA(TBitmap(), 10, clWhite, false, false, true, 1.0));
    EXPECT_FALSE(RotateBitmapAA(TBitmap(0, 10), 10, clWhite, false, false, true, 1.0));
}

TEST(RotateAA, ZeroResultSizeGivesAValidEmptyBitmap) {
    auto result = RotateBitmapAA(Labelled(1, 10), 0, clWhite, false, false, true, 1.0);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->Empty());
    EXPECT_EQ(result->Width(), 0);
}

TEST(RotateAA, SourceIsLeftUnchanged) {
    const TBitmap source = Labelled(16, 12);
    TBitmap copy = source;
    auto result = RotateBitmapAA(copy, 33, clWhite, true, false, true, 2.0);
    ASSERT_TRUE(result);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(copy.GetPixel(x, y), source.GetPixel(x, y));
}

} // namespace
