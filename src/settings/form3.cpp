#include "settings/form3.h"

using namespace vcl;

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner) {
    SetName("Form3");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(237, 158);
}
