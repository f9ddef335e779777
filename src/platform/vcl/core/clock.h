// Wall-clock time and pauses go through one replaceable clock, so time-of-day behaviour (the
// alarm, the caption clock) and the switch-on pause can be tested without waiting.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace vcl {

using TDateTime = std::chrono::system_clock::time_point;

class Clock {
public:
    virtual ~Clock() = default;
    virtual TDateTime Now() = 0;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// The clock in use; the real one unless a test installed another.
Clock& CurrentClock();
// Installs `clock` (not owned; nullptr restores the real one).
void SetClock(Clock* clock);

inline TDateTime Now() {
    return CurrentClock().Now();
}
inline void Sleep(std::chrono::milliseconds d) {
    CurrentClock().Sleep(d);
}

// Local time of day as the long time format shows it: hours, minutes and whole seconds,
// "H:MM:SS" (hours without a leading zero, as the Russian long time format).
std::string TimeToStr(TDateTime t);
// Seconds since local midnight, whole seconds.
int SecondsOfDay(TDateTime t);

// A settable clock for tests: Now() returns the set time, Sleep() advances it.
class ManualClock : public Clock {
public:
    explicit ManualClock(TDateTime start) : FNow(start) {}
    TDateTime Now() override { return FNow; }
    void Sleep(std::chrono::milliseconds d) override {
        FNow += d;
        Slept += d;
    }
    void Set(TDateTime t) { FNow = t; }
    void Advance(std::chrono::milliseconds d) { FNow += d; }
    std::chrono::milliseconds Slept{0};

private:
    TDateTime FNow;
};

// Installs a clock for the lifetime of the scope.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { SetClock(&clock); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

// Local wall time today at h:m:s (for tests and the alarm).
TDateTime LocalTime(int hour, int minute, int second, int millisecond = 0);

} // namespace vcl
