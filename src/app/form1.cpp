// The main window's controls, placed as designed, and the wiring of their events.
#include "app/form1.h"

#include <filesystem>

#include "platform/vcl/application.h"

using namespace vcl;

TForm1* Form1 = nullptr;

namespace {
// Controls are owned by the form and destroyed with it.
template <class T>
T* Make(TForm* form, const char* name, int left, int top, int width, int height) {
    T* control = new T(form);
    control->SetName(name);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

void BoldArial(TControl& control, int pixels) {
    control.Font().SetName("Arial");
    control.Font().SetHeight(-pixels);
    control.Font().SetStyle(fsBold);
}

void Arial(TControl& control, int pixels) {
    control.Font().SetName("Arial");
    control.Font().SetHeight(-pixels);
    control.Font().SetStyle(0);
}

TTimer* MakeTimer(TForm* form, const char* name, unsigned interval, bool enabled) {
    TTimer* timer = new TTimer(form);
    timer->SetName(name);
    timer->SetInterval(interval);
    timer->SetEnabled(enabled);
    return timer;
}

TMenuItem* MakeItem(TPopupMenu* menu, const char* name, const char* caption) {
    TMenuItem* item = new TMenuItem(menu);
    item->SetName(name);
    item->SetCaption(caption);
    menu->Items().Add(item);
    return item;
}

void AddSeparator(TPopupMenu* menu) {
    TMenuItem* item = new TMenuItem(menu);
    item->SetCaption("-");
    menu->Items().Add(item);
}

// Pictures ship beside the executable (assets/), or in the installed share folder.
std::string AssetPath(const char* name) {
    namespace fs = std::filesystem;
    const fs::path exeDir = fs::path(Application->ExeName()).parent_path();
    for (const fs::path& candidate :
         {exeDir / "assets" / name, exeDir / ".." / "share" / "orvanta" / name}) {
        std::error_code ec;
        if (fs::exists(candidate, ec))
            return candidate.string();
    }
    return {};
}
} // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
    SetName("Form1");
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetClientSize(362, 241);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    CreateControls();

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TForm1::~TForm1() = default;

void TForm1::CreateControls() {
    Image1 = Make<TImage>(this, "Image1", 0, 0, 362, 241);
    Image1->SetAlign(alClient);
    Image1->SetProportional(true);
    if (const std::string picture = AssetPath("background.jpg"); !picture.empty())
        Image1->Picture().LoadFromFile(picture);

    Label4 = Make<TLabel>(this, "Label4", 14, 12, 77, 19);
    BoldArial(*Label4, 16);
    Label4->SetTransparent(true);

    CheckBox1 = Make<TCheckBox>(this, "CheckBox1", 108, 12, 109, 17);
    BoldArial(*CheckBox1, 16);
    CheckBox1->SetCaption("Будильник");

    Label1 = Make<TLabel>(this, "Label1", 222, 12, 77, 19);
    BoldArial(*Label1, 16);
    Label1->SetTransparent(true);
    Label1->SetCaption("Осталось");

    DateTimePicker1 = Make<TDateTimePicker>(this, "DateTimePicker1", 108, 30, 109, 27);
    BoldArial(*DateTimePicker1, 16);
    DateTimePicker1->SetKind(dtkTime);

    Knob2 = Make<TKnob>(this, "Knob2", 222, 36, 40, 40);
    Knob2->SetMin(0);
    Knob2->SetMax(127);
    Knob2->SetPosition(10);

    BitBtn3 = Make<TBitBtn>(this, "BitBtn3", 18, 36, 75, 25);
    Arial(*BitBtn3, 11);
    BitBtn3->SetCaption("Настройки");
    BitBtn1 = Make<TBitBtn>(this, "BitBtn1", 18, 66, 75, 25);
    Arial(*BitBtn1, 11);
    BitBtn1->SetCaption("Вкл");
    BitBtn2 = Make<TBitBtn>(this, "BitBtn2", 18, 96, 75, 25);
    Arial(*BitBtn2, 11);
    BitBtn2->SetCaption("Выкл");

    PaintBox1 = Make<TPaintBox>(this, "PaintBox1", 102, 78, 235, 37);
    PaintBox1->SetVisible(false);

    ProgressBar1 = Make<TProgressBar>(this, "ProgressBar1", 343, 114, 8, 115);
    ProgressBar1->SetOrientation(pbVertical);
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(100);

    Knob1 = Make<TKnob>(this, "Knob1", 234, 120, 100, 100);
    Knob1->SetMin(0);
    Knob1->SetMax(100);
    Knob1->SetPosition(10);

    for (TKnob* knob : {Knob1, Knob2}) {
        knob->SetIndicatorType(itLine);
        knob->SetLineLength(3.0f);
        knob->SetLineWidth(2.0f);
        knob->SetRotateImage(true);
        knob->SetShowFocusedState(true);
        knob->SetColor(clBtnFace);
    }

    ListBox1 = Make<TListBox>(this, "ListBox1", 18, 126, 187, 97);
    ListBox1->SetColor(clInfoBk);
    ListBox1->SetItemHeight(13);

    Label2 = Make<TLabel>(this, "Label2", 228, 210, 17, 13);
    Label2->SetTransparent(true);
    Label2->SetCaption("Min");
    Label3 = Make<TLabel>(this, "Label3", 318, 210, 20, 13);
    Label3->SetTransparent(true);
    Label3->SetCaption("Max");

    // Hidden holders.
    ScrollBar1 = Make<TScrollBar>(this, "ScrollBar1", 0, 0, 121, 16);
    ScrollBar1->SetParams(150, 0, 150);
    ScrollBar1->SetPageSize(0);
    ScrollBar1->SetVisible(false);
    ListBox2 = Make<TListBox>(this, "ListBox2", 0, 0, 10, 10);
    ListBox2->SetVisible(false);
    ListBox3 = Make<TListBox>(this, "ListBox3", 0, 0, 10, 10);
    ListBox3->SetVisible(false);

    Timer1 = MakeTimer(this, "Timer1", 20, true);
    Timer2 = MakeTimer(this, "Timer2", 10, true);
    Timer3 = MakeTimer(this, "Timer3", 10, true);
    Timer4 = MakeTimer(this, "Timer4", 10, false);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    N1 = MakeItem(PopupMenu1, "N1", "Развернуть");
    N2 = MakeItem(PopupMenu1, "N2", "Спрятать");
    AddSeparator(PopupMenu1);
    Play1 = MakeItem(PopupMenu1, "Play1", "Play");
    Stop1 = MakeItem(PopupMenu1, "Stop1", "Stop");
    AddSeparator(PopupMenu1);
    N5 = MakeItem(PopupMenu1, "N5", "Настройки");
    AddSeparator(PopupMenu1);
    N7 = MakeItem(PopupMenu1, "N7", "Оф. Сайт");
    AddSeparator(PopupMenu1);
    N13 = MakeItem(PopupMenu1, "N13", "Выход");

    // Clicks on the icon do nothing; its right-button release opens the window-set menu.
    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->SetName("TrayIcon1");
    if (const std::string icon = AssetPath("icon.png"); !icon.empty())
        TrayIcon1->SetIconFile(icon);
    TrayIcon1->SetToolTip("Orvanta");
    TrayIcon1->SetPopupMenu(PopupMenu1);
    TrayIcon1->SetActive(true);

    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    ListBox1->OnClick = [this](TObject* s) { ListBox1Click(s); };
    ListBox1->OnDblClick = [this](TObject* s) { ListBox1DblClick(s); };
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    Timer2->OnTimer = [this](TObject* s) { Timer2Timer(s); };
    Timer3->OnTimer = [this](TObject* s) { Timer3Timer(s); };
    Timer4->OnTimer = [this](TObject* s) { Timer4Timer(s); };
    N1->OnClick = [this](TObject* s) { N1Click(s); };
    N2->OnClick = [this](TObject* s) { N2Click(s); };
    Play1->OnClick = [this](TObject* s) { Play1Click(s); };
    Stop1->OnClick = [this](TObject* s) { Stop1Click(s); };
    N5->OnClick = [this](TObject* s) { N5Click(s); };
    N7->OnClick = [this](TObject* s) { N7Click(s); };
    N13->OnClick = [this](TObject* s) { N13Click(s); };
}
