// The level and spectrum ticks: fourteen engine readings divided into the level bars, the
// spectrum drawn into the strip and, when the settings file asks for it on that very tick,
// into the main window's centre; a fresh renderer at every switch-on.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <string>

#include "player_fixture.h"
#include "stream_server.h"

namespace orvanta::test {
namespace {

using vcl::TProgressBar;

// Columns of the left window from the left; the right window shows them mirrored.
constexpr std::array<int, 7> kFailureLeft = {143165, 178214, 159072, 214748,
                                             204522, 126322, 115767};

std::array<TProgressBar*, 7> LeftColumns() {
    return {f1->ProgressBar1, f1->ProgressBar2, f1->ProgressBar3, f1->ProgressBar4,
            f1->ProgressBar5, f1->ProgressBar6, f1->ProgressBar7};
}
std::array<TProgressBar*, 7> RightColumns() {
    return {f2->ProgressBar2, f2->ProgressBar1, f2->ProgressBar3, f2->ProgressBar4,
            f2->ProgressBar5, f2->ProgressBar6, f2->ProgressBar7};
}

class VisualRefreshTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        Route tone;
        tone.file = std::string(ORVANTA_FIXTURES_DIR) + "/tone_1k_stereo.mp3";
        server.Add("/tone.mp3", tone);
    }
    void PlayTone() {
        WriteStations({{"Tone", server.Url("/tone.mp3")}});
        StartPlayer();
        Form1->SelectStation(0);
        Form1->BitBtn1Click(Form1->BitBtn1);
        ASSERT_NE(Form1->CurrentStream, 0u);
        ASSERT_TRUE(PumpUntil(
            [] {
                const DWORD level = BASS_ChannelGetLevel(Form1->CurrentStream);
                return level != 0xFFFFFFFF && (level >> 16) > 1000;
            },
            3000));
    }
    static void LevelTick() { Form1->Timer3Timer(Form1->Timer3); }
    static void SpectrumTick() { Form1->Timer4Timer(Form1->Timer4); }

    void ExpectAllBarsFull(const char* when) {
        const auto left = LeftColumns();
        const auto right = RightColumns();
        for (int c = 0; c < 7; ++c) {
            EXPECT_EQ(left[c]->Position(), kFailureLeft[c]) << when << ", left " << c + 1;
            EXPECT_EQ(right[6 - c]->Position(), kFailureLeft[c]) << when << ", right " << 7 - c;
            EXPECT_EQ(left[c]->FilledPixels(), 269) << when;
            EXPECT_EQ(right[c]->FilledPixels(), 269) << when;
        }
    }

    StreamServer server;
};

TEST_F(VisualRefreshTest, WithoutAStreamEveryLevelBarIsFull) {
    StartPlayer();
    ASSERT_EQ(Form1->CurrentStream, 0u);
    LevelTick();
    ExpectAllBarsFull("no stream");
}

TEST_F(VisualRefreshTest, LevelBarsFollowThePlayingStreamAndGoFullAfterOff) {
    PlayTone();
    LevelTick();
    const auto left = LeftColumns();
    const auto right = RightColumns();
    for (int c = 0; c < 7; ++c) {
        // A real reading is at most full right level, 0x80000000: column 1 (divisor 30000)
        // can then reach 71582 only, so a full bar there would mean a failure reading.
        EXPECT_GT(left[c]->Position(), 0) << "left " << c + 1;
        EXPECT_GT(right[c]->Position(), 0) << "right " << c + 1;
    }
    EXPECT_LT(left[0]->Position(), 71583);
    EXPECT_LT(right[6]->Position(), 71583);
    EXPECT_LT(left[0]->FilledPixels(), 269);
    // The same divisor on both sides, read moments apart: about the same height.
    EXPECT_NEAR(left[0]->Position(), right[6]->Position(), left[0]->Position() / 4);

    Form1->BitBtn2Click(Form1->BitBtn2);
    LevelTick();
    ExpectAllBarsFull("after Off");
}

int CountPixels(const vcl::TBitmap& bitmap, vcl::TColor colour) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            count += bitmap.Canvas().Pixel(x, y) == colour;
    return count;
}

TEST_F(VisualRefreshTest, PlayingStreamShowsGreenBarsWithRedPeaksInTheStrip) {
    PlayTone();
    EXPECT_TRUE(Form1->Timer4->Enabled());
    Pump(300); // the real timers draw
    const vcl::TBitmap& strip = Form8->PaintBox1->Bitmap();
    EXPECT_GT(CountPixels(strip, 0x00FF00), 50);
    // The 1 kHz tone lands near FFT bin 23, band 9: its bar stands at the full 35 pixels.
    EXPECT_EQ(Form1->Spectrum->BarHeights[9], 35);
    EXPECT_EQ(Form1->Spectrum->BarHeights[100], 0);

    // A steady tone hides each peak mark under its bar; once the sound goes, the bars sink
    // faster than the marks and the red marks show above them.
    Form1->BitBtn2Click(Form1->BitBtn2);
    Form1->FFTBuffer.fill(0.0f); // the freed stream leaves the buffer as it was
    for (int i = 0; i < 3; ++i)
        SpectrumTick();
    EXPECT_EQ(Form1->Spectrum->BarHeights[9], 23);
    EXPECT_EQ(Form1->Spectrum->PeakHeights[9], 32);
    EXPECT_GT(CountPixels(strip, 0x0000FF), 0);
}

class CentreTest : public VisualRefreshTest {
protected:
    // No stream: the engine leaves the buffer alone, so the test decides what is drawn.
    void SetUp() override {
        VisualRefreshTest::SetUp();
        StartPlayer();
        Form1->Show();
        Form1->SetupSpectrum();
    }
    void Centre(bool on) {
        dir.Write("setup.ini", on ? "[visible]\r\nd=1\r\n" : "[visible]\r\nd=0\r\n");
    }
    void Loud() { Form1->FFTBuffer[5] = 0.07f; } // band 0 at 35 pixels
    void Silent() { Form1->FFTBuffer.fill(0.0f); }
    // The main window's pixel at a point of its client area, as it is on screen.
    QColor ClientPixel(int x, int y) {
        return QColor(Form1->Widget()->grab().toImage().pixel(x, y));
    }
};

TEST_F(CentreTest, CentreFlagIsReadOnEveryTickAndDoublesTheFallOff) {
    Centre(false);
    Loud();
    SpectrumTick();
    EXPECT_EQ(Form1->Spectrum->BarHeights[0], 35);
    Silent();
    SpectrumTick();
    EXPECT_EQ(Form1->Spectrum->BarHeights[0], 31);
    EXPECT_EQ(Form1->Spectrum->PeakHeights[0], 34);

    Centre(true); // as the settings window saves it: the next tick already sees it
    SpectrumTick();
    EXPECT_EQ(Form1->Spectrum->BarHeights[0], 23);
    EXPECT_EQ(Form1->Spectrum->PeakHeights[0], 32);

    Centre(false);
    SpectrumTick();
    EXPECT_EQ(Form1->Spectrum->BarHeights[0], 19);
    EXPECT_EQ(Form1->Spectrum->PeakHeights[0], 31);
}

TEST_F(CentreTest, CentreDrawsOnTheMainWindowWhileItsAreaStaysHidden) {
    Loud();
    // Band 0 spans columns 1..4; at 35 pixels its bar covers rows 17..51 of the frame, of
    // which the 37-row centre area shows rows 17..36.
    const int x = 102 + 2, y = 78 + 30;
    Centre(false);
    SpectrumTick();
    EXPECT_NE(ClientPixel(x, y), QColor(0, 255, 0));

    Centre(true);
    SpectrumTick();
    EXPECT_FALSE(Form1->PaintBox1->Visible());
    EXPECT_EQ(ClientPixel(x, y), QColor(0, 255, 0));
    // Left of the first band and above the bars: the black background of the frame.
    EXPECT_EQ(ClientPixel(102, 78 + 30), QColor(0, 0, 0));
    EXPECT_EQ(ClientPixel(x, 78 + 5), QColor(0, 0, 0));
    // Nothing outside the centre rectangle.
    EXPECT_NE(ClientPixel(101, 78 + 30), QColor(0, 0, 0));
    EXPECT_NE(ClientPixel(102 + 235, 78 + 30), QColor(0, 0, 0));
}

TEST_F(CentreTest, EverySwitchOnStartsFromEmptyBarsWithThePlayersLook) {
    Centre(false);
    Loud();
    SpectrumTick();
    ASSERT_EQ(Form1->Spectrum->BarHeights[0], 35);
    Form1->SetupSpectrum();
    const visual::TSpectrum& s = *Form1->Spectrum;
    for (int i = 0; i < visual::TSpectrum::BandCount; ++i) {
        ASSERT_EQ(s.BarHeights[i], 0);
        ASSERT_EQ(s.PeakHeights[i], 0);
    }
    EXPECT_EQ(s.BackBuffer.Width(), 620);
    EXPECT_EQ(s.BackBuffer.Height(), 51);
    EXPECT_EQ(s.BarColor, 0x00FF00);
    EXPECT_EQ(s.PeakColor, 0x0000FF);
    EXPECT_EQ(s.MaxBarHeight, 35);
    EXPECT_EQ(s.BarWidth, 4);
    EXPECT_EQ(s.DrawStyle, 1);
    EXPECT_EQ(s.BarFallOff, 4);
    EXPECT_EQ(s.PeakFallOff, 1);
    EXPECT_EQ(s.BinStep, 2);
    EXPECT_EQ(s.BackgroundColor, 0);
    EXPECT_TRUE(s.ClearFrame);
    EXPECT_FALSE(s.UseBackground);
    EXPECT_TRUE(s.ShowPeaks);
}

} // namespace
} // namespace orvanta::test
