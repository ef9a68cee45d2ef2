#include "core/about/Fade.h"

#include <algorithm>

namespace orlenta {

int NextFadeAlpha(int alpha, int target, std::chrono::milliseconds elapsed) {
    constexpr int step = 3;
    if (elapsed > kFadeTimeLimit)
        return target;
    return alpha < target ? std::min(alpha + step, target) : std::max(alpha - step, target);
}

} // namespace orlenta
