#include "visual/player_spectrum.h"
#include "visual/spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

using namespace vcl;
using visual::TSpectrum;

namespace {

using Fft = std::array<float, TSpectrum::FFTSize>;

constexpr int kStripWidth = 620;
constexpr int kStripHeight = 51;

// A magnitude whose height is exactly h, well away from the truncation edge.
float SampleFor(int h) {
    return (static_cast<float>(h) + 0.5f) / 500.0f;
}

Fft Silence() {
    return Fft{};
}

Fft Uniform(float value) {
    Fft data{};
    data.fill(value);
    return data;
}

// Data that lights the given bands at height h for the given bin step.
Fft Bands(std::initializer_list<int> bands, int h, int binStep) {
    Fft data{};
    for (int band : bands)
        data[TSpectrum::FirstBin + band * binStep] = SampleFor(h);
    return data;
}

void Fill(TBitmap& bitmap, TColor color) {
    bitmap.Canvas().Brush.Color = color;
    bitmap.Canvas().FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

int Count(const TBitmap& bitmap, TColor color) {
    int n = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            n += bitmap.GetPixel(x, y) == color;
    return n;
}

std::set<int> RowsOf(const TBitmap& bitmap, int x, TColor color) {
    std::set<int> rows;
    for (int y = 0; y < bitmap.Height(); ++y)
        if (bitmap.GetPixel(x, y) == color)
            rows.insert(y);
    return rows;
}

std::set<int> Range(int first, int last) {
    std::set<int> rows;
    for (int r = first; r <= last; ++r)
        rows.insert(r);
    return rows;
}

} // namespace

TEST(Spectrum, FreshRendererHasItsDefaults) {
    TSpectrum s(kStripWidth, kStripHeight);
    EXPECT_EQ(s.BackBuffer.Width(), kStripWidth);
    EXPECT_EQ(s.BackBuffer.Height(), kStripHeight);
    EXPECT_EQ(s.BackgroundBitmap.Width(), kStripWidth);
    EXPECT_EQ(s.BackgroundBitmap.Height(), kStripHeight);
    EXPECT_EQ(s.BackgroundColor, 0);
    EXPECT_EQ(s.MaxBarHeight, 100);
    EXPECT_EQ(s.BarColor, 0xFFFFFF);
    EXPECT_EQ(s.PeakColor, 0x00FFFF);
    EXPECT_EQ(s.DrawStyle, 0);
    EXPECT_EQ(s.BinStep, 1);
    EXPECT_TRUE(s.ClearFrame);
    EXPECT_FALSE(s.UseBackground);
    EXPECT_EQ(s.PeakFallOff, 1);
    EXPECT_EQ(s.BarFallOff, 3);
    EXPECT_EQ(s.BarWidth, 5);
    EXPECT_TRUE(s.ShowPeaks);
    for (int i = 0; i < TSpectrum::BandCount; ++i) {
        EXPECT_EQ(s.PeakHeights[i], 0) << i;
        EXPECT_EQ(s.BarHeights[i], 0) << i;
    }
    // An untouched background shows as empty, not as a fresh bitmap's white.
    EXPECT_EQ(Count(s.BackgroundBitmap, clBlack), kStripWidth * kStripHeight);
    EXPECT_EQ(Count(s.BackBuffer, clBlack), kStripWidth * kStripHeight);
}

TEST(Spectrum, MagnitudeBecomesTruncatedClampedHeight) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float sample;
        int maxBarHeight;
        int height;
    };
    const Case cases[] = {
        {0.05f, 100, 25},
        {-0.05f, 100, 25},
        {1.0f, 100, 100},
        {1.0f, 35, 35},
        {0.0f, 100, 0},
        {-0.0f, 100, 0},
        {0.0999f, 100, 49},
        {-0.0999f, 100, 49},
        {0.0019f, 100, 0},
        {0.05f, 20, 20},
        {0.05f, 0, 0},
        {0.05f, -5, 0},
        {1e30f, 100, 100},
        {inf, 35, 35},
        {-inf, 35, 35},
        {std::nanf(""), 100, 0},
        // The single-precision product would round these up to the next integer.
        {0.01f, 100, 4},
        {0.02f, 100, 9},
    };
    for (const Case& c : cases) {
        TSpectrum s(8, 8);
        s.MaxBarHeight = c.maxBarHeight;
        Fft data{};
        data[TSpectrum::FirstBin + 7] = c.sample;
        s.Draw(s.BackBuffer.Canvas(), data, 0, 0);
        for (int i = 0; i < TSpectrum::BandCount; ++i) {
            const int expected = i == 7 ? c.height : 0;
            EXPECT_EQ(s.BarHeights[i], expected) << c.sample << " max " << c.maxBarHeight;
            EXPECT_EQ(s.PeakHeights[i], expected) << c.sample << " max " << c.maxBarHeight;
        }
    }
}

TEST(Spectrum, BinStepChoosesWhichBinsFeedTheBands) {
    struct Case {
        int binStep;
        int element;
        std::set<int> bands;
    };
    std::set<int> all;
    for (int i = 0; i < TSpectrum::BandCount; ++i)
        all.insert(i);
    const Case cases[] = {
        {1, 5, {0}}, {1, 133, {128}}, {1, 4, {}},   {1, 134, {}},    {2, 25, {10}},
        {2, 26, {}}, {2, 261, {128}}, {2, 262, {}}, {3, 389, {128}}, {3, 512, {}},
        {2, 0, {}},  {0, 5, all},     {0, 6, {}},
    };
    for (const Case& c : cases) {
        TSpectrum s(8, 8);
        s.BinStep = c.binStep;
        Fft data{};
        data[c.element] = 0.05f;
        s.Draw(s.BackBuffer.Canvas(), data, 0, 0);
        for (int i = 0; i < TSpectrum::BandCount; ++i)
            EXPECT_EQ(s.BarHeights[i], c.bands.count(i) ? 25 : 0)
                << "step " << c.binStep << " element " << c.element << " band " << i;
    }
}

TEST(Spectrum, StepsReachingPastTheBufferReadSilence) {
    struct Case {
        int binStep;
        int firstSilent; // bands from here on read outside 0..512
        int lastSilent;
    };
    const Case cases[] = {
        {4, 127, 128},                    // 5 + 127 * 4 = 513
        {-1, 6, 128},                     // 5 - 6 = -1
        {-16, 1, 128},     {16, 32, 128}, // 5 + 32 * 16 = 517
        {INT_MAX, 1, 128}, {INT_MIN, 1, 128},
    };
    // Loud guards around the buffer show any read outside it.
    constexpr std::size_t guard = 2100;
    std::vector<float> memory(guard + TSpectrum::FFTSize + guard, 1.0f);
    std::fill_n(memory.begin() + guard, TSpectrum::FFTSize, 0.05f);
    const TSpectrum::TFFTData data(memory.data() + guard, TSpectrum::FFTSize);
    for (const Case& c : cases) {
        TSpectrum s(8, 8);
        s.BinStep = c.binStep;
        s.Draw(s.BackBuffer.Canvas(), data, 0, 0);
        for (int i = 0; i < TSpectrum::BandCount; ++i)
            EXPECT_EQ(s.BarHeights[i], i >= c.firstSilent && i <= c.lastSilent ? 0 : 25)
                << "step " << c.binStep << " band " << i;
    }
}

TEST(Spectrum, LoudBandFallsOffStepByStepWhateverTheTarget) {
    TSpectrum s(kStripWidth, kStripHeight);
    visual::ApplyPlayerLook(s);
    TBitmap strip(kStripWidth, kStripHeight);
    TBitmap centre(235, 37);
    s.Draw(strip.Canvas(), Uniform(1.0f), 1, 1);
    ASSERT_EQ(s.BarHeights[0], 35);
    ASSERT_EQ(s.PeakHeights[0], 35);

    const std::vector<int> bars = {31, 27, 23, 19, 15, 11, 7, 3, 0, 0, 0};
    const Fft silence = Silence();
    for (int step = 1; step <= 40; ++step) {
        // Every Draw advances the state once, as the player's second draw into the centre does.
        TBitmap& target = step % 2 ? strip : centre;
        s.Draw(target.Canvas(), silence, 1, 1);
        const int bar = step <= static_cast<int>(bars.size()) ? bars[step - 1] : 0;
        const int peak = std::max(35 - step, 0);
        for (int i : {0, 64, 128}) {
            EXPECT_EQ(s.BarHeights[i], bar) << "step " << step << " band " << i;
            EXPECT_EQ(s.PeakHeights[i], peak) << "step " << step << " band " << i;
        }
    }
}

TEST(Spectrum, SignalCatchesTheFallingBarButNotTheFallingPeak) {
    TSpectrum s(kStripWidth, kStripHeight);
    visual::ApplyPlayerLook(s);
    struct Step {
        int input;
        int bar;
        int peak;
    };
    const Step steps[] = {
        {35, 35, 35}, {0, 31, 34},  {0, 27, 33},  {20, 23, 32}, // below the bar: it keeps falling
        {25, 25, 31}, {31, 31, 31}, {31, 31, 31},               // a steady signal holds the bar
        {0, 27, 30},  {40, 35, 35},                             // clamped to the maximum
    };
    for (const Step& st : steps) {
        s.Draw(s.BackBuffer.Canvas(), Bands({5}, st.input, s.BinStep), 1, 1);
        EXPECT_EQ(s.BarHeights[5], st.bar) << "input " << st.input;
        EXPECT_EQ(s.PeakHeights[5], st.peak) << "input " << st.input;
    }
}

TEST(Spectrum, PlayerStripShowsBarsAndPeakMarks) {
    TSpectrum s(kStripWidth, kStripHeight);
    visual::ApplyPlayerLook(s);
    TBitmap strip(kStripWidth, kStripHeight);
    const TColor green = 0x00FF00, red = 0x0000FF;

    // At the same height the bar covers its own peak mark.
    s.Draw(strip.Canvas(), Uniform(1.0f), 1, 1);
    EXPECT_EQ(Count(strip, red), 0);
    EXPECT_EQ(RowsOf(strip, 1, green), Range(52 - 35, 50));

    // One step later: bar 31 (rows 21..50 below the strip's bottom row 51), peak 34 on row 18.
    s.Draw(strip.Canvas(), Silence(), 1, 1);
    const int visibleBands = 124; // band 123 ends at column 619; 124..128 fall off the strip
    for (int x = 0; x < kStripWidth; ++x) {
        const bool inBar = x >= 1 && (x - 1) % 5 < 4;
        EXPECT_EQ(RowsOf(strip, x, green), inBar ? Range(21, 50) : std::set<int>{}) << x;
        EXPECT_EQ(RowsOf(strip, x, red), inBar ? std::set<int>{18} : std::set<int>{}) << x;
    }
    EXPECT_EQ(Count(strip, green), visibleBands * 4 * 30);
    EXPECT_EQ(Count(strip, red), visibleBands * 4);
    EXPECT_EQ(Count(strip, clBlack), kStripWidth * kStripHeight - visibleBands * 4 * 31);
    // The clipped bands still keep their state.
    EXPECT_EQ(s.BarHeights[128], 31);
    EXPECT_EQ(s.PeakHeights[128], 34);
}

TEST(Spectrum, LastBandsAreClippedAtTheRightEdge) {
    struct Case {
        int width;
        int greenColumns;
    };
    const Case cases[] = {
        {620, 124 * 4},     {618, 123 * 4 + 2}, {621, 124 * 4},
        {623, 124 * 4 + 2}, {700, 129 * 4},     {3, 2},
    };
    for (const Case& c : cases) {
        TSpectrum s(c.width, kStripHeight);
        visual::ApplyPlayerLook(s);
        TBitmap target(c.width, kStripHeight);
        s.Draw(target.Canvas(), Uniform(1.0f), 1, 1);
        int columns = 0;
        for (int x = 0; x < c.width; ++x)
            columns += target.GetPixel(x, kStripHeight - 1) == 0x00FF00;
        EXPECT_EQ(columns, c.greenColumns) << "width " << c.width;
    }
}

TEST(Spectrum, LineStyleDrawsOneColumnPerBandWithPeakDots) {
    for (bool showPeaks : {true, false}) {
        TSpectrum s(140, 40);
        s.ShowPeaks = showPeaks;
        s.BackgroundColor = RGB(10, 20, 30);
        TBitmap target(140, 40);
        const Fft loud = Bands({0, 128}, 12, 1);
        s.Draw(target.Canvas(), loud, 2, -3);
        s.Draw(target.Canvas(), Silence(), 2, -3);
        ASSERT_EQ(s.BarHeights[0], 9);
        ASSERT_EQ(s.PeakHeights[0], 11);

        // Bottom at Y + H = 37: the line covers rows 37 up to 29 and leaves out row 28;
        // the peak dot sits on row 37 - 11.
        std::set<int> expected = Range(29, 37);
        if (showPeaks)
            expected.insert(26);
        EXPECT_EQ(RowsOf(target, 2, clWhite), expected) << showPeaks;
        EXPECT_EQ(RowsOf(target, 130, clWhite), expected) << showPeaks;
        // Silent bands show only their dot on the bottom row, which Y = -3 brings into view.
        EXPECT_EQ(RowsOf(target, 3, clWhite), showPeaks ? std::set<int>{37} : std::set<int>{});
        EXPECT_EQ(Count(target, clWhite), showPeaks ? 2 * 10 + 127 : 2 * 9) << showPeaks;
        // Dots take the bar colour; the peak colour belongs to the bar style.
        EXPECT_EQ(Count(target, clYellow), 0);
        EXPECT_EQ(Count(target, RGB(10, 20, 30)), 140 * 40 - Count(target, clWhite));
    }
}

TEST(Spectrum, BarStyleWithoutPeaksDrawsOnlyTheBars) {
    TSpectrum s(kStripWidth, kStripHeight);
    visual::ApplyPlayerLook(s);
    s.ShowPeaks = false;
    TBitmap strip(kStripWidth, kStripHeight);
    s.Draw(strip.Canvas(), Uniform(1.0f), 1, 1);
    s.Draw(strip.Canvas(), Silence(), 1, 1);
    EXPECT_EQ(Count(strip, 0x0000FF), 0);
    EXPECT_EQ(Count(strip, 0x00FF00), 124 * 4 * 30);
    EXPECT_EQ(RowsOf(strip, 1, 0x00FF00), Range(21, 50));
}

TEST(Spectrum, SilenceOnAFreshRendererShowsOnlyTheBackground) {
    struct Case {
        int drawStyle;
        int y;
        int markPixels; // peak marks on row Y + H, visible only when that row is inside
    };
    const Case cases[] = {
        {0, 0, 0},        {0, 1, 0}, {0, 7, 0},    {1, 0, 0},
        {1, 1, 0},        {1, 7, 0}, {0, -1, 129}, // one dot per band
        {1, -1, 129 * 4},                          // one BarWidth-long mark per band
    };
    for (const Case& c : cases) {
        TSpectrum s(700, 20);
        visual::ApplyPlayerLook(s);
        s.DrawStyle = c.drawStyle;
        s.BackgroundColor = RGB(1, 2, 3);
        TBitmap target(700, 20);
        Fill(target, clBlue);
        s.Draw(target.Canvas(), Silence(), 1, c.y);
        const TColor mark = c.drawStyle == 0 ? s.BarColor : s.PeakColor;
        EXPECT_EQ(Count(target, mark), c.markPixels) << c.drawStyle << " y " << c.y;
        EXPECT_EQ(Count(target, RGB(1, 2, 3)), 700 * 20 - c.markPixels)
            << c.drawStyle << " y " << c.y;
        for (int i = 0; i < TSpectrum::BandCount; ++i)
            ASSERT_EQ(s.BarHeights[i] + s.PeakHeights[i], 0);
    }
}

TEST(Spectrum, OtherDrawStylesClearAndCopyButDrawNoBands) {
    for (int style : {2, -1, 100}) {
        TSpectrum s(kStripWidth, kStripHeight);
        visual::ApplyPlayerLook(s);
        s.DrawStyle = style;
        s.BackgroundColor = RGB(40, 50, 60);
        TBitmap strip(kStripWidth, kStripHeight);
        Fill(strip, clBlue);
        s.Draw(strip.Canvas(), Uniform(0.05f), 1, 1);
        EXPECT_EQ(Count(strip, RGB(40, 50, 60)), kStripWidth * kStripHeight) << style;
        EXPECT_EQ(s.BarHeights[0], 25) << style;
        EXPECT_EQ(s.PeakHeights[128], 25) << style;
        s.Draw(strip.Canvas(), Silence(), 1, 1);
        EXPECT_EQ(s.BarHeights[0], 21) << style;
        EXPECT_EQ(s.PeakHeights[128], 24) << style;
    }
}

TEST(Spectrum, WithoutClearFrameEarlierFramesStay) {
    struct Case {
        bool clearFrame;
        bool useBackground;
        std::set<int> white; // rows of column 0 after a fall from 15 to bar 12, peak 14
    };
    const Case cases[] = {
        {false, false, Range(5, 19)}, // the old line and dot stay under the new ones
        {false, true, Range(5, 19)},  // the background needs the clear to be used
        {true, false,
         [] {
             auto rows = Range(9, 19);
             rows.insert(6);
             return rows;
         }()},
    };
    for (const Case& c : cases) {
        TSpectrum s(20, 20);
        TBitmap target(20, 20);
        s.Draw(target.Canvas(), Bands({0}, 15, 1), 0, 0);
        s.ClearFrame = c.clearFrame;
        s.UseBackground = c.useBackground;
        s.BackgroundColor = clRed;
        Fill(s.BackgroundBitmap, clBlue);
        s.BarFallOff = 3;
        s.Draw(target.Canvas(), Silence(), 0, 0);
        ASSERT_EQ(s.BarHeights[0], 12);
        ASSERT_EQ(s.PeakHeights[0], 14);
        EXPECT_EQ(RowsOf(target, 0, clWhite), c.white) << c.clearFrame << c.useBackground;
        const int painted = c.clearFrame ? 20 * 20 - 12 : 0;
        EXPECT_EQ(Count(target, clRed), painted) << c.clearFrame << c.useBackground;
        EXPECT_EQ(Count(target, clBlue), 0) << c.clearFrame << c.useBackground;
    }
}

TEST(Spectrum, BackgroundBitmapLiesUnderTheBands) {
    auto pattern = [](int x, int y) { return RGB(x * 8, y * 10, 77); };
    struct Case {
        int bgWidth;
        int bgHeight;
    };
    for (const Case& c : {Case{30, 20}, Case{10, 8}}) {
        TSpectrum s(30, 20);
        s.UseBackground = true;
        s.BackgroundColor = clRed;
        s.BackgroundBitmap.SetSize(c.bgWidth, c.bgHeight);
        for (int y = 0; y < c.bgHeight; ++y)
            for (int x = 0; x < c.bgWidth; ++x)
                s.BackgroundBitmap.PutPixel(x, y, pattern(x, y));
        TBitmap target(30, 20);
        s.Draw(target.Canvas(), Bands({3}, 5, 1), 0, 0);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 30; ++x) {
                TColor expected = x < c.bgWidth && y < c.bgHeight ? pattern(x, y) : clRed;
                if (x == 3 && y >= 15) // line rows 16..19 and the peak dot on row 15
                    expected = clWhite;
                ASSERT_EQ(target.GetPixel(x, y), expected)
                    << x << "," << y << " background " << c.bgWidth << "x" << c.bgHeight;
            }
        }
    }
}

TEST(Spectrum, WholeFrameGoesToTheTargetsTopLeftCorner) {
    struct Case {
        int width;
        int height;
    };
    // The centre area is smaller than the frame; a larger target keeps what lies outside it.
    for (const Case& c : {Case{235, 37}, Case{700, 60}, Case{620, 51}}) {
        TSpectrum s(kStripWidth, kStripHeight);
        visual::ApplyPlayerLook(s);
        s.Draw(s.BackBuffer.Canvas(), Uniform(SampleFor(30)), 1, 1);
        TBitmap target(c.width, c.height);
        Fill(target, clBlue);
        s.Draw(target.Canvas(), Silence(), 1, 1);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const bool inFrame = x < kStripWidth && y < kStripHeight;
                ASSERT_EQ(target.GetPixel(x, y), inFrame ? s.BackBuffer.GetPixel(x, y) : clBlue)
                    << x << "," << y << " target " << c.width << "x" << c.height;
            }
        }
        // The frame itself has the bands, and its first column is left empty by X = 1.
        EXPECT_EQ(RowsOf(s.BackBuffer, 1, 0x00FF00), Range(52 - 26, 50));
        EXPECT_EQ(RowsOf(s.BackBuffer, 0, clBlack), Range(0, 50));
    }
}

TEST(Spectrum, SettingsChangedBetweenFramesApplyToTheNextOne) {
    TSpectrum s(kStripWidth, kStripHeight);
    visual::ApplyPlayerLook(s);
    TBitmap strip(kStripWidth, kStripHeight);
    s.Draw(strip.Canvas(), Uniform(1.0f), 1, 1);
    s.BarColor = clWhite;
    s.PeakColor = clYellow;
    s.BarWidth = 2;
    s.Draw(strip.Canvas(), Silence(), 1, 1);
    EXPECT_EQ(Count(strip, 0x00FF00), 0);
    // Bands now 3 pixels apart: 129 bands of 2 columns fit, bar 31 shows 30 rows.
    EXPECT_EQ(Count(strip, clWhite), 129 * 2 * 30);
    EXPECT_EQ(Count(strip, clYellow), 129 * 2);
    EXPECT_EQ(RowsOf(strip, 3, clWhite), std::set<int>{});
    EXPECT_EQ(RowsOf(strip, 4, clWhite), Range(21, 50));
}
