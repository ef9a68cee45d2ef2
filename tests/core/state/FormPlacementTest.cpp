#include "core/state/FormPlacement.h"

#include "TestSupport.h"
#include "core/state/OvcIniFileStore.h"

#include <climits>
#include <gtest/gtest.h>

namespace orlenta {
namespace {

using test::ReadFileBytes;
using test::TScratchDirectory;
using test::WriteFileBytes;

const TRect kCurrent{100, 50, 960, 630};

TEST(NormalPos, ParsesWordsAndFillsGapsFromTheWindow) {
    const struct {
        const char* Text;
        TRect Rect;
    } cases[] = {
        {"164,96,1024,736", {164, 96, 1024, 736}},
        {"1 2 3 4", {1, 2, 3, 4}},
        {" 1, 2,,3 ,4 ", {1, 2, 3, 4}},
        {"-5,-6,7,8,9", {-5, -6, 7, 8}},
        {"10,20", {10, 20, 960, 630}},
        {"a,20,x,40", {100, 20, 960, 40}},
        {"2147483648,1.5,+7,0x10", {100, 50, 7, 630}},
        {"", kCurrent},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseNormalPos(c.Text, kCurrent), c.Rect) << c.Text;
    EXPECT_EQ(FormatNormalPos({164, 96, 1024, 736}), "164,96,1024,736");
    EXPECT_EQ(FormatNormalPos({-8, -8, 0, 0}), "-8,-8,0,0");
}

TEST(FormRestore, FollowsTheSevenSteps) {
    const TWindowPlacement current{0, kShowMaximized, kCurrent};
    const struct {
        const char* Name;
        TStoredFormState Stored;
        bool Visible;
        TFormRestore Expected;
    } cases[] = {
        {"another pixel density", {120, 2, "1,2,3,4"}, false, {}},
        {"no NormalPos", {96, 2, ""}, false, {false, false, {2, kShowHidden, kCurrent}}},
        {"right not greater than left",
         {96, 0, "500,0,500,300"},
         false,
         {true, false, {0, kShowHidden, {500, 0, 500, 300}}}},
        {"a visible window keeps its show state",
         {96, 0, "10,20,30,40"},
         true,
         {true, true, {0, kShowMaximized, {10, 20, 30, 40}}}},
        {"restored",
         {96, 2, "164,96,1024,736"},
         false,
         {true, true, {2, kShowHidden, {164, 96, 1024, 736}}}},
    };
    for (const auto& c : cases) {
        const TFormRestore restore = PlanFormRestore(c.Stored, 96, current, c.Visible);
        EXPECT_EQ(restore.StopAutoPlacement, c.Expected.StopAutoPlacement) << c.Name;
        EXPECT_EQ(restore.Apply, c.Expected.Apply) << c.Name;
        if (!c.Expected.StopAutoPlacement && !c.Expected.Apply && c.Stored.PixelsPerInch != 96)
            continue;
        EXPECT_EQ(restore.Placement.Flags, c.Expected.Placement.Flags) << c.Name;
        EXPECT_EQ(restore.Placement.ShowCmd, c.Expected.Placement.ShowCmd) << c.Name;
        EXPECT_EQ(restore.Placement.NormalPos, c.Expected.Placement.NormalPos) << c.Name;
    }
}

TEST(FormState, WritesTheFiveKeysInOrderAndReadsThemBack) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    TOvcIniFileStore store([path](const std::string&) { return path; });
    WriteFileBytes(path, "[GUI]\nColor=5\nNormalPos=0,0,1,1\n");
    WriteFormState(store, "GUI", {0, kShowMaximized, {164, 96, 1024, 736}}, 96);
    EXPECT_EQ(ReadFileBytes(path), "[GUI]\nColor=-16777201\nNormalPos=164,96,1024,736\n"
                                   "Flags=0\nShowCmd=3\nPixelsPerInch=96\n");
    WriteFileBytes(path, "");
    WriteFormState(store, "GUI", {2, kShowMinimized, {1, 2, 3, 4}}, 120);
    EXPECT_EQ(ReadFileBytes(path), "[GUI]\nFlags=2\nShowCmd=2\nNormalPos=1,2,3,4\n"
                                   "PixelsPerInch=120\nColor=-16777201\n");

    const TWindowPlacement current{0, kShowNormal, kCurrent};
    const TFormRestore restore = ReadFormRestore(store, "GUI", 120, current, false);
    EXPECT_TRUE(restore.Apply);
    EXPECT_EQ(restore.Placement.Flags, 2);
    EXPECT_EQ(restore.Placement.NormalPos, (TRect{1, 2, 3, 4}));
    EXPECT_FALSE(ReadFormRestore(store, "GUI", 96, current, false).StopAutoPlacement);
    EXPECT_FALSE(ReadFormRestore(store, "Other", 96, current, false).StopAutoPlacement);
}

TEST(FormState, KeepsAWindowWithinReach) {
    const std::vector<TRect> screens{{0, 0, 1280, 800}, {1280, 0, 3200, 1080}};
    const struct {
        const char* Name;
        TRect Saved;
        TRect Shown;
    } cases[] = {
        {"on the first screen", {164, 96, 1024, 736}, {164, 96, 1024, 736}},
        {"on the second screen", {2000, 100, 2800, 700}, {2000, 100, 2800, 700}},
        {"partly off, still reachable", {-400, -10, 100, 500}, {-400, -10, 100, 500}},
        {"on a screen that is gone", {3400, 100, 4000, 600}, {680, 100, 1280, 600}},
        {"above everything", {100, -900, 500, -100}, {100, 0, 500, 800}},
        {"absurd numbers", {INT_MIN, INT_MIN, INT_MAX, INT_MIN + 10}, {0, 0, 1280, 10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepOnScreens(c.Saved, screens), c.Shown) << c.Name;
}

} // namespace
} // namespace orlenta
