#include <gtest/gtest.h>

#include <cmath>

#include "figure_math.h"
#include "line_figures.h"
#include "track_helpers.h"

namespace {

TEST(LineFigure, LengthIsInImagePixelsAtAnyZoom) {
    for (const float zoom : {1.0f, 2.0f, 4.0f}) {
        CCLLine line;
        Tracker t{line, zoom};
        EXPECT_FALSE(t.Click(0, 0));
        EXPECT_EQ(t.step, 1);
        EXPECT_FALSE(t.MoveTo(static_cast<int>(9 * zoom), 0));
        EXPECT_TRUE(t.Click(static_cast<int>(3 * zoom), static_cast<int>(4 * zoom))) << zoom;
        EXPECT_EQ(t.step, 0);
        EXPECT_FLOAT_EQ(line.results[CCLObject::kLength], 5.0f) << zoom;
        EXPECT_EQ(line.label.x, 5.0f);
        EXPECT_EQ(line.label.y, 5.0f);
    }
}

TEST(LineFigure, LabelScalesTheLengthByTheCalibration) {
    CCLLine line;
    line.number = 3;
    line.scale = 0.5f;
    Tracker t{line};
    ASSERT_TRUE(t.Clicks({{0, 0}, {30, 40}}));
    EXPECT_EQ(line.label.text, u"直线_3\n长度:25.00μm");
}

TEST(LineFigure, HandlesBodyAndCycle) {
    CCLLine line;
    line.points = {PointF{10, 10}, PointF{50, 10}};
    line.label.x = 200;
    struct Case {
        int x, y;
        bool hit;
        std::int32_t state, handle;
    };
    const Case cases[] = {
        {13, 10, true, 1, 1},                          // 3 pixels: the handle
        {14, 10, true, 3, 0},                          // 4 pixels on the line: the body, not the handle
        {30, 10, true, 3, 0},                          // middle of the line
        {30, 14, true, 3, 0},                          // 4 off the middle: detour 0.79
        {30, 15, false, 0, 0},                         // 5 off: detour 1.23
        {49, 12, true, 1, 2},  {56, 10, false, 0, 0},  // beyond the end
    };
    for (const Case& c : cases) {
        line.state = 0;
        line.activeHandle = 0;
        EXPECT_EQ(line.HitTest(c.x, c.y, 1.0f), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(line.state, c.state) << c.x << "," << c.y;
        EXPECT_EQ(line.activeHandle, c.handle) << c.x << "," << c.y;
    }
    line.state = 1;
    line.activeHandle = 2;
    line.Move(50, 10, 50, 40, 1.0f);
    EXPECT_FLOAT_EQ(line.results[CCLObject::kLength], 50.0f);
    line.CycleHandle(true);
    EXPECT_EQ(line.state, 3);
    line.CycleHandle(false);
    EXPECT_EQ(line.activeHandle, 2);
}

TEST(EndTicks, PerpendicularAndAboutFivePixels) {
    using figures::TickStroke;
    struct Case {
        PointF a, b;
        std::size_t count;
        TickStroke s0, s1;
    };
    const Case cases[] = {
        {{0, 0}, {10, 0}, 1, {0, -5, 0, 5}, {}},              // horizontal: vertical tick
        {{0, 0}, {0, 10}, 1, {-5, 0, 5, 0}, {}},              // vertical: horizontal tick
        {{0, 0}, {10, 10}, 2, {0, 0, 5, -5}, {0, 0, -5, 5}},  // 45 degrees: 5 and 5
        {{0, 0}, {10, 1}, 2, {0, 0, 0, 5}, {0, 0, 0, -5}},    // shallow: t = -50, so u
        {{0, 0}, {1, 10}, 2, {0, 0, 5, 0}, {0, 0, -5, 0}},    // steep
        {{3, 3}, {3, 3}, 0, {}, {}},                          // a point: none
    };
    for (const Case& c : cases) {
        const figures::EndTicks ticks = figures::LineEndTicks(c.a, c.b);
        ASSERT_EQ(ticks.count, c.count) << c.b.x << "," << c.b.y;
        if (c.count > 0) {
            EXPECT_EQ(ticks.strokes[0], c.s0) << c.b.x << "," << c.b.y;
        }
        if (c.count > 1) {
            EXPECT_EQ(ticks.strokes[1], c.s1) << c.b.x << "," << c.b.y;
        }
    }
}

TEST(ScaleFigure, LengthInViewPixelsAndNoZeroLengthLine) {
    CCL_Scale scale;
    Tracker t{scale, 2.0f};
    EXPECT_FALSE(t.Click(0, 0));
    EXPECT_FALSE(t.Click(0, 0));  // on the first point: refused
    EXPECT_EQ(t.step, 1);
    EXPECT_TRUE(t.Click(1, 0));  // half an image pixel away is a line
    EXPECT_EQ(t.step, 0);
    EXPECT_FLOAT_EQ(scale.results[CCLObject::kLength], 1.0f);
}

TEST(ScaleFigure, CompletesWithTheViewLength) {
    CCL_Scale scale;
    Tracker t{scale, 2.0f};
    EXPECT_TRUE(t.Clicks({{0, 0}, {6, 8}}));
    EXPECT_FLOAT_EQ(scale.results[CCLObject::kLength], 10.0f);
    EXPECT_TRUE(scale.label.text.empty());
    // Selected whole it cycles too, and a move there only takes the length
    // at the new zoom.
    scale.state = 4;
    scale.CycleHandle(true);
    EXPECT_EQ(scale.state, 1);
    EXPECT_EQ(scale.activeHandle, 1);
    scale.state = 4;
    scale.Move(0, 0, 10, 10, 1.0f);
    EXPECT_EQ(scale.points[1], (PointF{3, 4}));
    EXPECT_FLOAT_EQ(scale.results[CCLObject::kLength], 5.0f);
    // Both ends dragged together: no length, no NaN.
    scale.state = 1;
    scale.activeHandle = 2;
    scale.Move(3, 4, 0, 0, 1.0f);
    EXPECT_EQ(scale.results[CCLObject::kLength], 0.0f);
}

TEST(ParallelFigure, DistanceOfTheThirdPoint) {
    struct Case {
        PointF a, b, c;
        float distance;
    };
    const Case cases[] = {
        {{0, 0}, {10, 0}, {5, 7}, 7.0f},         {{0, 0}, {0, 10}, {-4, 30}, 4.0f},
        {{0, 0}, {10, 10}, {0, 10}, 7.0710678f}, {{0, 5}, {10, 5}, {20, 5}, 0.0f},  // one row
        {{0, 0}, {10, 10}, {5, 5}, 0.0f},                                           // one oblique line
        {{0, 0}, {10, 10}, {30, 30}, 0.0f},      {{1, 2}, {7, 3}, {7, 3}, 0.0f},    // C on B
        {{4, 4}, {4, 4}, {9, 1}, 0.0f},                                             // A on B: no line
    };
    for (const Case& c : cases) {
        CCLParallel p;
        p.points = {c.a, c.b, c.c};
        p.Recompute();
        EXPECT_NEAR(p.results[CCLObject::kDistance], c.distance, 1e-4) << c.c.x << "," << c.c.y;
        EXPECT_FALSE(std::isnan(p.results[CCLObject::kDistance]));
    }
}

TEST(ParallelFigure, ThreeClicksAndNoLineFromOnePoint) {
    CCLParallel p;
    Tracker t{p};
    EXPECT_FALSE(t.Click(10, 10));
    EXPECT_FALSE(t.Click(10, 10));  // B on A: refused
    EXPECT_EQ(t.step, 1);
    EXPECT_FALSE(t.Click(30, 10));
    EXPECT_EQ(t.step, 2);
    EXPECT_TRUE(t.Click(20, 16));
    EXPECT_FLOAT_EQ(p.results[CCLObject::kDistance], 6.0f);
    EXPECT_EQ(p.points[0], (PointF{10, 10}));
    EXPECT_EQ(p.points[1], (PointF{30, 10}));
    EXPECT_EQ(p.label.x, 15.0f);
    // Moving C recomputes.
    p.state = 1;
    p.activeHandle = 3;
    p.Move(0, 0, 0, 4, 1.0f);
    EXPECT_FLOAT_EQ(p.results[CCLObject::kDistance], 10.0f);
}

TEST(ParallelFigure, BodyIsEitherSegment) {
    CCLParallel p;
    p.points = {PointF{10, 10}, PointF{50, 10}, PointF{30, 40}};
    p.label.x = 500;
    struct Case {
        int x, y;
        bool hit;
    };
    const Case cases[] = {
        {20, 14, true},   // near A-B, between its ends
        {20, 15, false},  // 5 away
        {60, 10, false},  // past B along the line
        {12, 43, true},   // near the parallel, 18 from C (half length 20)
        {8, 40, false},   // past the parallel's end
        {30, 25, false},
    };
    for (const Case& c : cases) {
        p.state = 0;
        EXPECT_EQ(p.HitTest(c.x, c.y, 1.0f), c.hit) << c.x << "," << c.y;
    }
    // The parallel's ends count for the rubber band.
    EXPECT_TRUE(p.HitRect(PixelRect{49, 39, 52, 42}, 1.0f));
    EXPECT_EQ(p.state, 4);
}

}  // namespace
