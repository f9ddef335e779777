// The three borderless companion windows docked around the player: a column of seven level
// bars on each side and the spectrum strip below. They have no behaviour of their own; the main
// window's timers push everything they show.
#pragma once

#include <array>

#include "platform/vcl/comctrls.h"
#include "platform/vcl/extctrls.h"
#include "platform/vcl/forms.h"

// A borderless, layered tool window holding seven vertical level bars.
class TLevelWindow : public vcl::TForm {
public:
    vcl::TProgressBar* ProgressBar1;
    vcl::TProgressBar* ProgressBar2;
    vcl::TProgressBar* ProgressBar3;
    vcl::TProgressBar* ProgressBar4;
    vcl::TProgressBar* ProgressBar5;
    vcl::TProgressBar* ProgressBar6;
    vcl::TProgressBar* ProgressBar7;

    // The bar named ProgressBar<n>, n = 1..7.
    vcl::TProgressBar* Bar(int n) const;

protected:
    // `order` names the bars from left to right (1-based).
    TLevelWindow(vcl::TComponent* AOwner, const char* name, int clientWidth,
                 const std::array<int, 7>& order);
};

// Left level meters.
class Tf1 : public TLevelWindow {
public:
    explicit Tf1(vcl::TComponent* AOwner);
};

// Right level meters: the mirror image, so its two leftmost bars are swapped.
class Tf2 : public TLevelWindow {
public:
    explicit Tf2(vcl::TComponent* AOwner);
};

// The spectrum strip under the player.
class TForm8 : public vcl::TForm {
public:
    explicit TForm8(vcl::TComponent* AOwner);
    vcl::TPaintBox* PaintBox1;
};

extern Tf1* f1;
extern Tf2* f2;
extern TForm8* Form8;
