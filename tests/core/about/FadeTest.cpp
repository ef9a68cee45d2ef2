#include "core/about/Fade.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

TEST(Fade, StepsOfThreeClampedAndTheEndAtOnceAfterTheLimit) {
    using std::chrono::milliseconds;
    EXPECT_EQ(NextFadeAlpha(0, 255, milliseconds(0)), 3);
    EXPECT_EQ(NextFadeAlpha(252, 255, milliseconds(10)), 255);
    EXPECT_EQ(NextFadeAlpha(254, 255, milliseconds(10)), 255);
    EXPECT_EQ(NextFadeAlpha(255, 0, milliseconds(0)), 252);
    EXPECT_EQ(NextFadeAlpha(2, 0, milliseconds(10)), 0);
    EXPECT_EQ(NextFadeAlpha(30, 255, milliseconds(300)), 33);
    EXPECT_EQ(NextFadeAlpha(30, 255, milliseconds(301)), 255);
    EXPECT_EQ(NextFadeAlpha(200, 0, milliseconds(301)), 0);
    // From 0, the fade in steps through 85 values to 255 and stops there.
    int alpha = 0;
    int steps = 0;
    while (alpha != 255 && steps < 1000) {
        alpha = NextFadeAlpha(alpha, 255, milliseconds(0));
        ++steps;
    }
    EXPECT_EQ(steps, 85);
}

} // namespace
} // namespace orlenta
