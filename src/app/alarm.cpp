// The alarm clock: a countdown while armed, and in the alarm second the station goes on at the
// wake-up volume, exactly once per run.
#include "app/form1.h"

#include <chrono>
#include <cstdlib>

#include "platform/vcl/core/clock.h"
#include "platform/vcl/core/exceptions.h"

using namespace vcl;

namespace {
long long MillisecondsOfDay(TDateTime t) {
    using namespace std::chrono;
    const long long ms = duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000;
    return SecondsOfDay(t) * 1000LL + (ms < 0 ? ms + 1000 : ms);
}

// A span shorter than a day in the clock's own format, whole seconds (the fraction dropped),
// so the countdown reads like the clock beside it.
std::string SpanToStr(long long ms) {
    const long long s = ms / 1000;
    return Format("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
}
} // namespace

void TForm1::Timer2Timer(TObject* /*Sender*/) {
    const TDateTime now = Now();
    const std::string nowText = TimeToStr(now);
    const std::string alarmText = TimeToStr(DateTimePicker1->Time());
    if (!CheckBox1->Checked())
        return;

    // Both as times of day; an alarm earlier in the day shows how long ago it was.
    const long long diff = DateTimePicker1->SecondsOfDay() * 1000LL - MillisecondsOfDay(now);
    Label1->SetCaption(SpanToStr(std::llabs(diff)));

    if (alarmText == nowText) {
        // Off first: a failing switch-on below must not fire again on the next tick.
        Timer2->SetEnabled(false);
        BitBtn1->Click();
        Knob1->SetPosition(Knob2->Position());
        Label1->SetCaption("Вставай!!!");
        CheckBox1->SetChecked(false);
    }
}
