// Picture and transparent faces: the picture centred on the face, the two disc masks, turning
// with the value, and when each work bitmap is refreshed.
#include "knob_render_fixture.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace knobrender {
namespace {

// Where a point of the picture (x, y) lands on a `side` knob turned clockwise by `degrees`.
std::pair<int, int> Turned(int side, int x, int y, double degrees) {
    const double c = side / 2.0;
    const double a = degrees * std::numbers::pi / 180.0;
    const double dx = x - c, dy = y - c;
    // Clockwise on screen, where y grows downwards.
    return {static_cast<int>(std::lround(c + dx * std::cos(a) - dy * std::sin(a))),
            static_cast<int>(std::lround(c + dx * std::sin(a) + dy * std::cos(a)))};
}

TEST_F(KnobRenderTest, PictureIsCentredOnTheFacePerAxis) {
    struct Case {
        int w, h;
    } cases[] = {{60, 140}, {140, 60}, {100, 100}, {30, 30}};
    for (const Case& c : cases) {
        // Every picture pixel tells where it came from.
        TBitmap picture(c.w, c.h, pf24bit);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                picture.PutPixel(x, y, RGB(x, y, 7));
        knob->SetColor(clYellow);
        knob->SetKnobImage(&picture);
        ASSERT_TRUE(knob->FaceReady());
        auto span = [](int target, int size) {
            return target > size ? std::pair{(target - size) / 2, 0}
                                 : std::pair{0, (size - target) / 2};
        };
        const auto [dx, sx] = span(100, c.w);
        const auto [dy, sy] = span(100, c.h);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const int px = x - dx + sx, py = y - dy + sy;
                const bool inside = px >= 0 && px < c.w && py >= 0 && py < c.h;
                ASSERT_EQ(knob->Face().GetPixel(x, y), inside ? RGB(px, py, 7) : clYellow)
                    << c.w << "x" << c.h << " at " << x << "," << y;
            }
    }
}

TEST_F(KnobRenderTest, MaskAndOutsideAreExactComplements) {
    form->SetColor(clWhite);
    const TBitmap picture = MarkedPicture(100, 50, 20);
    knob->SetKnobImage(&picture);
    for (int side : {100, 41, 24, 7}) {
        knob->SetBounds(KnobLeft, KnobTop, side, side);
        knob->Paint();
        int inside = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const TColor m = knob->Mask().GetPixel(x, y);
                ASSERT_TRUE(m == clWhite || m == clBlack) << side << ": " << x << "," << y;
                // Over a white background the outside bitmap is the hole itself.
                ASSERT_EQ(m ^ knob->Outside().GetPixel(x, y), clWhite)
                    << side << ": " << x << "," << y;
                inside += m == clWhite;
            }
        EXPECT_EQ(knob->Mask().GetPixel(side / 2, side / 2), clWhite) << side;
        EXPECT_EQ(knob->Mask().GetPixel(0, 0), clBlack) << side;
        EXPECT_EQ(knob->Mask().GetPixel(2, side / 2), clWhite) << side;
        EXPECT_GT(inside, 0) << side;
    }
}

TEST_F(KnobRenderTest, PictureKnobTurnsThreeHundredDegreesFromMinToMax) {
    const TBitmap picture = MarkedPicture(100, 50, 20);
    knob->SetKnobImage(&picture);
    knob->SetShowIndicator(false);
    knob->SetPosition(0);
    knob->Paint();
    // At Min the picture is shown as drawn, cut to the disc.
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            if (std::hypot(x - 50.0, y - 50.0) < 44) {
                ASSERT_EQ(knob->At(x, y), picture.GetPixel(x, y)) << x << "," << y;
            }
        }
    EXPECT_EQ(knob->At(0, 0), Background) << "the parent shows outside the disc";
    EXPECT_EQ(knob->At(99, 0), Background);

    knob->SetPosition(100);
    const auto [tx, ty] = Turned(100, 50, 20, 300);
    EXPECT_TRUE(IsBlue(knob->At(tx, ty))) << "turned to " << tx << "," << ty;
    EXPECT_FALSE(IsBlue(knob->At(50, 20)));
    EXPECT_EQ(knob->At(0, 0), Background) << "Redraw keeps the captured surroundings";

    knob->SetRotateImage(false);
    knob->Paint();
    EXPECT_TRUE(IsBlue(knob->At(50, 20))) << "without RotateImage the picture stays still";
    EXPECT_FALSE(IsBlue(knob->At(tx, ty)));
}

TEST_F(KnobRenderTest, PictureKnobHidesItsMarkWhenToldAndDrawsAWhiteRim) {
    const TBitmap picture = MarkedPicture(100, 50, 80);
    knob->SetKnobImage(&picture);
    knob->SetLineColor(clRed);
    knob->SetPosition(50); // mark straight up, over the white part of the picture
    knob->Paint();
    // Inset 5 in picture mode: the 2-pixel line runs from 41 to 44 pixels out.
    for (int y : {6, 8, 9})
        EXPECT_EQ(knob->At(50, y), RGB((255 * 255) >> 8, 0, 0)) << "y " << y;
    EXPECT_EQ(knob->At(50, 11), clWhite);
    // The white rim at R - 2.5, half strength at distance 48, just outside the disc mask.
    EXPECT_EQ(knob->At(50, 98), Blend(Background, clWhite, 128));
    EXPECT_EQ(knob->At(98, 50), Blend(Background, clWhite, 128));

    knob->SetShowIndicator(false);
    knob->Paint();
    EXPECT_EQ(knob->At(50, 8), clWhite);
}

TEST_F(KnobRenderTest, ColourReachesAPictureFaceOnlyWhenThePictureIsWrittenAgain) {
    const TBitmap small = MarkedPicture(60, 30, 30);
    knob->SetColor(clYellow);
    knob->SetKnobImage(&small);
    knob->Paint();
    EXPECT_EQ(knob->At(15, 50), clYellow) << "the margin around a smaller picture";
    knob->SetColor(clLime);
    knob->Paint();
    EXPECT_EQ(knob->At(15, 50), clYellow) << "writing Color does not refill the face";
    knob->SetKnobImage(&small);
    knob->Paint();
    EXPECT_EQ(knob->At(15, 50), clLime);
}

TEST_F(KnobRenderTest, TransparentKnobTurnsTheBackgroundOnlyWithRotateImage) {
    PutUnder(MarkedPicture(100, 50, 20));
    knob->SetTransparent(true);
    knob->SetShowIndicator(false);
    knob->SetPosition(0);
    knob->Paint();
    EXPECT_TRUE(IsBlue(knob->At(50, 20))) << "at Min the background is not turned";
    EXPECT_EQ(knob->At(50, 50), clWhite);

    knob->SetPosition(100);
    const auto [tx, ty] = Turned(100, 50, 20, 300);
    EXPECT_TRUE(IsBlue(knob->At(tx, ty))) << "turned to " << tx << "," << ty;
    EXPECT_FALSE(IsBlue(knob->At(50, 20)));

    knob->SetRotateImage(false);
    knob->Paint();
    EXPECT_TRUE(IsBlue(knob->At(50, 20))) << "without RotateImage the background stays";
    EXPECT_FALSE(IsBlue(knob->At(tx, ty)));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const double d = std::hypot(x - 50.0, y - 50.0);
            if (d < 44 || d > 51) {
                ASSERT_EQ(knob->At(x, y), knob->Face().GetPixel(x, y)) << x << "," << y;
            }
        }
}

TEST_F(KnobRenderTest, TransparentFaceIsCapturedByPaintOnly) {
    PatternWidget& w = PutUnder(MarkedPicture(100, 50, 20));
    knob->SetTransparent(true);
    knob->SetRotateImage(false);
    knob->Paint();
    EXPECT_TRUE(IsBlue(knob->At(50, 20)));
    w.Picture = ToImage(MarkedPicture(100, 50, 70));
    knob->SetPosition(30);
    EXPECT_TRUE(IsBlue(knob->At(50, 20))) << "a value change keeps the last capture";
    knob->Paint();
    EXPECT_FALSE(IsBlue(knob->At(50, 20)));
    EXPECT_TRUE(IsBlue(knob->At(50, 70)));
}

} // namespace
} // namespace knobrender
