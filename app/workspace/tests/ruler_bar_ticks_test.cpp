#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "ruler_bar_ticks.h"

namespace {

// Positions of the ticks of one depth.
std::vector<int> PositionsAt(const std::vector<RulerBarTick>& ticks, int depth) {
    std::vector<int> positions;
    for (const RulerBarTick& tick : ticks) {
        if (tick.depth == depth) {
            positions.push_back(tick.position);
        }
    }
    return positions;
}

TEST(RulerBarTicksTest, TickSetsFollowTheZoom) {
    const struct {
        float zoom;
        std::set<int> depths;
    } cases[] = {
        {0.25f, {4, 8}},     {0.49f, {4, 8}},        {0.5f, {4, 8, 10}},
        {0.99f, {4, 8, 10}}, {1.0f, {4, 8, 10, 12}}, {3.0f, {4, 8, 10, 12}},
    };
    for (const auto& c : cases) {
        std::set<int> depths;
        for (const RulerBarTick& tick : RulerBarTicks({0, 0, 400, c.zoom, c.zoom})) {
            depths.insert(tick.depth);
        }
        EXPECT_EQ(depths, c.depths) << c.zoom;
    }
    // Either axis's zoom brings the finer sets.
    std::set<int> depths;
    for (const RulerBarTick& tick : RulerBarTicks({0, 0, 400, 0.25f, 1.0f})) {
        depths.insert(tick.depth);
    }
    EXPECT_EQ(depths, (std::set<int>{4, 8, 10, 12}));
}

TEST(RulerBarTicksTest, EachSetRunsAlongThePictureAtItsStep) {
    // 230 picture pixels at zoom 0.5 from window x 7.
    const auto ticks = RulerBarTicks({7, 0, 230, 0.5f, 0.5f});
    EXPECT_EQ(PositionsAt(ticks, 4), (std::vector<int>{7, 57, 107}));               // 230 / 100 rounds to 2
    EXPECT_EQ(PositionsAt(ticks, 8), (std::vector<int>{7, 32, 57, 82, 107, 132}));  // 4.6 rounds to 5
    const std::vector<int> tens = PositionsAt(ticks, 10);
    ASSERT_EQ(tens.size(), 24u);
    EXPECT_EQ(tens[1], 12);
    EXPECT_EQ(tens.back(), 122);
    std::map<int, int> labels;
    for (const RulerBarTick& tick : ticks) {
        if (tick.label) {
            labels[tick.position] = *tick.label;
        }
    }
    EXPECT_EQ(labels, (std::map<int, int>{{7, 0}, {57, 100}, {107, 200}}));
}

TEST(RulerBarTicksTest, ScrollingMovesEveryTickAndLabelZeroStaysOnThePictureEdge) {
    const RulerBarAxis still{30, 0, 1000, 1.0f, 1.0f};
    RulerBarAxis scrolled = still;
    scrolled.scroll = 145;
    const auto before = RulerBarTicks(still);
    const auto after = RulerBarTicks(scrolled);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].position, before[i].position - 145) << i;
        EXPECT_EQ(after[i].label, before[i].label) << i;
    }
    const auto zero = std::find_if(after.begin(), after.end(), [](const RulerBarTick& t) { return t.label == 0; });
    ASSERT_NE(zero, after.end());
    EXPECT_EQ(zero->position, 30 - 145);
}

TEST(RulerBarTicksTest, NoPictureOrAnUnusableZoomHasNoTicks) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const RulerBarAxis axis : {RulerBarAxis{0, 0, 0, 1.0f, 1.0f}, RulerBarAxis{0, 0, -5, 1.0f, 1.0f},
                                    RulerBarAxis{0, 0, 100, 0.0f, 1.0f}, RulerBarAxis{0, 0, 100, -1.0f, 1.0f},
                                    RulerBarAxis{0, 0, 100, nan, 1.0f}, RulerBarAxis{0, 0, 100, inf, 1.0f}}) {
        EXPECT_TRUE(RulerBarTicks(axis).empty()) << axis.size << " " << axis.zoom;
        EXPECT_FALSE(IsOnRulerPicture(axis, 0));
    }
}

TEST(RulerBarTicksTest, TheMarkerGoesOnlyOnThePictureAsShown) {
    // 200 picture pixels at zoom 0.5 from x 40, scrolled by 10: x 30 to 130.
    const RulerBarAxis axis{40, 10, 200, 0.5f, 0.5f};
    const struct {
        int mouse;
        bool on;
    } cases[] = {{29, false}, {30, true}, {80, true}, {130, true}, {131, false}, {-5, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(IsOnRulerPicture(axis, c.mouse), c.on) << c.mouse;
    }
}

}  // namespace
