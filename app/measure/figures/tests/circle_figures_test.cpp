#include <gtest/gtest.h>

#include <cmath>

#include "circle_figures.h"
#include "track_helpers.h"

namespace {

void ExpectCircle(const CCLObject& c, float radius) {
    EXPECT_FLOAT_EQ(c.results[CCLObject::kRadius], radius);
    EXPECT_FLOAT_EQ(c.results[CCLObject::kArea], radius * radius * 3.1415927f);
    EXPECT_FLOAT_EQ(c.results[CCLObject::kPerimeter], radius * 6.2831855f);
}

TEST(CircleFigure, CentreAndPoint) {
    CCLCircle c;
    Tracker t{c};
    EXPECT_FALSE(t.Click(20, 20));
    EXPECT_FALSE(t.MoveTo(25, 20));
    EXPECT_TRUE(t.Click(26, 28));
    ExpectCircle(c, 10.0f);
    EXPECT_FLOAT_EQ(c.results[CCLObject::kArea], 314.15927f);
    EXPECT_FLOAT_EQ(c.results[CCLObject::kPerimeter], 62.831855f);
    EXPECT_EQ(c.centre(), (PointF{20, 20}));
    EXPECT_EQ(c.label.x, 25.0f);
    // Moving the circle point keeps the centre.
    c.state = 1;
    c.activeHandle = 1;
    c.Move(0, 0, -6, -8, 1.0f);
    EXPECT_EQ(c.results[CCLObject::kRadius], 0.0f);
    EXPECT_EQ(c.centre(), (PointF{20, 20}));
}

TEST(CircleFigure, HitsOnTheRingAndTheCentreOnly) {
    CCLCircle c;
    c.centre() = {50, 50};
    c.points[0] = {60, 50};
    c.Recompute();
    c.label.x = 500;
    struct Case {
        int x, y, zoom10;
        bool hit;
        std::int32_t state, handle;
    };
    const Case cases[] = {
        {50, 40, 10, true, 3, 0},   // on the ring
        {50, 36, 10, true, 3, 0},   // 4 outside
        {50, 35, 10, false, 0, 0},  // 5 outside
        {52, 52, 10, true, 3, 0},   // the centre takes the body
        {45, 50, 10, false, 0, 0},  // inside, away from ring and centre
        {61, 51, 10, true, 1, 1},   // the circle point
        {100, 80, 20, true, 3, 0},  // at zoom 2 the ring is 20 from (100, 100)
    };
    for (const Case& k : cases) {
        c.state = 0;
        c.activeHandle = 0;
        EXPECT_EQ(c.HitTest(k.x, k.y, static_cast<float>(k.zoom10) / 10.0f), k.hit) << k.x << "," << k.y;
        EXPECT_EQ(c.state, k.state) << k.x << "," << k.y;
        EXPECT_EQ(c.activeHandle, k.handle) << k.x << "," << k.y;
    }
    EXPECT_TRUE(c.HitRect(PixelRect{55, 45, 65, 55}, 1.0f));  // the circle point
    EXPECT_FALSE(c.HitRect(PixelRect{0, 0, 45, 45}, 1.0f));
}

TEST(CircleFigure, Diameter) {
    CCLCircle_D c;
    Tracker t{c};
    EXPECT_TRUE(t.Clicks({{0, 0}, {20, 0}}));
    EXPECT_EQ(c.centre(), (PointF{10, 0}));
    ExpectCircle(c, 10.0f);
    c.state = 1;
    c.activeHandle = 2;
    c.Move(0, 0, 10, 0, 1.0f);
    EXPECT_EQ(c.centre(), (PointF{15, 0}));
    ExpectCircle(c, 15.0f);
    // Both ends on one point: radius 0, no NaN.
    c.Move(0, 0, -30, 0, 1.0f);
    ExpectCircle(c, 0.0f);
}

TEST(CircleFigure, ThreePointsAndNoCircleFromOneLine) {
    CCLCircle_T c;
    Tracker t{c};
    EXPECT_FALSE(t.Clicks({{0, 10}, {10, 20}}));
    EXPECT_FALSE(t.Click(20, 30));  // on the line of the first two: refused
    EXPECT_EQ(t.step, 2);
    EXPECT_TRUE(t.Click(20, 10));
    EXPECT_EQ(t.step, 0);
    EXPECT_NEAR(c.centre().x, 10.0f, 1e-5);
    EXPECT_NEAR(c.centre().y, 10.0f, 1e-5);
    ExpectCircle(c, 10.0f);
    // A handle dragged onto the others' line: results 0, centre kept.
    c.state = 1;
    c.activeHandle = 3;
    c.Move(0, 0, 0, 20, 1.0f);
    EXPECT_EQ(c.results[CCLObject::kRadius], 0.0f);
    EXPECT_EQ(c.results[CCLObject::kArea], 0.0f);
    EXPECT_NEAR(c.centre().x, 10.0f, 1e-5);
    c.Move(0, 0, 0, -20, 1.0f);
    ExpectCircle(c, 10.0f);
}

TEST(EllipseFigure, BoxResults) {
    struct Case {
        PointF c1, c2;
        float a, b, area, perimeter;
        double e;
        std::int32_t orientation;
        PointF f1, f2;
    };
    const Case cases[] = {
        {{0, 0}, {20, 10}, 10, 5, 157.07964f, 51.415928f, 0.8660254, 2, {1.339746f, 5}, {18.660254f, 5}},
        {{20, 10}, {0, 0}, 10, 5, 157.07964f, 51.415928f, 0.8660254, 2, {1.339746f, 5}, {18.660254f, 5}},
        {{0, 0}, {10, 20}, 10, 5, 157.07964f, 51.415928f, 0.8660254, 1, {5, 1.339746f}, {5, 18.660254f}},
        {{0, 0}, {10, 10}, 5, 5, 78.539818f, 31.415928f, 0.0, 1, {5, 5}, {5, 5}},
        {{0, 0}, {10, 0}, 5, 0, 0.0f, 20.0f, 1.0, 2, {0, 0}, {10, 0}},
    };
    for (const Case& k : cases) {
        CCLEllipse e;
        e.corner1 = k.c1;
        e.corner2 = k.c2;
        e.Recompute();
        EXPECT_FLOAT_EQ(e.semiMajor, k.a);
        EXPECT_FLOAT_EQ(e.semiMinor, k.b);
        EXPECT_FLOAT_EQ(e.results[CCLObject::kArea], k.area);
        EXPECT_FLOAT_EQ(e.results[CCLObject::kPerimeter], k.perimeter);
        EXPECT_NEAR(e.eccentricity, k.e, 1e-7);
        EXPECT_EQ(e.orientation, k.orientation);
        EXPECT_NEAR(e.focus1.x, k.f1.x, 1e-5);
        EXPECT_NEAR(e.focus1.y, k.f1.y, 1e-5);
        EXPECT_NEAR(e.focus2.x, k.f2.x, 1e-5);
        EXPECT_NEAR(e.focus2.y, k.f2.y, 1e-5);
    }
}

TEST(EllipseFigure, EmptyBoxIsRefusedAndHandlesResize) {
    CCLEllipse e;
    Tracker t{e};
    EXPECT_FALSE(t.Click(10, 10));
    EXPECT_FALSE(t.Click(10, 10));
    EXPECT_EQ(t.step, 1);
    EXPECT_TRUE(t.Click(30, 20));
    EXPECT_EQ(e.results[CCLObject::kWidth], 20.0f);
    EXPECT_EQ(e.results[CCLObject::kHeight], 10.0f);
    EXPECT_EQ(e.centre, (PointF{20, 15}));
    EXPECT_EQ(e.label.x, 25.0f);
    // Handle 3 (C2's side) narrows the box; handle 4 (below) lowers C2.
    e.state = 1;
    e.activeHandle = 3;
    e.Move(0, 0, -10, 5, 1.0f);
    EXPECT_EQ(e.corner2, (PointF{20, 20}));
    EXPECT_EQ(e.results[CCLObject::kWidth], 10.0f);
    e.activeHandle = 4;
    e.Move(0, 0, 3, -10, 1.0f);
    EXPECT_EQ(e.corner2, (PointF{20, 10}));
    EXPECT_EQ(e.results[CCLObject::kHeight], 0.0f);
    // Down to nothing: zeros, never NaN.
    e.activeHandle = 3;
    e.Move(0, 0, -10, 0, 1.0f);
    EXPECT_EQ(e.results[CCLObject::kArea], 0.0f);
    EXPECT_EQ(e.eccentricity, 0.0);
    EXPECT_EQ(e.focus1, e.centre);
}

TEST(EllipseFigure, HitsNearTheOutline) {
    CCLEllipse e;
    e.corner1 = {0, 0};
    e.corner2 = {40, 36};
    e.Recompute();
    e.label.x = 500;
    EXPECT_TRUE(e.HitTest(28, 2, 1.0f));  // on the outline
    EXPECT_EQ(e.state, 3);
    e.state = 0;
    EXPECT_FALSE(e.HitTest(20, 14, 1.0f));  // inside
    EXPECT_FALSE(e.HitTest(46, 18, 1.0f));  // outside
    EXPECT_TRUE(e.HitTest(1, 18, 1.0f));    // handle 1 at (0, 18)
    EXPECT_EQ(e.activeHandle, 1);
    e.activeHandle = 0;
    EXPECT_TRUE(e.HitTest(21, 19, 1.0f));  // the centre
    EXPECT_EQ(e.state, 3);
    EXPECT_EQ(e.activeHandle, 0);
}

}  // namespace
