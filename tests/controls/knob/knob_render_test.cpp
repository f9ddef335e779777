// The plain knob's pixels, its bevel, state ring and marks, and how each pass reuses what the
// last one captured or composed.
#include "knob_render_fixture.h"

#include "controls/knob/ezline.h"
#include "controls/knob/knob_render_style.h"
#include "platform/vcl/stdctrls.h"

#include <cmath>
#include <string>
#include <vector>

namespace knobrender {
namespace {

TEST_F(KnobRenderTest, RedPlainKnobAtMinKeepsItsFaceRedToTheBevel) {
    knob->SetPosition(0);
    knob->Paint();
    EXPECT_EQ(knob->At(50, 50), clRed);
    EXPECT_EQ(knob->At(50, 6), clRed) << "distance 44 lies inside the face's soft edge";
    const TColor faceEdge = Blend(Background, clRed, 219);
    EXPECT_EQ(knob->At(50, 4), Blend(faceEdge, 0xEFEFEF, 191))
        << "face edge over the background, then the inner ring";
    for (auto [x, y] : {std::pair{0, 0}, {99, 0}, {0, 99}, {99, 99}, {3, 3}})
        EXPECT_EQ(knob->At(x, y), Background) << x << "," << y;
}

TEST_F(KnobRenderTest, WithoutBorderTheFaceReachesFurtherAndNoRingIsDrawn) {
    knob->SetDrawBorder(false);
    knob->SetPosition(50);
    knob->Paint();
    EXPECT_EQ(knob->At(50, 97), clRed) << "distance 47 is inside the 47.8 edge";
    // The edge band runs from 47.8 to 49.2: half strength at 48.5.
    for (auto [x, y] : {std::pair{50, 98}, {2, 50}, {98, 50}})
        EXPECT_EQ(knob->At(x, y), Blend(Background, clRed, 219)) << x << "," << y;
    EXPECT_EQ(knob->At(50, 99), Blend(Background, clRed, 36)) << "no state ring at distance 49";
    EXPECT_EQ(knob->At(1, 50), Blend(Background, clRed, 36));
    EXPECT_EQ(knob->At(0, 50), Background);
    // Nothing but the mark is drawn over the body, which is what the pass kept.
    EXPECT_EQ(knob->Composed().GetPixel(50, 99), knob->At(50, 99));
    EXPECT_EQ(knob->Composed().GetPixel(50, 8), clRed) << "the body is kept without the mark";
}

TEST_F(KnobRenderTest, ShadedRingTurnsWithTheValue) {
    struct Case {
        int position;
        int x, y;
        int grey;
    } cases[] = {
        // Angle 90: light 120..210, dark 300..30, blends between.
        {50, 2, 50, 223},
        {50, 50, 2, 191},
        {50, 98, 50, 127},
        {50, 50, 98, 159},
        // Angle 240 (Min): light 270..360, dark 90..180.
        {0, 83, 84, 223},
        {0, 17, 16, 127},
        // Angle -60 (Max): light -30..60, dark 150..240.
        {100, 84, 17, 223},
        {100, 16, 83, 127},
    };
    for (const Case& c : cases) {
        knob->SetPosition(c.position);
        knob->Paint();
        EXPECT_EQ(knob->At(c.x, c.y), Grey(c.grey))
            << "position " << c.position << " at " << c.x << "," << c.y;
    }
}

TEST(BevelShadingTable, LightBandAlwaysRunsFromThirtyToOneHundredTwentyPastTheDirection) {
    for (int theta = -60; theta <= 240; ++theta) {
        const knob::TBevelShading s = knob::BevelShading(theta);
        ASSERT_GE(s.Lo, 0) << theta;
        ASSERT_LT(s.Lo, 180) << theta;
        ASSERT_EQ(s.Hi, s.Lo + 90) << theta;
        // The band Lo..Hi carries colour1; whichever colour that is, light must sit at
        // theta+30..theta+120 modulo 360.
        const int lightLo = s.Colour1 == knob::BevelLight ? s.Lo : s.Lo + 180;
        EXPECT_EQ(((lightLo - (theta + 30)) % 360 + 360) % 360, 0) << theta;
        EXPECT_NE(s.Colour1, s.Colour2) << theta;
    }
    EXPECT_EQ(knob::BevelShading(149).Colour1, knob::BevelLight);
    EXPECT_EQ(knob::BevelShading(150).Colour1, knob::BevelDark);
    EXPECT_EQ(knob::BevelShading(-31).Colour1, knob::BevelDark);
    EXPECT_EQ(knob::BevelShading(-30).Colour1, knob::BevelLight);
}

TEST_F(KnobRenderTest, StateRingColourFollowsTheKnobsState) {
    TLabel* label = new TLabel(form);
    label->SetParent(form);
    knob->SetPositionLabel(label);
    auto ringAt = [&] { return knob->At(50, 1); };

    knob->Paint();
    EXPECT_EQ(ringAt(), 0x3F3F3F) << "idle";
    knob->SetFocus();
    ASSERT_TRUE(knob->Focused());
    knob->Paint();
    EXPECT_EQ(ringAt(), 0x000000) << "focused with ShowFocusedState";
    knob->SetShowFocusedState(false);
    knob->Paint();
    EXPECT_EQ(ringAt(), 0x3F3F3F) << "focus not shown";
    knob->SetEnabled(false);
    EXPECT_EQ(ringAt(), 0x808080) << "disabled, redrawn at once";
    EXPECT_FALSE(label->Enabled()) << "the label follows the knob";
    knob->SetEnabled(true);
    EXPECT_TRUE(label->Enabled());
    knob->MouseDown(mbLeft, 0, 50, 50);
    ASSERT_TRUE(knob->Dragging());
    knob->RefreshState();
    EXPECT_EQ(ringAt(), 0x000000) << "dragging, even without ShowFocusedState";
    knob->MouseUp(mbLeft, 0, 50, 50);
    EXPECT_EQ(ringAt(), 0x3F3F3F) << "drag ended";
    knob->SetShowFocusedState(true);
    knob->SetEnabled(false);
    EXPECT_EQ(ringAt(), 0x808080) << "disabled whatever the focus";
}

TEST_F(KnobRenderTest, LineMarkIsDrawnBlackThroughTheRendererAndFollowsItsWidth) {
    knob->SetPosition(50); // straight up: the line runs from 40 to 43 pixels out
    knob->Paint();
    for (int y : {7, 8, 9, 10})
        EXPECT_EQ(knob->At(50, y), clBlack) << "y " << y;
    EXPECT_EQ(knob->At(50, 5), clRed) << "beyond the outer end";
    EXPECT_EQ(knob->At(50, 12), clRed) << "beyond the inner end";
    EXPECT_EQ(knob->At(47, 9), clRed) << "beside a 2-pixel line";

    knob->SetLineWidth(6); // the line now covers x 47..53, its axis from y 9 to 12
    EXPECT_EQ(knob->LineRenderer().Width, 6.0);
    knob->Paint();
    for (int x : {48, 50, 52})
        EXPECT_EQ(knob->At(x, 11), clBlack) << "x " << x;

    knob->SetLineColor(clLime);
    knob->Paint();
    // The line renderer divides by 256: a full-coverage channel of 255 lands on 254.
    EXPECT_EQ(knob->At(50, 11), RGB(0, (255 * 255) >> 8, 0));
}

TEST_F(KnobRenderTest, CircleMarkOfRadiusThreeSitsTenPixelsFromTheTop) {
    knob->SetIndicatorType(itCircle);
    knob->SetLineLength(6);
    knob->SetLineColor(clBlue);
    knob->SetPosition(50);
    knob->Paint();
    // Full colour within 3 - 0.8 of (50, 10), face beyond 3 + 0.8.
    for (auto [x, y] : {std::pair{50, 10}, {52, 10}, {48, 10}, {50, 8}, {50, 12}, {51, 11}})
        EXPECT_EQ(knob->At(x, y), clBlue) << x << "," << y;
    for (auto [x, y] : {std::pair{50, 6}, {50, 14}, {46, 10}, {54, 10}, {53, 13}})
        EXPECT_EQ(knob->At(x, y), clRed) << x << "," << y;
    EXPECT_EQ(knob->At(53, 10), Blend(clRed, clBlue, 128)) << "half strength at the radius";
}

TEST_F(KnobRenderTest, PlainKnobShowsItsMarkEvenWhenToldNotTo) {
    knob->SetPosition(50);
    knob->SetShowIndicator(false);
    knob->Paint();
    EXPECT_EQ(knob->At(50, 9), clBlack);
}

TEST_F(KnobRenderTest, RedrawReusesTheCaptureAndNeverMakesTheWindowUnderneathPaint) {
    TBitmap backdrop(100, 100, pf24bit);
    backdrop.Canvas().Brush.Color = clLime;
    backdrop.Canvas().FillRect(Rect(0, 0, 100, 100));
    PatternWidget& w = PutUnder(backdrop);

    knob->Paint();
    EXPECT_EQ(knob->At(0, 0), clLime) << "the control underneath shows in the corners";
    const int paintsAfterCapture = w.Paints;
    EXPECT_GT(paintsAfterCapture, 0);

    w.Picture.fill(QColor(0, 0, 255)); // what underneath shows now changes
    for (int p = 0; p <= 100; p += 10)
        knob->SetPosition(p);
    knob->RefreshState();
    EXPECT_EQ(w.Paints, paintsAfterCapture) << "value and state changes reuse the capture";
    EXPECT_EQ(knob->At(0, 0), clLime);

    knob->Paint();
    EXPECT_EQ(knob->At(0, 0), clBlue) << "a Paint captures the new background";
    EXPECT_EQ(knob->At(50, 50), clRed);
}

TEST_F(KnobRenderTest, PaintAfterTheParentColourChangedShowsItAroundTheDisc) {
    knob->Paint();
    form->SetColor(clNavy);
    knob->Redraw();
    EXPECT_EQ(knob->At(0, 0), Background) << "Redraw uses the last capture";
    knob->Paint();
    EXPECT_EQ(knob->At(0, 0), clNavy);
    EXPECT_EQ(knob->At(99, 99), clNavy);
}

TEST_F(KnobRenderTest, RefreshStateDrawsOverTheComposedBodyOnly) {
    knob->SetPosition(50);
    knob->Paint();
    // The composed body has the bevel but neither the state ring nor the mark.
    EXPECT_EQ(knob->Composed().GetPixel(50, 1), Background);
    EXPECT_EQ(knob->Composed().GetPixel(50, 9), clRed);
    EXPECT_EQ(knob->Composed().GetPixel(2, 50), Grey(223));

    const TBitmap before = knob->Composed();
    knob->Canvas().Brush.Color = clYellow;
    knob->Canvas().FillRect(Rect(0, 0, 100, 100));
    knob->RefreshState();
    EXPECT_EQ(knob->At(50, 50), clRed);
    EXPECT_EQ(knob->At(50, 1), 0x3F3F3F);
    EXPECT_EQ(knob->At(50, 9), clBlack);
    EXPECT_EQ(knob->At(2, 50), Grey(223));
    EXPECT_EQ(knob->At(0, 0), Background);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(knob->Composed().GetPixel(x, y), before.GetPixel(x, y)) << x << "," << y;

    // A value change composes the body again: the bevel's shading has turned.
    knob->SetPosition(0);
    EXPECT_EQ(knob->Composed().GetPixel(2, 50), Grey(127));
}

TEST_F(KnobRenderTest, PassesDrawAtEverySizeWithoutLeavingTheFrame) {
    for (int side : {1, 2, 5, 24, 40, 41, 99}) {
        knob->SetBounds(KnobLeft, KnobTop, side, side);
        ASSERT_EQ(knob->Diameter(), side);
        for (TIndicatorType type : {itLine, itCircle}) {
            knob->SetIndicatorType(type);
            knob->Paint();
            knob->SetPosition(side % 100);
            knob->RefreshState();
            EXPECT_EQ(knob->Composed().Width(), side);
        }
        if (side >= 24) {
            EXPECT_EQ(knob->At(side / 2, side / 2), clRed) << side;
            EXPECT_EQ(knob->At(0, 0), Background) << side;
        }
    }
}

} // namespace
} // namespace knobrender
