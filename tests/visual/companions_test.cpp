// The three companion windows: borderless tool windows with the level bars and the spectrum
// strip laid out as designed, and level bars that fill from the bottom, show values above the
// maximum as full and repaint only when what they show changes.
#include "visual/companions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "platform/vcl/application.h"

using namespace vcl;

namespace {

class CompanionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        Application->CreateForm(f1);
        Application->CreateForm(f2);
        Application->CreateForm(Form8);
    }
    void TearDown() override { app.reset(); }

    std::unique_ptr<TApplication> app;
};

struct Placement {
    TLevelWindow* window;
    int clientWidth;
    std::array<int, 7> barsFromLeft;
};

TEST_F(CompanionsTest, LevelWindowsHoldSevenBarsInTheirColumns) {
    const Placement placements[] = {
        {f1, 125, {1, 2, 3, 4, 5, 6, 7}},
        {f2, 126, {2, 1, 3, 4, 5, 6, 7}},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.window->Name());
        EXPECT_EQ(p.window->ClientWidth(), p.clientWidth);
        EXPECT_EQ(p.window->ClientHeight(), 269);
        for (int column = 0; column < 7; ++column) {
            TProgressBar* bar = p.window->Bar(p.barsFromLeft[column]);
            SCOPED_TRACE(bar->Name());
            EXPECT_EQ(bar->Name(), "ProgressBar" + std::to_string(p.barsFromLeft[column]));
            EXPECT_EQ(bar->Parent(), p.window);
            EXPECT_EQ(bar->Left(), column * 18);
            EXPECT_EQ(bar->Top(), 0);
            EXPECT_EQ(bar->Width(), 18);
            EXPECT_EQ(bar->Height(), 269);
            EXPECT_EQ(bar->Min(), 0);
            EXPECT_EQ(bar->Max(), 100000);
            EXPECT_EQ(bar->Orientation(), pbVertical);
        }
    }
}

TEST_F(CompanionsTest, SpectrumStripIsCoveredByItsDrawingArea) {
    EXPECT_EQ(Form8->ClientWidth(), 620);
    EXPECT_EQ(Form8->ClientHeight(), 51);
    EXPECT_EQ(Form8->PaintBox1->Parent(), Form8);
    EXPECT_EQ(Form8->PaintBox1->Align(), alClient);
    EXPECT_EQ(Form8->PaintBox1->Left(), 0);
    EXPECT_EQ(Form8->PaintBox1->Top(), 0);
    EXPECT_EQ(Form8->PaintBox1->Width(), 620);
    EXPECT_EQ(Form8->PaintBox1->Height(), 51);
}

TEST_F(CompanionsTest, AllThreeAreBorderlessLayeredToolWindowsCreatedHidden) {
    for (TForm* form : std::array<TForm*, 3>{f1, f2, Form8}) {
        SCOPED_TRACE(form->Name());
        EXPECT_EQ(form->BorderStyle(), bsNone);
        EXPECT_TRUE(form->AlphaBlend());
        EXPECT_TRUE(form->ToolWindow());
        EXPECT_FALSE(form->Visible());
        // Borderless: the outer size is the client size.
        EXPECT_EQ(form->Width(), form->ClientWidth());
        EXPECT_EQ(form->Height(), form->ClientHeight());
        const Qt::WindowFlags flags = form->Widget()->windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool); // no task-bar entry
        EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    }
}

TEST_F(CompanionsTest, StoredPositionsHoldUntilTheFirstDocking) {
    EXPECT_EQ(f1->Left(), 800);
    EXPECT_EQ(f1->Top(), 435);
    EXPECT_EQ(f2->Left(), 890);
    EXPECT_EQ(f2->Top(), 280);
    EXPECT_EQ(Form8->Left(), 248);
    EXPECT_EQ(Form8->Top(), 468);
}

// Rows of the bar's on-screen picture that show the highlight colour, counted from the bottom.
int HighlightRowsFromBottom(TProgressBar* bar) {
    const QImage image = bar->Widget()->grab().toImage();
    const TColor rgb = ColorToRGB(clHighlight);
    const QColor highlight(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    int rows = 0;
    for (int y = image.height() - 1; y >= 0; --y) {
        if (QColor(image.pixel(image.width() / 2, y)) != highlight)
            break;
        ++rows;
    }
    // Nothing above the filled part may carry the colour: the fill is one block from the bottom.
    for (int y = 0; y < image.height() - rows; ++y)
        EXPECT_NE(QColor(image.pixel(image.width() / 2, y)), highlight) << "row " << y;
    return rows;
}

TEST_F(CompanionsTest, LevelBarsFillFromTheBottomAndShowValuesAboveTheMaximumFull) {
    TProgressBar* bar = f1->ProgressBar4;
    const struct {
        int position;
        int rows;
    } cases[] = {
        {0, 0},        {50000, 134},  {100000, 269},
        {107374, 269}, {214748, 269}, // beyond the maximum: full, not wrapped or empty
        {-5, 0},
    };
    for (const auto& c : cases) {
        bar->SetPosition(c.position);
        EXPECT_EQ(bar->Position(), c.position); // kept as given
        EXPECT_EQ(HighlightRowsFromBottom(bar), c.rows) << "position " << c.position;
    }
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(CompanionsTest, ABarRepaintsOnlyWhenItsShownFillChanges) {
    f1->Show();
    TProgressBar* bar = f1->ProgressBar1;
    bar->SetPosition(50000);
    QApplication::processEvents();
    PaintCounter counter;
    bar->Widget()->installEventFilter(&counter);

    // 269 pixels for 100000: these all show 134 filled rows.
    for (int position : {50001, 50100, 50150, 50000})
        bar->SetPosition(position);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(counter.paints, 0);

    // A changed fill reaches the screen by the next display frame.
    bar->SetPosition(60000);
    waited.restart();
    while (counter.paints == 0 && waited.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(counter.paints, 1);
    bar->Widget()->removeEventFilter(&counter);
}

TEST_F(CompanionsTest, ChangesFasterThanTheDisplayArePresentedOncePerFrame) {
    f1->Show();
    TProgressBar* bar = f1->ProgressBar2;
    QApplication::processEvents();
    PaintCounter counter;
    bar->Widget()->installEventFilter(&counter);
    // Ten level ticks' worth of changes, 1 ms apart, well within two display frames.
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= 10; ++i) {
        bar->SetPosition(i * 9000);
        while (clock.elapsed() < i)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    while (clock.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, 3) << "one paint per change would be 10";
    // The last state is what shows.
    EXPECT_EQ(bar->FilledPixels(), 242);
    bar->Widget()->removeEventFilter(&counter);
}

} // namespace
