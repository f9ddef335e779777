// The level meters and the spectrum, refreshed every 10 ms from the current stream.
#include "app/form1.h"

#include "visual/companions.h"
#include "visual/level_bars.h"
#include "visual/player_spectrum.h"

using namespace vcl;

void TForm1::Timer3Timer(TObject* /*Sender*/) {
    for (const visual::TLevelBar& b : visual::LevelBars) {
        const DWORD word = BASS_ChannelGetLevel(CurrentStream);
        // The timer starts with this window, before the companions exist (an engine failure
        // box at start-up keeps ticking it).
        TLevelWindow* window = b.side == visual::TLevelSide::Left ? static_cast<TLevelWindow*>(f1)
                                                                  : static_cast<TLevelWindow*>(f2);
        if (window)
            window->Bar(b.bar)->SetPosition(visual::LevelPosition(word, b.divisor));
    }
}

void TForm1::Timer4Timer(TObject* /*Sender*/) {
    // On failure the buffer keeps what it held and is drawn as it is.
    BASS_ChannelGetData(CurrentStream, FFTBuffer.data(), BASS_DATA_FFT1024);
    if (!Spectrum)
        return;
    if (Form8)
        Spectrum->Draw(Form8->PaintBox1->Canvas(), FFTBuffer, 1, 1);
    // Read from the file on every tick so the settings window's choice applies at once.
    if (SettingsIni && SettingsIni->ReadString("visible", "d", "0") == "1")
        Spectrum->Draw(PaintBox1->Canvas(), FFTBuffer, 1, 1);
}

void TForm1::SetupSpectrum() {
    const int width = Form8 ? Form8->PaintBox1->Width() : 620;
    const int height = Form8 ? Form8->PaintBox1->Height() : 51;
    auto spectrum = std::make_unique<visual::TSpectrum>(width, height);
    visual::ApplyPlayerLook(*spectrum);
    // A fresh renderer starts from empty bars; the previous one goes.
    Spectrum = std::move(spectrum);
}
