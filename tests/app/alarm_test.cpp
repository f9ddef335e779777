// The alarm clock on the settable clock: the countdown (negative differences by magnitude, the
// turn at midnight), firing once in the alarm second with the wake-up volume, and the firing
// that stops when the switch-on fails.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "player_fixture.h"
#include "stream_server.h"

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;
using vcl::LocalTime;

class AlarmTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        Route tone;
        tone.file = std::string(ORVANTA_FIXTURES_DIR) + "/tone_1k_stereo.mp3";
        server.Add("/wake.mp3", tone);
    }

    // One station, selected, and the alarm set to h:m:s with the box ticked.
    void Arm(int h, int m, int s) {
        WriteStations({{"Wake", server.Url("/wake.mp3")}});
        StartPlayer();
        Form1->SelectStation(0);
        Form1->DateTimePicker1->SetSecondsOfDay(h * 3600 + m * 60 + s);
        Form1->CheckBox1->SetChecked(true);
    }

    void At(vcl::TDateTime t) { clock.Set(t); }
    // A tick as the timer delivers it: an error goes to the general handler.
    void Tick() {
        vcl::Guarded([] { Form1->Timer2Timer(Form1->Timer2); });
    }
    std::string Label() const { return Form1->Label1->Caption(); }
    bool Fired() const { return server.Requests("/wake.mp3") > 0; }

    StreamServer server;
};

TEST_F(AlarmTest, CountsDownThenFiresInTheAlarmSecondWithTheWakeUpVolume) {
    Arm(7, 0, 0);
    Form1->Knob2->SetPosition(55);
    At(LocalTime(6, 59, 58));
    Tick();
    EXPECT_EQ(Label(), "0:00:02");
    At(LocalTime(6, 59, 59));
    Tick();
    EXPECT_EQ(Label(), "0:00:01");
    EXPECT_FALSE(Fired());
    EXPECT_EQ(Form1->CurrentStream, 0u);

    At(LocalTime(7, 0, 0, 400));
    Tick();
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_FALSE(Form1->Timer2->Enabled());
    EXPECT_EQ(server.Requests("/wake.mp3"), 1);
    EXPECT_NE(Form1->CurrentStream, 0u);
    EXPECT_TRUE(Form1->Timer4->Enabled());
    EXPECT_EQ(Form1->Knob1->Position(), 55);
    EXPECT_EQ(Label(), "Вставай!!!");
    EXPECT_FALSE(Form1->CheckBox1->Checked());
}

TEST_F(AlarmTest, WakeUpVolumeIsClampedToTheVolumeKnob) {
    const struct {
        int wake;
        int volume;
    } cases[] = {{127, 100}, {100, 100}, {0, 0}};
    for (const auto& c : cases) {
        Arm(12, 0, 0);
        Form1->Knob2->SetPosition(c.wake);
        Tick(); // the clock stands at 12:00:00: due at once
        EXPECT_EQ(Form1->Knob1->Position(), c.volume) << "wake-up " << c.wake;
        EXPECT_EQ(Label(), "Вставай!!!");
        ClosePlayer();
    }
}

TEST_F(AlarmTest, CountdownToAnEarlierTimeCountsUpUntilMidnightThenDown) {
    Arm(7, 0, 0);
    const struct {
        vcl::TDateTime now;
        const char* label;
    } steps[] = {
        {LocalTime(13, 0, 0), "6:00:00"},
        {LocalTime(13, 0, 5, 900), "6:00:05"}, // whole seconds, the fraction dropped
        {LocalTime(23, 59, 59), "16:59:59"},
        {LocalTime(0, 0, 0) + 24h, "7:00:00"},
        {LocalTime(0, 0, 1) + 24h, "6:59:59"},
        {LocalTime(6, 59, 59, 500) + 24h, "0:00:00"},
    };
    for (const auto& s : steps) {
        At(s.now);
        Tick();
        EXPECT_EQ(Label(), s.label);
    }
    EXPECT_FALSE(Fired());
    At(LocalTime(7, 0, 0) + 24h);
    Tick();
    EXPECT_EQ(Label(), "Вставай!!!");
    EXPECT_TRUE(Fired());
}

TEST_F(AlarmTest, UntickedBoxShowsAndFiresNothingEvenInTheAlarmSecond) {
    Arm(7, 0, 0);
    Form1->CheckBox1->SetChecked(false);
    At(LocalTime(7, 0, 0, 200));
    Tick();
    EXPECT_EQ(Label(), "Осталось");
    EXPECT_TRUE(Form1->Timer2->Enabled());
    EXPECT_FALSE(Fired());

    // Ticked again a second later, it is armed for the next day.
    Form1->CheckBox1->SetChecked(true);
    At(LocalTime(7, 0, 1));
    Tick();
    EXPECT_EQ(Label(), "0:00:01");
    EXPECT_FALSE(Fired());
    At(LocalTime(7, 0, 0, 999) + 24h);
    Tick();
    EXPECT_TRUE(Fired());
}

TEST_F(AlarmTest, FiresOnlyOnceEvenWhenTheBoxIsTickedAgain) {
    Arm(12, 0, 0);
    Form1->Knob2->SetPosition(40);
    // The real timer delivers the ticks; the clock stays in the alarm second.
    ASSERT_TRUE(PumpUntil([] { return !Form1->Timer2->Enabled(); }, 3000));
    EXPECT_EQ(Label(), "Вставай!!!");
    Form1->Knob1->SetPosition(10);
    Form1->CheckBox1->SetChecked(true);
    Pump(150);
    EXPECT_EQ(Label(), "Вставай!!!");
    EXPECT_EQ(Form1->Knob1->Position(), 10);
    EXPECT_EQ(server.Requests("/wake.mp3"), 1);
    EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(AlarmTest, FiresWhileTheWindowSetIsHidden) {
    Arm(12, 0, 1);
    Form1->Knob2->SetPosition(80);
    Choose(Form1->N2); // hide everything into the tray
    ASSERT_FALSE(Form1->Visible());
    Pump(50);
    EXPECT_FALSE(Fired());
    At(LocalTime(12, 0, 1, 300));
    ASSERT_TRUE(PumpUntil([] { return !Form1->Timer2->Enabled(); }, 3000));
    EXPECT_TRUE(Fired());
    EXPECT_EQ(Form1->Knob1->Position(), 80);
    EXPECT_FALSE(Form1->Visible());
}

TEST_F(AlarmTest, FailingSwitchOnStopsTheFiringAfterTheClick) {
    StartPlayer(); // no stations: the switch-on finds no selection
    Form1->Knob2->SetPosition(90);
    Form1->Knob1->SetPosition(25);
    Form1->DateTimePicker1->SetSecondsOfDay(12 * 3600);
    Form1->CheckBox1->SetChecked(true);
    At(LocalTime(12, 0, 0, 100));
    Tick();
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"List index out of bounds (-1)"});
    EXPECT_FALSE(Form1->Timer2->Enabled());
    EXPECT_EQ(Form1->Knob1->Position(), 25);
    EXPECT_EQ(Label(), "0:00:00"); // the countdown of this very tick stays
    EXPECT_TRUE(Form1->CheckBox1->Checked());
    // The timer is off for good: no second report.
    Pump(100);
    EXPECT_EQ(dialogs.Shown.size(), 1u);
}

} // namespace
} // namespace orvanta::test
