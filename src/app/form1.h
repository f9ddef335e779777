// The player's main window: the station list, the On/Off buttons, the volume and alarm knobs,
// the alarm clock, the hidden holder controls, and the state the whole player shares.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "audio/bass.h"
#include "controls/knob/knob.h"
#include "controls/tray/tray_icon.h"
#include "platform/vcl/comctrls.h"
#include "platform/vcl/core/inifile.h"
#include "platform/vcl/extctrls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "platform/vcl/stdctrls.h"
#include "platform/vcl/timer.h"
#include "visual/spectrum.h"

class TForm1 : public vcl::TForm {
public:
    explicit TForm1(vcl::TComponent* AOwner);
    ~TForm1() override;

    // Controls, in the window's layout order.
    vcl::TImage* Image1;
    vcl::TLabel* Label4;
    vcl::TCheckBox* CheckBox1;
    vcl::TLabel* Label1;
    vcl::TDateTimePicker* DateTimePicker1;
    TKnob* Knob2;
    vcl::TBitBtn* BitBtn3;
    vcl::TBitBtn* BitBtn1;
    vcl::TBitBtn* BitBtn2;
    vcl::TPaintBox* PaintBox1;
    vcl::TProgressBar* ProgressBar1;
    TKnob* Knob1;
    vcl::TListBox* ListBox1;
    vcl::TLabel* Label2;
    vcl::TLabel* Label3;
    // Hidden holders: transparency position, hidden name and URL lists.
    vcl::TScrollBar* ScrollBar1;
    vcl::TListBox* ListBox2;
    vcl::TListBox* ListBox3;
    vcl::TTimer* Timer1;
    vcl::TTimer* Timer2;
    vcl::TTimer* Timer3;
    vcl::TTimer* Timer4;
    vcl::TPopupMenu* PopupMenu1;
    vcl::TMenuItem* N1;
    vcl::TMenuItem* N2;
    vcl::TMenuItem* Play1;
    vcl::TMenuItem* Stop1;
    vcl::TMenuItem* N5;
    vcl::TMenuItem* N7;
    vcl::TMenuItem* N13;
    TTrayIcon* TrayIcon1;

    // State the main window keeps for the whole player.
    std::string StartDir;
    std::unique_ptr<vcl::TIniFile> SettingsIni;
    HSTREAM CurrentStream = 0;
    std::unique_ptr<visual::TSpectrum> Spectrum;
    std::array<float, visual::TSpectrum::FFTSize> FFTBuffer{};

    // Start-up and close.
    void FormCreate(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void FormCloseQuery(vcl::TObject* Sender, bool& CanClose);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    void FormDestroy(vcl::TObject* Sender);

    // Playback.
    void BitBtn1Click(vcl::TObject* Sender);
    void BitBtn2Click(vcl::TObject* Sender);
    void BitBtn3Click(vcl::TObject* Sender);
    void Play1Click(vcl::TObject* Sender);
    void Stop1Click(vcl::TObject* Sender);

    // Station list.
    void ListBox1Click(vcl::TObject* Sender);
    void ListBox1DblClick(vcl::TObject* Sender);
    void LoadStations();
    void CreateEmptyStationFiles();
    void SelectStation(int index);
    void AppendStation(const std::string& name, const std::string& url);
    void DeleteStation(int index);
    std::string NamesPath() const;
    std::string UrlsPath() const;

    // Periodic work.
    void Timer1Timer(vcl::TObject* Sender);
    void Timer2Timer(vcl::TObject* Sender);
    void Timer3Timer(vcl::TObject* Sender);
    void Timer4Timer(vcl::TObject* Sender);
    void SetupSpectrum();

    // Tray menu.
    void N1Click(vcl::TObject* Sender);
    void N2Click(vcl::TObject* Sender);
    void N5Click(vcl::TObject* Sender);
    void N7Click(vcl::TObject* Sender);
    void N13Click(vcl::TObject* Sender);

    // The opacity for a transparency position: the position's low byte plus 105, in 8 bits.
    static unsigned char OpacityFor(int position) {
        return static_cast<unsigned char>((position & 0xFF) + 105);
    }

protected:
    // The minimise box hides the whole window set instead of minimising.
    void WMSysCommand(unsigned CmdType) override;

private:
    void CreateControls();
    void HideWindowSet();
};

extern TForm1* Form1;
