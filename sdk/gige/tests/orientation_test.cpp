// Flips and quarter turns on frames that are not square, so an exchanged
// width and height or a swapped direction shows.

#include <gtest/gtest.h>

#include "frames.h"
#include "orientation.h"

namespace kqge {
namespace {

using test::Bytes;

// 3 x 2: a b c / d e f.
const Bytes kFrame = test::Rows({{1, 2, 3}, {4, 5, 6}});

struct FlipCase {
    int mode;
    Bytes expected;
};

class Flips : public ::testing::TestWithParam<FlipCase> {};

TEST_P(Flips, EightAndSixteenBitSamples) {
    const FlipCase& c = GetParam();
    Bytes out(6, 0xEE);
    ASSERT_TRUE(FlipFrame(c.mode, {3, 2}, 1, kFrame, out));
    EXPECT_EQ(out, c.expected) << "mode " << c.mode;

    Bytes wide, expectedWide;
    for (std::uint8_t v : kFrame) wide.insert(wide.end(), {v, static_cast<std::uint8_t>(0x10 + v)});
    for (std::uint8_t v : c.expected) expectedWide.insert(expectedWide.end(), {v, static_cast<std::uint8_t>(0x10 + v)});
    Bytes outWide(12, 0xEE);
    ASSERT_TRUE(FlipFrame(c.mode, {3, 2}, 2, wide, outWide));
    EXPECT_EQ(outWide, expectedWide) << "16-bit mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(Modes, Flips,
                         ::testing::Values(FlipCase{0, {1, 2, 3, 4, 5, 6}}, FlipCase{1, {3, 2, 1, 6, 5, 4}},
                                           FlipCase{2, {4, 5, 6, 1, 2, 3}}, FlipCase{3, {6, 5, 4, 3, 2, 1}},
                                           FlipCase{4, {1, 2, 3, 4, 5, 6}}));

TEST(QuarterTurns, ExchangeWidthAndHeight) {
    // Mode 4: row i is column i from the last row up: d a / e b / f c.
    Bytes out(6, 0xEE);
    ASSERT_TRUE(TurnFrame(4, {3, 2}, 1, kFrame, out));
    EXPECT_EQ(out, (Bytes{4, 1, 5, 2, 6, 3}));
    // Mode 5: row (width - 1 - i) is column i from the first row down: c f / b e / a d.
    ASSERT_TRUE(TurnFrame(5, {3, 2}, 1, kFrame, out));
    EXPECT_EQ(out, (Bytes{3, 6, 2, 5, 1, 4}));
}

TEST(QuarterTurns, MoveWholePixels) {
    // 2 x 1 picture of two 3-byte pixels turns into 1 x 2.
    const Bytes picture = {1, 2, 3, 4, 5, 6};
    Bytes out(6);
    ASSERT_TRUE(TurnFrame(4, {2, 1}, 3, picture, out));
    EXPECT_EQ(out, picture);
    ASSERT_TRUE(TurnFrame(5, {2, 1}, 3, picture, out));
    EXPECT_EQ(out, (Bytes{4, 5, 6, 1, 2, 3}));
}

TEST(Orientation, RefusesShortBuffersAndOtherModes) {
    Bytes out(5, 0xEE);
    EXPECT_FALSE(FlipFrame(1, {3, 2}, 1, kFrame, out));
    EXPECT_FALSE(TurnFrame(4, {3, 2}, 1, kFrame, out));
    Bytes full(6, 0xEE);
    EXPECT_FALSE(TurnFrame(3, {3, 2}, 1, kFrame, full));
    EXPECT_EQ(full, Bytes(6, 0xEE));
}

}  // namespace
}  // namespace kqge
