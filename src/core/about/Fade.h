#pragma once

#include <chrono>

namespace orlenta {

// A fade never takes longer than this; a slow display gets the end value at once.
inline constexpr std::chrono::milliseconds kFadeTimeLimit{300};

// The next alpha value (0 transparent to 255 opaque) of a fade towards target: 3 closer,
// never past target, and target itself once the fade has run longer than kFadeTimeLimit.
int NextFadeAlpha(int alpha, int target, std::chrono::milliseconds elapsed);

} // namespace orlenta
