// The alarm clock: a countdown while armed, and in the alarm second the station goes on at the
// wake-up volume, exactly once per run.
#include "app/form1.h"

#include <chrono>
#include <cstdlib>

#include "platform/vcl/core/clock.h"
#include "platform/vcl/core/exceptions.h"

using namespace vcl;

namespace {
constexpr long long kDayMs = 24LL * 3600 * 1000;

long long MillisecondsOfDay(TDateTime t) {
    const TDateTime midnight = t - std::chrono::seconds(SecondsOfDay(t)) -
                               std::chrono::duration_cast<std::chrono::milliseconds>(
                                   t.time_since_epoch() % std::chrono::seconds(1));
    return std::chrono::duration_cast<std::chrono::milliseconds>(t - midnight).count();
}

// A span of less than a day shown as a time of day, whole seconds (truncated).
std::string SpanToStr(long long ms) {
    const long long s = (ms % kDayMs) / 1000;
    return Format("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
}
} // namespace

void TForm1::Timer2Timer(TObject* /*Sender*/) {
    const TDateTime now = Now();
    const std::string nowText = TimeToStr(now);
    const std::string alarmText = TimeToStr(DateTimePicker1->Time());
    if (!CheckBox1->Checked())
        return;

    // Both as times of day; an alarm earlier in the day shows by its magnitude.
    const long long diff = MillisecondsOfDay(DateTimePicker1->Time()) - MillisecondsOfDay(now);
    Label1->SetCaption(SpanToStr(std::llabs(diff)));

    if (alarmText == nowText) {
        Timer2->SetEnabled(false);
        BitBtn1->Click();
        Knob1->SetPosition(Knob2->Position());
        Label1->SetCaption("Вставай!!!");
        CheckBox1->SetChecked(false);
    }
}
