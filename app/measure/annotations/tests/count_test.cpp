#include <gtest/gtest.h>

#include "cl_count.h"

namespace {

TEST(Counter, ShapesCarryTypeAndName) {
    const CCL_CountCircle circle;
    const CCL_CountDiamond diamond;
    const CCL_CountRect rect;
    const CCL_Count bare;
    EXPECT_EQ(circle.type, 14);
    EXPECT_EQ(diamond.type, 15);
    EXPECT_EQ(rect.type, 16);
    EXPECT_EQ(bare.type, 0);
    EXPECT_EQ(circle.name, u"圆形计数器");
    EXPECT_EQ(diamond.name, u"菱形计数器");
    EXPECT_EQ(rect.name, u"矩形计数器");
    EXPECT_EQ(bare.name, u"");
    EXPECT_EQ(circle.size, 15);
    EXPECT_EQ(circle.markerColour, circle.drawColour);
}

TEST(Counter, FigureSizes) {
    EXPECT_EQ(CCL_CountRect::HalfSide(15), 12);  // trunc(12.99)
    EXPECT_EQ(CCL_CountDiamond::Reach(15), 17);  // trunc(17.4)
    EXPECT_EQ(CCL_CountRect::HalfSide(1), 0);
    EXPECT_EQ(CCL_CountDiamond::Reach(100), 115);  // 115.99..., toward zero
}

TEST(Counter, WiderNumbersStartFurtherLeft) {
    struct Case {
        std::int32_t number;
        std::int32_t shift;
    };
    for (const Case c : {Case{-1, 4}, Case{7, 4}, Case{9, 4}, Case{10, 8}, Case{42, 8}, Case{99, 8}, Case{100, 12},
                         Case{123, 12}, Case{4567, 12}}) {
        EXPECT_EQ(CCL_Count::NumberOrigin(c.number, 50, 60), (PixelPoint{50 - c.shift, 53})) << c.number;
    }
    EXPECT_EQ(CCL_Count::NumberOrigin(5, INT32_MIN, INT32_MIN), (PixelPoint{INT32_MIN, INT32_MIN}));
}

TEST(Counter, OneClickOneMarker) {
    CCL_CountCircle marker;
    int step = 2;
    EXPECT_FALSE(marker.Track(nullptr, 30, 60, step, true, 3.0f, 0, 0));
    EXPECT_EQ(marker.centre, PointF{});
    EXPECT_TRUE(marker.Track(nullptr, 30, 60, step, false, 3.0f, 0, 0));
    EXPECT_EQ(marker.centre, (PointF{10, 20}));
    EXPECT_EQ(step, 2);
    marker.state = CCLObject::kSelectedWhole;
    marker.Move(0, 0, 9, 9, 1.0f);
    marker.CycleHandle(true);
    EXPECT_EQ(marker.centre, (PointF{10, 20}));  // not dragged
    EXPECT_EQ(marker.state, CCLObject::kSelectedWhole);
}

// Hit on the outline circle of radius size, device pixels, at any zoom.
TEST(Counter, HitOnTheOutlineOnly) {
    struct Case {
        int x, y;
        float zoom;
        bool hit;
    };
    const Case cases[] = {
        {30, 30, 1.0f, false},                        // the exact centre
        {45, 30, 1.0f, true},                         // 15 pixels away
        {30, 11, 1.0f, true},                         // 19 away
        {30, 10, 1.0f, false},                        // 20 away
        {40, 30, 1.0f, false},                        // 10 away
        {41, 30, 1.0f, true},  {90, 75, 3.0f, true},  // centre (90, 90) at zoom 3, size unchanged
        {90, 45, 3.0f, false},                        // the zoomed radius would be 45
    };
    for (const Case& c : cases) {
        CCL_CountDiamond marker;
        marker.centre = {30, 30};
        EXPECT_EQ(marker.HitTest(c.x, c.y, c.zoom), c.hit) << c.x << "," << c.y << " zoom " << c.zoom;
        EXPECT_EQ(marker.state, c.hit ? CCLObject::kBodyActive : 0);
    }
    CCL_CountRect hidden;
    hidden.centre = {30, 30};
    hidden.visible = 0;
    EXPECT_FALSE(hidden.HitTest(45, 30, 1.0f));
}

TEST(Counter, RubberBandTakesTheCentre) {
    CCL_CountRect marker;
    marker.centre = {10.5f, 10.5f};
    EXPECT_TRUE(marker.HitRect({20, 20, 22, 22}, 2.0f));
    EXPECT_EQ(marker.state, CCLObject::kSelectedWhole);
    marker.state = 0;
    EXPECT_FALSE(marker.HitRect({0, 0, 21, 21}, 2.0f));
    EXPECT_EQ(marker.state, 0);
}

TEST(Counter, AssignmentCarriesTheOwnFields) {
    CCL_CountCircle source;
    source.centre = {3, 4};
    source.markerColour = 0xFF00;
    source.size = 22;
    source.number = 9;
    CCL_CountCircle target;
    target = source;
    EXPECT_EQ(target.centre, source.centre);
    EXPECT_EQ(target.markerColour, 0xFF00u);
    EXPECT_EQ(target.size, 22);
    EXPECT_EQ(target.number, 9);
    EXPECT_EQ(target.id, source.id);
}

}  // namespace
