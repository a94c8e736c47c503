#include <gtest/gtest.h>

#include <cmath>

#include "angle_figures.h"
#include "figure_math.h"
#include "track_helpers.h"

namespace {

TEST(AngleFigure, AngleAtTheVertex) {
    struct Case {
        PointF p0, p1, p2;
        float degrees;
    };
    const Case cases[] = {
        {{10, 0}, {0, 0}, {0, 10}, 90.0f},  // 89.9999975 becomes 90 in float
        {{10, 0}, {0, 0}, {10, 10}, 45.0f}, {{10, 0}, {0, 0}, {-10, 0}, 180.0f},
        {{10, 0}, {0, 0}, {20, 0}, 0.0f},   {{3, 3}, {3, 3}, {9, 1}, 0.0f},  // P0 on the vertex
        {{3, 3}, {9, 1}, {3, 3}, 0.0f},                                      // P2 on P0
    };
    for (const Case& c : cases) {
        CCLAngle a;
        a.points = {c.p0, c.p1, c.p2};
        a.Recompute();
        EXPECT_NEAR(a.results[CCLObject::kAngle], c.degrees, 2e-5) << c.p2.x << "," << c.p2.y;
    }
    CCLAngle right;
    right.points = {PointF{10, 0}, PointF{0, 0}, PointF{0, 10}};
    right.Recompute();
    EXPECT_EQ(right.results[CCLObject::kAngle], 90.0f);
}

TEST(AngleFigure, ArcCosineNeverLeavesItsRange) {
    EXPECT_EQ(figures::ArcCosDegrees(1.0000001), 0.0f);
    EXPECT_NEAR(figures::ArcCosDegrees(-1.0000001), 180.0f, 1e-4);
    EXPECT_EQ(figures::ArcCosDegrees(std::nan("")), 0.0f);
    // Nearly collinear points whose cosine rounds past 1.
    for (int i = 1; i < 200; ++i) {
        CCLAngle a;
        const float f = 0.1f * static_cast<float>(i);
        a.points = {PointF{f, f * 3.0f}, PointF{0, 0}, PointF{f * 7.0f, f * 21.0f}};
        a.Recompute();
        ASSERT_FALSE(std::isnan(a.results[CCLObject::kAngle])) << f;
        EXPECT_LT(a.results[CCLObject::kAngle], 0.05f) << f;
    }
}

TEST(AngleFigure, ThreeClicksThenMovingTheVertex) {
    CCLAngle a;
    Tracker t{a, 2.0f};
    EXPECT_FALSE(t.Click(20, 0));
    EXPECT_FALSE(t.MoveTo(5, 5));
    EXPECT_FALSE(t.Click(0, 0));
    EXPECT_EQ(t.step, 2);
    EXPECT_TRUE(t.Click(0, 20));
    EXPECT_EQ(a.results[CCLObject::kAngle], 90.0f);
    EXPECT_EQ(a.label.x, 15.0f);
    a.state = 1;
    a.activeHandle = 2;
    a.Move(0, 0, 20, 0, 2.0f);  // the vertex onto P0
    EXPECT_EQ(a.results[CCLObject::kAngle], 0.0f);
    // The body is either arm.
    a.points = {PointF{10, 0}, PointF{0, 0}, PointF{0, 10}};
    a.state = 0;
    a.label.x = 100;
    EXPECT_TRUE(a.HitTest(0, 6, 1.0f));
    EXPECT_EQ(a.state, 3);
    EXPECT_FALSE(a.HitTest(6, 6, 1.0f));
}

TEST(TwoLineAngle, IntersectionAndAngle) {
    struct Case {
        PointF p1, p2, p3, p4;
        bool crosses;
        PointF at;
        float degrees;
    };
    const Case cases[] = {
        {{5, 0}, {5, 10}, {0, 3}, {10, 3}, true, {5, 3}, 90.0f},
        {{0, 0}, {10, 10}, {0, 10}, {10, 0}, true, {5, 5}, 90.0f},
        {{0, 0}, {10, 0}, {0, 5}, {10, 5}, false, {-1, -1}, 0.0f},    // parallel
        {{0, 0}, {10, 10}, {0, 5}, {10, 15}, false, {-1, -1}, 0.0f},  // parallel, oblique
        {{0, 0}, {0, 0}, {0, 5}, {10, 5}, false, {-1, -1}, 0.0f},     // a line of no length
        // A real intersection at (-1, -1) is an intersection.
        {{-3, -1}, {1, -1}, {-1, -3}, {-1, 1}, true, {-1, -1}, 90.0f},
        {{0, 0}, {10, 0}, {0, 0}, {10, 10}, true, {0, 0}, 45.0f},  // meeting at P1 and P3
        {{10, 0}, {0, 0}, {10, 10}, {0, 0}, true, {0, 0}, 45.0f},  // meeting at P2 and P4
    };
    for (const Case& c : cases) {
        CCLAngle4Point a;
        a.points = {c.p1, c.p2, c.p3, c.p4};
        a.Recompute();
        EXPECT_EQ(a.hasIntersection, c.crosses) << c.p3.x << "," << c.p3.y;
        if (c.crosses) {
            EXPECT_NEAR(a.intersection.x, c.at.x, 1e-5);
            EXPECT_NEAR(a.intersection.y, c.at.y, 1e-5);
        }
        EXPECT_NEAR(a.results[CCLObject::kAngle], c.degrees, 2e-5) << c.p3.x << "," << c.p3.y;
        EXPECT_FALSE(std::isnan(a.results[CCLObject::kAngle]));
    }
}

TEST(TwoLineAngle, FourClicksAndCyclingStopsAtThree) {
    CCLAngle4Point a;
    Tracker t{a};
    EXPECT_FALSE(t.Clicks({{5, 0}, {5, 10}, {0, 3}}));
    EXPECT_EQ(t.step, 3);
    EXPECT_TRUE(t.Click(10, 3));
    EXPECT_EQ(t.step, 0);
    EXPECT_EQ(a.results[CCLObject::kAngle], 90.0f);
    a.state = 3;
    for (const int expected : {1, 2, 3, 0, 1}) {
        a.CycleHandle(true);
        EXPECT_EQ(a.activeHandle, expected);
    }
    // Moving P4 recomputes intersection and angle.
    a.state = 1;
    a.activeHandle = 4;
    a.Move(0, 0, 0, 7, 1.0f);
    EXPECT_TRUE(a.hasIntersection);
    EXPECT_NEAR(a.results[CCLObject::kAngle], 55.0f, 0.1f);
}

}  // namespace
