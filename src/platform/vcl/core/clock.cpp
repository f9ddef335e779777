#include "platform/vcl/core/clock.h"

#include <ctime>
#include <thread>

#include "platform/vcl/core/exceptions.h"

namespace vcl {

namespace {

class SystemClock : public Clock {
public:
    TDateTime Now() override { return std::chrono::system_clock::now(); }
    void Sleep(std::chrono::milliseconds d) override { std::this_thread::sleep_for(d); }
};

Clock*& Installed() {
    static Clock* clock = nullptr;
    return clock;
}

std::tm LocalTm(TDateTime t) {
    const std::time_t tt = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::seconds>(t) <= t
            ? std::chrono::time_point_cast<std::chrono::seconds>(t)
            : std::chrono::time_point_cast<std::chrono::seconds>(t) - std::chrono::seconds(1));
    std::tm tm{};
    localtime_r(&tt, &tm);
    return tm;
}

} // namespace

Clock& CurrentClock() {
    static SystemClock system;
    return Installed() ? *Installed() : system;
}

void SetClock(Clock* clock) {
    Installed() = clock;
}

std::string TimeToStr(TDateTime t) {
    const std::tm tm = LocalTm(t);
    return Format("%d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
}

int SecondsOfDay(TDateTime t) {
    const std::tm tm = LocalTm(t);
    return tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
}

TDateTime LocalTime(int hour, int minute, int second, int millisecond) {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm)) +
           std::chrono::milliseconds(millisecond);
}

} // namespace vcl
