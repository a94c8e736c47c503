#include <gtest/gtest.h>

#include "area_figures.h"
#include "polygon_area.h"
#include "track_helpers.h"

namespace {

TEST(RectangleFigure, TwoCornersAndHandles) {
    CCLRectangle r;
    Tracker t{r};
    EXPECT_FALSE(t.Click(10, 10));
    EXPECT_FALSE(t.MoveTo(20, 20));
    EXPECT_TRUE(t.Click(40, 30));
    EXPECT_EQ(r.results[CCLObject::kLength], 0.0f);
    EXPECT_EQ(r.results[CCLObject::kWidth], 30.0f);
    EXPECT_EQ(r.results[CCLObject::kHeight], 20.0f);
    EXPECT_EQ(r.results[CCLObject::kPerimeter], 100.0f);
    EXPECT_EQ(r.results[CCLObject::kArea], 600.0f);
    EXPECT_EQ(r.label.x, 15.0f);
    // Handle 2 is (K1.x, K0.y): it moves K1.x and K0.y.
    r.state = 1;
    r.activeHandle = 2;
    r.Move(0, 0, 10, -10, 1.0f);
    EXPECT_EQ(r.corner0, (PointF{10, 0}));
    EXPECT_EQ(r.corner1, (PointF{50, 30}));
    EXPECT_EQ(r.results[CCLObject::kArea], 1200.0f);
    r.activeHandle = 4;
    r.Move(0, 0, 5, 5, 1.0f);
    EXPECT_EQ(r.corner0, (PointF{15, 0}));
    EXPECT_EQ(r.corner1, (PointF{50, 35}));
}

TEST(RectangleFigure, EdgesHit) {
    CCLRectangle r;
    r.corner0 = {10, 10};
    r.corner1 = {110, 60};
    r.label.x = 500;
    struct Case {
        int x, y;
        bool hit;
        std::int32_t state;
    };
    const Case cases[] = {
        {14, 35, true, 3},                       // 4 right of the left edge
        {15, 35, false, 0},                      // 5
        {106, 35, true, 3},                      // 4 left of the right edge
        {60, 5, true, 3},                        // exactly 5 above the edge through K0
        {60, 4, false, 0},  {60, 65, false, 0},  // exactly 5 below the other edge
        {60, 64, true, 3},  {60, 35, false, 0},  // inside
        {111, 61, true, 1},                      // handle 3
    };
    for (const Case& c : cases) {
        r.state = 0;
        EXPECT_EQ(r.HitTest(c.x, c.y, 1.0f), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(r.state, c.state) << c.x << "," << c.y;
    }
}

TEST(PolygonFigure, SquareClosedOnItsLastPoint) {
    CCLPolygon p;
    p.scale = 0.5f;
    p.number = 1;
    Tracker t{p};
    EXPECT_FALSE(t.Clicks({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    EXPECT_FALSE(t.MoveTo(3, 3));
    EXPECT_EQ(p.points.size(), 4u);  // the mouse position is not a point
    ASSERT_TRUE(p.rubberBand.has_value());
    EXPECT_TRUE(t.Click(1, 12));  // within 5 of the last point: finish
    EXPECT_EQ(t.step, 0);
    EXPECT_FALSE(p.rubberBand.has_value());
    EXPECT_EQ(p.points.size(), 4u);
    EXPECT_EQ(p.results[CCLObject::kPerimeter], 40.0f);
    EXPECT_EQ(p.results[CCLObject::kArea], 100.0f);
    // Areas scale by the square of the calibration, lengths by it.
    EXPECT_EQ(p.label.text, u"多边形_1\n周长:20.00μm\n面积:25.00μm*μm");
}

TEST(PolygonFigure, TwoPointsCompleteNothing) {
    CCLPolygon p;
    Tracker t{p};
    EXPECT_FALSE(t.Clicks({{0, 0}, {20, 0}}));
    EXPECT_FALSE(t.Click(20, 0));
    EXPECT_EQ(t.step, 0);
    // The next click starts a new figure.
    EXPECT_FALSE(t.Click(50, 50));
    EXPECT_EQ(p.points.size(), 1u);
}

TEST(PolygonFigure, HandleMoveRecountsTheArea) {
    CCLPolygon p;
    p.points = {PointF{0, 0}, PointF{10, 0}, PointF{10, 10}, PointF{0, 10}};
    p.state = 1;
    p.activeHandle = 3;
    p.Move(0, 0, 10, 10, 1.0f);
    EXPECT_EQ(p.points[2], (PointF{20, 20}));
    EXPECT_EQ(p.results[CCLObject::kArea], static_cast<float>(figures::PolygonPixelCount(p.points)));
    EXPECT_GT(p.results[CCLObject::kArea], 100.0f);
    p.label.x = 500;
    p.state = 0;
    EXPECT_TRUE(p.HitTest(0, 5, 1.0f));  // the closing edge
    EXPECT_EQ(p.state, 3);
}

TEST(CurveFigure, LengthAlongThePoints) {
    CCLCurve c;
    Tracker t{c, 2.0f};
    EXPECT_FALSE(t.Clicks({{0, 0}, {6, 8}, {6, 20}}));
    EXPECT_TRUE(t.Click(7, 21));
    EXPECT_EQ(c.results[CCLObject::kLength], 11.0f);
    EXPECT_EQ(c.label.x, 5.0f);
    c.state = 3;
    c.CycleHandle(false);
    EXPECT_EQ(c.activeHandle, 3);  // one handle per point
}

TEST(CurveFigure, SecondClickOnTheFirstPointGivesLengthZero) {
    CCLCurve c;
    Tracker t{c};
    EXPECT_FALSE(t.Click(10, 10));
    EXPECT_TRUE(t.Click(14, 14));
    EXPECT_EQ(c.points.size(), 1u);
    EXPECT_EQ(c.results[CCLObject::kLength], 0.0f);
}

TEST(CurveFigure, ClicksPastFiveHundredPointsAreIgnored) {
    CCLCurve c;
    Tracker t{c};
    for (int i = 0; i < 520; ++i) {
        EXPECT_FALSE(t.Click(i * 10, (i % 2) * 10));
        EXPECT_FALSE(t.MoveTo(i * 10 + 7, 100));
    }
    EXPECT_EQ(c.points.size(), CCLPolyline::kMaxPoints);
    EXPECT_EQ(c.points.back(), (PointF{4990, 10}));
    EXPECT_EQ(*c.rubberBand, (PointF{5197, 100}));
    // Finishing still works on the last stored point.
    EXPECT_TRUE(t.Click(4990, 10));
    EXPECT_EQ(c.points.size(), CCLPolyline::kMaxPoints);
}

TEST(PolygonArea, PixelCountsLikeTheRegionFill) {
    struct Case {
        std::vector<PointF> points;
        std::int64_t pixels;
    };
    const Case cases[] = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 100},
        {{{0, 10}, {0, 0}, {10, 0}, {10, 10}}, 100},                 // either winding
        {{{0.9f, 0.9f}, {10.9f, 0}, {10.5f, 10.2f}, {0, 10}}, 100},  // truncated to whole pixels
        {{{0, 0}, {4, 0}, {0, 4}}, 10},                              // 4 + 3 + 2 + 1
        {{{0, 0}, {10, 0}, {10, 10}, {5, 5}, {0, 10}}, 80},          // concave: the notch's edges count
        {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, 50},                  // crossing: alternate rule
        {{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}, 100},
        {{{0, 0}, {10, 0}, {20, 0}}, 0},  // no area
        {{{0, 0}, {10, 10}}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(figures::PolygonPixelCount(c.points), c.pixels) << c.points.size() << " " << c.points[1].x;
    }
}

}  // namespace
