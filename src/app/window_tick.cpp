// The 20 ms window tick: volume, caption, clock, docking of the companions, volume bar.
#include "app/form1.h"

#include "platform/vcl/core/clock.h"
#include "visual/companions.h"

using namespace vcl;

namespace {
// Moving a window costs a round trip to the window system; only move when the place changed.
void MoveTo(TForm& form, int left, int top) {
    if (form.Left() != left || form.Top() != top)
        form.SetBounds(left, top, form.Width(), form.Height());
}
} // namespace

void TForm1::Timer1Timer(TObject* /*Sender*/) {
    const std::string now = TimeToStr(Now());
    BASS_SetVolume(static_cast<float>(Knob1->Position() / 100.0));

    // The caption carries the whole list: every name followed by CR LF.
    std::string caption = now + "  " + ListBox1->Items().Text();
    if (caption != Caption())
        SetCaption(caption);
    const std::string clock = TimeToStr(Now());
    if (clock != Label4->Caption())
        Label4->SetCaption(clock);

    // The companions are created after this window; the timer may tick before they exist.
    if (f1 && f2 && Form8) {
        MoveTo(*f1, Left() - f1->Width(), Top());
        MoveTo(*f2, Left() + f1->Width() + Height() - 30, Top());
        MoveTo(*Form8, f1->Left(), Top() + Height());
    }

    ProgressBar1->SetPosition(Knob1->Position());
}
