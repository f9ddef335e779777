// The 20 ms window tick: the caption with the time and the whole station list, the clock
// label, the docking of the three companions and the volume bar; and ticks that arrive before
// the companions exist.
#include <gtest/gtest.h>

#include <string>

#include "player_fixture.h"

namespace orvanta::test {
namespace {

using vcl::LocalTime;

class WindowTickTest : public PlayerTest {
protected:
    static void Tick() { Form1->Timer1Timer(Form1->Timer1); }
};

TEST_F(WindowTickTest, CaptionIsTheTimeThenEveryNameFollowedByCrLf) {
    WriteStations({{"A", "http://127.0.0.1:9/a"},
                   {"B", "http://127.0.0.1:9/b"},
                   {"C", "http://127.0.0.1:9/c"}});
    StartPlayer();
    Form1->SelectStation(1); // the selection plays no part
    clock.Set(LocalTime(12, 34, 56));
    Tick();
    EXPECT_EQ(Form1->Caption(), "12:34:56  A\r\nB\r\nC\r\n");
    EXPECT_EQ(Form1->Label4->Caption(), "12:34:56");

    clock.Set(LocalTime(9, 5, 7, 999));
    Tick();
    EXPECT_EQ(Form1->Caption(), "9:05:07  A\r\nB\r\nC\r\n");
    EXPECT_EQ(Form1->Label4->Caption(), "9:05:07");
}

TEST_F(WindowTickTest, CaptionOfAnEmptyListIsTheTimeAndTwoSpaces) {
    StartPlayer();
    clock.Set(LocalTime(0, 0, 0));
    Tick();
    EXPECT_EQ(Form1->Caption(), "0:00:00  ");
}

TEST_F(WindowTickTest, CompanionsDockAroundTheMainWindow) {
    StartPlayer();
    const struct {
        int left, top, width, height;
        int f1Left, f2Left, stripTop;
    } cases[] = {
        {300, 200, 368, 273, 175, 668, 473},
        // The main window's height, not its width, places the right window.
        {300, 200, 500, 273, 175, 668, 473},
        {0, 0, 368, 300, -125, 395, 300},
    };
    for (const auto& c : cases) {
        Form1->SetBounds(c.left, c.top, c.width, c.height);
        ASSERT_EQ(Form1->Width(), c.width);
        ASSERT_EQ(Form1->Height(), c.height);
        Tick();
        EXPECT_EQ(f1->Left(), c.f1Left);
        EXPECT_EQ(f1->Top(), c.top);
        EXPECT_EQ(f2->Left(), c.f2Left);
        EXPECT_EQ(f2->Top(), c.top);
        EXPECT_EQ(Form8->Left(), c.f1Left);
        EXPECT_EQ(Form8->Top(), c.stripTop);
        // Sizes are never touched.
        EXPECT_EQ(f1->Width(), 125);
        EXPECT_EQ(f2->Width(), 126);
        EXPECT_EQ(Form8->Width(), 620);
        EXPECT_EQ(Form8->Height(), 51);
    }
}

TEST_F(WindowTickTest, CompanionsFollowTheMainWindowWhileShown) {
    dir.Write("setup.ini", "[visible]\r\na=1\r\nb=1\r\nc=1\r\n");
    StartPlayer();
    Run(400, [] { Form1->SetBounds(260, 150, Form1->Width(), Form1->Height()); });
    EXPECT_TRUE(f1->Visible());
    EXPECT_EQ(f1->Left(), Form1->Left() - 125);
    EXPECT_EQ(f1->Top(), Form1->Top());
    EXPECT_EQ(f2->Left(), Form1->Left() + 125 + Form1->Height() - 30);
    EXPECT_EQ(Form8->Top(), Form1->Top() + Form1->Height());
    // The peers were moved too, not only the stored values.
    EXPECT_EQ(f1->Widget()->x(), f1->Left());
    EXPECT_EQ(Form8->Widget()->y(), Form8->Top());
}

TEST_F(WindowTickTest, VolumeBarFollowsTheKnob) {
    StartPlayer();
    for (int position : {0, 37, 100}) {
        Form1->Knob1->SetPosition(position);
        Tick();
        EXPECT_EQ(Form1->ProgressBar1->Position(), position);
    }
}

// Timers tick while the engine failure box of start-up is up, before the companions exist.
TEST_F(WindowTickTest, TicksBeforeTheCompanionsExistTouchNoMissingWindow) {
    application = std::make_unique<vcl::TApplication>();
    application->Initialize();
    application->CreateForm(Form1);
    ASSERT_EQ(f1, nullptr);
    ASSERT_EQ(Form8, nullptr);
    clock.Set(LocalTime(8, 0, 0));
    Form1->Timer1Timer(nullptr);
    Form1->Timer3Timer(nullptr);
    Form1->SetupSpectrum();
    EXPECT_EQ(Form1->Spectrum->BackBuffer.Width(), 620);
    EXPECT_EQ(Form1->Spectrum->BackBuffer.Height(), 51);
    Form1->Timer4Timer(nullptr);
    Form1->Timer4->SetEnabled(true);
    Pump(60); // the real timers, all four running
    EXPECT_EQ(Form1->Label4->Caption(), "8:00:00");
    EXPECT_TRUE(dialogs.Shown.empty());
}

} // namespace
} // namespace orvanta::test
