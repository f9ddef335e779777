// Switching stations on and off from the main window with the real engine on a loopback
// station: the buttons, the tray's Play and Stop, the double click, failures, and the volume.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "pcm_analysis.h"
#include "player_fixture.h"
#include "stream_server.h"

namespace orvanta::test {
namespace {

using namespace std::chrono_literals;

constexpr DWORD kFailed = 0xFFFFFFFF;
constexpr int kRate = 44100;
constexpr double kToneHz = 1000.0;

Route Tone() {
    Route route;
    route.file = std::string(ORVANTA_FIXTURES_DIR) + "/tone_1k_stereo.mp3";
    return route;
}

class PlaybackTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        for (const char* path : {"/s0.mp3", "/s1.mp3", "/s2.mp3"})
            server.Add(path, Tone());
        Route missing;
        missing.kind = Route::Kind::Status;
        missing.status = 404;
        server.Add("/missing.mp3", missing);
    }
    void TearDown() override {
        // The engine goes with the windows, before the station it listens to.
        PlayerTest::TearDown();
    }

    void ThreeStations() {
        WriteStations({{"Zero", server.Url("/s0.mp3")},
                       {"One", server.Url("/s1.mp3")},
                       {"Two", server.Url("/s2.mp3")}});
    }

    // True once the stream reports a real, non-zero level.
    bool Sounds(HSTREAM stream) {
        return PumpUntil(
            [stream] {
                const DWORD level = BASS_ChannelGetLevel(stream);
                return level != kFailed && level != 0;
            },
            3000);
    }

    static bool Freed(HSTREAM stream) {
        // A stopped stream can be played again; a freed one cannot.
        return BASS_ChannelGetLevel(stream) == kFailed && !BASS_ChannelPlay(stream, FALSE);
    }

    std::size_t WrittenFrames() const {
        std::error_code error;
        const auto bytes = fs::file_size(pcmPath, error);
        return error ? 0 : bytes / sizeof(float); // mono output
    }
    // Pumps events while the device writes `ms` more milliseconds of audio.
    void Play(int ms) {
        const std::size_t target = WrittenFrames() + static_cast<std::size_t>(kRate) * ms / 1000;
        PumpUntil([&] { return WrittenFrames() >= target; }, 2 * ms + 500);
    }
    std::vector<float> Tail(int ms) const {
        const std::vector<float> pcm = ReadFloats(pcmPath);
        const std::size_t count = std::min<std::size_t>(pcm.size(), kRate * ms / 1000);
        return ChannelOf(pcm, 1, 0, pcm.size() - count, count);
    }

    StreamServer server;
};

TEST_F(PlaybackTest, OnWithAnEmptyListReportsTheIndexAndPlaysNothing) {
    StartPlayer();
    Press(Form1->BitBtn1);
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"List index out of bounds (-1)"});
    EXPECT_EQ(dialogs.Shown[0].Caption, "Orvanta");
    EXPECT_EQ(dialogs.Shown[0].Icon(), vcl::MB_ICONERROR);
    EXPECT_EQ(Form1->CurrentStream, 0u);
    EXPECT_FALSE(Form1->Timer4->Enabled());
    EXPECT_EQ(Form1->Spectrum, nullptr);
    EXPECT_EQ(clock.Slept, 100ms); // the pause comes before the index is looked at
}

TEST_F(PlaybackTest, OnPlaysTheSelectedStationAndAgainReplacesIt) {
    ThreeStations();
    StartPlayer();
    UserSelects(1);
    Press(Form1->BitBtn1);
    EXPECT_TRUE(dialogs.Shown.empty());
    const HSTREAM first = Form1->CurrentStream;
    ASSERT_NE(first, 0u);
    EXPECT_EQ(server.Requests("/s1.mp3"), 1);
    EXPECT_EQ(server.Requests("/s0.mp3"), 0);
    EXPECT_EQ(clock.Slept, 100ms);
    EXPECT_TRUE(Form1->Timer4->Enabled());
    EXPECT_NE(Form1->Spectrum, nullptr);
    EXPECT_TRUE(Sounds(first));

    const visual::TSpectrum* firstRenderer = Form1->Spectrum.get();
    Press(Form1->BitBtn1);
    const HSTREAM second = Form1->CurrentStream;
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, first);
    EXPECT_EQ(clock.Slept, 200ms);
    EXPECT_TRUE(Freed(first));
    EXPECT_NE(Form1->Spectrum.get(), firstRenderer);
    EXPECT_TRUE(Sounds(second));
    EXPECT_EQ(server.Requests("/s1.mp3"), 2);
    // Exactly one stream is left: the first one's connection is gone.
    EXPECT_TRUE(PumpUntil([&] { return server.OpenConnections() == 1; }, 3000));
    EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(PlaybackTest, DoubleClickOnAStationSwitchesItOn) {
    ThreeStations();
    StartPlayer();
    Run(3000, [&] {
        UserSelects(2);
        auto* view = static_cast<QAbstractItemView*>(Form1->ListBox1->Widget());
        const QPoint p = view->visualRect(view->model()->index(2, 0)).center();
        QMouseEvent dbl(QEvent::MouseButtonDblClick, p, view->viewport()->mapToGlobal(p),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &dbl);
        application->Terminate();
    });
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_NE(Form1->CurrentStream, 0u);
    EXPECT_EQ(server.Requests("/s2.mp3"), 1);
}

TEST_F(PlaybackTest, OffIsHarmlessBeforeAnyOnAndTwice) {
    ThreeStations();
    StartPlayer();
    Press(Form1->BitBtn2);
    EXPECT_EQ(Form1->CurrentStream, 0u);
    EXPECT_TRUE(dialogs.Shown.empty());

    UserSelects(0);
    Press(Form1->BitBtn1);
    const HSTREAM stream = Form1->CurrentStream;
    ASSERT_TRUE(Sounds(stream));
    Press(Form1->BitBtn2);
    EXPECT_EQ(Form1->CurrentStream, stream); // the handle is kept
    EXPECT_EQ(BASS_ChannelGetLevel(stream), kFailed);
    Press(Form1->BitBtn2);
    EXPECT_EQ(Form1->CurrentStream, stream);
    EXPECT_TRUE(Freed(stream));
    EXPECT_TRUE(Form1->Timer4->Enabled());
    EXPECT_TRUE(dialogs.Shown.empty());

    // On works again afterwards.
    Press(Form1->BitBtn1);
    EXPECT_NE(Form1->CurrentStream, stream);
    EXPECT_TRUE(Sounds(Form1->CurrentStream));
}

TEST_F(PlaybackTest, TrayPlayStartsTheFirstStationWhenNoneIsSelected) {
    const struct {
        int selected;
        int expected;
    } cases[] = {{-1, 0}, {2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        ThreeStations();
        const std::string path = "/s" + std::to_string(c.expected) + ".mp3";
        const int before = server.Requests(path);
        StartPlayer();
        if (c.selected >= 0)
            UserSelects(c.selected);
        Choose(Form1->Play1);
        EXPECT_EQ(Selections(), std::vector<int>(3, c.expected));
        EXPECT_TRUE(dialogs.Shown.empty());
        EXPECT_EQ(server.Requests(path), before + 1);
        EXPECT_TRUE(Sounds(Form1->CurrentStream));
        ClosePlayer();
    }
}

TEST_F(PlaybackTest, TrayStopThenPlayMakesANewStream) {
    ThreeStations();
    StartPlayer();
    UserSelects(1);
    Choose(Form1->Play1);
    const HSTREAM first = Form1->CurrentStream;
    ASSERT_TRUE(Sounds(first));
    Choose(Form1->Stop1);
    EXPECT_EQ(BASS_ChannelGetLevel(first), kFailed);
    EXPECT_EQ(Form1->CurrentStream, first);

    Choose(Form1->Play1);
    const HSTREAM second = Form1->CurrentStream;
    EXPECT_NE(second, first);
    EXPECT_TRUE(Freed(first));
    EXPECT_TRUE(Sounds(second));
    EXPECT_EQ(server.Requests("/s1.mp3"), 2);
    EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(PlaybackTest, MissingUrlLineReportsItsIndexAfterStoppingThePreviousStation) {
    WriteStations({{"Zero", server.Url("/s0.mp3")}, {"One", server.Url("/s1.mp3")}});
    dir.Write("names.txt", "Zero\r\nOne\r\nTwo\r\n");
    StartPlayer();
    UserSelects(0);
    Press(Form1->BitBtn1);
    const HSTREAM playing = Form1->CurrentStream;
    ASSERT_TRUE(Sounds(playing));

    UserSelects(2);
    Press(Form1->BitBtn1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"List index out of bounds (2)"});
    EXPECT_EQ(Form1->CurrentStream, playing);
    EXPECT_TRUE(Freed(playing));
}

TEST_F(PlaybackTest, StationThatCannotBeReachedGivesSilenceWithoutAMessage) {
    for (const std::string& url :
         {std::string("http://127.0.0.1:1/closed.mp3"), server.Url("/missing.mp3")}) {
        SCOPED_TRACE(url);
        WriteStations({{"Good", server.Url("/s0.mp3")}, {"Bad", url}});
        StartPlayer();
        UserSelects(0);
        Press(Form1->BitBtn1);
        const HSTREAM previous = Form1->CurrentStream;
        ASSERT_TRUE(Sounds(previous));

        UserSelects(1);
        const auto start = std::chrono::steady_clock::now();
        Press(Form1->BitBtn1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
        EXPECT_TRUE(dialogs.Shown.empty());
        EXPECT_EQ(Form1->CurrentStream, 0u);
        EXPECT_TRUE(Freed(previous));
        EXPECT_TRUE(Form1->Timer4->Enabled());
        EXPECT_NE(Form1->Spectrum, nullptr);
        // The meters and the spectrum keep ticking on the failed stream without complaint.
        Pump(100);
        EXPECT_TRUE(dialogs.Shown.empty());
        ClosePlayer();
    }
}

TEST_F(PlaybackTest, VolumeFollowsTheKnobOnTheWindowTick) {
    ThreeStations();
    StartPlayer();
    UserSelects(0);
    Press(Form1->BitBtn1);
    ASSERT_TRUE(Sounds(Form1->CurrentStream));

    Form1->Knob1->SetPosition(100);
    Play(700);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 100);
    const double full = ToneAmplitude(Tail(300), kRate, kToneHz);
    // The stereo tone (0.5 and 0.25) mixed to mono.
    ASSERT_NEAR(full, 0.375, 0.03);

    Form1->Knob1->SetPosition(37);
    Play(500);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 37);
    EXPECT_NEAR(ToneAmplitude(Tail(300), kRate, kToneHz) / full, 0.37, 0.02);

    Form1->Knob1->SetPosition(0);
    Play(500);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 0);
    EXPECT_EQ(Peak(Tail(300)), 0.0);
    // The level is taken before the volume: the station still sounds to the meters.
    EXPECT_NE(BASS_ChannelGetLevel(Form1->CurrentStream), 0u);
}

} // namespace
} // namespace orvanta::test
