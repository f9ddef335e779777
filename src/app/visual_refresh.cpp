// The level meters and the spectrum, refreshed every 10 ms from the current stream.
#include "app/form1.h"

#include "visual/companions.h"

using namespace vcl;

namespace {
struct LevelBar {
    bool right; // f2 rather than f1
    int bar;    // ProgressBar<n>
    DWORD divisor;
};

// One engine reading per bar; the whole level word is divided, so the bars follow the right
// channel. Counted outward from the player both columns show the same divisors.
constexpr LevelBar kLevelBars[] = {
    {false, 1, 30000}, {false, 2, 24100}, {false, 3, 27000}, {false, 4, 20000}, {false, 5, 21000},
    {false, 6, 34000}, {false, 7, 37100}, {true, 7, 30000},  {true, 6, 24100},  {true, 5, 27000},
    {true, 4, 20000},  {true, 3, 21000},  {true, 1, 34000},  {true, 2, 37100},
};
} // namespace

void TForm1::Timer3Timer(TObject* /*Sender*/) {
    if (!f1 || !f2)
        return;
    for (const LevelBar& b : kLevelBars) {
        const DWORD word = BASS_ChannelGetLevel(CurrentStream);
        TLevelWindow& window = b.right ? static_cast<TLevelWindow&>(*f2) : *f1;
        window.Bar(b.bar)->SetPosition(static_cast<int>(word / b.divisor));
    }
}

void TForm1::Timer4Timer(TObject* /*Sender*/) {
    BASS_ChannelGetData(CurrentStream, FFTBuffer.data(), BASS_DATA_FFT1024);
    if (!Spectrum || !Form8)
        return;
    Spectrum->Draw(Form8->PaintBox1->Canvas(), FFTBuffer, 1, 1);
    Form8->PaintBox1->Invalidate();
    if (SettingsIni->ReadString("visible", "d", "0") == "1") {
        Spectrum->Draw(PaintBox1->Canvas(), FFTBuffer, 1, 1);
        PaintBox1->Invalidate();
    }
}

void TForm1::SetupSpectrum() {
    const int width = Form8 ? Form8->PaintBox1->Width() : 620;
    const int height = Form8 ? Form8->PaintBox1->Height() : 51;
    auto spectrum = std::make_unique<visual::TSpectrum>(width, height);
    spectrum->BarColor = 0x00FF00;
    spectrum->PeakColor = 0x0000FF;
    spectrum->MaxBarHeight = 35;
    spectrum->BarWidth = 4;
    spectrum->DrawStyle = 1;
    spectrum->BarFallOff = 4;
    spectrum->PeakFallOff = 1;
    spectrum->BinStep = 2;
    Spectrum = std::move(spectrum);
}
