// Which windows show when the player appears, hiding the window set instead of minimising,
// and the tray menu's commands.
#include "app/form1.h"

#include "platform/shell/open_url.h"
#include "settings/form2.h"
#include "visual/companions.h"

using namespace vcl;

namespace {
constexpr const char* kHomePage = "https://orvanta.example.org/";
}

void TForm1::FormShow(TObject* /*Sender*/) {
    if (SettingsIni->ReadString("visible", "a", "0") == "1" && f1)
        f1->Show();
    if (SettingsIni->ReadString("visible", "b", "0") == "1" && f2)
        f2->Show();
    if (SettingsIni->ReadString("visible", "c", "0") == "1" && Form8)
        Form8->Show();
    // One read per list, as the three lists are set one after the other.
    ListBox1->SetItemIndex(SettingsIni->ReadInteger("radio", "a", 0));
    ListBox2->SetItemIndex(SettingsIni->ReadInteger("radio", "a", 0));
    ListBox3->SetItemIndex(SettingsIni->ReadInteger("radio", "a", 0));
    if (SettingsIni->ReadString("Play", "a", "0") == "1")
        BitBtn1->Click();
}

void TForm1::HideWindowSet() {
    Hide();
    if (f1)
        f1->Hide();
    if (f2)
        f2->Hide();
    if (Form8)
        Form8->Hide();
}

void TForm1::WMSysCommand(unsigned CmdType) {
    // Hiding the set into the notification area needs an icon to come back through; on a desktop
    // without one the window minimises as usual rather than vanish.
    if (CmdType == SC_MINIMIZE && TrayIcon1->Available()) {
        HideWindowSet();
        return;
    }
    TForm::WMSysCommand(CmdType);
}

void TForm1::N1Click(TObject* /*Sender*/) {
    // A failing autoplay in the show routine is reported on its own; the user still gets the
    // whole window set back.
    Guarded([this] { Show(); });
    BringToFront();
    if (f1)
        f1->Show();
    if (f2)
        f2->Show();
    if (Form8)
        Form8->Show();
}

void TForm1::N2Click(TObject* /*Sender*/) {
    HideWindowSet();
}

void TForm1::N5Click(TObject* /*Sender*/) {
    BitBtn3->Click();
}

void TForm1::N7Click(TObject* /*Sender*/) {
    shell::OpenUrl(kHomePage);
}

void TForm1::N13Click(TObject* /*Sender*/) {
    Close();
}

void TForm1::BitBtn3Click(TObject* /*Sender*/) {
    if (Form2)
        Form2->ShowModal();
}
