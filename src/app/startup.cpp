// Creation, close and destruction of the main window: the engine, the stored settings and the
// station list come up here and the settings go back to the file at close.
#include "app/startup.h"

#include "app/form1.h"
#include "platform/vcl/application.h"
#include "platform/vcl/core/dialogs.h"
#include "platform/vcl/core/files.h"
#include "settings/form2.h"
#include "settings/form3.h"
#include "visual/companions.h"

using namespace vcl;

void CreatePlayerWindows(TApplication& application) {
    application.Initialize();
    application.SetTitle("Orvanta");
    application.CreateForm(Form1);
    application.CreateForm(Form2);
    application.CreateForm(Form3);
    application.CreateForm(f1);
    application.CreateForm(f2);
    application.CreateForm(Form8);
}

void TForm1::FormCreate(TObject* /*Sender*/) {
    StartDir = GetCurrentDir();

    if (!BASS_Init(-1, 44100, BASS_DEVICE_MONO, nullptr, nullptr))
        MessageBox(Handle(), "Не могу создать поток", Application->Title(),
                   MB_OKCANCEL | MB_ICONERROR);

    SetScreenSnap(true);
    SetSnapBuffer(15);

    SettingsIni = std::make_unique<TIniFile>(JoinPath(StartDir, "setup.ini"));
    ScrollBar1->SetPosition(SettingsIni->ReadInteger("alpha", "a", 150));
    Knob1->SetPosition(SettingsIni->ReadInteger("zvuk", "a", 10));
    SetTop(SettingsIni->ReadInteger("top", "a", 100));
    SetLeft(SettingsIni->ReadInteger("left", "a", 150));
    SetAlphaBlend(true);
    // The list is still empty here, so this selects nothing; the show routine selects later.
    ListBox1->SetItemIndex(SettingsIni->ReadInteger("radio", "a", 1));
    SetAlphaBlendValue(OpacityFor(ScrollBar1->Position()));

    if (FileExists(NamesPath()) && FileExists(UrlsPath()))
        LoadStations();
    else
        CreateEmptyStationFiles();
}

void TForm1::FormCloseQuery(TObject* /*Sender*/, bool& CanClose) {
    CanClose = true;
}

void TForm1::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/) {
    // A refused write raises and abandons the close; the later keys stay as they were.
    SettingsIni->WriteInteger("top", "a", Top());
    SettingsIni->WriteInteger("left", "a", Left());
    SettingsIni->WriteInteger("zvuk", "a", Knob1->Position());
    SettingsIni->WriteInteger("radio", "a", ListBox1->ItemIndex());
    SettingsIni->WriteInteger("alpha", "a", ScrollBar1->Position());
}

void TForm1::FormDestroy(TObject* /*Sender*/) {
    BASS_Free();
}
