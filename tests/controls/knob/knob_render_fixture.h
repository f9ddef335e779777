// A knob on a shown form of a known colour, with the drawing passes and work bitmaps opened up,
// and a Qt widget under it that paints a chosen picture and counts how often it is painted.
#pragma once

#include "controls/knob/knob.h"
#include "platform/vcl/application.h"
#include "platform/vcl/forms.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cmath>
#include <memory>

namespace knobrender {

using namespace vcl;

class RenderKnob : public TKnob {
public:
    using TKnob::MouseDown;
    using TKnob::MouseUp;
    using TKnob::Paint;
    using TKnob::Redraw;
    using TKnob::RefreshState;
    using TKnob::TKnob;
    const TBitmap& Face() const { return FFaceBitmap; }
    const TBitmap& Mask() const { return FMaskBitmap; }
    const TBitmap& Outside() const { return FOutsideBitmap; }
    const TBitmap& Composed() const { return FComposedBitmap; }
    bool FaceReady() const { return FFaceReady; }
    // What the last pass showed.
    TColor At(int x, int y) { return Canvas().Pixel(x, y); }
};

// Sits under the knob and paints `Picture`; every paint is counted, so a test can tell whether
// drawing the knob made the window underneath paint.
class PatternWidget : public QWidget {
public:
    explicit PatternWidget(QWidget* parent) : QWidget(parent) {}
    QImage Picture;
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++Paints;
        QPainter painter(this);
        painter.drawImage(0, 0, Picture);
    }
};

inline constexpr TColor Background = 0x305070;

// alpha/255 of fg over bg per channel, rounded halves to even.
inline TColor Blend(TColor bg, TColor fg, int alpha) {
    auto channel = [alpha](int b, int f) {
        return static_cast<int>(std::nearbyint(alpha / 255.0 * f + (255 - alpha) / 255.0 * b));
    };
    return RGB(channel(GetRValue(bg), GetRValue(fg)), channel(GetGValue(bg), GetGValue(fg)),
               channel(GetBValue(bg), GetBValue(fg)));
}

inline TColor Grey(int level) {
    return RGB(level, level, level);
}

// A white picture with a blue square around (cx, cy), the asymmetry that shows a turn.
inline TBitmap MarkedPicture(int side, int cx, int cy, int half = 5) {
    TBitmap picture(side, side, pf24bit);
    picture.Canvas().Brush.Color = clWhite;
    picture.Canvas().FillRect(Rect(0, 0, side, side));
    picture.Canvas().Brush.Color = clBlue;
    picture.Canvas().FillRect(Rect(cx - half, cy - half, cx + half + 1, cy + half + 1));
    return picture;
}

inline QImage ToImage(const TBitmap& bitmap) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.GetPixel(x, y);
            image.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    return image;
}

inline bool IsBlue(TColor c) {
    return GetBValue(c) > 200 && GetRValue(c) < 60 && GetGValue(c) < 60;
}

class KnobRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        application = std::make_unique<TApplication>();
        application->CreateForm(form);
        form->SetColor(Background);
        form->SetClientSize(300, 300);
        form->Show();
        application->ProcessMessages();
        knob = std::make_unique<RenderKnob>(nullptr);
        knob->SetParent(form);
        knob->SetBounds(KnobLeft, KnobTop, 100, 100);
        knob->SetMax(100);
        knob->SetColor(clRed);
    }

    void TearDown() override {
        under.reset();
        knob.reset();
        application.reset();
    }

    // A widget the knob's size right under it, painting `picture`.
    PatternWidget& PutUnder(const TBitmap& picture) {
        under = std::make_unique<PatternWidget>(knob->Widget()->parentWidget());
        under->setGeometry(KnobLeft, KnobTop, knob->Width(), knob->Height());
        under->Picture = ToImage(picture);
        under->show();
        under->lower();
        return *under;
    }

    static constexpr int KnobLeft = 30;
    static constexpr int KnobTop = 40;
    std::unique_ptr<TApplication> application;
    TForm* form = nullptr;
    std::unique_ptr<RenderKnob> knob;
    std::unique_ptr<PatternWidget> under;
};

} // namespace knobrender
