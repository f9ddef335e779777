// Switching a station on and off, and the tray's Play and Stop.
#include "app/form1.h"

#include <chrono>

#include "platform/vcl/core/clock.h"
#include "platform/vcl/core/exceptions.h"

using namespace vcl;

void TForm1::BitBtn1Click(TObject* /*Sender*/) {
    if (CurrentStream != 0)
        BASS_StreamFree(CurrentStream);
    // Give the output a moment between the old stream and the new one.
    Sleep(std::chrono::milliseconds(100));

    const int k = ListBox2->ItemIndex();
    if (k < 0 || k >= ListBox3->Items().Count())
        throw EListError::IndexOutOfBounds(k);
    const std::string url = ListBox3->Items()[k];

    CurrentStream = BASS_StreamCreateURL(url.c_str(), 0, 0, nullptr, nullptr);
    BASS_ChannelPlay(CurrentStream, FALSE);
    SetupSpectrum();
    Timer4->SetEnabled(true);
}

void TForm1::BitBtn2Click(TObject* /*Sender*/) {
    BASS_StreamFree(CurrentStream);
}

void TForm1::Play1Click(TObject* /*Sender*/) {
    if (ListBox1->ItemIndex() == -1)
        SelectStation(0);
    BitBtn1->Click();
}

void TForm1::Stop1Click(TObject* /*Sender*/) {
    BASS_ChannelStop(CurrentStream);
}
