#include <gtest/gtest.h>

#include "anchor_layout.h"

namespace {

using namespace anchor_layout;

TEST(Anchoring, CornersKeepTheirMarginsFromTheirAnchorPoints) {
    // A 300 x 200 client grows to 451 x 333.
    const Box box{20, 30, 120, 90};
    const struct {
        Anchor topLeft;
        Anchor bottomRight;
        Box expected;
    } cases[] = {
        {kTopLeft, kTopLeft, box},
        {kNoAnchor, kNoAnchor, box},
        {kTopLeft, kNoAnchor, box},
        {kTopLeft, kBottomRight, {20, 30, 120 + 151, 90 + 133}},
        {kTopRight, kBottomRight, {20 + 151, 30, 120 + 151, 90 + 133}},
        {kBottomLeft, kBottomLeft, {20, 30 + 133, 120, 90 + 133}},
        {kBottomRight, kNoAnchor, {20 + 151, 30 + 133, 120 + 151, 90 + 133}},
        // The middle: margins from 150 and 100; the new points 225 and 166.
        {Anchor{50, 50}, Anchor{50, 50}, {20 + 75, 30 + 66, 120 + 75, 90 + 66}},
    };
    for (const auto& c : cases) {
        const Anchoring a = Anchored(box, c.topLeft, c.bottomRight, 300, 200);
        EXPECT_EQ(Place(a, 300, 200), box);
        EXPECT_EQ(Place(a, 451, 333), c.expected) << c.topLeft.x << "," << c.topLeft.y;
    }
}

TEST(Anchoring, OddSizesTruncateTowardZero) {
    // 50% of 301 is 150; margins computed at 301 come back exactly there.
    const Box box{160, 10, 200, 40};
    const Anchoring a = Anchored(box, Anchor{50, 0}, Anchor{50, 0}, 301, 100);
    EXPECT_EQ(a.marginLeft, 10);
    EXPECT_EQ(Place(a, 301, 100), box);
    EXPECT_EQ(Place(a, 99, 100), (Box{59, 10, 99, 40}));
}

TEST(SizeGrip, IsTheClientsBottomRightSquare) { EXPECT_EQ(GripBox(300, 200, 17, 16), (Box{283, 184, 300, 200})); }

}  // namespace
