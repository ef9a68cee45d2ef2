#include "core/base/Clock.h"

#include <cstdio>
#include <ctime>

namespace orlenta {

namespace {

TClock& ClockInForce() {
    static TClock clock;
    return clock;
}

} // namespace

std::chrono::system_clock::time_point Now() {
    const TClock& clock = ClockInForce();
    return clock ? clock() : std::chrono::system_clock::now();
}

void SetClock(TClock clock) {
    ClockInForce() = std::move(clock);
}

std::string DateText(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

std::string TodayDateText() {
    return DateText(Now());
}

} // namespace orlenta
