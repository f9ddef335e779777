// The settings window. Its lists, options and transparency timer come with the settings work;
// for now it has its frame and size so the window set is complete.
#pragma once

#include "platform/vcl/forms.h"

class TForm2 : public vcl::TForm {
public:
    explicit TForm2(vcl::TComponent* AOwner);
};

extern TForm2* Form2;
