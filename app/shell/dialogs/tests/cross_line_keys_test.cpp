#include <gtest/gtest.h>

#include <climits>

#include "cross_line_keys.h"

namespace {

struct KeyCase {
    const char* name;
    unsigned key;
    CrossPosition from;
    FrameSize frame;
    CrossPosition expected;
};

class CrossLineKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(CrossLineKeys, MovesAndHoldsTheCrossInsideTheFrame) {
    const KeyCase& c = GetParam();
    const std::optional<CrossPosition> moved = MoveCrossLine(c.key, c.from, c.frame);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(moved->x, c.expected.x);
    EXPECT_EQ(moved->y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CrossLineKeys,
    testing::Values(KeyCase{"SpaceCentresEvenFrame", ' ', {5, 5}, {640, 480}, {320, 239}},
                    KeyCase{"SpaceCentresOddFrame", ' ', {1, 1}, {641, 481}, {320, 239}},
                    KeyCase{"SpaceCentresTinyFrame", ' ', {9, 9}, {3, 2}, {1, 1}},
                    KeyCase{"ALeft", 'A', {100, 50}, {640, 480}, {99, 50}},
                    KeyCase{"DRight", 'D', {100, 50}, {640, 480}, {101, 50}},
                    KeyCase{"WUp", 'W', {100, 50}, {640, 480}, {100, 49}},
                    KeyCase{"SDown", 'S', {100, 50}, {640, 480}, {100, 51}},
                    KeyCase{"AStopsAtOne", 'A', {1, 50}, {640, 480}, {1, 50}},
                    KeyCase{"DStopsAtWidthMinusTwo", 'D', {638, 50}, {640, 480}, {638, 50}},
                    KeyCase{"WStopsAtOne", 'W', {100, 1}, {640, 480}, {100, 1}},
                    KeyCase{"SStopsAtHeightMinusOne", 'S', {100, 479}, {640, 480}, {100, 479}},
                    KeyCase{"DFromTheLastColumnComesBack", 'D', {639, 50}, {640, 480}, {638, 50}},
                    KeyCase{"OtherKeyOnlyHoldsInside", 'X', {0, 900}, {640, 480}, {1, 479}},
                    KeyCase{"OtherKeyLeavesInsideAlone", 'Q', {200, 100}, {640, 480}, {200, 100}},
                    KeyCase{"ExtremesDoNotOverflowLeft", 'A', {INT_MIN, INT_MIN}, {640, 480}, {1, 1}},
                    KeyCase{"ExtremesDoNotOverflowRight", 'D', {INT_MAX, INT_MAX}, {640, 480}, {638, 479}},
                    KeyCase{"ExtremesDoNotOverflowUp", 'W', {INT_MIN, INT_MIN}, {640, 480}, {1, 1}},
                    KeyCase{"ExtremesDoNotOverflowDown", 'S', {INT_MAX, INT_MAX}, {640, 480}, {638, 479}}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(CrossLineKeysFrame, TooSmallFramesLeaveTheCrossAlone) {
    // x must lie in 1..W-2 and y in 1..H-1: no place at all below 3 by 2.
    for (const FrameSize frame : {FrameSize{2, 480}, FrameSize{640, 1}, FrameSize{0, 0}, FrameSize{-5, 100}}) {
        EXPECT_FALSE(MoveCrossLine(' ', {1, 1}, frame).has_value()) << frame.width << "x" << frame.height;
        EXPECT_FALSE(MoveCrossLine('D', {1, 1}, frame).has_value()) << frame.width << "x" << frame.height;
    }
}

}  // namespace
