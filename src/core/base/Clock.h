#pragma once

// The program's one clock: the read date of a new disc and the reader's delay filters both ask
// it, so that a test can fix the time for all of them at once.

#include <chrono>
#include <functional>
#include <string>

namespace orlenta {

using TClock = std::function<std::chrono::system_clock::time_point()>;

// The current date and time by the clock in force.
std::chrono::system_clock::time_point Now();

// Replaces the clock (tests); an empty clock restores the system's.
void SetClock(TClock clock);

// The local date of time as "yyyy-mm-dd".
std::string DateText(std::chrono::system_clock::time_point time);

// Today's local date as "yyyy-mm-dd": the read date of a disc added now.
std::string TodayDateText();

} // namespace orlenta
