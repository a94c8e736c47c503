#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "busy_progress.h"

namespace {

using namespace busy_progress;

TEST(CountingPercent, IsExactAndSafeForEveryCount) {
    const struct {
        std::int64_t current;
        std::int64_t count;
        int expected;
    } cases[] = {
        {0, 0, 0},
        {5, 0, 0},
        {3, 4, 75},
        {1, 3, 33},
        {4, 4, 100},
        {9, 4, 100},
        {-2, 4, 0},
        {1, -4, 0},
        {2'000'000'000, 3'000'000'000LL, 66},
        {LLONG_MAX / 2, LLONG_MAX, 49},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountingPercent(c.current, c.count), c.expected) << c.current << "/" << c.count;
    }
}

std::vector<int> RunRamp(const std::vector<int>& engineSteps, bool* closed) {
    ProgressRamp ramp;
    std::vector<int> shown;
    for (int step : engineSteps) {
        const auto s = ramp.Tick(true, step);
        EXPECT_FALSE(s.close);
        shown.push_back(s.percent);
    }
    for (int tick = 0; tick < 200; ++tick) {
        const auto s = ramp.Tick(false, 0);
        if (s.close) {
            *closed = true;
            return shown;
        }
        shown.push_back(s.percent);
    }
    *closed = false;
    return shown;
}

TEST(ProgressRamp, RunsOnFromTheLastPercentShownAndCloses) {
    bool closed = false;
    EXPECT_EQ(RunRamp({10, 50, 100}, &closed), (std::vector<int>{10, 50, 100, 100, 101}));
    EXPECT_TRUE(closed);
    EXPECT_EQ(RunRamp({97, 250}, &closed), (std::vector<int>{97, 100, 100, 101}));
    EXPECT_TRUE(closed);
    EXPECT_EQ(RunRamp({-5}, &closed).size(), 1u + 102u);
    EXPECT_TRUE(closed);
    // An engine that never worked ramps from the starting 1.
    const std::vector<int> idle = RunRamp({}, &closed);
    ASSERT_EQ(idle.size(), 101u);
    EXPECT_EQ(idle.front(), 1);
    EXPECT_EQ(idle.back(), 101);
    EXPECT_TRUE(closed);
}

TEST(BarShades, StepEachChannelBy51WithinRange) {
    const struct {
        Colour colour;
        Colour lighter;
        Colour darker;
    } cases[] = {
        {0x0000FF, 0x3333FF, 0x0000CC},
        {0xC8C8C8, 0xFBFBFB, 0x959595},
        {0x32FF33, 0x65FF66, 0x32CC00},
        {0x000000, 0x333333, 0x000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Lighter(c.colour), c.lighter) << std::hex << c.colour;
        EXPECT_EQ(Darker(c.colour), c.darker) << std::hex << c.colour;
    }
}

TEST(BarPlacement, SitsBesideThePointerByOrientation) {
    const struct {
        Orientation orientation;
        Box expected;
    } cases[] = {
        {kVerticalLeft, {500 - 10 - 20, 300 - 50, 470 + 20, 250 + 100}},
        {kVerticalRight, {500 + 16 + 20, 250, 536 + 20, 350}},
        {kHorizontalAbove, {500 + 8 - 50, 300 - 8 - 20, 458 + 100, 272 + 20}},
        {kHorizontalBelow, {500 + 10 - 50, 300 + 32, 460 + 100, 332 + 20}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceBeside(c.orientation, 500, 300, 32, 32), c.expected) << c.orientation;
    }
}

TEST(BarFace, FillsFromTheLeftOrTheBottom) {
    const Box inner{2, 2, 98, 18};
    const Box tall{2, 2, 18, 98};
    EXPECT_EQ(FilledPart(kHorizontalBelow, inner, 50), (Box{2, 2, 50, 18}));
    EXPECT_EQ(FilledPart(kHorizontalAbove, inner, 0), (Box{2, 2, 2, 18}));
    EXPECT_EQ(FilledPart(kHorizontalBelow, inner, 101), inner);
    EXPECT_EQ(FilledPart(kVerticalLeft, tall, 25), (Box{2, 74, 18, 98}));
    EXPECT_EQ(FilledPart(kVerticalRight, tall, 100), tall);
}

}  // namespace
