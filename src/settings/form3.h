// The add-station dialog: a borderless window centred on the screen. Its fields and buttons
// come with the dialog work.
#pragma once

#include "platform/vcl/forms.h"

class TForm3 : public vcl::TForm {
public:
    explicit TForm3(vcl::TComponent* AOwner);
};

extern TForm3* Form3;
