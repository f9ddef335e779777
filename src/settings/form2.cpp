#include "settings/form2.h"

using namespace vcl;

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
    SetName("Form2");
    SetCaption("Настройки");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetAlphaBlend(true);
    SetClientSize(459, 306);
    Font().SetName("Arial");
    Font().SetHeight(-13);
    Font().SetStyle(fsBold);
    Font().SetColor(clRed);
}
